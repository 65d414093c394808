#pragma once
// The session's program-wide variables, kept together in one state object.
// Everything starts at 0 / false, as when the program starts.
#include <cstdint>

#include "content/issues.h"
#include "session/steps.h"

namespace serenitap {

struct SessionState {
  // The step machine.
  enmStep genmCurrentStep = stpNone;    // the step now shown
  std::int32_t glngStepLength = 0;      // length of the current step, seconds
  std::int32_t glngStepSeconds = 0;     // whole seconds since the step began
  std::int32_t glngTickMs = 0;          // millisecond accumulator, 0..990 in steps of 10
  std::int32_t glngSessionSeconds = 0;  // whole seconds since the main window loaded
  std::int32_t glngRoundCount = 0;      // rounds started since the last reset
  bool gblnPositiveRound = false;       // true during the positive rounds

  // The progress display.
  std::int32_t glngCurrentDot = 0;
  bool gblnBlinkOn = false;
  std::int32_t glngBlinkStep = 0;
  std::int32_t glngBlinkTotal = 0;

  // The issue of the session.
  enmIssue genmSelectedIssue = issNA;
};

}  // namespace serenitap
