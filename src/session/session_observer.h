#pragma once
// Listens to the session as it moves from step to step, for what keeps a
// record of it. Told after every change of step, once the new step is on
// screen and the timer set, with the issue and the SUD rating of that moment.
// An observer must be quick (it may be told inside a timer tick) and must not
// throw.
#include <cstdint>

#include "content/issues.h"
#include "session/steps.h"

namespace serenitap {

struct StepMove {
  enmStep from = stpNone;
  enmStep to = stpNone;
  enmIssue issue = issNA;
  std::int16_t sud = 0;
};

class ISessionObserver {
 public:
  virtual ~ISessionObserver() = default;
  virtual void StepChanged(const StepMove& move) noexcept = 0;
};

}  // namespace serenitap
