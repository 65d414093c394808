#pragma once
// The display of notices (services/notice.h): a line in the main window's
// status strip that shows each notice for a while, one after the other.
// It never takes the focus and never waits for an answer; a screen reader
// hears each notice as an alert. When the strip is too narrow, the line
// shows the notice's beginning, and the whole text is its tooltip and its
// accessible name.
#include <QLabel>
#include <QString>
#include <QTimer>
#include <deque>

namespace serenitap {

class NoticeStrip : public QLabel {
  Q_OBJECT

 public:
  static constexpr int kShowMilliseconds = 12000;

  explicit NoticeStrip(QWidget* parent = nullptr);

  // Queues a notice; one already shown or waiting is not repeated.
  void Add(const QString& text);
  // Ends the notice on show and shows the next one, if any (what the
  // display timer runs when a notice's time is up).
  void Advance();

  QString Current() const { return current_; }
  int Waiting() const { return static_cast<int>(queue_.size()); }
  QTimer& DisplayTimer() { return timer_; }

 protected:
  void resizeEvent(QResizeEvent* event) override;

 private:
  void ShowCurrent();

  QTimer timer_;
  QString current_;
  std::deque<QString> queue_;
};

// Makes notices go to the strip that AttachNoticeStrip names; notices that
// come before there is one (while the settings are read at start-up) wait
// for it.
void InstallNoticeDisplay();
void AttachNoticeStrip(NoticeStrip* strip);

}  // namespace serenitap
