// The main window built from its control table: names, kinds, places, looks,
// what shows at start, accessibility, the dots and the clicks it reports.
#include <gtest/gtest.h>

#include <QFontInfo>
#include <QAbstractButton>
#include <QApplication>
#include <QFrame>
#include <QLabel>
#include <QMenu>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <cmath>
#include <memory>

#include "content/issues.h"
#include "ui/main/main_window.h"
#include "ui/main/widgets.h"

namespace serenitap {
namespace {


class MainWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    window = std::make_unique<frmMain>();
  }
  std::unique_ptr<frmMain> window;
};

TEST_F(MainWindowTest, ControlsSitWhereTheDesignPutsThem) {
  EXPECT_EQ(window->Control("cmdFinish")->geometry(), QRect(372, 9, 81, 25));
  EXPECT_EQ(window->Control("cmdResume")->geometry(), window->Control("cmdPause")->geometry());
  EXPECT_EQ(window->Control("radMode", 11)->geometry(), QRect(48, 142, 403, 24));
  EXPECT_EQ(window->Control("radSUD", 10)->geometry(), QRect(408, 48, 18, 33));
  EXPECT_EQ(window->Control("lblSUDUnit", 10)->geometry(), QRect(401, 22, 33, 34));
  EXPECT_EQ(window->Control("shpStep", 9)->geometry(), QRect(222, 208, 16, 16));
  EXPECT_EQ(window->Control("shpStep", 8)->geometry(), QRect(222, 166, 16, 16));
  // And those the layout places, at the size the window opens with.
  ASSERT_EQ(window->size(), QSize(1152, 733));
  EXPECT_EQ(window->Control("picRightFrame")->geometry(), QRect(579, 46, 576, 656));
  EXPECT_EQ(window->Control("lblIntro")->geometry(), QRect(258, 177, 637, 413));
  EXPECT_EQ(window->Control("picHandRight")->geometry(), QRect(308, 247, 255, 161));
  EXPECT_EQ(window->Control("cmdNavig_Bottom", 1)->geometry(), QRect(616, 704, 63, 63));
}

TEST_F(MainWindowTest, ResizingReappliesTheLayout) {
  window->show();
  window->resize(400, 733);  // 6000 twips wide: Web jumps to its fixed place
  EXPECT_EQ(window->Control("cmdWeb")->x(), 636);
  EXPECT_EQ(window->Control("lblSegmentTitle")->width(), 260);  // never narrower than 3900 twips
  EXPECT_EQ(window->Control("picHandRight")->x(), 295);
  const QRect instructions = window->Control("lblLeftFrame")->geometry();
  window->resize(400, 60);  // too short for the instructions: they stay put
  EXPECT_EQ(window->Control("lblLeftFrame")->geometry(), instructions);
  EXPECT_EQ(window->Control("picStatusBar")->y(), 60 - 31);
  window->resize(1152, 733);
  EXPECT_EQ(window->Control("lblLeftFrame")->geometry(), QRect(20, 63, 533, 585));
}

TEST_F(MainWindowTest, StartsWithTheIntroductionAndTheSessionButtonsShowing) {
  window->show();
  for (const char* name : {"cmdNavig_Bottom(0)", "cmdNavig_Bottom(1)", "cmdPause_Bottom", "cmdResume_Bottom"})
    EXPECT_TRUE(window->findChild<QWidget*>(QString::fromLatin1(name))->isHidden()) << name;
  for (const char* name : {"lblIntro", "cmdPause", "cmdFinish", "cmdExit", "cmdWeb", "cmdNav", "picToolBar"})
    EXPECT_TRUE(window->Control(name)->isVisible()) << name;
  for (const char* name : {"picLeftFrame", "cmdResume", "fraMode", "fraSUD_2", "cmdAbout", "cmdInfo", "cmdShare"})
    EXPECT_FALSE(window->Control(name)->isVisible()) << name;
  EXPECT_TRUE(window->Button("cmdNavig", 0)->isVisible() && window->Button("cmdNavig", 1)->isVisible());
  EXPECT_EQ(window->windowTitle(), QStringLiteral("Serenitap"));
  EXPECT_EQ(window->Control("lblSegmentTitle")->font().pixelSize(), 19);
  EXPECT_EQ(QFontInfo(window->Control("lblSegmentTitle")->font()).family(), QStringLiteral("Liberation Sans"));
  EXPECT_TRUE(window->Control("radSUD", 3)->font().bold());
  EXPECT_EQ(window->Control("cmdExit")->font().pixelSize(), 12);
  for (int i = 1; i <= 12; ++i)
    EXPECT_EQ(window->Button("radMode", i)->text().toStdString(), modIssues::GetIssueName(10 * i));
  EXPECT_EQ(static_cast<QLabel*>(window->Control("lblSUDUnit", 10))->text(), QStringLiteral("10"));
  EXPECT_TRUE(static_cast<QLabel*>(window->Control("lblIntro"))->text().startsWith(QStringLiteral("Please sit up")));
}

TEST_F(MainWindowTest, StripAndDividerColours) {
  window->SetPanesVisible(true);
  window->SetIssueChoiceVisible(true);
  window->show();
  // What is painted, not only what the palette holds.
  auto painted = [&](const char* name) { return window->Control(name)->grab().toImage().pixelColor(1, 1); };
  EXPECT_EQ(painted("picToolBar"), QColor(252, 252, 252));
  EXPECT_EQ(painted("picStatusBar"), QColor(252, 252, 252));
  EXPECT_EQ(painted("lblSplit"), QColor(240, 240, 240));
  EXPECT_EQ(painted("picLeftFrame"), QColor(Qt::white));
  EXPECT_EQ(painted("fraMode"), QColor(Qt::white));
}

