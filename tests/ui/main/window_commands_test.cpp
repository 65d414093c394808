// The main window's commands: access keys, the windows it opens, closing,
// and failures on the way.
#include "ui/main/main_window_fixture.h"

namespace serenitap {
namespace {

using namespace window_testing;

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
  window->resize(700, 500);  // on the 800 x 600 offscreen screen
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

TEST_F(MainControllerTest, AFailingShortcutsWindowIsReportedAndTheSessionRunsOn) {
  NextUntil(stpTopHead1);
  throwInModal = true;
  Item("mnuPopUpShortcuts")->trigger();
  ASSERT_EQ(reports.reports.size(), 1u);
  EXPECT_EQ(reports.reports[0].procedure, "KeyboardShortcuts");
  EXPECT_TRUE(timer().isActive());
  reports.reports.clear();
}

// Fails the first move of the control it watches.
class FailingMove : public QObject {
 public:
  bool eventFilter(QObject*, QEvent* event) override {
    if (event->type() == QEvent::Move && armed) {
      armed = false;
      throw RuntimeFailure(91, "Object variable or With block variable not set");
    }
    return false;
  }
  bool armed = true;
};

TEST_F(MainControllerTest, TheLayoutSkipsAControlThatFailsAndPlacesTheRestAtAnySize) {
  FailingMove failing;
  Ctl("lblIntro")->installEventFilter(&failing);
  for (const QSize size : {QSize(1300, 800), QSize(1, 1), QSize(1200, 8), QSize(6, 900)}) {
    window->resize(size);
    QApplication::processEvents();
    window->ArrangeControls();
    const main_window::MainLayout& layout = window->CurrentLayout();
    EXPECT_EQ(Ctl("cmdWeb")->geometry(), main_window::PixelRect(layout.cmdWeb));
    EXPECT_EQ(Ctl("lblTime_New")->geometry(), main_window::PixelRect(layout.lblTime_New));
  }
  Ctl("lblIntro")->removeEventFilter(&failing);
  EXPECT_FALSE(failing.armed);
  Key(Qt::Key_N);
  EXPECT_EQ(step(), stpStimulateThymus);
}

TEST_F(MainControllerTest, APlacementThatCannotBeSavedIsReportedAndTheWindowStillClosesEverything) {
  NextUntil(stpLeftHand);
  Item("mnuPopUpShortcuts")->trigger();
  QPointer<QWidget> shortcuts = controller->ShortcutsWindow();
  window->move(150'000'000, 0);  // the left edge in twips does not fit in 32 bits
  QApplication::processEvents();
  if (window->frameGeometry().x() < 143'165'577) GTEST_SKIP() << "the window system keeps the window on screen";
  Click(Btn("cmdExit"));
  ASSERT_EQ(reports.reports.size(), 1u);
  EXPECT_EQ(reports.reports[0].procedure, "FormPos_Save");
  EXPECT_EQ(reports.reports[0].number, 6);
  EXPECT_FALSE(window->isVisible());
  EXPECT_FALSE(timer().isActive());
  EXPECT_TRUE(shortcuts.isNull() || !shortcuts->isVisible());
  reports.reports.clear();
}

}  // namespace
}  // namespace serenitap
