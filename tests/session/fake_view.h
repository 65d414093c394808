#pragma once
// A stand-in for the main window: it keeps the state of every control the
// session engine drives and the name of the latest call. A hook runs after
// every call, so a test can re-enter the engine; a call whose name starts with
// failOn throws instead of changing anything.
#include <algorithm>
#include <array>
#include <cstdint>
#include <functional>
#include <stdexcept>
#include <string>

#include "session/session_view.h"

namespace serenitap::testing {

class FakeSessionView : public ISessionView {
 public:
  bool timerEnabled = false;
  bool previousEnabled = true, previousVisible = true;
  bool pauseEnabled = true, pauseVisible = true;
  bool resumeEnabled = false, resumeVisible = true;
  std::array<bool, 17> dotVisible{};  // index 1..16
  Rgb dotColour = kDotRed;
  StepDisplay layout;
  StepTexts texts;
  std::string timeText = "(design)";
  std::int16_t selectedSUD = -1;
  std::int32_t selectedIssue = -1;
  std::array<std::string, 13> issueCaptions{};

  std::string last;  // e.g. "Timer(0)", "Enabled(Pause,1)", "Layout(7)", "Pump"
  std::function<void(const std::string&)> hook;
  std::string failOn;

  int VisibleDots() const { return static_cast<int>(std::count(dotVisible.begin(), dotVisible.end(), true)); }

  void SetStepTimerEnabled(bool on) override { Call("Timer(" + B(on) + ")", [&] { timerEnabled = on; }); }
  void SetButtonEnabled(SessionButton b, bool on) override {
    Call("Enabled(" + N(b) + "," + B(on) + ")", [&] { Pick(b, previousEnabled, pauseEnabled, resumeEnabled) = on; });
  }
  void SetButtonVisible(SessionButton b, bool on) override {
    Call("Visible(" + N(b) + "," + B(on) + ")", [&] { Pick(b, previousVisible, pauseVisible, resumeVisible) = on; });
  }
  void HideAllDots() override { Call("HideAllDots", [&] { dotVisible.fill(false); }); }
  void SetDotVisible(std::int32_t i, bool on) override {
    Call("Dot(" + std::to_string(i) + ")", [&] { dotVisible.at(static_cast<std::size_t>(i)) = on; });
  }
  void PaintDots(Rgb colour) override { Call("Paint", [&] { dotColour = colour; }); }
  void ShowStepLayout(const StepDisplay& d) override {
    Call("Layout(" + std::to_string(d.step) + ")", [&] { layout = d; });
  }
  void ShowStepTexts(const StepTexts& t) override { Call("Texts", [&] { texts = t; }); }
  void SetTimeText(const std::string& text) override { Call("TimeText", [&] { timeText = text; }); }
  void PumpEvents() override { Call("Pump", [] {}); }
  void SelectSUD(std::int16_t i) override { Call("SelectSUD", [&] { selectedSUD = i; }); }
  void SelectIssueOption(std::int32_t i) override { Call("SelectIssue", [&] { selectedIssue = i; }); }
  void SetIssueCaption(std::int32_t i, const std::string& caption) override {
    Call("Caption", [&] { issueCaptions.at(static_cast<std::size_t>(i)) = caption; });
  }

 private:
  static std::string B(bool b) { return b ? "1" : "0"; }
  static std::string N(SessionButton b) {
    return b == SessionButton::Previous ? "Previous" : b == SessionButton::Pause ? "Pause" : "Resume";
  }
  static bool& Pick(SessionButton b, bool& previous, bool& pause, bool& resume) {
    return b == SessionButton::Previous ? previous : b == SessionButton::Pause ? pause : resume;
  }
  template <class Apply>
  void Call(const std::string& name, Apply apply) {
    if (!failOn.empty() && name.rfind(failOn, 0) == 0) throw std::runtime_error("view failure: " + name);
    last = name;
    apply();
    if (hook) hook(name);
  }
};

}  // namespace serenitap::testing
