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

TEST(Issues, OptionButtonsAreTheIssuesInStepsOfTen) {
  for (std::int32_t index = 0; index <= 13; ++index) {
    EXPECT_EQ(IssueNumber(IssueOptIndexToEnum(index)), index >= 1 && index <= 12 ? 10 * index : 0) << index;
    EXPECT_EQ(IssueEnumToOptIndex(StoredIssue(10 * index)), index >= 1 && index <= 12 ? index : 0) << index;
    EXPECT_EQ(GetIssueName(StoredIssue(10 * index)), IssueNameAt(index)) << index;
  }
  EXPECT_EQ(GetIssueName(StoredIssue(55)) + GetIssueName(StoredIssue(-10)) + std::string(IssueNameAt(-1)), "");
  EXPECT_EQ(IssueEnumToOptIndex(StoredIssue(55)), 0);
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

// Each issue with sequences of its own gets them, sixteen positive statements
// ("PTSD, Trauma" those of PTSD; the texts themselves: the fingerprints below).
TEST(Statements, EachIssueGetsItsOwnSequences) {
  std::set<std::string> sequences;
  for (enmIssue issue : {issAddictionsObsessions, issAnxietyFearPanicPhobia, issDepression, issHeadaches,
                         issNegativeMemory, issGlossophobia, issRageAnger, issSelfEsteem, issGuilt, issPTSDTrauma}) {
    const std::string negative = GetStringForNegativeSequence(issue), positive = GetStringForPositiveSequence(issue);
    sequences.insert({negative, positive});
    EXPECT_EQ(Lines(positive).size(), 16u) << IssueNumber(issue);
  }
  EXPECT_EQ(sequences.size(), 20u);
  // Issues without sequences get a placeholder.
  EXPECT_EQ(GetStringForPositiveSequence(issPTSD) + GetStringForNegativeSequence(issTrauma),
            "\r\n(PTSD)\r\nPositive\r\n\r\n\r\n(Trauma)\r\nNegative\r\n\r\n");
  EXPECT_EQ(GetStringForNegativeSequence(StoredIssue(55)), "\r\n()\r\n\r\n");
}

// The texts of every step, with its title, in either polarity: the fingerprints below.
TEST(Instructions, AStepThatIsNoneGetsNoTextAndIsTold) {
  testing::MessageBoxRecorder boxes;
  EXPECT_EQ(GetStepInstructions(stpNone, issGuilt, false) + GetSegmentTitle(StepAfter(stpFinish), false), "");
  EXPECT_EQ(boxes.Texts(), std::vector<std::string>{"GetSegmentTitle - wrong parameter passed"});
}

// Every text a session shows or says with each issue, as last read through:
// a letter changed in a statement, an instruction, a title or a point's name
// fails here, in the row of each issue that shows it. After a change meant to
// be made, read the texts again and put the new fingerprints.
TEST(Texts, EveryTextOfEachIssueIsAsLastReadThrough) {
  std::string seen;
  for (std::int32_t index = 0; index <= 12; ++index) {  // 0: no issue, as a number no issue has reads
    const enmIssue issue = IssueOptIndexToEnum(index);
    std::uint32_t fingerprint = 2166136261u;  // FNV-1a of all its texts
    for (const enmStep step : StepsFromTo(stpIntro, stpFinish))
      for (const bool positive : {false, true})
        for (const unsigned char c : GetIssueName(issue) + GetStepInstructions(step, issue, positive) +
                                         GetSegmentTitle(step, positive) + modSteps::GetStepName(step) +
                                         modSteps::GetStepDescription(step))
          fingerprint = (fingerprint ^ c) * 16777619u;
    seen += GetIssueName(issue) + " " + std::to_string(fingerprint) + "; ";
  }
  EXPECT_EQ(seen,
            "NA 3623576485; Addiction or obsession 2778730565; Anxiety, fear, panic, phobia 1648677493; "
            "Depression 4197953193; Headaches 3136648389; Negative memory 2125667837; PTSD 1950815737; "
            "Public Speaking 3152174479; Rage or anger 3720089275; Self-esteem issues 2813629457; "
            "Trauma 1404160121; Guilt 148810979; PTSD, Trauma 2572785189; ");
}

}  // namespace
}  // namespace serenitap
