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

// The controls before the step timer runs, while it runs, paused, and at the end.
constexpr SessionControls kUntimed{false, {false, true}, {false, true}, {false, false}};
constexpr SessionControls kTiming{true, {true, true}, {true, true}, {false, false}};
constexpr SessionControls kPaused{false, {true, true}, {true, false}, {true, true}};
constexpr SessionControls kFinished{false, {true, true}, {false, true}, {false, false}};

// The issue chosen and the option shown, the SUD rating chosen and the one shown.
struct Choices {
  enmIssue issue{};
  std::int32_t shownIssue = 0;
  std::int16_t sud = 0, shownSUD = 0;
  friend bool operator==(const Choices&, const Choices&) = default;
  friend void PrintTo(const Choices& c, std::ostream* out) {
    *out << "{issue " << IssueNumber(c.issue) << " (option " << c.shownIssue << " shown), SUD " << c.sud << " ("
         << c.shownSUD << " shown)}";
  }
};

constexpr int kThreeRounds = 2000 + 3 * 32 * 100;  // karate chop and three rounds, in ticks

TEST_F(EngineTest, LoadingAndStartShowTheDefaultChoicesAndPreviousWalksBack) {
  const auto choices = [&] {
    return Choices{S().genmSelectedIssue, view.selectedIssue, engine.mintSUD(), view.selectedSUD};
  };
  const Choices designed{issNegativeMemory, 5, 5, 5};
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
  EXPECT_EQ(choices(), (Choices{issPTSDTrauma, 5, 0, 0}));
  engine.lblSUDUnit_Click(10);
  EXPECT_EQ(choices(), (Choices{issPTSDTrauma, 5, 10, 10}));
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
  EXPECT_TRUE(reports.empty());
}

TEST_F(EngineTest, TheTimerRunsEachStepForItsLengthAndTheThirdRoundIsGreen) {
  Load();
  Next(4);
  EXPECT_EQ(view.dotColour, kDotGreen);     // the affirmation
  EXPECT_EQ(TicksUntilChange(), 1000 + 1);  // Left Hand, 10 s, entered by a command
  EXPECT_EQ(TicksUntilChange(), 1000);      // Right Hand, entered by the timer
  for (int r = 1; r <= 3; ++r) {
    ASSERT_EQ(At(), (Where{stpTopHead1, r, r >= 3}));
    ASSERT_EQ(view.texts.segmentTitle, r >= 3 ? "Positive Sequence" : "Negative Sequence");
    ASSERT_EQ(view.dotColour, r >= 3 ? kDotGreen : kDotRed);
    for (int i = 0; i < 16; ++i) ASSERT_EQ(TicksUntilChange(), 200) << "round " << r << " point " << i;
  }
  EXPECT_EQ(At(), (Where{stpTopHead1, 4, true}));
  // Next from a positive round goes to the re-assessment; Previous from a point
  // goes back to Relax with the rounds counted again.
  Next();
  EXPECT_EQ(At(), (Where{stpReassessSUD, 4, true}));
  Next();
  Previous();
  EXPECT_EQ(At(), (Where{stpRelax, 2, false}));
  Next(2);
  EXPECT_EQ(At(), (Where{stpReassessSUD, 3, true}));
}

// The user's pace: every tapping point of a round lasts the chosen seconds;
// the karate chop and the relaxation keep theirs; a pace that is not offered
// is the designed one.
struct PaceRow {
  const char* name;
  std::int32_t chosen;
  int pointTicks;
  friend void PrintTo(const PaceRow& row, std::ostream* out) { *out << row.name; }
};

class PaceTest : public EngineTest, public ::testing::WithParamInterface<PaceRow> {};

TEST_P(PaceTest, OnlyTheTappingPointsTakeThePace) {
  engine.SetPointSeconds(GetParam().chosen);
  Load();
  Next(4);
  EXPECT_EQ(TicksUntilChange(), 1000 + 1);  // Left Hand
  EXPECT_EQ(TicksUntilChange(), 1000);      // Right Hand
  for (int point = 0; point < 16; ++point) ASSERT_EQ(TicksUntilChange(), GetParam().pointTicks) << point;
  EXPECT_EQ(At(), (Where{stpTopHead1, 2, false}));
  Next();  // Relax, entered by a command on a whole second
  EXPECT_EQ(At(), (Where{stpRelax, 2, false}));
  EXPECT_EQ(TicksUntilChange(), 1500);
  EXPECT_EQ(At(), (Where{stpTopHead1, 3, true}));
}

INSTANTIATE_TEST_SUITE_P(Paces, PaceTest,
                         ::testing::Values(PaceRow{"Designed", 2, 200}, PaceRow{"Three", 3, 300},
                                           PaceRow{"Four", 4, 400}, PaceRow{"Six", 6, 600},
                                           PaceRow{"FiveIsNotOffered", 5, 200}, PaceRow{"Zero", 0, 200}),
                         [](const auto& info) { return std::string(info.param.name); });

