// Spoken guidance: what is said at each step, and the pacing of the tapping
// points with a recording speaker driven through the session engine.
#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "services/notice.h"
#include "session/engine.h"
#include "session/guidance.h"
#include "support/recorders.h"
#include "session/fake_view.h"

namespace serenitap {
namespace {

// --- What is said -------------------------------------------------------------

struct UtteranceCase {
  enmStep step;
  enmIssue issue;
  bool positive;
  std::string said;
};

class UtteranceTest : public ::testing::TestWithParam<UtteranceCase> {};

TEST_P(UtteranceTest, SaysThePointAndItsLineTheAffirmationOrTheStepText) {
  const UtteranceCase& c = GetParam();
  EXPECT_EQ(GuidanceUtterance(c.step, c.issue, c.positive), c.said);
}

INSTANTIATE_TEST_SUITE_P(
    Table, UtteranceTest,
    ::testing::Values(
        // The first point of a round says line 1.
        UtteranceCase{7, issNegativeMemory, false, "Top Head.\nI cannot deal with my past..."},
        // Step 9 is the second point, step 8 the ninth, step 22 the sixteenth.
        UtteranceCase{9, issDepression, true, "Left Eyebrow.\nI am in control of my thoughts and my life."},
        UtteranceCase{8, issGuilt, false, "Top Head.\nThe way I feel now is a punishment. How can I carry around "
                                          "this guilt?"},
        // Shorter sequences start again: 13 lines (point 16 says line 3), 15 lines (line 1).
        UtteranceCase{22, issAddictionsObsessions, false, "Right Under Arm.\nDay by day it gets more difficult."},
        UtteranceCase{21, issAddictionsObsessions, false, "Right Collarbone.\nThis is stronger than me."},
        UtteranceCase{22, issHeadaches, false, "Right Under Arm.\nI cannot relax beause of this terrible headache."},
        // A line without closing punctuation gets a pause; "PTSD, Trauma" has 17 lines.
        UtteranceCase{22, issPTSDTrauma, false, "Right Under Arm.\nI feel so powerless, anxious and vulnerable."},
        // The karate chop: only the affirmation, without the bracketed hint.
        UtteranceCase{5, issNegativeMemory, false,
                      "Even though I have this negative memory I love and accept myself with all my heart."},
        UtteranceCase{5, issAddictionsObsessions, false,
                      "Even though I have this addiction (obsession) I love and accept myself with all my heart."},
        UtteranceCase{6, issPTSDTrauma, true,
                      "Even though I was exposed to this traumatic event I love and accept myself with all my heart."},
        UtteranceCase{5, issNA, false, "Even though ... I love and accept myself with all my heart."},
        // Other steps: the title, then the instructions line by line.
        UtteranceCase{3, issNegativeMemory, false,
                      "Assign SUD.\nNow please assess the intensity of the issue - the level of discomfort it "
                      "causes. Assign to this issue a SUD number (a unit on so called 'Subjective Unit of "
                      "Distress' scale).\nIt is number from 0 to 10, where 0 means that the issue is not "
                      "bothering you at all, and 10 indicates the highest level of distress.\nGo to the next "
                      "step when you are ready."},
        // Nothing to say off the catalogue.
        UtteranceCase{0, issNegativeMemory, false, ""}, UtteranceCase{26, issNegativeMemory, true, ""}));

// --- Pacing -------------------------------------------------------------------

// A speaker that records what it is asked and finishes only when told.
class RecordingSpeaker : public ISpeaker {
 public:
  std::vector<std::string> calls;
  std::vector<std::string> texts;
  std::uint32_t lastPhrase = 0;
  bool failing = false;

  void Say(std::uint32_t phrase, const std::string& text) override {
    Record("Say");
    lastPhrase = phrase;
    texts.push_back(text);
  }
  void Pause() override { Record("Pause"); }
  void Resume() override { Record("Resume"); }
  void Stop() override { Record("Stop"); }

 private:
  void Record(const char* call) {
    if (failing) throw std::runtime_error("speech service gone");
    calls.emplace_back(call);
  }
};

class PacingTest : public ::testing::Test {
 protected:
  PacingTest() {
    previousSink_ = SetNoticeSink([this](const std::string& text) { notices.push_back(text); });
    guidance.onTurnedOff = [this] { ++turnedOff; };
  }
  ~PacingTest() override { SetNoticeSink(previousSink_); }

  testing::ReportRecorder reports;
  testing::MessageBoxRecorder boxes;
  testing::FakeSessionView view;
  SessionEngine engine{view};
  RecordingSpeaker speaker;
  SpokenGuidance guidance{speaker};
  std::vector<std::string> notices;
  int turnedOff = 0;

  const SessionState& S() const { return engine.State(); }
  void Load(bool withGuidance = true) {
    if (withGuidance) engine.SetGuidance(&guidance);
    engine.Form_Load_Prepare();
    engine.Form_Load_Session();
    engine.Form_Activate();
  }
  void TurnOn() { guidance.TurnOn(S().genmCurrentStep, S().genmSelectedIssue, S().gblnPositiveRound, false); }
  void Next(int times = 1) {
    for (int i = 0; i < times; ++i) engine.cmdNavig_Click(1);
  }
  void Ticks(int n) {
    for (int i = 0; i < n; ++i) engine.tmrSteps_Timer();
  }
  // Intro -> 4 -> 2 -> 3 -> 5 -> 7 by Next, on a whole second.
  void NextToTopHead() {
    Next(5);
    ASSERT_EQ(S().genmCurrentStep, stpTopHead1);
  }

