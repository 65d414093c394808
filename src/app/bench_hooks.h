#pragma once
// Opt-in measurement hooks for the benchmarks in bench/. Each one is switched
// on by its environment variable and does nothing at all when it is unset:
//
//   SERENITAP_BENCH_FIRST_PAINT (any value)
//     When the window has been painted for the first time, prints
//     "first_paint_ns <n>" to stderr (n: CLOCK_MONOTONIC in nanoseconds)
//     and quits the program.
//   SERENITAP_BENCH_TICK_LOG=<file>
//     Counts the timeouts of the step timer and appends "<ticks> <n>" to the
//     file every 100 ticks and when the program quits (n as above).
//   SERENITAP_BENCH_PROGRESS (any value)
//     Once the window has been painted, opens "My Progress" through the
//     window's own command; when its chart has been painted for the first
//     time, prints "progress_open_ns <n>" (when the command was given) and
//     "progress_chart_ns <n>" to stderr and quits the program.
#include <functional>

class QTimer;
class QWidget;

namespace serenitap {

void InstallBenchHooks(QWidget& window, QTimer* stepTimer);
// openProgress opens "My Progress" modally, as its menu item does.
void InstallProgressBenchHook(QWidget& window, std::function<void()> openProgress);

}  // namespace serenitap
