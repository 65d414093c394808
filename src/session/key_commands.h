#pragma once
// The main window's key table: which command a key press runs. The window
// sees every key before the focused control; a consumed key never reaches it.
// Modifiers are not examined, so Ctrl+N and Shift+N count as N.
#include <cstdint>

#include "session/steps.h"

namespace serenitap {

// Virtual key codes the table knows.
namespace vk {
inline constexpr std::int32_t kBackspace = 8;
inline constexpr std::int32_t kEnter = 13;
inline constexpr std::int32_t kEscape = 27;
inline constexpr std::int32_t kSpace = 32;
inline constexpr std::int32_t kPageUp = 33;
inline constexpr std::int32_t kPageDown = 34;
inline constexpr std::int32_t kLeft = 37;
inline constexpr std::int32_t kUp = 38;
inline constexpr std::int32_t kRight = 39;
inline constexpr std::int32_t kDown = 40;
inline constexpr std::int32_t k0 = 48;  // the digits 0..9 are 48..57
inline constexpr std::int32_t k1 = 49;
inline constexpr std::int32_t k9 = 57;
inline constexpr std::int32_t kN = 78;
inline constexpr std::int32_t kP = 80;
}  // namespace vk

enum class KeyCommand {
  None,      // the key is left alone
  Pause,     // cmdPause_Click
  Resume,    // cmdResume_Click
  Next,      // cmdNavig_Click(1), then focus
  Previous,  // cmdNavig_Click(0), then focus
  Consume,   // consumed, nothing runs (Previous keys on the introduction)
};

// The rules in order: Esc pauses when pause is available; any key resumes when
// resume is available; the Next keys; the Previous keys (nothing on step 1);
// anything else is left alone. Every command but None consumes the key.
KeyCommand DecideKey(std::int32_t keyCode, bool pauseAvailable, bool resumeAvailable, enmStep currentStep);

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
