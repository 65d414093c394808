// Choosing without a mouse and clicking twice: a double-click on the window's
// surface is one Next; an issue or rating ticked by a screen reader's toggle
// action, by a digit key or by a click is stored alike.
#include <QAccessible>
#include <QAccessibleActionInterface>

#include "ui/main/main_window_fixture.h"

namespace serenitap {
namespace {

using namespace window_testing;

TEST_F(MainControllerTest, ADoubleClickOnASurfaceIsOneNext) {
  for (const auto& [name, from, to] : {std::tuple{"", stpIntro, stpStimulateThymus},
                                       {"lblLeftFrame", stpSelectIssue, stpAssignSUD}}) {
    SCOPED_TRACE(name);
    NextUntil(from);
    QWidget* surface = *name != '\0' ? Ctl(name) : window.get();
    const QPoint at = surface == window.get() ? QPoint(5, 60) : surface->mapTo(window.get(), surface->rect().center());
    ASSERT_EQ(window->childAt(at), surface == window.get() ? nullptr : surface);
    // Through the window system, which turns the second press into a double-click.
    QTest::mouseDClick(window->windowHandle(), Qt::LeftButton, Qt::NoModifier, at);
    QApplication::processEvents();
    EXPECT_EQ(step(), to);
    if (!surface->isVisible()) continue;
    QTest::mouseClick(window->windowHandle(), Qt::LeftButton, Qt::NoModifier, at);  // the next click counts again
    EXPECT_NE(step(), to);
  }
}

// What a screen reader does with an option: its toggle action.
void ToggleAction(QWidget* option) {
  QAccessible::queryAccessibleInterface(option)->actionInterface()->doAction(
      QAccessibleActionInterface::toggleAction());
}

TEST_F(MainControllerTest, AScreenReadersToggleOrAClickStoresTheIssueAndTheRating) {
  NextUntil(stpSelectIssue);
  ToggleAction(Btn("radMode", 8));
  EXPECT_EQ(state().genmSelectedIssue, 80);
  ClickOption(Btn("radMode", 11));
  EXPECT_EQ(state().genmSelectedIssue, 110);
  EXPECT_EQ(step(), stpSelectIssue);
  NextUntil(stpAssignSUD);
  ToggleAction(Btn("radSUD", 9));
  EXPECT_EQ(sud(), 9);
  // A click on the ticked option keeps it; a click on the number above
  // another one moves the choice there.
  ClickOption(Btn("radSUD", 9));
  EXPECT_EQ(sud(), 9);
  for (int number : {2, 10}) {
    QTest::mouseClick(Ctl("lblSUDUnit", number), Qt::LeftButton);
    EXPECT_EQ(sud(), number);
    EXPECT_EQ(window->SelectedSudOption(), number);
  }
  EXPECT_EQ(step(), stpAssignSUD);
}

TEST_F(MainControllerTest, DigitsChooseTheVisibleIssuesInTheirOrder) {
  NextUntil(stpSelectIssue);
  // On screen, top to bottom: 1, 2, 3, 11, 4, 5, 12, 7, 8, 9.
  for (const auto& [key, issue] : {std::pair{Qt::Key_1, 10}, {Qt::Key_4, 110}, {Qt::Key_9, 80}, {Qt::Key_0, 90}}) {
    Key(key);
    EXPECT_EQ(state().genmSelectedIssue, issue) << key;
    EXPECT_EQ(window->focusWidget(), Btn("radMode", issue / 10)) << key;
  }
  EXPECT_EQ(step(), stpSelectIssue);
}

TEST_F(MainControllerTest, DigitsRateAndOneThenZeroWithinASecondIsTen) {
  NextUntil(stpAssignSUD);
  Key(Qt::Key_7);
  EXPECT_EQ(sud(), 7);
  EXPECT_EQ(window->focusWidget(), Btn("radSUD", 7));
  Key(Qt::Key_1);
  nowMs += 999;
  Key(Qt::Key_0);
  EXPECT_EQ(sud(), 10);
  Key(Qt::Key_0);  // the ten is complete: a further 0 is 0
  EXPECT_EQ(sud(), 0);
  Key(Qt::Key_1);
  nowMs += 1001;
  Key(Qt::Key_0);
  EXPECT_EQ(window->SelectedSudOption(), 0);
  EXPECT_EQ(step(), stpAssignSUD);
  Btn("cmdFinish")->click();  // elsewhere digits choose nothing
  Key(Qt::Key_3);
  EXPECT_EQ(sud(), 0);
}

}  // namespace
}  // namespace serenitap
