#pragma once
// Whether a graphical display can be reached, decided before Qt starts.
#include <optional>
#include <string>

namespace serenitap {

// Empty when a display is available (or a platform was chosen explicitly);
// otherwise the one-line explanation to print before exiting.
std::optional<std::string> MissingDisplayReason();

}  // namespace serenitap