 private:
  NoticeSink previousSink_;
};

TEST_F(PacingTest, GuidanceTurnedOffHoldsNothingAndSaysNothing) {
  Load();
  TurnOn();
  guidance.TurnOff();
  speaker.calls.clear();
  NextToTopHead();
  Ticks(201);  // the point's own two seconds and the leaving tick
  EXPECT_EQ(S().genmCurrentStep, stpLeftEyebrow);
  EXPECT_TRUE(speaker.calls.empty());
}

TEST_F(PacingTest, APointWaitsForItsPhraseWhileTheTimeKeepsCounting) {
  Load();
  TurnOn();
  NextToTopHead();
  EXPECT_EQ(speaker.texts.back(), "Top Head.\nI cannot deal with my past...");
  // A phrase done early leaves the end to the point's own time.
  guidance.PhraseFinished(speaker.lastPhrase);
  Ticks(200);
  EXPECT_EQ(S().genmCurrentStep, stpTopHead1);
  Ticks(1);
  ASSERT_EQ(S().genmCurrentStep, stpLeftEyebrow);
  EXPECT_EQ(speaker.texts.back(), "Left Eyebrow.\nI'm struggling to live with this...");

  // A phrase still going holds the point; the clocks go on.
  Ticks(550);
  EXPECT_EQ(S().genmCurrentStep, stpLeftEyebrow);
  EXPECT_EQ(S().glngStepSeconds, 5);
  EXPECT_EQ(S().glngSessionSeconds, 7);
  EXPECT_EQ(view.timeText, "00:07");
  guidance.PhraseFinished(speaker.lastPhrase);
  Ticks(1);
  EXPECT_EQ(S().genmCurrentStep, stpLeftEyeCorner);
  EXPECT_EQ(speaker.texts.back(), "Left Eye Corner.\nI cannot do anything about this...");
  EXPECT_TRUE(notices.empty());
}

TEST_F(PacingTest, OnlyTappingPointsWaitAndALatePhraseReportReleasesNothing) {
  Load();
  TurnOn();
  Next(4);
  ASSERT_EQ(S().genmCurrentStep, stpLeftHand);
  const std::uint32_t affirmation = speaker.lastPhrase;
  Ticks(1001);  // the karate chop ends on time though its phrase is not done
  ASSERT_EQ(S().genmCurrentStep, stpRightHand);
  Ticks(1000);
  ASSERT_EQ(S().genmCurrentStep, stpTopHead1);
  guidance.PhraseFinished(affirmation);
  Ticks(300);
  EXPECT_EQ(S().genmCurrentStep, stpTopHead1);
  // Next moves on at once; a new step cuts off what was being said.
  speaker.calls.clear();
  Next();
  EXPECT_EQ(S().genmCurrentStep, stpRelax);
  EXPECT_EQ(speaker.calls, std::vector<std::string>{"Say"});
}

TEST_F(PacingTest, PauseResumeFinishAndStartOverReachTheSpeaker) {
  Load();
  TurnOn();
  NextToTopHead();
  speaker.calls.clear();
  engine.cmdPause_Click();
  engine.cmdResume_Click();
  engine.cmdPause_Click();
  Next();  // a step change while paused speaks the new step
  engine.cmdResume_Click();  // nothing is paused any more
  engine.cmdFinish_Click();
  Next();  // starts over on the introduction
  EXPECT_EQ(speaker.calls, (std::vector<std::string>{"Pause", "Resume", "Pause", "Say", "Stop", "Say"}));
  EXPECT_EQ(speaker.texts.back().rfind("Please sit up straight", 0), 0u);

}

TEST_F(PacingTest, AHungServiceHoldsAPointOnlyUntilTheLimitThenTurnsItselfOff) {
  Load();
  TurnOn();
  NextToTopHead();
  const int limit = SpokenGuidance::PhraseTimeLimit(speaker.texts.back());
  EXPECT_GT(limit, 200);
  EXPECT_LT(limit, 3000);
  Ticks(limit);
  EXPECT_EQ(S().genmCurrentStep, stpTopHead1);
  EXPECT_TRUE(notices.empty());
  Ticks(1);
  EXPECT_EQ(S().genmCurrentStep, stpLeftEyebrow);
  EXPECT_FALSE(guidance.IsOn());
  ASSERT_EQ(notices.size(), 1u);
  EXPECT_NE(notices[0].find("Spoken Guidance"), std::string::npos);
  EXPECT_EQ(turnedOff, 1);
  EXPECT_EQ(speaker.calls.back(), "Stop");

  speaker.calls.clear();
  guidance.SpeakerFailed("again");
  EXPECT_TRUE(speaker.calls.empty());
  EXPECT_EQ(notices.size(), 1u);
  EXPECT_TRUE(reports.reports.empty());
}

TEST_F(PacingTest, AFailingSpeakerTurnsTheGuidanceOffWithOneNoticeAndNoErrorReport) {
  Load();
  TurnOn();
  NextToTopHead();
  speaker.failing = true;
  Next();
  EXPECT_FALSE(guidance.IsOn());
  EXPECT_EQ(notices.size(), 1u);
  EXPECT_EQ(turnedOff, 1);
  EXPECT_EQ(S().genmCurrentStep, stpRelax);
  EXPECT_TRUE(view.timerEnabled);
  EXPECT_TRUE(reports.reports.empty());
}

}  // namespace
}  // namespace serenitap
