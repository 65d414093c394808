// The main window as a whole: the window, the session engine behind it and
// its commands. Keys go through the application's key preview, clicks land on
// the real controls, the step timer is driven by emitting its timeout.
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
#ifndef _WIN32
#include "settings/file_store.h"
#endif

namespace serenitap {
namespace {

namespace fs = std::filesystem;

fs::path MakeTempFolder(const char* prefix) {
  std::random_device random;
  fs::path path;
  do {
    path = fs::temp_directory_path() / (std::string(prefix) + std::to_string(random()) + std::to_string(random()));
  } while (!fs::create_directory(path));
  return path;
}

// One application for the whole program. The configuration folder points at
// a temporary folder before anything can reach the settings store.
class QtEnvironment : public ::testing::Environment {
 public:
  void SetUp() override {
    config_ = MakeTempFolder("serenitap-ctl-config-");
#ifdef _WIN32
    _putenv_s("XDG_CONFIG_HOME", config_.string().c_str());
#else
    setenv("XDG_CONFIG_HOME", config_.c_str(), 1);
#endif
    static int argc = 1;
    static char name[] = "main_controller_tests";
    static char* argv[] = {name, nullptr};
    app_ = std::make_unique<QApplication>(argc, argv);
  }
  void TearDown() override {
    app_.reset();
    std::error_code ignored;
    fs::remove_all(config_, ignored);
  }

 private:
  fs::path config_;
  std::unique_ptr<QApplication> app_;
};
[[maybe_unused]] const auto* const kQtEnvironment = ::testing::AddGlobalTestEnvironment(new QtEnvironment);

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
#ifdef _WIN32
    // The placement would go to the user's own registry.
    GTEST_SKIP() << "needs the file settings store";
#else
    folder_ = MakeTempFolder("serenitap-ctl-");
    previousStore_ = settings::SetCurrentStore(std::make_shared<settings::FileRegistryStore>(folder_));
#endif
    shell_ = std::make_shared<FakeShell>();
    previousShell_ = SetShellBackend(shell_);
    OpenWindow();
  }

