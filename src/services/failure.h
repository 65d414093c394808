#pragma once
// Run-time failures and the uniform error handler.
//
// A procedure that guards itself runs its body through Guarded(). When the body
// throws, the handler optionally runs a "before report" step (the session
// procedures stop the step timer there), hands the failure to ReportError with
// the module and procedure names and "Line: N", and returns normally. Closing
// steps belong in a ScopeExit declared in the procedure itself, so they run
// after the report as well as on a normal exit. Nothing escapes.
#include <cstdint>
#include <exception>
#include <functional>
#include <source_location>
#include <stdexcept>
#include <string>
#include <string_view>
#include <utility>

namespace serenitap {

// A run-time failure with the program's error number, its description and the
// source line that raised it.
class RuntimeFailure : public std::runtime_error {
 public:
  RuntimeFailure(std::int32_t number, const std::string& description,
                 std::source_location where = std::source_location::current());

  std::int32_t Number() const noexcept { return number_; }
  const std::string& Description() const noexcept { return description_; }
  std::uint32_t Line() const noexcept { return line_; }

 private:
  std::int32_t number_;
  std::string description_;
  std::uint32_t line_;
};

// Common error numbers and their descriptions.
namespace errors {
inline constexpr std::int32_t kInvalidCall = 5;     // "Invalid procedure call or argument"
inline constexpr std::int32_t kOverflow = 6;        // "Overflow"
inline constexpr std::int32_t kOutOfMemory = 7;     // "Out of memory"
inline constexpr std::int32_t kSubscriptRange = 9;  // "Subscript out of range"
inline constexpr std::int32_t kInternal = 51;       // "Internal error"
}  // namespace errors

struct FailureDetails {
  std::int32_t number = 0;
  std::string description;
  std::uint32_t line = 0;  // 0 when the failing line is not known
};

// What the failure in flight is: call inside a catch block. Standard
// exceptions map to fixed numbers (bad_alloc 7, out_of_range 9,
// invalid_argument and domain_error 5, overflow/range/underflow 6, others 51).
FailureDetails DescribeFailure(std::exception_ptr failure) noexcept;

// "Line: N", or empty when the line is not known.
std::string LineText(std::uint32_t line);

// Reports the failure in flight through ReportError. Never throws.
void ReportFailure(std::exception_ptr failure, std::string_view module, std::string_view procedure) noexcept;

// The uniform error handler. Returns true when the body ran to its end.
template <class Body>
bool Guarded(std::string_view module, std::string_view procedure, Body&& body,
             const std::function<void()>& beforeReport = {}) noexcept {
  try {
    std::forward<Body>(body)();
    return true;
  } catch (...) {
    auto failure = std::current_exception();
    if (beforeReport) {
      try {
        beforeReport();
      } catch (...) {
        // The failure in flight is the one to report; a second one here would hide it.
      }
    }
    ReportFailure(failure, module, procedure);
    return false;
  }
}

// Runs a closing step when the scope ends, whether the body failed or not.
template <class F>
class ScopeExit {
 public:
  explicit ScopeExit(F f) : f_(std::move(f)) {}
  ~ScopeExit() {
    try {
      f_();
    } catch (...) {
      // A destructor must not throw; the procedure's own failure, if any, has been reported.
    }
  }
  ScopeExit(const ScopeExit&) = delete;
  ScopeExit& operator=(const ScopeExit&) = delete;

 private:
  F f_;
};

// Holds a busy flag (mblnBusy) for one command. Take() sets the flag and
// answers true, or answers false when another command already holds it; the
// flag is cleared when the guard that took it goes out of scope, whether the
// command ended normally or failed.
class BusyGuard {
 public:
  explicit BusyGuard(bool& busy) : busy_(busy) {}
  ~BusyGuard() {
    if (taken_) busy_ = false;
  }
  BusyGuard(const BusyGuard&) = delete;
  BusyGuard& operator=(const BusyGuard&) = delete;

  [[nodiscard]] bool Take() {
    if (busy_) return false;
    busy_ = true;
    taken_ = true;
    return true;
  }

 private:
  bool& busy_;
  bool taken_ = false;
};

}  // namespace serenitap
