#pragma once
// A recording stand-in for the main window: it keeps the state of every
// control the session engine drives and a log of the calls in order. A hook
// runs after every call, so a test can re-enter the engine; failOn makes a
// call throw before it changes anything.
#include <array>
#include <cstdint>
#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

#include "session/session_view.h"

namespace serenitap::testing {

class FakeSessionView : public ISessionView {
 public:
  // Control state.
  bool timerEnabled = false;
  bool previousEnabled = true;
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

  std::vector<std::string> log;
  // Runs after each call has been applied, with the call's log entry.
  std::function<void(const std::string&)> hook;
  // A call whose log entry starts with this text throws instead.
  std::string failOn;

  int VisibleDots() const {
    int n = 0;
    for (bool v : dotVisible) n += v ? 1 : 0;
    return n;
  }

  void SetStepTimerEnabled(bool enabled) override {
    Call("Timer(" + Bool(enabled) + ")", [&] { timerEnabled = enabled; });
  }
  void SetButtonEnabled(SessionButton button, bool enabled) override {
    Call("Enabled(" + Name(button) + "," + Bool(enabled) + ")", [&] {
      if (button == SessionButton::Pause) pauseEnabled = enabled;
      if (button == SessionButton::Resume) resumeEnabled = enabled;
      if (button == SessionButton::Previous) previousEnabled = enabled;
    });
  }
  void SetButtonVisible(SessionButton button, bool visible) override {
    Call("Visible(" + Name(button) + "," + Bool(visible) + ")", [&] {
      if (button == SessionButton::Pause) pauseVisible = visible;
      if (button == SessionButton::Resume) resumeVisible = visible;
    });
  }
  void HideAllDots() override {
    Call("HideAllDots", [&] { dotVisible.fill(false); });
  }
  void SetDotVisible(std::int32_t index, bool visible) override {
    Call("Dot(" + std::to_string(index) + "," + Bool(visible) + ")",
         [&] { dotVisible.at(static_cast<std::size_t>(index)) = visible; });
  }
  void PaintDots(Rgb colour) override {
    Call(colour == kDotGreen ? "Paint(green)" : colour == kDotRed ? "Paint(red)" : "Paint(?)",
         [&] { dotColour = colour; });
  }
  void ShowStepLayout(const StepDisplay& display) override {
    Call("Layout(" + std::to_string(display.step) + ")", [&] { layout = display; });
  }
  void ShowStepTexts(const StepTexts& t) override {
    Call("Texts", [&] { texts = t; });
  }
  void SetTimeText(const std::string& text) override {
    Call("Time(" + text + ")", [&] { timeText = text; });
  }
  void PumpEvents() override {
    Call("Pump", [] {});
  }
  void SelectSUD(std::int16_t index) override {
    Call("SelectSUD(" + std::to_string(index) + ")", [&] { selectedSUD = index; });
  }
  void SelectIssueOption(std::int32_t index) override {
    Call("SelectIssue(" + std::to_string(index) + ")", [&] { selectedIssue = index; });
  }
  void SetIssueCaption(std::int32_t index, const std::string& caption) override {
    Call("Caption(" + std::to_string(index) + ")",
         [&] { issueCaptions.at(static_cast<std::size_t>(index)) = caption; });
  }

 private:
  static std::string Bool(bool b) { return b ? "1" : "0"; }
  static std::string Name(SessionButton b) {
    switch (b) {
      case SessionButton::Previous: return "Previous";
      case SessionButton::Pause: return "Pause";
      case SessionButton::Resume: return "Resume";
    }
    return "?";
  }
  template <class Apply>
  void Call(const std::string& entry, Apply apply) {
    if (!failOn.empty() && entry.rfind(failOn, 0) == 0) throw std::runtime_error("view failure: " + entry);
    log.push_back(entry);
    apply();
    if (hook) hook(entry);
  }
};

}  // namespace serenitap::testing
