#include "journal/progress_view.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <functional>
#include <map>

#include "content/issues.h"

namespace serenitap::journal {
namespace {

constexpr TimeMs kHour = 3'600'000;
constexpr TimeMs kDay = 24 * kHour;
constexpr std::array<const char*, 12> kMonths = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                                 "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};

std::int64_t FloorDiv(std::int64_t a, std::int64_t b) { return a / b - ((a % b != 0) && ((a < 0) != (b < 0)) ? 1 : 0); }
std::int64_t CeilDiv(std::int64_t a, std::int64_t b) { return -FloorDiv(-a, b); }

struct Civil {
  std::int64_t year = 0;
  unsigned month = 1, day = 1;
  int hour = 0;
};

Civil CivilOf(TimeMs local) {
  Civil c;
  const std::int64_t days = FloorDiv(local, kDay);
  CivilFromDays(days, c.year, c.month, c.day);
  c.hour = static_cast<int>((local - days * kDay) / kHour);
  return c;
}

// A month counted from year 0: year * 12 + month - 1.
std::int64_t MonthIndex(TimeMs local) {
  const Civil c = CivilOf(local);
  return c.year * 12 + c.month - 1;
}
TimeMs MonthStart(std::int64_t monthIndex) {
  const std::int64_t year = FloorDiv(monthIndex, 12);
  return DaysFromCivil(year, static_cast<unsigned>(monthIndex - year * 12 + 1), 1) * kDay;
}

// 1970-01-01 was a Thursday: day 4 is the first Monday.
std::int64_t WeekIndex(TimeMs local) { return FloorDiv(FloorDiv(local, kDay) + 3, 7); }
TimeMs WeekStart(std::int64_t week) { return (week * 7 - 3) * kDay; }

std::string DayText(TimeMs local, bool withYear) {
  const Civil c = CivilOf(local);
  char text[48];
  if (withYear) {
    std::snprintf(text, sizeof text, "%u %s %lld", c.day, kMonths[c.month - 1], static_cast<long long>(c.year));
  } else {
    std::snprintf(text, sizeof text, "%u %s", c.day, kMonths[c.month - 1]);
  }
  return text;
}

// 10000 as "10,000".
std::string Grouped(std::size_t n) {
  std::string digits = std::to_string(n);
  for (std::size_t at = digits.size(); at > 3; at -= 3) digits.insert(at - 3, 1, ',');
  return digits;
}

std::string Count(std::size_t n, const char* one, const char* many) { return Grouped(n) + ' ' + (n == 1 ? one : many); }

// A period of a trend: its number for a time, and where a number starts.
struct Period {
  TrendPeriod kind;
  std::function<std::int64_t(TimeMs)> index;
  std::function<TimeMs(std::int64_t)> start;
};

Period PeriodOf(TrendPeriod kind) {
  switch (kind) {
    case TrendPeriod::Day:
      return {kind, [](TimeMs t) { return FloorDiv(t, kDay); }, [](std::int64_t i) { return i * kDay; }};
    case TrendPeriod::Week: return {kind, WeekIndex, WeekStart};
    case TrendPeriod::Month: return {kind, MonthIndex, MonthStart};
    case TrendPeriod::Quarter:
      return {kind, [](TimeMs t) { return FloorDiv(MonthIndex(t), 3); },
              [](std::int64_t i) { return MonthStart(i * 3); }};
    case TrendPeriod::Year:
      return {kind, [](TimeMs t) { return FloorDiv(MonthIndex(t), 12); },
              [](std::int64_t i) { return MonthStart(i * 12); }};
  }
  return PeriodOf(TrendPeriod::Year);
}

// The q-quantile of sorted values, interpolated between neighbours.
double Quantile(const std::vector<std::int16_t>& sorted, double q) {
  const double at = q * static_cast<double>(sorted.size() - 1);
  const auto below = static_cast<std::size_t>(std::floor(at));
  const std::size_t above = std::min(below + 1, sorted.size() - 1);
  return sorted[below] + (at - static_cast<double>(below)) * (sorted[above] - sorted[below]);
}

TrendPoint TrendOf(double x, std::vector<std::int16_t>& ratings) {
  std::sort(ratings.begin(), ratings.end());
  return {x, Quantile(ratings, 0.5), Quantile(ratings, 0.25), Quantile(ratings, 0.75), ratings.size()};
}

// Ticks of the time axis: a kind of step and the labels it gives in [from, to].
struct TickStep {
  enum Unit { Hours, Days, Weeks, Months, Years } unit;
  std::int64_t size;
};

constexpr TickStep kTickSteps[] = {
    {TickStep::Hours, 1},    {TickStep::Hours, 2},    {TickStep::Hours, 3},    {TickStep::Hours, 6},
    {TickStep::Hours, 12},   {TickStep::Days, 1},     {TickStep::Days, 2},     {TickStep::Weeks, 1},
    {TickStep::Weeks, 2},    {TickStep::Months, 1},   {TickStep::Months, 2},   {TickStep::Months, 3},
    {TickStep::Months, 6},   {TickStep::Years, 1},    {TickStep::Years, 2},    {TickStep::Years, 5},
    {TickStep::Years, 10},   {TickStep::Years, 20},   {TickStep::Years, 50},   {TickStep::Years, 100},
    {TickStep::Years, 200},  {TickStep::Years, 500},  {TickStep::Years, 1000}, {TickStep::Years, 2000},
    {TickStep::Years, 5000}, {TickStep::Years, 10000}};

// The times of the ticks of a step within [from, to]; stops counting past limit.
std::vector<TimeMs> Ticks(TickStep step, TimeMs from, TimeMs to, std::size_t limit) {
  std::vector<TimeMs> ticks;
  auto each = [&](std::int64_t first, auto&& startOf) {
    for (std::int64_t i = first;; i += step.size) {
      const TimeMs at = startOf(i);
      if (at > to || ticks.size() > limit) break;
      if (at >= from) ticks.push_back(at);
    }
  };
  switch (step.unit) {
    case TickStep::Hours:
      each(CeilDiv(from, kHour * step.size) * step.size, [](std::int64_t i) { return i * kHour; });
      break;
    case TickStep::Days:
      each(CeilDiv(from, kDay * step.size) * step.size, [](std::int64_t i) { return i * kDay; });
      break;
    case TickStep::Weeks: each(FloorDiv(WeekIndex(from), step.size) * step.size, WeekStart); break;
    case TickStep::Months: each(FloorDiv(MonthIndex(from), step.size) * step.size, MonthStart); break;
    case TickStep::Years:
      each(FloorDiv(FloorDiv(MonthIndex(from), 12), step.size) * step.size,
           [](std::int64_t year) { return MonthStart(year * 12); });
      break;
  }
  return ticks;
}

std::string TickText(TickStep::Unit unit, TimeMs at, bool oneDay) {
  const Civil c = CivilOf(at);
  char text[48];
  switch (unit) {
    case TickStep::Hours:
      if (oneDay) {
        std::snprintf(text, sizeof text, "%02d:00", c.hour);
      } else {
        std::snprintf(text, sizeof text, "%u %s %02d:00", c.day, kMonths[c.month - 1], c.hour);
      }
      return text;
    case TickStep::Days:
    case TickStep::Weeks: return DayText(at, false);
    case TickStep::Months:
      std::snprintf(text, sizeof text, "%s %lld", kMonths[c.month - 1], static_cast<long long>(c.year));
      return text;
    case TickStep::Years: std::snprintf(text, sizeof text, "%lld", static_cast<long long>(c.year)); return text;
  }
  return {};
}

std::vector<AxisLabel> AxisLabels(TimeMs from, TimeMs to) {
  const bool oneDay = FloorDiv(from, kDay) == FloorDiv(to, kDay);
  for (const TickStep& step : kTickSteps) {
    const std::vector<TimeMs> ticks = Ticks(step, from, to, kMostAxisLabels);
    if (ticks.size() > kMostAxisLabels) continue;
    std::vector<AxisLabel> labels;
    for (TimeMs at : ticks) labels.push_back({static_cast<double>(at), TickText(step.unit, at, oneDay)});
    return labels;
  }
  return {};
}

}  // namespace

std::vector<std::uint32_t> ShownSessions(const std::vector<SessionRecord>& sessions, enmIssue issue) {
  std::vector<std::uint32_t> shown;
  for (std::size_t i = 0; i < sessions.size(); ++i) {
    if (issue == issNA || sessions[i].issue == issue) shown.push_back(static_cast<std::uint32_t>(i));
  }
  // Newest first; an unknown time (the smallest number) sorts last.
  std::stable_sort(shown.begin(), shown.end(),
                   [&](std::uint32_t a, std::uint32_t b) { return sessions[a].started > sessions[b].started; });
  return shown;
}

ProgressSummary Summarise(const std::vector<SessionRecord>& sessions, const std::vector<std::uint32_t>& shown) {
  ProgressSummary summary;
  double fall = 0;
  for (std::uint32_t i : shown) {
    const SessionRecord& s = sessions[i];
    ++summary.sessions;
    const std::optional<std::int16_t> after = s.AfterRating();
    if (!after) continue;
    ++summary.reassessed;
    if (KnownRating(s.firstRating) && KnownRating(*after)) {
      ++summary.averaged;
      fall += s.firstRating - *after;
    } else {
      ++summary.unknownRatings;
    }
  }
  if (summary.averaged > 0) summary.averageFall = fall / static_cast<double>(summary.averaged);
  return summary;
}

std::string SummaryText(const ProgressSummary& summary) {
  if (summary.sessions == 0) return {};
  std::string text = Count(summary.sessions, "session", "sessions");
  if (summary.reassessed == 0) return text + ", none re-assessed yet.";
  text += ", " + Grouped(summary.reassessed) + " re-assessed";
  if (summary.averaged > 0) {
    char points[32];
    std::snprintf(points, sizeof points, "%.1f", std::fabs(summary.averageFall));
    if (std::string(points) == "0.0") {
      text += ": the rating stayed the same on average.";
    } else {
      text += std::string(": the rating ") + (summary.averageFall > 0 ? "fell" : "rose") + " by " + points +
              (std::string(points) == "1.0" ? " point" : " points") + " on average.";
    }
  } else {
    text += '.';
  }
  if (summary.unknownRatings > 0) {
    text += ' ' + Count(summary.unknownRatings, "session has a rating", "sessions have ratings") +
            " that cannot be read" + (summary.averaged > 0 ? ", left out of the average." : ".");
  }
  return text;
}

std::string RatingText(std::optional<std::int16_t> rating) {
  if (!rating) return {};
  return KnownRating(*rating) ? std::to_string(*rating) : std::string("unknown");
}

std::string SessionLine(const SessionRecord& session) {
  std::string line = modIssues::GetIssueName(session.issue) + ": " + RatingText(session.firstRating);
  const std::optional<std::int16_t> after = session.AfterRating();
  std::string minutes;
  if (session.ended && KnownTime(session.started)) {
    const auto whole =
        static_cast<std::int64_t>(std::llround(static_cast<double>(*session.ended - session.started) / 60000.0));
    minutes =
        whole < 1 ? std::string("less than a minute") : Count(static_cast<std::size_t>(whole), "minute", "minutes");
  }
  if (after) {
    line += " → " + RatingText(after);
    if (!minutes.empty()) line += " in " + minutes;
  } else {
    line += ", not re-assessed";
    if (!minutes.empty()) line += ", " + minutes;
  }
  return line;
}

std::string PeriodAdjective(TrendPeriod period) {
  switch (period) {
    case TrendPeriod::Day: return "daily";
    case TrendPeriod::Week: return "weekly";
    case TrendPeriod::Month: return "monthly";
    case TrendPeriod::Quarter: return "quarterly";
    case TrendPeriod::Year: return "yearly";
  }
  return {};
}

ChartPlan PlanChart(const std::vector<SessionRecord>& sessions, const std::vector<std::uint32_t>& shown,
                    TimeMs utcOffset) {
  ChartPlan plan;
  // The sessions that can be placed in time, oldest first.
  std::vector<const SessionRecord*> placed;
  placed.reserve(shown.size());
  for (auto it = shown.rbegin(); it != shown.rend(); ++it) {
    if (KnownTime(sessions[*it].started)) placed.push_back(&sessions[*it]);
  }
  std::stable_sort(placed.begin(), placed.end(),
                   [](const SessionRecord* a, const SessionRecord* b) { return a->started < b->started; });
  if (placed.empty()) return plan;
  auto local = [&](const SessionRecord* s) { return s->started + utcOffset; };
  const TimeMs first = local(placed.front());
  const TimeMs last = local(placed.back());

  if (placed.size() <= kMostSessionsDrawn) {
    plan.kind = ChartKind::Sessions;
    plan.title = "Distress before and after tapping, each session (lower is better)";
    for (const SessionRecord* s : placed) {
      const auto x = static_cast<double>(local(s));
      if (KnownRating(s->firstRating)) plan.before.push_back({x, static_cast<double>(s->firstRating)});
      if (const auto after = s->AfterRating(); after && KnownRating(*after)) {
        plan.after.push_back({x, static_cast<double>(*after)});
      }
    }
  } else {
    plan.kind = ChartKind::Trend;
    // The shortest period that keeps the trend within its number of points.
    Period period = PeriodOf(TrendPeriod::Year);
    for (TrendPeriod kind : {TrendPeriod::Day, TrendPeriod::Week, TrendPeriod::Month, TrendPeriod::Quarter}) {
      const Period candidate = PeriodOf(kind);
      if (candidate.index(last) - candidate.index(first) < static_cast<std::int64_t>(kMostTrendPoints)) {
        period = candidate;
        break;
      }
    }
    plan.period = period.kind;
    plan.title = "Distress before and after tapping, " + PeriodAdjective(period.kind) +
                 " median and middle half (lower is better)";
    std::vector<std::int16_t> before, after;
    for (std::size_t i = 0; i < placed.size();) {
      const std::int64_t index = period.index(local(placed[i]));
      before.clear();
      after.clear();
      for (; i < placed.size() && period.index(local(placed[i])) == index; ++i) {
        if (KnownRating(placed[i]->firstRating)) before.push_back(placed[i]->firstRating);
        if (const auto rating = placed[i]->AfterRating(); rating && KnownRating(*rating)) after.push_back(*rating);
      }
      // The middle of the period, kept within the sessions' own span.
      const double middle =
          std::clamp((static_cast<double>(period.start(index)) + static_cast<double>(period.start(index + 1))) / 2,
                     static_cast<double>(first), static_cast<double>(last));
      if (!before.empty()) plan.beforeTrend.push_back(TrendOf(middle, before));
      if (!after.empty()) plan.afterTrend.push_back(TrendOf(middle, after));
    }
  }

  // The time axis: the sessions and a small margin; never narrower than two hours.
  const TimeMs margin = std::max<TimeMs>((last - first) / 25, kHour / 2);
  TimeMs from = first - margin, to = last + margin;
  if (to - from < 2 * kHour) {
    const TimeMs middle = first + (last - first) / 2;
    from = middle - kHour;
    to = middle + kHour;
  }
  plan.from = static_cast<double>(from);
  plan.to = static_cast<double>(to);
  plan.labels = AxisLabels(from, to);
  plan.axisTitle = FloorDiv(first, kDay) == FloorDiv(last, kDay) ? DayText(first, true)
                                                                 : DayText(first, true) + " – " + DayText(last, true);
  return plan;
}

}  // namespace serenitap::journal
