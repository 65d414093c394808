// The key table: every rule, in its order, for every key it names.
#include "session/key_commands.h"

#include <gtest/gtest.h>

namespace serenitap {
namespace {

constexpr std::int32_t kNextKeys[] = {vk::kN, vk::kSpace, vk::kRight, vk::kDown, vk::kEnter, vk::kPageDown};
constexpr std::int32_t kPreviousKeys[] = {vk::kP, vk::kBackspace, vk::kLeft, vk::kUp, vk::kPageUp};
// Keys no rule names: letters, digits, F1, Tab, Shift, Ctrl, Alt, Home, End, Delete.
constexpr std::int32_t kOtherKeys[] = {65, 70, 88, 48, 112, 9, 16, 17, 18, 36, 35, 46};

TEST(KeyTable, EscapePausesOnlyWhenPauseIsAvailable) {
  EXPECT_EQ(DecideKey(vk::kEscape, true, false, stpTopHead1), KeyCommand::Pause);
  EXPECT_EQ(DecideKey(vk::kEscape, false, false, stpIntro), KeyCommand::None);
  EXPECT_EQ(DecideKey(vk::kEscape, false, false, stpReassessSUD), KeyCommand::None);
}

TEST(KeyTable, EveryKeyResumesAPausedSessionEscapeAndModifiersIncluded) {
  for (std::int32_t key : kNextKeys) EXPECT_EQ(DecideKey(key, false, true, stpLeftHand), KeyCommand::Resume) << key;
  for (std::int32_t key : kPreviousKeys) EXPECT_EQ(DecideKey(key, false, true, stpLeftHand), KeyCommand::Resume) << key;
  for (std::int32_t key : kOtherKeys) EXPECT_EQ(DecideKey(key, false, true, stpLeftHand), KeyCommand::Resume) << key;
  EXPECT_EQ(DecideKey(vk::kEscape, false, true, stpLeftHand), KeyCommand::Resume);
}

TEST(KeyTable, NextKeysAdvanceOnEveryStepWhileRunning) {
  for (enmStep step = stpIntro; step <= stpFinish; ++step) {
    const bool running = step >= stpLeftHand && step <= stpRelax;
    for (std::int32_t key : kNextKeys) EXPECT_EQ(DecideKey(key, running, false, step), KeyCommand::Next) << key;
  }
}

TEST(KeyTable, PreviousKeysGoBackExceptOnTheIntroductionWhereTheyAreConsumed) {
  for (std::int32_t key : kPreviousKeys) {
    EXPECT_EQ(DecideKey(key, false, false, stpIntro), KeyCommand::Consume) << key;
    for (enmStep step = stpSelectIssue; step <= stpFinish; ++step) {
      EXPECT_EQ(DecideKey(key, step >= 5 && step <= 23, false, step), KeyCommand::Previous) << key << " on " << step;
    }
  }
}

TEST(KeyTable, OtherKeysAreLeftAlone) {
  for (std::int32_t key : kOtherKeys) {
    EXPECT_EQ(DecideKey(key, true, false, stpTopHead1), KeyCommand::None) << key;
    EXPECT_EQ(DecideKey(key, false, false, stpIntro), KeyCommand::None) << key;
  }
}

}  // namespace
}  // namespace serenitap
