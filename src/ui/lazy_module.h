#pragma once
// Finding a module the program loads only when it is first needed (the chart
// of My Progress, the dialogs' pictures): beside the program in its build
// folder, or where fromBin leads from the program's folder once installed.
#include <QFunctionPointer>
#include <QString>

namespace serenitap {

// The module's exported function named entry; the module stays loaded. Null,
// with the reason in error, when no module is found or it cannot be loaded.
QFunctionPointer LoadModuleEntry(const QString& fileName, const QString& fromBin, const char* entry, QString& error);

}  // namespace serenitap
