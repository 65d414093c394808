#pragma once
// What the journal keeps of one session: when it started, its issue, the
// rating given before tapping, every re-assessment with its time, the rounds
// tapped, when and how it ended, and the user's own words for the issue. Times are milliseconds since 1970 (UTC).
#include <cstdint>
#include <limits>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "content/issues.h"

namespace serenitap::journal {

using TimeMs = std::int64_t;

// What a rating or a time read back from the journal is when the file holds
// something else (a hand-edited rating outside 0 to 10, a time that does not
// parse): unknown. Unknown values are shown as such and never counted.
constexpr std::int16_t kUnknownRating = -1;
constexpr TimeMs kUnknownTime = std::numeric_limits<TimeMs>::min();
constexpr bool KnownRating(std::int64_t rating) { return rating >= 0 && rating <= 10; }
constexpr bool KnownTime(TimeMs time) { return time != kUnknownTime; }
// A rating as stored, checked: kUnknownRating unless it lies in 0 to 10.
constexpr std::int16_t RatingRead(std::int64_t stored) {
  return KnownRating(stored) ? static_cast<std::int16_t>(stored) : kUnknownRating;
}

// How a session ended. Open: it has not ended (yet).
enum class SessionEnd { Open, Finish, Exit, NewSession };

struct Reassessment {
  TimeMs at = 0;
  std::int16_t rating = 0;
  bool operator==(const Reassessment&) const = default;
};

struct SessionRecord {
  std::int64_t id = 0;  // the journal's number for it; 0 until stored
  std::string uid;      // unique across running copies of the program
  TimeMs started = 0;
  enmIssue issue = issNA;
  std::int16_t firstRating = 0;
  std::vector<Reassessment> reassessments;
  std::int32_t rounds = 0;
  std::optional<TimeMs> ended;
  SessionEnd end = SessionEnd::Open;
  std::string words;  // the user's own words for the issue; empty when none

  // The rating after tapping: the last re-assessment's. A session never
  // re-assessed has none.
  std::optional<std::int16_t> AfterRating() const {
    if (reassessments.empty()) return std::nullopt;
    return reassessments.back().rating;
  }
};

// "Finish", "Exit", "New session", or "" while open.
std::string_view EndText(SessionEnd end);
SessionEnd EndFromText(std::string_view text);

// Milliseconds since 1970 from the system clock.
TimeMs SystemNow();

// ISO 8601 in UTC to the second: "2026-03-01T18:05:09Z".
std::string IsoTime(TimeMs time);
// Reads what IsoTime writes; nullopt when the text is not such a time.
std::optional<TimeMs> ParseIsoTime(std::string_view text);

// Days since 1970-01-01 of a date of the proleptic Gregorian calendar, and back.
std::int64_t DaysFromCivil(std::int64_t year, unsigned month, unsigned day);
void CivilFromDays(std::int64_t days, std::int64_t& year, unsigned& month, unsigned& day);

// The journal as CSV (UTF-8, CR LF line ends, a header row, ISO 8601 times),
// one row per session in the given order.
std::string ToCsv(const std::vector<SessionRecord>& sessions);

}  // namespace serenitap::journal
