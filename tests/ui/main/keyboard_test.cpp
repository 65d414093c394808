// The whole window by keyboard: where the focus starts and goes, what a
// focused control does with Space and Enter, the choice groups and the focus
// ring.
#include <QLineEdit>

#include "ui/look.h"
#include "ui/main/main_window_fixture.h"
#include "ui/main/notice_strip.h"

namespace serenitap {
namespace {

using namespace window_testing;

class KeyboardTest : public MainControllerTest {
 public:
  // Tab, as the user presses it, until a control matching `wanted` has the focus (at most 30 times).
  template <class Wanted>
  QWidget* TabUntil(Wanted wanted) {
    for (int i = 0; i < 30 && !wanted(KeyTarget()); ++i) Key(Qt::Key_Tab);
    return wanted(KeyTarget()) ? KeyTarget() : nullptr;
  }
  QWidget* TabTo(QWidget* control) {
    return TabUntil([control](QWidget* focused) { return focused == control; });
  }
};

TEST_F(KeyboardTest, TheFocusStartsOnNextAClickLeavesItAndATabbedControlAnswersSpaceAndEnter) {
  EXPECT_EQ(window->focusWidget(), Controls().cmdNavig[1]);
  Key(Qt::Key_Space);
  EXPECT_EQ(step(), stpStimulateThymus);
  NextUntil(stpLeftHand);
  window->FocusNavigButton(1);
  QTest::mouseClick(Controls().cmdPause, Qt::LeftButton);  // a click presses, and the focus stays
  EXPECT_TRUE(Paused());
  EXPECT_EQ(window->focusWidget(), Controls().cmdNavig[1]);
  Key(Qt::Key_Return);  // resumes
  // Put on Finish by the program, Enter goes on as ever; reached with Tab, it presses Finish.
  Controls().cmdFinish->setFocus();
  Key(Qt::Key_Return);
  EXPECT_EQ(step(), stpTopHead1);
  ASSERT_NE(TabTo(Controls().cmdFinish), nullptr);
  Key(Qt::Key_Return);
  EXPECT_EQ(step(), stpFinish);
  // Space on the tabbed menu button opens the menu; on Web it opens the site.
  ASSERT_NE(TabTo(Controls().cmdNav), nullptr);
  Key(Qt::Key_Space);
  EXPECT_TRUE(window->PopupMenu().isVisible());
  window->PopupMenu().hide();
  ASSERT_NE(TabTo(Controls().cmdWeb), nullptr);
  Key(Qt::Key_Enter);
  EXPECT_EQ(shell_->opened.size(), 1u);
  EXPECT_EQ(step(), stpFinish);
}

// Tab enters a group at its choice, the arrows move the choice, Space keeps
// it, digits still choose, Tab leaves; the step stays.
TEST_F(KeyboardTest, TabEntersAChoiceGroupAtTheChoiceAndTheArrowsMoveIt) {
  NextUntil(stpSelectIssue);
  auto inGroup = [](const char* group) {
    return [group](QWidget* w) { return w->objectName().startsWith(QLatin1String(group)); };
  };
  EXPECT_EQ(TabUntil(inGroup("radMode")), Controls().radMode[5]);  // "Negative memory", chosen at first
  Key(Qt::Key_Down);                                               // the next one down the list
  EXPECT_EQ(state().genmSelectedIssue, issPTSDTrauma);
  EXPECT_EQ(window->focusWidget(), Controls().radMode[12]);
  Key(Qt::Key_Space);
  Key(Qt::Key_Up);
  Key(Qt::Key_Up);
  EXPECT_EQ(state().genmSelectedIssue, issHeadaches);
  Key(Qt::Key_1);
  EXPECT_EQ(state().genmSelectedIssue, issAddictionsObsessions);
  EXPECT_EQ(step(), stpSelectIssue);
  Key(Qt::Key_Tab);
  EXPECT_FALSE(inGroup("radMode")(KeyTarget()));
  Key(Qt::Key_Down);  // outside the group the arrows move between steps
  EXPECT_EQ(step(), stpAssignSUD);
  const int rating = sud();
  EXPECT_EQ(TabUntil(inGroup("radSUD")), Controls().radSUD[rating]);
  Key(Qt::Key_Right);
  Key(Qt::Key_Right);
  EXPECT_EQ(sud(), rating + 2);
  EXPECT_EQ(step(), stpAssignSUD);
}

TEST_F(KeyboardTest, ARingOfTwoPixelsStandsOutAroundTheFocusedControl) {
  ASSERT_NE(TabTo(Controls().cmdFinish), nullptr);
  QApplication::processEvents();
  QWidget* finish = Controls().cmdFinish;
  const QRect control(finish->mapTo(window.get(), QPoint(0, 0)), finish->size());
  const QImage shot = window->grab().toImage();
  const QColor around = Controls().picToolBar->palette().color(QPalette::Window);
  // Two pixels of the ring outside the control on each side, each 3:1 against the strip.
  for (const QPoint& at :
       {QPoint(control.center().x(), control.top() - 2), QPoint(control.center().x(), control.top() - 3),
        QPoint(control.left() - 2, control.center().y()), QPoint(control.right() + 3, control.center().y()),
        QPoint(control.center().x(), control.bottom() + 2)}) {
    EXPECT_GE(ContrastRatio(shot.pixelColor(at), around), 3.0) << at.x() << "," << at.y();
  }
  // The focus gone to another window: no ring is left behind here.
  QLineEdit other;
  other.show();
  QApplication::setActiveWindow(&other);
  other.setFocus();
  QApplication::processEvents();
  EXPECT_FALSE(window->findChild<QWidget*>(QStringLiteral("qt_focus_ring"))->isVisible());
}

}  // namespace
}  // namespace serenitap
