// What "My Progress" shows for a list of sessions: the order, the summary line,
// the closing page's line and the chart's data, for journals of any length.
#include <gtest/gtest.h>

#include <sqlite3.h>

#include <algorithm>
#include <set>

#include "journal/journal_store.h"
#include "journal/progress_view.h"
#include "support/temp_folder.h"

namespace serenitap::journal {
namespace {

constexpr TimeMs kMinute = 60'000;
constexpr TimeMs kHour = 60 * kMinute;
constexpr TimeMs kDay = 24 * kHour;
constexpr TimeMs kSat = 1796507700000;  // 2026-12-05T21:55:00Z

// A session: its issue, first rating, re-assessments (none: never re-assessed).
SessionRecord Session(TimeMs started, std::int16_t first, std::vector<std::int16_t> after = {},
                      enmIssue issue = issAnxietyFearPanicPhobia) {
  SessionRecord s;
  s.started = started;
  s.issue = issue;
  s.firstRating = first;
  for (std::size_t i = 0; i < after.size(); ++i) {
    s.reassessments.push_back({started + static_cast<TimeMs>(i + 1) * 3 * kMinute, after[i]});
  }
  return s;
}

std::vector<std::uint32_t> All(const std::vector<SessionRecord>& sessions) { return ShownSessions(sessions, issNA); }

// name, sessions, the summary line
using SummaryRow = std::tuple<const char*, std::vector<SessionRecord>, const char*>;

const SummaryRow kSummaryRows[] = {
    {"NeverReassessedLeftOut",
     {Session(kSat, 7), Session(kSat + kDay, 8, {6, 5}), Session(kSat + 2 * kDay, 6, {2})},
     "3 sessions, 2 re-assessed: the rating fell by 3.5 points on average."},
    {"NoneReassessed", {Session(kSat, 7)}, "1 session, none re-assessed yet."},
    {"Thousands", std::vector<SessionRecord>(100'000, Session(kSat, 7, {5})),
     "100,000 sessions, 100,000 re-assessed: the rating fell by 2.0 points on average."},
    {"Rose", {Session(kSat, 3, {4})}, "1 session, 1 re-assessed: the rating rose by 1.0 point on average."},
    {"Same",
     {Session(kSat, 3, {4}), Session(kSat, 6, {5})},
     "2 sessions, 2 re-assessed: the rating stayed the same on average."},
    {"UnreadableRatingsLeftOut",
     {Session(kSat, RatingRead(11), {3}), Session(kSat, 8, {RatingRead(-5)}), Session(kSat, 9, {4})},
     "3 sessions, 3 re-assessed: the rating fell by 5.0 points on average. 2 sessions have ratings that cannot be "
     "read, left out of the average."},
    {"OnlyUnreadable",
     {Session(kSat, RatingRead(2147483647), {2})},
     "1 session, 1 re-assessed. 1 session has a rating that cannot be read."}};

// Names each row's test after the row.
const auto kRowName = [](const auto& info) { return std::string(std::get<0>(info.param)); };

class SummaryLine : public ::testing::TestWithParam<SummaryRow> {};

TEST_P(SummaryLine, CountsOnlyTheRatingsGiven) {
  const auto& [name, sessions, text] = GetParam();
  EXPECT_EQ(SummaryText(Summarise(sessions, All(sessions))), text);
}

INSTANTIATE_TEST_SUITE_P(Journal, SummaryLine, ::testing::ValuesIn(kSummaryRows), kRowName);

TEST(ShownSessions, NewestFirstOfTheIssueChosenUnknownTimesLast) {
  const std::vector<SessionRecord> sessions = {
      Session(kSat, 1, {}, issAnxietyFearPanicPhobia), Session(kUnknownTime, 2, {}, issAnxietyFearPanicPhobia),
      Session(kSat + kDay, 3, {}, issGuilt), Session(kSat + 2 * kDay, 4, {}, issAnxietyFearPanicPhobia)};
  EXPECT_EQ(ShownSessions(sessions, issNA), (std::vector<std::uint32_t>{3, 2, 0, 1}));
  EXPECT_EQ(ShownSessions(sessions, issAnxietyFearPanicPhobia), (std::vector<std::uint32_t>{3, 0, 1}));
  EXPECT_EQ(ShownSessions(sessions, issGuilt), (std::vector<std::uint32_t>{2}));
  EXPECT_TRUE(ShownSessions(sessions, issNegativeMemory).empty());
}

// name, session, how long it lasted (none: still open), the line
using LineRow = std::tuple<const char*, SessionRecord, std::optional<TimeMs>, const char*>;

class ClosingLine : public ::testing::TestWithParam<LineRow> {};

TEST_P(ClosingLine, SaysTheIssueTheTwoRatingsAndTheMinutes) {
  auto [name, s, lasted, text] = GetParam();
  if (lasted) s.ended = s.started + *lasted;
  EXPECT_EQ(SessionLine(s), text);
}

const LineRow kLineRows[] = {
    {"Reassessed", Session(kSat, 8, {5, 3}), 6 * kMinute + 10'000, "Anxiety, fear, panic, phobia: 8 → 3 in 6 minutes"},
    {"NotReassessed", Session(kSat, 7), kMinute + 29'000, "Anxiety, fear, panic, phobia: 7, not re-assessed, 1 minute"},
    {"UnderAMinute", Session(kSat, 4, {4}, issGuilt), 20'000, "Guilt: 4 → 4 in less than a minute"},
    {"StillOpen", Session(kSat, 9, {6}, issGuilt), std::nullopt, "Guilt: 9 → 6"}};

INSTANTIATE_TEST_SUITE_P(Journal, ClosingLine, ::testing::ValuesIn(kLineRows), kRowName);

TEST(ProgressChart, EachSessionBeforeAndOnlyTheAftersGivenInTimeOrder) {
  const std::vector<SessionRecord> sessions = {
      Session(kSat + kDay, 7), Session(kSat, 8, {6, 3}), Session(kSat + 2 * kDay, RatingRead(1000), {2}),
      Session(kUnknownTime, 5, {1}), Session(kSat + 3 * kDay, 4, {RatingRead(1000)})};
  const ChartPlan plan = PlanChart(sessions, All(sessions), 0);
  ASSERT_EQ(plan.kind, ChartKind::Sessions);
  const auto x = [](TimeMs at) { return static_cast<double>(at); };
  EXPECT_EQ(plan.before, (std::vector<ChartPoint>{{x(kSat), 8}, {x(kSat + kDay), 7}, {x(kSat + 3 * kDay), 4}}));
  EXPECT_EQ(plan.after, (std::vector<ChartPoint>{{x(kSat), 3}, {x(kSat + 2 * kDay), 2}}));
  EXPECT_TRUE(plan.beforeTrend.empty());
  EXPECT_EQ(plan.axisTitle, "5 Dec 2026 – 8 Dec 2026");
}

// Four sessions a week, Monday to Thursday, for forty weeks: rated 2, 4, 6, 8
// before; only the first two re-assessed, to 1 and 3.
TEST(ProgressChart, ManySessionsBecomeTheWeeklyMedianWithTheMiddleHalf) {
  constexpr TimeMs kMonday = 1772409600000 + 12 * kHour;  // 2026-03-02, noon
  std::vector<SessionRecord> sessions;
  for (int week = 0; week < 40; ++week) {
    for (int day = 0; day < 4; ++day) {
      const TimeMs at = kMonday + (week * 7 + day) * kDay;
      sessions.push_back(
          day < 2 ? Session(at, static_cast<std::int16_t>(2 + 2 * day), {static_cast<std::int16_t>(1 + 2 * day)})
                  : Session(at, static_cast<std::int16_t>(2 + 2 * day)));
    }
  }
  const ChartPlan plan = PlanChart(sessions, All(sessions), 0);
  ASSERT_EQ(plan.kind, ChartKind::Trend);
  EXPECT_EQ(plan.period, TrendPeriod::Week);
  ASSERT_EQ(plan.beforeTrend.size(), 40u);
  ASSERT_EQ(plan.afterTrend.size(), 40u);
  for (int week = 0; week < 40; ++week) {
    SCOPED_TRACE(week);
    const TrendPoint& before = plan.beforeTrend[static_cast<std::size_t>(week)];
    const TrendPoint& after = plan.afterTrend[static_cast<std::size_t>(week)];
    EXPECT_EQ(std::tie(before.median, before.low, before.high, before.count), std::tuple(5.0, 3.5, 6.5, 4u));
    EXPECT_EQ(std::tie(after.median, after.low, after.high, after.count), std::tuple(2.0, 1.5, 2.5, 2u));
    const double weekStart = static_cast<double>(kMonday - 12 * kHour + week * 7 * kDay);
    EXPECT_GE(before.x, weekStart);
    EXPECT_LT(before.x, weekStart + static_cast<double>(7 * kDay));
  }
}

// Sessions eight hours apart, as the benchmark's journals are made.
class ChartAtAnyLength : public ::testing::TestWithParam<int> {};

TEST_P(ChartAtAnyLength, AxisSpansTheSessionsWithAFewUniqueLabelsAndABoundedTrend) {
  std::vector<SessionRecord> sessions;
  for (int i = 0; i < GetParam(); ++i) {
    sessions.push_back(Session(kSat - static_cast<TimeMs>(GetParam() - 1 - i) * 8 * kHour,
                               static_cast<std::int16_t>(5 + i % 6), {static_cast<std::int16_t>(i % 4)}));
  }
  const ChartPlan plan = PlanChart(sessions, All(sessions), kHour);
  EXPECT_EQ(plan.kind, GetParam() <= static_cast<int>(kMostSessionsDrawn) ? ChartKind::Sessions : ChartKind::Trend);
  const double first = static_cast<double>(sessions.front().started + kHour);
  const double last = static_cast<double>(sessions.back().started + kHour);
  EXPECT_LE(plan.from, first);
  EXPECT_GE(plan.to, last);
  // A small margin: a twentieth of the span or half an hour each side, or two hours in all for a short one.
  const double span = last - first;
  EXPECT_LE(plan.to - plan.from,
            std::max({span * 1.1, span + static_cast<double>(kHour), static_cast<double>(2 * kHour)}));
  EXPECT_LE(plan.beforeTrend.size(), kMostTrendPoints);
  ASSERT_GE(plan.labels.size(), 2u);
  EXPECT_LE(plan.labels.size(), kMostAxisLabels);
  std::set<std::string> texts;
  for (std::size_t i = 0; i < plan.labels.size(); ++i) {
    EXPECT_TRUE(texts.insert(plan.labels[i].text).second) << plan.labels[i].text << " repeats";
    EXPECT_GE(plan.labels[i].at, plan.from);
    EXPECT_LE(plan.labels[i].at, plan.to);
    if (i > 0) {
      EXPECT_GT(plan.labels[i].at, plan.labels[i - 1].at);
    }
  }
  for (const auto* line : {&plan.beforeTrend, &plan.afterTrend}) {
    for (const TrendPoint& p : *line) {
      EXPECT_GE(p.x, first);
      EXPECT_LE(p.x, last);
      EXPECT_LE(p.low, p.median);
      EXPECT_LE(p.median, p.high);
    }
  }
}

INSTANTIATE_TEST_SUITE_P(Journal, ChartAtAnyLength,
                         ::testing::Values(1, 2, 3, 20, 60, 61, 500, 10'000, 20'000, 100'000));

// Values edited by hand in the file are read back as unknown, never as another number.
TEST(JournalReadBack, RatingsOutsideTheScaleAndTimesThatDoNotParseAreUnknown) {
  testing::TempFolder folder;
  const std::string path = folder / "journal.sqlite";
  // name, the time and the rating as edited, the rating read, whether the time is known
  const std::tuple<const char*, const char*, const char*, std::int16_t, bool> rows[] = {
      {"InRange", "'2026-02-28T21:55:00Z'", "10", 10, true},
      {"Negative", "'2026-12-05T21:55:00Z'", "-5", kUnknownRating, true},
      {"Eleven", "'2026-12-05T21:55:00Z'", "11", kUnknownRating, true},
      {"Largest", "'2026-12-05T21:55:00Z'", "2147483647", kUnknownRating, true},
      {"Text", "'2026-12-05T21:55:00Z'", "'seven'", kUnknownRating, true},
      {"Fraction", "'2026-12-05T21:55:00Z'", "2.5", kUnknownRating, true},
      {"BadTime", "'yesterday'", "3", 3, false},
      {"Hour24", "'2026-12-05T24:00:00Z'", "3", 3, false}};
  {
    JournalStore store(path);
    std::string sql;
    int n = 0;
    for (const auto& [name, started, rating, first, knownTime] : rows) {
      const std::string id = std::to_string(++n);
      sql += "INSERT INTO sessions (id, uid, started, issue, issue_name, first_rating) VALUES (" + id + ", '" + id +
             "', " + started + ", 20, 'x', " + rating + ");";
      sql += "INSERT INTO reassessments VALUES (" + id + ", 1, " + started + ", " + rating + ");";
    }
    ASSERT_EQ(sqlite3_exec(store.Handle(), sql.c_str(), nullptr, nullptr, nullptr), SQLITE_OK);
  }
  const auto sessions = JournalStore(path).Sessions();
  ASSERT_EQ(sessions.size(), std::size(rows));
  for (const SessionRecord& s : sessions) {
    const auto& [name, started, rating, first, knownTime] = rows[s.id - 1];
    SCOPED_TRACE(name);
    EXPECT_EQ(s.firstRating, first);
    EXPECT_EQ(s.AfterRating(), first);
    EXPECT_EQ(KnownTime(s.started), knownTime);
  }
  // Only the three sessions whose ratings are known count, and only the one placed in time is drawn.
  const auto summary = Summarise(sessions, All(sessions));
  EXPECT_EQ(std::tie(summary.reassessed, summary.averaged, summary.unknownRatings), std::tuple(8u, 3u, 5u));
  const ChartPlan plan = PlanChart(sessions, All(sessions), 0);
  EXPECT_EQ(plan.before, (std::vector<ChartPoint>{{1772315700000.0, 10}}));  // 2026-02-28T21:55:00Z
}

}  // namespace
}  // namespace serenitap::journal