// The words of the chosen issue take the placeholder's place in what the
// window shows; another issue's words, or none, leave the texts as they are.
TEST_F(EngineTest, TheChosenIssuesWordsAreShown) {
  engine.SetOwnWords(issNegativeMemory, "of the crash\n");
  engine.SetOwnWords(issRageAnger, "at my brother");
  engine.SetOwnWords(issRageAnger, "  ");  // emptied
  EXPECT_EQ(engine.OwnWords(issNegativeMemory), "of the crash");
  EXPECT_EQ(engine.OwnWords(issRageAnger), "");
  Load();
  Next(4);
  const std::string designed = GetStepInstructions(stpLeftHand, issNegativeMemory, false);
  const std::size_t at = designed.find("[your problem here]");
  ASSERT_NE(at, std::string::npos);
  EXPECT_EQ(view.texts.instructions, designed.substr(0, at) + "of the crash" + designed.substr(at + 19));
  Previous();
  Previous();
  engine.radMode_Click(8);
  Next(2);
  EXPECT_EQ(view.texts.instructions, GetStepInstructions(stpLeftHand, issRageAnger, false));
  EXPECT_EQ(view.texts.roundLine + std::to_string(view.texts.sayNowLine), "-1");
  Next();
  EXPECT_EQ(view.texts.roundLine, "Round 1 of the negative rounds");
  EXPECT_EQ(view.texts.sayNowLine, SayNowLine(view.texts.instructions, stpTopHead1));
}

TEST_F(EngineTest, PauseAndResumeFinishTheStepOnTimeAndFinishEndsAPause) {
  Load();
  Next(4);
  Ticks(437);
  engine.cmdPause_Click();
  EXPECT_EQ(Controls(), kPaused);
  engine.cmdResume_Click();
  EXPECT_EQ(Controls(), kTiming);
  EXPECT_EQ(S().glngTickMs, 370);  // nothing counted while paused
  EXPECT_EQ(TicksUntilChange(), 564);
  Ticks(kThreeRounds);
  engine.cmdPause_Click();
  engine.cmdFinish_Click();
  EXPECT_EQ(At(), (Where{stpFinish, 0, false}));
  EXPECT_EQ(Controls(), kFinished);
  EXPECT_EQ(view.dotColour, kDotGreen);  // Finish does not repaint
  Next();
  EXPECT_EQ(S().genmCurrentStep, stpIntro);
}

// A command holds the busy flag while it runs: anything arriving meanwhile
// (from a pumped event) is dropped, and the flag is given back.
TEST_F(EngineTest, CommandsAreDroppedWhileAnotherRuns) {
  Load();
  view.hook = [&](const std::string& call) {
    if (call != "Layout") return;
    Next();
    engine.cmdFinish_Click();
    engine.cmdShare_Click();
    engine.radMode_Click(1);
  };
  Next();
  EXPECT_EQ(S().genmCurrentStep, stpStimulateThymus);
  engine.cmdFinish_Click();
  EXPECT_EQ(S().genmCurrentStep, stpFinish);
  EXPECT_EQ(S().genmSelectedIssue, issNegativeMemory);
  EXPECT_TRUE(boxes.requests.empty());
}

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
  Next();  // starts over on the introduction
  guidance.TurnOff();
  Next(5);  // nothing is said, and the point holds nothing
  EXPECT_EQ(speaker.calls, "PRPSXSX");
  EXPECT_EQ(TicksUntilChange(), 200 - 51);  // its two seconds, less the part second gone
  EXPECT_TRUE(notices.empty());
}

// At a slower pace a point still waits for its phrase, and no longer than that.
TEST_F(PacingTest, APointAtASlowerPaceStillWaitsForItsPhrase) {
  engine.SetPointSeconds(4);
  Next(5);
  Ticks(500);
  EXPECT_EQ(S().genmCurrentStep, stpTopHead1);  // four seconds over, the phrase goes on
  guidance.PhraseFinished(speaker.lastPhrase);
  Ticks(1);
  EXPECT_EQ(S().genmCurrentStep, stpLeftEyebrow);
  guidance.PhraseFinished(speaker.lastPhrase);  // said at once: the point keeps its four seconds
  EXPECT_EQ(TicksUntilChange(), 400);
}

// A hung or failing speech service turns the guidance off with one notice and
// no error report; a hung one holds a point only up to the phrase's time limit.
TEST_F(PacingTest, AHungOrFailingServiceTurnsTheGuidanceOffAndTheSessionGoesOn) {
  Next(5);
  const int limit = SpokenGuidance::PhraseTimeLimit(speaker.lastText);
  EXPECT_EQ(limit, 500 + 20 * static_cast<int>(speaker.lastText.size()));
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
  EXPECT_TRUE(reports.empty());
}

// --- Failures -----------------------------------------------------------------
// Each is reported once under the procedure that failed, with the step timer
// stopped just before where the session needs it and the busy flag given back
// afterwards; nothing after the failing statement runs, and the session goes on.

