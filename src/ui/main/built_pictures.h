#pragma once
// The main window's pictures and icons, compiled in as filled drawings that
// the build makes of their SVG files in resources/ (fill_pictures.cpp): the
// window reads no file and strokes no line to draw them.
#include <string_view>

#include "ui/svg_drawing.h"

namespace serenitap::main_window {

// The drawing made of the file at name, a path under resources/
// ("pictures/body_chart.svg"); null when the build made none of it.
const FilledDrawing* BuiltPicture(std::string_view name);

}  // namespace serenitap::main_window
