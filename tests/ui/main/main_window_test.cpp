// The main window built from its control table: what shows at start, where
// it sits, looks, accessibility, the dots.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QFontInfo>
#include <QLabel>
#include <QMenu>
#include <QTimer>
#include <algorithm>
#include <memory>

#include "ui/main/control_table.h"
#include "ui/main/main_window.h"
#include "ui/main/widgets.h"

namespace serenitap {
namespace {

using main_window::kDotCount;

class MainWindowTest : public ::testing::Test {
 protected:
  QWidget* Ctl(std::string_view name, int index = -1) { return window.Control(name, index); }
  frmMain window;
};

TEST(ControlTable, FindsControlsByNameAndIndex) {
  EXPECT_EQ(main_window::FindControl("cmdNavig", 1)->caption, "&Next");
  EXPECT_EQ(main_window::FindControl("cmdNavig"), nullptr);
  EXPECT_EQ(main_window::ObjectNameOf("radSUD", 10), "radSUD(10)");
  EXPECT_EQ(main_window::ObjectNameOf("cmdExit", -1), "cmdExit");
  EXPECT_EQ(main_window::DotPointName(4), "top of the head");
  EXPECT_EQ(main_window::DotPointName(17), "");
}

TEST_F(MainWindowTest, StartsWithTheIntroductionAndTheToolbarButtons) {
  window.show();
  EXPECT_EQ(window.windowTitle(), QStringLiteral("Serenitap"));
  for (const char* name : {"lblIntro", "cmdExit", "cmdNavig(0)", "cmdPause", "cmdNavig(1)", "cmdFinish", "cmdWeb"})
    EXPECT_TRUE(window.findChild<QWidget*>(name)->isVisible()) << name;
  for (const char* name : {"picLeftFrame", "lblSplit", "cmdResume", "fraMode", "cmdAbout", "cmdNavig_Bottom(1)"})
    EXPECT_TRUE(Ctl(name)->isHidden()) << name;
  // Pause and Resume take turns at one place.
  EXPECT_EQ(Ctl("cmdResume")->geometry(), Ctl("cmdPause")->geometry());
  // Leaving a step with panes for the introduction hides the divider too.
  window.SetPanesVisible(true);
  window.SetPanesVisible(false);
  EXPECT_TRUE(Ctl("lblSplit")->isHidden());
  EXPECT_EQ(Ctl("lblSegmentTitle")->font().pixelSize(), 19);
  EXPECT_TRUE(Ctl("lblSegmentTitle")->font().bold());
  EXPECT_EQ(QFontInfo(Ctl("lblSegmentTitle")->font()).family(), main_window::InstalledFamilyFor("Segoe UI"));
  // Resized, the layout is applied again; the status strip keeps to the bottom.
  window.resize(400, 60);
  EXPECT_EQ(Ctl("cmdWeb")->x(), 636);
  EXPECT_EQ(Ctl("picStatusBar")->y(), 60 - 31);
}

TEST_F(MainWindowTest, TheShownIssuesReadAlphabeticallyTopToBottom) {
  window.SetPanesVisible(true);
  window.SetIssueChoiceVisible(true);
  window.show();
  std::vector<QAbstractButton*> shown;
  for (int i = 1; i <= 12; ++i) {
    if (window.Button("radMode", i)->isVisible()) shown.push_back(window.Button("radMode", i));
  }
  ASSERT_EQ(shown.size(), 10u);  // two issues are kept off the list
  EXPECT_TRUE(window.Button("radMode", 6)->isHidden() && window.Button("radMode", 10)->isHidden());
  std::sort(shown.begin(), shown.end(), [](auto* a, auto* b) { return a->y() < b->y(); });
  for (std::size_t i = 1; i < shown.size(); ++i) {
    EXPECT_LT(shown[i - 1]->text().compare(shown[i]->text(), Qt::CaseInsensitive), 0) << i;
    EXPECT_EQ(shown[i]->x(), shown[0]->x());
  }
  EXPECT_EQ(window.VisibleIssueOption(4), 11);
  EXPECT_EQ(window.VisibleIssueOption(11), 0);
}

TEST_F(MainWindowTest, FaceDotsFollowTheMidlineAndRunDownTheFace) {
  auto at = [&](int dot) { return Ctl("shpStep", dot)->geometry(); };
  // Top of the head, under the nose and chin on the midline; eyes, nose,
  // chin and collarbones from the top down.
  EXPECT_EQ(at(8).x(), at(4).x());
  EXPECT_EQ(at(9).x(), at(4).x());
  for (const auto& [upper, lower] : {std::pair{4, 5}, {5, 7}, {7, 8}, {8, 9}, {9, 10}, {10, 11}})
    EXPECT_LT(at(upper).y(), at(lower).y()) << upper << " above " << lower;
  // Left-side points lie left of the midline, right-side ones right of it.
  for (int left : {5, 6, 7, 10, 11}) EXPECT_LT(at(left).x(), at(4).x()) << left;
  for (int right : {12, 13, 14, 15, 16}) EXPECT_GT(at(right).x(), at(4).x()) << right;
  EXPECT_EQ(Ctl("shpStep", 2)->parentWidget(), Ctl("picHandLeft"));
}

TEST_F(MainWindowTest, StripsDividerAndPanesArePaintedInTheirColours) {
  window.SetPanesVisible(true);
  window.SetIssueChoiceVisible(true);
  window.show();
  auto painted = [&](const char* name) { return Ctl(name)->grab().toImage().pixelColor(1, 1); };
  EXPECT_EQ(painted("picToolBar"), QColor(252, 252, 252));
  EXPECT_EQ(painted("picStatusBar"), QColor(252, 252, 252));
  EXPECT_EQ(painted("lblSplit"), QColor(240, 240, 240));
  EXPECT_EQ(painted("picLeftFrame"), QColor(Qt::white));
  EXPECT_EQ(painted("fraMode"), QColor(Qt::white));
}

TEST_F(MainWindowTest, EveryVisibleControlHasASpokenName) {
  window.SetPanesVisible(true);
  window.SetHandsVisible(true);
  window.SetSudChoiceVisible(true);
  for (int i = 1; i <= kDotCount; ++i) window.SetDotVisible(i, true);
  window.show();
  int checked = 0;
  for (QWidget* widget : window.findChildren<QWidget*>()) {
    if (widget->objectName().isEmpty() || !widget->isVisible()) continue;
    ++checked;
    EXPECT_FALSE(widget->accessibleName().isEmpty()) << widget->objectName().toStdString();
    if (auto* button = qobject_cast<QAbstractButton*>(widget); button && !button->text().isEmpty()) {
      EXPECT_EQ(widget->accessibleName(), QString(button->text()).remove(QLatin1Char('&')));
    }
  }
  EXPECT_GT(checked, 50);
  EXPECT_EQ(Ctl("shpStep", 4)->accessibleName(), QStringLiteral("Tapping point: top of the head"));
  // Texts speak what they show, or what they are for when empty.
  auto* label = static_cast<QLabel*>(Ctl("lblLeftFrame"));
  window.SetInstructionsText("Tap the top of your head.\r\nSay it out loud.");
  EXPECT_EQ(label->text(), QStringLiteral("Tap the top of your head.\nSay it out loud."));
  EXPECT_EQ(label->accessibleName(), label->text());
  EXPECT_TRUE(label->wordWrap());
  window.SetInstructionsText("");
  EXPECT_EQ(label->accessibleName(), QStringLiteral("Instructions"));
  window.SetTimeText("01:40");
  EXPECT_EQ(Ctl("lblTime_New")->accessibleName(), QStringLiteral("Elapsed time 01:40"));
}

TEST_F(MainWindowTest, DotsAreRoundAndColouredAsTold) {
  auto* thymus = static_cast<main_window::DotShape*>(Ctl("shpGreen"));
  EXPECT_EQ(thymus->FillColor(), QColor(0, 255, 0));
  EXPECT_EQ(thymus->BorderColor(), QColor(128, 255, 128));
  EXPECT_TRUE(window.DotColor(16) == kDotRed);
  window.PaintAllDots(kDotGreen);
  window.SetDotColor(4, kDotRed);
  EXPECT_TRUE(window.DotColor(5) == kDotGreen);
  EXPECT_EQ(Ctl("shpStep", 5)->accessibleDescription(), QStringLiteral("green"));
  // Drawn as a circle: red in the middle, the chart showing in the corners.
  window.SetPanesVisible(true);
  window.SetIntroVisible(false);
  window.SetDotVisible(4, true);
  window.show();
  const QImage chart = Ctl("picShape")->grab().toImage();
  const QPoint corner = Ctl("shpStep", 4)->pos();
  EXPECT_EQ(chart.pixelColor(corner + QPoint(8, 8)), QColor(255, 0, 0));
  EXPECT_NE(chart.pixelColor(corner), QColor(255, 0, 0));
  window.SetDotVisible(17, true);  // ignored
  EXPECT_FALSE(window.IsDotVisible(17));
  window.HideAllDots();
  EXPECT_FALSE(window.IsDotVisible(4));
}

TEST_F(MainWindowTest, TheStepTimerIsPreciseAndStoppedAndTheMenuOffersItsItems) {
  EXPECT_EQ(window.StepTimer().interval(), 10);
  EXPECT_EQ(window.StepTimer().timerType(), Qt::PreciseTimer);
  QStringList captions;
  for (QAction* action : window.PopupMenu().actions()) {
    if (action->isVisible() && !action->isSeparator()) captions << action->text();
  }
  EXPECT_EQ(captions, (QStringList{"Keyboard Shortcuts", "About", "Keep a Journal", "My Progress…", "Exit"}));
}

}  // namespace
}  // namespace serenitap
