// The uniform error handler: what reaches the report, and what still runs;
// message boxes and their answers.
#include "services/failure.h"

#include <gtest/gtest.h>

#include <new>
#include <stdexcept>

#include "support/recorders.h"

namespace serenitap {
namespace {

using testing::ReportRecorder;

TEST(Guarded, ReportsNumberDescriptionModuleProcedureAndLine) {
  ReportRecorder reports;
  EXPECT_TRUE(Guarded("modX", "Proc", [] {}));
  EXPECT_TRUE(reports.reports.empty());
  std::uint32_t line = 0;
  const bool completed = Guarded("frmMain", "tmrSteps_Timer", [&] {
    line = std::source_location::current().line() + 1;
    throw RuntimeFailure(11, "Division by zero");
  });
  EXPECT_FALSE(completed);
  ASSERT_EQ(reports.reports.size(), 1u);
  EXPECT_EQ(reports.reports[0],
            (ErrorReport{11, "Division by zero", "2.0", 201, "frmMain", "tmrSteps_Timer", "Line: " + std::to_string(line)}));
}

TEST(Guarded, TheRestOfTheBodyIsSkippedTheBeforeStepRunsFirstAndClosingStepsStillRun) {
  ReportRecorder reports;
  bool after = false, closed = false;
  std::size_t reports_before = 99;
  {
    ScopeExit closing([&] { closed = true; });
    Guarded(
        "frmMain", "cmdNavig_Click",
        [&] {
          throw std::out_of_range("index");
          after = true;
        },
        [&] { reports_before = reports.reports.size(); });
    EXPECT_FALSE(closed);
  }
  EXPECT_TRUE(closed);
  EXPECT_FALSE(after);
  EXPECT_EQ(reports_before, 0u);
  EXPECT_EQ(reports.reports.size(), 1u);
}

TEST(Guarded, StandardFailuresMapToFixedNumbersWithoutALine) {
  const std::tuple<std::exception_ptr, std::int32_t, const char*> table[] = {
      {std::make_exception_ptr(std::bad_alloc()), 7, "Out of memory"},
      {std::make_exception_ptr(std::out_of_range("x")), 9, "Subscript out of range"},
      {std::make_exception_ptr(std::invalid_argument("x")), 5, "Invalid procedure call or argument"},
      {std::make_exception_ptr(std::overflow_error("x")), 6, "Overflow"},
      {std::make_exception_ptr(std::runtime_error("disk")), 51, "Internal error: disk"},
      {std::make_exception_ptr(42), 51, "Internal error"}};
  for (const auto& [failure, number, description] : table) {
    ReportRecorder reports;
    Guarded("modSteps", "GetStepName", [&] { std::rethrow_exception(failure); });
    ASSERT_EQ(reports.reports.size(), 1u);
    EXPECT_EQ(reports.reports[0].number, number) << description;
    EXPECT_EQ(reports.reports[0].description, description);
    EXPECT_EQ(reports.reports[0].extra, "");
  }
}

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
  ASSERT_EQ(boxes.requests.size(), 1u);
  EXPECT_EQ(boxes.requests[0].title, "Serenitap");
  EXPECT_EQ(boxes.requests[0].icon, MsgIcon::Question);
}

TEST(MsgBox, AFailingSinkGivesTheAnswerOfClosingTheBox) {
  auto previous = SetMessageBoxSink([](const MessageBoxRequest&) -> MsgAnswer { throw std::bad_alloc(); });
  for (const auto& [buttons, answer] : {std::pair{MsgButtons::Ok, MsgAnswer::Ok}, {MsgButtons::OkCancel, MsgAnswer::Cancel},
                                        {MsgButtons::YesNo, MsgAnswer::No}, {MsgButtons::YesNoCancel, MsgAnswer::Cancel}})
    EXPECT_EQ(MsgBox("x", buttons), answer);
  SetMessageBoxSink(previous);
}

}  // namespace
}  // namespace serenitap
