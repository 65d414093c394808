#pragma once
// The program's look on every desktop. Every window, dialog and menu shows
// the colours it was designed with, for its text and for what lies behind the
// text alike: a dark or high-contrast desktop palette would otherwise put the
// desktop's light text on the program's white panes and pictures. The marker
// colours (red and green dots) and the pictures were drawn for these
// backgrounds. Every text is set in the one designed type family, with its
// metric-close stand-ins.
#include <QColor>
#include <QFont>
#include <QPalette>

namespace serenitap {

// The designed colours for every role, in every colour group: the light
// palette the windows were drawn and measured with.
QPalette DesignedPalette();

// The designed family at `points`, with its stand-ins where it is missing.
QFont DesignedTextFont(double points = 9);

// Makes the designed palette and font the application's, for every window
// made from now on and every window already open. Changes of the desktop's
// theme while the program runs leave them in place.
void ApplyDesignedLook();

// How well text of colour `text` reads on `background`: the ratio of their
// relative luminances (each plus 0.05), from 1 (none) to 21 (black on white).
// A text colour that is not opaque is first laid over the background.
double ContrastRatio(const QColor& text, const QColor& background);

// The smallest ratio at which body text counts as readable.
inline constexpr double kReadableContrast = 4.5;

}  // namespace serenitap
