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

using main_window::ControlKind;
using main_window::ControlSpec;
using main_window::PixelRect;

// One application for the whole program, ended before the program exits so
// that Qt tears down while it still can.
class QtEnvironment : public ::testing::Environment {
 public:
  void SetUp() override {
    static int argc = 1;
    static char name[] = "main_window_tests";
    static char* argv[] = {name, nullptr};
    app_ = std::make_unique<QApplication>(argc, argv);
  }
  void TearDown() override { app_.reset(); }

 private:
  std::unique_ptr<QApplication> app_;
};
[[maybe_unused]] const auto* const kQtEnvironment = ::testing::AddGlobalTestEnvironment(new QtEnvironment);

class MainWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    window = std::make_unique<frmMain>();
  }
  QWidget* Find(const ControlSpec& spec) const {
    return window->findChild<QWidget*>(QString::fromStdString(main_window::ObjectNameOf(spec.name, spec.index)));
  }
  std::unique_ptr<frmMain> window;
};

bool IsKind(QObject* object, ControlKind kind) {
  switch (kind) {
    case ControlKind::PictureBox: return qobject_cast<main_window::PictureBox*>(object) != nullptr;
    case ControlKind::Label: return qobject_cast<QLabel*>(object) != nullptr;
    case ControlKind::Frame: return qobject_cast<QFrame*>(object) != nullptr && !qobject_cast<QLabel*>(object);
    case ControlKind::PushButton:
      return qobject_cast<QAbstractButton*>(object) != nullptr && !qobject_cast<QRadioButton*>(object);
    case ControlKind::OptionButton: return qobject_cast<QRadioButton*>(object) != nullptr;
    case ControlKind::Shape: return qobject_cast<main_window::DotShape*>(object) != nullptr;
    case ControlKind::Timer: return qobject_cast<QTimer*>(object) != nullptr;
    case ControlKind::TextBox: return qobject_cast<QPlainTextEdit*>(object) != nullptr;
    case ControlKind::Menu: return qobject_cast<QMenu*>(object) != nullptr;
  }
  return false;
}

TEST_F(MainWindowTest, EveryControlOfTheTableExistsWithItsKindAndContainer) {
  for (const ControlSpec& spec : main_window::Controls()) {
    const QString name = QString::fromStdString(main_window::ObjectNameOf(spec.name, spec.index));
    SCOPED_TRACE(name.toStdString());
    QObject* object = window->findChild<QObject*>(name);
    ASSERT_NE(object, nullptr);
    EXPECT_TRUE(IsKind(object, spec.kind));
    const QString container = spec.container.empty() ? QStringLiteral("frmMain") : QString::fromUtf8(spec.container.data(), static_cast<qsizetype>(spec.container.size()));
    EXPECT_EQ(object->parent()->objectName(), container);
  }
}

TEST_F(MainWindowTest, ArrayElementsAreNamedWithTheirIndex) {
  for (const char* name : {"cmdNavig(0)", "cmdNavig(1)", "shpStep(1)", "shpStep(4)", "shpStep(16)", "radMode(5)",
                           "radMode(12)", "radSUD(0)", "radSUD(7)", "lblSUDUnit(7)", "lblSUDUnit(10)",
                           "cmdNavig_Bottom(0)", "cmdNavig_Bottom(1)"}) {
    EXPECT_NE(window->findChild<QWidget*>(QString::fromLatin1(name)), nullptr) << name;
  }
  EXPECT_EQ(window->findChild<QWidget*>(QStringLiteral("radMode(0)")), nullptr);
  EXPECT_EQ(window->findChild<QWidget*>(QStringLiteral("shpStep(0)")), nullptr);
}

TEST_F(MainWindowTest, ControlsNotPlacedByTheLayoutKeepTheirDesignGeometry) {
  for (const ControlSpec& spec : main_window::Controls()) {
    if (spec.byLayout || spec.dock != main_window::Dock::None || spec.kind == ControlKind::Timer ||
        spec.kind == ControlKind::Menu) {
      continue;
    }
    QWidget* widget = Find(spec);
    ASSERT_NE(widget, nullptr) << spec.name;
    EXPECT_EQ(widget->geometry(), PixelRect(spec.geometry)) << main_window::ObjectNameOf(spec.name, spec.index);
  }
  // Spot checks against the numbers themselves, in pixels.
  EXPECT_EQ(window->Control("cmdFinish")->geometry(), QRect(372, 9, 81, 25));
  EXPECT_EQ(window->Control("cmdResume")->geometry(), window->Control("cmdPause")->geometry());
  EXPECT_EQ(window->Control("radMode", 11)->geometry(), QRect(48, 142, 403, 24));
  EXPECT_EQ(window->Control("radSUD", 10)->geometry(), QRect(408, 48, 18, 33));
  EXPECT_EQ(window->Control("lblSUDUnit", 10)->geometry(), QRect(401, 22, 33, 34));
  EXPECT_EQ(window->Control("shpStep", 9)->geometry(), QRect(222, 208, 16, 16));
}

