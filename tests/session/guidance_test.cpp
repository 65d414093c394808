// Spoken guidance: what is said at each step, and the pacing of the tapping
// points with a recording speaker, driven through the session engine.
#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <tuple>
#include <vector>

#include "services/notice.h"
#include "session/guidance.h"
#include "tests/session/fake_view.h"

namespace serenitap {
namespace {

TEST(Guidance, SaysThePointAndItsLineTheAffirmationOrTheStepText) {
  const std::tuple<enmStep, enmIssue, bool, const char*> cases[] = {
      // Step 9 is the second point of a round, step 10 the third, step 8 the ninth.
      {7, issNegativeMemory, false, "Top Head.\nI cannot deal with my past..."},
      {9, issDepression, true, "Left Eyebrow.\nI am in control of my thoughts and my life."},
      {10, issAddictionsObsessions, true, "Left Eye Corner.\nI am calm. I breathe deeply."},
      {8, issGuilt, false, "Top Head.\nThe way I feel now is a punishment. How can I carry around this guilt?"},
      // Shorter sequences start again: point 16 says line 3 of 13. A line
      // without closing punctuation gets a full stop.
      {22, issAddictionsObsessions, false, "Right Under Arm.\nDay by day it gets more difficult."},
      {22, issPTSDTrauma, false, "Right Under Arm.\nI feel so powerless, anxious and vulnerable."},
      // The karate chop: only the affirmation, without the bracketed hint.
      {5, issRageAnger, false, "Even though I have this anger I love and accept myself with all my heart."},
      {0, issNegativeMemory, false, ""},
  };
  for (const auto& [step, issue, positive, said] : cases) EXPECT_EQ(GuidanceUtterance(step, issue, positive), said);
  // Other steps: the title, then the instructions line by line without their outer blanks.
  const std::string sud = GuidanceUtterance(stpAssignSUD, issNegativeMemory, false);
  EXPECT_EQ(sud.rfind("Assign SUD.\nNow please assess", 0), 0u);
  EXPECT_NE(sud.find("Distress' scale).\nIt is number from 0 to 10"), std::string::npos);
  EXPECT_EQ(sud.find('\r'), std::string::npos);
}

// A speaker that records its calls (Say, Pause, Resume, Stop as "SPRX") and
// finishes a phrase only when told; a failing one throws.
struct RecordingSpeaker : ISpeaker {
  std::string calls, lastText;
  std::uint32_t lastPhrase = 0;
  bool failing = false;

  void Say(std::uint32_t phrase, const std::string& text) override {
    Record('S');
    lastPhrase = phrase;
    lastText = text;
  }
  void Pause() override { Record('P'); }
  void Resume() override { Record('R'); }
  void Stop() override { Record('X'); }
  void Record(char call) {
    if (failing) throw std::runtime_error("speech service gone");
    calls += call;
  }
};

class PacingTest : public testing::EngineTest {
 protected:
  PacingTest() {
    previousNotices_ = SetNoticeSink([this](const std::string& text) { notices.push_back(text); });
    guidance.onTurnedOff = [this] { ++turnedOff; };
    engine.SetGuidance(&guidance);
    Load();
    guidance.TurnOn(stpIntro, issNegativeMemory, false, false);
  }
  ~PacingTest() override { SetNoticeSink(previousNotices_); }

  RecordingSpeaker speaker;
  SpokenGuidance guidance{speaker};
  std::vector<std::string> notices;
  int turnedOff = 0;

 private:
  NoticeSink previousNotices_;
};

TEST_F(PacingTest, OnlyAPointWaitsForItsPhraseAndTheClocksRunOn) {
  Next(4);
  const std::uint32_t affirmation = speaker.lastPhrase;
  EXPECT_EQ(TicksUntilChange(), 1001);  // the karate chop ends on time though its phrase goes on
  EXPECT_EQ(TicksUntilChange(), 1000);
  EXPECT_EQ(speaker.lastText, "Top Head.\nI cannot deal with my past...");
  guidance.PhraseFinished(affirmation);  // a late report releases nothing
  Ticks(550);
  EXPECT_EQ(S().genmCurrentStep, stpTopHead1);
  EXPECT_EQ(S().glngStepSeconds, 5);
  EXPECT_EQ(view.timeText, "00:25");
  guidance.PhraseFinished(speaker.lastPhrase);
  Ticks(1);
  EXPECT_EQ(speaker.lastText, "Left Eyebrow.\nI'm struggling to live with this...");
  guidance.PhraseFinished(speaker.lastPhrase);  // done early: the point's own time ends it
  EXPECT_EQ(TicksUntilChange(), 200 - 51);      // less the part second already gone
  speaker.calls.clear();
  Next();  // at once, cutting off what is being said
  EXPECT_EQ(S().genmCurrentStep, stpRelax);
  EXPECT_EQ(speaker.calls, "S");
  EXPECT_TRUE(notices.empty());
}

TEST_F(PacingTest, PauseResumeFinishAndTurningOffReachTheSpeaker) {
  Next(5);
  speaker.calls.clear();
  engine.cmdPause_Click();
  engine.cmdResume_Click();
  engine.cmdPause_Click();
  Next();                    // a step change while paused speaks the new step
  engine.cmdResume_Click();  // nothing is paused any more
  engine.cmdFinish_Click();
  Next();  // starts over on the introduction
  EXPECT_EQ(speaker.lastText.rfind("Please sit up straight", 0), 0u);
  guidance.TurnOff();
  Next(5);  // nothing is said, and the point holds nothing
  EXPECT_EQ(speaker.calls, "PRPSXSX");
  EXPECT_EQ(TicksUntilChange(), 201);
}

// A hung or failing speech service turns the guidance off with one notice and
// no error report; a hung one holds a point only up to the phrase's time limit.
TEST_F(PacingTest, AHungOrFailingServiceTurnsTheGuidanceOffAndTheSessionGoesOn) {
  Next(5);
  const int limit = SpokenGuidance::PhraseTimeLimit(speaker.lastText);
  EXPECT_EQ(limit, 500 + 20 * static_cast<int>(speaker.lastText.size()));
  EXPECT_EQ(SpokenGuidance::PhraseTimeLimit("\u00e9t\u00e9"), 560);  // characters, not bytes
  EXPECT_EQ(TicksUntilChange(), limit + 1);
  EXPECT_FALSE(guidance.IsOn());
  EXPECT_EQ(speaker.calls.back(), 'X');
  guidance.SpeakerFailed("again");  // already off: no second notice
  guidance.TurnOn(S().genmCurrentStep, S().genmSelectedIssue, false, false);
  speaker.failing = true;
  Next();
  EXPECT_FALSE(guidance.IsOn());
  EXPECT_EQ(S().genmCurrentStep, stpRelax);
  EXPECT_TRUE(view.timerEnabled);
  ASSERT_EQ(notices.size(), 2u);
  EXPECT_NE(notices[0].find("Spoken Guidance"), std::string::npos);
  EXPECT_EQ(turnedOff, 2);
  EXPECT_TRUE(reports.empty());
}

}  // namespace
}  // namespace serenitap
