#pragma once
// Shared helpers of the dialog tests: a private settings store, a recorder
// for opened web pages, and showing a window as the user would see it.
#include <QApplication>
#include <QEvent>
#include <QTemporaryDir>
#include <QTimer>
#include <QWidget>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "settings/file_store.h"
#include "settings/registry_store.h"
#include "ui/dialogs/web_link.h"

#include "support/temp_store.h"

namespace serenitap::testing {

struct OpenedPage {
  WindowHandle window;
  std::string address;
  bool as_is;
};

// Records the pages the dialogs open instead of starting a browser.
class WebPageRecorder {
 public:
  WebPageRecorder() {
    previous_ = SetWebPageOpener([this](WindowHandle window, std::string_view address, bool as_is) {
      pages.push_back({window, std::string(address), as_is});
      if (during_open) during_open();
    });
  }
  ~WebPageRecorder() { SetWebPageOpener(previous_); }
  WebPageRecorder(const WebPageRecorder&) = delete;
  WebPageRecorder& operator=(const WebPageRecorder&) = delete;

  std::vector<OpenedPage> pages;
  std::function<void()> during_open;  // runs while a page is being opened

 private:
  WebPageOpener previous_;
};

// Shows a window and activates it, as the window system does when it opens.
inline void ShowActive(QWidget& window) {
  window.show();
  QEvent activate(QEvent::WindowActivate);
  QApplication::sendEvent(&window, &activate);
}

// Runs step once the next modal loop is running.
inline void WhenModal(std::function<void()> step) { QTimer::singleShot(0, qApp, std::move(step)); }

}  // namespace serenitap::testing
