#include "settings/window_position.h"

#include <cmath>

#include "services/failure.h"
#include "settings/options.h"
#include "settings/registry.h"
#include "settings/registry_store.h"

namespace serenitap {
namespace {

// Nearest 32-bit integer, halves to even; an overflow outside the range.
std::int32_t RoundToLong(double value) {
  const double r = std::nearbyint(value);  // the default rounding: to nearest, ties to even
  if (!(r >= -2147483648.0 && r <= 2147483647.0)) throw RuntimeFailure(errors::kOverflow, "Overflow");
  return static_cast<std::int32_t>(r);
}

void Save(std::string_view name, std::int32_t value) {
  modRegistry::RegSaveNumber(settings::HKEY_CURRENT_USER, modOptions::kWindowPositionKey, name, value);
}

std::int32_t Get(std::string_view name) {
  return modRegistry::RegGetNumber(settings::HKEY_CURRENT_USER, modOptions::kWindowPositionKey, name, 0);
}

}  // namespace

void FormPos_Save(const WindowPlacement& placement) {
  Guarded("frmMain", "FormPos_Save", [&] {
    const std::int32_t left = RoundToLong(placement.left);
    const std::int32_t top = RoundToLong(placement.top);
    const std::int32_t width = RoundToLong(placement.width);
    const std::int32_t height = RoundToLong(placement.height);
    if (placement.window_state != kWindowStateMaximized) {
      Save("Left", left);
      Save("Top", top);
      Save("Width", width);
      Save("Height", height);
    }
    Save("State", placement.window_state);
  });
}

bool FormPos_Read(std::int32_t& plngLeft, std::int32_t& plngTop, std::int32_t& plngWidth, std::int32_t& plngHeight,
                  std::int32_t& plngWindowState) {
  bool usable = false;
  plngLeft = 0;
  plngTop = 0;
  plngWidth = 0;
  plngHeight = 0;
  plngWindowState = 0;
  Guarded("frmMain", "FormPos_Read", [&] {
    plngLeft = Get("Left");
    plngTop = Get("Top");
    plngWidth = Get("Width");
    plngHeight = Get("Height");
    plngWindowState = Get("State");
    usable = plngWidth > 0;
  });
  return usable;
}

}  // namespace serenitap
