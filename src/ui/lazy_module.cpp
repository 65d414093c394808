#include "ui/lazy_module.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLibrary>
#include <QStringList>

namespace serenitap {

QFunctionPointer LoadModuleEntry(const QString& fileName, const QString& fromBin, const char* entry, QString& error) {
  const QDir programFolder(QCoreApplication::applicationDirPath());
  const QString places[] = {programFolder.filePath(fileName), programFolder.filePath(fromBin + u'/' + fileName)};
  QStringList reasons;
  for (const QString& place : places) {
    if (!QFile::exists(place)) continue;
    QLibrary module(place);  // stays loaded: what the entry hands out lives in it
    if (const QFunctionPointer found = module.resolve(entry)) return found;
    reasons << module.errorString();
  }
  error = reasons.isEmpty() ? QStringLiteral("%1 was found neither in %2 nor in %3")
                                  .arg(fileName, QDir::toNativeSeparators(programFolder.path()),
                                       QDir::toNativeSeparators(QDir::cleanPath(QFileInfo(places[1]).absolutePath())))
                            : reasons.join(QStringLiteral("; "));
  return nullptr;
}

}  // namespace serenitap
