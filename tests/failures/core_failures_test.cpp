// Failures inside the session engine, the catalogues, the stored window
// placement and the start-up: each is reported once, under its own module and
// procedure, with the failing line; the step timer is stopped first where the
// session needs it; closing steps still run; and the program goes on.
#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <limits>
#include <string>
#include <vector>

#include "app/mod_main.h"
#include "content/instructions.h"
#include "content/issues.h"
#include "content/statements.h"
#include "failing_allocation.h"
#include "injection.h"
#include "support/recorders.h"
#include "session/engine.h"
#include "session/steps.h"
#include "settings/options.h"
#include "settings/registry.h"
#include "settings/window_position.h"
#include "tests/session/fake_view.h"

namespace serenitap {
namespace {

using testing::ExpectReport;
using testing::Injected;
using testing::InjectedExtra;

constexpr std::int32_t kTop = std::numeric_limits<std::int32_t>::max();

// --- The session engine -----------------------------------------------------------

struct EngineSnapshot {
  bool timerOn = false;
  bool busy = false;
  std::vector<std::string> callsSoFar;
};

class EngineHarness {
 public:
  EngineHarness() {
    view.hook = [this](const std::string& entry) {
      if (!failOn.empty() && entry.rfind(failOn, 0) == 0) {
        failOn.clear();
        throw Injected();
      }
    };
  }
  void Load() {
    engine.Form_Load_Prepare();
    engine.Form_Load_Session();
    engine.Form_Activate();
  }
  void Next() { engine.cmdNavig_Click(1); }
  void NextTo(enmStep step) {
    for (int i = 0; i < 10 && engine.State().genmCurrentStep != step; ++i) Next();
    ASSERT_EQ(engine.State().genmCurrentStep, step);
  }
  // Ticks as the real timer delivers them: only while it is on.
  void Ticks(int n) {
    for (int i = 0; i < n && view.timerEnabled; ++i) engine.tmrSteps_Timer();
  }
  bool Logged(const std::string& entry, std::size_t from) const {
    for (std::size_t i = from; i < view.log.size(); ++i) {
      if (view.log[i] == entry) return true;
    }
    return false;
  }

