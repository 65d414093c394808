// The chart of My Progress, built as the module serenitap_chart (and, for the
// tests and tools, as the library serenitap_chart_linked): see progress_chart.h.
#include <QLegendMarker>
#include <QtCharts/QAreaSeries>
#include <QtCharts/QCategoryAxis>
#include <QtCharts/QChart>
#include <QtCharts/QChartView>
#include <QtCharts/QLineSeries>
#include <QtCharts/QValueAxis>
#include <utility>

#include "ui/journal/progress_chart.h"
#include "ui/qt_text.h"

namespace serenitap {
namespace {

const QColor kBeforeColour(0xC0, 0x39, 0x2B);
const QColor kAfterColour(0x1E, 0x8E, 0x3E);

QWidget* CreateView(QWidget* parent) {
  auto* chart = new QChart();
  chart->setMargins(QMargins(4, 4, 4, 4));
  chart->legend()->setAlignment(Qt::AlignBottom);
  auto* view = new QChartView(chart, parent);
  view->setRenderHint(QPainter::Antialiasing);
  return view;
}

void Draw(QWidget* view, const journal::ChartPlan& plan, const QString& period) {
  QChart* chart = static_cast<QChartView*>(view)->chart();
  chart->removeAllSeries();
  for (QAbstractAxis* axis : chart->axes()) {
    chart->removeAxis(axis);
    delete axis;
  }
  if (plan.kind == journal::ChartKind::Empty) {
    chart->setTitle(QStringLiteral("No sessions to draw yet"));
    return;
  }
  chart->setTitle(ToQString(plan.title));

  auto* time = new QCategoryAxis();
  time->setRange(plan.from, plan.to);
  time->setStartValue(plan.from);
  for (const journal::AxisLabel& label : plan.labels) time->append(ToQString(label.text), label.at);
  time->setLabelsPosition(QCategoryAxis::AxisLabelsPositionOnValue);
  time->setTitleText(ToQString(plan.axisTitle));
  auto* rating = new QValueAxis();
  rating->setRange(0, 10);
  rating->setTickCount(6);
  rating->setMinorTickCount(1);
  rating->setLabelFormat(QStringLiteral("%d"));
  rating->setTitleText(QStringLiteral("Distress (SUD)"));
  chart->addAxis(time, Qt::AlignBottom);
  chart->addAxis(rating, Qt::AlignLeft);
  auto attach = [&](QAbstractSeries* series) {
    chart->addSeries(series);
    series->attachAxis(time);
    series->attachAxis(rating);
  };
  auto line = [](const QString& name, const QColor& colour) {
    auto* series = new QLineSeries();
    series->setName(name);
    QPen pen(colour);
    pen.setWidthF(2);
    series->setPen(pen);
    return series;
  };

  if (plan.kind == journal::ChartKind::Sessions) {
    const std::pair<const std::vector<journal::ChartPoint>*, QLineSeries*> lines[] = {
        {&plan.before, line(QStringLiteral("Before tapping"), kBeforeColour)},
        {&plan.after, line(QStringLiteral("After tapping"), kAfterColour)}};
    for (const auto& [points, series] : lines) {
      QList<QPointF> list;
      for (const journal::ChartPoint& p : *points) list.append(QPointF(p.x, p.y));
      series->replace(list);
      series->setPointsVisible(true);
      // Markers large enough to see for a few sessions, smaller as they crowd.
      series->setMarkerSize(plan.before.size() <= 5 ? 10 : plan.before.size() <= 20 ? 8 : 6);
      attach(series);
    }
    return;
  }

  const std::pair<const std::vector<journal::TrendPoint>*, std::pair<QString, QColor>> trends[] = {
      {&plan.beforeTrend, {QStringLiteral("Before tapping (%1 median)").arg(period), kBeforeColour}},
      {&plan.afterTrend, {QStringLiteral("After tapping (%1 median)").arg(period), kAfterColour}}};
  for (const auto& [points, style] : trends) {
    // The band does not own the lines it lies between; they go with it.
    auto* band = new QAreaSeries();
    auto* low = new QLineSeries(band);
    auto* high = new QLineSeries(band);
    auto* median = line(style.first, style.second);
    QList<QPointF> lows, highs, medians;
    for (const journal::TrendPoint& p : *points) {
      lows.append(QPointF(p.x, p.low));
      highs.append(QPointF(p.x, p.high));
      medians.append(QPointF(p.x, p.median));
    }
    low->replace(lows);
    high->replace(highs);
    median->replace(medians);
    median->setPointsVisible(points->size() <= 1);
    band->setUpperSeries(high);
    band->setLowerSeries(low);
    QColor fill = style.second;
    fill.setAlpha(50);
    band->setBrush(fill);
    band->setPen(Qt::NoPen);
    attach(band);
    attach(median);
    for (QLegendMarker* marker : chart->legend()->markers(band)) marker->setVisible(false);
  }
}

const ProgressChartModule kChart{CreateView, Draw};

}  // namespace

const ProgressChartModule* LinkedProgressChart() { return &kChart; }

}  // namespace serenitap

extern "C" Q_DECL_EXPORT const serenitap::ProgressChartModule* SerenitapProgressChart() { return &serenitap::kChart; }
