#pragma once
// Shows the program's message boxes as real dialogs.

namespace serenitap {

// Installs the dialog sink for MsgBox.
void InstallMessageBoxDialogs();

}  // namespace serenitap
