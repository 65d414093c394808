#pragma once
// One application object for a whole test program, offscreen, with a private
// configuration folder so that nothing touches the user's own settings.
#include <gtest/gtest.h>

#include <QtGlobal>
#include <memory>

#include "support/temp_folder.h"

namespace serenitap::testing {

// App is QApplication, or the program's own application class where a test
// needs what that class adds.
template <class App>
class OffscreenEnvironment : public ::testing::Environment {
  void SetUp() override {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    // The same look whatever the desktop the tests run on asks for.
    for (const char* setting : {"QT_QPA_PLATFORMTHEME", "QT_STYLE_OVERRIDE", "QT_SCALE_FACTOR", "QT_FONT_DPI"})
      qunsetenv(setting);
    config_ = std::make_unique<TempFolder>();
    qputenv("XDG_CONFIG_HOME", config_->Path().string().c_str());
    app_ = std::make_unique<App>(argc_, argv_);
  }
  void TearDown() override { app_.reset(), config_.reset(); }

  int argc_ = 1;
  char name_[10] = "serenitap";
  char* argv_[2] = {name_, nullptr};
  std::unique_ptr<TempFolder> config_;
  std::unique_ptr<App> app_;
};

}  // namespace serenitap::testing
