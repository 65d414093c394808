#pragma once
// The main window's key table: which command a key press runs. The window
// sees every key before the focused control; a consumed key never reaches it.
// Modifiers are not examined, so Ctrl+N and Shift+N count as N.
#include <cstdint>
#include <string_view>

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

// One row of the key table: a key the window acts on, the command it runs, and
// the key's name where the program tells people about it: `listName` in the
// shortcuts window's row for the command, `helpName` in the README's table.
struct KeyBinding {
  std::int32_t key;
  KeyCommand command;
  std::string_view listName;
  std::string_view helpName;
};

// The key table. DecideKey reads it; a test checks that every row is named in
// the shortcuts window and in the README.
// clang-format off
inline constexpr KeyBinding kKeyTable[] = {
    {vk::kEscape,    KeyCommand::Pause,    "Esc",        "Esc"},
    {vk::kN,         KeyCommand::Next,     "'N'",        "N"},
    {vk::kSpace,     KeyCommand::Next,     "space",      "Space"},
    {vk::kRight,     KeyCommand::Next,     "right",      "→"},
    {vk::kDown,      KeyCommand::Next,     "down arrow", "↓"},
    {vk::kEnter,     KeyCommand::Next,     "enter",      "Enter"},
    {vk::kPageDown,  KeyCommand::Next,     "page down",  "Page Down"},
    {vk::kP,         KeyCommand::Previous, "'P'",        "P"},
    {vk::kBackspace, KeyCommand::Previous, "backspace",  "Backspace"},
    {vk::kLeft,      KeyCommand::Previous, "left",       "←"},
    {vk::kUp,        KeyCommand::Previous, "up arrow",   "↑"},
    {vk::kPageUp,    KeyCommand::Previous, "page up",    "Page Up"},
};
// clang-format on

// The rules in order: the Pause key pauses when pause is available; any key
// resumes when resume is available; a Next or Previous key of the table runs
// its command (a Previous key does nothing on step 1); anything else is left
// alone. Every command but None consumes the key.
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
