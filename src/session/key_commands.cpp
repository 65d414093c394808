#include "session/key_commands.h"

namespace serenitap {
namespace {

bool IsNextKey(std::int32_t key) {
  return key == vk::kN || key == vk::kSpace || key == vk::kRight || key == vk::kDown || key == vk::kEnter ||
         key == vk::kPageDown;
}

bool IsPreviousKey(std::int32_t key) {
  return key == vk::kP || key == vk::kBackspace || key == vk::kLeft || key == vk::kUp || key == vk::kPageUp;
}

}  // namespace

KeyCommand DecideKey(std::int32_t keyCode, bool pauseAvailable, bool resumeAvailable, enmStep currentStep) {
  if (pauseAvailable && keyCode == vk::kEscape) return KeyCommand::Pause;
  if (resumeAvailable) return KeyCommand::Resume;
  if (IsNextKey(keyCode)) return KeyCommand::Next;
  if (IsPreviousKey(keyCode)) return currentStep == stpIntro ? KeyCommand::Consume : KeyCommand::Previous;
  return KeyCommand::None;
}

}  // namespace serenitap
