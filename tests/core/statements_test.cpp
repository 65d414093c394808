// The statement sequences: which issue gets which sequence, their lengths,
// joins and special characters, and the placeholders.
#include "content/statements.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace serenitap {
namespace {

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  for (;;) {
    const std::size_t pos = text.find("\r\n", start);
    lines.push_back(text.substr(start, pos == std::string::npos ? std::string::npos : pos - start));
    if (pos == std::string::npos) return lines;
    start = pos + 2;
  }
}

struct SequenceCase {
  enmIssue issue;
  bool positive;
  std::size_t count;
  const char* first;
  const char* last;
};

void PrintTo(const SequenceCase& c, std::ostream* os) {
  *os << "issue " << c.issue << (c.positive ? " positive" : " negative");
}

class Sequences : public ::testing::TestWithParam<SequenceCase> {};

TEST_P(Sequences, DispatchCountEndsAndJoins) {
  const SequenceCase& c = GetParam();
  const std::string text = c.positive ? modIssues::GetStringForPositiveSequence(c.issue)
                                      : modIssues::GetStringForNegativeSequence(c.issue);
  const auto lines = Lines(text);
  ASSERT_EQ(lines.size(), c.count);
  EXPECT_EQ(lines.front(), c.first);
  EXPECT_EQ(lines.back(), c.last);
  for (const auto& line : lines) {
    EXPECT_FALSE(line.empty()) << "no blank line, no trailing break";
    EXPECT_EQ(line.find_first_of("\r\n"), std::string::npos) << "only CR LF pairs separate statements";
  }
}

INSTANTIATE_TEST_SUITE_P(
    EveryIssue, Sequences,
    ::testing::Values(
        SequenceCase{10, false, 13, "I cannot control myself.", "It's hard to breathe..."},
        SequenceCase{10, true, 16, "Pain is the source of my addiction; I release this pain now.",
                     "It's so easy to turn down bad things."},
        SequenceCase{20, false, 16, "I cannot calm myself down.", "I cannot focus on anything."},
        SequenceCase{20, true, 16, "I breathe slowly, deeply and naturally. I remain calm.",
                     "Feeling calm and safe is so easy."},
        SequenceCase{30, false, 16, "I feel awful. I don't feel safe and sound.", "I can't let go of this..."},
        SequenceCase{30, true, 16, "I love myself for who I am. I love myself unconditionally.",
                     "I release myself from this depression."},
        SequenceCase{40, false, 15, "I cannot relax beause of this terrible headache.", "What if this goes worse?"},
        SequenceCase{40, true, 16, "I'm good. I'm worthy. I'm safe.", "The headache is gone and will not come back."},
        SequenceCase{50, false, 16, "I cannot deal with my past...", "I can't let go of this negative memory..."},
        SequenceCase{50, true, 16, "I am emotionally detached from what happened.", "I am so proud of myself."},
        SequenceCase{70, false, 16, "I freeze in front of the audience.", "I cannot control myself when speaking..."},
        SequenceCase{70, true, 16, "Meaning what I say is at the heart of my presentation.",
                     "I have empathy for my audience."},
        SequenceCase{80, false, 16, "So much anger...", "All these problems..."},
        SequenceCase{80, true, 16, "My mind is clear and open.", "I release old hurt, anger and resentment."},
        SequenceCase{90, false, 16, "I am worried when someone disagrees with me.",
                     "I can do anything to gain approval or attention."},
        SequenceCase{90, true, 16, "I live a life that is true to my own values.",
                     "I let go of seeking validation from others."},
        SequenceCase{110, false, 16, "I feel so guilty. I had no right to do this.", "I feel awful."},
        SequenceCase{110, true, 16, "I take responsibility for what I've done and for my life.",
                     "I will never do something like that again."},
        // "PTSD, Trauma" uses the PTSD sequences.
        SequenceCase{120, false, 17, "I cannot stop thinking about what happened.",
                     "It's so numb. I feel disconnected from myself."},
        SequenceCase{120, true, 16, "I release the past and all these bad feelings.",
                     "I allow myself to be happy again."}));

