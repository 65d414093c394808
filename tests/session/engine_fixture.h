#pragma once
// The session engine on a stand-in window, loaded as the main window loads it,
// with the error reports it makes and the messages it shows.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "services/error_report.h"
#include "session/engine.h"
#include "support/recorders.h"
#include "tests/session/fake_view.h"

namespace serenitap::testing {

class EngineTest : public ::testing::Test {
 protected:
  EngineTest() {
    previousSink_ = SetReportErrorSink([this](const ErrorReport& r) {
      reports.push_back(r.module + "." + r.procedure + " after " + view.last + (engine.mblnBusy() ? ", busy" : ""));
    });
  }
  ~EngineTest() override { SetReportErrorSink(previousSink_); }

  const SessionState& S() const { return engine.State(); }
  void Load(bool activate = true) {
    engine.Form_Load_Prepare();
    engine.Form_Load_Session();
    if (activate) engine.Form_Activate();
  }
  // Ticks of the step timer, which fires only while it is on.
  void Ticks(int n) {
    for (int i = 0; i < n && view.timerEnabled; ++i) engine.tmrSteps_Timer();
  }
  // Ticks until the step changes, counting the tick that changes it: a step
  // entered by the timer lasts exactly this many ticks, one entered by a
  // command one tick more.
  int TicksUntilChange() {
    const enmStep start = S().genmCurrentStep;
    for (int n = 1; n <= 5000; ++n) {
      engine.tmrSteps_Timer();
      if (S().genmCurrentStep != start) return n;
    }
    return -1;
  }
  void Next(int times = 1) {
    for (int i = 0; i < times; ++i) engine.cmdNavig_Click(1);
  }
  void Previous() { engine.cmdNavig_Click(0); }
  // The step, the round count and its polarity: "25 r0-".
  std::string At() const {
    return std::to_string(S().genmCurrentStep) + " r" + std::to_string(S().glngRoundCount) +
           (S().gblnPositiveRound ? "+" : "-");
  }
  // The step timer, then Pause and Resume as enabled and visible: "1 P11 R00".
  std::string Controls() const {
    const auto b = [](bool on) { return on ? '1' : '0'; };
    return {b(view.timerEnabled), ' ', 'P', b(view.pauseEnabled), b(view.pauseVisible),
            ' ', 'R', b(view.resumeEnabled), b(view.resumeVisible)};
  }

  MessageBoxRecorder boxes;
  FakeSessionView view;
  SessionEngine engine{view};
  // "module.procedure after <the window's latest call>[, busy]"
  std::vector<std::string> reports;

 private:
  ReportSink previousSink_;
};

}  // namespace serenitap::testing
