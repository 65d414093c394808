#include "settings/window_position.h"

#include <algorithm>
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

void FormPos_Save(const WindowPlacement& placement, const std::vector<ScreenArea>& screens,
                  const PlacementLimits& limits) {
  Guarded("frmMain", "FormPos_Save", [&] {
    const TwipArea measured{RoundToLong(placement.left), RoundToLong(placement.top), RoundToLong(placement.width),
                            RoundToLong(placement.height)};
    PlacementDecision stored{measured, placement.window_state};
    if (!screens.empty()) stored = DecidePlacement(measured, placement.window_state, screens, limits);
    Save("Left", stored.geometry.left);
    Save("Top", stored.geometry.top);
    Save("Width", stored.geometry.width);
    Save("Height", stored.geometry.height);
    Save("State", stored.window_state);
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

namespace {

// The title bar of a window at `left`, `top`, `width` wide, lies on the screen.
bool TitleBarOn(const TwipArea& screen, std::int64_t left, std::int64_t top, std::int64_t width,
                const PlacementLimits& limits) {
  if (top < screen.top || top + limits.titleBarHeight > std::int64_t{screen.top} + screen.height) return false;
  const std::int64_t overlap =
      std::min(left + width, std::int64_t{screen.left} + screen.width) - std::max(left, std::int64_t{screen.left});
  return overlap >= std::min<std::int64_t>(width, limits.grip) && overlap > 0;
}

// Distance (squared) from a point to the screen; 0 inside it.
double DistanceSquared(const TwipArea& screen, std::int64_t x, std::int64_t y) {
  const std::int64_t right = std::int64_t{screen.left} + screen.width;
  const std::int64_t bottom = std::int64_t{screen.top} + screen.height;
  const auto dx = static_cast<double>(x < screen.left ? screen.left - x : (x > right ? x - right : 0));
  const auto dy = static_cast<double>(y < screen.top ? screen.top - y : (y > bottom ? y - bottom : 0));
  return dx * dx + dy * dy;
}

}  // namespace

TwipArea FitPlacementToScreens(const TwipArea& stored, const std::vector<TwipArea>& screens,
                               const PlacementLimits& limits) {
  if (screens.empty()) return stored;
  std::int64_t desktopLeft = screens.front().left, desktopTop = screens.front().top;
  std::int64_t desktopRight = desktopLeft, desktopBottom = desktopTop;
  for (const TwipArea& s : screens) {
    desktopLeft = std::min<std::int64_t>(desktopLeft, s.left);
    desktopTop = std::min<std::int64_t>(desktopTop, s.top);
    desktopRight = std::max(desktopRight, std::int64_t{s.left} + s.width);
    desktopBottom = std::max(desktopBottom, std::int64_t{s.top} + s.height);
  }
  const std::int64_t width =
      std::min<std::int64_t>(std::max<std::int64_t>(stored.width, limits.minWidth), desktopRight - desktopLeft);
  const std::int64_t height =
      std::min<std::int64_t>(std::max<std::int64_t>(stored.height, limits.minHeight), desktopBottom - desktopTop);
  const TwipArea* on = nullptr;
  for (const TwipArea& s : screens) {
    if (TitleBarOn(s, stored.left, stored.top, stored.width, limits)) {
      on = &s;
      break;
    }
  }
  if (on != nullptr && width == stored.width && height == stored.height) return stored;
  if (on == nullptr) {
    const std::int64_t x = std::int64_t{stored.left} + std::clamp<std::int64_t>(stored.width, 0, width) / 2;
    const std::int64_t y = std::int64_t{stored.top} + limits.titleBarHeight / 2;
    on = &*std::min_element(screens.begin(), screens.end(), [&](const TwipArea& a, const TwipArea& b) {
      return DistanceSquared(a, x, y) < DistanceSquared(b, x, y);
    });
  }
  const auto into = [](std::int64_t start, std::int64_t size, std::int64_t from, std::int64_t length) {
    return std::max(from, std::min(start, from + length - size));
  };
  TwipArea fitted;
  fitted.width = static_cast<std::int32_t>(width);
  fitted.height = static_cast<std::int32_t>(height);
  fitted.left = static_cast<std::int32_t>(into(stored.left, width, on->left, on->width));
  fitted.top = static_cast<std::int32_t>(into(stored.top, height, on->top, on->height));
  return fitted;
}

PlacementDecision DecidePlacement(const TwipArea& stored, std::int32_t storedState,
                                  const std::vector<ScreenArea>& screens, const PlacementLimits& limits) {
  const std::int32_t state = storedState == kWindowStateMaximized ? kWindowStateMaximized : kWindowStateNormal;
  const bool usable = stored.width > 0 && stored.width >= limits.minWidth && stored.height >= limits.minHeight;
  if (usable) {
    std::vector<TwipArea> available;
    for (const ScreenArea& screen : screens) available.push_back(screen.available);
    return {FitPlacementToScreens(stored, available, limits), state};
  }
  if (screens.empty()) return {{0, 0, limits.designWidth, limits.designHeight}, state};
  const TwipArea& whole = screens.front().whole;
  const TwipArea& area = screens.front().available;
  if (limits.designWidth > area.width || limits.designHeight > area.height) {
    const std::int32_t borders = std::min(limits.borders, area.width);
    return {{area.left + borders / 2, area.top, area.width - borders, area.height}, kWindowStateMaximized};
  }
  // Centred on the whole screen (halves cut off), kept within the available area.
  const auto centred = [](std::int64_t from, std::int64_t length, std::int64_t size, std::int64_t areaFrom,
                          std::int64_t areaLength) {
    const std::int64_t start = from + (length - size) / 2;
    return static_cast<std::int32_t>(std::clamp(start, areaFrom, areaFrom + areaLength - size));
  };
  return {{centred(whole.left, whole.width, limits.designWidth, area.left, area.width),
           centred(whole.top, whole.height, limits.designHeight, area.top, area.height), limits.designWidth,
           limits.designHeight},
          state};
}

}  // namespace serenitap
