// Choosing without a mouse and clicking twice: a double-click on the window's
// surface is one Next; an issue or rating ticked by a screen reader's toggle
// action or by a digit key is stored exactly as a click stores it.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QAccessible>
#include <QAccessibleActionInterface>
#include <QApplication>
#include <QTest>
#include <QTimer>
#include <memory>

#include "session/steps.h"
#include "support/recorders.h"
#include "support/temp_store.h"
#include "ui/main/main_controller.h"
#include "ui/main/main_window.h"

namespace serenitap {
namespace {

class ChoicesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    window = std::make_unique<frmMain>();
    controller = new MainWindowController(*window);  // owned by the window
    controller->SetMonotonicClock([this] { return nowMs; });
    controller->Form_Load();
    window->StepTimer().setInterval(24 * 3600 * 1000);  // only the tests move time
    window->show();
    QApplication::processEvents();
  }
  void TearDown() override {
    window->close();
    window.reset();
    EXPECT_TRUE(reports.reports.empty());
  }

  enmStep step() { return controller->Engine().State().genmCurrentStep; }
  void Key(Qt::Key key) {
    QWidget* focus = window->focusWidget();
    QTest::keyClick(focus != nullptr ? focus : window.get(), key);
  }
  void NextUntil(enmStep wanted) {
    for (int i = 0; i < 40 && step() != wanted; ++i) QTest::keyClick(window.get(), Qt::Key_N);
    ASSERT_EQ(step(), wanted);
  }

  testing::TempStore store;
  testing::ReportRecorder reports;
  std::unique_ptr<frmMain> window;
  MainWindowController* controller = nullptr;
  std::int64_t nowMs = 5000;
};

struct DoubleClickCase {
  const char* surface;  // nullptr: a free spot of the window itself
  enmStep from;
  enmStep to;
};

class DoubleClickTest : public ChoicesTest, public ::testing::WithParamInterface<DoubleClickCase> {};

TEST_P(DoubleClickTest, IsOneNext) {
  const DoubleClickCase& c = GetParam();
  NextUntil(c.from);
  QWidget* surface = c.surface != nullptr ? window->Control(c.surface) : window.get();
  const QPoint at = c.surface != nullptr ? surface->mapTo(window.get(), surface->rect().center()) : QPoint(5, 60);
  ASSERT_EQ(window->childAt(at) != nullptr ? window->childAt(at) : window.get(), surface);
  // Through the window system, which turns the second press into a double-click.
  QTest::mouseDClick(window->windowHandle(), Qt::LeftButton, Qt::NoModifier, at);
  QApplication::processEvents();
  EXPECT_EQ(step(), c.to);
  if (!surface->isVisible()) return;
  QTest::mouseClick(window->windowHandle(), Qt::LeftButton, Qt::NoModifier, at);  // the next click counts again
  EXPECT_NE(step(), c.to);
}

INSTANTIATE_TEST_SUITE_P(Surfaces, DoubleClickTest,
                         ::testing::Values(DoubleClickCase{"lblIntro", stpIntro, stpStimulateThymus},
                                           DoubleClickCase{nullptr, stpIntro, stpStimulateThymus},
                                           DoubleClickCase{"picShape", stpStimulateThymus, stpSelectIssue},
                                           DoubleClickCase{"lblLeftFrame", stpSelectIssue, stpAssignSUD}));

// What a screen reader does with an option: its toggle action.
void ToggleAction(QWidget* option) {
  QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(option);
  ASSERT_NE(accessible, nullptr);
  ASSERT_NE(accessible->actionInterface(), nullptr);
  accessible->actionInterface()->doAction(QAccessibleActionInterface::toggleAction());
}

TEST_F(ChoicesTest, AScreenReadersToggleStoresTheIssueAndTheRating) {
  NextUntil(stpSelectIssue);
  ToggleAction(window->Button("radMode", 8));
  EXPECT_EQ(controller->Engine().State().genmSelectedIssue, 80);
  NextUntil(stpAssignSUD);
  ToggleAction(window->Button("radSUD", 9));
  EXPECT_EQ(controller->Engine().mintSUD(), 9);
  // A click on the ticked option keeps it; a click on the number above
  // another one moves the choice there.
  QTest::mouseClick(window->Button("radSUD", 9), Qt::LeftButton, Qt::NoModifier, QPoint(6, 8));
  EXPECT_EQ(controller->Engine().mintSUD(), 9);
  QTest::mouseClick(window->Control("lblSUDUnit", 2), Qt::LeftButton);
  EXPECT_EQ(controller->Engine().mintSUD(), 2);
  EXPECT_EQ(window->SelectedSudOption(), 2);
}

TEST_F(ChoicesTest, DigitsChooseTheVisibleIssuesInTheirOrder) {
  NextUntil(stpSelectIssue);
  // On screen, top to bottom: 1, 2, 3, 11, 4, 5, 12, 7, 8, 9.
  const std::pair<Qt::Key, int> cases[] = {{Qt::Key_1, 10},  {Qt::Key_4, 110}, {Qt::Key_7, 120},
                                           {Qt::Key_9, 80},  {Qt::Key_0, 90},  {Qt::Key_2, 20}};
  for (const auto& [key, issue] : cases) {
    Key(key);
    EXPECT_EQ(controller->Engine().State().genmSelectedIssue, issue) << key;
    EXPECT_EQ(window->focusWidget(), window->Button("radMode", issue / 10)) << key;
    EXPECT_EQ(step(), stpSelectIssue);
  }
}

TEST_F(ChoicesTest, DigitsRateAndOneThenZeroWithinASecondIsTen) {
  for (enmStep rating : {stpAssignSUD, stpReassessSUD}) {
    NextUntil(rating);
    Key(Qt::Key_7);
    EXPECT_EQ(controller->Engine().mintSUD(), 7);
    EXPECT_EQ(window->focusWidget(), window->Button("radSUD", 7));
    Key(Qt::Key_1);
    EXPECT_EQ(controller->Engine().mintSUD(), 1);
    nowMs += 999;
    Key(Qt::Key_0);
    EXPECT_EQ(controller->Engine().mintSUD(), 10);
    Key(Qt::Key_0);  // the ten is complete: a further 0 is 0
    EXPECT_EQ(controller->Engine().mintSUD(), 0);
    Key(Qt::Key_1);
    nowMs += 1001;
    Key(Qt::Key_0);
    EXPECT_EQ(controller->Engine().mintSUD(), 0);
    EXPECT_EQ(window->SelectedSudOption(), 0);
    EXPECT_EQ(step(), rating);
  }
  // Elsewhere digits choose nothing.
  window->Button("cmdFinish")->click();
  ASSERT_EQ(step(), stpFinish);
  Key(Qt::Key_3);
  EXPECT_EQ(controller->Engine().mintSUD(), 0);
}

}  // namespace
}  // namespace serenitap
