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
// title bar, how much of the title bar must lie on a screen to grab it, the
// width its side borders may take beyond its measured width; and its outer
// size at design.
struct PlacementLimits {
  std::int32_t minWidth = 0;
  std::int32_t minHeight = 0;
  std::int32_t titleBarHeight = 0;
  std::int32_t grip = 0;
  std::int32_t borders = 0;
  std::int32_t designWidth = 0;
  std::int32_t designHeight = 0;
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

// A screen: all of it, and the part windows may take (without panels and docks).
struct ScreenArea {
  TwipArea whole;
  TwipArea available;
};

// Where and how the main window opens: its outer placement in the normal
// state, and whether it is maximized over it.
struct PlacementDecision {
  TwipArea geometry;
  std::int32_t window_state = kWindowStateNormal;
  friend bool operator==(const PlacementDecision&, const PlacementDecision&) = default;
};

// The placement for a stored one (a width of 0 when none is stored) on these
// screens, the one a new window opens on first.
// - A stored size of at least the minimum is fitted to the screens as
//   FitPlacementToScreens does, and maximized again when State was 2.
// - Without one (nothing stored, or a size too small to use, State 2 alone
//   included) the window opens at the design size, centred on its whole
//   screen as far as it stays within the available area; where the design
//   does not fit the available area, the window is maximized over a normal
//   placement that fills that area (less the borders' width), so that all of
//   it, title bar included, is on the screen. A stored State 2 keeps it
//   maximized.
// No screens: the stored placement, or the design size at the origin.
PlacementDecision DecidePlacement(const TwipArea& stored, std::int32_t storedState,
                                  const std::vector<ScreenArea>& screens, const PlacementLimits& limits);

// Stores the placement: each measure rounded to the nearest 32-bit integer
// (halves to even), then, given the screens, replaced by the one
// DecidePlacement makes of it, so that a placement of no use (off every
// screen, too small) is never stored; a maximized window stores the normal
// placement it returns to. Left, Top, Width, Height and State are written.
// A measure beyond 32 bits is reported as an overflow (module "frmMain",
// procedure "FormPos_Save") and nothing is written.
void FormPos_Save(const WindowPlacement& placement, const std::vector<ScreenArea>& screens = {},
                  const PlacementLimits& limits = {});

}  // namespace serenitap
