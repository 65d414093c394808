#pragma once
// The main window as the program makes it (built, loaded, shown, activated),
// with its session engine and commands, in a settings store of its own and
// with stand-ins for the shell, the voice and the windows it opens. Keys go
// through the application's key preview, clicks land on the real controls,
// the step timer is driven by emitting its timeout.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <set>

#include "services/failure.h"
#include "services/notice.h"
#include "services/shell.h"
#include "session/step_display.h"
#include "session/steps.h"
#include "support/printers.h"
#include "support/recorders.h"
#include "support/temp_store.h"
#include "support/widget_steps.h"
#include "ui/main/after_first_paint.h"
#include "ui/main/main_controller.h"
#include "ui/main/main_window.h"
#include "ui/main/widgets.h"

namespace serenitap::window_testing {

// A shell that opens nothing and remembers what it was asked to open.
struct FakeShell : ShellBackend {
  std::intptr_t Execute(WindowHandle, std::string_view, std::string_view file, std::int32_t) override {
    opened.emplace_back(file);
    return shell_codes::kSuccess;
  }
  ShellExResult ExecuteEx(WindowHandle, std::uint32_t, std::string_view, std::string_view, std::string_view,
                          std::string_view, std::int32_t) override {
    return {};
  }
  bool ExitCode(ProcessHandle, std::uint32_t&) override { return false; }
  void Release(ProcessHandle) override {}
  std::vector<std::string> opened;
};

// A voice that writes down the start of what it says, and when it stops.
struct RecordingSpeaker : ISpeaker {
  explicit RecordingSpeaker(std::vector<std::string>& c) : calls(c) {}
  void Say(std::uint32_t, const std::string& text) override { calls.push_back("Say " + text.substr(0, 12)); }
  void Pause() override {}
  void Resume() override {}
  void Stop() override { calls.push_back("Stop"); }
  std::vector<std::string>& calls;
};

// Counts the presses of one key that reach the widget it watches.
struct KeySpy : QObject {
  KeySpy(QWidget* target, int key) : target(target), key(key) { target->installEventFilter(this); }
  ~KeySpy() override { target->removeEventFilter(this); }
  bool eventFilter(QObject*, QEvent* e) override {
    presses += e->type() == QEvent::KeyPress && static_cast<QKeyEvent*>(e)->key() == key ? 1 : 0;
    return false;
  }
  QWidget* target;
  int key, presses = 0;
};

// The application's palette and font as a test found them, given back when
// it ends (for tests that set up a look of their own).
struct KeepsDesktopLook {
  ~KeepsDesktopLook() { QApplication::setPalette(palette), QApplication::setFont(font); }
  QPalette palette = QApplication::palette();
  QFont font = QApplication::font();
};

class MainControllerTest : public ::testing::Test {
 public:
  void SetUp() override {
    previousShell_ = SetShellBackend(shell_);
    previousNotices_ = SetNoticeSink([this](const std::string& text) { notices.push_back(text); });
    OpenWindow();
  }
  void TearDown() override {
    CloseWindow();
    SetShellBackend(previousShell_);
    SetNoticeSink(previousNotices_);
    EXPECT_TRUE(reports.reports.empty()) << reports.reports.front().procedure;
    EXPECT_TRUE(boxes.requests.empty()) << boxes.requests.front().text;
  }

  void OpenWindow() {
    window = std::make_unique<frmMain>();
    MainWindowDialogs dialogs;
    dialogs.showAboutModal = [this](QWidget* owner) { OnModal("About", owner); };
    dialogs.showWhatIsItModal = [this](QWidget* owner) { OnModal("Information", owner); };
    dialogs.showProgressModal = [this](QWidget* owner, auto&&...) { OnModal("My Progress", owner); };
    dialogs.createShortcuts = [this]() -> QWidget* {
      if (throwInModal) throw RuntimeFailure(5, "Invalid procedure call or argument");
      ++shortcutsCreated;
      auto* shortcuts = new QWidget;
      shortcuts->setAttribute(Qt::WA_DeleteOnClose);
      return shortcuts;
    };
    controller = new MainWindowController(*window, dialogs);  // owned by the window
    controller->SetMonotonicClock([this] { return nowMs; });
    controller->Guidance().UseVoice({[this] { return voiceMissing; },
                                     [this](auto, auto failed) {
                                       voiceFailed = failed;
                                       return std::make_unique<RecordingSpeaker>(spoken);
                                     }});
    controller->Form_Load();
    timer().setInterval(24 * 3600 * 1000);  // only the ticks the tests emit count
    window->show();
    window->activateWindow();
    QApplication::processEvents();
    // What waits for the first paint (the voice) has run.
    for (int i = 0; i < 50 && !FirstPaintDone(*window); ++i) QApplication::processEvents(QEventLoop::AllEvents, 20);
  }
  void CloseWindow() {
    if (window && window->isVisible()) window->close();
    window.reset();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  }

