// The uniform error handler: what reaches the report, and what still runs;
// the texts of the report and the address of the report page; message boxes.
#include "services/failure.h"

#include <gtest/gtest.h>

#include <new>
#include <stdexcept>

#include "services/error_report_text.h"
#include "services/notice.h"
#include "support/recorders.h"

namespace serenitap {
namespace {

using testing::ReportRecorder;

TEST(Guarded, ReportsNumberDescriptionModuleProcedureAndLineAfterTheBeforeStep) {
  ReportRecorder reports;
  EXPECT_TRUE(Guarded("modX", "Proc", [] {}));
  EXPECT_TRUE(reports.reports.empty());
  std::uint32_t line = 0;
  std::size_t reports_before = 99;
  const bool completed = Guarded(
      "frmMain", "tmrSteps_Timer",
      [&] {
        line = std::source_location::current().line() + 1;
        throw RuntimeFailure(11, "Division by zero");
      },
      [&] { reports_before = reports.reports.size(); });
  EXPECT_FALSE(completed);
  EXPECT_EQ(reports_before, 0u);
  ASSERT_EQ(reports.reports.size(), 1u);
  EXPECT_EQ(reports.reports[0], (ErrorReport{11, "Division by zero", "2.0", 201, "frmMain", "tmrSteps_Timer",
                                             "Line: " + std::to_string(line)}));
}

TEST(Guarded, StandardFailuresMapToFixedNumbersWithoutALine) {
  const std::tuple<const char*, std::exception_ptr, std::int32_t, const char*> table[] = {
      {"bad_alloc", std::make_exception_ptr(std::bad_alloc()), 7, "Out of memory"},
      {"out_of_range", std::make_exception_ptr(std::out_of_range("x")), 9, "Subscript out of range"},
      {"invalid_argument", std::make_exception_ptr(std::invalid_argument("x")), 5,
       "Invalid procedure call or argument"},
      {"domain_error", std::make_exception_ptr(std::domain_error("x")), 5, "Invalid procedure call or argument"},
      {"overflow_error", std::make_exception_ptr(std::overflow_error("x")), 6, "Overflow"},
      {"underflow_error", std::make_exception_ptr(std::underflow_error("x")), 6, "Overflow"},
      {"range_error", std::make_exception_ptr(std::range_error("x")), 6, "Overflow"},
      {"runtime_error", std::make_exception_ptr(std::runtime_error("disk")), 51, "Internal error: disk"},
      {"not an exception", std::make_exception_ptr(42), 51, "Internal error"},
      {"none", nullptr, 51, "Internal error"}};
  for (const auto& [name, failure, number, description] : table) {
    SCOPED_TRACE(name);
    const FailureDetails details = DescribeFailure(failure);
    EXPECT_EQ(std::tuple(details.number, details.description, details.line), std::tuple(number, description, 0u));
  }
}

// With no window to show them, notices, error reports and messages go to
// standard error; a message answers its default button.
TEST(Sinks, PuttingBackNoneWritesToStandardError) {
  const NoticeSink notices = SetNoticeSink({});
  const ReportSink reports = SetReportErrorSink({});
  const MessageBoxSink boxes = SetMessageBoxSink({});
  ::testing::internal::CaptureStderr();
  ShowNotice("The settings were not saved.");
  ReportError(5, "Invalid procedure call or argument", "frmMain", "cmdAbout_Click");
  const auto answers = std::tuple(MsgBox("Go on?", MsgButtons::YesNo, MsgIcon::None, "Asked"),
                                  MsgBox("Keep?", MsgButtons::YesNoCancel), MsgBox("Done."), AskNoByDefault("Delete?"));
  const std::string told = ::testing::internal::GetCapturedStderr();
  SetNoticeSink(notices);
  SetReportErrorSink(reports);
  SetMessageBoxSink(boxes);
  EXPECT_EQ(answers, std::tuple(MsgAnswer::Yes, MsgAnswer::Yes, MsgAnswer::Ok, MsgAnswer::No));
  EXPECT_NE(told.find("Asked: Go on?\n"), std::string::npos) << told;
  EXPECT_NE(told.find("The settings were not saved.\n"), std::string::npos) << told;
  EXPECT_NE(told.find("error 5 (frmMain:cmdAbout_Click) Invalid procedure call or argument"), std::string::npos);
}

ErrorReport Sample(std::string extra = {}) {
  return ErrorReport{
      5, "Invalid procedure call or argument", "2.0", 201, "frmMain", "cmdAbout_Click", std::move(extra)};
}

TEST(ErrorReportText, ContentsAreHeadingDescriptionAndTheLineIfKnown) {
  const std::string head = "2.0 201 Error 5 (frmMain:cmdAbout_Click)\r\n\r\nInvalid procedure call or argument";
  EXPECT_EQ(ErrorReportContents(Sample()), head);
  EXPECT_EQ(ErrorReportContents(Sample("Line: 12")), head + "\r\n\r\nLine: 12");
  EXPECT_EQ(ErrorReportCaption() + "|" + ErrorReportTitle(),
            "Uh Oh... an error occurred in Serenitap|Serenitap Problem ");
}

TEST(ErrorReportText, AddressTrimsCommentsAndEmailAndEncodesOnlyBlanks) {
  const std::string start =
      "https://www.quorvex.com/errorstp.php?ErrNum=5&ErrDesc=Invalid+procedure+call+or+argument&ProgVer=2.0"
      "&BuildNum=201&ModuleName=frmMain&ProcName=cmdAbout_Click";
  const std::tuple<const char*, const char*, const char*, const char*> table[] = {
      {"  it  crashed  ", " me@example.org ", "", "&Comments=it++crashed&Email=me@example.org&ExtraDesc="},
      {"a&b #c =d 50%\r\nnext", "x=y&z", "Line: 7", "&Comments=a&b+#c+=d+50%\r\nnext&Email=x=y&z&ExtraDesc=Line: 7"},
      {"     ", "\tmail ", "", "&Comments=&Email=\tmail&ExtraDesc="}};
  for (const auto& [comments, email, extra, end] : table)
    EXPECT_EQ(ErrorReportAddress(Sample(extra), comments, email), start + end) << comments;
}

TEST(MsgBox, AFailingSinkGivesTheAnswerOfClosingTheBox) {
  auto previous = SetMessageBoxSink([](const MessageBoxRequest&) -> MsgAnswer { throw std::bad_alloc(); });
  for (const auto& [buttons, answer] : {std::pair{MsgButtons::Ok, MsgAnswer::Ok},
                                        {MsgButtons::OkCancel, MsgAnswer::Cancel},
                                        {MsgButtons::YesNo, MsgAnswer::No},
                                        {MsgButtons::YesNoCancel, MsgAnswer::Cancel}})
    EXPECT_EQ(MsgBox("x", buttons), answer) << "buttons " << static_cast<int>(buttons);
  EXPECT_EQ(AskNoByDefault("x"), MsgAnswer::No);
  SetMessageBoxSink(previous);
}

}  // namespace
}  // namespace serenitap
