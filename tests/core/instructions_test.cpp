// Segment titles and step instructions: what depends on the step, the issue
// and the polarity, and the texts whose separators are easy to get wrong.
#include "content/instructions.h"

#include <gtest/gtest.h>

#include "content/statements.h"
#include "support/recorders.h"

namespace serenitap {
namespace {

using testing::MessageBoxRecorder;

struct TitleCase {
  enmStep step;
  const char* negative;
  const char* positive;
};

void PrintTo(const TitleCase& c, std::ostream* os) { *os << "step " << c.step; }

class SegmentTitles : public ::testing::TestWithParam<TitleCase> {};

TEST_P(SegmentTitles, DependOnStepAndPolarityOnly) {
  MessageBoxRecorder boxes;
  EXPECT_EQ(GetSegmentTitle(GetParam().step, false), GetParam().negative);
  EXPECT_EQ(GetSegmentTitle(GetParam().step, true), GetParam().positive);
  EXPECT_TRUE(boxes.requests.empty());
}

std::vector<TitleCase> AllTitles() {
  std::vector<TitleCase> cases{{1, "", ""},
                               {2, "Select Issue", "Select Issue"},
                               {3, "Assign SUD", "Assign SUD"},
                               {4, "Stimulate Thymus", "Stimulate Thymus"},
                               {5, "Affirmation Statement", "Affirmation Statement"},
                               {6, "Affirmation Statement", "Affirmation Statement"},
                               {23, "Relax", "Relax"},
                               {24, "Reasses SUD", "Reasses SUD"},
                               {25, "", ""}};
  for (enmStep s = 7; s <= 22; ++s) cases.push_back({s, "Negative Sequence", "Positive Sequence"});
  return cases;
}

INSTANTIATE_TEST_SUITE_P(EveryStep, SegmentTitles, ::testing::ValuesIn(AllTitles()));

TEST(SegmentTitles, InvalidStepsShowOneMessageAndGiveAnEmptyTitle) {
  for (enmStep step : {0, -1, 26}) {
    MessageBoxRecorder boxes;
    EXPECT_EQ(GetSegmentTitle(step, false), "");
    EXPECT_EQ(boxes.Texts(), std::vector<std::string>{"GetSegmentTitle - wrong parameter passed"});
    EXPECT_EQ(boxes.requests[0].title, "Serenitap");
  }
}

TEST(StepInstructions, IntroductionIsTheIntroTextAndStepZeroIsEmpty) {
  EXPECT_EQ(GetStepInstructions(stpIntro, issGuilt, true), modSteps::GetIntroText());
  EXPECT_EQ(GetStepInstructions(stpNone, issGuilt, false), "");
  EXPECT_EQ(GetStepInstructions(26, issGuilt, false), "");
}

TEST(StepInstructions, KarateChopStepsShowTheAffirmationOfTheSelectedIssue) {
  for (enmIssue issue : {0, 10, 40, 50, 120, 77}) {
    EXPECT_EQ(GetStepInstructions(stpLeftHand, issue, false), modIssues::GetStringForActivationStep(issue));
    EXPECT_EQ(GetStepInstructions(stpRightHand, issue, true), modIssues::GetStringForActivationStep(issue));
  }
}

TEST(StepInstructions, TappingStepsShareOneTextPerPolarity) {
  const std::string negative =
      "Tune in into the emotion associated with the issue. Feel related experience and sensations. Gently tap "
      "the indicated points with the index finger and middle finger. Repeat (you can also use your own words): "
      "\r\n\r\n" +
      modIssues::GetStringForNegativeSequence(issRageAnger);
  const std::string positive =
      "Continue tapping. Relax and remember to breathe slowly. Repeat (or use your own words to reframe the "
      "issue): \r\n\r\n" +
      modIssues::GetStringForPositiveSequence(issRageAnger);
  for (enmStep s = stpTopHead1; s <= stpRightUnderArm; ++s) {
    EXPECT_EQ(GetStepInstructions(s, issRageAnger, false), negative) << s;
    EXPECT_EQ(GetStepInstructions(s, issRageAnger, true), positive) << s;
  }
}

TEST(StepInstructions, OnlyTappingStepsDependOnPolarityAndOnlyKarateAndTappingOnTheIssue) {
  for (enmStep s = 1; s <= 25; ++s) {
    const bool tapping = s >= 7 && s <= 22;
    const bool karate = s == 5 || s == 6;
    EXPECT_EQ(GetStepInstructions(s, issDepression, false) != GetStepInstructions(s, issDepression, true), tapping)
        << s;
    EXPECT_EQ(GetStepInstructions(s, issDepression, false) != GetStepInstructions(s, issGuilt, false),
              tapping || karate)
        << s;
    EXPECT_FALSE(GetStepInstructions(s, issDepression, false).empty()) << s;
  }
}

TEST(StepInstructions, ReassessmentKeepsItsSingleBreakAndRunOn) {
  EXPECT_EQ(GetStepInstructions(stpReassessSUD, issNegativeMemory, false),
            "Say 'Peace' and take a deep breath.\r\n\r\n"
            "Reasses SUD - the intensity of the emotion or stress related to given issue.\r\n\r\n"
            "If it decreased but it is still > 0, you may click the button 'Next' and continue tapping till it "
            "reaches zero, or you may stop the session and continue it at other time.\r\n\r\n"
            "If SUD = 0, either end the session or click the button 'Previous' couple of times to go back to the "
            "beginning of the process and move on to the next issue.\r\n\r\n"
            "Sometimes (though very rarely) it happens that the level of the stress increases.\r\n"
            "If that's the case, stop working on that issue and try to clear some other, less intense issue. Come "
            "back to the original issue after the lighter issues are cleared.\r\n\r\n"
            "To stop the session plese click the button 'Finish.");
}

TEST(StepInstructions, FinishHasItsClosingTextWithTwoSingleBreaks) {
  EXPECT_EQ(GetStepInstructions(stpFinish, issNegativeMemory, true),
            "Take a deep breath. Place one hand on your hearth and the other one abount one inch below your belly "
            "button - this spot is called 'dan tien'.\r\n\r\n"
            "Concentrate on your heart and say:\r\n'I feel you. I understand you. I love you.'\r\n\r\n"
            "Imagine energy flowing between your heart and your dan tien. As you breathe in, the energy goes up to "
            "your heart. As you breath out, the energy goes down to your dan tien.\r\n\r\n"
            "Send your love to the outside world, to everyone and everything.\r\n\r\n"
            "Say:\r\n'I am greatful for this healing.'\r\n\r\n"
            "The issue is gone. You are safe. Somebody loves you.");
}

TEST(StepInstructions, AssignSudKeepsTheTrailingBlankOfItsFirstParagraph) {
  const std::string text = GetStepInstructions(stpAssignSUD, issNA, false);
  EXPECT_NE(text.find("'Subjective Unit of Distress' scale). \r\n\r\nIt is number from 0 to 10"), std::string::npos);
  EXPECT_EQ(text.substr(text.size() - 39), "Go to the next step when you are ready.");
}

TEST(StepInstructions, NoStepShowsAMessageOrFails) {
  MessageBoxRecorder boxes;
  testing::ReportRecorder reports;
  for (enmStep s = -2; s <= 27; ++s) {
    for (enmIssue issue : {0, 50, 60, 100, 999}) {
      GetStepInstructions(s, issue, false);
      GetStepInstructions(s, issue, true);
    }
  }
  EXPECT_TRUE(boxes.requests.empty());
  EXPECT_TRUE(reports.reports.empty());
}

}  // namespace
}  // namespace serenitap
