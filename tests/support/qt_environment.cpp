#include <QApplication>

#include "support/offscreen_environment.h"

namespace {

[[maybe_unused]] ::testing::Environment* const kQt =
    ::testing::AddGlobalTestEnvironment(new serenitap::testing::OffscreenEnvironment<QApplication>);

}  // namespace
