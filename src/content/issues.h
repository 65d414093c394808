#pragma once
// The issue catalogue: the emotional issues a session can work on, their
// display names and their option buttons in the main window.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace serenitap {

// An issue. Its number (a multiple of 10 from 0 to 120) is what the journal,
// the settings and the CSV keep; IssueNumber and IssueFromNumber are the only
// ways between the two. A value read back from a file may be a number no issue
// has (see StoredIssue); each function taking an issue says what it gives for one.
enum class enmIssue : std::int32_t {
  issNA = 0,
  issAddictionsObsessions = 10,
  issAnxietyFearPanicPhobia = 20,
  issDepression = 30,
  issHeadaches = 40,
  issNegativeMemory = 50,
  issPTSD = 60,
  issGlossophobia = 70,
  issRageAnger = 80,
  issSelfEsteem = 90,
  issTrauma = 100,
  issGuilt = 110,
  issPTSDTrauma = 120,
};
using enum enmIssue;

// The number an issue is stored and reported by.
constexpr std::int32_t IssueNumber(enmIssue issue) noexcept { return static_cast<std::int32_t>(issue); }
// The issue a number names: 0 and the multiples of 10 up to 120; nothing for
// any other number.
std::optional<enmIssue> IssueFromNumber(std::int64_t number) noexcept;
// The issue of a session read back from the journal: the issue the number
// names, or, when no issue has it, the number kept as it is, so the session is
// still shown (with an empty name) and written back unchanged.
enmIssue StoredIssue(std::int64_t number) noexcept;

namespace modIssues {

// Display name; 0 gives "NA", values outside the catalogue "".
std::string GetIssueName(enmIssue issue);
// The same name by option index (0..12), for tables that keep a view of it:
// the text lives as long as the program. "" for any other index.
std::string_view IssueNameAt(std::int32_t index) noexcept;
// Option index 1..12 to its issue (index × 10); anything else 0.
enmIssue IssueOptIndexToEnum(std::int32_t index);
// Issue 10..120 to its option index (issue ÷ 10); anything else 0.
std::int32_t IssueEnumToOptIndex(enmIssue issue);
// The issue a session starts on: Negative memory.
enmIssue GetDefaultIssue();
// The set-up affirmation spoken on the karate-chop steps.
std::string GetStringForActivationStep(enmIssue issue);

}  // namespace modIssues
}  // namespace serenitap
