#include "app/bench_hooks.h"

#include <QCoreApplication>
#include <QEvent>
#include <QTimer>
#include <QWidget>
#include <chrono>
#include <cinttypes>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <utility>

namespace serenitap {
namespace {

// steady_clock is CLOCK_MONOTONIC on Linux, the clock the benchmark script reads.
// CPU time of the whole process (every thread), for reading times on a busy machine.
std::int64_t ProcessCpuNs() {
  return std::chrono::duration_cast<std::chrono::nanoseconds>(
             std::chrono::duration<double>(static_cast<double>(std::clock()) / CLOCKS_PER_SEC))
      .count();
}

std::int64_t MonotonicNs() {
  return std::chrono::duration_cast<std::chrono::nanoseconds>(std::chrono::steady_clock::now().time_since_epoch())
      .count();
}

// A line of /proc/self/status in KiB ("VmRSS", "VmHWM"); -1 where there is none.
long StatusKib(const char* field) {
  std::FILE* status = std::fopen("/proc/self/status", "r");
  if (status == nullptr) return -1;
  char line[256];
  long kib = -1;
  const std::size_t length = std::strlen(field);
  while (std::fgets(line, sizeof line, status) != nullptr) {
    if (std::strncmp(line, field, length) == 0 && line[length] == ':')
      kib = std::strtol(line + length + 1, nullptr, 10);
  }
  std::fclose(status);
  return kib;
}

// Reports once the first paint of the window has been handled: the first paint
// event of the window or one of its controls is seen here, the report runs
// after the rest of that repaint has been drawn and flushed.
class FirstPaintReporter : public QObject {
 public:
  explicit FirstPaintReporter(QWidget& window) : QObject(&window), window_(window) {}

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::Paint && !seen_ && watched->isWidgetType() &&
        static_cast<QWidget*>(watched)->window() == &window_) {
      seen_ = true;
      QTimer::singleShot(0, this, [] {
        std::fprintf(stderr, "first_paint_ns %" PRId64 "\n", MonotonicNs());
        std::fflush(stderr);
        QCoreApplication::exit(0);
      });
    }
    return QObject::eventFilter(watched, event);
  }

 private:
  QWidget& window_;
  bool seen_ = false;
};

// Opens the progress window once the main window has been painted, and reports
// when the chart of the progress window has been painted for the first time,
// with the memory in use before the window opened (VmRSS) and the peak since
// the program started (VmHWM), in KiB.
// A chart is drawn on the viewport of its QChartView, so a paint event of the
// view or of a widget inside it is the chart's.
class ProgressChartReporter : public QObject {
 public:
  ProgressChartReporter(QWidget& window, std::function<void()> openProgress)
      : QObject(&window), window_(window), openProgress_(std::move(openProgress)) {}

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() != QEvent::Paint || !watched->isWidgetType()) return QObject::eventFilter(watched, event);
    auto* widget = static_cast<QWidget*>(watched);
    if (openedAt_ < 0 && !opening_ && widget->window() == &window_) {
      opening_ = true;
      QTimer::singleShot(0, this, [this] {
        rssBeforeKib_ = StatusKib("VmRSS");
        cpuAtOpen_ = ProcessCpuNs();
        openedAt_ = MonotonicNs();
        openProgress_();  // modal: returns when the window has closed
      });
    } else if (openedAt_ >= 0 && !seen_ && InChartView(widget)) {
      seen_ = true;
      QTimer::singleShot(0, this, [this] {
        const std::int64_t paintedAt = MonotonicNs();
        std::fprintf(stderr,
                     "progress_open_ns %" PRId64 "\nprogress_chart_ns %" PRId64 "\nprogress_cpu_ns %" PRId64
                     "\nprogress_rss_before_kib %ld\nprogress_hwm_kib %ld\n",
                     openedAt_, paintedAt, ProcessCpuNs() - cpuAtOpen_, rssBeforeKib_, StatusKib("VmHWM"));
        std::fflush(stderr);
        QCoreApplication::exit(0);  // leaves the window's loop and the program's
      });
    }
    return QObject::eventFilter(watched, event);
  }

 private:
  static bool InChartView(const QWidget* widget) {
    for (; widget != nullptr && !widget->isWindow(); widget = widget->parentWidget()) {
      if (widget->inherits("QChartView")) return true;
    }
    return false;
  }

  QWidget& window_;
  std::function<void()> openProgress_;
  std::int64_t openedAt_ = -1;
  long rssBeforeKib_ = -1;
  std::int64_t cpuAtOpen_ = 0;
  bool opening_ = false;
  bool seen_ = false;
};

void LogTicks(std::FILE* file, std::uint64_t ticks) {
  std::fprintf(file, "%" PRIu64 " %" PRId64 "\n", ticks, MonotonicNs());
  std::fflush(file);
}

}  // namespace

void InstallBenchHooks(QWidget& window, QTimer* stepTimer) {
  if (std::getenv("SERENITAP_BENCH_FIRST_PAINT") != nullptr) {
    qApp->installEventFilter(new FirstPaintReporter(window));
  }
  const char* tickLog = std::getenv("SERENITAP_BENCH_TICK_LOG");
  if (tickLog != nullptr && tickLog[0] != '\0' && stepTimer != nullptr) {
    static std::FILE* file = nullptr;
    static std::uint64_t ticks = 0;
    file = std::fopen(tickLog, "a");
    if (file == nullptr) return;
    QObject::connect(stepTimer, &QTimer::timeout, stepTimer, [] {
      if (++ticks % 100 == 0 && file != nullptr) LogTicks(file, ticks);
    });
    QObject::connect(qApp, &QCoreApplication::aboutToQuit, qApp, [] {
      if (file == nullptr) return;
      LogTicks(file, ticks);
      std::fclose(file);
      file = nullptr;
    });
  }
}

void InstallProgressBenchHook(QWidget& window, std::function<void()> openProgress) {
  if (std::getenv("SERENITAP_BENCH_PROGRESS") == nullptr) return;
  qApp->installEventFilter(new ProgressChartReporter(window, std::move(openProgress)));
}

}  // namespace serenitap
