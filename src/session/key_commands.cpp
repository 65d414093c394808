#include "session/key_commands.h"

namespace serenitap {

KeyCommand DecideKey(KeyCommand command, bool pauseAvailable, bool resumeAvailable, enmStep currentStep) {
  if (pauseAvailable && command == KeyCommand::Pause) return KeyCommand::Pause;
  if (resumeAvailable) return KeyCommand::Resume;
  if (command == KeyCommand::Next) return KeyCommand::Next;
  if (command == KeyCommand::Previous) return currentStep == stpIntro ? KeyCommand::Consume : KeyCommand::Previous;
  return KeyCommand::None;
}

bool DigitChoice::Chooses(std::int32_t keyCode, enmStep currentStep) {
  const bool digit = keyCode >= vk::k0 && keyCode <= vk::k9;
  return digit && (currentStep == stpSelectIssue || currentStep == stpAssignSUD || currentStep == stpReassessSUD);
}

int DigitChoice::Choose(std::int32_t keyCode, enmStep currentStep, std::int64_t nowMs) {
  const bool followsOne =
      oneTyped_ && oneStep_ == currentStep && nowMs - oneAtMs_ >= 0 && nowMs - oneAtMs_ <= kTenWindowMs;
  oneTyped_ = false;
  if (!Chooses(keyCode, currentStep)) return -1;
  const int digit = keyCode - vk::k0;
  if (currentStep == stpSelectIssue) return digit == 0 ? 10 : digit;
  if (digit == 0 && followsOne) return 10;
  if (digit == 1) {
    oneTyped_ = true;
    oneAtMs_ = nowMs;
    oneStep_ = currentStep;
  }
  return digit;
}

}  // namespace serenitap
