// The texts of the error report and the address of the report page.
#include "services/error_report_text.h"

#include <gtest/gtest.h>

#include <string>

namespace serenitap {
namespace {

ErrorReport Sample(std::string extra = {}) {
  return ErrorReport{5, "Invalid procedure call or argument", "2.0", 201, "frmMain", "cmdAbout_Click", std::move(extra)};
}

TEST(ErrorReportText, ContentsAreHeadingDescriptionAndTheLineIfKnown) {
  const std::string head = "2.0 201 Error 5 (frmMain:cmdAbout_Click)\r\n\r\nInvalid procedure call or argument";
  EXPECT_EQ(ErrorReportContents(Sample()), head);
  EXPECT_EQ(ErrorReportContents(Sample("Line: 12")), head + "\r\n\r\nLine: 12");
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

TEST(ErrorReportText, CaptionTitleAndIntroductionNameTheProgramAndItsMaker) {
  EXPECT_EQ(ErrorReportCaption(), "Uh Oh... an error occurred in Serenitap");
  EXPECT_EQ(ErrorReportTitle(), "Serenitap Problem ");
  const std::string intro = ErrorReportIntro("Prog", "Maker");
  EXPECT_EQ(intro.rfind("Regrettably, a problem has occurred in Prog.\r\n\r\nProg may continue", 0), 0u);
  EXPECT_NE(intro.find("the program.\r\n\r\nWe'd like to fix this problem quickly, but we need your help.  Can Prog "
                       "submit a bug report on your behalf to Maker?  And, can you please"),
            std::string::npos);
  EXPECT_TRUE(intro.ends_with(
      "the problem?\r\n\r\nYour report is confidential, and only the information you see below is included in the report."));
}

}  // namespace
}  // namespace serenitap
