#pragma once
// The session's key rules: what a session key (N, Space, Esc, the arrows...)
// does in the state the session is in, and how digits choose. Which key is
// which command is the main window's command table; the window sees every key
// before the focused control, and a consumed key never reaches it.
#include <cstdint>

#include "session/steps.h"

namespace serenitap {

// Virtual key codes of the digits.
namespace vk {
inline constexpr std::int32_t k0 = 48;  // the digits 0..9 are 48..57
inline constexpr std::int32_t k1 = 49;
inline constexpr std::int32_t k9 = 57;
}  // namespace vk

enum class KeyCommand {
  None,      // the key is left alone
  Pause,     // cmdPause_Click
  Resume,    // cmdResume_Click
  Next,      // cmdNavig_Click(1), then focus
  Previous,  // cmdNavig_Click(0), then focus
  Consume,   // consumed, nothing runs (Previous keys on the introduction)
};

// What a session key does now. `keyCommand` is what the window's command
// table says the key is for (Next, Previous, Pause, or None for a key it does
// not name); the window asks only about keys that count as session keys (no
// modifier alone, no Ctrl or Meta chord). The rules in order: the Pause key
// pauses when pause is available; any key resumes when resume is available;
// a Next or Previous key runs its command (a Previous key does nothing on
// step 1); anything else is left alone. Every command but None consumes the key.
KeyCommand DecideKey(KeyCommand keyCommand, bool pauseAvailable, bool resumeAvailable, enmStep currentStep);

// Digits choose on the steps that ask for a choice. On the two rating steps
// (3 and 24) a digit is that rating, and 1 followed by 0 within a second is
// 10. On the issue step the digits 1..9 choose the first nine visible issues
// and 0 the tenth. Other steps, and other keys, choose nothing.
class DigitChoice {
 public:
  static constexpr std::int64_t kTenWindowMs = 1000;

  // Whether the key chooses something on this step (no state is changed).
  static bool Chooses(std::int32_t keyCode, enmStep currentStep);

  // What the key chooses: the rating 0..10, the issue position 1..10, or -1.
  // `nowMs` is a monotonic clock reading in milliseconds.
  int Choose(std::int32_t keyCode, enmStep currentStep, std::int64_t nowMs);

 private:
  std::int64_t oneAtMs_ = 0;
  bool oneTyped_ = false;
  enmStep oneStep_ = stpNone;
};

}  // namespace serenitap
