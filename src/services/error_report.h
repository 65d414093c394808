#pragma once
// The one error-report entry. ReportError completes the report with the
// program's version and build number and hands it to the installed sink: the
// program shows the report dialog, tests record the report.
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

namespace serenitap {

struct ErrorReport {
  std::int32_t number = 0;
  std::string description;
  std::string version;     // major "." minor, e.g. "2.0"
  std::int32_t build = 0;  // the revision, e.g. 201
  std::string module;
  std::string procedure;
  std::string extra;  // empty, or "Line: N"

  bool operator==(const ErrorReport&) const = default;
};

using ReportSink = std::function<void(const ErrorReport&)>;

void ReportError(std::int32_t number, std::string_view description, std::string_view module, std::string_view procedure,
                 std::string_view extra = {});

// Installs a sink and returns the one it replaces. An empty sink restores the
// default, which writes the report to standard error.
ReportSink SetReportErrorSink(ReportSink sink);

// "2.0" from the program's version numbers.
std::string VersionText(int major, int minor);

}  // namespace serenitap
