// The step catalogue, what each step shows, the key table and the digit choice.
#include "session/steps.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "session/engine.h"
#include "session/key_commands.h"
#include "session/session_state.h"
#include "session/step_display.h"
#include "support/recorders.h"

namespace serenitap {
namespace {

using testing::MessageBoxRecorder;

bool Tapping(enmStep s) { return s >= stpTopHead1 && s <= stpRightUnderArm; }

TEST(Steps, NamesLengthsAndKindsFollowTheSession) {
  MessageBoxRecorder boxes;
  for (enmStep s = stpIntro; s <= stpFinish; ++s) {
    const std::int32_t length = Tapping(s) ? 2 : s == stpLeftHand || s == stpRightHand ? 10 : s == stpRelax ? 15 : 0;
    EXPECT_EQ(modSteps::GetStepLength(s), length) << s;
    EXPECT_EQ(modSteps::IsThisTappingStep(s), Tapping(s) || s == stpReassessSUD) << s;
    if (Tapping(s)) { EXPECT_EQ(modSteps::GetStepDescription(s), modSteps::GetStepName(s)) << s; }
  }
  EXPECT_EQ(modSteps::GetStepName(stpTopHead2), "Top Head");
  EXPECT_EQ(modSteps::GetStepName(stpReassessSUD), "Reasses SUD");
  EXPECT_EQ(modSteps::GetStepDescription(stpAssignSUD), "");
  EXPECT_EQ(modSteps::GetStepDescription(stpLeftHand), "Karate chop - Left Hand");
  EXPECT_TRUE(boxes.requests.empty());
}

// The timer walks the introduction, then rounds visiting each point once.
TEST(Steps, TheTimerWalksTheIntroductionThenRoundsOfEveryPoint) {
  std::vector<enmStep> path{stpNone};
  while (path.size() < 8) path.push_back(modSteps::GetNextStep(path.back()));
  EXPECT_EQ(path, (std::vector<enmStep>{0, 1, 4, 2, 3, 5, 6, 7}));
  std::set<enmStep> round;
  enmStep step = stpTopHead1;
  while (round.insert(step).second) step = modSteps::GetNextStep(step);
  EXPECT_EQ(step, stpTopHead1);
  EXPECT_EQ(round.size(), 16u);
  EXPECT_TRUE(Tapping(*round.begin()) && Tapping(*round.rbegin()));
  for (enmStep s : {stpRightUnderArm, stpRelax, stpReassessSUD}) EXPECT_EQ(modSteps::GetNextStep(s), stpTopHead1);
  EXPECT_EQ(modSteps::GetNextStep(stpFinish), stpIntro);
}

TEST(Steps, NextAndPreviousInsideAndOutsideTheRounds) {
  MessageBoxRecorder boxes;
  SessionState state;
  bool positive = false;
  // Before the rounds Previous undoes Next.
  for (enmStep s : {stpIntro, stpStimulateThymus, stpSelectIssue, stpAssignSUD})
    EXPECT_EQ(modSteps::GetPrevStep(modSteps::GetNextStep_Navigation(s, state), positive, state), s) << s;
  EXPECT_EQ(modSteps::GetNextStep_Navigation(stpRightHand, state), stpTopHead1);
  EXPECT_EQ(modSteps::GetPrevStep(stpRightHand, positive, state), stpAssignSUD);
  EXPECT_EQ(modSteps::GetPrevStep(stpFinish, positive, state), stpTopHead1);
  EXPECT_EQ(modSteps::GetNextStep_Navigation(stpFinish, state), stpIntro);
  for (const bool roundPositive : {false, true}) {
    for (enmStep s = stpTopHead1; s <= stpReassessSUD; s += s == stpRightUnderArm ? 2 : 1) {
      state = SessionState{};
      state.gblnPositiveRound = roundPositive;
      state.glngRoundCount = 9;
      const enmStep next = s == stpReassessSUD ? stpTopHead1 : roundPositive ? stpReassessSUD : stpRelax;
      EXPECT_EQ(modSteps::GetNextStep_Navigation(s, state), next) << s;
      EXPECT_EQ(state.glngRoundCount, roundPositive ? 9 : 2) << "Next in a negative round makes the next positive";
      EXPECT_EQ(modSteps::GetPrevStep(s, positive, state), roundPositive ? stpRelax : stpLeftHand) << s;
      EXPECT_EQ(positive, roundPositive);
      EXPECT_EQ(state.glngRoundCount, 0);
    }
  }
  EXPECT_TRUE(boxes.requests.empty());
}

TEST(Steps, ValuesOutsideTheCatalogueFallBackWithOneMessageEach) {
  for (enmStep step : {-1, 26, INT32_MAX}) {
    MessageBoxRecorder boxes;
    SessionState state;
    bool positive = true;
    EXPECT_EQ(modSteps::GetStepLength(step), 2);
    EXPECT_EQ(modSteps::GetStepName(step), "");
    EXPECT_EQ(modSteps::GetStepDescription(step), "");
    EXPECT_EQ(modSteps::GetNextStep(step), stpIntro);
    EXPECT_EQ(modSteps::GetNextStep_Navigation(step, state), stpIntro);
    EXPECT_EQ(modSteps::GetPrevStep(step, positive, state), stpIntro);
    EXPECT_FALSE(positive);
    EXPECT_EQ(boxes.Texts(), (std::vector<std::string>{"GetStepName - wrong parameter passed",
                                                       "GetStepDescription - wrong parameter passed",
                                                       "Next step not defined", "Next step not defined",
                                                       "Previous step not defined"}));
  }
}

// --- What a step shows -----------------------------------------------------------

TEST(StepDisplay, EachStepShowsItsPanelsAndItsDot) {
  for (enmStep s = 0; s <= stpFinish; ++s) {
    SCOPED_TRACE(s);
    const StepDisplay d = GetStepDisplay(s, 3, true);
    EXPECT_EQ(d.dot == -1, s < stpLeftHand || s > stpRightUnderArm);
    EXPECT_EQ(d.showIssueChoice, s == stpSelectIssue);
    EXPECT_EQ(d.showSUDChoice, s == stpAssignSUD || s == stpReassessSUD);
    EXPECT_EQ(d.showThymus, s == stpStimulateThymus);
    EXPECT_EQ(d.showPanels, !d.showIntroLabel);
    EXPECT_EQ(d.showIntroLabel, s == stpIntro || s == stpFinish);
    EXPECT_EQ(d.showHands, s == stpLeftHand || s == stpRightHand);
    EXPECT_EQ(d.showBodyPicture, !(s == 2 || s == 3 || s == 5 || s == 6 || s == 24 || s == 25));
    EXPECT_EQ(IsTimedStep(s), s == 0 || (s >= stpLeftHand && s <= stpRelax));
    EXPECT_EQ(IsBlinkingStep(s), IsTimedStep(s) && s != stpRelax);
  }
  // Points met twice in a round share a dot; the right eyebrow has the last one.
  const std::pair<enmStep, std::int32_t> dots[] = {{-1, 0}, {26, 0}, {stpLeftHand, 2}, {stpTopHead1, 4}, {stpTopHead2, 4},
      {stpUnderNose2, 8}, {stpChin2, 9}, {stpRightEyebrow, 16}, {stpRightEyeCorner, 12}, {stpRightUnderArm, 15}};
  for (const auto& [step, dot] : dots) EXPECT_EQ(GetDotIndex(step), dot) << step;
}

TEST(StepDisplay, TheKarateChopPaintsGreenAndTheFirstTwoRoundsStartInTheirColour) {
  for (const bool positive : {false, true}) {
    for (const std::int32_t count : {0, 1, 2}) {
      const StepDisplay karate = GetStepDisplay(stpLeftHand, count, positive);
      EXPECT_TRUE(karate.repaintDots && karate.dotsGreen);
      const StepDisplay top = GetStepDisplay(stpTopHead1, count, positive);
      EXPECT_EQ(top.repaintDots, count < 2);
      EXPECT_EQ(top.dotsGreen, count < 2 && positive);
      EXPECT_FALSE(GetStepDisplay(stpRightHand, count, positive).repaintDots);
    }
  }
}

TEST(StepDisplay, ElapsedTimeIsMinutesAndSecondsThenHoursFromOneDay) {
  const std::pair<std::int32_t, const char*> cases[] = {{61, "01:01"},       {3600, "00:00"},
                                                        {86399, "59:59"},    {86400, "00:00:00"},
                                                        {90061, "01:01:01"}, {172799, "23:59:59"}};
  for (const auto& [seconds, text] : cases) EXPECT_EQ(TimeElapsedText(seconds), text) << seconds;
}

// --- Keys -----------------------------------------------------------------------

TEST(Keys, EscapePausesAnyKeyResumesThenTheNextAndPreviousKeys) {
  for (enmStep step : {stpIntro, stpSelectIssue, stpTopHead1, stpFinish}) {
    for (std::int32_t key : {vk::kN, vk::kSpace, vk::kRight, vk::kDown, vk::kEnter, vk::kPageDown})
      EXPECT_EQ(DecideKey(key, true, false, step), KeyCommand::Next) << key;
    for (std::int32_t key : {vk::kP, vk::kBackspace, vk::kLeft, vk::kUp, vk::kPageUp})
      EXPECT_EQ(DecideKey(key, true, false, step), step == stpIntro ? KeyCommand::Consume : KeyCommand::Previous);
    for (std::int32_t key : {vk::kPageUp, vk::kN, vk::k1, 65, 112})
      EXPECT_EQ(DecideKey(key, false, true, step), KeyCommand::Resume) << key;
    for (std::int32_t key : {vk::k1, 65, 112, 9, 36}) EXPECT_EQ(DecideKey(key, true, false, step), KeyCommand::None);
  }
  EXPECT_EQ(DecideKey(vk::kEscape, true, false, stpTopHead1), KeyCommand::Pause);
  EXPECT_EQ(DecideKey(vk::kEscape, false, false, stpTopHead1), KeyCommand::None);
}

TEST(Keys, FocusFollowsTheMoveAndTheSUDStepFocusesTheScale) {
  EXPECT_EQ(FocusAfterNext(stpLeftHand), FocusTarget::NextButton);
  EXPECT_EQ(FocusAfterNext(stpReassessSUD), FocusTarget::SUDChoice);
  EXPECT_EQ(FocusAfterPrevious(stpLeftHand, true), FocusTarget::PreviousButton);
  EXPECT_EQ(FocusAfterPrevious(stpIntro, false), FocusTarget::NextButton);
  EXPECT_EQ(FocusAfterPrevious(stpReassessSUD, true), FocusTarget::SUDChoice);
}

// Digits rate on 3 and 24 (1 then 0 within a second is 10) and pick issues on 2.
TEST(Keys, DigitsChooseARatingOrAnIssue) {
  DigitChoice choice;
  EXPECT_EQ(choice.Choose(vk::k0 + 7, stpAssignSUD, 0), 7);
  EXPECT_EQ(choice.Choose(vk::k1, stpReassessSUD, 100), 1);
  EXPECT_EQ(choice.Choose(vk::k0, stpReassessSUD, 1100), 10);
  EXPECT_EQ(choice.Choose(vk::k1, stpAssignSUD, 2000), 1);
  EXPECT_EQ(choice.Choose(vk::k0, stpAssignSUD, 3001), 0) << "too late for 10";
  EXPECT_EQ(choice.Choose(vk::k1, stpAssignSUD, 4000), 1);
  EXPECT_EQ(choice.Choose(vk::k0, stpReassessSUD, 4100), 0) << "another step";
  EXPECT_EQ(choice.Choose(vk::k0, stpSelectIssue, 5000), 10);
  EXPECT_EQ(choice.Choose(vk::k9, stpSelectIssue, 5000), 9);
  EXPECT_EQ(choice.Choose(vk::k9, stpTopHead1, 5000), -1);
  EXPECT_EQ(choice.Choose(vk::kN, stpAssignSUD, 5000), -1);
  EXPECT_FALSE(DigitChoice::Chooses(vk::k1, stpFinish));
  EXPECT_TRUE(DigitChoice::Chooses(vk::k9, stpReassessSUD));
}

}  // namespace
}  // namespace serenitap
