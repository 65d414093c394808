// The issue catalogue, the statement sequences and the step instructions:
// which issue gets which text, the joins that are easy to get wrong, and a
// text that cannot be composed for lack of memory.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "content/instructions.h"
#include "content/issues.h"
#include "content/statements.h"
#include "failing_allocation.h"
#include "session/steps.h"
#include "support/recorders.h"

namespace serenitap {
namespace {

using testing::MessageBoxRecorder;
using testing::ReportRecorder;

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  for (std::size_t start = 0;;) {
    const std::size_t pos = text.find("\r\n", start);
    lines.push_back(text.substr(start, pos == std::string::npos ? pos : pos - start));
    if (pos == std::string::npos) return lines;
    start = pos + 2;
  }
}

TEST(Issues, OptionButtonsAreTheIssuesInStepsOfTen) {
  const std::vector<std::string> names{"Addiction or obsession", "Anxiety, fear, panic, phobia", "Depression",
                                       "Headaches", "Negative memory", "PTSD", "Public Speaking", "Rage or anger",
                                       "Self-esteem issues", "Trauma", "Guilt", "PTSD, Trauma"};
  for (std::int32_t index = 1; index <= 12; ++index) {
    EXPECT_EQ(modIssues::IssueOptIndexToEnum(index), 10 * index);
    EXPECT_EQ(modIssues::IssueEnumToOptIndex(10 * index), index);
    EXPECT_EQ(modIssues::GetIssueName(10 * index), names[static_cast<std::size_t>(index - 1)]);
  }
  EXPECT_EQ(modIssues::GetIssueName(issNA), "NA");
  for (std::int32_t outside : {-1, 0, 13, INT32_MIN}) EXPECT_EQ(modIssues::IssueOptIndexToEnum(outside), issNA);
  for (enmIssue outside : {-10, 5, 55, 130, INT32_MAX}) {
    EXPECT_EQ(modIssues::GetIssueName(outside), "");
    EXPECT_EQ(modIssues::IssueEnumToOptIndex(outside), 0);
  }
  EXPECT_EQ(modIssues::GetDefaultIssue(), issNegativeMemory);
}

TEST(Issues, AffirmationLeadsWithTheKarateChopAndHeadachesWithTheirOwnParagraph) {
  const std::string lead =
      "Breath deeply and lightly tap with the index finger and middle finger a 'karate chop' point, repeating the "
      "introduction sentence:\r\n\r\n";
  const std::string tail = " I love and accept myself with all my heart.";
  EXPECT_EQ(modIssues::GetStringForActivationStep(issDepression), lead + "Even though I have this depression" + tail);
  EXPECT_EQ(modIssues::GetStringForActivationStep(issHeadaches),
            "Headaches are the number one reason we visit our doctors.\r\n\r\n" + lead +
                "Even though I have this headache" + tail);
  EXPECT_EQ(modIssues::GetStringForActivationStep(issAddictionsObsessions),
            lead + "Even though I have this addiction (obsession) [your problem here] " + tail);
  EXPECT_EQ(modIssues::GetStringForActivationStep(issPTSD), modIssues::GetStringForActivationStep(issPTSDTrauma));
  for (enmIssue unknown : {0, 55, -40})
    EXPECT_EQ(modIssues::GetStringForActivationStep(unknown), lead + "Even though ... [your problem here]" + tail);
}

// Each issue with a sequence of its own: the functions behind it, the number
// of statements and the first one. "PTSD, Trauma" uses the PTSD sequences.
struct SequenceCase {
  enmIssue issue;
  std::string (*negative)();
  std::string (*positive)();
  std::size_t negativeCount;
  const char* firstPositive;
};

TEST(Statements, EachIssueGetsItsOwnSequencesJoinedByCrLf) {
  using namespace modIssues;
  const SequenceCase cases[] = {
      {10, GetStringForNegativeSeq_AddictionsObsessions, GetStringForPositiveSeq_AddictionsObsessions, 13,
       "Pain is the source of my addiction; I release this pain now."},
      {20, GetStringForNegativeSeq_AnxietyFearPanicPhobia, GetStringForPositiveSeq_AnxietyFearPanicPhobia, 16,
       "I breathe slowly, deeply and naturally. I remain calm."},
      {30, GetStringForNegativeSeq_Depression, GetStringForPositiveSeq_Depression, 16,
       "I love myself for who I am. I love myself unconditionally."},
      {40, GetStringForNegativeSeq_Headaches, GetStringForPositiveSeq_Headaches, 15, "I'm good. I'm worthy. I'm safe."},
      {50, GetStringForNegativeSeq_NegativeMemory, GetStringForPositiveSeq_NegativeMemory, 16,
       "I am emotionally detached from what happened."},
      {70, GetStringForNegativeSeq_Glossophobia, GetStringForPositiveSeq_Glossophobia, 16,
       "Meaning what I say is at the heart of my presentation."},
      {80, GetStringForNegativeSeq_RageAnger, GetStringForPositiveSeq_RageAnger, 16, "My mind is clear and open."},
      {90, GetStringForNegativeSeq_SelfEsteem, GetStringForPositiveSeq_SelfEsteem, 16,
       "I live a life that is true to my own values."},
      {110, GetStringForNegativeSeq_Guilt, GetStringForPositiveSeq_Guilt, 16,
       "I take responsibility for what I've done and for my life."},
      {120, GetStringForNegativeSeq_PTSD, GetStringForPositiveSeq_PTSD, 17,
       "I release the past and all these bad feelings."},
  };
  for (const SequenceCase& c : cases) {
    SCOPED_TRACE(c.issue);
    const std::string negative = GetStringForNegativeSequence(c.issue);
    const std::string positive = GetStringForPositiveSequence(c.issue);
    EXPECT_EQ(negative, c.negative());
    EXPECT_EQ(positive, c.positive());
    EXPECT_EQ(Lines(negative).size(), c.negativeCount);
    EXPECT_EQ(Lines(positive).size(), 16u);
    EXPECT_EQ(Lines(positive).front(), c.firstPositive);
    for (const auto& line : Lines(negative + "\r\n" + positive)) {
      EXPECT_FALSE(line.empty()) << "no blank line, no trailing break";
      EXPECT_EQ(line.find_first_of("\r\n"), std::string::npos) << "only CR LF pairs separate statements";
    }
  }
  // Typographic characters and doubled blanks are kept as written.
  EXPECT_EQ(Lines(GetStringForPositiveSequence(issAddictionsObsessions))[1],
            "I am free.\u00A0I can do anything\u00A0I want. I love life.");
  EXPECT_EQ(Lines(GetStringForNegativeSequence(issGlossophobia))[2], "I  don\u2019t want to be the centre of attention.");
  EXPECT_EQ(Lines(GetStringForPositiveSequence(issDepression))[3],
            "I have choices. I choose new responses to old situations. ");
}

TEST(Statements, IssuesWithoutSequencesGetAPlaceholder) {
  using modIssues::GetStringForNegativeSequence, modIssues::GetStringForPositiveSequence;
  EXPECT_EQ(GetStringForPositiveSequence(issPTSD), "\r\n(PTSD)\r\nPositive\r\n\r\n");
  EXPECT_EQ(GetStringForNegativeSequence(issTrauma), "\r\n(Trauma)\r\nNegative\r\n\r\n");
  for (enmIssue unknown : {0, 55, 130}) {
    EXPECT_EQ(GetStringForPositiveSequence(unknown), "\r\n()\r\n\r\n");
    EXPECT_EQ(GetStringForNegativeSequence(unknown), "\r\n()\r\n\r\n");
  }
}

TEST(Instructions, TitlesAndTextsDependOnTheStepIssueAndPolarityAsTheSessionNeeds) {
  MessageBoxRecorder boxes;
  for (enmStep s = stpIntro; s <= stpFinish; ++s) {
    SCOPED_TRACE(s);
    const bool tapping = s >= stpTopHead1 && s <= stpRightUnderArm;
    const bool karate = s == stpLeftHand || s == stpRightHand;
    const auto text = [s](enmIssue issue, bool positive) { return GetStepInstructions(s, issue, positive); };
    EXPECT_EQ(text(issDepression, false) != text(issDepression, true), tapping);
    EXPECT_EQ(text(issDepression, false) != text(issGuilt, false), tapping || karate);
    EXPECT_FALSE(text(issDepression, false).empty());
    if (karate) { EXPECT_EQ(text(issGuilt, true), modIssues::GetStringForActivationStep(issGuilt)); }
    EXPECT_EQ(GetSegmentTitle(s, false) != GetSegmentTitle(s, true), tapping);
  }
  EXPECT_EQ(GetStepInstructions(stpIntro, issGuilt, true), modSteps::GetIntroText());
  EXPECT_EQ(GetStepInstructions(stpTopHead2, issRageAnger, true),
            "Continue tapping. Relax and remember to breathe slowly. Repeat (or use your own words to reframe the "
            "issue): \r\n\r\n" + modIssues::GetStringForPositiveSequence(issRageAnger));
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
  EXPECT_EQ(GetStepInstructions(stpFinish, issNegativeMemory, true),
            "Take a deep breath. Place one hand on your hearth and the other one abount one inch below your belly "
            "button - this spot is called 'dan tien'.\r\n\r\n"
            "Concentrate on your heart and say:\r\n'I feel you. I understand you. I love you.'\r\n\r\n"
            "Imagine energy flowing between your heart and your dan tien. As you breathe in, the energy goes up to "
            "your heart. As you breath out, the energy goes down to your dan tien.\r\n\r\n"
            "Send your love to the outside world, to everyone and everything.\r\n\r\n"
            "Say:\r\n'I am greatful for this healing.'\r\n\r\n"
            "The issue is gone. You are safe. Somebody loves you.");
  const std::string sud = GetStepInstructions(stpAssignSUD, issNA, false);
  EXPECT_NE(sud.find("'Subjective Unit of Distress' scale). \r\n\r\nIt is number from 0 to 10"), std::string::npos);
  EXPECT_EQ(GetSegmentTitle(stpChin1, false), "Negative Sequence");
  EXPECT_EQ(GetSegmentTitle(stpChin1, true), "Positive Sequence");
  EXPECT_EQ(GetSegmentTitle(stpRightHand, true), "Affirmation Statement");
  EXPECT_EQ(GetSegmentTitle(stpIntro, false), "");
  EXPECT_TRUE(boxes.requests.empty());
  EXPECT_EQ(GetStepInstructions(stpNone, issGuilt, false), "");
  EXPECT_EQ(GetSegmentTitle(26, false), "");
  EXPECT_EQ(boxes.Texts(), std::vector<std::string>{"GetSegmentTitle - wrong parameter passed"});
}

// Out of memory while a text is composed: the innermost procedure reports it
// under its own module and returns what it had; the next call works.
struct TextCase {
  std::function<std::string()> call;
  const char* module;
  const char* procedure;
};

TEST(TextFailure, IsReportedByTheInnermostProcedure) {
  const TextCase cases[] = {
      {[] { return modSteps::GetStepName(stpRightEyeCorner); }, "modSteps", "GetStepName"},
      {[] { return modSteps::GetStepDescription(stpLeftHand); }, "modSteps", "GetStepDescription"},
      {[] { return GetStepInstructions(stpIntro, issGuilt, false); }, "modSteps", "GetIntroText"},
      {[] { return GetSegmentTitle(stpTopHead1, false); }, "frmMain", "GetSegmentTitle"},
      {[] { return GetStepInstructions(stpSelectIssue, issGuilt, false); }, "frmMain", "GetStepInstructions"},
      {[] { return modIssues::GetIssueName(issAnxietyFearPanicPhobia); }, "modIssues", "GetIssueName"},
      {[] { return modIssues::GetStringForActivationStep(issDepression); }, "modIssues", "GetStringForActivationStep"},
      {[] { return modIssues::GetStringForNegativeSequence(issGuilt); }, "modIssues", "GetStringForNegativeSeq_Guilt"},
      {[] { return modIssues::GetStringForNegativeSequence(issPTSD); }, "modIssues", "GetStringForNegativeSequence"},
  };
  for (const TextCase& c : cases) {
    SCOPED_TRACE(c.procedure);
    const std::string whole = c.call();
    ReportRecorder reports;
    testing::FailNextAllocation();
    EXPECT_EQ(c.call(), "");
    ASSERT_FALSE(testing::AllocationFailurePending());
    ASSERT_EQ(reports.reports.size(), 1u);
    EXPECT_EQ(reports.reports[0].module, c.module);
    EXPECT_EQ(reports.reports[0].procedure, c.procedure);
    EXPECT_EQ(reports.reports[0].number, 7);
    EXPECT_EQ(reports.reports[0].description, "Out of memory");
    EXPECT_EQ(c.call(), whole);
  }
}

}  // namespace
}  // namespace serenitap