TEST_F(MainWindowTest, EveryVisibleControlHasASpokenName) {
  // Show every panel and picture so that the names inside them count too.
  window->SetPanesVisible(true);
  window->SetBodyChartVisible(true);
  window->SetHandsVisible(true);
  window->SetIssueChoiceVisible(true);
  window->SetSudChoiceVisible(true);
  window->SetThymusVisible(true);
  for (int i = 1; i <= main_window::kDotCount; ++i) window->SetDotVisible(i, true);
  window->show();
  int checked = 0;
  for (QWidget* widget : window->findChildren<QWidget*>()) {
    if (widget->objectName().isEmpty() || !widget->isVisible()) continue;
    ++checked;
    EXPECT_FALSE(widget->accessibleName().isEmpty()) << widget->objectName().toStdString();
    if (auto* button = qobject_cast<QAbstractButton*>(widget); button && !button->text().isEmpty()) {
      EXPECT_EQ(widget->accessibleName(), QString(button->text()).remove(QLatin1Char('&')));
    }
  }
  EXPECT_GT(checked, 60);
  EXPECT_EQ(window->Control("shpStep", 4)->accessibleName(), QStringLiteral("Tapping point: top of the head"));
  EXPECT_EQ(window->Control("cmdExit")->accessibleName(), QStringLiteral("Exit"));
}

TEST_F(MainWindowTest, TextLabelsSpeakTheirTextAndWrapLongOnes) {
  const std::string text = "Tap the top of your head.\r\nSay the statement out loud while you tap, slowly and calmly, "
                           "and keep breathing all the while.";
  window->SetInstructionsText(text);
  auto* label = static_cast<QLabel*>(window->Control("lblLeftFrame"));
  EXPECT_EQ(label->text(), QString::fromStdString(text).replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
  EXPECT_EQ(label->accessibleName(), label->text());
  EXPECT_TRUE(label->wordWrap());
  EXPECT_TRUE(static_cast<QLabel*>(window->Control("lblIntro"))->wordWrap());
  window->SetInstructionsText("");
  EXPECT_EQ(label->accessibleName(), QStringLiteral("Instructions"));
  window->SetTimeText("01:40");
  EXPECT_EQ(window->Control("lblTime_New")->accessibleName(), QStringLiteral("Elapsed time 01:40"));
}

TEST_F(MainWindowTest, DotsAreRoundAndColouredAsTold) {
  const QColor red(255, 0, 0);
  const QColor green(0, 255, 0);
  for (int i = 1; i <= main_window::kDotCount; ++i) {
    EXPECT_EQ(window->Control("shpStep", i)->size(), QSize(16, 16)) << i;  // 240 twips
    EXPECT_TRUE(window->DotColor(i) == kDotRed) << i;
  }
  auto* thymus = static_cast<main_window::DotShape*>(window->Control("shpGreen"));
  EXPECT_EQ(thymus->size(), QSize(16, 16));
  EXPECT_EQ(thymus->FillColor(), green);
  EXPECT_EQ(thymus->BorderColor(), QColor(128, 255, 128));

  window->PaintAllDots(kDotGreen);
  for (int i = 1; i <= main_window::kDotCount; ++i) {
    auto* dot = static_cast<main_window::DotShape*>(window->Control("shpStep", i));
    EXPECT_EQ(dot->FillColor(), green);
    EXPECT_EQ(dot->BorderColor(), green);
    EXPECT_EQ(dot->accessibleDescription(), QStringLiteral("green"));
  }
  window->SetDotColor(4, kDotRed);
  EXPECT_TRUE(window->DotColor(4) == kDotRed);
  EXPECT_TRUE(window->DotColor(5) == kDotGreen);

  // Drawn as a circle: red in the middle, the chart showing in the corners.
  window->SetPanesVisible(true);
  window->SetIntroVisible(false);
  window->SetDotVisible(4, true);
  window->show();
  const QImage chart = window->Control("picShape")->grab().toImage();
  const QPoint topLeft = window->Control("shpStep", 4)->pos();
  EXPECT_EQ(chart.pixelColor(topLeft + QPoint(8, 8)), red);
  EXPECT_NE(chart.pixelColor(topLeft + QPoint(0, 0)), red);
  EXPECT_NE(chart.pixelColor(topLeft + QPoint(15, 15)), red);
}

TEST_F(MainWindowTest, DotVisibilityByIndexIgnoresIndicesOutsideTheArray) {
  window->SetDotVisible(8, true);
  EXPECT_TRUE(window->IsDotVisible(8));
  window->SetDotVisible(0, true);
  window->SetDotVisible(17, true);
  EXPECT_FALSE(window->IsDotVisible(0));
  EXPECT_FALSE(window->IsDotVisible(17));
  window->HideAllDots();
  for (int i = 1; i <= main_window::kDotCount; ++i) EXPECT_FALSE(window->IsDotVisible(i)) << i;
}

TEST_F(MainWindowTest, StepTimerIsPreciseTenMillisecondsAndStopped) {
  QTimer& timer = window->StepTimer();
  EXPECT_EQ(timer.objectName(), QStringLiteral("tmrSteps"));
  EXPECT_EQ(timer.interval(), 10);
  EXPECT_EQ(timer.timerType(), Qt::PreciseTimer);
  EXPECT_FALSE(timer.isActive());
  QMenu& menu = window->PopupMenu();
  QStringList captions;
  for (QAction* action : menu.actions()) {
    if (action->isVisible() && !action->isSeparator()) captions << action->text();
  }
  EXPECT_EQ(captions, (QStringList{"Keyboard Shortcuts", "About", "Keep a Journal", "My Progress…", "Exit"}));
}

}  // namespace
}  // namespace serenitap
