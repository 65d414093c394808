// The "Spoken Guidance" menu item on the real main window: where it sits, the
// stored choice, a machine without a speech engine, and a voice that fails.
#include <gtest/gtest.h>

#include <QAction>
#include <QCoreApplication>
#include <QMenu>
#include <string>
#include <vector>

#include "services/notice.h"
#include "settings/options.h"
#include "support/temp_store.h"
#include "ui/main/main_controller.h"
#include "ui/main/main_window.h"

namespace serenitap {
namespace {

class GuidanceItemTest : public ::testing::Test {
 protected:
  struct Speaker : ISpeaker {
    std::vector<std::string>* calls;
    explicit Speaker(std::vector<std::string>* c) : calls(c) {}
    void Say(std::uint32_t, const std::string& text) override { calls->push_back("Say " + text.substr(0, 12)); }
    void Pause() override { calls->push_back("Pause"); }
    void Resume() override { calls->push_back("Resume"); }
    void Stop() override { calls->push_back("Stop"); }
  };

  GuidanceItemTest() {
    previousSink_ = SetNoticeSink([this](const std::string& text) { notices.push_back(text); });
  }
  ~GuidanceItemTest() override { SetNoticeSink(previousSink_); }

  // A window whose voice records; missing is why there is none ("" when there is).
  void Open(const QString& missing = {}) {
    controller = new MainWindowController(window);
    GuidanceControl::Voice voice;
    voice.missing = [missing] { return missing; };
    voice.create = [this](auto, auto failedCallback) {
      failed = failedCallback;
      return std::make_unique<Speaker>(&calls);
    };
    controller->Guidance().UseVoice(voice);
    controller->Form_Load();
    controller->Engine().Form_Activate();
    QCoreApplication::processEvents();
  }
  QAction& Item() { return controller->Guidance().Item(); }

  testing::TempStore store;
  frmMain window;
  MainWindowController* controller = nullptr;
  std::vector<std::string> calls;
  std::vector<std::string> notices;
  std::function<void(const std::string&)> failed;

 private:
  NoticeSink previousSink_;
};

TEST_F(GuidanceItemTest, SitsAboveExitAfterASeparatorIsOffAtFirstAndStoresTheChoice) {
  Open();
  const QList<QAction*> actions = window.PopupMenu().actions();
  const auto at = actions.indexOf(&Item());
  ASSERT_GT(at, 0);
  EXPECT_TRUE(actions[at - 1]->isSeparator());
  EXPECT_EQ(actions[at + 1]->objectName(), "mnuPopUpExit");
  EXPECT_TRUE(Item().isCheckable() && !Item().isChecked());
  EXPECT_TRUE(calls.empty());
  Item().trigger();  // stored, and it speaks at once
  EXPECT_TRUE(modOptions::SpeakGuidance());
  EXPECT_EQ(calls, std::vector<std::string>{"Say Please sit u"});
  Item().trigger();
  EXPECT_FALSE(modOptions::SpeakGuidance());
  EXPECT_EQ(calls.back(), "Stop");
}

TEST_F(GuidanceItemTest, AStoredChoiceIsOnAtTheStartAndSpeaksOnceTheEventLoopRuns) {
  modOptions::SpeakGuidance(true);
  Open();
  EXPECT_TRUE(Item().isChecked());
  EXPECT_EQ(calls, std::vector<std::string>{"Say Please sit u"});
}

TEST_F(GuidanceItemTest, WithoutASpeechEngineTheItemIsDisabledAndSaysWhichPackage) {
  modOptions::SpeakGuidance(true);
  Open("No speech engine is installed: the package qt6-speech-speechd-plugin provides one.");
  EXPECT_FALSE(Item().isEnabled() || Item().isChecked());
  EXPECT_TRUE(Item().toolTip().contains("qt6-speech-speechd-plugin"));
  EXPECT_TRUE(calls.empty());
  EXPECT_EQ(notices.size(), 1u);
  EXPECT_TRUE(modOptions::SpeakGuidance());  // the choice stays for a machine that has one
}

TEST_F(GuidanceItemTest, AFailingVoiceUnchecksTheItemButKeepsTheStoredChoice) {
  Open();
  Item().trigger();
  ASSERT_TRUE(failed);
  failed("the speech service reported an error");
  EXPECT_FALSE(Item().isChecked());
  EXPECT_TRUE(modOptions::SpeakGuidance());
  ASSERT_EQ(notices.size(), 1u);
  EXPECT_NE(notices[0].find("reported an error"), std::string::npos);
}

}  // namespace
}  // namespace serenitap
