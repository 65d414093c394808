// One application object for a whole test program, offscreen, with a private
// configuration folder so that nothing touches the user's own settings.
#include <gtest/gtest.h>

#include <QApplication>
#include <memory>

#include "support/temp_folder.h"

namespace {

class QtEnvironment : public ::testing::Environment {
 public:
  void SetUp() override {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    config_ = std::make_unique<serenitap::testing::TempFolder>();
    qputenv("XDG_CONFIG_HOME", config_->Path().string().c_str());
    app_ = std::make_unique<QApplication>(argc_, argv_);
  }
  void TearDown() override {
    app_.reset();
    config_.reset();
  }

 private:
  int argc_ = 1;
  char name_[15] = "serenitap_test";
  char* argv_[2] = {name_, nullptr};
  std::unique_ptr<serenitap::testing::TempFolder> config_;
  std::unique_ptr<QApplication> app_;
};

[[maybe_unused]] ::testing::Environment* const kQt = ::testing::AddGlobalTestEnvironment(new QtEnvironment);

}  // namespace
