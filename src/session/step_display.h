#pragma once
// What the main window shows for a step, decided without touching a widget:
// which panels and pictures are visible, which dot belongs to the step, whether
// the dots are repainted, and the text of the elapsed-time label. The window
// applies these decisions through ISessionView (session_view.h).
#include <cstdint>
#include <string>

#include "session/steps.h"

namespace serenitap {

// The program's colour type, 0..255 a channel; the window paints with it too.
struct Rgb {
  std::uint8_t red = 0;
  std::uint8_t green = 0;
  std::uint8_t blue = 0;
  bool operator==(const Rgb&) const = default;
};

inline constexpr Rgb kDotRed{255, 0, 0};    // negative rounds, and the design colour
inline constexpr Rgb kDotGreen{0, 255, 0};  // positive rounds and the affirmation

// shpStep(1..16).
inline constexpr std::int32_t kDotCount = 16;

// Everything DisplayStep decides from the step and the round state.
struct StepDisplay {
  enmStep step = stpNone;
  std::int32_t dot = 0;          // index into shpStep: 1..16, -1 for no dot, 0 for an invalid step
  bool repaintDots = false;      // paint all dots before showing the step...
  bool dotsGreen = false;        // ...green (true) or red (false)
  bool showIssueChoice = false;  // fraMode
  bool showSUDChoice = false;    // fraSUD_2
  bool showThymus = false;       // shpGreen
  bool showPanels = false;       // picLeftFrame, picRightFrame and lblSplit
  bool showHands = false;        // picHandLeft and picHandRight
  bool showBodyPicture = false;  // picShape
  bool showIntroLabel = false;   // lblIntro; the instructions go there instead of lblLeftFrame

  bool operator==(const StepDisplay&) const = default;
};

// The dot of a step: 2..16 for 5..22, -1 for 0..4 and 23..25, 0 for any other value.
void GetDotIndex(enmStep step, std::int32_t& dot);
std::int32_t GetDotIndex(enmStep step);

// What a step shows. roundCount and positiveRound are the round state after
// the step change (glngRoundCount, gblnPositiveRound).
StepDisplay GetStepDisplay(enmStep step, std::int32_t roundCount, bool positiveRound);

// The elapsed-time text: "mm:ss" below one day (minutes modulo 60),
// "hh:mm:ss" from one day on (hours modulo 24).
std::string TimeElapsedText(std::int32_t seconds);

// True for the steps on which the step timer runs: everything but 1..4, 24 and 25.
bool IsTimedStep(enmStep step);
// True for the steps whose dot blinks on every tick: everything but 1..4 and 23..25.
bool IsBlinkingStep(enmStep step);

}  // namespace serenitap
