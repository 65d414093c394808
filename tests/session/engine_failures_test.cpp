// Failures inside the session engine: each is reported once under the
// procedure that failed, with the step timer stopped first where the session
// needs it and the busy flag given back afterwards; the session goes on.
#include <gtest/gtest.h>

#include <functional>
#include <limits>
#include <string>
#include <vector>

#include "services/failure.h"
#include "session/engine.h"
#include "session/steps.h"
#include "support/recorders.h"
#include "tests/session/fake_view.h"

namespace serenitap {
namespace {

constexpr std::int32_t kTop = std::numeric_limits<std::int32_t>::max();

const RuntimeFailure& Injected() {
  static const RuntimeFailure failure(91, "Object variable or With block variable not set");
  return failure;
}

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
  testing::ReportRecorder reports;
  std::vector<EngineSnapshot> snapshots;
  const auto previous = SetReportErrorSink([&](const ErrorReport& r) {
    reports.reports.push_back(r);
    snapshots.push_back({h.view.timerEnabled, h.engine.mblnBusy(), h.view.log});
  });
  c.arrange(h);
  ASSERT_TRUE(reports.reports.empty()) << reports.reports.front().procedure;
  const std::size_t before = h.view.log.size();
  h.failOn = c.failOn;
  c.act(h);

  ASSERT_EQ(reports.reports.size(), 1u);
  const ErrorReport& r = reports.reports[0];
  EXPECT_EQ(r.module, "frmMain");
  EXPECT_EQ(r.procedure, c.procedure);
  EXPECT_EQ(r.number, c.number == 0 ? Injected().Number() : c.number);
  EXPECT_EQ(r.description, c.number == 0 ? Injected().Description() : c.description);
  if (c.number == 0) { EXPECT_EQ(r.extra, "Line: " + std::to_string(Injected().Line())); }
  if (c.number != 0) { EXPECT_EQ(r.extra.rfind("Line: ", 0), 0u); }
  const EngineSnapshot& at = snapshots[0];
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
  SetReportErrorSink(previous);
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

}  // namespace
}  // namespace serenitap
