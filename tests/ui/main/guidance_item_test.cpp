// The "Spoken Guidance" menu item on the real main window: where it sits, the
// stored choice, a machine without a speech engine, and a voice that fails.
#include "settings/options.h"
#include "ui/main/main_window_fixture.h"

namespace serenitap {
namespace {

using namespace window_testing;

class GuidanceItemTest : public MainControllerTest {
 protected:
  QAction& Guidance() { return controller->Guidance().Item(); }
  // A new window with the guidance stored as chosen.
  void Reopen(bool on) {
    CloseWindow();
    modOptions::SpeakGuidance(on);
    spoken.clear();
    OpenWindow();
  }
};

TEST_F(GuidanceItemTest, SitsAboveExitIsOffAtFirstAndStoresTheChoice) {
  const QList<QAction*> actions = window->PopupMenu().actions();
  const auto at = actions.indexOf(&Guidance());
  ASSERT_GT(at, 0);
  EXPECT_TRUE(actions[at - 1]->isSeparator());
  EXPECT_EQ(actions[at + 1], Item("mnuPopUpExit"));
  EXPECT_TRUE(Guidance().isCheckable() && !Guidance().isChecked());
  EXPECT_TRUE(spoken.empty());
  Guidance().trigger();  // stored, and it speaks at once
  EXPECT_TRUE(modOptions::SpeakGuidance());
  EXPECT_EQ(spoken, std::vector<std::string>{"Say Please sit u"});
  Guidance().trigger();
  EXPECT_FALSE(modOptions::SpeakGuidance());
  EXPECT_EQ(spoken.back(), "Stop");
  // Stored on, it is on at the start and speaks once the event loop runs.
  Reopen(true);
  EXPECT_TRUE(Guidance().isChecked());
  EXPECT_EQ(spoken, std::vector<std::string>{"Say Please sit u"});
}

TEST_F(GuidanceItemTest, WithoutASpeechEngineTheItemIsDisabledAndSaysWhichPackage) {
  voiceMissing = "No speech engine is installed: the package qt6-speech-speechd-plugin provides one.";
  Reopen(true);
  EXPECT_FALSE(Guidance().isEnabled() || Guidance().isChecked());
  EXPECT_TRUE(Guidance().toolTip().contains("qt6-speech-speechd-plugin"));
  EXPECT_TRUE(spoken.empty());
  EXPECT_EQ(notices.size(), 1u);
  EXPECT_TRUE(modOptions::SpeakGuidance());  // the choice stays for a machine that has one
}

TEST_F(GuidanceItemTest, AFailingVoiceUnchecksTheItemButKeepsTheStoredChoice) {
  Guidance().trigger();
  ASSERT_TRUE(voiceFailed);
  voiceFailed("the speech service reported an error");
  EXPECT_FALSE(Guidance().isChecked());
  EXPECT_TRUE(modOptions::SpeakGuidance());
  ASSERT_EQ(notices.size(), 1u);
  EXPECT_NE(notices[0].find("reported an error"), std::string::npos);
}

}  // namespace
}  // namespace serenitap