  void TearDown() override {
    CloseWindow();
    SetShellBackend(previousShell_);
#ifndef _WIN32
    settings::SetCurrentStore(previousStore_);
#endif
    std::error_code ignored;
    if (!folder_.empty()) fs::remove_all(folder_, ignored);
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
  fs::path folder_;
  [[maybe_unused]] std::shared_ptr<settings::RegistryStore> previousStore_;
  std::shared_ptr<ShellBackend> previousShell_;
};


// The whole way from loading to the first positive round, by keys and then by
// the timer alone: the controls follow the session.
TEST_F(MainControllerTest, AfterLoadingTheTimerCarriesASessionIntoPositiveRounds) {
  EXPECT_EQ(step(), stpIntro);
  EXPECT_TRUE(controller->Engine().mblnActivated());
  EXPECT_FALSE(Ctl("lblIntro")->isHidden());
  EXPECT_FALSE(static_cast<QLabel*>(Ctl("lblIntro"))->text().isEmpty());
  EXPECT_FALSE(Btn("cmdNavig", 0)->isEnabled());
  EXPECT_FALSE(Btn("cmdPause")->isHidden());
  EXPECT_FALSE(Btn("cmdPause")->isEnabled());
  EXPECT_TRUE(Btn("cmdResume")->isHidden());
  EXPECT_TRUE(static_cast<QLabel*>(Ctl("lblTime_New"))->text().isEmpty());
  for (int i = 1; i <= kDotCount; ++i) EXPECT_FALSE(window->IsDotVisible(i)) << i;
  EXPECT_FALSE(timer().isActive());
  EXPECT_EQ(window->SelectedIssueOption(), 5);
  EXPECT_EQ(window->SelectedSudOption(), 5);
  for (const char* name : {"cmdNavig_Bottom(0)", "cmdNavig_Bottom(1)", "cmdPause_Bottom", "cmdResume_Bottom"}) {
    EXPECT_TRUE(Ctl(name)->isHidden()) << name;
  }

  // Previous is enabled by the Next that lands on the thymus step.
  Key(Qt::Key_N);
  EXPECT_EQ(step(), stpStimulateThymus);
  EXPECT_TRUE(Btn("cmdNavig", 0)->isEnabled());
  NextUntil(stpLeftHand);
  ASSERT_TRUE(timer().isActive());
  EXPECT_TRUE(Btn("cmdPause")->isEnabled());

  // Each emitted timeout is one tick: the karate chop takes 2000 of them.
  ASSERT_TRUE(Ticks(2000));
  EXPECT_EQ(step(), stpRightHand);
  ASSERT_TRUE(Ticks(1));
  ASSERT_EQ(step(), stpTopHead1);
  EXPECT_EQ(static_cast<QLabel*>(Ctl("lblTime_New"))->text().toStdString(), TimeElapsedText(20));

  // The point's dot blinks, red, and it is the only one showing.
  const int dot = state().glngCurrentDot;
  ASSERT_GE(dot, 1);
  ASSERT_LE(dot, kDotCount);
  EXPECT_TRUE(window->IsDotVisible(dot));
  EXPECT_EQ(window->DotColor(dot), main_window::kRed);
  int changes = 0;
  bool last = window->IsDotVisible(dot);
  for (int i = 0; i < 199; ++i) {
    ASSERT_TRUE(Ticks(1));
    ASSERT_EQ(step(), stpTopHead1);
    if (window->IsDotVisible(dot) != last) ++changes;
    last = window->IsDotVisible(dot);
    for (int other = 1; other <= kDotCount; ++other) {
      if (other != dot) {
        ASSERT_FALSE(window->IsDotVisible(other)) << other;
      }
    }
  }
  EXPECT_GE(changes, 3);

  // Round 3 is the first green one: every dot turns green.
  ASSERT_TRUE(Ticks(2 * 16 * 200 - 199));
  ASSERT_EQ(step(), stpTopHead1);
  EXPECT_TRUE(state().gblnPositiveRound);
  for (int i = 1; i <= kDotCount; ++i) EXPECT_EQ(window->DotColor(i), main_window::kGreen) << i;
  EXPECT_EQ(static_cast<QLabel*>(Ctl("lblTime_New"))->text().toStdString(), TimeElapsedText(20 + 64));
}

// ---------------------------------------------------------------------------
// The key table

const Qt::Key kNextKeys[] = {Qt::Key_N,    Qt::Key_Space,  Qt::Key_Right,   Qt::Key_Down,
                             Qt::Key_Return, Qt::Key_Enter, Qt::Key_PageDown};
const Qt::Key kPreviousKeys[] = {Qt::Key_P, Qt::Key_Backspace, Qt::Key_Left, Qt::Key_Up, Qt::Key_PageUp};
const Qt::KeyboardModifiers kModifierSets[] = {Qt::NoModifier, Qt::ShiftModifier, Qt::ControlModifier,
                                               Qt::ControlModifier | Qt::ShiftModifier};

std::string KeyName(Qt::Key key, Qt::KeyboardModifiers modifiers) {
  return QKeySequence(QKeyCombination(modifiers, key)).toString().toStdString();
}

// Where the key is typed: into the focused control or onto the window itself.
class KeyTableTest : public MainControllerTest, public ::testing::WithParamInterface<bool> {
 protected:
  QWidget* Target() { return GetParam() ? KeyTarget() : window.get(); }
  void Press(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) { Key(key, modifiers, Target()); }
};

TEST_P(KeyTableTest, NextKeysAdvanceWithAnyModifiersAndKeepTheKeyFromTheFocusedControl) {
  for (Qt::Key key : kNextKeys) {
    for (Qt::KeyboardModifiers modifiers : kModifierSets) {
      SCOPED_TRACE(KeyName(key, modifiers));
      Btn("cmdFinish")->click();
      Key(Qt::Key_N, Qt::NoModifier, window.get());
      ASSERT_EQ(step(), stpIntro);
      // 1 -> 4 -> 2 -> 3 -> 5 -> 7: on 3 the focus is on a SUD button that
      // would take the arrows and Space itself.
      for (enmStep expected : {stpStimulateThymus, stpSelectIssue, stpAssignSUD, stpLeftHand, stpTopHead1}) {
        if (expected == stpLeftHand) window->FocusSudOption(5);
        KeySpy spy;
        QWidget* focused = KeyTarget();
        focused->installEventFilter(&spy);
        const int sud = window->SelectedSudOption();
        Press(key, modifiers);
        focused->removeEventFilter(&spy);
        ASSERT_EQ(step(), expected);
        // A held modifier reaches the control on its own; the key itself does not.
        EXPECT_EQ(std::count(spy.keys.begin(), spy.keys.end(), key), 0);
        EXPECT_EQ(window->SelectedSudOption(), sud);
        EXPECT_EQ(window->focusWidget(), Btn("cmdNavig", 1));
      }
    }
  }
}

TEST_P(KeyTableTest, PreviousKeysGoBackAndDoNothingOnTheIntroduction) {
  for (Qt::Key key : kPreviousKeys) {
    for (Qt::KeyboardModifiers modifiers : kModifierSets) {
      SCOPED_TRACE(KeyName(key, modifiers));
      Btn("cmdFinish")->click();
      Key(Qt::Key_N, Qt::NoModifier, window.get());  // 25 -> 1
      ASSERT_EQ(step(), stpIntro);
      Key(Qt::Key_N, Qt::NoModifier, window.get());  // -> 4
      Press(key, modifiers);                          // 4 -> 1: Previous is off again
      ASSERT_EQ(step(), stpIntro);
      EXPECT_FALSE(Btn("cmdNavig", 0)->isEnabled());
      EXPECT_EQ(window->focusWidget(), Btn("cmdNavig", 1));

      // On the introduction the key is consumed and nothing moves.
      window->FocusNavigButton(1);
      KeySpy spy;
      Btn("cmdNavig", 1)->installEventFilter(&spy);
      QSignalSpy nextClicks(Btn("cmdNavig", 1), &QAbstractButton::clicked);
      Press(key, modifiers);
      Btn("cmdNavig", 1)->removeEventFilter(&spy);
      EXPECT_EQ(step(), stpIntro);
      EXPECT_EQ(std::count(spy.keys.begin(), spy.keys.end(), key), 0);
      EXPECT_EQ(nextClicks.count(), 0);
      EXPECT_FALSE(Btn("cmdNavig", 0)->isEnabled());

      NextUntil(stpAssignSUD);
      Press(key, modifiers);
      EXPECT_EQ(step(), stpSelectIssue);
      EXPECT_EQ(window->focusWidget(), Btn("cmdNavig", 0));
      NextUntil(stpTopHead1);
      Press(key, modifiers);
      EXPECT_EQ(step(), stpLeftHand);
      EXPECT_TRUE(timer().isActive());
      EXPECT_EQ(window->focusWidget(), Btn("cmdNavig", 0));
    }
  }
}

TEST_P(KeyTableTest, EscapePausesARunningStepAndEveryKeyResumesWithoutMoving) {
  // Each key arrives with its modifiers already held (their own presses went
  // before), so only the key itself can resume.
  const std::vector<std::pair<Qt::Key, Qt::KeyboardModifiers>> resumers = {
      {Qt::Key_Escape, Qt::NoModifier}, {Qt::Key_N, Qt::NoModifier},       {Qt::Key_N, Qt::ControlModifier},
      {Qt::Key_N, Qt::ShiftModifier},   {Qt::Key_P, Qt::NoModifier},       {Qt::Key_Space, Qt::NoModifier},
      {Qt::Key_Left, Qt::ShiftModifier}, {Qt::Key_A, Qt::NoModifier},      {Qt::Key_F5, Qt::NoModifier},
      {Qt::Key_Home, Qt::NoModifier},   {Qt::Key_Shift, Qt::NoModifier},   {Qt::Key_Control, Qt::NoModifier},
      {Qt::Key_Alt, Qt::NoModifier},    {Qt::Key_F, Qt::AltModifier},      {Qt::Key_X, Qt::AltModifier},
      {Qt::Key_A, Qt::AltModifier},     {Qt::Key_Escape, Qt::ShiftModifier},
  };
  NextUntil(stpTopHead1);
  for (const auto& [key, modifiers] : resumers) {
    SCOPED_TRACE(KeyName(key, modifiers));
    ASSERT_TRUE(Ticks(3));
    const enmStep before = step();
    const std::int32_t tickMs = state().glngTickMs;
    Press(Qt::Key_Escape);
    ASSERT_TRUE(Paused());
    EXPECT_FALSE(timer().isActive());
    EXPECT_TRUE(Btn("cmdPause")->isHidden());
    EXPECT_TRUE(Btn("cmdResume")->isEnabled());

    KeySpy spy;
    QWidget* target = Target();
    KeyTarget()->installEventFilter(&spy);
    QTest::simulateEvent(target, true, key, modifiers, QString(), false);
    QTest::simulateEvent(target, false, key, modifiers, QString(), false);
    KeyTarget()->removeEventFilter(&spy);
    EXPECT_TRUE(spy.keys.empty());
    ASSERT_TRUE(window->isVisible());
    EXPECT_FALSE(Paused());
    EXPECT_EQ(step(), before);
    EXPECT_EQ(state().glngTickMs, tickMs);
    EXPECT_TRUE(timer().isActive());
    EXPECT_FALSE(Btn("cmdPause")->isHidden());
    EXPECT_TRUE(Btn("cmdPause")->isEnabled());
    EXPECT_TRUE(Btn("cmdResume")->isHidden());
  }
  // Paused, N only resumes; the next N moves on.
  Press(Qt::Key_Escape);
  Press(Qt::Key_N);
  EXPECT_EQ(step(), stpTopHead1);
  Press(Qt::Key_N);
  EXPECT_EQ(step(), stpRelax);
  // Typed whole, Ctrl+N resumes on the Ctrl press and then moves on the N.
  Press(Qt::Key_Escape);
  ASSERT_TRUE(Paused());
  Press(Qt::Key_N, Qt::ControlModifier);
  EXPECT_FALSE(Paused());
  EXPECT_EQ(step(), stpTopHead1);
}

TEST_P(KeyTableTest, KeysOutsideTheTableReachTheFocusedControl) {
  const std::vector<std::pair<Qt::Key, Qt::KeyboardModifiers>> others = {
      {Qt::Key_Escape, Qt::NoModifier}, {Qt::Key_A, Qt::NoModifier},     {Qt::Key_Z, Qt::ShiftModifier},
      {Qt::Key_Minus, Qt::NoModifier},  {Qt::Key_F1, Qt::NoModifier},    {Qt::Key_Home, Qt::NoModifier},
      {Qt::Key_End, Qt::NoModifier},    {Qt::Key_Delete, Qt::NoModifier}, {Qt::Key_Shift, Qt::NoModifier},
      {Qt::Key_Q, Qt::ControlModifier},
  };
  NextUntil(stpAssignSUD);  // no pause to offer: Esc is not the table's either
  for (const auto& [key, modifiers] : others) {
    SCOPED_TRACE(KeyName(key, modifiers));
    window->FocusSudOption(7);
    KeySpy spy;
    QWidget* focused = Btn("radSUD", 7);
    focused->installEventFilter(&spy);
    Press(key, modifiers);
    focused->removeEventFilter(&spy);
    EXPECT_EQ(step(), stpAssignSUD);
    EXPECT_FALSE(Paused());
    if (GetParam()) {
      ASSERT_FALSE(spy.keys.empty());
      EXPECT_EQ(spy.keys.back(), key);
    }
  }
}

INSTANTIATE_TEST_SUITE_P(Targets, KeyTableTest, ::testing::Values(true, false),
                         [](const ::testing::TestParamInfo<bool>& info) {
                           return std::string(info.param ? "FocusedControl" : "Window");
                         });


TEST_F(MainControllerTest, KeyboardMovesOntoTheReassessmentFocusTheChosenSUDButton) {
  NextUntil(stpAssignSUD);
  ClickOption(Btn("radSUD", 8));
  ASSERT_EQ(controller->Engine().mintSUD(), 8);
  ToPositiveRound();
  window->FocusNavigButton(1);
  Key(Qt::Key_Down);
  ASSERT_EQ(step(), stpReassessSUD);
  EXPECT_FALSE(timer().isActive());
  EXPECT_EQ(window->focusWidget(), Btn("radSUD", 8));

  // Previous from there goes to Relax and back onto the navigation buttons.
  Key(Qt::Key_Up);
  EXPECT_EQ(step(), stpRelax);
  EXPECT_EQ(window->focusWidget(), Btn("cmdNavig", 0));
  EXPECT_TRUE(timer().isActive());
}

// ---------------------------------------------------------------------------
// Clicks

struct SurfaceCase {
  const char* name;  // nullptr: a free spot of the window itself
  int index;
  enmStep shownOn;  // a step that shows the surface
  enmStep after;    // where a left click leads from there: as N does, or nowhere
  int issue = 0;    // when not 0, the issue the click chooses
  int sud = 0;      // when not 0, the rating the click chooses
};

class SurfaceClickTest : public MainControllerTest, public ::testing::WithParamInterface<SurfaceCase> {
 protected:
  QPoint FreeSpot() {
    for (int y = 0; y < window->height(); y += 4) {
      for (int x = 0; x < window->width(); x += 4) {
        if (window->childAt(x, y) == nullptr) return {x, y};
      }
    }
    return {-1, -1};
  }
};

TEST_P(SurfaceClickTest, OnlyALeftClickActsAndAnAdvanceLeavesTheFocus) {
  const SurfaceCase& c = GetParam();
  NextUntil(c.shownOn);
  QWidget* surface = c.name != nullptr ? Ctl(c.name, c.index) : window.get();
  ASSERT_NE(surface, nullptr);
  ASSERT_TRUE(surface->isVisible());
  QPoint at = c.name != nullptr ? surface->rect().center() : FreeSpot();
  ASSERT_GE(at.x(), 0) << "no free spot on the window";
  if (qobject_cast<QRadioButton*>(surface) != nullptr) at = QPoint(6, surface->height() / 2);
  QWidget* focus = window->focusWidget();

  QTest::mouseClick(surface, Qt::RightButton, Qt::NoModifier, at);
  EXPECT_EQ(step(), c.shownOn);
  QTest::mouseClick(surface, Qt::LeftButton, Qt::NoModifier, at);
  EXPECT_EQ(step(), c.after);
  if (c.after != c.shownOn) {
    EXPECT_EQ(window->focusWidget(), focus);
  }
  if (c.issue != 0) {
    EXPECT_EQ(state().genmSelectedIssue, c.issue);
  }
  if (c.sud != 0) {
    EXPECT_EQ(controller->Engine().mintSUD(), c.sud);
    EXPECT_EQ(window->SelectedSudOption(), c.sud);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Surfaces, SurfaceClickTest,
    ::testing::Values(SurfaceCase{nullptr, -1, stpIntro, stpStimulateThymus},
                      SurfaceCase{"lblIntro", -1, stpIntro, stpStimulateThymus},
                      SurfaceCase{"lblSegmentTitle", -1, stpTopHead1, stpRelax},
                      SurfaceCase{"lblLeftFrame", -1, stpTopHead1, stpRelax},
                      SurfaceCase{"lblCurrentPoint", -1, stpTopHead1, stpRelax},
                      SurfaceCase{"lblSplit", -1, stpTopHead1, stpRelax},
                      SurfaceCase{"picLeftFrame", -1, stpSelectIssue, stpAssignSUD},
                      SurfaceCase{"picRightFrame", -1, stpAssignSUD, stpLeftHand},
                      SurfaceCase{"picShape", -1, stpTopHead1, stpRelax},
                      SurfaceCase{"picHandLeft", -1, stpLeftHand, stpTopHead1},
                      SurfaceCase{"picHandRight", -1, stpLeftHand, stpTopHead1},
                      // The strips, the time and the issue list's background do nothing.
                      SurfaceCase{"picStatusBar", -1, stpIntro, stpIntro},
                      SurfaceCase{"picToolBar", -1, stpSelectIssue, stpSelectIssue},
                      SurfaceCase{"lblTime_New", -1, stpTopHead1, stpTopHead1},
                      SurfaceCase{"fraMode", -1, stpSelectIssue, stpSelectIssue},
                      // Issue buttons and the numbers above the SUD buttons choose without moving.
                      SurfaceCase{"radMode", 11, stpSelectIssue, stpSelectIssue, 110},
                      SurfaceCase{"lblSUDUnit", 3, stpAssignSUD, stpAssignSUD, 0, 3}),
    [](const ::testing::TestParamInfo<SurfaceCase>& info) {
      const SurfaceCase& c = info.param;
      return c.name == nullptr ? std::string("Window")
                               : std::string(c.name) + (c.index >= 0 ? std::to_string(c.index) : std::string());
    });

TEST_F(MainControllerTest, TheWebButtonOpensTheProductSiteWithTheSourceMarker) {
  Click(Btn("cmdWeb"));
  ASSERT_EQ(shell_->opened.size(), 1u);
  const std::string& address = shell_->opened.front();
  EXPECT_EQ(address.rfind(std::string(product::kWebAddress), 0), 0u) << address;
  EXPECT_NE(address.find("?src=stp#"), std::string::npos) << address;
  EXPECT_EQ(step(), stpIntro);
  EXPECT_TRUE(Btn("cmdWeb")->toolTip().contains(
      QString::fromUtf8(product::kWebAddress.data(), static_cast<qsizetype>(product::kWebAddress.size()))));
}


// ---------------------------------------------------------------------------
// Access keys: a visible, enabled button answers its key once; others stay silent.

struct AccessKeyCase {
  const char* name;
  Qt::Key key;
  const char* button;
  enmStep at;
  bool pausedBefore;
  enum { AsShown, Disabled, Hidden } button_state;
  int clicks;  // -1: not counted
  enmStep stepAfter;
  bool pausedAfter;
};

class AccessKeyTest : public MainControllerTest, public ::testing::WithParamInterface<AccessKeyCase> {};

TEST_P(AccessKeyTest, ClickTheirVisibleEnabledButtonsOnce) {
  const AccessKeyCase& c = GetParam();
  NextUntil(c.at);
  if (c.pausedBefore) Key(Qt::Key_Escape);
  ASSERT_EQ(Paused(), c.pausedBefore);
  QAbstractButton* button = Btn(c.button);
  if (c.button_state == AccessKeyCase::Disabled) button->setEnabled(false);
  if (c.button_state == AccessKeyCase::Hidden) button->hide();
  QSignalSpy clicks(button, &QAbstractButton::clicked);
  Key(c.key, Qt::AltModifier);
  if (c.clicks >= 0) {
    EXPECT_EQ(clicks.count(), c.clicks);
  }
  EXPECT_EQ(step(), c.stepAfter);
  EXPECT_EQ(Paused(), c.pausedAfter);
  EXPECT_EQ(timer().isActive(), c.stepAfter >= stpLeftHand && c.stepAfter <= stpRelax && !c.pausedAfter);
  EXPECT_TRUE(window->isVisible());
  button->setEnabled(true);
  button->show();
}

INSTANTIATE_TEST_SUITE_P(
    Keys, AccessKeyTest,
    ::testing::Values(
        AccessKeyCase{"PauseRunning", Qt::Key_A, "cmdPause", stpTopHead1, false, AccessKeyCase::AsShown, 1,
                      stpTopHead1, true},
        // Paused, the Alt press alone already resumes.
        AccessKeyCase{"ResumePaused", Qt::Key_E, "cmdResume", stpTopHead1, true, AccessKeyCase::AsShown, -1,
                      stpTopHead1, false},
        AccessKeyCase{"FinishRunning", Qt::Key_F, "cmdFinish", stpTopHead1, false, AccessKeyCase::AsShown, 1,
                      stpFinish, false},
        AccessKeyCase{"PauseDisabledOnTheIntroduction", Qt::Key_A, "cmdPause", stpIntro, false,
                      AccessKeyCase::AsShown, 0, stpIntro, false},
        AccessKeyCase{"ResumeHiddenWhileRunning", Qt::Key_E, "cmdResume", stpLeftHand, false,
                      AccessKeyCase::AsShown, 0, stpLeftHand, false},
        AccessKeyCase{"FinishDisabled", Qt::Key_F, "cmdFinish", stpLeftHand, false, AccessKeyCase::Disabled, 0,
                      stpLeftHand, false},
        AccessKeyCase{"ExitHidden", Qt::Key_X, "cmdExit", stpLeftHand, false, AccessKeyCase::Hidden, 0, stpLeftHand,
                      false}),
    [](const ::testing::TestParamInfo<AccessKeyCase>& info) { return std::string(info.param.name); });

// ---------------------------------------------------------------------------
// The About and introduction windows suspend the step timer

enum class TimerBefore { Running, Paused, Stopped };

struct ModalCase {
  const char* name;
  const char* expectedWindow;
  const char* procedure;  // the name a failure is reported under
  void (*open)(MainControllerTest&, frmMain&, MainWindowController&);
};

class ModalWindowTest : public MainControllerTest,
                        public ::testing::WithParamInterface<std::tuple<ModalCase, TimerBefore>> {
 protected:
  void Open() { std::get<0>(GetParam()).open(*this, *window, *controller); }
  void Arrange() {
    switch (std::get<1>(GetParam())) {
      case TimerBefore::Running: NextUntil(stpTopHead1); break;
      case TimerBefore::Paused:
        NextUntil(stpLeftHand);
        Key(Qt::Key_Escape);
        break;
      case TimerBefore::Stopped: NextUntil(stpAssignSUD); break;
    }
  }
};

TEST_P(ModalWindowTest, TheTimerIsOffWhileTheWindowIsOpenAndAsBeforeAfterwards) {
  Arrange();
  const bool wasActive = timer().isActive();
  const bool wasPaused = Paused();
  const enmStep before = step();
  Open();
  ASSERT_EQ(modalCalls, std::vector<std::string>{std::get<0>(GetParam()).expectedWindow});
  EXPECT_FALSE(timerActiveWhileModal.front());
  EXPECT_EQ(modalOwner, window.get());
  EXPECT_EQ(timer().isActive(), wasActive);
  EXPECT_EQ(Paused(), wasPaused);
  EXPECT_EQ(step(), before);
  if (wasActive) {
    EXPECT_GT(TicksUntilStepChanges(201), 0);
  }
}

TEST_P(ModalWindowTest, AFailureInsideLeavesTheTimerOffAndIsReported) {
  Arrange();
  throwInModal = true;
  Open();
  ASSERT_EQ(reports.reports.size(), 1u);
  EXPECT_EQ(reports.reports.front().module, "frmMain");
  EXPECT_EQ(reports.reports.front().procedure, std::get<0>(GetParam()).procedure);
  EXPECT_EQ(reports.reports.front().number, 5);
  EXPECT_FALSE(timer().isActive());
  reports.reports.clear();
  // A resume or a step change brings the timer back.
  Key(Qt::Key_N);
  EXPECT_TRUE(timer().isActive());
}

const ModalCase kModalCases[] = {
    {"PopupAbout", "About", "mnuPopUpAbout_Click", [](MainControllerTest& t, frmMain&, MainWindowController&) {
       t.Item("mnuPopUpAbout")->trigger();
     }},
    {"HiddenAboutButton", "About", "cmdAbout_Click", [](MainControllerTest&, frmMain& w, MainWindowController&) {
       w.Button("cmdAbout")->click();
     }},
    {"HiddenInfoButton", "Information", "cmdInfo_Click", [](MainControllerTest&, frmMain& w, MainWindowController&) {
       w.Button("cmdInfo")->click();
     }},
    {"InformationItem", "Information", "mnuPopUpInfo_Click", [](MainControllerTest&, frmMain&, MainWindowController& c) {
       c.mnuPopUpInfo_Click();
     }},
};

std::string ModalCaseName(const ::testing::TestParamInfo<std::tuple<ModalCase, TimerBefore>>& info) {
  static const char* const timers[] = {"Running", "Paused", "Stopped"};
  return std::string(std::get<0>(info.param).name) + timers[static_cast<int>(std::get<1>(info.param))];
}

INSTANTIATE_TEST_SUITE_P(
    Commands, ModalWindowTest,
    ::testing::Combine(::testing::ValuesIn(kModalCases),
                       ::testing::Values(TimerBefore::Running, TimerBefore::Paused, TimerBefore::Stopped)),
    ModalCaseName);

TEST_F(MainControllerTest, ThePopupMenuOffersItsItemsAndTheInformationItemIsHidden) {
  QMenu& menu = window->PopupMenu();
  ASSERT_NE(Item("mnuPopUpInfo"), nullptr);
  EXPECT_FALSE(Item("mnuPopUpInfo")->isVisible());
  EXPECT_FALSE(Item("mnuPopUpInfo")->isEnabled());
  Item("mnuPopUpInfo")->trigger();
  EXPECT_TRUE(modalCalls.empty());
  for (const char* name : {"mnuPopUpShortcuts", "mnuPopUpAbout", "mnuPopUpExit"}) {
    ASSERT_NE(Item(name), nullptr) << name;
    EXPECT_TRUE(Item(name)->isVisible() && Item(name)->isEnabled()) << name;
  }
  NextUntil(stpTopHead1);
  Click(Btn("cmdNav"));
  EXPECT_TRUE(menu.isVisible());
  menu.hide();
  EXPECT_EQ(step(), stpTopHead1);
  EXPECT_TRUE(timer().isActive());
}

TEST_F(MainControllerTest, TheShortcutsWindowOpensOnceAndLeavesTheTimerRunning) {
  NextUntil(stpTopHead1);
  Item("mnuPopUpShortcuts")->trigger();
  ASSERT_EQ(shortcutsCreated, 1);
  QPointer<QWidget> shortcuts = controller->ShortcutsWindow();
  ASSERT_NE(shortcuts, nullptr);
  EXPECT_TRUE(shortcuts->isVisible());
  EXPECT_FALSE(shortcuts->isModal());
  EXPECT_TRUE(timer().isActive());
  EXPECT_GT(TicksUntilStepChanges(201), 0);  // the session goes on meanwhile

  Item("mnuPopUpShortcuts")->trigger();
  EXPECT_EQ(shortcutsCreated, 1);
  EXPECT_EQ(controller->ShortcutsWindow(), shortcuts.data());

  // Closing it releases it; the next opening makes a fresh one.
  shortcuts->close();
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  EXPECT_TRUE(shortcuts.isNull());
  Item("mnuPopUpShortcuts")->trigger();
  EXPECT_EQ(shortcutsCreated, 2);
  QPointer<QWidget> second = controller->ShortcutsWindow();
  ASSERT_NE(second, nullptr);
  EXPECT_TRUE(second->isVisible());

  // It closes with the main window.
  window->close();
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  EXPECT_TRUE(second.isNull() || !second->isVisible());
}

// ---------------------------------------------------------------------------
// Closing

enum class ExitWay { ExitButton, PopupItem, AltX };

class ExitTest : public MainControllerTest, public ::testing::WithParamInterface<ExitWay> {};

TEST_P(ExitTest, ExitStopsTheStepTimerBeforeTheWindowCloses) {
  NextUntil(stpLeftHand);
  ASSERT_TRUE(timer().isActive());
  CloseWatcher watcher(window.get(), &timer());
  switch (GetParam()) {
    case ExitWay::ExitButton: Click(Btn("cmdExit")); break;
    case ExitWay::PopupItem: Item("mnuPopUpExit")->trigger(); break;
    case ExitWay::AltX: Key(Qt::Key_X, Qt::AltModifier); break;
  }
  EXPECT_EQ(watcher.closes, 1);
  EXPECT_FALSE(watcher.timerActiveAtClose);
  EXPECT_FALSE(window->isVisible());
  EXPECT_FALSE(timer().isActive());
}

std::string ExitWayName(const ::testing::TestParamInfo<ExitWay>& info) {
  static const char* const names[] = {"ExitButton", "PopupItem", "AltX"};
  return names[static_cast<int>(info.param)];
}

INSTANTIATE_TEST_SUITE_P(Ways, ExitTest, ::testing::Values(ExitWay::ExitButton, ExitWay::PopupItem, ExitWay::AltX),
                         ExitWayName);

struct StoredPlacement {
  std::int32_t left = 0, top = 0, width = 0, height = 0, state = -1;
  bool read = false;
};

StoredPlacement ReadPlacement() {
  StoredPlacement p;
  p.read = FormPos_Read(p.left, p.top, p.width, p.height, p.state);
  return p;
}

TEST_F(MainControllerTest, ClosingStoresThePlacementThatTheNextWindowTakes) {
  window->move(40, 30);
  window->resize(1000, 700);
  QApplication::processEvents();
  const QRect frame = window->frameGeometry();
  const QSize size = window->size();
  window->close();

  const StoredPlacement p = ReadPlacement();
  ASSERT_TRUE(p.read);
  EXPECT_EQ(p.state, kWindowStateNormal);
  EXPECT_EQ(p.left, frame.x() * 15);
  EXPECT_EQ(p.top, frame.y() * 15);
  EXPECT_EQ(p.width, size.width() * 15);
  EXPECT_GE(p.height, size.height() * 15);

  window.reset();
  OpenWindow();
  EXPECT_EQ(window->size(), size);
  EXPECT_EQ(window->frameGeometry().topLeft(), frame.topLeft());
  EXPECT_EQ(step(), stpIntro);  // nothing of the session is kept
}

TEST_F(MainControllerTest, ClosingAMinimizedWindowKeepsThePlacementStoredBefore) {
  WindowPlacement stored;
  stored.left = 1500;
  stored.top = 1200;
  stored.width = 12000;
  stored.height = 9000;
  FormPos_Save(stored);
  window->showMinimized();
  QApplication::processEvents();
  ASSERT_TRUE(window->isMinimized());
  window->close();

  const StoredPlacement p = ReadPlacement();
  ASSERT_TRUE(p.read);
  EXPECT_EQ(p.left, 1500);
  EXPECT_EQ(p.top, 1200);
  EXPECT_EQ(p.width, 12000);
  EXPECT_EQ(p.height, 9000);
  EXPECT_EQ(p.state, kWindowStateNormal);
}

TEST_F(MainControllerTest, ClosingAMaximizedWindowStoresTheMaximizedState) {
  window->showMaximized();
  QApplication::processEvents();
  window->close();
  EXPECT_EQ(ReadPlacement().state, kWindowStateMaximized);
}

TEST_F(MainControllerTest, OtherTopLevelWindowsCloseWithTheMainWindow) {
  QWidget first;
  QWidget second;
  first.show();
  second.show();
  NextUntil(stpLeftHand);
  window->close();
  EXPECT_FALSE(first.isVisible());
  EXPECT_FALSE(second.isVisible());
  EXPECT_FALSE(timer().isActive());
}

// ---------------------------------------------------------------------------
// Random use of the whole window

// Ticks, keys of the table and others (with and without modifiers), clicks on
// every visible control, pause and resume, in random order. After every event
// the window must agree with the session.
class WindowMonkey {
 public:
  WindowMonkey(MainControllerTest& test, std::uint32_t seed)
      : t_(test), w_(*test.window), c_(*test.controller), rng_(seed) {
    for (QWidget* child : w_.findChildren<QWidget*>()) {
      const QString name = child->objectName();
      // Exit would end the run; the popup menu opens from cmdNav.
      if (name.isEmpty() || name.startsWith(QLatin1String("qt_")) || name == QLatin1String("cmdExit") ||
          name == QLatin1String("mnuPopUp")) {
        continue;
      }
      clickable_.push_back(child);
    }
    clickable_.push_back(&w_);
    resume_ = w_.Button("cmdResume");
    pause_ = w_.Button("cmdPause");
    for (const char* name : {"cmdNavig_Bottom(0)", "cmdNavig_Bottom(1)", "cmdPause_Bottom", "cmdResume_Bottom"}) {
      bottom_.push_back(w_.Control(name));
    }
    for (int i = 1; i <= kDotCount; ++i) dots_.push_back(w_.Control("shpStep", i));
  }

  // Every tick, key and click counts as one event.
  void Run(int events) {
    while (!failed_ && ticks + keys + clicks < events) {
      RandomEvent();
      Check();
    }
  }

  int ticks = 0;
  int keys = 0;
  int clicks = 0;
  std::array<int, 26> stepsSeen{};

 private:
  int Pick(int n) { return std::uniform_int_distribution<int>(0, n - 1)(rng_); }

  Qt::KeyboardModifiers RandomModifiers() {
    switch (Pick(8)) {
      case 0: return Qt::ShiftModifier;
      case 1: return Qt::ControlModifier;
      case 2: return Qt::AltModifier;
      case 3: return Qt::ControlModifier | Qt::ShiftModifier;
      default: return Qt::NoModifier;
    }
  }

  void RandomKey() {
    static const Qt::Key table[] = {Qt::Key_N,      Qt::Key_Space,     Qt::Key_Right,  Qt::Key_Down,
                                    Qt::Key_Return, Qt::Key_Enter,     Qt::Key_PageDown, Qt::Key_P,
                                    Qt::Key_Backspace, Qt::Key_Left,   Qt::Key_Up,     Qt::Key_PageUp,
                                    Qt::Key_Escape, Qt::Key_Escape,    Qt::Key_Escape};
    // Alt+A, Alt+E and Alt+F are access keys; X is left out, Alt+X would end the run.
    static const Qt::Key others[] = {Qt::Key_A,     Qt::Key_B,       Qt::Key_E,      Qt::Key_F,      Qt::Key_Q,
                                     Qt::Key_Z,     Qt::Key_0,       Qt::Key_7,      Qt::Key_F1,     Qt::Key_F10,
                                     Qt::Key_Home,  Qt::Key_End,     Qt::Key_Insert, Qt::Key_Delete, Qt::Key_Tab,
                                     Qt::Key_Shift, Qt::Key_Control, Qt::Key_Alt,    Qt::Key_Menu,   Qt::Key_Period};
    const Qt::Key key = Pick(3) != 0 ? table[Pick(static_cast<int>(std::size(table)))]
                                     : others[Pick(static_cast<int>(std::size(others)))];
    QWidget* target = Pick(2) == 0 || w_.focusWidget() == nullptr ? &w_ : w_.focusWidget();
    QTest::keyClick(target, key, RandomModifiers());
    ++keys;
  }

  void RandomClick() {
    QWidget* target = nullptr;
    if (Pick(6) == 0) {
      target = !resume_->isHidden() ? resume_ : pause_;  // pause or resume
    } else {
      for (int tries = 0; tries < 20 && target == nullptr; ++tries) {
        QWidget* candidate = clickable_[static_cast<std::size_t>(Pick(static_cast<int>(clickable_.size())))];
        if (candidate->isVisible()) target = candidate;
      }
    }
    if (target == nullptr) return;
    auto* button = qobject_cast<QAbstractButton*>(target);
    if (qobject_cast<QRadioButton*>(target) != nullptr) {
      QTest::mouseClick(target, Qt::LeftButton, Qt::NoModifier, QPoint(6, target->height() / 2));
    } else if (button != nullptr && Pick(8) != 0) {
      // Most push-button clicks skip the mouse, whose pressed look is
      // repainted at once and costs a millisecond a click.
      button->click();
    } else {
      QTest::mouseClick(target, Qt::LeftButton);
    }
    if (w_.PopupMenu().isVisible()) w_.PopupMenu().hide();
    ++clicks;
  }

  void RandomEvent() {
    // Mostly short bursts of ticks; now and then the user just watches while
    // the timer carries the session through a number of steps, more often
    // during the karate chop, whose ten seconds a restless user rarely waits.
    const int kind = Pick(1000);
    const bool karateChop = c_.Engine().State().genmCurrentStep == stpLeftHand;
    if (kind < 330 && w_.StepTimer().isActive()) {
      if (kind < (karateChop ? 12 : 2)) {
        const int changes = 1 + Pick(18);
        for (int changed = 0; changed < changes && !failed_ && w_.StepTimer().isActive();) {
          const enmStep before = c_.Engine().State().genmCurrentStep;
          Tick();
          if (c_.Engine().State().genmCurrentStep != before) ++changed;
          Check();
        }
        return;
      }
      const int n = 1 + Pick(kind < 20 ? 200 : 3);
      for (int i = 0; i < n && !failed_ && w_.StepTimer().isActive(); ++i) {
        Tick();
        if (i + 1 < n) Check();
      }
    } else if (kind < 800) {
      RandomKey();
    } else {
      RandomClick();
    }
  }

  void Tick() {
    t_.Tick();
    ++ticks;
  }

  void Check() {
    if (failed_) return;
    const SessionState& s = c_.Engine().State();
    const enmStep step = s.genmCurrentStep;
    const bool timed = step >= stpLeftHand && step <= stpRelax;
    const bool paused = !resume_->isHidden();
    int shownDots = 0;
    for (QWidget* dot : dots_) shownDots += dot->isHidden() ? 0 : 1;
    bool bottomShown = false;
    for (QWidget* b : bottom_) bottomShown = bottomShown || !b->isHidden();
    const bool ok = step >= stpIntro && step <= stpFinish && s.glngStepLength == modSteps::GetStepLength(step) &&
                    w_.StepTimer().isActive() == (timed && !paused) && pause_->isHidden() == paused &&
                    (!paused || (timed && resume_->isEnabled())) && (paused || pause_->isEnabled() == timed) &&
                    !bottomShown && (shownDots == 0 || (shownDots == 1 && IsBlinkingStep(step))) &&
                    w_.isVisible() && t_.reports.reports.empty() && t_.boxes.requests.empty();
    if (ok) {
      ++stepsSeen[static_cast<std::size_t>(step)];
      return;
    }
    failed_ = true;
    std::ostringstream o;
    o << "after " << ticks << " ticks, " << keys << " keys, " << clicks << " clicks: step " << step << ", length "
      << s.glngStepLength << ", round " << s.glngRoundCount << ", timer " << w_.StepTimer().isActive()
      << ", pause shown " << !pause_->isHidden() << " enabled " << pause_->isEnabled() << ", resume shown "
      << paused << " enabled " << resume_->isEnabled() << ", dots shown " << shownDots << ", bottom set shown "
      << bottomShown << ", window shown " << w_.isVisible();
    if (!t_.reports.reports.empty()) o << ", error report from " << t_.reports.reports.front().procedure;
    if (!t_.boxes.requests.empty()) o << ", message box " << t_.boxes.requests.front().text;
    ADD_FAILURE() << o.str();
  }

  MainControllerTest& t_;
  frmMain& w_;
  MainWindowController& c_;
  std::mt19937 rng_;
  std::vector<QWidget*> clickable_;
  std::vector<QWidget*> bottom_;
  std::vector<QWidget*> dots_;
  QAbstractButton* resume_ = nullptr;
  QAbstractButton* pause_ = nullptr;
  bool failed_ = false;
};

class WindowMonkeyTest : public MainControllerTest, public ::testing::WithParamInterface<std::uint32_t> {};

TEST_P(WindowMonkeyTest, InvariantsHoldThroughRandomUse) {
  WindowMonkey monkey(*this, GetParam());
  monkey.Run(40000);
  ASSERT_FALSE(HasFailure());
  // The mix: mostly ticks, thousands of keys, hundreds of clicks, every step.
  EXPECT_GT(monkey.ticks, 30000);
  EXPECT_GT(monkey.keys, 2000);
  EXPECT_GT(monkey.clicks, 600);
  for (enmStep s = stpIntro; s <= stpFinish; ++s) EXPECT_GT(monkey.stepsSeen[static_cast<std::size_t>(s)], 0) << s;
}

INSTANTIATE_TEST_SUITE_P(Seeds, WindowMonkeyTest, ::testing::Values(1u, 20240611u, 777u));

}  // namespace
}  // namespace serenitap
