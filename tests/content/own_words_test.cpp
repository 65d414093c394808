// The user's own words in place of the placeholders: what is kept of them and
// what they replace (the options test stores them).
#include <gtest/gtest.h>

#include <string>

#include "content/issues.h"
#include "content/own_words.h"

namespace serenitap {
namespace {

using modIssues::CleanOwnWords;
using modIssues::WithOwnWords;

std::string Repeated(std::string_view piece, int times) {
  std::string text;
  for (int i = 0; i < times; ++i) text += piece;
  return text;
}

// name, what the user typed (or the store held), the words as they are kept,
// a text of the session, that text with the words
using WordsRow = std::tuple<const char*, std::string, std::string, std::string, std::string>;

const std::string kMemory = "Even though I have this negative memory [your problem here] I love and accept myself";

const WordsRow kWordsRows[] = {
    {"EveryPlaceholderOfEitherKind", "X", "X", "[your problem here], [your trauma here] and [your problem here]",
     "X, X and X"},
    {"EmptyWordsKeepThePlaceholder", "", "", kMemory, kMemory},
    {"BlanksAloneKeepThePlaceholder", " \r\n\t ", "", kMemory, kMemory},
    {"LineBreaksBecomeOneBlankAndOuterBlanksGo", "  fear\r\nof\nflying\rat\u2028night,  alone\r\n",
     "fear of flying at night,  alone", "[your problem here]!", "fear of flying at night,  alone!"},
    {"TwoHundredCharactersKept", Repeated("a", 200), Repeated("a", 200), "<[your problem here]>",
     "<" + Repeated("a", 200) + ">"},
    {"TheTwoHundredAndFirstDropped", Repeated("b", 199) + "cd", Repeated("b", 199) + "c", "[your problem here]",
     Repeated("b", 199) + "c"},
    {"CharactersNotBytesCounted", Repeated("\U0001F60A", 201), Repeated("\U0001F60A", 200), "[your problem here]",
     Repeated("\U0001F60A", 200)},
    {"NoBlankLeftAtTheCut", Repeated("c", 199) + " d", Repeated("c", 199), "[your problem here]", Repeated("c", 199)},
    {"QuotesAndBackslashesKept", R"(my "boss" said C:\no\ \\ ")", R"(my "boss" said C:\no\ \\ ")",
     "[your problem here]", R"(my "boss" said C:\no\ \\ ")"},
    {"BytesThatAreNotTextDropped", "ok\xC3(\xFF\xED\xA0\x80\xED\xB0\x80!", "ok(!", "[your problem here]", "ok(!"},
    {"CharactersOfEveryLengthKept", "\u00A0\u00DF\u07FF\u0800\uFFFD\U00010000\U0010FFFD",
     "\u00A0\u00DF\u07FF\u0800\uFFFD\U00010000\U0010FFFD", "[your problem here]",
     "\u00A0\u00DF\u07FF\u0800\uFFFD\U00010000\U0010FFFD"},
    {"ControlCharactersBecomeBlanks", "a\302\205b\302\237c\177d", "a b c d", "[your problem here]", "a b c d"},
};

class OwnWords : public ::testing::TestWithParam<WordsRow> {};

TEST_P(OwnWords, TakeThePlaceholdersPlace) {
  const auto& [name, typed, kept, text, shown] = GetParam();
  EXPECT_EQ(CleanOwnWords(typed), kept);
  EXPECT_EQ(WithOwnWords(text, typed), shown);
}

INSTANTIATE_TEST_SUITE_P(Rows, OwnWords, ::testing::ValuesIn(kWordsRows),
                         [](const auto& info) { return std::string(std::get<0>(info.param)); });

}  // namespace
}  // namespace serenitap
