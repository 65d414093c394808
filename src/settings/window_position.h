#pragma once
// The stored placement of the main window: FormPos_Save and FormPos_Read work
// on a plain placement record, so the window only fills it in and applies it.
// Values live under HKEY_CURRENT_USER\Software\Serenitap\WindowPosition as
// "Left", "Top", "Width", "Height" (twips) and "State" (0 normal,
// 1 minimized, 2 maximized), all REG_DWORD.
#include <cstdint>
#include <vector>

namespace serenitap {

inline constexpr std::int32_t kWindowStateNormal = 0;
inline constexpr std::int32_t kWindowStateMinimized = 1;
inline constexpr std::int32_t kWindowStateMaximized = 2;

// The window as the windowing layer reports it: outer position and size in
// twips, screen coordinates.
struct WindowPlacement {
  double left = 0;
  double top = 0;
  double width = 0;
  double height = 0;
  std::int32_t window_state = kWindowStateNormal;
};

// Stores the placement: each measure rounded to the nearest 32-bit integer
// (halves to even); Left, Top, Width and Height only when the window is not
// maximized, State always. A measure beyond 32 bits is reported as an
// overflow (module "frmMain", procedure "FormPos_Save") and nothing more is
// written.
void FormPos_Save(const WindowPlacement& placement);

// Reads the stored placement (each missing value 0) into the five outputs and
// returns true exactly when the stored width is greater than 0. Failures are
// reported under "frmMain" / "FormPos_Read".
bool FormPos_Read(std::int32_t& plngLeft, std::int32_t& plngTop, std::int32_t& plngWidth, std::int32_t& plngHeight,
                  std::int32_t& plngWindowState);

// A rectangle in twips, screen coordinates.
struct TwipArea {
  std::int32_t left = 0;
  std::int32_t top = 0;
  std::int32_t width = 0;
  std::int32_t height = 0;
  friend bool operator==(const TwipArea&, const TwipArea&) = default;
};

// What a window needs to stay usable: its smallest size, the height of its
// title bar and how much of the title bar must lie on a screen to grab it.
struct PlacementLimits {
  std::int32_t minWidth = 0;
  std::int32_t minHeight = 0;
  std::int32_t titleBarHeight = 0;
  std::int32_t grip = 0;
};

// The placement to use for a stored one, given the screens' available areas.
// A stored placement whose size lies between the minimum and the desktop
// (the box around all screens) and whose title bar is on a screen (its full
// height inside the screen, at least `grip` of its width, or all of a
// narrower window) is returned unchanged. Otherwise the size is cut to the
// desktop and raised to the minimum, and the window is moved into the screen
// its title bar is on, or else the screen nearest to the middle of its title
// bar, as far as it fits (left and top edges first). No screens: unchanged.
TwipArea FitPlacementToScreens(const TwipArea& stored, const std::vector<TwipArea>& screens,
                               const PlacementLimits& limits);

}  // namespace serenitap
