#pragma once
// The window icon, drawn from the program's picture (resources/serenitap.svg)
// at build time: serenitap_render_icon renders it at the sizes the window
// system asks for, exactly as the toolkit's SVG icon engine would at start-up,
// into a generated source of pixels. At start-up the icon only wraps those
// pixels: no picture is parsed, drawn or read and no image plugin is loaded
// before the first window shows.
#include <cstdint>
#include <span>

class QIcon;

namespace serenitap {

// One size of the icon: size x size pixels, row by row, each 0xAARRGGBB with
// the colour premultiplied by its alpha (QImage::Format_ARGB32_Premultiplied).
struct IconPixels {
  int size;
  const std::uint32_t* pixels;
};

// The sizes X11 window managers are handed for a scalable icon, smallest first.
inline constexpr int kProgramIconSizes[] = {16, 32, 64, 128};

// The generated pixels, one entry for each of kProgramIconSizes.
std::span<const IconPixels> ProgramIconPixels();

QIcon ProgramIcon();

}  // namespace serenitap
