#pragma once
// What the program sets up once its application object exists: its designed
// colours and type family (ui/look.h), its name and icon, and the dialogs and
// strip that show messages, failure reports and notices.

#include <QIcon>
#include <array>

namespace serenitap {

void SetUpProgram();

// The program's icon (resources/serenitap.svg) as PNGs rendered when the
// program is built, at the sizes the window system is given.
inline constexpr std::array kWindowIconSizes{16, 32, 64, 128};
QIcon WindowIcon();

}  // namespace serenitap
