#pragma once
// The role a screen reader announces for a widget whose class does not tell
// it: the main window (a frame), its strips (a tool bar, a status bar), a
// picture (an image), a group of choices (a grouping), a clickable address (a
// link), a line that warns (an alert). Only widgets of this program's own
// classes can take a role: Qt answers for its own classes first.
#include <QAccessible>

class QWidget;

namespace serenitap {

void SetAccessibleRole(QWidget* widget, QAccessible::Role role);

}  // namespace serenitap
