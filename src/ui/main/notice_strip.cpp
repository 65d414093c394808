#include "ui/main/notice_strip.h"

#include <QAccessible>
#include <QCoreApplication>
#include <QPointer>
#include <QThread>
#include <algorithm>
#include <vector>

#include "services/notice.h"
#include "ui/dialogs/accessible_role.h"

namespace serenitap {

NoticeStrip::NoticeStrip(QWidget* parent) : QLabel(parent) {
  SetAccessibleRole(this, QAccessible::AlertMessage);
  setAccessibleDescription(QStringLiteral("Notice"));
  setTextFormat(Qt::PlainText);
  setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
  setFocusPolicy(Qt::NoFocus);
  hide();
  timer_.setSingleShot(true);
  timer_.setInterval(kShowMilliseconds);
  connect(&timer_, &QTimer::timeout, this, &NoticeStrip::Advance);
}

void NoticeStrip::Add(const QString& text) {
  const QString line = text.simplified();
  if (line.isEmpty() || line == current_ || std::find(queue_.begin(), queue_.end(), line) != queue_.end()) return;
  queue_.push_back(line);
  if (current_.isEmpty()) Advance();
}

void NoticeStrip::Advance() {
  timer_.stop();
  current_.clear();
  if (!queue_.empty()) {
    current_ = queue_.front();
    queue_.pop_front();
  }
  ShowCurrent();
  if (current_.isEmpty()) return;
  timer_.start();
  QAccessibleEvent alert(this, QAccessible::Alert);
  QAccessible::updateAccessibility(&alert);
}

void NoticeStrip::ShowCurrent() {
  setVisible(!current_.isEmpty());
  setToolTip(current_);
  setAccessibleName(current_);
  // An empty strip measures nothing: measuring loads the type.
  setText(current_.isEmpty() ? QString()
                             : fontMetrics().elidedText(current_, Qt::ElideRight, std::max(0, contentsRect().width())));
}

void NoticeStrip::resizeEvent(QResizeEvent* event) {
  QLabel::resizeEvent(event);
  ShowCurrent();
}

namespace {

QPointer<NoticeStrip>& Strip() {
  static QPointer<NoticeStrip> strip;
  return strip;
}

std::vector<QString>& Early() {
  static std::vector<QString> early;
  return early;
}

void Deliver(const QString& text) {
  if (NoticeStrip* strip = Strip()) {
    strip->Add(text);
  } else {
    Early().push_back(text);
  }
}

}  // namespace

void InstallNoticeDisplay() {
  SetNoticeSink([](const std::string& text) {
    const QString line = QString::fromStdString(text);
    QCoreApplication* app = QCoreApplication::instance();
    if (app != nullptr && QThread::currentThread() != app->thread()) {
      QMetaObject::invokeMethod(
          app, [line] { Deliver(line); }, Qt::QueuedConnection);
    } else {
      Deliver(line);
    }
  });
}

void AttachNoticeStrip(NoticeStrip* strip) {
  Strip() = strip;
  if (strip == nullptr) return;
  for (const QString& text : Early()) strip->Add(text);
  Early().clear();
}

}  // namespace serenitap
