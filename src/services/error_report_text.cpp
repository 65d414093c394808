#include "services/error_report_text.h"

#include "services/trim.h"

namespace serenitap {
namespace {

constexpr std::string_view kCrLf = "\r\n";

}  // namespace

std::string ErrorReportCaption(std::string_view productName) {
  return "Uh Oh... an error occurred in " + std::string(productName);
}

std::string ErrorReportTitle(std::string_view productName) { return std::string(productName) + " " + "Problem" + " "; }

std::string ErrorReportIntro(std::string_view productName, std::string_view makerName) {
  const std::string name(productName);
  std::string text;
  text += "Regrettably, a problem has occurred in " + name + ".";
  text += kCrLf;
  text += kCrLf;
  text +=
      name + " may continue to function after this, but if you have further problems you should restart the program.";
  text += kCrLf;
  text += kCrLf;
  text += "We'd like to fix this problem quickly, but we need your help.  ";
  text += "Can " + name + " submit a bug report on your behalf to " + std::string(makerName) + "?  ";
  text += "And, can you please take just a moment to jot down what steps we should take to reproduce the problem?";
  text += kCrLf;
  text += kCrLf;
  text += "Your report is confidential, and only the information you see below is included in the report.";
  return text;
}

std::string ErrorReportContents(const ErrorReport& report) {
  std::string text = report.version + " " + std::to_string(report.build) + " Error " + std::to_string(report.number) +
                     " (" + report.module + ":" + report.procedure + ")";
  text += kCrLf;
  text += kCrLf;
  text += report.description;
  if (!report.extra.empty()) {
    text += kCrLf;
    text += kCrLf;
    text += report.extra;
  }
  return text;
}

std::string EncodeReportField(std::string_view text) {
  std::string encoded(text);
  for (char& c : encoded) {
    if (c == ' ') c = '+';
  }
  return encoded;
}

std::string ErrorReportAddress(const ErrorReport& report, std::string_view comments, std::string_view email,
                               std::string_view site) {
  std::string query;
  query += "?ErrNum=" + std::to_string(report.number);
  query += "&ErrDesc=" + EncodeReportField(report.description);
  query += "&ProgVer=" + report.version;
  query += "&BuildNum=" + std::to_string(report.build);
  query += "&ModuleName=" + report.module;
  query += "&ProcName=" + report.procedure;
  query += "&Comments=" + EncodeReportField(TrimBlanks(comments));
  query += "&Email=" + EncodeReportField(TrimBlanks(email));
  query += "&ExtraDesc=" + report.extra;
  return std::string(site) + "/" + "errorstp.php" + query;
}

}  // namespace serenitap