struct PlacedCase {
  const char* name;
  int index;
  QRect pixels;
};

class MainWindowAtDesignSize : public MainWindowTest, public ::testing::WithParamInterface<PlacedCase> {};

TEST_P(MainWindowAtDesignSize, LayoutPlacesTheControl) {
  ASSERT_EQ(window->size(), QSize(1152, 733));
  const PlacedCase& c = GetParam();
  EXPECT_EQ(window->Control(c.name, c.index)->geometry(), c.pixels);
}

INSTANTIATE_TEST_SUITE_P(Controls, MainWindowAtDesignSize, ::testing::Values(
    PlacedCase{"picToolBar", -1, {0, 0, 1152, 46}},
    PlacedCase{"picStatusBar", -1, {0, 702, 1152, 31}},
    PlacedCase{"picLeftFrame", -1, {0, 46, 573, 656}},
    PlacedCase{"picRightFrame", -1, {579, 46, 576, 656}},
    PlacedCase{"lblSplit", -1, {573, 66, 6, 616}},
    PlacedCase{"lblIntro", -1, {258, 177, 637, 413}},
    PlacedCase{"lblSegmentTitle", -1, {20, 20, 533, 37}},
    PlacedCase{"lblLeftFrame", -1, {20, 63, 533, 585}},
    PlacedCase{"picShape", -1, {50, 43, 476, 569}},
    PlacedCase{"lblCurrentPoint", -1, {50, 622, 476, 33}},
    PlacedCase{"picHandLeft", -1, {13, 247, 255, 161}},
    PlacedCase{"picHandRight", -1, {308, 247, 255, 161}},
    PlacedCase{"fraSUD_2", -1, {65, 281, 446, 95}},
    PlacedCase{"cmdNav", -1, {1100, 1, 26, 26}},
    PlacedCase{"lblTime_New", -1, {1020, -2, 49, 31}},
    PlacedCase{"cmdWeb", -1, {1041, 9, 81, 25}},
    PlacedCase{"cmdNavig_Bottom", 0, {473, 704, 63, 63}},
    PlacedCase{"cmdNavig_Bottom", 1, {616, 704, 63, 63}},
    PlacedCase{"cmdPause_Bottom", -1, {545, 704, 63, 63}}));

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

TEST_F(MainWindowTest, VisibilityAtStartFollowsTheTable) {
  for (const ControlSpec& spec : main_window::Controls()) {
    if (spec.kind == ControlKind::Timer || spec.kind == ControlKind::Menu) continue;
    EXPECT_EQ(!Find(spec)->isHidden(), spec.visibleAtStart) << main_window::ObjectNameOf(spec.name, spec.index);
  }
  // The bottom row is placed but never shown.
  for (const char* name : {"cmdNavig_Bottom(0)", "cmdNavig_Bottom(1)", "cmdPause_Bottom", "cmdResume_Bottom"}) {
    EXPECT_TRUE(window->findChild<QWidget*>(QString::fromLatin1(name))->isHidden()) << name;
  }
  window->show();
  EXPECT_TRUE(window->Control("lblIntro")->isVisible());
  EXPECT_FALSE(window->Control("picLeftFrame")->isVisible());
  EXPECT_FALSE(window->Control("cmdResume")->isVisible());
  EXPECT_FALSE(window->Control("cmdResume")->isEnabled());
  EXPECT_TRUE(window->Control("cmdPause")->isVisible());
}

TEST_F(MainWindowTest, FontsAskForTheDesignFamilyThenMetricCloseOnesAtTheirDesignSizes) {
  for (const ControlSpec& spec : main_window::Controls()) {
    if (spec.kind == ControlKind::Timer || spec.kind == ControlKind::Menu) continue;
    const main_window::FontSpec& f = spec.font.family.empty() ? main_window::kWindowFont : spec.font;
    const QFont font = Find(spec)->font();
    SCOPED_TRACE(main_window::ObjectNameOf(spec.name, spec.index));
    EXPECT_EQ(font.families().value(0).toStdString(), f.family);
    // Where the design family is missing, one of nearly its widths stands in.
    EXPECT_EQ(QFontInfo(font).family(), QStringLiteral("Liberation Sans"));
    EXPECT_EQ(font.pixelSize(), static_cast<int>(std::lround(f.points * 4 / 3)));
    EXPECT_EQ(font.bold(), f.bold);
  }
  EXPECT_EQ(window->Control("lblSegmentTitle")->font().pixelSize(), 19);
  EXPECT_TRUE(window->Control("radSUD", 3)->font().bold());
  EXPECT_EQ(window->Control("cmdExit")->font().pixelSize(), 12);
}

