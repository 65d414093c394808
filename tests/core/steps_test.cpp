// The step catalogue: every step's row, the three successor/predecessor tables
// in both polarities with their round-counter effects, and the messages for
// invalid steps.
#include "session/steps.h"

#include <gtest/gtest.h>

#include <string>

#include "content/instructions.h"
#include "session/session_state.h"
#include "support/recorders.h"

namespace serenitap {
namespace {

using testing::MessageBoxRecorder;

struct CatalogueRow {
  enmStep step;
  const char* name;
  const char* description;
  std::int32_t length;
  bool tapping;
  enmStep timerNext;
};

void PrintTo(const CatalogueRow& r, std::ostream* os) { *os << "step " << r.step; }

class StepCatalogue : public ::testing::TestWithParam<CatalogueRow> {};

TEST_P(StepCatalogue, RowMatchesTheCatalogueWithoutMessages) {
  MessageBoxRecorder boxes;
  const CatalogueRow& r = GetParam();
  EXPECT_EQ(modSteps::GetStepName(r.step), r.name);
  EXPECT_EQ(modSteps::GetStepDescription(r.step), r.description);
  EXPECT_EQ(modSteps::GetStepLength(r.step), r.length);
  EXPECT_EQ(modSteps::IsThisTappingStep(r.step), r.tapping);
  EXPECT_EQ(modSteps::GetNextStep(r.step), r.timerNext);
  EXPECT_TRUE(boxes.requests.empty());
}

INSTANTIATE_TEST_SUITE_P(
    AllSteps, StepCatalogue,
    ::testing::Values(CatalogueRow{1, "Intro", "Intro", 0, false, 4},
                      CatalogueRow{2, "Select Issue", "", 0, false, 3},
                      CatalogueRow{3, "Assign SUD", "", 0, false, 5},
                      CatalogueRow{4, "Stimulate Thymus", "", 0, false, 2},
                      CatalogueRow{5, "Left Hand", "Karate chop - Left Hand", 10, false, 6},
                      CatalogueRow{6, "Right Hand", "Karate chop - Right Hand", 10, false, 7},
                      CatalogueRow{7, "Top Head", "Top Head", 2, true, 9},
                      CatalogueRow{8, "Top Head", "Top Head", 2, true, 18},
                      CatalogueRow{9, "Left Eyebrow", "Left Eyebrow", 2, true, 10},
                      CatalogueRow{10, "Left Eye Corner", "Left Eye Corner", 2, true, 11},
                      CatalogueRow{11, "Left Under Eye", "Left Under Eye", 2, true, 12},
                      CatalogueRow{12, "Under Nose", "Under Nose", 2, true, 14},
                      CatalogueRow{13, "Under Nose", "Under Nose", 2, true, 15},
                      CatalogueRow{14, "Chin", "Chin", 2, true, 16},
                      CatalogueRow{15, "Chin", "Chin", 2, true, 21},
                      CatalogueRow{16, "Left Collarbone", "Left Collarbone", 2, true, 17},
                      CatalogueRow{17, "Left Under Arm", "Left Under Arm", 2, true, 8},
                      CatalogueRow{18, "Right Eyebrow", "Right Eyebrow", 2, true, 19},
                      CatalogueRow{19, "Right Eye Corner", "Right Eye Corner", 2, true, 20},
                      CatalogueRow{20, "Right Under Eye", "Right Under Eye", 2, true, 13},
                      CatalogueRow{21, "Right Collarbone", "Right Collarbone", 2, true, 22},
                      CatalogueRow{22, "Right Under Arm", "Right Under Arm", 2, true, 7},
                      CatalogueRow{23, "Relax", "Relax - Description", 15, false, 7},
                      CatalogueRow{24, "Reasses SUD", "", 0, true, 7},
                      CatalogueRow{25, "Finish", "Finish", 0, false, 1}));

TEST(StepCatalogue, TheTimerWalksOneRoundInTheFixedOrderAndStartsAgain) {
  const std::vector<enmStep> round{7, 9, 10, 11, 12, 14, 16, 17, 8, 18, 19, 20, 13, 15, 21, 22};
  enmStep step = stpTopHead1;
  for (std::size_t i = 0; i < round.size(); ++i) {
    EXPECT_EQ(step, round[i]) << "position " << i;
    step = modSteps::GetNextStep(step);
  }
  EXPECT_EQ(step, stpTopHead1);
  // The whole timer path from before the introduction.
  std::vector<enmStep> path{stpNone};
  while (path.size() < 8) path.push_back(modSteps::GetNextStep(path.back()));
  EXPECT_EQ(path, (std::vector<enmStep>{0, 1, 4, 2, 3, 5, 6, 7}));
}

// Values outside the catalogue: which function shows which message, and the fallback.

class InvalidSteps : public ::testing::TestWithParam<enmStep> {};

TEST_P(InvalidSteps, FallBackWithOneMessageEach) {
  const enmStep step = GetParam();
  SessionState state;
  state.glngRoundCount = 7;
  MessageBoxRecorder boxes;

  EXPECT_EQ(modSteps::GetStepLength(step), 2);
  EXPECT_FALSE(modSteps::IsThisTappingStep(step));
  ASSERT_TRUE(boxes.requests.empty());

  const bool outsideZeroToTwentyFive = step < 0 || step > 25;
  EXPECT_EQ(modSteps::GetStepName(step), "");
  EXPECT_EQ(modSteps::GetStepDescription(step), "");
  enmStep next = modSteps::GetNextStep(step);
  enmStep nav = modSteps::GetNextStep_Navigation(step, state);
  bool positive = true;
  enmStep prev = modSteps::GetPrevStep(step, positive, state);
  EXPECT_FALSE(positive);
  EXPECT_EQ(state.glngRoundCount, 7) << "an invalid step leaves the round counter alone";

  std::vector<std::string> expected{"GetStepName - wrong parameter passed",
                                    "GetStepDescription - wrong parameter passed"};
  if (outsideZeroToTwentyFive) {
    expected.insert(expected.end(), {"Next step not defined", "Next step not defined", "Previous step not defined"});
    EXPECT_EQ(next, 1);
    EXPECT_EQ(nav, 1);
    EXPECT_EQ(prev, 1);
  } else {  // step 0: the position before the introduction
    EXPECT_EQ(next, 1);
    EXPECT_EQ(nav, 1);
    EXPECT_EQ(prev, 1);
  }
  EXPECT_EQ(boxes.Texts(), expected);
  for (const auto& r : boxes.requests) {
    EXPECT_EQ(r.title, "Serenitap");
    EXPECT_EQ(r.buttons, MsgButtons::Ok);
  }
}

INSTANTIATE_TEST_SUITE_P(Values, InvalidSteps, ::testing::Values(0, -1, 26, 1000, INT32_MIN, INT32_MAX));

// Next and Previous, for every step in both polarities.
struct MoveCase {
  enmStep step;
  bool positive;
  enmStep next;           // GetNextStep_Navigation
  std::int32_t navCount;  // round counter after it (starting from 9)
  enmStep prev;           // GetPrevStep
  bool prevFlag;          // pblnPositiveRound after it
  std::int32_t prevCount; // round counter after it (starting from 9)
};

void PrintTo(const MoveCase& c, std::ostream* os) {
  *os << "step " << c.step << (c.positive ? " positive" : " negative");
}

class Moves : public ::testing::TestWithParam<MoveCase> {};

TEST_P(Moves, SuccessorPredecessorAndRoundCounter) {
  const MoveCase& c = GetParam();
  MessageBoxRecorder boxes;
  SessionState state;
  state.gblnPositiveRound = c.positive;
  state.glngRoundCount = 9;
  EXPECT_EQ(modSteps::GetNextStep_Navigation(c.step, state), c.next);
  EXPECT_EQ(state.glngRoundCount, c.navCount);
  EXPECT_EQ(state.gblnPositiveRound, c.positive) << "polarity is only read";

  state.glngRoundCount = 9;
  bool flag = !c.prevFlag;
  EXPECT_EQ(modSteps::GetPrevStep(c.step, flag, state), c.prev);
  EXPECT_EQ(flag, c.prevFlag);
  EXPECT_EQ(state.glngRoundCount, c.prevCount);
  EXPECT_EQ(state.gblnPositiveRound, c.positive);
  EXPECT_TRUE(boxes.requests.empty());
}

std::vector<MoveCase> AllMoves() {
  std::vector<MoveCase> cases;
  for (bool positive : {false, true}) {
    auto add = [&](enmStep s, enmStep next, std::int32_t navCount, enmStep prev, bool flag, std::int32_t prevCount) {
      cases.push_back({s, positive, next, navCount, prev, flag, prevCount});
    };
    add(0, 1, 9, 1, false, 9);
    add(1, 4, 9, 1, false, 9);
    add(2, 3, 9, 4, false, 9);
    add(3, 5, 9, 2, false, 9);
    add(4, 2, 9, 1, false, 9);
    add(5, 7, 9, 3, false, 9);
    add(6, 7, 9, 3, false, 9);
    for (enmStep s = 7; s <= 22; ++s) {
      if (positive) add(s, 24, 9, 23, true, 0);
      else add(s, 23, 2, 5, false, 0);
    }
    add(23, 7, 9, 7, false, 9);
    if (positive) add(24, 7, 9, 23, true, 0);
    else add(24, 7, 2, 5, false, 0);
    add(25, 1, 9, 7, false, 9);
  }
  return cases;
}

INSTANTIATE_TEST_SUITE_P(EveryStepBothPolarities, Moves, ::testing::ValuesIn(AllMoves()));

TEST(IntroText, HasFiveBlocksWithParagraphsThreeAndFourJoinedByASpace) {
  const std::string text = modSteps::GetIntroText();
  EXPECT_EQ(text,
            "Please sit up straight in a safe, quiet place and relax.\r\n\r\n"
            "Take a deep breath.\r\n\r\n"
            "Expand your body - put your chest forward, head up, your feet shoulder-width apart. Keep your whole "
            "spine straight. Gently place your tongue against the roof of your mouth. Take as much space as you "
            "can. You have right to be here. You are in charge.\r\n\r\n"
            "There is no right or wrong way of working towards achiving emotional freedom, there is only your "
            "way. As long as you feel the emotions you want to clear, you are on the right path. With time you "
            "will clear negative emotions and you'll achive calmness and piece of mind.\r\n\r\n"
            "Whenever you are ready, please click the Next button or press a spacebar or an Enter key to move to "
            "the next step.");
  std::size_t separators = 0;
  for (auto pos = text.find("\r\n\r\n"); pos != std::string::npos; pos = text.find("\r\n\r\n", pos + 4)) ++separators;
  EXPECT_EQ(separators, 4u);
}

}  // namespace
}  // namespace serenitap
