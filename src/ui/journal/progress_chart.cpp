#include "ui/journal/progress_chart.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLibrary>

namespace serenitap {
namespace {

const ProgressChartModule* handedOver = nullptr;
const ProgressChartModule* loaded = nullptr;

}  // namespace

void UseProgressChart(const ProgressChartModule* linked) { handedOver = linked; }

const ProgressChartModule* LoadProgressChart(QString& error) {
  if (handedOver != nullptr) return handedOver;
  if (loaded != nullptr) return loaded;
  // Beside the program in its build folder; installed, SERENITAP_CHART_FROM_BIN
  // leads from the program's folder to the module's.
  const QDir programFolder(QCoreApplication::applicationDirPath());
  const QString name = QStringLiteral("serenitap_chart.so");
  const QString places[] = {programFolder.filePath(name),
                            programFolder.filePath(QStringLiteral(SERENITAP_CHART_FROM_BIN "/") + name)};
  QStringList reasons;
  for (const QString& place : places) {
    if (!QFile::exists(place)) continue;
    QLibrary module(place);  // stays loaded: the view and the chart's classes live in it
    const auto entry = reinterpret_cast<ProgressChartEntry>(module.resolve(kProgressChartEntry));
    if (entry != nullptr && (loaded = entry()) != nullptr) return loaded;
    reasons << module.errorString();
  }
  error = reasons.isEmpty() ? QStringLiteral("%1 was found neither in %2 nor in %3")
                                  .arg(name, QDir::toNativeSeparators(programFolder.path()),
                                       QDir::toNativeSeparators(QDir::cleanPath(QFileInfo(places[1]).absolutePath())))
                            : reasons.join(QStringLiteral("; "));
  return nullptr;
}

}  // namespace serenitap
