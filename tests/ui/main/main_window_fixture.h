#pragma once
// The main window as the program makes it (built, loaded, shown, activated),
// with its session engine and commands, in a settings store of its own and
// with stand-ins for the shell and the windows it opens. Keys go through the
// application's key preview, clicks land on the real controls, the step timer
// is driven by emitting its timeout.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QMenu>
#include <QMetaObject>
#include <QPointer>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <array>
#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "services/failure.h"
#include "services/product.h"
#include "services/shell.h"
#include "session/step_display.h"
#include "session/steps.h"
#include "settings/window_position.h"
#include "support/recorders.h"
#include "ui/main/control_table.h"
#include "ui/main/main_controller.h"
#include "ui/main/main_window.h"
#include "support/temp_store.h"

namespace serenitap {
namespace window_testing {

// A shell that opens nothing and remembers what it was asked to open.
class FakeShell : public ShellBackend {
 public:
  std::intptr_t Execute(WindowHandle, std::string_view, std::string_view file, std::int32_t) override {
    opened.emplace_back(file);
    return shell_codes::kSuccess;
  }
  ShellExResult ExecuteEx(WindowHandle, std::uint32_t, std::string_view, std::string_view file, std::string_view,
                          std::string_view, std::int32_t) override {
    opened.emplace_back(file);
    return {shell_codes::kSuccess, 0};
  }
  bool ExitCode(ProcessHandle, std::uint32_t&) override { return false; }
  void Release(ProcessHandle) override {}
  std::vector<std::string> opened;
};

// Remembers the keys that reach the object it watches.
class KeySpy : public QObject {
 public:
  bool eventFilter(QObject*, QEvent* event) override {
    if (event->type() == QEvent::KeyPress) keys.push_back(static_cast<QKeyEvent*>(event)->key());
    return false;
  }
  std::vector<int> keys;
};

// Notes whether the step timer runs at the moment the main window gets its
// close event. Installed on the application after the controller, so it sees
// the event before the controller's own unload does.
class CloseWatcher : public QObject {
 public:
  CloseWatcher(QWidget* window, QTimer* timer) : window_(window), timer_(timer) { qApp->installEventFilter(this); }
  ~CloseWatcher() override { qApp->removeEventFilter(this); }
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (watched == window_ && event->type() == QEvent::Close) {
      ++closes;
      timerActiveAtClose = timer_->isActive();
    }
    return false;
  }
  int closes = 0;
  bool timerActiveAtClose = true;

 private:
  QWidget* window_;
  QTimer* timer_;
};

class MainControllerTest : public ::testing::Test {
 public:
  void SetUp() override {
    shell_ = std::make_shared<FakeShell>();
    previousShell_ = SetShellBackend(shell_);
    OpenWindow();
  }

  void TearDown() override {
    CloseWindow();
    SetShellBackend(previousShell_);
    EXPECT_TRUE(reports.reports.empty()) << reports.reports.front().procedure << ": "
                                         << reports.reports.front().description;
    EXPECT_TRUE(boxes.requests.empty()) << boxes.requests.front().text;
  }

  // A window as the program makes it: built, loaded, shown, activated.
  void OpenWindow() {
    window = std::make_unique<frmMain>();
    MainWindowDialogs dialogs;
    dialogs.showAboutModal = [this](QWidget* owner) { OnModal("About", owner); };
    dialogs.showWhatIsItModal = [this](QWidget* owner) { OnModal("Information", owner); };
    dialogs.createShortcuts = [this]() -> QWidget* {
      if (throwInModal) throw RuntimeFailure(5, "Invalid procedure call or argument");
      ++shortcutsCreated;
      auto* shortcuts = new QWidget;
      shortcuts->setAttribute(Qt::WA_DeleteOnClose);
      shortcuts->setWindowTitle(QStringLiteral("Keyboard Shortcuts"));
      return shortcuts;
    };
    controller = new MainWindowController(*window, dialogs);  // owned by the window
    controller->Form_Load();
    // Only the ticks the tests emit count: the real 10 ms period would add
    // ticks of its own whenever the time label lets pending events run.
    timer().setInterval(24 * 3600 * 1000);
    window->show();
    window->activateWindow();
    QApplication::processEvents();
  }

