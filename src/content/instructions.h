#pragma once
// What each step says: its segment title and its instructions. Both are pure
// functions of the step, the selected issue and the round polarity.
#include <string>

#include "content/issues.h"
#include "content/step_numbers.h"

namespace serenitap {

// Title of a step 1..25 (empty for 1 and 25); otherwise a message and "".
std::string GetSegmentTitle(enmStep step, bool positiveRound);
// The instructions for a step; "" for steps outside 1..25.
std::string GetStepInstructions(enmStep step, enmIssue selectedIssue, bool positiveRound);

namespace modSteps {
// The introduction text shown on the first step.
std::string GetIntroText();
}  // namespace modSteps

}  // namespace serenitap
