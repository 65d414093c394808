#pragma once
// How a failing check prints a step or an issue: by its number, the one logs
// and error reports give.
#include <ostream>

#include "content/issues.h"
#include "content/step_numbers.h"

namespace serenitap {

inline std::ostream& operator<<(std::ostream& out, enmStep step) { return out << "step " << StepNumber(step); }
inline std::ostream& operator<<(std::ostream& out, enmIssue issue) { return out << "issue " << IssueNumber(issue); }

}  // namespace serenitap
