#pragma once
// The issue catalogue: the emotional issues a session can work on, their
// display names and their option buttons in the main window.
#include <cstdint>
#include <string>
#include <string_view>

namespace serenitap {

// An issue value: a multiple of 10 from 0 to 120. Other values are not in the
// catalogue; each function taking an issue says what it gives for them.
using enmIssue = std::int32_t;

inline constexpr enmIssue issNA = 0;
inline constexpr enmIssue issAddictionsObsessions = 10;
inline constexpr enmIssue issAnxietyFearPanicPhobia = 20;
inline constexpr enmIssue issDepression = 30;
inline constexpr enmIssue issHeadaches = 40;
inline constexpr enmIssue issNegativeMemory = 50;
inline constexpr enmIssue issPTSD = 60;
inline constexpr enmIssue issGlossophobia = 70;
inline constexpr enmIssue issRageAnger = 80;
inline constexpr enmIssue issSelfEsteem = 90;
inline constexpr enmIssue issTrauma = 100;
inline constexpr enmIssue issGuilt = 110;
inline constexpr enmIssue issPTSDTrauma = 120;

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
