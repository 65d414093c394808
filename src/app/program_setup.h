#pragma once
// What the program sets up once its application object exists: its designed
// colours and type family (ui/look.h), its name and icon, and the dialogs and
// strip that show messages, failure reports and notices.

namespace serenitap {

void SetUpProgram();

}  // namespace serenitap
