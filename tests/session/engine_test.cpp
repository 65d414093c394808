// The session engine driven through a recording window: timing in ticks, the
// commands and their guards, blinking and the elapsed time.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "content/instructions.h"
#include "services/failure.h"
#include "session/engine.h"
#include "session/steps.h"
#include "support/recorders.h"
#include "tests/session/fake_view.h"

namespace serenitap {
namespace {

using testing::FakeSessionView;
using testing::MessageBoxRecorder;
using testing::ReportRecorder;
using Log = std::vector<std::string>;

class EngineTest : public ::testing::Test {
 protected:
  MessageBoxRecorder boxes;
  ReportRecorder reports;
  FakeSessionView view;
  SessionEngine engine{view};

  const SessionState& S() const { return engine.State(); }

  void Load(bool activate = true) {
    engine.Form_Load_Prepare();
    engine.Form_Load_Session();
    if (activate) engine.Form_Activate();
    view.log.clear();
  }
  // One timer tick; the real timer only fires while it is on.
  void Tick() {
    ASSERT_TRUE(view.timerEnabled) << "tick while the step timer is off, step " << S().genmCurrentStep;
    engine.tmrSteps_Timer();
  }
  void Ticks(int n) {
    for (int i = 0; i < n; ++i) Tick();
  }
  // Ticks until the step changes, counting the tick that changes it. The
  // leaving tick is the first tick of the next step, so a step entered by the
  // timer lasts exactly this many ticks, and a step entered by a command one
  // tick less.
  int TicksUntilChange(int limit = 5000) {
    const enmStep start = S().genmCurrentStep;
    for (int n = 1; n <= limit; ++n) {
      engine.tmrSteps_Timer();
      if (S().genmCurrentStep != start) return n;
    }
    return -1;
  }
  void Next() { engine.cmdNavig_Click(1); }
  void Previous() { engine.cmdNavig_Click(0); }
  // Intro -> 4 -> 2 -> 3 -> 5, with the millisecond accumulator at 0.
  void NextToLeftHand() {
    for (int i = 0; i < 4; ++i) Next();
    ASSERT_EQ(S().genmCurrentStep, stpLeftHand);
    ASSERT_EQ(S().glngTickMs, 0);
  }
};

TEST_F(EngineTest, LoadingShowsTheIntroductionWithTheTimerOff) {
  Load(/*activate=*/false);
  EXPECT_EQ(S().genmCurrentStep, stpIntro);
  EXPECT_EQ(S().genmSelectedIssue, issNegativeMemory);
  EXPECT_EQ(engine.mintSUD(), 5);
  EXPECT_EQ(view.selectedSUD, 5);
  EXPECT_EQ(view.selectedIssue, 5);
  EXPECT_FALSE(engine.mblnActivated());
  EXPECT_FALSE(view.timerEnabled);
  EXPECT_FALSE(view.previousEnabled);
  EXPECT_FALSE(view.pauseEnabled);
  EXPECT_FALSE(view.resumeVisible);
  EXPECT_EQ(view.dotColour, kDotRed);
  EXPECT_EQ(view.timeText, "");
  EXPECT_EQ(view.issueCaptions[1], "Addiction or obsession");
  EXPECT_EQ(view.issueCaptions[9], "Self-esteem issues");
  EXPECT_EQ(view.issueCaptions[10], "");  // 10..12 keep their design captions
  EXPECT_TRUE(view.texts.toIntroLabel);
  EXPECT_EQ(view.texts.instructions, modSteps::GetIntroText());
  EXPECT_EQ(view.VisibleDots(), 0);
  EXPECT_TRUE(reports.reports.empty());
  EXPECT_TRUE(boxes.requests.empty());
}

TEST_F(EngineTest, EnteringTheThirdRoundPaintsGreenBeforeTheStepShows) {
  Load();
  NextToLeftHand();
  Ticks(2000 + 2 * 32 * 100);  // karate chop and two rounds, up to the last tick of round 2
  ASSERT_EQ(S().genmCurrentStep, stpRightUnderArm);
  ASSERT_EQ(S().glngRoundCount, 2);
  view.log.clear();
  Tick();
  ASSERT_GE(view.log.size(), 3u);
  EXPECT_EQ(Log(view.log.begin(), view.log.begin() + 3), (Log{"Paint(green)", "HideAllDots", "Layout(7)"}));
  EXPECT_TRUE(S().gblnPositiveRound);
  EXPECT_EQ(view.texts.segmentTitle, "Positive Sequence");
}

// The order of the points is the catalogue's; here: how long each lasts.
TEST_F(EngineTest, TimerOnlySessionRunsTheStepLengthsInTicks) {
  Load();
  NextToLeftHand();
  EXPECT_EQ(TicksUntilChange(), 1000 + 1);  // Left Hand, 10 s, entered by a command on a whole second
  EXPECT_EQ(S().genmCurrentStep, stpRightHand);
  EXPECT_EQ(TicksUntilChange(), 1000);      // Right Hand, entered by the timer
  EXPECT_EQ(S().genmCurrentStep, stpTopHead1);

  for (int r = 1; r <= 3; ++r) {
    for (int i = 0; i < 16; ++i) {
      ASSERT_EQ(S().glngRoundCount, r);
      ASSERT_EQ(S().gblnPositiveRound, r >= 3);
      ASSERT_EQ(view.dotColour, r >= 3 ? kDotGreen : kDotRed);
      ASSERT_EQ(TicksUntilChange(), 200) << "round " << r << " point " << i;
    }
  }
  EXPECT_EQ(S().genmCurrentStep, stpTopHead1);
  EXPECT_EQ(S().glngRoundCount, 4);
  EXPECT_TRUE(view.timerEnabled);
  EXPECT_TRUE(reports.reports.empty());
}

// Relax entered by Next some ticks into a second: it lasts its 15 s less the
// part second already gone (plus the tick that leaves it).
struct RelaxCase {
  int ticksIntoSecond;
  int ticksUntilLeft;
};

class RelaxByNextTest : public EngineTest, public ::testing::WithParamInterface<RelaxCase> {};

TEST_P(RelaxByNextTest, LastsItsLengthLessThePartSecondAndLeadsIntoAPositiveRound) {
  Load();
  NextToLeftHand();
  Ticks(2000 + 100 + GetParam().ticksIntoSecond);  // into the first tapping point
  ASSERT_EQ(S().glngTickMs, 10 * GetParam().ticksIntoSecond);
  Next();
  ASSERT_EQ(S().genmCurrentStep, stpRelax);
  EXPECT_EQ(S().glngRoundCount, 2);
  EXPECT_EQ(TicksUntilChange(), GetParam().ticksUntilLeft);
  EXPECT_EQ(S().genmCurrentStep, stpTopHead1);
  EXPECT_EQ(S().glngRoundCount, 3);
  EXPECT_TRUE(S().gblnPositiveRound);
  EXPECT_EQ(view.dotColour, kDotGreen);
}

INSTANTIATE_TEST_SUITE_P(Starts, RelaxByNextTest,
                         ::testing::Values(RelaxCase{0, 1500 + 1}, RelaxCase{37, (15 - 1) * 100 + 63 + 1}));

TEST_F(EngineTest, PauseAndResumeFinishTheStepOnTime) {
  Load();
  NextToLeftHand();
  Ticks(437);
  engine.cmdPause_Click();
  EXPECT_FALSE(view.timerEnabled);
  EXPECT_FALSE(view.pauseVisible);
  EXPECT_TRUE(view.resumeVisible);
  EXPECT_TRUE(view.resumeEnabled);
  EXPECT_EQ(S().glngTickMs, 370);
  const std::string shown = view.timeText;
  EXPECT_EQ(shown, "00:04");

  engine.cmdResume_Click();
  EXPECT_TRUE(view.timerEnabled);
  EXPECT_TRUE(view.pauseVisible);
  EXPECT_TRUE(view.pauseEnabled);
  EXPECT_FALSE(view.resumeVisible);
  EXPECT_FALSE(view.resumeEnabled);
  EXPECT_EQ(view.timeText, shown);  // nothing counted while paused
  Ticks(563);
  EXPECT_EQ(S().genmCurrentStep, stpLeftHand);
  Tick();
  EXPECT_EQ(S().genmCurrentStep, stpRightHand);
}

TEST_F(EngineTest, FinishWhilePausedShowsTheLastStepWithPauseDisabled) {
  Load();
  NextToLeftHand();
  Ticks(2000 + 3 * 32 * 100);  // into round 4: green dots
  ASSERT_TRUE(S().gblnPositiveRound);
  engine.cmdPause_Click();
  engine.cmdFinish_Click();
  EXPECT_EQ(S().genmCurrentStep, stpFinish);
  EXPECT_EQ(S().glngStepLength, 0);
  EXPECT_EQ(S().glngStepSeconds, 0);
  EXPECT_EQ(S().glngRoundCount, 0);
  EXPECT_FALSE(S().gblnPositiveRound);
  EXPECT_FALSE(view.timerEnabled);
  EXPECT_TRUE(view.pauseVisible);
  EXPECT_FALSE(view.pauseEnabled);
  EXPECT_FALSE(view.resumeVisible);
  EXPECT_EQ(view.dotColour, kDotGreen);  // Finish does not repaint
  EXPECT_FALSE(engine.mblnBusy());

  Next();
  EXPECT_EQ(S().genmCurrentStep, stpIntro);
}

TEST_F(EngineTest, StartResetsTheSessionAndLandsOnTheThymus) {
  Load();
  NextToLeftHand();
  engine.radMode_Click(11);
  engine.lblSUDUnit_Click(8);
  Ticks(2000 + 3 * 32 * 100);
  ASSERT_TRUE(S().gblnPositiveRound);
  engine.cmdStart_Click();
  EXPECT_EQ(S().genmCurrentStep, stpStimulateThymus);
  EXPECT_EQ(S().glngRoundCount, 0);
  EXPECT_FALSE(S().gblnPositiveRound);
  EXPECT_EQ(S().genmSelectedIssue, issNegativeMemory);
  EXPECT_EQ(engine.mintSUD(), 5);
  EXPECT_EQ(view.selectedSUD, 5);
  EXPECT_EQ(view.selectedIssue, 5);
  EXPECT_FALSE(view.previousEnabled);  // stays disabled until Next lands on 4 again
  EXPECT_FALSE(view.timerEnabled);
  EXPECT_GT(S().glngSessionSeconds, 0);  // the elapsed time runs on
}

// --- Guards -------------------------------------------------------------------

TEST_F(EngineTest, CommandsAreDroppedUntilTheWindowIsActivated) {
  Load(/*activate=*/false);
  Next();
  Previous();
  engine.cmdFinish_Click();
  EXPECT_TRUE(view.log.empty());
  EXPECT_EQ(S().genmCurrentStep, stpIntro);
  engine.Form_Activate();
  engine.Form_Activate();
  Next();
  EXPECT_EQ(S().genmCurrentStep, stpStimulateThymus);
}

// A command holds the busy flag while it shows its step; anything arriving
// meanwhile (from a pumped event) is dropped.
struct BusyCase {
  const char* name;
  void (*command)(SessionEngine&);
  const char* shownEntry;
  enmStep landsOn;
};

class BusyTest : public EngineTest, public ::testing::WithParamInterface<BusyCase> {};

TEST_P(BusyTest, ASecondCommandDuringACommandIsDropped) {
  const BusyCase& c = GetParam();
  Load();
  int reentered = 0;
  view.hook = [&](const std::string& entry) {
    if (entry == c.shownEntry) {
      ++reentered;
      EXPECT_TRUE(engine.mblnBusy());
      Next();                       // dropped
      engine.cmdFinish_Click();     // dropped
      Previous();                   // dropped
      engine.radMode_Click(1);      // dropped: the issue stays
    }
  };
  c.command(engine);
  EXPECT_EQ(reentered, 1);
  EXPECT_EQ(S().genmCurrentStep, c.landsOn);
  EXPECT_EQ(S().genmSelectedIssue, issNegativeMemory);
  EXPECT_FALSE(engine.mblnBusy());
  view.hook = nullptr;
  Next();
  EXPECT_NE(S().genmCurrentStep, c.landsOn);
}

INSTANTIATE_TEST_SUITE_P(
    Commands, BusyTest,
    ::testing::Values(BusyCase{"Next", [](SessionEngine& e) { e.cmdNavig_Click(1); }, "Layout(4)", stpStimulateThymus},
                      BusyCase{"Finish", [](SessionEngine& e) { e.cmdFinish_Click(); }, "Layout(25)", stpFinish}),
    [](const ::testing::TestParamInfo<BusyCase>& info) { return std::string(info.param.name); });

TEST_F(EngineTest, ShareAsksOnlyWhenActivatedAndIdleAndHoldsTheBusyFlag) {
  Load(/*activate=*/false);
  engine.cmdShare_Click();
  EXPECT_TRUE(boxes.requests.empty());
  engine.Form_Activate();
  view.hook = [&](const std::string& entry) {
    if (entry == "Layout(4)") engine.cmdShare_Click();  // dropped: a command is running
  };
  Next();
  EXPECT_TRUE(boxes.requests.empty());
  view.hook = nullptr;
  bool busyWhileAsking = false;
  SetMessageBoxSink([&](const MessageBoxRequest&) {
    busyWhileAsking = engine.mblnBusy();
    Next();  // dropped while the message is open
    return MsgAnswer::Ok;
  });
  engine.cmdShare_Click();
  SetMessageBoxSink({});
  EXPECT_TRUE(busyWhileAsking);
  EXPECT_FALSE(engine.mblnBusy());
  EXPECT_EQ(S().genmCurrentStep, stpStimulateThymus);
  MessageBoxRecorder shared;
  engine.cmdShare_Click();
  ASSERT_EQ(shared.requests.size(), 1u);
  EXPECT_EQ(shared.requests[0].text, "Share");
  EXPECT_EQ(shared.requests[0].buttons, MsgButtons::Ok);
  EXPECT_EQ(shared.requests[0].title, "Serenitap");
}

TEST_F(EngineTest, IssueAndSUDSelection) {
  Load();
  engine.radMode_Click(11);
  EXPECT_EQ(S().genmSelectedIssue, issGuilt);
  engine.radMode_Click(12);
  EXPECT_EQ(S().genmSelectedIssue, issPTSDTrauma);
  EXPECT_FALSE(engine.mblnBusy());

  engine.radSUD_Click(3);
  EXPECT_EQ(engine.mintSUD(), 3);
  view.log.clear();
  engine.lblSUDUnit_Click(7);
  EXPECT_EQ(view.log, (Log{"SelectSUD(7)"}));
  EXPECT_EQ(engine.mintSUD(), 7);

  // The issue is read each time a step is shown.
  for (int i = 0; i < 4; ++i) Next();
  EXPECT_EQ(view.texts.instructions, GetStepInstructions(stpLeftHand, issPTSDTrauma, false));
}

// --- Blinking and elapsed time ---------------------------------------------------

TEST_F(EngineTest, BlinkShowsElevenTicksAndHidesEleven) {
  Load();
  engine.MutableState().glngCurrentDot = 9;
  engine.Blink_Reset();
  std::vector<bool> shown;
  for (int i = 0; i < 44; ++i) {
    engine.Blink();
    shown.push_back(view.dotVisible[9]);
  }
  for (int i = 0; i < 44; ++i) EXPECT_EQ(shown[static_cast<std::size_t>(i)], (i / 11) % 2 == 0) << "call " << i + 1;
  EXPECT_EQ(view.VisibleDots(), 0);  // 44 calls end hidden
}

TEST_F(EngineTest, EachStepsDotStartsHiddenAndBlinksFromItsFirstTick) {
  Load();
  NextToLeftHand();
  Ticks(1000);
  Tick();  // first tick of step 6
  EXPECT_TRUE(view.dotVisible[3]);
  EXPECT_EQ(view.VisibleDots(), 1);
  Ticks(10);
  EXPECT_TRUE(view.dotVisible[3]);
  Tick();
  EXPECT_FALSE(view.dotVisible[3]);
  // Steps 12 and 13 share dot 8; step 18 blinks dot 16.
  while (S().genmCurrentStep != stpRightEyebrow) Tick();
  EXPECT_TRUE(view.dotVisible[16]);
  EXPECT_EQ(S().glngCurrentDot, 16);
  Next();  // negative round: Relax, no dot at all
  ASSERT_EQ(S().genmCurrentStep, stpRelax);
  for (int i = 0; i < 1400; ++i) {
    Tick();
    ASSERT_EQ(view.VisibleDots(), 0);
  }
}

TEST_F(EngineTest, TimeLabelCountsWholeSecondsAndPumpsEvents) {
  Load();
  NextToLeftHand();
  Ticks(99);
  EXPECT_EQ(view.timeText, "");
  view.log.clear();
  Tick();
  EXPECT_EQ(view.log, (Log{"Dot(2,0)", "Time(00:01)", "Pump"}));  // the 100th tick also blinks
  Ticks(6100);
  EXPECT_EQ(view.timeText, "01:02");
  EXPECT_EQ(S().glngSessionSeconds, 62);
}

TEST_F(EngineTest, AClickHandledDuringThePumpSeesACompleteTick) {
  Load();
  NextToLeftHand();
  Ticks(99);
  view.hook = [&](const std::string& entry) {
    if (entry == "Pump") {
      EXPECT_EQ(S().glngTickMs, 0);
      EXPECT_EQ(S().glngStepSeconds, 1);
      Next();
    }
  };
  Tick();
  view.hook = nullptr;
  EXPECT_EQ(S().genmCurrentStep, stpTopHead1);
  EXPECT_EQ(S().glngStepSeconds, 0);
}

}  // namespace
}  // namespace serenitap
