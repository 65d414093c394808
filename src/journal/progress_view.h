#pragma once
// What "My Progress" shows of the journal, as data: which sessions, the
// summary line, the chart (its kind, its points or trend, its time axis) and
// the line about one session. Only ratings that were given count: a session
// never re-assessed has no "after", and a rating or time that cannot be read
// back is unknown and left out of the averages and the chart.
//
// Times on the chart are local wall-clock milliseconds: the journal's UTC time
// plus the given offset from UTC.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "journal/session_record.h"

namespace serenitap::journal {

// The sessions of an issue (0: every issue), as indexes into sessions, newest
// first. Sessions whose time is unknown come last.
std::vector<std::uint32_t> ShownSessions(const std::vector<SessionRecord>& sessions, enmIssue issue);

struct ProgressSummary {
  std::size_t sessions = 0;
  std::size_t reassessed = 0;      // sessions with at least one re-assessment
  std::size_t averaged = 0;        // of those, the ones whose two ratings are known
  double averageFall = 0;          // first rating minus the last, over the averaged ones
  std::size_t unknownRatings = 0;  // re-assessed sessions left out for an unknown rating
};

ProgressSummary Summarise(const std::vector<SessionRecord>& sessions, const std::vector<std::uint32_t>& shown);

// "25 sessions, 18 re-assessed: the rating fell by 2.6 points on average."
// Empty for no sessions.
std::string SummaryText(const ProgressSummary& summary);

// One session in a line, as the closing page shows it:
// "Anxiety: 8 → 3 in 6 minutes", "Anxiety: 8, not re-assessed, 6 minutes".
std::string SessionLine(const SessionRecord& session);

// A rating for a table cell: "7", "unknown", or "" when none was given.
std::string RatingText(std::optional<std::int16_t> rating);

enum class ChartKind {
  Empty,     // nothing to draw
  Sessions,  // each session: its rating before and, when re-assessed, after
  Trend,     // per period: the median before and after, with the middle half
};

enum class TrendPeriod { Day, Week, Month, Quarter, Year };

struct ChartPoint {
  double x = 0;  // local wall-clock ms
  double y = 0;
  bool operator==(const ChartPoint&) const = default;
};

// The ratings of one period of a trend: the median and the quartiles.
struct TrendPoint {
  double x = 0;  // the middle of the period, local wall-clock ms
  double median = 0;
  double low = 0;   // first quartile
  double high = 0;  // third quartile
  std::size_t count = 0;
  bool operator==(const TrendPoint&) const = default;
};

struct AxisLabel {
  double at = 0;  // local wall-clock ms
  std::string text;
  bool operator==(const AxisLabel&) const = default;
};

struct ChartPlan {
  ChartKind kind = ChartKind::Empty;
  TrendPeriod period = TrendPeriod::Week;  // for Trend
  // Sessions: one point each; after only for re-assessed sessions.
  std::vector<ChartPoint> before, after;
  // Trend: one point per period that has ratings.
  std::vector<TrendPoint> beforeTrend, afterTrend;
  // The time axis: the sessions drawn with a small margin, its labels, and a
  // title naming the dates spanned ("5 Dec 2026 – 7 Jan 2027").
  double from = 0, to = 0;
  std::vector<AxisLabel> labels;
  std::string axisTitle;
  std::string title;
};

// Up to this many sessions are drawn one by one; more as a trend.
constexpr std::size_t kMostSessionsDrawn = 60;
// At most this many periods in a trend, and labels on the time axis.
constexpr std::size_t kMostTrendPoints = 120;
constexpr std::size_t kMostAxisLabels = 7;

ChartPlan PlanChart(const std::vector<SessionRecord>& sessions, const std::vector<std::uint32_t>& shown,
                    TimeMs utcOffset);

// "weekly", "monthly", … as the chart's title and legend say it.
std::string PeriodAdjective(TrendPeriod period);

}  // namespace serenitap::journal
