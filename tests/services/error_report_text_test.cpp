// The texts of the error report and the address of the report page.
#include <gtest/gtest.h>

#include <string>

#include "services/error_report_text.h"

namespace serenitap {
namespace {

ErrorReport Sample(std::int32_t number = 5, std::string extra = {}) {
  return ErrorReport{number, "Invalid procedure call or argument", "2.0", 201, "frmMain", "cmdAbout_Click",
                     std::move(extra)};
}

struct ContentsCase {
  const char* name;
  ErrorReport report;
  std::string expected;
};

class ErrorReportContentsTest : public ::testing::TestWithParam<ContentsCase> {};

TEST_P(ErrorReportContentsTest, HeadingBlankLineDescriptionAndOptionalExtra) {
  EXPECT_EQ(ErrorReportContents(GetParam().report), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Reports, ErrorReportContentsTest,
    ::testing::Values(
        ContentsCase{"NoExtra", Sample(),
                     "2.0 201 Error 5 (frmMain:cmdAbout_Click)\r\n\r\nInvalid procedure call or argument"},
        ContentsCase{"WithLine", Sample(5, "Line: 12"),
                     "2.0 201 Error 5 (frmMain:cmdAbout_Click)\r\n\r\nInvalid procedure call or argument\r\n\r\nLine: 12"},
        ContentsCase{"Negative", Sample(-2147221504),
                     "2.0 201 Error -2147221504 (frmMain:cmdAbout_Click)\r\n\r\nInvalid procedure call or argument"}),
    [](const auto& info) { return std::string(info.param.name); });

struct AddressCase {
  const char* name;
  std::int32_t number;
  std::string comments;
  std::string email;
  std::string extra;
  std::string expected_query;
};

class ErrorReportAddressTest : public ::testing::TestWithParam<AddressCase> {};

TEST_P(ErrorReportAddressTest, OnlyBlanksAreEncoded) {
  const AddressCase& c = GetParam();
  EXPECT_EQ(ErrorReportAddress(Sample(c.number, c.extra), c.comments, c.email),
            "https://www.quorvex.com/errorstp.php" + c.expected_query);
}

INSTANTIATE_TEST_SUITE_P(
    Fields, ErrorReportAddressTest,
    ::testing::Values(
        AddressCase{"PaddedComments", 5, "  it  crashed  ", " me@example.org ", "",
                    "?ErrNum=5&ErrDesc=Invalid+procedure+call+or+argument&ProgVer=2.0&BuildNum=201"
                    "&ModuleName=frmMain&ProcName=cmdAbout_Click&Comments=it++crashed&Email=me@example.org&ExtraDesc="},
        AddressCase{"OneBlankBetweenWords", 5, "   two words   ", "", "Line: 7",
                    "?ErrNum=5&ErrDesc=Invalid+procedure+call+or+argument&ProgVer=2.0&BuildNum=201"
                    "&ModuleName=frmMain&ProcName=cmdAbout_Click&Comments=two+words&Email=&ExtraDesc=Line: 7"},
        AddressCase{"SpecialCharactersAsTyped", -1, "a&b #c =d 50%\r\nnext", "x=y&z", "",
                    "?ErrNum=-1&ErrDesc=Invalid+procedure+call+or+argument&ProgVer=2.0&BuildNum=201"
                    "&ModuleName=frmMain&ProcName=cmdAbout_Click&Comments=a&b+#c+=d+50%\r\nnext&Email=x=y&z&ExtraDesc="},
        AddressCase{"OnlyBlanks", 5, "     ", "\tmail ", "",
                    "?ErrNum=5&ErrDesc=Invalid+procedure+call+or+argument&ProgVer=2.0&BuildNum=201"
                    "&ModuleName=frmMain&ProcName=cmdAbout_Click&Comments=&Email=\tmail&ExtraDesc="}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ErrorReportTexts, CaptionTitleAndIntroduction) {
  EXPECT_EQ(ErrorReportCaption(), "Uh Oh... an error occurred in Serenitap");
  EXPECT_EQ(ErrorReportTitle(), "Serenitap Problem ");
  EXPECT_EQ(ErrorReportIntro(),
            "Regrettably, a problem has occurred in Serenitap.\r\n\r\n"
            "Serenitap may continue to function after this, but if you have further problems you should restart the "
            "program.\r\n\r\n"
            "We'd like to fix this problem quickly, but we need your help.  "
            "Can Serenitap submit a bug report on your behalf to Quorvex Software?  "
            "And, can you please take just a moment to jot down what steps we should take to reproduce the "
            "problem?\r\n\r\n"
            "Your report is confidential, and only the information you see below is included in the report.");
}

}  // namespace
}  // namespace serenitap
