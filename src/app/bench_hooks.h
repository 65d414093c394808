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
class QTimer;
class QWidget;

namespace serenitap {

void InstallBenchHooks(QWidget& window, QTimer* stepTimer);

}  // namespace serenitap
