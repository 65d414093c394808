#include "services/failure.h"

#include <new>

#include "services/error_report.h"

namespace serenitap {

RuntimeFailure::RuntimeFailure(std::int32_t number, const std::string& description, std::source_location where)
    : std::runtime_error(description), number_(number), description_(description), line_(where.line()) {}

FailureDetails DescribeFailure(std::exception_ptr failure) noexcept {
  try {
    if (failure) std::rethrow_exception(failure);
    return {errors::kInternal, "Internal error", 0};
  } catch (const RuntimeFailure& e) {
    return {e.Number(), e.Description(), e.Line()};
  } catch (const std::bad_alloc&) {
    return {errors::kOutOfMemory, "Out of memory", 0};
  } catch (const std::out_of_range&) {
    return {errors::kSubscriptRange, "Subscript out of range", 0};
  } catch (const std::invalid_argument&) {
    return {errors::kInvalidCall, "Invalid procedure call or argument", 0};
  } catch (const std::domain_error&) {
    return {errors::kInvalidCall, "Invalid procedure call or argument", 0};
  } catch (const std::overflow_error&) {
    return {errors::kOverflow, "Overflow", 0};
  } catch (const std::underflow_error&) {
    return {errors::kOverflow, "Overflow", 0};
  } catch (const std::range_error&) {
    return {errors::kOverflow, "Overflow", 0};
  } catch (const std::exception& e) {
    try {
      return {errors::kInternal, std::string("Internal error: ") + e.what(), 0};
    } catch (...) {
      // No memory left for the message: the number alone still describes the failure.
      return {errors::kInternal, "Internal error", 0};
    }
  } catch (...) {
    // Not a standard exception: nothing more is known about it.
    return {errors::kInternal, "Internal error", 0};
  }
}

std::string LineText(std::uint32_t line) { return line == 0 ? std::string() : "Line: " + std::to_string(line); }

void ReportFailure(std::exception_ptr failure, std::string_view module, std::string_view procedure) noexcept {
  try {
    const FailureDetails d = DescribeFailure(failure);
    ReportError(d.number, d.description, module, procedure, LineText(d.line));
  } catch (...) {
    // The report itself failed: nothing more can be done without risking the program.
  }
}

}  // namespace serenitap
