#pragma once
// Steps the widget tests share: a window shown as the window system shows it,
// a step run inside a modal loop (which ends in time even when the step does
// not close the window), and a control found by its object name.
#include <gtest/gtest.h>

#include <QApplication>
#include <QPointer>
#include <QPushButton>
#include <QTimer>
#include <functional>
#include <stdexcept>
#include <string>

namespace serenitap::testing {

// Shows a window and activates it, as the window system does when it opens.
inline void ShowActive(QWidget& window) {
  window.show();
  QEvent activate(QEvent::WindowActivate);
  QApplication::sendEvent(&window, &activate);
}

// Runs step once the next modal loop is running. The loop gets five seconds:
// a window the step left open is closed then and the test fails, rather than
// the suite waiting for ever.
inline void WhenModal(std::function<void()> step) {
  QTimer::singleShot(0, qApp, [step = std::move(step)] {
    const QPointer<QWidget> modal = QApplication::activeModalWidget();
    try {
      step();
    } catch (const std::exception& failure) {  // must not cross the event loop
      ADD_FAILURE() << failure.what();
    }
    QTimer::singleShot(5000, qApp, [modal] {
      if (modal.isNull() || !modal->isVisible()) return;
      ADD_FAILURE() << "the modal window " << modal->objectName().toStdString() << " stayed open";
      modal->close();
    });
  });
}

// The child of that object name and type; a failure of the test, not a
// crash, when there is none.
template <class T>
T* Child(const QObject& parent, const char* name) {
  T* child = parent.findChild<T*>(QString::fromLatin1(name));
  if (child == nullptr) throw std::runtime_error(std::string("nothing named ") + name + " of that type");
  return child;
}
inline QPushButton* Button(const QWidget& window, const char* name) { return Child<QPushButton>(window, name); }

}  // namespace serenitap::testing
