#pragma once
// A ring around the control that has the keyboard focus, in every window of
// the program: two pixels wide, in the desktop's highlight colour where that
// stands out 3:1 from what lies around the control, else in black or white.
// It takes no clicks and no focus.
#include <QColor>

namespace serenitap {

// Once for the whole program; later calls do nothing.
void InstallFocusRing();

// The ring's colour around a control on this background.
QColor FocusRingColour(const QColor& background, const QColor& highlight);

}  // namespace serenitap
