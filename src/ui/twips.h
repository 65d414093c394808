#pragma once
// Twips, the unit the window's and the dialogs' geometry is drawn up in: 1440
// to the inch, so 15 to one of Qt's device-independent pixels (96 to the inch).
#include <cmath>

namespace serenitap {

inline constexpr double kTwipsPerPixel = 15;

// To the nearest whole pixel, halves away from zero.
inline int TwipsToPixels(double twips) { return static_cast<int>(std::lround(twips / kTwipsPerPixel)); }

// Pixels to twips, exactly.
inline constexpr double PixelsToTwips(double pixels) { return pixels * kTwipsPerPixel; }

}  // namespace serenitap