enum class Act { Load, Next, Previous, Second, Start, Pause, Resume, SUD5, SUD11 };

struct FailureCase {
  const char* name;
  enmStep at;                         // the step the session is on first; stpNone: while loading
  const char* failOn;                 // the window call that fails; "": the engine fails by itself
  std::int32_t SessionState::*atTop;  // a counter set to its highest value first
  Act act;
  const char* reported;  // procedure after the window's latest call[, busy]
};

class EngineFailure : public EngineTest, public ::testing::WithParamInterface<FailureCase> {
 protected:
  void Run(Act act) {
    switch (act) {
      case Act::Load: return Load();
      case Act::Next: return Next();
      case Act::Previous: return Previous();
      case Act::Second: return Ticks(100);
      case Act::Start: return engine.cmdStart_Click();
      case Act::Pause: return engine.cmdPause_Click();
      case Act::Resume: return engine.cmdResume_Click();
      case Act::SUD5: return engine.lblSUDUnit_Click(5);
      case Act::SUD11: return engine.lblSUDUnit_Click(11);
    }
  }
};

TEST_P(EngineFailure, IsReportedOnceByItsProcedureAndTheSessionGoesOn) {
  const FailureCase& c = GetParam();
  constexpr std::int32_t kTop = INT32_MAX;
  if (c.at != stpNone) {
    Load();
    engine.radSUD_Click(7);
    for (int i = 0; i < 10 && S().genmCurrentStep != c.at; ++i) Next();
    if (c.atTop != nullptr) engine.MutableState().*c.atTop = kTop;
  }
  view.failOn = c.failOn;
  view.last = "nothing";
  Run(c.act);
  view.failOn.clear();
  EXPECT_EQ(reports, std::vector<std::string>{std::string("frmMain.") + c.reported});
  EXPECT_FALSE(engine.mblnBusy());
  if (c.atTop != nullptr) {
    EXPECT_EQ(S().*c.atTop, kTop) << "no silent wrap";
  }
  EXPECT_EQ(engine.mintSUD(), c.at == stpNone ? 5 : 7) << "nothing after the failing statement runs";
  engine.cmdFinish_Click();
  Next(2);
  EXPECT_EQ(At(), (Where{stpStimulateThymus, 0, false}));
  EXPECT_EQ(reports.size() + boxes.requests.size(), 1u) << "reports";
}

INSTANTIATE_TEST_SUITE_P(
    Session, EngineFailure,
    ::testing::Values(
        FailureCase{"Seconds", stpLeftHand, "", &SessionState::glngSessionSeconds, Act::Second,
                    "tmrSteps_Timer after Timer(0)"},
        FailureCase{"Rounds", stpLeftHand, "", &SessionState::glngRoundCount, Act::Next,
                    "ProcessSteps after Timer(0), busy"},
        FailureCase{"Layout", stpLeftHand, "Layout", nullptr, Act::Next, "DisplayStep after Timer(0), busy"},
        FailureCase{"Texts", stpIntro, "Texts", nullptr, Act::Next, "DisplayStep after Timer(0), busy"},
        FailureCase{"Paint", stpAssignSUD, "Paint", nullptr, Act::Next, "PaintDotsGreenOrRed after Timer(0), busy"},
        FailureCase{"Blink", stpLeftHand, "Dot", nullptr, Act::Second, "Blink after Timer(0)"},
        FailureCase{"Pump", stpLeftHand, "Pump", nullptr, Act::Second, "UpdateTimeElapsed after Timer(0)"},
        FailureCase{"Timer", stpAssignSUD, "Enabled(Pause,1)", nullptr, Act::Next,
                    "EnableDisableTimer after Timer(1), busy"},
        FailureCase{"Next", stpIntro, "Enabled(Previous,1)", nullptr, Act::Next, "cmdNavig_Click after Timer(0), busy"},
        FailureCase{"Previous", stpStimulateThymus, "Enabled(Previous,0)", nullptr, Act::Previous,
                    "cmdNavig_Click after Timer(0), busy"},
        FailureCase{"Start", stpLeftHand, "SelectSUD", nullptr, Act::Start,
                    "InitializeVariablesAndControls after Enabled(Previous,0)"},
        FailureCase{"Pause", stpLeftHand, "Visible(Resume,1)", nullptr, Act::Pause,
                    "cmdPause_Click after Enabled(Resume,1)"},
        FailureCase{"Resume", stpLeftHand, "Visible(Pause,1)", nullptr, Act::Resume,
                    "cmdResume_Click after Enabled(Pause,1)"},
        FailureCase{"Captions", stpNone, "Caption", nullptr, Act::Load, "SetModesCaptions after TimeText"},
        FailureCase{"SUDLabel", stpAssignSUD, "SelectSUD", nullptr, Act::SUD5, "lblSUDUnit_Click after nothing"},
        FailureCase{"SUDOffScale", stpIntro, "", nullptr, Act::SUD11, "lblSUDUnit_Click after nothing"}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace serenitap
