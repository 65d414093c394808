#include "session/step_display.h"

#include <array>
#include <cstdio>

namespace serenitap {

void GetDotIndex(enmStep step, std::int32_t& dot) {
  // Indexed by step 0..25. The repeated points (7/8, 12/13, 14/15) share a dot.
  // clang-format off
  static constexpr std::array<std::int32_t, 26> kDots{
      -1, -1, -1, -1, -1,                      // 0..4
      2,  3,                                   // karate chop, left and right hand
      4,  4,  5,  6,  7,  8,  8,  9,  9,       // 7..15
      10, 11, 16, 12, 13, 14, 15,              // 16..22
      -1, -1, -1};                             // 23..25
  // clang-format on
  dot = (step >= stpNone && step <= stpFinish) ? kDots[static_cast<std::size_t>(StepNumber(step))] : 0;
}

std::int32_t GetDotIndex(enmStep step) {
  std::int32_t dot = 0;
  GetDotIndex(step, dot);
  return dot;
}

StepDisplay GetStepDisplay(enmStep step, std::int32_t roundCount, bool positiveRound) {
  StepDisplay d;
  d.step = step;
  const bool introOrFinish = step == stpIntro || step == stpFinish;
  d.dot = GetDotIndex(step);

  if (step == stpLeftHand) {
    // The affirmation shows green dots whatever the polarity.
    d.repaintDots = true;
    d.dotsGreen = true;
  } else if (step == stpTopHead1 && roundCount < 2) {
    // The first round after the affirmation turns them back to its own colour.
    d.repaintDots = true;
    d.dotsGreen = positiveRound;
  }

  d.showIssueChoice = step == stpSelectIssue;
  d.showSUDChoice = step == stpAssignSUD || step == stpReassessSUD;
  d.showThymus = step == stpStimulateThymus;
  d.showPanels = !introOrFinish;

  if (step == stpLeftHand || step == stpRightHand) {
    d.showHands = true;
    d.showBodyPicture = false;
  } else {
    d.showHands = false;
    d.showBodyPicture =
        !(step == stpSelectIssue || step == stpAssignSUD || step == stpReassessSUD || step == stpFinish);
  }
  d.showIntroLabel = introOrFinish;
  return d;
}

std::string TimeElapsedText(std::int32_t seconds) {
  constexpr std::int64_t kDay = 86400;
  const std::int64_t ofDay = ((static_cast<std::int64_t>(seconds) % kDay) + kDay) % kDay;
  char text[16];
  std::snprintf(text, sizeof text, "%02d:%02d:%02d", static_cast<int>(ofDay / 3600), static_cast<int>(ofDay / 60 % 60),
                static_cast<int>(ofDay % 60));
  std::string result(text);
  if (seconds < kDay) result = result.substr(result.size() - 5);
  return result;
}

bool IsTimedStep(enmStep step) {
  switch (step) {
    case stpIntro:
    case stpSelectIssue:
    case stpAssignSUD:
    case stpStimulateThymus:
    case stpReassessSUD:
    case stpFinish: return false;
    default: return true;
  }
}

bool IsBlinkingStep(enmStep step) { return IsTimedStep(step) && step != stpRelax; }

}  // namespace serenitap
