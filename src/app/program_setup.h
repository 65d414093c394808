#pragma once
// What the program sets up once its application object exists: its name and
// icon, the dialogs that show messages and failure reports, and the screen the
// system information reads.

namespace serenitap {

void SetUpProgram();

}  // namespace serenitap
