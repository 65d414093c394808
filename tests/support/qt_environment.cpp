#include <QApplication>

#include "support/offscreen_environment.h"
#include "ui/dialogs/dialog_pictures.h"
#include "ui/journal/progress_chart.h"

namespace {

[[maybe_unused]] ::testing::Environment* const kQt =
    ::testing::AddGlobalTestEnvironment(new serenitap::testing::OffscreenEnvironment<QApplication>);

// My Progress draws with the chart linked into the test, not the program's module.
[[maybe_unused]] const bool kLinkedChart = (serenitap::UseProgressChart(serenitap::LinkedProgressChart()), true);
// The dialogs' pictures likewise.
[[maybe_unused]] const bool kLinkedPictures = (serenitap::UseDialogPictures(serenitap::LinkedDialogPictures()), true);
// The windows show local times: the same ones in every time zone.
[[maybe_unused]] const bool kZone = qputenv("TZ", "UTC");

}  // namespace
