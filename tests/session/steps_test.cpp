// The step catalogue, what each step shows, and the key table.
#include "content/instructions.h"
#include "session/steps.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

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
  const std::vector<std::string> names{
      "Intro",          "Select Issue",     "Assign SUD",      "Stimulate Thymus", "Left Hand",
      "Right Hand",     "Top Head",         "Top Head",        "Left Eyebrow",     "Left Eye Corner",
      "Left Under Eye", "Under Nose",       "Under Nose",      "Chin",             "Chin",
      "Left Collarbone", "Left Under Arm",  "Right Eyebrow",   "Right Eye Corner", "Right Under Eye",
      "Right Collarbone", "Right Under Arm", "Relax",          "Reasses SUD",      "Finish"};
  for (enmStep s = stpIntro; s <= stpFinish; ++s) {
    SCOPED_TRACE(s);
    const std::string name = names[static_cast<std::size_t>(s - 1)];
    EXPECT_EQ(modSteps::GetStepName(s), name);
    EXPECT_EQ(modSteps::IsThisTappingStep(s), Tapping(s) || s == stpReassessSUD);
    const std::int32_t length = Tapping(s) ? 2 : s == stpLeftHand || s == stpRightHand ? 10 : s == stpRelax ? 15 : 0;
    EXPECT_EQ(modSteps::GetStepLength(s), length);
    const std::string description = modSteps::GetStepDescription(s);
    if (Tapping(s) || s == stpIntro || s == stpFinish) { EXPECT_EQ(description, name); }
    if (s >= stpSelectIssue && s <= stpStimulateThymus) { EXPECT_EQ(description, ""); }
  }
  EXPECT_EQ(modSteps::GetStepDescription(stpLeftHand), "Karate chop - Left Hand");
  EXPECT_EQ(modSteps::GetStepDescription(stpRelax), "Relax - Description");
  EXPECT_TRUE(boxes.requests.empty());
}

TEST(Steps, TheTimerWalksTheIntroductionThenRoundsInTheFixedOrder) {
  std::vector<enmStep> path{stpNone};
  while (path.size() < 8) path.push_back(modSteps::GetNextStep(path.back()));
  EXPECT_EQ(path, (std::vector<enmStep>{0, 1, 4, 2, 3, 5, 6, 7}));
  const std::vector<enmStep> round{7, 9, 10, 11, 12, 14, 16, 17, 8, 18, 19, 20, 13, 15, 21, 22};
  enmStep step = stpTopHead1;
  for (enmStep expected : round) {
    EXPECT_EQ(step, expected);
    step = modSteps::GetNextStep(step);
  }
  EXPECT_EQ(step, stpTopHead1);
  EXPECT_EQ(modSteps::GetNextStep(stpRelax), stpTopHead1);
  EXPECT_EQ(modSteps::GetNextStep(stpReassessSUD), stpTopHead1);
  EXPECT_EQ(modSteps::GetNextStep(stpFinish), stpIntro);
}

// Next and Previous from every step, in both polarities, starting from round 9.
TEST(Steps, NextAndPreviousFromEveryStep) {
  MessageBoxRecorder boxes;
  for (bool positive : {false, true}) {
    for (enmStep s = stpNone; s <= stpFinish; ++s) {
      SCOPED_TRACE(std::to_string(s) + (positive ? " positive" : " negative"));
      // What a negative round's tapping point leads to, and a positive one's.
      const bool round = Tapping(s) || s == stpReassessSUD;
      enmStep next = std::vector<enmStep>{1, 4, 3, 5, 2, 7, 7}[static_cast<std::size_t>(std::min(s, 6))];
      enmStep prev = std::vector<enmStep>{1, 1, 4, 2, 1, 3, 3}[static_cast<std::size_t>(std::min(s, 6))];
      std::int32_t nextCount = 9, prevCount = 9;
      bool prevFlag = false;
      if (round) {
        next = s == stpReassessSUD ? stpTopHead1 : positive ? stpReassessSUD : stpRelax;
        nextCount = positive ? 9 : 2;
        prev = positive ? stpRelax : stpLeftHand;
        prevFlag = positive;
        prevCount = 0;
      }
      if (s == stpRelax) next = prev = stpTopHead1;
      if (s == stpFinish) next = stpIntro, prev = stpTopHead1;
      SessionState state;
      state.gblnPositiveRound = positive;
      state.glngRoundCount = 9;
      EXPECT_EQ(modSteps::GetNextStep_Navigation(s, state), next);
      EXPECT_EQ(state.glngRoundCount, nextCount);
      state.glngRoundCount = 9;
      bool flag = !prevFlag;
      EXPECT_EQ(modSteps::GetPrevStep(s, flag, state), prev);
      EXPECT_EQ(flag, prevFlag);
      EXPECT_EQ(state.glngRoundCount, prevCount);
      EXPECT_EQ(state.gblnPositiveRound, positive) << "polarity is only read";
    }
  }
  EXPECT_TRUE(boxes.requests.empty());
}

