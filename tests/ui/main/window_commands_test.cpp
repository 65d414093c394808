// The main window's commands: access keys, the windows it opens, closing,
// and failures on the way.
#include "settings/window_position.h"
#include "ui/main/main_window_fixture.h"

namespace serenitap {
namespace {

using namespace window_testing;

// A visible, enabled button answers its access key once; others stay silent.
TEST_F(MainControllerTest, AccessKeysClickOnlyVisibleEnabledButtons) {
  auto clicksOf = [&](const char* button, Qt::Key key) {
    QSignalSpy clicks(Btn(button), &QAbstractButton::clicked);
    Key(key, Qt::AltModifier);
    return clicks.count();
  };
  EXPECT_EQ(clicksOf("cmdPause", Qt::Key_A), 0);  // disabled on the introduction
  NextUntil(stpLeftHand);
  Btn("cmdFinish")->setEnabled(false);
  EXPECT_EQ(clicksOf("cmdFinish", Qt::Key_F), 0);
  Btn("cmdFinish")->setEnabled(true);
  Btn("cmdExit")->hide();
  EXPECT_EQ(clicksOf("cmdExit", Qt::Key_X), 0);
  EXPECT_TRUE(window->isVisible());
  EXPECT_EQ(step(), stpLeftHand);
  EXPECT_EQ(clicksOf("cmdPause", Qt::Key_A), 1);
  EXPECT_TRUE(Paused());
  EXPECT_EQ(clicksOf("cmdFinish", Qt::Key_F), 1);
  EXPECT_EQ(step(), stpFinish);
}

struct ModalCase {
  const char* window;
  const char* procedure;  // the name a failure is reported under
  void (*open)(MainControllerTest&);
};

class ModalWindowTest : public MainControllerTest, public ::testing::WithParamInterface<ModalCase> {};

// The About and introduction windows suspend the step timer (the stand-ins
// check that it is off) and leave it as it was; a failure inside is reported.
TEST_P(ModalWindowTest, SuspendTheTimerAndRestoreIt) {
  const ModalCase& c = GetParam();
  NextUntil(stpTopHead1);
  c.open(*this);
  EXPECT_EQ(modalCalls, std::vector<std::string>{c.window});
  EXPECT_TRUE(timer().isActive());
  EXPECT_GT(TicksUntilStepChanges(201), 0);
  Key(Qt::Key_Escape);
  c.open(*this);
  EXPECT_TRUE(Paused());
  EXPECT_FALSE(timer().isActive());
  Key(Qt::Key_Escape);
  throwInModal = true;
  c.open(*this);
  ASSERT_EQ(reports.reports.size(), 1u);
  EXPECT_EQ(reports.reports[0].module, "frmMain");
  EXPECT_EQ(reports.reports[0].procedure, c.procedure);
  EXPECT_FALSE(timer().isActive());
  reports.reports.clear();
  Key(Qt::Key_N);  // a step change brings the timer back
  EXPECT_TRUE(timer().isActive());
}

INSTANTIATE_TEST_SUITE_P(
    Commands, ModalWindowTest,
    ::testing::Values(
        ModalCase{"About", "mnuPopUpAbout_Click", [](MainControllerTest& t) { t.Item("mnuPopUpAbout")->trigger(); }},
        ModalCase{"About", "cmdAbout_Click", [](MainControllerTest& t) { t.Btn("cmdAbout")->click(); }},
        ModalCase{"Information", "cmdInfo_Click", [](MainControllerTest& t) { t.Btn("cmdInfo")->click(); }},
        ModalCase{"Information", "mnuPopUpInfo_Click",
                  [](MainControllerTest& t) { t.controller->mnuPopUpInfo_Click(); }}));

TEST_F(MainControllerTest, TheMenuOpensFromItsButtonAndItsInformationItemIsOff) {
  EXPECT_FALSE(Item("mnuPopUpInfo")->isVisible() || Item("mnuPopUpInfo")->isEnabled());
  Item("mnuPopUpInfo")->trigger();
  EXPECT_TRUE(modalCalls.empty());
  NextUntil(stpTopHead1);
  QTest::mouseClick(Btn("cmdNav"), Qt::LeftButton);
  EXPECT_TRUE(window->PopupMenu().isVisible());
  window->PopupMenu().hide();
  EXPECT_TRUE(timer().isActive());
}

TEST_F(MainControllerTest, TheShortcutsWindowOpensOnceAndLeavesTheTimerRunning) {
  NextUntil(stpTopHead1);
  Item("mnuPopUpShortcuts")->trigger();
  QPointer<QWidget> shortcuts = controller->ShortcutsWindow();
  ASSERT_NE(shortcuts, nullptr);
  EXPECT_TRUE(shortcuts->isVisible() && !shortcuts->isModal());
  EXPECT_GT(TicksUntilStepChanges(201), 0);  // the session goes on meanwhile
  Item("mnuPopUpShortcuts")->trigger();
  EXPECT_EQ(shortcutsCreated, 1);
  // Closing it releases it; the next opening makes a fresh one.
  shortcuts->close();
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  EXPECT_TRUE(shortcuts.isNull());
  Item("mnuPopUpShortcuts")->trigger();
  EXPECT_EQ(shortcutsCreated, 2);
  QPointer<QWidget> second = controller->ShortcutsWindow();
  window->close();  // it closes with the main window
  EXPECT_TRUE(second.isNull() || !second->isVisible());
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

// Notes whether the step timer runs when the main window gets its close
// event, before the controller's own unload sees it.
class CloseWatcher : public QObject {
 public:
  explicit CloseWatcher(MainControllerTest& t) : t_(t) { qApp->installEventFilter(this); }
  ~CloseWatcher() override { qApp->removeEventFilter(this); }
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (watched == t_.window.get() && event->type() == QEvent::Close) timerAtClose.push_back(t_.timer().isActive());
    return false;
  }
  std::vector<bool> timerAtClose;

 private:
  MainControllerTest& t_;
};

class ExitTest : public MainControllerTest, public ::testing::WithParamInterface<int> {};

TEST_P(ExitTest, ExitStopsTheStepTimerBeforeTheWindowCloses) {
  QWidget other;  // other top-level windows close with the main window
  other.show();
  NextUntil(stpLeftHand);
  CloseWatcher watcher(*this);
  switch (GetParam()) {
    case 0: QTest::mouseClick(Btn("cmdExit"), Qt::LeftButton); break;
    case 1: Item("mnuPopUpExit")->trigger(); break;
    case 2: Key(Qt::Key_X, Qt::AltModifier); break;
  }
  EXPECT_EQ(watcher.timerAtClose, std::vector<bool>{false});
  EXPECT_FALSE(window->isVisible());
  EXPECT_FALSE(other.isVisible());
}

INSTANTIATE_TEST_SUITE_P(ButtonMenuItemAndAltX, ExitTest, ::testing::Values(0, 1, 2));

struct Stored {
  std::int32_t left = 0, top = 0, width = 0, height = 0, state = -1;
};
Stored StoredPlacement() {
  Stored p;
  EXPECT_TRUE(FormPos_Read(p.left, p.top, p.width, p.height, p.state));
  return p;
}

TEST_F(MainControllerTest, ClosingStoresThePlacementThatTheNextWindowTakes) {
  window->move(40, 30);
  window->resize(700, 500);  // on the 800 x 600 offscreen screen
  QApplication::processEvents();
  const QRect frame = window->frameGeometry();
  const QSize size = window->size();
  window->close();
  const Stored p = StoredPlacement();
  EXPECT_EQ(p.state, kWindowStateNormal);
  EXPECT_EQ(std::make_pair(p.left, p.top), std::make_pair(frame.x() * 15, frame.y() * 15));
  EXPECT_EQ(p.width, size.width() * 15);
  window.reset();
  OpenWindow();
  EXPECT_EQ(window->size(), size);
  EXPECT_EQ(window->frameGeometry().topLeft(), frame.topLeft());
  EXPECT_EQ(step(), stpIntro);  // nothing of the session is kept
}

TEST_F(MainControllerTest, AMinimizedWindowKeepsThePlacementStoredBeforeAndAMaximizedOneStoresItsState) {
  WindowPlacement stored;
  stored.left = 1500;
  stored.top = 1200;
  stored.width = 12000;
  stored.height = 9000;
  FormPos_Save(stored);
  window->showMinimized();
  QApplication::processEvents();
  window->close();
  const Stored p = StoredPlacement();
  EXPECT_EQ(std::make_tuple(p.left, p.top, p.width, p.height, p.state),
            std::make_tuple(1500, 1200, 12000, 9000, kWindowStateNormal));
  window.reset();
  OpenWindow();
  window->showMaximized();
  QApplication::processEvents();
  window->close();
  EXPECT_EQ(StoredPlacement().state, kWindowStateMaximized);
}

TEST_F(MainControllerTest, APlacementThatCannotBeSavedIsReportedAndTheWindowStillCloses) {
  NextUntil(stpLeftHand);
  window->move(150'000'000, 0);  // the left edge in twips does not fit in 32 bits
  QApplication::processEvents();
  if (window->frameGeometry().x() < 143'165'577) GTEST_SKIP() << "the window system keeps the window on screen";
  QTest::mouseClick(Btn("cmdExit"), Qt::LeftButton);
  ASSERT_EQ(reports.reports.size(), 1u);
  EXPECT_EQ(reports.reports[0].procedure, "FormPos_Save");
  EXPECT_FALSE(window->isVisible() || timer().isActive());
  reports.reports.clear();
}

// Fails the first move of the control it watches.
class FailingMove : public QObject {
 public:
  bool eventFilter(QObject*, QEvent* event) override {
    if (event->type() != QEvent::Move || !armed) return false;
    armed = false;
    throw RuntimeFailure(91, "Object variable or With block variable not set");
  }
  bool armed = true;
};

TEST_F(MainControllerTest, TheLayoutSkipsAControlThatFailsAndPlacesTheRest) {
  FailingMove failing;
  Ctl("lblIntro")->installEventFilter(&failing);
  for (const QSize size : {QSize(1300, 800), QSize(1, 1), QSize(6, 900)}) {
    window->resize(size);
    window->ArrangeControls();
    EXPECT_EQ(Ctl("cmdWeb")->geometry(), main_window::PixelRect(window->CurrentLayout().cmdWeb));
  }
  Ctl("lblIntro")->removeEventFilter(&failing);
  EXPECT_FALSE(failing.armed);
  Key(Qt::Key_N);
  EXPECT_EQ(step(), stpStimulateThymus);
}

}  // namespace
}  // namespace serenitap
