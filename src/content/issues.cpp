#include "content/issues.h"

#include <array>
#include <string_view>

#include "content/statements.h"
#include "services/failure.h"

namespace serenitap {
namespace modIssues {
namespace {

constexpr std::string_view kModule = "modIssues";

struct IssueRow {
  std::string_view name;
  std::string_view problem;  // the problem sentence of the affirmation
};

// Indexed by option index (issue ÷ 10).
constexpr std::array<IssueRow, 13> kIssues{{
    {"NA", ""},
    {"Addiction or obsession", "I have this addiction (obsession) [your problem here] "},
    {"Anxiety, fear, panic, phobia", "I have this anxiety (fear, panic, phobia)"},
    {"Depression", "I have this depression"},
    {"Headaches", "I have this headache"},
    {"Negative memory", "I have this negative memory [your problem here]"},
    {"PTSD", "I was exposed to this traumatic event [your trauma here]"},
    {"Public Speaking", "I have this fear of public speaking"},
    {"Rage or anger", "I have this anger [your problem here]"},
    {"Self-esteem issues", "I have so low self esteem"},
    {"Trauma", "I have this trauma [your problem here]"},
    {"Guilt", "I have this guilt"},
    {"PTSD, Trauma", "I was exposed to this traumatic event [your trauma here]"},
}};

// True for the catalogue's numbers 0, 10, ... 120.
constexpr bool InCatalogue(std::int64_t number) {
  return number >= IssueNumber(issNA) && number <= IssueNumber(issPTSDTrauma) && number % 10 == 0;
}
bool InCatalogue(enmIssue issue) { return InCatalogue(IssueNumber(issue)); }

// The row of kIssues an issue in the catalogue has.
std::size_t RowOf(enmIssue issue) { return static_cast<std::size_t>(IssueNumber(issue) / 10); }

using SequenceFn = std::string (*)();

struct SequencePair {
  SequenceFn negative;
  SequenceFn positive;
};

// The issue's own sequences, or none (placeholder).
SequencePair SequencesOf(enmIssue issue) {
  switch (issue) {
    case issAddictionsObsessions:
      return {GetStringForNegativeSeq_AddictionsObsessions, GetStringForPositiveSeq_AddictionsObsessions};
    case issAnxietyFearPanicPhobia:
      return {GetStringForNegativeSeq_AnxietyFearPanicPhobia, GetStringForPositiveSeq_AnxietyFearPanicPhobia};
    case issDepression: return {GetStringForNegativeSeq_Depression, GetStringForPositiveSeq_Depression};
    case issHeadaches: return {GetStringForNegativeSeq_Headaches, GetStringForPositiveSeq_Headaches};
    case issNegativeMemory: return {GetStringForNegativeSeq_NegativeMemory, GetStringForPositiveSeq_NegativeMemory};
    case issGlossophobia: return {GetStringForNegativeSeq_Glossophobia, GetStringForPositiveSeq_Glossophobia};
    case issRageAnger: return {GetStringForNegativeSeq_RageAnger, GetStringForPositiveSeq_RageAnger};
    case issSelfEsteem: return {GetStringForNegativeSeq_SelfEsteem, GetStringForPositiveSeq_SelfEsteem};
    case issGuilt: return {GetStringForNegativeSeq_Guilt, GetStringForPositiveSeq_Guilt};
    case issPTSDTrauma: return {GetStringForNegativeSeq_PTSD, GetStringForPositiveSeq_PTSD};
    default: return {nullptr, nullptr};
  }
}

// The text shown in place of statements for an issue without a sequence.
std::string Placeholder(enmIssue issue, std::string_view polarity) {
  constexpr std::string_view kCrLf = "\r\n";
  std::string text(kCrLf);
  if (issue == issPTSD || issue == issTrauma) {
    text += issue == issPTSD ? "(PTSD)" : "(Trauma)";
    text += kCrLf;
    text += polarity;
  } else {
    text += "()";
  }
  text += kCrLf;
  text += kCrLf;
  return text;
}

std::string Dispatch(std::string_view procedure, enmIssue issue, bool positive) {
  std::string text;
  Guarded(kModule, procedure, [&] {
    const SequencePair pair = SequencesOf(issue);
    const SequenceFn fn = positive ? pair.positive : pair.negative;
    text = fn ? fn() : Placeholder(issue, positive ? "Positive" : "Negative");
  });
  return text;
}

}  // namespace

std::string GetIssueName(enmIssue issue) {
  std::string result;
  Guarded(kModule, "GetIssueName", [&] {
    if (InCatalogue(issue)) result = kIssues.at(RowOf(issue)).name;
  });
  return result;
}

std::string_view IssueNameAt(std::int32_t index) noexcept {
  return index >= 0 && index < static_cast<std::int32_t>(kIssues.size()) ? kIssues[static_cast<std::size_t>(index)].name
                                                                         : std::string_view();
}

enmIssue IssueOptIndexToEnum(std::int32_t index) {
  return (index >= 1 && index <= 12) ? static_cast<enmIssue>(index * 10) : issNA;
}

std::int32_t IssueEnumToOptIndex(enmIssue issue) {
  return (InCatalogue(issue) && issue != issNA) ? static_cast<std::int32_t>(RowOf(issue)) : 0;
}

enmIssue GetDefaultIssue() { return issNegativeMemory; }

std::string GetStringForActivationStep(enmIssue issue) {
  std::string result;
  Guarded(kModule, "GetStringForActivationStep", [&] {
    if (issue == issHeadaches) result = "Headaches are the number one reason we visit our doctors.\r\n\r\n";
    result +=
        "Breath deeply and lightly tap with the index finger and middle finger a 'karate chop' point, repeating "
        "the introduction sentence:";
    result += "\r\n\r\n";
    result += "Even though ";
    if (InCatalogue(issue) && issue != issNA) {
      result += kIssues.at(RowOf(issue)).problem;
    } else {
      result += "... ";
      result += "[your problem here]";
    }
    result += " I love and accept myself with all my heart.";
  });
  return result;
}

std::string GetStringForNegativeSequence(enmIssue issue) {
  return Dispatch("GetStringForNegativeSequence", issue, false);
}

std::string GetStringForPositiveSequence(enmIssue issue) {
  return Dispatch("GetStringForPositiveSequence", issue, true);
}

}  // namespace modIssues

std::optional<enmIssue> IssueFromNumber(std::int64_t number) noexcept {
  if (!modIssues::InCatalogue(number)) return std::nullopt;
  return static_cast<enmIssue>(number);
}

enmIssue StoredIssue(std::int64_t number) noexcept {
  return IssueFromNumber(number).value_or(static_cast<enmIssue>(static_cast<std::int32_t>(number)));
}

}  // namespace serenitap
