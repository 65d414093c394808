// The issue catalogue: names, option indices, the default, and the
// affirmation sentence for every issue and for values outside the catalogue.
#include "content/issues.h"

#include <gtest/gtest.h>

#include "support/recorders.h"

namespace serenitap {
namespace {

struct IssueCase {
  enmIssue issue;
  const char* name;
  std::int32_t optIndex;
};

void PrintTo(const IssueCase& c, std::ostream* os) { *os << "issue " << c.issue; }

class IssueCatalogue : public ::testing::TestWithParam<IssueCase> {};

TEST_P(IssueCatalogue, NameAndOptionIndex) {
  const IssueCase& c = GetParam();
  EXPECT_EQ(modIssues::GetIssueName(c.issue), c.name);
  EXPECT_EQ(modIssues::IssueEnumToOptIndex(c.issue), c.optIndex);
  if (c.optIndex != 0) {
    EXPECT_EQ(modIssues::IssueOptIndexToEnum(c.optIndex), c.issue);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Table, IssueCatalogue,
    ::testing::Values(IssueCase{0, "NA", 0}, IssueCase{10, "Addiction or obsession", 1},
                      IssueCase{20, "Anxiety, fear, panic, phobia", 2}, IssueCase{30, "Depression", 3},
                      IssueCase{40, "Headaches", 4}, IssueCase{50, "Negative memory", 5}, IssueCase{60, "PTSD", 6},
                      IssueCase{70, "Public Speaking", 7}, IssueCase{80, "Rage or anger", 8},
                      IssueCase{90, "Self-esteem issues", 9}, IssueCase{100, "Trauma", 10},
                      IssueCase{110, "Guilt", 11}, IssueCase{120, "PTSD, Trauma", 12},
                      // Outside the catalogue.
                      IssueCase{55, "", 0}, IssueCase{-10, "", 0}, IssueCase{130, "", 0}, IssueCase{5, "", 0},
                      IssueCase{INT32_MIN, "", 0}, IssueCase{INT32_MAX, "", 0}));

TEST(IssueCatalogue, OptionIndicesOutsideOneToTwelveGiveNA) {
  for (std::int32_t index : {0, -1, 13, 100, INT32_MIN}) EXPECT_EQ(modIssues::IssueOptIndexToEnum(index), issNA);
  EXPECT_EQ(modIssues::GetDefaultIssue(), issNegativeMemory);
}

struct AffirmationCase {
  enmIssue issue;
  const char* lastParagraph;
};

void PrintTo(const AffirmationCase& c, std::ostream* os) { *os << "issue " << c.issue; }

class Affirmation : public ::testing::TestWithParam<AffirmationCase> {};

constexpr const char* kLead =
    "Breath deeply and lightly tap with the index finger and middle finger a 'karate chop' point, repeating the "
    "introduction sentence:\r\n\r\n";

TEST_P(Affirmation, LeadParagraphThenTheSentence) {
  const AffirmationCase& c = GetParam();
  std::string expected = c.issue == issHeadaches ? "Headaches are the number one reason we visit our doctors.\r\n\r\n" : "";
  expected += kLead;
  expected += c.lastParagraph;
  EXPECT_EQ(modIssues::GetStringForActivationStep(c.issue), expected);
}

INSTANTIATE_TEST_SUITE_P(
    EveryIssue, Affirmation,
    ::testing::Values(
        AffirmationCase{10,
                        "Even though I have this addiction (obsession) [your problem here]  I love and accept myself "
                        "with all my heart."},
        AffirmationCase{20,
                        "Even though I have this anxiety (fear, panic, phobia) I love and accept myself with all my "
                        "heart."},
        AffirmationCase{30, "Even though I have this depression I love and accept myself with all my heart."},
        AffirmationCase{40, "Even though I have this headache I love and accept myself with all my heart."},
        AffirmationCase{50,
                        "Even though I have this negative memory [your problem here] I love and accept myself with "
                        "all my heart."},
        AffirmationCase{60,
                        "Even though I was exposed to this traumatic event [your trauma here] I love and accept "
                        "myself with all my heart."},
        AffirmationCase{70,
                        "Even though I have this fear of public speaking I love and accept myself with all my heart."},
        AffirmationCase{80,
                        "Even though I have this anger [your problem here] I love and accept myself with all my "
                        "heart."},
        AffirmationCase{90, "Even though I have so low self esteem I love and accept myself with all my heart."},
        AffirmationCase{100,
                        "Even though I have this trauma [your problem here] I love and accept myself with all my "
                        "heart."},
        AffirmationCase{110, "Even though I have this guilt I love and accept myself with all my heart."},
        AffirmationCase{120,
                        "Even though I was exposed to this traumatic event [your trauma here] I love and accept "
                        "myself with all my heart."},
        // Outside the catalogue, 0 included: "... " and the bracketed invitation.
        AffirmationCase{0, "Even though ... [your problem here] I love and accept myself with all my heart."},
        AffirmationCase{55, "Even though ... [your problem here] I love and accept myself with all my heart."},
        AffirmationCase{-40, "Even though ... [your problem here] I love and accept myself with all my heart."}));

TEST(Affirmation, NeverShowsAMessage) {
  testing::MessageBoxRecorder boxes;
  testing::ReportRecorder reports;
  for (enmIssue issue = -20; issue <= 140; ++issue) modIssues::GetStringForActivationStep(issue);
  EXPECT_TRUE(boxes.requests.empty());
  EXPECT_TRUE(reports.reports.empty());
}

}  // namespace
}  // namespace serenitap