  void CloseWindow() {
    if (window && window->isVisible()) window->close();
    for (QWidget* other : QApplication::topLevelWidgets()) {
      if (other != window.get() && other->isVisible()) other->close();
    }
    window.reset();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  }

  void OnModal(const char* which, QWidget* owner) {
    modalCalls.push_back(which);
    modalOwner = owner;
    timerActiveWhileModal.push_back(timer().isActive());
    if (throwInModal) throw RuntimeFailure(5, "Invalid procedure call or argument");
  }

  QTimer& timer() { return window->StepTimer(); }
  const SessionState& state() { return controller->Engine().State(); }
  enmStep step() { return state().genmCurrentStep; }
  QWidget* Ctl(std::string_view name, int index = -1) { return window->Control(name, index); }
  QAbstractButton* Btn(std::string_view name, int index = -1) { return window->Button(name, index); }
  QAction* Item(const char* name) { return window->PopupMenu().findChild<QAction*>(QString::fromLatin1(name)); }
  bool Paused() { return !Btn("cmdResume")->isHidden(); }

  // One tick of the step timer, as the timer delivers it.
  void Tick() { QMetaObject::invokeMethod(&timer(), "timeout", Qt::DirectConnection); }
  // Ticks while the step timer runs; false when it stopped before n ticks.
  bool Ticks(int n) {
    for (int i = 0; i < n; ++i) {
      if (!timer().isActive()) return false;
      Tick();
    }
    return true;
  }

  // Ticks until the step changes; the number of ticks, or -1 when it did not
  // change within `most` ticks or the timer stopped.
  int TicksUntilStepChanges(int most) {
    const enmStep start = step();
    for (int i = 1; i <= most; ++i) {
      if (!timer().isActive()) return -1;
      Tick();
      if (step() != start) return i;
    }
    return -1;
  }

  // A key where the user types it: into the focused control of the window.
  QWidget* KeyTarget() { return window->focusWidget() != nullptr ? window->focusWidget() : window.get(); }
  void Key(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier, QWidget* target = nullptr) {
    QTest::keyClick(target != nullptr ? target : KeyTarget(), key, modifiers);
  }
  void Click(QWidget* widget, Qt::MouseButton button = Qt::LeftButton) { QTest::mouseClick(widget, button); }
  // An option button is clicked on its indicator, at its left edge.
  void ClickOption(QAbstractButton* option) {
    QTest::mouseClick(option, Qt::LeftButton, Qt::NoModifier, QPoint(6, option->height() / 2));
  }

  // Moves with N until the given step shows (at most 40 presses).
  void NextUntil(enmStep wanted) {
    for (int i = 0; i < 40 && step() != wanted; ++i) Key(Qt::Key_N, Qt::NoModifier, window.get());
    ASSERT_EQ(step(), wanted);
  }
  // Step 7 of a positive round: Next to Relax, then the timer into round 3.
  void ToPositiveRound() {
    NextUntil(stpTopHead1);
    Key(Qt::Key_N, Qt::NoModifier, window.get());
    ASSERT_EQ(step(), stpRelax);
    ASSERT_GT(TicksUntilStepChanges(1501), 1400);
    ASSERT_EQ(step(), stpTopHead1);
    ASSERT_TRUE(state().gblnPositiveRound);
  }

  std::unique_ptr<frmMain> window;
  MainWindowController* controller = nullptr;
  testing::MessageBoxRecorder boxes;
  testing::ReportRecorder reports;
  std::shared_ptr<FakeShell> shell_;
  std::vector<std::string> modalCalls;
  std::vector<bool> timerActiveWhileModal;
  QWidget* modalOwner = nullptr;
  bool throwInModal = false;
  int shortcutsCreated = 0;

 private:
  testing::TempStore store_;
  std::shared_ptr<ShellBackend> previousShell_;
};

}  // namespace window_testing
}  // namespace serenitap
