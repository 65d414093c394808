#pragma once
// The texts of the error-report dialog and the address of the maker's report
// page, as plain functions of the report. The dialog only shows them.
#include <string>
#include <string_view>

#include "services/error_report.h"
#include "services/product.h"

namespace serenitap {

// The dialog's window caption: "Uh Oh... an error occurred in Serenitap".
std::string ErrorReportCaption(std::string_view productName = product::kName);

// The title label: product name, " Problem" and one trailing blank.
std::string ErrorReportTitle(std::string_view productName = product::kName);

// The introduction above the report contents (paragraphs joined by CR LF).
std::string ErrorReportIntro(std::string_view productName = product::kName,
                             std::string_view makerName = product::kMakerName);

// What is reported: "2.0 201 Error 5 (frmMain:cmdAbout_Click)", a blank
// line, the description, and the extra description after another blank line
// when there is one.
std::string ErrorReportContents(const ErrorReport& report);

// The report page's field encoding: every blank becomes "+", nothing else
// changes (an "&", "#", "=", "%" or a line break goes in as typed).
std::string EncodeReportField(std::string_view text);

// The address of the report page with the report in its query:
// site + "/errorstp.php?ErrNum=...&ErrDesc=...&ProgVer=...&BuildNum=...
// &ModuleName=...&ProcName=...&Comments=...&Email=...&ExtraDesc=...".
// Comments and e-mail are trimmed and encoded, the description is encoded,
// the other fields go in as they are.
std::string ErrorReportAddress(const ErrorReport& report, std::string_view comments, std::string_view email,
                               std::string_view site = product::kMakerWebSite);

}  // namespace serenitap
