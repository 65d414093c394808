#pragma once
// Twips, the unit the window's and the dialogs' geometry is drawn up in: 1440
// to the inch, so 15 to one of Qt's device-independent pixels (96 to the inch).

namespace serenitap {

inline constexpr double kTwipsPerPixel = 15;

// To the nearest whole pixel, halves away from zero (as std::lround, for the
// window's range of coordinates): worked out here, the window keeps no page
// of the maths library in memory for it.
inline int TwipsToPixels(double twips) {
  const double pixels = twips / kTwipsPerPixel;
  int whole = static_cast<int>(pixels);  // towards zero
  const double rest = pixels - whole;    // exact
  if (rest >= 0.5) ++whole;
  if (rest <= -0.5) --whole;
  return whole;
}

// Pixels to twips, exactly.
inline constexpr double PixelsToTwips(double pixels) { return pixels * kTwipsPerPixel; }

}  // namespace serenitap
