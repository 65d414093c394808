#include "journal/session_record.h"

#include <chrono>
#include <cstdio>

namespace serenitap::journal {
namespace {

std::int64_t FloorDiv(std::int64_t a, std::int64_t b) { return a / b - ((a % b != 0) && ((a < 0) != (b < 0)) ? 1 : 0); }

void AppendField(std::string& out, std::string_view field) {
  if (field.find_first_of(",\"\r\n") == std::string_view::npos) {
    out += field;
    return;
  }
  out += '"';
  for (char c : field) {
    if (c == '"') out += '"';
    out += c;
  }
  out += '"';
}

// A rating or a time that is unknown (or was never given) is an empty cell.
std::string RatingCell(std::optional<std::int16_t> rating) {
  return rating && KnownRating(*rating) ? std::to_string(*rating) : std::string();
}
std::string TimeCell(TimeMs time) { return KnownTime(time) ? IsoTime(time) : std::string(); }

}  // namespace

// H. Hinnant's civil-date algorithms.
std::int64_t DaysFromCivil(std::int64_t year, unsigned month, unsigned day) {
  std::int64_t y = year;
  const unsigned m = month, d = day;
  y -= m <= 2 ? 1 : 0;
  const std::int64_t era = (y >= 0 ? y : y - 399) / 400;
  const auto yoe = static_cast<unsigned>(y - era * 400);
  const unsigned doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
  const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + static_cast<std::int64_t>(doe) - 719468;
}

void CivilFromDays(std::int64_t days, std::int64_t& year, unsigned& month, unsigned& day) {
  const std::int64_t z = days + 719468;
  const std::int64_t era = (z >= 0 ? z : z - 146096) / 146097;
  const auto doe = static_cast<unsigned>(z - era * 146097);
  const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const unsigned mp = (5 * doy + 2) / 153;
  day = doy - (153 * mp + 2) / 5 + 1;
  month = mp < 10 ? mp + 3 : mp - 9;
  year = static_cast<std::int64_t>(yoe) + era * 400 + (month <= 2 ? 1 : 0);
}

TimeMs SystemNow() {
  using namespace std::chrono;
  return duration_cast<milliseconds>(system_clock::now().time_since_epoch()).count();
}

std::string_view EndText(SessionEnd end) {
  switch (end) {
    case SessionEnd::Finish: return "Finish";
    case SessionEnd::Exit: return "Exit";
    case SessionEnd::NewSession: return "New session";
    case SessionEnd::Open: break;
  }
  return "";
}

SessionEnd EndFromText(std::string_view text) {
  for (SessionEnd end : {SessionEnd::Finish, SessionEnd::Exit, SessionEnd::NewSession}) {
    if (text == EndText(end)) return end;
  }
  return SessionEnd::Open;
}

std::string IsoTime(TimeMs time) {
  const std::int64_t seconds = FloorDiv(time, 1000);
  const std::int64_t days = FloorDiv(seconds, 86400);
  const std::int64_t rest = seconds - days * 86400;
  std::int64_t y = 0;
  unsigned m = 0, d = 0;
  CivilFromDays(days, y, m, d);
  char text[40];
  std::snprintf(text, sizeof text, "%04lld-%02u-%02uT%02d:%02d:%02dZ", static_cast<long long>(y), m, d,
                static_cast<int>(rest / 3600), static_cast<int>(rest / 60 % 60), static_cast<int>(rest % 60));
  return text;
}

std::optional<TimeMs> ParseIsoTime(std::string_view text) {
  if (text.size() != 20 || text[4] != '-' || text[7] != '-' || text[10] != 'T' || text[13] != ':' || text[16] != ':' ||
      text[19] != 'Z') {
    return std::nullopt;
  }
  auto number = [&](std::size_t at, std::size_t length, int& value) {
    value = 0;
    for (std::size_t i = at; i < at + length; ++i) {
      if (text[i] < '0' || text[i] > '9') return false;
      value = value * 10 + (text[i] - '0');
    }
    return true;
  };
  int y = 0, mo = 0, d = 0, h = 0, mi = 0, s = 0;
  if (!number(0, 4, y) || !number(5, 2, mo) || !number(8, 2, d) || !number(11, 2, h) || !number(14, 2, mi) ||
      !number(17, 2, s) || mo < 1 || mo > 12 || d < 1 || d > 31 || h > 23 || mi > 59 || s > 60) {
    return std::nullopt;
  }
  const std::int64_t days = DaysFromCivil(y, static_cast<unsigned>(mo), static_cast<unsigned>(d));
  return ((days * 86400) + h * 3600 + mi * 60 + s) * 1000;
}

std::string ToCsv(const std::vector<SessionRecord>& sessions) {
  std::string out = "Started,Issue,First rating,Last rating,Re-assessments,Rounds,Ended,How it ended,Words\r\n";
  for (const SessionRecord& s : sessions) {
    AppendField(out, TimeCell(s.started));
    out += ',';
    AppendField(out, modIssues::GetIssueName(s.issue));
    out += ',' + RatingCell(s.firstRating) + ',' + RatingCell(s.AfterRating()) + ',';
    std::string ratings;
    for (const Reassessment& r : s.reassessments) {
      if (!ratings.empty()) ratings += ' ';
      ratings += TimeCell(r.at) + '=' + RatingCell(r.rating);
    }
    AppendField(out, ratings);
    out += ',' + std::to_string(s.rounds) + ',';
    if (s.ended) out += IsoTime(*s.ended);
    out += ',';
    AppendField(out, EndText(s.end));
    out += ',';
    AppendField(out, s.words);
    out += "\r\n";
  }
  return out;
}

}  // namespace serenitap::journal
