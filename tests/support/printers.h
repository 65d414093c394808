#pragma once
// How a failing check prints a step or an issue: by its stored number.
#include <ostream>

#include "content/issues.h"

namespace serenitap {

inline void PrintTo(enmIssue issue, std::ostream* out) { *out << "issue " << IssueNumber(issue); }

}  // namespace serenitap
