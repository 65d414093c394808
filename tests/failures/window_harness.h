#pragma once
// The main window as the program makes it (built, loaded, shown, activated),
// with stand-ins for its About, introduction and shortcuts windows that fail
// on request, and a settings store of its own.
#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QPointer>
#include <QTimer>
#include <memory>
#include <string>
#include <vector>

#include "injection.h"
#include "session/steps.h"
#include "ui/main/main_controller.h"
#include "ui/main/main_window.h"

namespace serenitap::testing {

class WindowHarness {
 public:
  WindowHarness() {
    window = std::make_unique<frmMain>();
    MainWindowDialogs dialogs;
    dialogs.showAboutModal = [this](QWidget*) { Open("About"); };
    dialogs.showWhatIsItModal = [this](QWidget*) { Open("Information"); };
    dialogs.createShortcuts = [this]() -> QWidget* {
      Open("Shortcuts");
      auto* shortcuts = new QWidget;
      shortcuts->setAttribute(Qt::WA_DeleteOnClose);
      shortcutsWindow = shortcuts;
      return shortcuts;
    };
    controller = new MainWindowController(*window, dialogs);  // owned by the window
    controller->Form_Load();
    timer().setInterval(24 * 3600 * 1000);  // only the ticks a test delivers count
    window->show();
    QApplication::processEvents();
  }
  ~WindowHarness() {
    if (window->isVisible()) window->close();
    if (shortcutsWindow) shortcutsWindow->close();
    window.reset();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  }

  void Open(const char* which) {
    opened.emplace_back(which);
    if (failing) throw Injected();
  }
  QTimer& timer() { return window->StepTimer(); }
  enmStep step() { return controller->Engine().State().genmCurrentStep; }
  void Next() { controller->Engine().cmdNavig_Click(1); }
  void NextTo(enmStep target) {
    for (int i = 0; i < 10 && step() != target; ++i) Next();
    ASSERT_EQ(step(), target);
  }
  QAction* Item(const char* name) { return window->PopupMenu().findChild<QAction*>(QString::fromLatin1(name)); }

  testing::TempStore store;
  std::unique_ptr<frmMain> window;
  MainWindowController* controller = nullptr;
  QPointer<QWidget> shortcutsWindow;
  std::vector<std::string> opened;
  bool failing = false;
};

}  // namespace serenitap::testing
