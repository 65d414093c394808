#pragma once
// A stand-in for the main window: it keeps the state of every control the
// session engine drives and the name of the latest call; a call whose name
// starts with failOn throws instead of changing anything. EngineTest: the session engine
// on such a window, with the error reports it makes and the messages it shows.
#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <map>
#include <ostream>
#include <stdexcept>
#include <string>
#include <type_traits>
#include <vector>

#include "session/engine.h"
#include "support/printers.h"
#include "support/recorders.h"

namespace serenitap::testing {

// The controls the session drives: the step timer, Previous, Pause and Resume.
struct SessionControls {
  struct Button {
    bool enabled = false, visible = true;
    friend bool operator==(const Button&, const Button&) = default;
  };
  bool timer = false;
  Button previous{true}, pause{true}, resume;
  friend bool operator==(const SessionControls&, const SessionControls&) = default;
  friend void PrintTo(const SessionControls& c, std::ostream* out) {
    *out << "{timer " << (c.timer ? "on" : "off");
    for (const auto& [name, b] : {std::pair{"Previous", c.previous}, {"Pause", c.pause}, {"Resume", c.resume}})
      *out << ", " << name << (b.enabled ? " enabled" : " disabled") << (b.visible ? " shown" : " hidden");
    *out << "}";
  }
};

class FakeSessionView : public ISessionView {
 public:
  SessionControls controls;
  std::array<bool, 17> dotVisible{};  // index 1..16
  Rgb dotColour = kDotRed;
  StepTexts texts;
  std::string timeText = "(design)";
  std::int16_t selectedSUD = -1;
  std::int32_t selectedIssue = -1;
  std::map<std::int32_t, std::string> captions;  // of the issue options

  std::string last;  // "Timer(0)", "Enabled(Pause,1)", "Visible(Resume,0)", "Layout", "Pump"...
  std::string failOn;

  void SetStepTimerEnabled(bool on) override { Set(on ? "Timer(1)" : "Timer(0)", controls.timer, on); }
  void SetButtonEnabled(SessionButton b, bool on) override { Set("Enabled" + Name(b, on), Of(b).enabled, on); }
  void SetButtonVisible(SessionButton b, bool on) override { Set("Visible" + Name(b, on), Of(b).visible, on); }
  void HideAllDots() override { Set("HideAllDots", dotVisible, {}); }
  void SetDotVisible(std::int32_t i, bool on) override { Set("Dot", dotVisible.at(static_cast<std::size_t>(i)), on); }
  void PaintDots(Rgb colour) override { Set("Paint", dotColour, colour); }
  void ShowStepLayout(const StepDisplay&) override { Call("Layout"); }
  void ShowStepTexts(const StepTexts& t) override { Set("Texts", texts, t); }
  void SetTimeText(const std::string& text) override { Set("TimeText", timeText, text); }
  void PumpEvents() override { Call("Pump"); }
  void SelectSUD(std::int16_t i) override { Set("SelectSUD", selectedSUD, i); }
  void SelectIssueOption(std::int32_t i) override { Set("SelectIssue", selectedIssue, i); }
  void SetIssueCaption(std::int32_t i, const std::string& c) override { Set("Caption", captions[i], c); }

 private:
  static std::string Name(SessionButton b, bool on) {
    const char* name = b == SessionButton::Previous ? "Previous" : b == SessionButton::Pause ? "Pause" : "Resume";
    return std::string("(") + name + (on ? ",1)" : ",0)");
  }
  SessionControls::Button& Of(SessionButton b) {
    return b == SessionButton::Previous ? controls.previous
           : b == SessionButton::Pause  ? controls.pause
                                        : controls.resume;
  }
  void Call(const std::string& name) {
    if (!failOn.empty() && name.rfind(failOn, 0) == 0) throw std::runtime_error("view failure: " + name);
    last = name;
  }
  template <class T>
  void Set(const std::string& name, T& field, const std::type_identity_t<T>& value) {
    Call(name);
    field = value;
  }
};

// Where the session stands: the step, the round count and its polarity.
struct Where {
  enmStep step{};
  std::int32_t round = 0;
  bool positive = false;
  friend bool operator==(const Where&, const Where&) = default;
  friend void PrintTo(const Where& w, std::ostream* out) {
    *out << "{step " << StepNumber(w.step) << ", round " << w.round << (w.positive ? " positive}" : " negative}");
  }
};

class EngineTest : public ::testing::Test {
 protected:
  EngineTest() {
    previousSink_ = SetReportErrorSink([this](const ErrorReport& r) {
      reports.push_back(r.module + "." + r.procedure + " after " + view.last + (engine.mblnBusy() ? ", busy" : ""));
    });
  }
  ~EngineTest() override { SetReportErrorSink(previousSink_); }
  // A failure no test asked for fails the test, whatever else it checks.
  void TearDown() override { EXPECT_EQ(reports, std::vector<std::string>{}) << "unexpected error reports"; }

  const SessionState& S() const { return engine.State(); }
  void Load(bool activate = true) {
    engine.Form_Load_Prepare();
    engine.Form_Load_Session();
    if (activate) engine.Form_Activate();
  }
  // Ticks of the step timer, which fires only while it is on.
  void Ticks(int n) {
    for (int i = 0; i < n && view.controls.timer; ++i) engine.tmrSteps_Timer();
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
  Where At() const { return {S().genmCurrentStep, S().glngRoundCount, S().gblnPositiveRound}; }
  const SessionControls& Controls() const { return view.controls; }

  MessageBoxRecorder boxes;
  FakeSessionView view;
  SessionEngine engine{view};
  // "module.procedure after <the window's latest call>[, busy]"
  std::vector<std::string> reports;

 private:
  ReportSink previousSink_;
};

}  // namespace serenitap::testing
