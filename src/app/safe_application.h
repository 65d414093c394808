#pragma once
// The application object with a last line of defence: a failure that escapes
// an event handler is reported and the program keeps running.
#include <QApplication>

namespace serenitap {

class SafeApplication : public QApplication {
 public:
  using QApplication::QApplication;
  bool notify(QObject* receiver, QEvent* event) override;
};

}  // namespace serenitap
