#pragma once
// The main window's placement between the window system and the stored
// settings: the screens and the window's limits in twips for the decisions
// of settings/window_position.h, the decision applied to the window, and the
// normal placement a maximized window returns to.
#include <vector>

#include "settings/window_position.h"

class QWidget;

namespace serenitap::main_window {

// Every screen in twips, the primary one (where a new window opens) first.
std::vector<ScreenArea> ScreensInTwips();

// The main window's limits: a third of its design size at least, its title
// bar, and its outer size at design.
PlacementLimits MainWindowLimits();

// Moves and sizes the window, not yet shown, to the decided normal placement
// and maximizes it when so decided.
void ApplyPlacement(QWidget& window, const PlacementDecision& decision);

// The window's outer placement as the window system reports it, in twips,
// with the state it is in (normal or maximized).
WindowPlacement CurrentPlacement(const QWidget& window);

}  // namespace serenitap::main_window