  testing::FakeSessionView view;
  SessionEngine engine{view};
  std::string failOn;  // the first view call starting with this text fails
};

using Step = std::function<void(EngineHarness&)>;

struct EngineCase {
  const char* name;
  Step arrange;
  std::string failOn;  // empty: the arranged state makes the procedure fail by itself
  Step act;
  const char* procedure;
  bool stopsTimerFirst;
  bool holdsBusy;  // the report arrives while a navigation command holds the busy flag
  std::int32_t number = 0;  // 0: the injected failure
  const char* description = "";
  Step check = [](EngineHarness&) {};
};

void PrintTo(const EngineCase& c, std::ostream* os) { *os << c.name; }

Step LoadTo(enmStep step) {
  return [step](EngineHarness& h) {
    h.Load();
    h.NextTo(step);
  };
}
const Step kLoad = [](EngineHarness& h) { h.Load(); };
const Step kNothing = [](EngineHarness&) {};
const Step kNext = [](EngineHarness& h) { h.Next(); };
const Step kSecondOfTicks = [](EngineHarness& h) { h.Ticks(100); };

class EngineFailure : public ::testing::TestWithParam<EngineCase> {};

TEST_P(EngineFailure, IsReportedOnceByItsProcedureAndTheSessionGoesOn) {
  const EngineCase& c = GetParam();
  EngineHarness h;
  testing::MessageBoxRecorder boxes;
  testing::SnapshotReports<EngineSnapshot> reports(
      [&] { return EngineSnapshot{h.view.timerEnabled, h.engine.mblnBusy(), h.view.log}; });
  c.arrange(h);
  ASSERT_TRUE(reports.reports.empty()) << reports.reports.front().procedure;
  const std::size_t before = h.view.log.size();
  h.failOn = c.failOn;
  c.act(h);

  ASSERT_EQ(reports.reports.size(), 1u);
  if (c.number == 0) {
    ExpectReport(reports.reports[0], {"frmMain", c.procedure, Injected().Number(), Injected().Description(),
                                      InjectedExtra()});
  } else {
    ExpectReport(reports.reports[0], {"frmMain", c.procedure, c.number, c.description, testing::kAnyLine});
  }
  const EngineSnapshot& at = reports.snapshots[0];
  ASSERT_GE(at.callsSoFar.size(), before);
  const std::vector<std::string> during(at.callsSoFar.begin() + static_cast<std::ptrdiff_t>(before),
                                        at.callsSoFar.end());
  if (c.stopsTimerFirst) {
    ASSERT_FALSE(during.empty());
    EXPECT_EQ(during.back(), "Timer(0)") << "the timer is stopped just before the report";
    EXPECT_FALSE(at.timerOn);
  } else if (!c.failOn.empty()) {
    ASSERT_FALSE(during.empty());
    EXPECT_EQ(during.back().rfind(c.failOn, 0), 0u) << during.back() << ": the timer is left alone";
  } else if (!during.empty()) {
    EXPECT_NE(during.back(), "Timer(0)") << "the timer is left alone";
  }
  EXPECT_EQ(at.busy, c.holdsBusy);
  EXPECT_FALSE(h.engine.mblnBusy()) << "the busy flag is given back after the report";
  EXPECT_TRUE(boxes.requests.empty());
  c.check(h);

  // Still answering: Finish, then Next starts over at the introduction.
  reports.reports.clear();
  h.engine.cmdFinish_Click();
  EXPECT_EQ(h.engine.State().genmCurrentStep, stpFinish);
  h.Next();
  EXPECT_EQ(h.engine.State().genmCurrentStep, stpIntro);
  h.Next();
  EXPECT_EQ(h.engine.State().genmCurrentStep, stpStimulateThymus);
  EXPECT_TRUE(reports.reports.empty());
}

INSTANTIATE_TEST_SUITE_P(
    Session, EngineFailure,
    ::testing::Values(
        EngineCase{"SessionSecondsPastTheTop",
                   [](EngineHarness& h) {
                     LoadTo(stpLeftHand)(h);
                     h.engine.MutableState().glngSessionSeconds = kTop;
                   },
                   "", kSecondOfTicks, "tmrSteps_Timer", true, false, 6, "Overflow",
                   [](EngineHarness& h) {
                     EXPECT_EQ(h.engine.State().glngSessionSeconds, kTop) << "no silent wrap";
                     EXPECT_FALSE(h.view.timerEnabled) << "a failing tick does not come back every 10 ms";
                   }},
        EngineCase{"RoundsPastTheTop",
                   [](EngineHarness& h) {
                     LoadTo(stpLeftHand)(h);
                     h.engine.MutableState().glngRoundCount = kTop;
                   },
                   "", kNext, "ProcessSteps", true, true, 6, "Overflow",
                   [](EngineHarness& h) {
                     EXPECT_EQ(h.engine.State().genmCurrentStep, stpTopHead1);
                     EXPECT_EQ(h.view.layout.step, stpLeftHand) << "nothing after the failing statement runs";
                     EXPECT_FALSE(h.view.timerEnabled);
                   }},
        EngineCase{"ShowingTheStep", kLoad, "Layout(", kNext, "DisplayStep", true, true},
        EngineCase{"WritingTheStepTexts", kLoad, "Texts", kNext, "DisplayStep", true, true},
        EngineCase{"ColouringTheDots", LoadTo(stpAssignSUD), "Paint(", kNext, "PaintDotsGreenOrRed", true, true},
        EngineCase{"BlinkingTheDot", LoadTo(stpLeftHand), "Dot(", kSecondOfTicks, "Blink", true, false},
        EngineCase{"WritingTheElapsedTime", LoadTo(stpLeftHand), "Time(", kSecondOfTicks, "UpdateTimeElapsed", true,
                   false},
        EngineCase{"LettingEventsRun", LoadTo(stpLeftHand), "Pump", kSecondOfTicks, "UpdateTimeElapsed", true,
                   false},
        EngineCase{"SwitchingTheTimer", LoadTo(stpAssignSUD), "Enabled(Pause,1)", kNext, "EnableDisableTimer", false,
                   true, 0, "",
                   [](EngineHarness& h) {
                     EXPECT_EQ(h.engine.State().genmCurrentStep, stpLeftHand);
                     EXPECT_TRUE(h.view.timerEnabled) << "the session keeps running";
                   }},
        EngineCase{"NextOntoTheThymus", kLoad, "Enabled(Previous,1)", kNext, "cmdNavig_Click", true, true},
        EngineCase{"PreviousOntoTheIntroduction", LoadTo(stpStimulateThymus), "Enabled(Previous,0)",
                   [](EngineHarness& h) { h.engine.cmdNavig_Click(0); }, "cmdNavig_Click", true, true},
        EngineCase{"ResettingForStart",
                   [](EngineHarness& h) {
                     LoadTo(stpLeftHand)(h);
                     h.engine.radSUD_Click(7);
                   },
                   "SelectSUD",
                   [](EngineHarness& h) { h.engine.cmdStart_Click(); }, "InitializeVariablesAndControls", false,
                   false, 0, "",
                   [](EngineHarness& h) {
                     EXPECT_EQ(h.engine.State().genmCurrentStep, stpStimulateThymus) << "Start goes on after the report";
                     EXPECT_EQ(h.engine.mintSUD(), 7) << "nothing after the failing statement runs";
                   }},
        EngineCase{"Pausing", LoadTo(stpLeftHand), "Visible(Resume,1)",
                   [](EngineHarness& h) { h.engine.cmdPause_Click(); }, "cmdPause_Click", false, false},
        EngineCase{"Resuming",
                   [](EngineHarness& h) {
                     LoadTo(stpLeftHand)(h);
                     h.engine.cmdPause_Click();
                   },
                   "Visible(Pause,1)", [](EngineHarness& h) { h.engine.cmdResume_Click(); }, "cmdResume_Click", false,
                   false, 0, "", [](EngineHarness& h) { EXPECT_FALSE(h.view.timerEnabled); }},
        EngineCase{"CaptioningTheIssues", kNothing, "Caption(", kLoad, "SetModesCaptions", false, false, 0, "",
                   [](EngineHarness& h) { EXPECT_EQ(h.engine.State().genmCurrentStep, stpIntro); }},
        EngineCase{"SelectingTheDefaultIssue", kNothing, "SelectIssue(", kLoad, "UpdateDisplay_SelectedIssue", false,
                   false, 0, "",
                   [](EngineHarness& h) { EXPECT_EQ(h.engine.State().genmCurrentStep, stpIntro); }},
        EngineCase{"SUDLabelOffTheScale", kLoad, "", [](EngineHarness& h) { h.engine.lblSUDUnit_Click(11); },
                   "lblSUDUnit_Click", false, false, 9, "Subscript out of range",
                   [](EngineHarness& h) { EXPECT_EQ(h.engine.mintSUD(), 5); }},
        EngineCase{"SUDLabelSelecting", LoadTo(stpAssignSUD), "SelectSUD",
                   [](EngineHarness& h) { h.engine.lblSUDUnit_Click(7); }, "lblSUDUnit_Click", false, false, 0, "",
                   [](EngineHarness& h) { EXPECT_EQ(h.engine.mintSUD(), 5); }}),
    [](const auto& info) { return std::string(info.param.name); });

// --- The catalogues and texts: out of memory while composing a text ----------------

struct TextCase {
  const char* name;
  std::function<std::string()> call;
  const char* module;
  const char* procedure;
};

void PrintTo(const TextCase& c, std::ostream* os) { *os << c.name; }

class TextFailure : public ::testing::TestWithParam<TextCase> {};

TEST_P(TextFailure, IsReportedByTheInnermostFunctionWhichReturnsWhatItHad) {
  const TextCase& c = GetParam();
  const std::string whole = c.call();
  ASSERT_FALSE(whole.empty());
  testing::ReportRecorder reports;
  testing::MessageBoxRecorder boxes;
  testing::FailNextAllocation();
  const std::string result = c.call();
  ASSERT_FALSE(testing::AllocationFailurePending()) << "the text needed no memory of its own";
  EXPECT_TRUE(result.empty()) << result;
  ASSERT_EQ(reports.reports.size(), 1u);
  // The line of a failure the program did not raise itself is not known.
  ExpectReport(reports.reports[0], {c.module, c.procedure, 7, "Out of memory", ""});
  EXPECT_TRUE(boxes.requests.empty());
  // And the next call has the memory it needs.
  EXPECT_EQ(c.call(), whole);
  EXPECT_EQ(reports.reports.size(), 1u);
}

INSTANTIATE_TEST_SUITE_P(
    Catalogues, TextFailure,
    ::testing::Values(
        TextCase{"StepName", [] { return modSteps::GetStepName(stpRightEyeCorner); }, "modSteps", "GetStepName"},
        TextCase{"StepDescription", [] { return modSteps::GetStepDescription(stpLeftHand); }, "modSteps",
                 "GetStepDescription"},
        TextCase{"IntroText", [] { return modSteps::GetIntroText(); }, "modSteps", "GetIntroText"},
        TextCase{"SegmentTitle", [] { return GetSegmentTitle(stpTopHead1, false); }, "frmMain", "GetSegmentTitle"},
        TextCase{"StepInstructions", [] { return GetStepInstructions(stpSelectIssue, issGuilt, false); }, "frmMain",
                 "GetStepInstructions"},
        TextCase{"IntroductionInstructions", [] { return GetStepInstructions(stpIntro, issGuilt, false); },
                 "modSteps", "GetIntroText"},
        TextCase{"IssueName", [] { return modIssues::GetIssueName(issAnxietyFearPanicPhobia); }, "modIssues",
                 "GetIssueName"},
        TextCase{"Affirmation", [] { return modIssues::GetStringForActivationStep(issDepression); }, "modIssues",
                 "GetStringForActivationStep"},
        TextCase{"NegativeStatements", [] { return modIssues::GetStringForNegativeSequence(issGuilt); }, "modIssues",
                 "GetStringForNegativeSeq_Guilt"},
        TextCase{"PositiveStatements", [] { return modIssues::GetStringForPositiveSeq_PTSD(); }, "modIssues",
                 "GetStringForPositiveSeq_PTSD"},
        TextCase{"PlaceholderStatements", [] { return modIssues::GetStringForNegativeSequence(issPTSD); },
                 "modIssues", "GetStringForNegativeSequence"}),
    [](const auto& info) { return std::string(info.param.name); });

// --- The stored window placement ------------------------------------------------------

struct PlacementCase {
  const char* name;
  WindowPlacement placement;
};

void PrintTo(const PlacementCase& c, std::ostream* os) { *os << c.name; }

class PlacementFailure : public ::testing::TestWithParam<PlacementCase> {};

TEST_P(PlacementFailure, IsReportedAsOverflowAndWritesNothing) {
  testing::TempStore store;
  testing::ReportRecorder reports;
  FormPos_Save(GetParam().placement);
  ASSERT_EQ(reports.reports.size(), 1u);
  ExpectReport(reports.reports[0], {"frmMain", "FormPos_Save", 6, "Overflow", testing::kAnyLine});
  for (const char* value : {"Left", "Top", "Width", "Height", "State"}) {
    EXPECT_EQ(modRegistry::RegGetNumber(settings::HKEY_CURRENT_USER, modOptions::kWindowPositionKey, value, -7), -7)
        << value << " was written";
  }
  // The next save works.
  FormPos_Save({10, 20, 9000, 7000, kWindowStateNormal});
  std::int32_t l = 0, t = 0, w = 0, h = 0, s = -1;
  EXPECT_TRUE(FormPos_Read(l, t, w, h, s));
  EXPECT_EQ(w, 9000);
  EXPECT_EQ(reports.reports.size(), 1u);
}

INSTANTIATE_TEST_SUITE_P(
    Save, PlacementFailure,
    ::testing::Values(PlacementCase{"LeftFarOff", {-3e9, 0, 9000, 7000, kWindowStateNormal}},
                      PlacementCase{"TopFarOff", {0, 2147483647.5, 9000, 7000, kWindowStateNormal}},
                      PlacementCase{"TooWide", {0, 0, 1e10, 7000, kWindowStateNormal}},
                      PlacementCase{"TooHighWhileMaximized", {0, 0, 9000, 5e9, kWindowStateMaximized}}),
    [](const auto& info) { return std::string(info.param.name); });

// --- Start-up ---------------------------------------------------------------------------

struct StartupCase {
  const char* name;
  const char* failing;  // the step that fails
  std::vector<std::string> ran;
};

void PrintTo(const StartupCase& c, std::ostream* os) { *os << c.name; }

class StartupFailure : public ::testing::TestWithParam<StartupCase> {};

TEST_P(StartupFailure, IsReportedUnderMainAndTheLaterStepsDoNotRun) {
  const StartupCase& c = GetParam();
  testing::ReportRecorder reports;
  std::vector<std::string> ran;
  auto step = [&](const char* name) {
    ran.emplace_back(name);
    if (std::string(name) == c.failing) throw Injected();
  };
  modMain::StartupSteps steps;
  steps.anotherInstanceRunning = [&] {
    step("instances");
    return false;
  };
  steps.showWhatIsItAtStartup = [&] {
    step("option");
    return true;
  };
  steps.showWhatIsItModal = [&] { step("introduction"); };
  steps.showMainWindow = [&] { step("main window"); };

  EXPECT_FALSE(modMain::Main(steps));
  EXPECT_EQ(ran, c.ran);
  ASSERT_EQ(reports.reports.size(), 1u);
  ExpectReport(reports.reports[0], {"modMain", "Main", Injected().Number(), Injected().Description(),
                                    InjectedExtra()});
}

INSTANTIATE_TEST_SUITE_P(
    Main, StartupFailure,
    ::testing::Values(StartupCase{"InstanceCheck", "instances", {"instances"}},
                      StartupCase{"ReadingTheOption", "option", {"instances", "option"}},
                      StartupCase{"IntroductionWindow", "introduction", {"instances", "option", "introduction"}},
                      StartupCase{"MainWindow", "main window", {"instances", "option", "introduction", "main window"}}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace serenitap
