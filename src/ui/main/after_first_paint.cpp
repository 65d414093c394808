#include "ui/main/after_first_paint.h"

#include <QCoreApplication>
#include <QEvent>
#include <QPointer>
#include <QTimer>
#include <QWidget>
#include <vector>

namespace serenitap {
namespace {

// Watches the window and the controls on it for the first paint event; a
// paint of any of them belongs to the window's first paint.
class FirstPaintWatch : public QObject {
 public:
  explicit FirstPaintWatch(QWidget& window) : QObject(&window), window_(window) { qApp->installEventFilter(this); }

  void Add(std::function<void()> job) {
    if (done_) {
      QTimer::singleShot(0, this, std::move(job));
      return;
    }
    jobs_.push_back(std::move(job));
  }

  bool Done() const { return done_; }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::Paint && !painted_ && watched->isWidgetType() &&
        static_cast<QWidget*>(watched)->window() == &window_) {
      painted_ = true;
      qApp->removeEventFilter(this);
      // After the rest of this paint has been drawn and put on the screen.
      QTimer::singleShot(0, this, [this] { RunJobs(); });
    }
    return QObject::eventFilter(watched, event);
  }

 private:
  void RunJobs() {
    done_ = true;
    const QPointer<FirstPaintWatch> alive(this);
    std::vector<std::function<void()>> jobs;
    jobs.swap(jobs_);
    for (auto& job : jobs) {
      job();
      if (alive.isNull()) return;  // a job closed the window
    }
  }

  QWidget& window_;
  std::vector<std::function<void()>> jobs_;
  bool painted_ = false;
  bool done_ = false;
};

FirstPaintWatch* WatchOf(const QWidget& window) {
  for (QObject* child : window.children()) {
    if (auto* watch = dynamic_cast<FirstPaintWatch*>(child)) return watch;
  }
  return nullptr;
}

}  // namespace

void AfterFirstPaint(QWidget& window, std::function<void()> job) {
  FirstPaintWatch* watch = WatchOf(window);
  if (watch == nullptr) watch = new FirstPaintWatch(window);
  watch->Add(std::move(job));
}

bool FirstPaintDone(const QWidget& window) {
  const FirstPaintWatch* watch = WatchOf(window);
  return watch != nullptr && watch->Done();
}

}  // namespace serenitap
