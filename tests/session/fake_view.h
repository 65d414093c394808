#pragma once
// A stand-in for the main window: it keeps the state of every control the
// session engine drives and the name of the latest call. A hook runs after
// every call, so a test can re-enter the engine; a call whose name starts with
// failOn throws instead of changing anything.
#include <algorithm>
#include <array>
#include <cstdint>
#include <functional>
#include <map>
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
  std::map<std::int32_t, std::string> issueCaptions;

  std::string last;  // "Timer(0)", "Enabled(Pause,1)", "Visible(Resume,0)", "Layout", "Pump"...
  std::function<void(const std::string&)> hook;
  std::string failOn;

  int VisibleDots() const { return static_cast<int>(std::count(dotVisible.begin(), dotVisible.end(), true)); }

  void SetStepTimerEnabled(bool on) override { Call(on ? "Timer(1)" : "Timer(0)", [&] { timerEnabled = on; }); }
  void SetButtonEnabled(SessionButton b, bool on) override {
    Call("Enabled" + Name(b, on), [&] { Pick(b, previousEnabled, pauseEnabled, resumeEnabled) = on; });
  }
  void SetButtonVisible(SessionButton b, bool on) override {
    Call("Visible" + Name(b, on), [&] { Pick(b, previousVisible, pauseVisible, resumeVisible) = on; });
  }
  void HideAllDots() override { Call("HideAllDots", [&] { dotVisible.fill(false); }); }
  void SetDotVisible(std::int32_t i, bool on) override {
    Call("Dot", [&] { dotVisible.at(static_cast<std::size_t>(i)) = on; });
  }
  void PaintDots(Rgb colour) override { Call("Paint", [&] { dotColour = colour; }); }
  void ShowStepLayout(const StepDisplay& d) override { Call("Layout", [&] { layout = d; }); }
  void ShowStepTexts(const StepTexts& t) override { Call("Texts", [&] { texts = t; }); }
  void SetTimeText(const std::string& text) override { Call("TimeText", [&] { timeText = text; }); }
  void PumpEvents() override { Call("Pump", [] {}); }
  void SelectSUD(std::int16_t i) override { Call("SelectSUD", [&] { selectedSUD = i; }); }
  void SelectIssueOption(std::int32_t i) override { Call("SelectIssue", [&] { selectedIssue = i; }); }
  void SetIssueCaption(std::int32_t i, const std::string& text) override {
    Call("Caption", [&] { issueCaptions[i] = text; });
  }

 private:
  static std::string Name(SessionButton b, bool on) {
    const char* name = b == SessionButton::Previous ? "Previous" : b == SessionButton::Pause ? "Pause" : "Resume";
    return std::string("(") + name + (on ? ",1)" : ",0)");
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
