#include "services/error_report.h"

#include <utility>

#include "services/error_line.h"
#include "services/product.h"

namespace serenitap {
namespace {

void DefaultSink(const ErrorReport& r) {
  std::string line = std::string(product::kName) + ": error " + std::to_string(r.number) + " (" + r.module + ':' +
                     r.procedure + ") " + r.description;
  if (!r.extra.empty()) line += " [" + r.extra + ']';
  WriteErrorLine(line);
}

ReportSink& Sink() {
  static ReportSink sink = DefaultSink;
  return sink;
}

}  // namespace

std::string VersionText(int major, int minor) { return std::to_string(major) + "." + std::to_string(minor); }

void ReportError(std::int32_t number, std::string_view description, std::string_view module, std::string_view procedure,
                 std::string_view extra) {
  ErrorReport report{number,
                     std::string(description),
                     VersionText(product::kVersionMajor, product::kVersionMinor),
                     product::kVersionRevision,
                     std::string(module),
                     std::string(procedure),
                     std::string(extra)};
  Sink()(report);
}

ReportSink SetReportErrorSink(ReportSink sink) {
  ReportSink previous = std::move(Sink());
  Sink() = sink ? std::move(sink) : ReportSink(DefaultSink);
  return previous;
}

}  // namespace serenitap
