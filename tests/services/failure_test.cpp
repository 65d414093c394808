// The uniform error handler: what reaches the report, and what still runs.
#include "services/failure.h"

#include <gtest/gtest.h>

#include <new>
#include <stdexcept>

#include "support/recorders.h"

namespace serenitap {
namespace {

using testing::ReportRecorder;

TEST(Guarded, RunsTheBodyAndReportsNothingWhenItSucceeds) {
  ReportRecorder reports;
  int runs = 0;
  EXPECT_TRUE(Guarded("modX", "Proc", [&] { ++runs; }));
  EXPECT_EQ(runs, 1);
  EXPECT_TRUE(reports.reports.empty());
}

TEST(Guarded, ReportsNumberDescriptionModuleProcedureAndLine) {
  ReportRecorder reports;
  std::uint32_t line = 0;
  const bool completed = Guarded("frmMain", "tmrSteps_Timer", [&] {
    line = std::source_location::current().line() + 1;
    throw RuntimeFailure(11, "Division by zero");
  });
  EXPECT_FALSE(completed);
  ASSERT_EQ(reports.reports.size(), 1u);
  const ErrorReport& r = reports.reports[0];
  EXPECT_EQ(r.number, 11);
  EXPECT_EQ(r.description, "Division by zero");
  EXPECT_EQ(r.module, "frmMain");
  EXPECT_EQ(r.procedure, "tmrSteps_Timer");
  EXPECT_EQ(r.extra, "Line: " + std::to_string(line));
  EXPECT_EQ(r.version, "2.0");
  EXPECT_EQ(r.build, 201);
}

TEST(Guarded, StepsAfterTheFailureDoNotRunButClosingStepsAndBeforeReportDo) {
  ReportRecorder reports;
  std::vector<std::string> order;
  {
    ScopeExit closing([&] { order.push_back("closing"); });
    Guarded(
        "frmMain", "cmdNavig_Click",
        [&] {
          order.push_back("body");
          throw std::out_of_range("index");
          order.push_back("after");  // never reached
        },
        [&] { order.push_back("stop timer (" + std::to_string(reports.reports.size()) + " reports)"); });
    order.push_back("normal exit");
  }
  EXPECT_EQ(order, (std::vector<std::string>{"body", "stop timer (0 reports)", "normal exit", "closing"}));
  ASSERT_EQ(reports.reports.size(), 1u);
}

struct StdCase {
  std::exception_ptr failure;
  std::int32_t number;
  std::string description;
  friend void PrintTo(const StdCase& c, std::ostream* os) { *os << c.number << ' ' << c.description; }
};

class StandardFailures : public ::testing::TestWithParam<StdCase> {};

TEST_P(StandardFailures, MapToFixedNumbersWithoutALine) {
  ReportRecorder reports;
  Guarded("modSteps", "GetStepName", [&] { std::rethrow_exception(GetParam().failure); });
  ASSERT_EQ(reports.reports.size(), 1u);
  EXPECT_EQ(reports.reports[0].number, GetParam().number);
  EXPECT_EQ(reports.reports[0].description, GetParam().description);
  EXPECT_EQ(reports.reports[0].extra, "");
}

INSTANTIATE_TEST_SUITE_P(
    Table, StandardFailures,
    ::testing::Values(StdCase{std::make_exception_ptr(std::bad_alloc()), 7, "Out of memory"},
                      StdCase{std::make_exception_ptr(std::out_of_range("x")), 9, "Subscript out of range"},
                      StdCase{std::make_exception_ptr(std::invalid_argument("x")), 5,
                              "Invalid procedure call or argument"},
                      StdCase{std::make_exception_ptr(std::overflow_error("x")), 6, "Overflow"},
                      StdCase{std::make_exception_ptr(std::runtime_error("disk")), 51, "Internal error: disk"},
                      StdCase{std::make_exception_ptr(42), 51, "Internal error"}));

TEST(Guarded, AFailingReportSinkOrBeforeStepNeverEscapes) {
  auto previous = SetReportErrorSink([](const ErrorReport&) { throw std::runtime_error("sink"); });
  EXPECT_FALSE(Guarded(
      "m", "p", [] { throw RuntimeFailure(1, "x"); }, [] { throw std::runtime_error("timer"); }));
  SetReportErrorSink(previous);
}

TEST(MsgBox, UsesTheApplicationTitleAndScriptedAnswers) {
  testing::MessageBoxRecorder boxes;
  boxes.answers = {MsgAnswer::No};
  EXPECT_EQ(MsgBox("Run another copy?", MsgButtons::YesNo, MsgIcon::Question), MsgAnswer::No);
  // Unscripted: answered as closing the box would.
  EXPECT_EQ(MsgBox("Save?", MsgButtons::YesNoCancel), MsgAnswer::Cancel);
  ASSERT_EQ(boxes.requests.size(), 2u);
  EXPECT_EQ(boxes.requests[0].title, "Serenitap");
  EXPECT_EQ(boxes.requests[0].icon, MsgIcon::Question);
}

TEST(MsgBox, AFailingSinkGivesTheDismissAnswer) {
  auto previous = SetMessageBoxSink([](const MessageBoxRequest&) -> MsgAnswer { throw std::bad_alloc(); });
  EXPECT_EQ(MsgBox("x", MsgButtons::YesNo), MsgAnswer::No);
  SetMessageBoxSink(previous);
}

}  // namespace
}  // namespace serenitap
