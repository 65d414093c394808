#pragma once
// The chart of My Progress is drawn by a module of its own (serenitap_chart,
// progress_chart_module.cpp), loaded the first time My Progress opens: Qt
// Charts and the OpenGL libraries it brings then cost the program's start
// nothing, neither time nor memory. The module needs nothing of the program
// but the plan it is given.
#include <QString>

#include "journal/progress_view.h"

class QWidget;

namespace serenitap {

struct ProgressChartModule {
  // The chart's view, with nothing drawn yet, made a child of parent.
  QWidget* (*createView)(QWidget* parent);
  // Draws the plan in a view made by createView, in place of what it showed;
  // periodAdjective ("weekly", "monthly", …) names a trend's periods.
  void (*draw)(QWidget* view, const journal::ChartPlan& plan, const QString& periodAdjective);
};

// The module's one exported function returns its table under this name.
inline constexpr char kProgressChartEntry[] = "SerenitapProgressChart";
using ProgressChartEntry = const ProgressChartModule* (*)();

// The module, loaded on the first call (beside the program, then where it is
// installed), or the one handed over with UseProgressChart. Null, with the
// reason in error, when it cannot be loaded; the next call tries again.
const ProgressChartModule* LoadProgressChart(QString& error);
// Tests and tools that link the chart (serenitap_chart_linked) hand it over
// with LinkedProgressChart(); null goes back to loading the module.
void UseProgressChart(const ProgressChartModule* linked);
const ProgressChartModule* LinkedProgressChart();

}  // namespace serenitap
