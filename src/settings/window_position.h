#pragma once
// The stored placement of the main window: FormPos_Save and FormPos_Read work
// on a plain placement record, so the window only fills it in and applies it.
// Values live under HKEY_CURRENT_USER\Software\Serenitap\WindowPosition as
// "Left", "Top", "Width", "Height" (twips) and "State" (0 normal,
// 1 minimized, 2 maximized), all REG_DWORD.
#include <cstdint>

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

}  // namespace serenitap
