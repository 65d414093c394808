#include "ui/journal/progress_chart.h"

#include "ui/lazy_module.h"

namespace serenitap {
namespace {

const ProgressChartModule* handedOver = nullptr;
const ProgressChartModule* loaded = nullptr;

}  // namespace

void UseProgressChart(const ProgressChartModule* linked) { handedOver = linked; }

const ProgressChartModule* LoadProgressChart(QString& error) {
  if (handedOver != nullptr) return handedOver;
  if (loaded != nullptr) return loaded;
  const auto entry = reinterpret_cast<ProgressChartEntry>(LoadModuleEntry(
      QStringLiteral("serenitap_chart.so"), QStringLiteral(SERENITAP_CHART_FROM_BIN), kProgressChartEntry, error));
  if (entry != nullptr && (loaded = entry()) == nullptr) error = QStringLiteral("serenitap_chart.so gave no chart");
  return loaded;
}

}  // namespace serenitap
