#pragma once
// What the program sets up once its application object exists: its designed
// colours and type family (ui/look.h), its name and icon, the dialogs that
// show messages and failure reports, and the screen the system information
// reads.

namespace serenitap {

void SetUpProgram();

}  // namespace serenitap