TEST(Steps, ValuesOutsideTheCatalogueFallBackWithOneMessageEach) {
  for (enmStep step : {-1, 26, INT32_MIN, INT32_MAX}) {
    SCOPED_TRACE(step);
    MessageBoxRecorder boxes;
    SessionState state;
    state.glngRoundCount = 7;
    bool positive = true;
    EXPECT_EQ(modSteps::GetStepLength(step), 2);
    EXPECT_FALSE(modSteps::IsThisTappingStep(step));
    EXPECT_EQ(modSteps::GetStepName(step), "");
    EXPECT_EQ(modSteps::GetStepDescription(step), "");
    EXPECT_EQ(modSteps::GetNextStep(step), stpIntro);
    EXPECT_EQ(modSteps::GetNextStep_Navigation(step, state), stpIntro);
    EXPECT_EQ(modSteps::GetPrevStep(step, positive, state), stpIntro);
    EXPECT_FALSE(positive);
    EXPECT_EQ(state.glngRoundCount, 7);
    EXPECT_EQ(boxes.Texts(), (std::vector<std::string>{"GetStepName - wrong parameter passed",
                                                       "GetStepDescription - wrong parameter passed",
                                                       "Next step not defined", "Next step not defined",
                                                       "Previous step not defined"}));
    EXPECT_EQ(boxes.requests[0].title, "Serenitap");
  }
}

TEST(Steps, IntroTextHasFiveParagraphs) {
  const std::string text = modSteps::GetIntroText();
  EXPECT_EQ(text.rfind("Please sit up straight in a safe, quiet place and relax.\r\n\r\nTake a deep breath.\r\n\r\n"
                       "Expand your body - put your chest forward, head up, your feet shoulder-width apart. Keep your "
                       "whole spine straight. ",
                       0),
            0u);
  EXPECT_NE(text.find("You are in charge.\r\n\r\nThere is no right or wrong way"), std::string::npos);
  EXPECT_NE(text.find("you are on the right path. With time"), std::string::npos);
  EXPECT_EQ(text.substr(text.rfind("\r\n") + 2),
            "Whenever you are ready, please click the Next button or press a spacebar or an Enter key to move to "
            "the next step.");
  std::size_t breaks = 0;
  for (auto pos = text.find("\r\n"); pos != std::string::npos; pos = text.find("\r\n", pos + 2)) ++breaks;
  EXPECT_EQ(breaks, 8u);
}

// --- What a step shows -----------------------------------------------------------