TEST_F(MainWindowTest, CaptionsAndTitle) {
  EXPECT_EQ(window->windowTitle(), QStringLiteral("Serenitap"));
  for (const ControlSpec& spec : main_window::Controls()) {
    auto* button = qobject_cast<QAbstractButton*>(Find(spec));
    if (!button) continue;
    EXPECT_EQ(button->text().toStdString(), spec.caption) << main_window::ObjectNameOf(spec.name, spec.index);
  }
  for (int i = 1; i <= 12; ++i) {
    EXPECT_EQ(window->Button("radMode", i)->text().toStdString(),
              modIssues::GetIssueName(modIssues::IssueOptIndexToEnum(i)));
  }
  EXPECT_EQ(window->Button("cmdNavig", 0)->text(), QStringLiteral("&Previous"));
  EXPECT_EQ(window->Button("cmdResume")->text(), QStringLiteral("R&esume"));
  EXPECT_EQ(static_cast<QLabel*>(window->Control("lblSUDUnit", 10))->text(), QStringLiteral("10"));
  EXPECT_TRUE(static_cast<QLabel*>(window->Control("lblTime_New"))->text().isEmpty());
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
    EXPECT_TRUE(window->DotColor(i) == main_window::kRed) << i;
  }
  auto* thymus = static_cast<main_window::DotShape*>(window->Control("shpGreen"));
  EXPECT_EQ(thymus->size(), QSize(16, 16));
  EXPECT_EQ(thymus->FillColor(), green);
  EXPECT_EQ(thymus->BorderColor(), QColor(128, 255, 128));

  window->PaintAllDots(main_window::kGreen);
  for (int i = 1; i <= main_window::kDotCount; ++i) {
    auto* dot = static_cast<main_window::DotShape*>(window->Control("shpStep", i));
    EXPECT_EQ(dot->FillColor(), green);
    EXPECT_EQ(dot->BorderColor(), green);
    EXPECT_EQ(dot->accessibleDescription(), QStringLiteral("green"));
  }
  window->SetDotColor(4, main_window::kRed);
  EXPECT_TRUE(window->DotColor(4) == main_window::kRed);
  EXPECT_TRUE(window->DotColor(5) == main_window::kGreen);

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

TEST_F(MainWindowTest, ButtonsAndChoicesForTheSession) {
  window->SetPauseButton(true, false);
  EXPECT_FALSE(window->IsPauseAvailable());
  window->SetPauseButton(false, true);
  window->SetResumeButton(true, true);
  EXPECT_FALSE(window->IsPauseAvailable());
  EXPECT_TRUE(window->IsResumeAvailable());
  window->SetPreviousEnabled(false);
  EXPECT_FALSE(window->Button("cmdNavig", 0)->isEnabled());

  window->SelectIssueOption(11);
  EXPECT_EQ(window->SelectedIssueOption(), 11);
  window->SelectIssueOption(5);
  EXPECT_EQ(window->SelectedIssueOption(), 5);
  window->SelectSudOption(7);
  EXPECT_EQ(window->SelectedSudOption(), 7);
  EXPECT_EQ(window->SelectedIssueOption(), 5);  // the two groups are separate
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
  EXPECT_EQ(captions, (QStringList{"Keyboard Shortcuts", "About", "Exit"}));
}

TEST_F(MainWindowTest, ClicksOnTextsAndPicturesAdvanceButNotOnFramesOrStrips) {
  window->SetPanesVisible(true);
  window->SetIntroVisible(false);
  window->SetSudChoiceVisible(true);
  window->SetBodyChartVisible(false);
  window->show();
  QSignalSpy advance(window.get(), &frmMain::surfaceClicked);
  QSignalSpy sud(window.get(), &frmMain::sudOptionClicked);
  const QPoint corner(2, 2);
  for (const char* name : {"lblLeftFrame", "lblSegmentTitle", "picRightFrame", "lblSplit", "lblCurrentPoint"}) {
    QTest::mouseClick(window->Control(name), Qt::LeftButton, {}, corner);
  }
  EXPECT_EQ(advance.count(), 5);
  for (const char* name : {"fraSUD_2", "picToolBar", "picStatusBar", "lblTime_New"}) {
    QTest::mouseClick(window->Control(name), Qt::LeftButton, {}, corner);
  }
  EXPECT_EQ(advance.count(), 5);
  QTest::mouseClick(window->Control("lblSUDUnit", 7), Qt::LeftButton, {}, corner);
  EXPECT_EQ(window->SelectedSudOption(), 7);
  ASSERT_EQ(sud.count(), 1);
  EXPECT_EQ(sud.at(0).at(0).toInt(), 7);
  EXPECT_EQ(advance.count(), 5);
}

}  // namespace
}  // namespace serenitap
