// The main window with its session: the way through a session, the key
// table and the clicks.
#include <QKeyEvent>

#include "services/product.h"
#include "session/step_display.h"
#include "ui/main/main_window_fixture.h"

namespace serenitap {
namespace {

using namespace window_testing;

TEST(VirtualKeyOf, NamesTheKeysOfTheTable) {
  const std::pair<int, int> keys[] = {{Qt::Key_A, 65}, {Qt::Key_7, 55},     {Qt::Key_F5, 116}, {Qt::Key_Enter, 13},
                                      {Qt::Key_Left, 37}, {Qt::Key_Right, 39}, {Qt::Key_PageDown, 34},
                                      {Qt::Key_Escape, 27}, {Qt::Key_Space, 32}, {Qt::Key_MediaPlay, 255}};
  for (const auto& [key, code] : keys) {
    EXPECT_EQ(MainWindowController::VirtualKeyOf(QKeyEvent(QEvent::KeyPress, key, Qt::ShiftModifier)), code) << key;
  }
}

// From loading into the first positive round, by keys and then by the timer.
TEST_F(MainControllerTest, TheTimerCarriesASessionIntoPositiveRounds) {
  EXPECT_EQ(step(), stpIntro);
  EXPECT_FALSE(Btn("cmdNavig", 0)->isEnabled());
  EXPECT_FALSE(Btn("cmdPause")->isEnabled());
  EXPECT_TRUE(static_cast<QLabel*>(Ctl("lblTime_New"))->text().isEmpty());
  EXPECT_EQ(window->SelectedIssueOption(), 5);
  EXPECT_EQ(window->SelectedSudOption(), 5);
  Key(Qt::Key_N);
  EXPECT_EQ(step(), stpStimulateThymus);
  EXPECT_TRUE(Btn("cmdNavig", 0)->isEnabled());
  NextUntil(stpLeftHand);
  EXPECT_TRUE(Btn("cmdPause")->isEnabled());
  EXPECT_EQ(TicksUntilStepChanges(1002), 1001);  // ten seconds a hand
  EXPECT_EQ(TicksUntilStepChanges(1001), 1000);
  ASSERT_EQ(step(), stpTopHead1);
  EXPECT_EQ(static_cast<QLabel*>(Ctl("lblTime_New"))->text().toStdString(), TimeElapsedText(20));
  // The point's dot blinks, red, and it is the only one showing.
  const int dot = state().glngCurrentDot;
  EXPECT_EQ(window->DotColor(dot), kDotRed);
  int changes = 0;
  for (int i = 0; i < 199; ++i) {
    const bool shown = window->IsDotVisible(dot);
    Tick();
    changes += window->IsDotVisible(dot) != shown ? 1 : 0;
    for (int other = 1; other <= kDotCount; ++other) ASSERT_TRUE(other == dot || !window->IsDotVisible(other));
  }
  EXPECT_GE(changes, 3);
  for (int i = 0; i < 2 * 16 * 200 - 199; ++i) Tick();
  ASSERT_EQ(step(), stpTopHead1);
  EXPECT_TRUE(state().gblnPositiveRound);  // round 3 is the first green one
  for (int i = 1; i <= kDotCount; ++i) EXPECT_EQ(window->DotColor(i), kDotGreen) << i;
}

// Each key of the table once, with some modifiers held, typed into a SUD
// button that would otherwise take the arrows and Space itself.
TEST_F(MainControllerTest, TableKeysMoveWithAnyModifiersAndNeverReachTheFocusedControl) {
  const struct {
    Qt::Key key;
    Qt::KeyboardModifiers modifiers;
    bool next;
  } rows[] = {{Qt::Key_N, Qt::NoModifier, true},        {Qt::Key_Space, Qt::ShiftModifier, true},
              {Qt::Key_Right, Qt::NoModifier, true},    {Qt::Key_Down, Qt::ControlModifier, true},
              {Qt::Key_Return, Qt::NoModifier, true},   {Qt::Key_Enter, Qt::ShiftModifier, true},
              {Qt::Key_PageDown, Qt::ControlModifier | Qt::ShiftModifier, true},
              {Qt::Key_P, Qt::NoModifier, false},       {Qt::Key_Backspace, Qt::ShiftModifier, false},
              {Qt::Key_Left, Qt::NoModifier, false},    {Qt::Key_Up, Qt::ControlModifier, false},
              {Qt::Key_PageUp, Qt::NoModifier, false}};
  for (const auto& row : rows) {
    SCOPED_TRACE(QKeySequence(QKeyCombination(row.modifiers, row.key)).toString().toStdString());
    NextUntil(stpAssignSUD);
    window->FocusSudOption(5);
    KeySpy spy(KeyTarget(), row.key);
    Key(row.key, row.modifiers);
    EXPECT_EQ(step(), row.next ? stpLeftHand : stpSelectIssue);
    EXPECT_EQ(spy.presses, 0);
    EXPECT_EQ(window->SelectedSudOption(), 5);
    EXPECT_EQ(window->focusWidget(), Btn("cmdNavig", row.next ? 1 : 0));
    Btn("cmdFinish")->click();
    Key(Qt::Key_N);
  }
  // On the introduction Previous keys are consumed and nothing moves.
  ASSERT_EQ(step(), stpIntro);
  window->FocusNavigButton(1);
  QSignalSpy nextClicks(Btn("cmdNavig", 1), &QAbstractButton::clicked);
  KeySpy spy(Btn("cmdNavig", 1), Qt::Key_Backspace);
  Key(Qt::Key_Backspace);
  EXPECT_EQ(step(), stpIntro);
  EXPECT_EQ(spy.presses + nextClicks.count(), 0);
}

TEST_F(MainControllerTest, EscapePausesARunningStepAndEveryKeyResumesWithoutMoving) {
  NextUntil(stpTopHead1);
  // Each key arrives with its modifiers already held, so only the key itself can resume.
  for (const auto& [key, modifiers] : {std::pair{Qt::Key_Escape, Qt::KeyboardModifiers(Qt::NoModifier)},
                                       {Qt::Key_N, Qt::ControlModifier},
                                       {Qt::Key_Shift, Qt::NoModifier},
                                       {Qt::Key_X, Qt::AltModifier}}) {
    SCOPED_TRACE(key);
    Tick();
    const std::int32_t tickMs = state().glngTickMs;
    Key(Qt::Key_Escape);
    ASSERT_TRUE(Paused());
    EXPECT_FALSE(timer().isActive());
    EXPECT_TRUE(Btn("cmdPause")->isHidden());
    KeySpy spy(KeyTarget(), key);
    QTest::simulateEvent(KeyTarget(), true, key, modifiers, QString(), false);
    QTest::simulateEvent(KeyTarget(), false, key, modifiers, QString(), false);
    EXPECT_EQ(spy.presses, 0);
    ASSERT_TRUE(window->isVisible());
    EXPECT_FALSE(Paused());
    EXPECT_EQ(step(), stpTopHead1);
    EXPECT_EQ(state().glngTickMs, tickMs);
    EXPECT_TRUE(timer().isActive());
    EXPECT_TRUE(Btn("cmdPause")->isEnabled());
  }
  // Paused, N only resumes; the next N moves on.
  Key(Qt::Key_Escape);
  Key(Qt::Key_N);
  EXPECT_EQ(step(), stpTopHead1);
  Key(Qt::Key_N);
  EXPECT_EQ(step(), stpRelax);
}

TEST_F(MainControllerTest, KeysOutsideTheTableReachTheFocusedControl) {
  NextUntil(stpAssignSUD);  // no pause to offer: Esc is not the table's either
  for (const auto& [key, modifiers] : {std::pair{Qt::Key_Escape, Qt::KeyboardModifiers(Qt::NoModifier)},
                                       {Qt::Key_Z, Qt::ShiftModifier},
                                       {Qt::Key_F1, Qt::NoModifier}}) {
    window->FocusSudOption(7);
    KeySpy spy(Btn("radSUD", 7), key);
    Key(key, modifiers);
    EXPECT_EQ(step(), stpAssignSUD);
    EXPECT_EQ(spy.presses, 1) << key;
  }
}

TEST_F(MainControllerTest, KeyboardMovesOntoTheReassessmentFocusTheChosenSUDButton) {
  NextUntil(stpAssignSUD);
  ClickOption(Btn("radSUD", 8));
  ASSERT_EQ(sud(), 8);
  NextUntil(stpRelax);
  ASSERT_GT(TicksUntilStepChanges(1501), 1400);
  ASSERT_TRUE(state().gblnPositiveRound);
  window->FocusNavigButton(1);
  Key(Qt::Key_Down);
  ASSERT_EQ(step(), stpReassessSUD);
  EXPECT_FALSE(timer().isActive());
  EXPECT_EQ(window->focusWidget(), Btn("radSUD", 8));
  Key(Qt::Key_Up);
  EXPECT_EQ(step(), stpRelax);
  EXPECT_EQ(window->focusWidget(), Btn("cmdNavig", 0));
}

struct SurfaceCase {
  const char* name;  // nullptr: a free spot of the window itself
  int index;
  enmStep shownOn;  // a step that shows the surface
  enmStep after;    // where a left click leads from there: as N does, or nowhere
};

class SurfaceClickTest : public MainControllerTest, public ::testing::WithParamInterface<SurfaceCase> {};

TEST_P(SurfaceClickTest, OnlyALeftClickActsAndAnAdvanceLeavesTheFocus) {
  const SurfaceCase& c = GetParam();
  NextUntil(c.shownOn);
  QWidget* surface = c.name != nullptr ? Ctl(c.name, c.index) : window.get();
  ASSERT_TRUE(surface->isVisible());
  const QPoint at = c.name != nullptr ? surface->rect().center() : QPoint(5, 60);
  if (c.name == nullptr) {
    ASSERT_EQ(window->childAt(at), nullptr);
  }
  QWidget* focus = window->focusWidget();
  QTest::mouseClick(surface, Qt::RightButton, Qt::NoModifier, at);
  EXPECT_EQ(step(), c.shownOn);
  QTest::mouseClick(surface, Qt::LeftButton, Qt::NoModifier, at);
  EXPECT_EQ(step(), c.after);
  EXPECT_EQ(window->focusWidget(), focus);
}

INSTANTIATE_TEST_SUITE_P(
    Surfaces, SurfaceClickTest,
    ::testing::Values(SurfaceCase{nullptr, -1, stpIntro, stpStimulateThymus},
                      SurfaceCase{"lblIntro", -1, stpIntro, stpStimulateThymus},
                      SurfaceCase{"lblLeftFrame", -1, stpTopHead1, stpRelax},
                      SurfaceCase{"lblSplit", -1, stpTopHead1, stpRelax},
                      SurfaceCase{"picRightFrame", -1, stpAssignSUD, stpLeftHand},
                      SurfaceCase{"picShape", -1, stpTopHead1, stpRelax},
                      SurfaceCase{"picHandRight", -1, stpLeftHand, stpTopHead1},
                      // The strips, the time and the issue list's background do nothing.
                      SurfaceCase{"picStatusBar", -1, stpIntro, stpIntro},
                      SurfaceCase{"lblTime_New", -1, stpTopHead1, stpTopHead1},
                      SurfaceCase{"fraMode", -1, stpSelectIssue, stpSelectIssue}),
    [](const ::testing::TestParamInfo<SurfaceCase>& info) {
      return info.param.name == nullptr ? std::string("Window") : std::string(info.param.name);
    });

TEST_F(MainControllerTest, TheWebButtonOpensTheProductSiteWithTheSourceMarker) {
  QTest::mouseClick(Btn("cmdWeb"), Qt::LeftButton);
  ASSERT_EQ(shell_->opened.size(), 1u);
  EXPECT_EQ(shell_->opened.front().rfind(std::string(product::kWebAddress), 0), 0u);
  EXPECT_NE(shell_->opened.front().find("?src=stp#"), std::string::npos);
  EXPECT_EQ(step(), stpIntro);
}

}  // namespace
}  // namespace serenitap
