#include "app/display_check.h"

#include <cstdlib>

namespace serenitap {

std::optional<std::string> MissingDisplayReason() {
#if defined(__linux__) || defined(__FreeBSD__)
  auto set = [](const char* name) {
    const char* v = std::getenv(name);
    return v != nullptr && *v != '\0';
  };
  if (set("QT_QPA_PLATFORM") || set("DISPLAY") || set("WAYLAND_DISPLAY")) return std::nullopt;
  return std::string(
      "Serenitap needs a graphical display, but neither DISPLAY nor WAYLAND_DISPLAY is set "
      "(start it from a desktop session, or under xvfb-run).");
#else
  return std::nullopt;
#endif
}

}  // namespace serenitap