TEST(StepDisplay, EachStepShowsItsPanelsAndItsDot) {
  // The dot of each step from 0 to 25: -1 none; steps sharing a point share a dot.
  const std::vector<std::int32_t> dots{-1, -1, -1, -1, -1, 2,  3,  4,  4,  5,  6,  7,  8,
                                       8,  9,  9,  10, 11, 16, 12, 13, 14, 15, -1, -1, -1};
  for (enmStep s = -1; s <= 26; ++s) {
    SCOPED_TRACE(s);
    const bool valid = s >= 0 && s <= 25;
    const std::int32_t dot = valid ? dots[static_cast<std::size_t>(s)] : 0;
    EXPECT_EQ(GetDotIndex(s), dot);
    const StepDisplay d = GetStepDisplay(s, 3, true);
    EXPECT_EQ(d.dot, dot);
    EXPECT_EQ(d.showIssueChoice, s == stpSelectIssue);
    EXPECT_EQ(d.showSUDChoice, s == stpAssignSUD || s == stpReassessSUD);
    EXPECT_EQ(d.showThymus, s == stpStimulateThymus);
    EXPECT_EQ(d.showPanels, s != stpIntro && s != stpFinish);
    EXPECT_EQ(d.showHands, s == stpLeftHand || s == stpRightHand);
    EXPECT_EQ(d.showIntroLabel, s == stpIntro || s == stpFinish);
    EXPECT_EQ(d.showBodyPicture, !(s == 2 || s == 3 || s == 5 || s == 6 || s == 24 || s == 25));
    const bool untimed = (s >= 1 && s <= 4) || s == 24 || s == 25;
    EXPECT_EQ(IsTimedStep(s), !untimed);
    EXPECT_EQ(IsBlinkingStep(s), !untimed && s != stpRelax);
  }
}

TEST(StepDisplay, TheKarateChopPaintsGreenAndTheFirstTwoRoundsStartInTheirColour) {
  for (bool positive : {false, true}) {
    for (std::int32_t count : {0, 1, 2, 3}) {
      const StepDisplay karate = GetStepDisplay(stpLeftHand, count, positive);
      EXPECT_TRUE(karate.repaintDots && karate.dotsGreen);
      const StepDisplay top = GetStepDisplay(stpTopHead1, count, positive);
      EXPECT_EQ(top.repaintDots, count < 2);
      if (count < 2) { EXPECT_EQ(top.dotsGreen, positive); }
      for (enmStep s : {stpRightHand, stpTopHead2, stpRelax, stpFinish})
        EXPECT_FALSE(GetStepDisplay(s, count, positive).repaintDots) << s;
    }
  }
}

TEST(StepDisplay, ElapsedTimeIsMinutesAndSecondsThenHoursFromOneDay) {
  const std::pair<std::int32_t, const char*> cases[] = {
      {0, "00:00"},     {59, "00:59"},      {61, "01:01"},         {3599, "59:59"},        {3600, "00:00"},
      {3700, "01:40"},  {86399, "59:59"},   {86400, "00:00:00"},   {90061, "01:01:01"},    {172799, "23:59:59"}};
  for (const auto& [seconds, text] : cases) EXPECT_EQ(TimeElapsedText(seconds), text) << seconds;
}

// --- The key table -----------------------------------------------------------------

TEST(KeyTable, EscapePausesEveryKeyResumesThenNextAndPreviousKeys) {
  const std::int32_t nextKeys[] = {vk::kN, vk::kSpace, vk::kRight, vk::kDown, vk::kEnter, vk::kPageDown};
  const std::int32_t previousKeys[] = {vk::kP, vk::kBackspace, vk::kLeft, vk::kUp, vk::kPageUp};
  const std::int32_t otherKeys[] = {65, 48, 112, 9, 16, 17, 18, 36, 35, 46};
  EXPECT_EQ(DecideKey(vk::kEscape, true, false, stpTopHead1), KeyCommand::Pause);
  EXPECT_EQ(DecideKey(vk::kEscape, false, false, stpReassessSUD), KeyCommand::None);
  EXPECT_EQ(DecideKey(vk::kEscape, false, true, stpLeftHand), KeyCommand::Resume);
  for (enmStep step = stpIntro; step <= stpFinish; ++step) {
    const bool running = step >= stpLeftHand && step <= stpRelax;
    for (std::int32_t key : nextKeys) {
      EXPECT_EQ(DecideKey(key, running, false, step), KeyCommand::Next) << key;
      EXPECT_EQ(DecideKey(key, false, true, step), KeyCommand::Resume) << key;
    }
    for (std::int32_t key : previousKeys)
      EXPECT_EQ(DecideKey(key, running, false, step), step == stpIntro ? KeyCommand::Consume : KeyCommand::Previous);
    for (std::int32_t key : otherKeys) {
      EXPECT_EQ(DecideKey(key, running, false, step), KeyCommand::None) << key;
      EXPECT_EQ(DecideKey(key, false, true, step), KeyCommand::Resume) << key;
    }
  }
}

}  // namespace
}  // namespace serenitap
