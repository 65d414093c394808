#pragma once
// The controls of the main window as plain data: kind, container, design
// geometry in twips, font, colours, caption and whether each one is showing
// once the window has loaded (on the introduction step). The window builds
// itself from this table; the tests compare the built window against it.
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "session/step_display.h"

namespace serenitap::main_window {

// Client area of the window at design size, in twips.
inline constexpr double kDesignClientWidth = 17280;
inline constexpr double kDesignClientHeight = 10995;
// Height of the strips docked to the top and bottom edges.
inline constexpr double kToolbarHeight = 690;
inline constexpr double kStatusBarHeight = 465;
// The dots on the pictures (shpStep(1..16)) and their size.
using serenitap::kDotCount;
inline constexpr double kDotSize = 240;

using serenitap::Rgb;
inline constexpr Rgb kThymusBorder{128, 255, 128};
inline constexpr Rgb kStripBack{252, 252, 252};
inline constexpr Rgb kSplitBack{240, 240, 240};

enum class ControlKind {
  PictureBox,    // a container that may show a picture and holds controls
  Label,         // static text
  Frame,         // a grouping container without caption or border
  PushButton,    // a button; "&" in the caption marks its access key
  OptionButton,  // one of a group of exclusive choices
  Shape,         // a filled circle (the dots)
  Timer,         // no visible part
  TextBox,       // multi-line text field
  LineEdit,      // one-line text field
  Menu,          // a popup menu
};

enum class Dock { None, Top, Bottom };

// Where a colour comes from.
enum class Paint {
  Default,           // whatever the widget style gives
  Transparent,       // the container shows through
  White,             // RGB(255, 255, 255)
  SystemWindow,      // the desktop's window (text field) background
  SystemWindowText,  // the desktop's window text colour
  System3DLight,     // the desktop's light 3-D colour
  Fixed,             // the Rgb given next to it
};

struct FontDesign {
  std::string_view family;  // empty: the window's own font
  double points = 0;
  bool bold = false;
};

// The window's own font, inherited by controls that set none.
inline constexpr FontDesign kWindowFont{"Segoe UI", 9, false};

struct TwipRect {
  double left = 0;
  double top = 0;
  double width = 0;
  double height = 0;
  friend constexpr bool operator==(const TwipRect&, const TwipRect&) = default;
};

struct ControlDesign {
  std::string_view name;
  int index = -1;  // element of a control array, -1 otherwise
  ControlKind kind = ControlKind::Label;
  std::string_view container;  // empty: the window itself
  TwipRect geometry;           // design geometry; for controls placed by the
                               // layout only the size given at design counts
  bool byLayout = false;       // ArrangeControls places it
  Dock dock = Dock::None;
  FontDesign font;
  Paint back = Paint::Default;
  Rgb backRgb;  // fill colour when back is Fixed
  Paint fore = Paint::Default;
  Rgb borderRgb;  // border of a shape
  std::string_view caption;
  bool visibleAtStart = true;
  bool centred = false;    // centred text
  std::string_view image;  // the picture it shows: its file under resources/ (built_pictures.h)
};

// Every control of the main window, containers before what they contain.
std::span<const ControlDesign> Controls();

// The control of that name and index, or nullptr.
const ControlDesign* FindControl(std::string_view name, int index = -1);

// "cmdNavig(1)" for an array element, the plain name otherwise.
std::string ObjectNameOf(std::string_view name, int index);

// What a dot marks, for the screen reader: "top of the head", ...
std::string_view DotPointName(int index);

}  // namespace serenitap::main_window