TEST(Sequences, SpecialCharactersAndBlanksAreKept) {
  const auto addiction = Lines(modIssues::GetStringForPositiveSequence(issAddictionsObsessions));
  EXPECT_EQ(addiction[1], "I am free.\u00A0I can do anything\u00A0I want. I love life.");
  const auto speakingNeg = Lines(modIssues::GetStringForNegativeSequence(issGlossophobia));
  EXPECT_EQ(speakingNeg[2], "I  don\u2019t want to be the centre of attention.");
  const auto depressionPos = Lines(modIssues::GetStringForPositiveSequence(issDepression));
  EXPECT_EQ(depressionPos[3], "I have choices. I choose new responses to old situations. ");
  EXPECT_EQ(depressionPos[6], "I am good and smart and that\u2019s how people see me.");
  EXPECT_EQ(depressionPos[8], "I grow by doing what\u2019s hard to do.");
  const auto esteemPos = Lines(modIssues::GetStringForPositiveSequence(issSelfEsteem));
  EXPECT_EQ(esteemPos[1], "I am honest  and humble, yet confident and strong.");
  // Exactly three typographic apostrophes and two no-break spaces in the whole catalogue.
  std::string all;
  for (enmIssue issue = 10; issue <= 120; issue += 10) {
    all += modIssues::GetStringForNegativeSequence(issue);
    all += modIssues::GetStringForPositiveSequence(issue);
  }
  auto count = [&](const std::string& needle) {
    std::size_t n = 0;
    for (auto pos = all.find(needle); pos != std::string::npos; pos = all.find(needle, pos + 1)) ++n;
    return n;
  };
  EXPECT_EQ(count("\u2019"), 3u);
  EXPECT_EQ(count("\u00A0"), 2u);
}

TEST(Sequences, SharedStatementsStayInEachList) {
  EXPECT_EQ(Lines(modIssues::GetStringForPositiveSequence(issDepression))[9], "I ask for inner peace. I let it go...");
  EXPECT_EQ(Lines(modIssues::GetStringForPositiveSequence(issGuilt))[10], "I ask for inner peace. I let it go...");
  EXPECT_EQ(Lines(modIssues::GetStringForNegativeSequence(issHeadaches))[7], "I cannot focus on anything.");
}

struct PlaceholderCase {
  enmIssue issue;
  bool positive;
  const char* text;
};

void PrintTo(const PlaceholderCase& c, std::ostream* os) {
  *os << "issue " << c.issue << (c.positive ? " positive" : " negative");
}

class Placeholders : public ::testing::TestWithParam<PlaceholderCase> {};

TEST_P(Placeholders, ExactText) {
  const PlaceholderCase& c = GetParam();
  EXPECT_EQ(c.positive ? modIssues::GetStringForPositiveSequence(c.issue)
                       : modIssues::GetStringForNegativeSequence(c.issue),
            c.text);
}

INSTANTIATE_TEST_SUITE_P(
    HiddenAndUnknownIssues, Placeholders,
    ::testing::Values(PlaceholderCase{60, true, "\r\n(PTSD)\r\nPositive\r\n\r\n"},
                      PlaceholderCase{60, false, "\r\n(PTSD)\r\nNegative\r\n\r\n"},
                      PlaceholderCase{100, true, "\r\n(Trauma)\r\nPositive\r\n\r\n"},
                      PlaceholderCase{100, false, "\r\n(Trauma)\r\nNegative\r\n\r\n"},
                      PlaceholderCase{0, true, "\r\n()\r\n\r\n"}, PlaceholderCase{0, false, "\r\n()\r\n\r\n"},
                      PlaceholderCase{55, false, "\r\n()\r\n\r\n"}, PlaceholderCase{-10, true, "\r\n()\r\n\r\n"},
                      PlaceholderCase{130, true, "\r\n()\r\n\r\n"}));

}  // namespace
}  // namespace serenitap
