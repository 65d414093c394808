// The issue catalogue, the statement sequences and the step instructions:
// which issue gets which text and the joins that are easy to get wrong.
#include <gtest/gtest.h>

#include <ranges>
#include <set>
#include <string>
#include <type_traits>
#include <vector>

#include "content/instructions.h"
#include "content/statements.h"
#include "session/steps.h"
#include "support/printers.h"
#include "support/recorders.h"

namespace serenitap {
namespace {

using namespace modIssues;

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  for (const auto line : std::views::split(text, std::string_view("\r\n")))
    lines.emplace_back(line.begin(), line.end());
  return lines;
}

TEST(Issues, OptionButtonsAreTheIssuesInStepsOfTenAndTheAffirmationNamesTheProblem) {
  for (std::int32_t index = 0; index <= 13; ++index) {
    EXPECT_EQ(IssueNumber(IssueOptIndexToEnum(index)), index >= 1 && index <= 12 ? 10 * index : 0) << index;
    EXPECT_EQ(IssueEnumToOptIndex(StoredIssue(10 * index)), index >= 1 && index <= 12 ? index : 0) << index;
    EXPECT_EQ(GetIssueName(StoredIssue(10 * index)), IssueNameAt(index)) << index;
  }
  EXPECT_EQ(GetIssueName(issNA) + "/" + GetIssueName(issAddictionsObsessions) + "/" + GetIssueName(issPTSDTrauma),
            "NA/Addiction or obsession/PTSD, Trauma");
  EXPECT_EQ(GetIssueName(StoredIssue(55)) + GetIssueName(StoredIssue(-10)) + std::string(IssueNameAt(-1)), "");
  EXPECT_EQ(IssueEnumToOptIndex(StoredIssue(55)), 0);
  const std::string lead =
      "Breath deeply and lightly tap with the index finger and middle finger a 'karate chop' point, repeating the "
      "introduction sentence:\r\n\r\nEven though ";
  const std::string tail = " I love and accept myself with all my heart.";
  EXPECT_EQ(GetStringForActivationStep(StoredIssue(55)), lead + "... [your problem here]" + tail);
}

// Numbers from a file: only the catalogue's numbers are issues, while a
// journal's number that is none is kept as it is.
TEST(Issues, NumbersAreIssuesOnlyInTheCatalogue) {
  static_assert(!std::is_convertible_v<std::int32_t, enmIssue> && !std::is_convertible_v<enmIssue, std::int32_t>);
  // Neither a step nor a number is taken for an issue, nor an issue for a step.
  static_assert(!std::is_convertible_v<enmStep, enmIssue> && !std::is_convertible_v<enmIssue, enmStep>);
  static_assert(!std::is_invocable_v<decltype(&GetIssueName), enmStep> &&
                !std::is_invocable_v<decltype(&GetIssueName), std::int32_t>);
  static_assert(!std::is_invocable_v<decltype(&GetStepInstructions), enmIssue, enmStep, bool>);
  EXPECT_EQ(IssueFromNumber(0), issNA);
  EXPECT_EQ(IssueFromNumber(110), issGuilt);
  EXPECT_EQ(IssueFromNumber(120), issPTSDTrauma);
  for (const std::int64_t number : std::initializer_list<std::int64_t>{-10, 5, 55, 130, 4294967306})
    EXPECT_EQ(IssueFromNumber(number), std::nullopt) << number;
  EXPECT_EQ(StoredIssue(60), issPTSD);
  EXPECT_EQ(IssueNumber(StoredIssue(55)), 55);
}

// Each issue with sequences of its own gets them ("PTSD, Trauma" those of PTSD):
// statements joined by single CR LF, sixteen positive ones.
TEST(Statements, EachIssueGetsItsOwnSequences) {
  std::set<std::string> sequences;
  for (enmIssue issue : {issAddictionsObsessions, issAnxietyFearPanicPhobia, issDepression, issHeadaches,
                         issNegativeMemory, issGlossophobia, issRageAnger, issSelfEsteem, issGuilt, issPTSDTrauma}) {
    const std::string negative = GetStringForNegativeSequence(issue), positive = GetStringForPositiveSequence(issue);
    sequences.insert({negative, positive});
    EXPECT_EQ(Lines(positive).size(), 16u) << IssueNumber(issue);
    for (const std::string& line : Lines(negative + "\r\n" + positive))
      EXPECT_TRUE(!line.empty() && line.find_first_of("\r\n") == std::string::npos)
          << IssueNumber(issue) << ": " << line;
  }
  EXPECT_EQ(sequences.size(), 20u);
  EXPECT_EQ(GetStringForPositiveSequence(issPTSDTrauma), GetStringForPositiveSeq_PTSD());
  // Typographic characters are kept as written.
  EXPECT_EQ(Lines(GetStringForPositiveSequence(issAddictionsObsessions)).at(1),  // at: a failure, not a crash
            "I am free.\u00A0I can do anything\u00A0I want. I love life.");
  // Issues without sequences get a placeholder.
  EXPECT_EQ(GetStringForPositiveSequence(issPTSD) + GetStringForNegativeSequence(issTrauma),
            "\r\n(PTSD)\r\nPositive\r\n\r\n\r\n(Trauma)\r\nNegative\r\n\r\n");
  EXPECT_EQ(GetStringForNegativeSequence(StoredIssue(55)), "\r\n()\r\n\r\n");
}

TEST(Instructions, TitlesAndTextsFollowTheStepTheIssueAndThePolarity) {
  testing::MessageBoxRecorder boxes;
  EXPECT_EQ(
      GetSegmentTitle(stpChin1, true) + "/" + GetSegmentTitle(stpChin1, false) + "/" + GetSegmentTitle(stpIntro, true),
      "Positive Sequence/Negative Sequence/");
  EXPECT_EQ(GetStepInstructions(stpTopHead2, issRageAnger, true),
            "Continue tapping. Relax and remember to breathe slowly. Repeat (or use your own words to reframe the "
            "issue): \r\n\r\n" +
                GetStringForPositiveSequence(issRageAnger));
  const std::string negative = GetStepInstructions(stpChin2, issGuilt, false);
  EXPECT_TRUE(negative.starts_with("Tune in into the emotion") &&
              negative.ends_with("\r\n\r\n" + GetStringForNegativeSequence(issGuilt)));
  EXPECT_EQ(GetStepInstructions(stpRightHand, issGuilt, true), GetStringForActivationStep(issGuilt));
  EXPECT_EQ(GetStepInstructions(stpIntro, issGuilt, true), modSteps::GetIntroText());
  EXPECT_TRUE(boxes.requests.empty());
  EXPECT_EQ(GetStepInstructions(stpNone, issGuilt, false) + GetSegmentTitle(StepAfter(stpFinish), false), "");
  EXPECT_EQ(boxes.Texts(), std::vector<std::string>{"GetSegmentTitle - wrong parameter passed"});
}

}  // namespace
}  // namespace serenitap
