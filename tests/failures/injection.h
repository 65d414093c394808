#pragma once
// What the failure tests inject and how they look at the outcome: one
// run-time failure with a known number, description and line; a settings
// store of the test's own; and a report sink that notes the program's state
// at the moment of each report.
#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <cstdint>
#include <functional>
#include <memory>
#include <regex>
#include <string>
#include <vector>

#include "services/error_report.h"
#include "services/failure.h"
#include "settings/file_store.h"
#include "settings/registry_store.h"

#include "support/temp_store.h"

namespace serenitap::testing {

// The failure every injection throws. Its line is the line below.
inline const RuntimeFailure& Injected() {
  static const RuntimeFailure failure(91, "Object variable or With block variable not set");
  return failure;
}
inline std::string InjectedExtra() { return "Line: " + std::to_string(Injected().Line()); }

// The report of a failure this file did not make: the line lies in the
// program, so only its form is known.
inline bool IsLineText(const std::string& extra) { return std::regex_match(extra, std::regex("Line: [1-9][0-9]*")); }

// Stands for any "Line: N" where the failing line lies in the program.
inline const std::string kAnyLine = "Line: N";

struct ExpectedReport {
  std::string module;
  std::string procedure;
  std::int32_t number = 91;
  std::string description = "Object variable or With block variable not set";
  std::string extra;  // exact, or kAnyLine
};

inline void ExpectReport(const ErrorReport& actual, const ExpectedReport& expected) {
  EXPECT_EQ(actual.module, expected.module);
  EXPECT_EQ(actual.procedure, expected.procedure);
  EXPECT_EQ(actual.number, expected.number);
  EXPECT_EQ(actual.description, expected.description);
  if (expected.extra == kAnyLine) {
    EXPECT_TRUE(IsLineText(actual.extra)) << actual.extra;
  } else {
    EXPECT_EQ(actual.extra, expected.extra);
  }
}

// Reports, each with what the test wanted to know when it arrived.
template <class Snapshot>
class SnapshotReports {
 public:
  explicit SnapshotReports(std::function<Snapshot()> take) : take_(std::move(take)) {
    previous_ = SetReportErrorSink([this](const ErrorReport& r) {
      reports.push_back(r);
      snapshots.push_back(take_());
    });
  }
  ~SnapshotReports() { SetReportErrorSink(previous_); }
  SnapshotReports(const SnapshotReports&) = delete;
  SnapshotReports& operator=(const SnapshotReports&) = delete;

  std::vector<ErrorReport> reports;
  std::vector<Snapshot> snapshots;

 private:
  std::function<Snapshot()> take_;
  ReportSink previous_;
};

}  // namespace serenitap::testing
