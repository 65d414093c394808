#pragma once
// What the journal keeps of one session: when it started, its issue, the
// rating given before tapping, every re-assessment with its time, the rounds
// tapped, and when and how it ended. Times are milliseconds since 1970 (UTC).
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "content/issues.h"

namespace serenitap::journal {

using TimeMs = std::int64_t;

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
  enmIssue issue = 0;
  std::int16_t firstRating = 0;
  std::vector<Reassessment> reassessments;
  std::int32_t rounds = 0;
  std::optional<TimeMs> ended;
  SessionEnd end = SessionEnd::Open;

  // The last rating given: the last re-assessment, else the first rating.
  std::int16_t LastRating() const { return reassessments.empty() ? firstRating : reassessments.back().rating; }
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

// The journal as CSV (UTF-8, CR LF line ends, a header row, ISO 8601 times),
// one row per session in the given order.
std::string ToCsv(const std::vector<SessionRecord>& sessions);

}  // namespace serenitap::journal
