#pragma once
// What the session engine needs from the main window. The window implements
// this interface and applies each call to its controls; the engine decides
// everything else. Calls arrive in the order the session procedures make them,
// on the user-interface thread. An implementation may throw: the engine's
// procedures catch and report failures themselves.
//
// Control names are those of the main window (cmdNavig(0), cmdPause,
// cmdResume, shpStep(1..16), radSUD(0..10), radMode(1..12), ...). The bottom
// button set (cmdNavig_Bottom, cmdPause_Bottom, cmdResume_Bottom) is not part
// of this interface: the window keeps it hidden for good.
#include <cstdint>
#include <string>

#include "session/step_display.h"

namespace serenitap {

// The three session buttons whose state the engine sets.
enum class SessionButton {
  Previous,  // cmdNavig(0)
  Pause,     // cmdPause
  Resume,    // cmdResume
};

// The three step captions. instructions go to lblIntro when toIntroLabel is
// true (steps 1 and 25), otherwise to lblLeftFrame.
struct StepTexts {
  std::string currentPoint;  // lblCurrentPoint
  std::string segmentTitle;  // lblSegmentTitle
  std::string instructions;  // lblIntro or lblLeftFrame
  bool toIntroLabel = false;
  // The line of the instructions with the statement to say now, emphasised
  // on screen (see SayNowLine); -1: none.
  std::int32_t sayNowLine = -1;
  // Where the session is in its rounds, shown while tapping (see RoundLine).
  std::string roundLine;

  bool operator==(const StepTexts&) const = default;
};

class ISessionView {
 public:
  virtual ~ISessionView() = default;

  // tmrSteps on or off. The window's timer calls SessionEngine::tmrSteps_Timer
  // every 10 ms while it is on.
  virtual void SetStepTimerEnabled(bool enabled) = 0;

  // cmdNavig(0), cmdPause, cmdResume.
  virtual void SetButtonEnabled(SessionButton button, bool enabled) = 0;
  virtual void SetButtonVisible(SessionButton button, bool visible) = 0;

  // Dots shpStep(1..16).
  virtual void HideAllDots() = 0;
  virtual void SetDotVisible(std::int32_t index, bool visible) = 0;  // index 1..16
  // Back, fill and border colour of all sixteen dots; visibility unchanged.
  virtual void PaintDots(Rgb colour) = 0;

  // Visibility of fraMode, fraSUD_2, shpGreen, picLeftFrame, picRightFrame,
  // lblSplit, picHandLeft, picHandRight, picShape and lblIntro for a step.
  // The dot fields and repaint decision have already been carried out.
  virtual void ShowStepLayout(const StepDisplay& display) = 0;
  // Captions of lblCurrentPoint, lblSegmentTitle and lblIntro or lblLeftFrame.
  virtual void ShowStepTexts(const StepTexts& texts) = 0;

  // Caption of lblTime_New.
  virtual void SetTimeText(const std::string& text) = 0;
  // Lets pending window events run so that the time label repaints during a
  // busy tick. Events handled here may call back into the engine.
  virtual void PumpEvents() = 0;

  // Selects (Value = True) radSUD(index), index 0..10. Must not call
  // radSUD_Click back (doing so would be harmless).
  virtual void SelectSUD(std::int16_t index) = 0;
  // Selects radMode(index), index 1..12.
  virtual void SelectIssueOption(std::int32_t index) = 0;
  // Caption of radMode(index).
  virtual void SetIssueCaption(std::int32_t index, const std::string& caption) = 0;
};

}  // namespace serenitap