  void Reopen() {
    CloseWindow();
    OpenWindow();
  }
  void OnModal(const char* which, QWidget* owner) {
    modalCalls.push_back(which);
    EXPECT_EQ(owner, window.get());
    EXPECT_FALSE(timer().isActive()) << which;
    if (throwInModal) throw RuntimeFailure(5, "Invalid procedure call or argument");
  }

  QTimer& timer() { return window->StepTimer(); }
  const SessionState& state() { return controller->Engine().State(); }
  enmStep step() { return state().genmCurrentStep; }
  int sud() { return controller->Engine().mintSUD(); }
  const main_window::MainControls& Controls() { return window->Controls(); }
  // A control by its object name, as error reports and screen readers know it.
  QWidget* Named(const char* objectName) { return testing::Child<QWidget>(*window, objectName); }
  bool Paused() { return !Controls().cmdResume->isHidden(); }

  // One tick of the step timer, as the timer delivers it.
  void Tick() { QMetaObject::invokeMethod(&timer(), "timeout", Qt::DirectConnection); }
  // Ticks until the step changes: how many, or -1 when not within `most` or the timer stopped.
  int TicksUntilStepChanges(int most) {
    const enmStep start = step();
    for (int i = 1; i <= most && timer().isActive(); ++i) {
      Tick();
      if (step() != start) return i;
    }
    return -1;
  }

  // A key where the user types it: into the focused control of the window.
  QWidget* KeyTarget() { return window->focusWidget() != nullptr ? window->focusWidget() : window.get(); }
  void Key(Qt::Key key, Qt::KeyboardModifiers modifiers = {}) { QTest::keyClick(KeyTarget(), key, modifiers); }
  // An option button is clicked on its indicator, at its left edge.
  void ClickOption(QWidget* option) { QTest::mouseClick(option, Qt::LeftButton, {}, QPoint(6, option->height() / 2)); }
  // Moves with N until the given step shows (at most 40 presses).
  void NextUntil(enmStep wanted) {
    for (int i = 0; i < 40 && step() != wanted; ++i) QTest::keyClick(window.get(), Qt::Key_N);
    ASSERT_EQ(step(), wanted);
  }
  // Every step of a session, in turn, by keys and by the timer: check runs on each of the 25.
  void OnEveryStep(const std::function<void()>& check) {
    std::set<enmStep> seen;
    const auto visit = [&] { seen.insert(step()), check(); };
    visit();                       // the introduction
    for (int i = 0; i < 4; ++i) {  // thymus, issue, rating, the karate chop
      Key(Qt::Key_N);
      visit();
    }
    while (seen.size() < 22 && TicksUntilStepChanges(2000) > 0) visit();  // the other hand, a whole round
    Key(Qt::Key_N);                                                       // relax
    visit();
    ASSERT_GT(TicksUntilStepChanges(2000), 0);  // a positive round
    Key(Qt::Key_N);                             // rate again
    visit();
    Controls().cmdFinish->click();
    visit();
    EXPECT_EQ(seen.size(), 25u);
  }
  // Finish, and N starts a new session.
  void Restart() {
    Controls().cmdFinish->click();
    Key(Qt::Key_N);
  }

  std::unique_ptr<frmMain> window;
  MainWindowController* controller = nullptr;
  testing::MessageBoxRecorder boxes;
  testing::ReportRecorder reports;
  std::shared_ptr<FakeShell> shell_ = std::make_shared<FakeShell>();
  std::vector<std::string> modalCalls, notices, spoken;
  QString voiceMissing;
  std::function<void(const std::string&)> voiceFailed;
  bool throwInModal = false;
  int shortcutsCreated = 0;
  std::int64_t nowMs = 5000;

 private:
  testing::TempStore store_;
  std::shared_ptr<ShellBackend> previousShell_;
  NoticeSink previousNotices_;
};

}  // namespace serenitap::window_testing
