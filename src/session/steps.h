#pragma once
// The step catalogue: the 25 steps of a session, their names, lengths and kind,
// the successor when the step timer runs out, the successor for Next and the
// predecessor for Previous.
#include <cstdint>
#include <string>

#include "content/step_numbers.h"

namespace serenitap {

struct SessionState;

namespace modSteps {

// Name of a step 1..25; otherwise a message and "".
std::string GetStepName(enmStep step);
// Description of a step 1..25; otherwise a message and "".
std::string GetStepDescription(enmStep step);
// Length in seconds of step time; 2 for every value outside 1..25.
std::int32_t GetStepLength(enmStep step);
// True exactly for 7..22 and 24.
bool IsThisTappingStep(enmStep step);
// Successor when the step timer runs out; invalid step: message and 1.
enmStep GetNextStep(enmStep step);
// Successor for Next. In a negative round, a tapping step (or 24) sets the
// round counter to 2 so that the next round is positive. Invalid: message, 1.
enmStep GetNextStep_Navigation(enmStep step, SessionState& state);
// Predecessor for Previous. pblnPositiveRound is always written; a tapping
// step (or 24) resets the round counter. Invalid: message, 1.
enmStep GetPrevStep(enmStep step, bool& pblnPositiveRound, SessionState& state);
}  // namespace modSteps
}  // namespace serenitap
