#pragma once
// Steps the dialog tests share: a window shown as the window system shows it,
// a step run inside a modal loop (which ends in time even when the step does
// not close the window), and a button found by its object name.
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

// The button of that object name; a failure, not a crash, when there is none.
inline QPushButton* Button(QWidget& window, const char* name) {
  auto* button = window.findChild<QPushButton*>(QString::fromLatin1(name));
  if (button == nullptr) throw std::runtime_error(std::string("no button ") + name);
  return button;
}

}  // namespace serenitap::testing
