// The session engine driven through a stand-in window: timing in ticks, the
// commands and their guards, blinking, the elapsed time, the pacing of the
// spoken guidance, and failures.
#include <gtest/gtest.h>

#include <stdexcept>

#include "content/instructions.h"
#include "services/notice.h"
#include "tests/session/fake_view.h"

namespace serenitap {
namespace {

using testing::EngineTest;
using testing::SessionControls;
using testing::Where;

// The controls before the step timer runs and while it runs.
constexpr SessionControls kUntimed{false, {false, true}, {false, true}, {false, false}};
constexpr SessionControls kTiming{true, {true, true}, {true, true}, {false, false}};

constexpr int kThreeRounds = 2000 + 3 * 32 * 100;  // karate chop and three rounds, in ticks

TEST_F(EngineTest, LoadingAndStartShowTheDefaultChoicesAndPreviousWalksBack) {
  // The issue chosen and the option shown, the SUD rating chosen and the one shown.
  const auto choices = [&] {
    return std::tuple(S().genmSelectedIssue, view.selectedIssue, engine.mintSUD(), view.selectedSUD);
  };
  const auto designed = std::tuple(issNegativeMemory, 5, 5, 5);
  Load(/*activate=*/false);
  EXPECT_EQ(At(), (Where{stpIntro, 0, false}));
  EXPECT_EQ(Controls(), kUntimed);
  EXPECT_EQ(choices(), designed);
  EXPECT_EQ(view.captions[1] + "/" + view.captions[10], "Addiction or obsession/");  // 10..12 keep their own
  EXPECT_EQ(view.texts.instructions, modSteps::GetIntroText());
  Next();  // dropped until the window is activated
  EXPECT_EQ(S().genmCurrentStep, stpIntro);
  engine.Form_Activate();
  engine.radMode_Click(12);
  engine.lblSUDUnit_Click(0);  // both ends of the scale
  EXPECT_EQ(choices(), std::tuple(issPTSDTrauma, 5, 0, 0));
  engine.lblSUDUnit_Click(10);
  EXPECT_EQ(choices(), std::tuple(issPTSDTrauma, 5, 10, 10));
  Next(5);
  EXPECT_EQ(Controls(), kTiming);
  std::vector<enmStep> path;
  for (int i = 0; i < 8 && S().genmCurrentStep != stpIntro; ++i) {
    Previous();
    path.push_back(S().genmCurrentStep);
  }
  EXPECT_EQ(path, (std::vector<enmStep>{stpLeftHand, stpAssignSUD, stpSelectIssue, stpStimulateThymus, stpIntro}));
  EXPECT_EQ(Controls(), kUntimed);
  Next(4);
  EXPECT_EQ(view.texts.instructions, GetStepInstructions(stpLeftHand, issPTSDTrauma, false));
  Ticks(kThreeRounds);
  engine.cmdStart_Click();
  // Previous stays disabled until Next lands on the thymus again.
  EXPECT_EQ(At(), (Where{stpStimulateThymus, 0, false}));
  EXPECT_EQ(Controls(), kUntimed);
  EXPECT_EQ(choices(), designed);
  EXPECT_GT(S().glngSessionSeconds, 0);  // the elapsed time runs on
  engine.cmdShare_Click();
  EXPECT_EQ(boxes.Texts(), std::vector<std::string>{"Share"});
}

// The user's pace: every tapping point of a round lasts the chosen seconds;
// the karate chop and the relaxation keep theirs; a pace that is not offered
// is the designed one.
using PaceRow = std::tuple<const char*, std::int32_t, int>;  // name, the pace chosen, a point's ticks

class PaceTest : public EngineTest, public ::testing::WithParamInterface<PaceRow> {};

TEST_P(PaceTest, OnlyTheTappingPointsTakeThePace) {
  engine.SetPointSeconds(std::get<1>(GetParam()));
  Load();
  Next(4);
  EXPECT_EQ(TicksUntilChange(), 1000 + 1);  // Left Hand
  EXPECT_EQ(TicksUntilChange(), 1000);      // Right Hand
  for (int point = 0; point < 16; ++point) ASSERT_EQ(TicksUntilChange(), std::get<2>(GetParam())) << point;
  EXPECT_EQ(At(), (Where{stpTopHead1, 2, false}));
  Next();  // Relax, entered by a command on a whole second
  EXPECT_EQ(At(), (Where{stpRelax, 2, false}));
  EXPECT_EQ(TicksUntilChange(), 1500);
  EXPECT_EQ(At(), (Where{stpTopHead1, 3, true}));
}

INSTANTIATE_TEST_SUITE_P(Paces, PaceTest,
                         ::testing::Values(PaceRow{"Six", 6, 600}, PaceRow{"FiveIsNotOffered", 5, 200}),
                         [](const auto& info) { return std::string(std::get<0>(info.param)); });

// A point's dot blinks from the first tick of its step, eleven ticks on and
// eleven off. The time label counts whole seconds.
TEST_F(EngineTest, DotsBlinkAndTheTimeLabelCountsWholeSeconds) {
  Load();
  Next(4);
  Ticks(100);
  EXPECT_EQ(view.timeText, "00:01");
  Next();
  std::string dot;
  for (int i = 0; i < 45; ++i) {
    Ticks(1);
    dot += view.dotVisible[4] ? '1' : '0';
  }
  EXPECT_EQ(dot, std::string(11, '1') + std::string(11, '0') + std::string(11, '1') + std::string(11, '0') + "1");
  Ticks(6100);
  EXPECT_EQ(view.timeText, "01:02");
}

// --- Spoken guidance ----------------------------------------------------------

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

class PacingTest : public EngineTest {
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

TEST_F(PacingTest, OnlyAPointWaitsForItsPhraseAndTheCommandsReachTheSpeaker) {
  Next(4);
  const std::uint32_t affirmation = speaker.lastPhrase;
  EXPECT_EQ(TicksUntilChange(), 1001);  // the karate chop ends on time though its phrase goes on
  EXPECT_EQ(TicksUntilChange(), 1000);
  EXPECT_EQ(speaker.lastText, "Top Head.\nI cannot deal with my past...");
  guidance.PhraseFinished(affirmation);  // a late report releases nothing
  Ticks(550);
  EXPECT_EQ(At(), (Where{stpTopHead1, 1, false}));
  EXPECT_EQ(view.timeText, "00:25");  // the clocks run on
  guidance.PhraseFinished(speaker.lastPhrase);
  Ticks(1);
  EXPECT_EQ(speaker.lastText, "Left Eyebrow.\nI'm struggling to live with this...");
  speaker.calls.clear();
  engine.cmdPause_Click();
  engine.cmdResume_Click();
  engine.cmdPause_Click();
  Next();  // at once, though the phrase goes on; the new step is said, unpaused
  EXPECT_EQ(S().genmCurrentStep, stpRelax);
  engine.cmdResume_Click();  // nothing is paused any more
  engine.cmdFinish_Click();
  Next();                                        // starts over on the introduction
  guidance.StepShown(stpNone, issGuilt, false);  // nothing to say there: what was being said stops
  guidance.TurnOff();
  Next(5);  // nothing is said, and the point holds nothing
  EXPECT_EQ(speaker.calls, "PRPSXSXX");
  EXPECT_EQ(TicksUntilChange(), 200 - 51);  // its two seconds, less the part second gone
  EXPECT_TRUE(notices.empty());
}

// A hung or failing speech service turns the guidance off with one notice and
// no error report; a hung one holds a point only up to the phrase's time limit.
TEST_F(PacingTest, AHungOrFailingServiceTurnsTheGuidanceOffAndTheSessionGoesOn) {
  Next(5);
  const int limit = SpokenGuidance::PhraseTimeLimit(speaker.lastText);
  EXPECT_EQ(limit, 500 + 20 * static_cast<int>(speaker.lastText.size()));
  EXPECT_EQ(SpokenGuidance::PhraseTimeLimit("\u00e9t\u00e9 \U0001F630"), 500 + 20 * 5);  // characters, not bytes
  EXPECT_EQ(TicksUntilChange(), limit + 1);
  EXPECT_FALSE(guidance.IsOn());
  guidance.SpeakerFailed("again");  // already off: no second notice
  guidance.TurnOn(S().genmCurrentStep, S().genmSelectedIssue, false, /*paused=*/true);
  EXPECT_EQ(speaker.calls.substr(speaker.calls.size() - 2), "SP");  // said, and paused at once
  speaker.failing = true;
  Next();
  EXPECT_FALSE(guidance.IsOn());
  EXPECT_EQ(At(), (Where{stpRelax, 2, false}));
  EXPECT_EQ(Controls(), kTiming);
  ASSERT_EQ(notices.size(), 2u);
  EXPECT_NE(notices[0].find("Spoken Guidance"), std::string::npos);
  EXPECT_EQ(turnedOff, 2);
}

// --- Failures -----------------------------------------------------------------
// Each is reported once under the procedure that failed, with the step timer
// stopped just before where the session needs it and the busy flag given back
// afterwards; nothing after the failing statement runs, and the session goes on.

enum class Act { Next, Previous, Second, Pause, SUD5 };

struct FailureCase {
  const char* name;
  enmStep at;                         // the step the session is on first
  const char* failOn;                 // the window call that fails; "": the engine fails by itself
  std::int32_t SessionState::*atTop;  // a counter set to its highest value first
  Act act;
  const char* reported;  // procedure after the window's latest call[, busy]
};

class EngineFailure : public EngineTest, public ::testing::WithParamInterface<FailureCase> {
 protected:
  void Run(Act act) {
    switch (act) {
      case Act::Next: return Next();
      case Act::Previous: return Previous();
      case Act::Second: return Ticks(100);
      case Act::Pause: return engine.cmdPause_Click();
      case Act::SUD5: return engine.lblSUDUnit_Click(5);
    }
  }
};

TEST_P(EngineFailure, IsReportedOnceByItsProcedureAndTheSessionGoesOn) {
  const FailureCase& c = GetParam();
  constexpr std::int32_t kTop = INT32_MAX;
  Load();
  engine.radSUD_Click(7);
  for (int i = 0; i < 10 && S().genmCurrentStep != c.at; ++i) Next();
  if (c.atTop != nullptr) engine.MutableState().*c.atTop = kTop;
  view.failOn = c.failOn;
  view.last = "nothing";
  Run(c.act);
  view.failOn.clear();
  EXPECT_EQ(reports, std::vector<std::string>{std::string("frmMain.") + c.reported});
  EXPECT_FALSE(engine.mblnBusy());
  if (c.atTop != nullptr) {
    EXPECT_EQ(S().*c.atTop, kTop) << "no silent wrap";
  }
  EXPECT_EQ(engine.mintSUD(), 7) << "nothing after the failing statement runs";
  engine.cmdFinish_Click();
  Next(2);
  EXPECT_EQ(At(), (Where{stpStimulateThymus, 0, false}));
  EXPECT_EQ(reports.size() + boxes.requests.size(), 1u) << "reports";
  reports.clear();
}

INSTANTIATE_TEST_SUITE_P(
    Session, EngineFailure,
    ::testing::Values(
        FailureCase{"Seconds", stpLeftHand, "", &SessionState::glngSessionSeconds, Act::Second,
                    "tmrSteps_Timer after Timer(0)"},
        FailureCase{"Layout", stpLeftHand, "Layout", nullptr, Act::Next, "DisplayStep after Timer(0), busy"},
        FailureCase{"Texts", stpIntro, "Texts", nullptr, Act::Next, "DisplayStep after Timer(0), busy"},
        FailureCase{"Pump", stpLeftHand, "Pump", nullptr, Act::Second, "UpdateTimeElapsed after Timer(0)"},
        FailureCase{"Previous", stpStimulateThymus, "Enabled(Previous,0)", nullptr, Act::Previous,
                    "cmdNavig_Click after Timer(0), busy"},
        FailureCase{"Pause", stpLeftHand, "Visible(Resume,1)", nullptr, Act::Pause,
                    "cmdPause_Click after Enabled(Resume,1)"},
        FailureCase{"SUDLabel", stpAssignSUD, "SelectSUD", nullptr, Act::SUD5, "lblSUDUnit_Click after nothing"}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace serenitap
