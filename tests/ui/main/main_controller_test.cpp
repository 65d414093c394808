// The main window with its session: the way through a session, the key
// table, clicks, and choices made by key or by a screen reader.
#include <QAccessible>
#include <QAccessibleActionInterface>
#include <QSignalSpy>

#include "services/product.h"
#include "ui/main/main_window_fixture.h"
#include "ui/main/notice_strip.h"

namespace serenitap {
namespace {

using namespace window_testing;

TEST(VirtualKeyOf, NamesTheKeysOfTheTable) {
  const std::pair<int, int> keys[] = {
      {Qt::Key_A, 65},        {Qt::Key_Enter, 13},    {Qt::Key_Right, 39},    {Qt::Key_MediaPlay, 255},
      {Qt::Key_Shift, 16},    {Qt::Key_Control, 17},  {Qt::Key_AltGr, 18},    {Qt::Key_Pause, 19},
      {Qt::Key_CapsLock, 20}, {Qt::Key_End, 35},      {Qt::Key_Insert, 45},   {Qt::Key_Meta, 91},
      {Qt::Key_0, 48},        {Qt::Key_9, 57},        {Qt::Key_Z, 90},        {Qt::Key_F1, 112},
      {Qt::Key_F24, 135},     {Qt::Key_Backspace, 8}, {Qt::Key_Tab, 9},       {Qt::Key_Escape, 27},
      {Qt::Key_Space, 32},    {Qt::Key_PageUp, 33},   {Qt::Key_PageDown, 34}, {Qt::Key_Home, 36},
      {Qt::Key_Left, 37},     {Qt::Key_Up, 38},       {Qt::Key_Down, 40},     {Qt::Key_Delete, 46}};
  for (const auto& [key, code] : keys)
    EXPECT_EQ(MainWindowController::VirtualKeyOf(QKeyEvent(QEvent::KeyPress, key, Qt::ShiftModifier)), code) << key;
}

// From loading into the first positive round, by keys, clicks and the timer.
TEST_F(MainControllerTest, TheTimerCarriesASessionIntoPositiveRounds) {
  EXPECT_FALSE(Controls().cmdNavig[0]->isEnabled() || Controls().cmdPause->isEnabled());
  NextUntil(stpAssignSUD);
  ClickOption(Controls().radSUD[8]);
  QSignalSpy chosen(window.get(), &frmMain::sudOptionClicked);
  ClickOption(Controls().radSUD[8]);  // already ticked: chosen again all the same
  EXPECT_EQ(chosen.count(), 1);
  NextUntil(stpLeftHand);
  EXPECT_TRUE(Controls().cmdNavig[0]->isEnabled() && Controls().cmdPause->isEnabled());
  for (int i = 0; i < 2001; ++i) Tick();                         // ten seconds a hand
  EXPECT_EQ(window->DotColor(state().glngCurrentDot), kDotRed);  // the point's dot is red
  for (int i = 0; i < 2 * 16 * 200; ++i) Tick();
  ASSERT_TRUE(state().gblnPositiveRound);  // round 3 is the first green one, every dot green
  for (int i = 1; i <= kDotCount; ++i) EXPECT_EQ(window->DotColor(i), kDotGreen) << i;
  // The keyboard moves on to the reassessment with the focus on the chosen rating.
  window->FocusNavigButton(1);
  Key(Qt::Key_Down);
  ASSERT_EQ(step(), stpReassessSUD);
  EXPECT_EQ(window->focusWidget(), Controls().radSUD[8]);
}

// Each session key once, with Shift or Alt held or none, typed into a SUD
// button that would otherwise take the arrows and Space itself; held with
// Ctrl or Meta it is no session key and reaches the control.
TEST_F(MainControllerTest, SessionKeysMoveWithShiftOrAltButNotWithCtrlOrMeta) {
  enum Moves { Next, Previous, Not };
  const std::tuple<Qt::Key, Qt::KeyboardModifiers, Moves> rows[] = {
      {Qt::Key_N, Qt::NoModifier, Next},        {Qt::Key_Space, Qt::ShiftModifier, Next},
      {Qt::Key_Right, Qt::NoModifier, Next},    {Qt::Key_Down, Qt::AltModifier, Next},
      {Qt::Key_Enter, Qt::ShiftModifier, Next}, {Qt::Key_PageDown, Qt::AltModifier | Qt::ShiftModifier, Next},
      {Qt::Key_P, Qt::NoModifier, Previous},    {Qt::Key_Backspace, Qt::ShiftModifier, Previous},
      {Qt::Key_Left, Qt::NoModifier, Previous}, {Qt::Key_PageUp, Qt::AltModifier, Previous},
      {Qt::Key_N, Qt::ControlModifier, Not},    {Qt::Key_Down, Qt::ControlModifier, Not},
      {Qt::Key_Space, Qt::MetaModifier, Not},   {Qt::Key_PageUp, Qt::ControlModifier | Qt::ShiftModifier, Not}};
  for (const auto& [key, modifiers, moves] : rows) {
    SCOPED_TRACE(QKeySequence(QKeyCombination(modifiers, key)).toString().toStdString());
    NextUntil(stpAssignSUD);
    window->FocusSudOption(5);
    KeySpy spy(KeyTarget(), key);
    Key(key, modifiers);
    EXPECT_EQ(step(), moves == Next ? stpLeftHand : moves == Previous ? stpSelectIssue : stpAssignSUD);
    EXPECT_EQ(spy.presses, moves == Not ? 1 : 0);
    EXPECT_EQ(window->SelectedSudOption(), 5);
    if (moves != Not) {
      EXPECT_EQ(window->focusWidget(), Controls().cmdNavig[moves == Next ? 1 : 0]);
    }
    Restart();
  }
  // Keys outside the table reach the focused control.
  NextUntil(stpAssignSUD);  // no pause to offer: Esc is not the table's either
  for (const Qt::Key key : {Qt::Key_Escape, Qt::Key_Z, Qt::Key_F1}) {
    window->FocusSudOption(7);
    KeySpy spy(Controls().radSUD[7], key);
    Key(key, Qt::ShiftModifier);
    EXPECT_EQ(spy.presses, 1) << key;
  }
  // On the introduction Previous keys are consumed and nothing moves.
  Restart();
  window->FocusNavigButton(1);
  QSignalSpy nextClicks(Controls().cmdNavig[1], &QAbstractButton::clicked);
  KeySpy spy(Controls().cmdNavig[1], Qt::Key_Backspace);
  Key(Qt::Key_Backspace);
  EXPECT_EQ(step(), stpIntro);
  EXPECT_EQ(spy.presses + nextClicks.count(), 0);
}

// Esc pauses a running step and "Paused" shows. A key resumes, but not a
// modifier alone, a Ctrl or Meta chord, or a chord the window manager keeps
// (Alt+Tab). Each key arrives with its modifiers already held, so only the key
// itself can resume; a digit resumes too, and rates nothing.
TEST_F(MainControllerTest, EscapePausesARunningStepAndEveryRealKeyResumesWithoutMoving) {
  NextUntil(stpTopHead1);
  for (const auto& [key, modifiers] : {std::pair{Qt::Key_Escape, Qt::KeyboardModifiers()},
                                       {Qt::Key_X, Qt::AltModifier},
                                       {Qt::Key_3, Qt::KeyboardModifiers()}}) {
    Tick();
    const std::int32_t tickMs = state().glngTickMs;
    Key(Qt::Key_Escape);
    EXPECT_TRUE(Paused() && !timer().isActive() && !Controls().cmdPause->isVisible());
    // The notices start after it (how it looks is in the window snapshots).
    EXPECT_GT(window->Notices().x(), window->PausedSign().geometry().right());
    for (const auto& [held, with] : {std::pair{Qt::Key_Shift, Qt::KeyboardModifiers(Qt::ShiftModifier)},
                                     {Qt::Key_Control, Qt::ControlModifier},
                                     {Qt::Key_Super_L, Qt::MetaModifier},
                                     {Qt::Key_N, Qt::ControlModifier},
                                     {Qt::Key_Tab, Qt::AltModifier}}) {
      QTest::simulateEvent(KeyTarget(), true, held, with, QString(), false);
      EXPECT_TRUE(Paused()) << held;
    }
    KeySpy spy(KeyTarget(), key);
    QTest::simulateEvent(KeyTarget(), true, key, modifiers, QString(), false);
    EXPECT_EQ(spy.presses, 0) << key;
    EXPECT_TRUE(window->isVisible() && !Paused() && timer().isActive() && Controls().cmdPause->isEnabled());
    EXPECT_TRUE(window->PausedSign().isHidden());
    EXPECT_EQ(std::make_tuple(step(), state().glngTickMs, sud()), std::make_tuple(stpTopHead1, tickMs, 5));
  }
}

// A left click or a double click on a surface moves on once, as N does, and
// leaves the focus; a right click, or a click on the strips, the time or the
// issue list, does nothing. The buttons: Next, Previous, Web.
TEST_F(MainControllerTest, ALeftClickOrADoubleClickOnASurfaceMovesOnOnce) {
  const std::tuple<const char*, enmStep, enmStep> rows[] = {
      {"", stpIntro, stpStimulateThymus},           {"lblIntro", stpIntro, stpStimulateThymus},
      {"lblLeftFrame", stpTopHead1, stpRelax},      {"lblSplit", stpTopHead1, stpRelax},
      {"picRightFrame", stpAssignSUD, stpLeftHand}, {"picHandRight", stpLeftHand, stpTopHead1},
      {"picStatusBar", stpIntro, stpIntro},         {"lblTime_New", stpTopHead1, stpTopHead1},
      {"fraMode", stpSelectIssue, stpSelectIssue}};
  for (const auto& [name, shownOn, after] : rows) {
    SCOPED_TRACE(name);
    Restart();
    NextUntil(shownOn);
    QWidget* surface = *name != '\0' ? Named(name) : window.get();
    const QPoint at = surface == window.get() ? QPoint(5, 60) : surface->rect().center();
    ASSERT_TRUE(surface->isVisible() && (surface != window.get() || window->childAt(at) == nullptr));
    QWidget* focus = window->focusWidget();
    QTest::mouseClick(surface, Qt::RightButton, Qt::NoModifier, at);
    EXPECT_EQ(step(), shownOn);
    QTest::mouseClick(surface, Qt::LeftButton, Qt::NoModifier, at);
    QTest::mouseDClick(surface, Qt::LeftButton, Qt::NoModifier, at);  // the second press of a double click
    QTest::mouseRelease(surface, Qt::LeftButton, Qt::NoModifier, at);
    EXPECT_EQ(step(), after);
    EXPECT_EQ(window->focusWidget(), focus);
  }
  Restart();  // a click on Next moves on one step and a click on Previous goes back one
  QTest::mouseClick(Controls().cmdNavig[1], Qt::LeftButton);
  QTest::mouseClick(Controls().cmdNavig[1], Qt::LeftButton);
  EXPECT_EQ(step(), stpSelectIssue);
  QTest::mouseClick(Controls().cmdNavig[0], Qt::LeftButton);
  EXPECT_EQ(step(), stpStimulateThymus);
  QTest::mouseClick(Controls().cmdWeb, Qt::LeftButton);  // the Web button opens the site, with the source marker
  ASSERT_EQ(shell_->opened.size(), 1u);
  EXPECT_EQ(shell_->opened[0].rfind(std::string(product::kWebAddress) + "?src=stp#", 0), 0u) << shell_->opened[0];
}

// What a screen reader does with an option: its toggle action.
void ToggleAction(QWidget* option) {
  QAccessible::queryAccessibleInterface(option)->actionInterface()->doAction(
      QAccessibleActionInterface::toggleAction());
}

TEST_F(MainControllerTest, AScreenReadersToggleAClickOrADigitChoosesTheIssueAndTheRating) {
  NextUntil(stpSelectIssue);
  ToggleAction(Controls().radMode[8]);
  EXPECT_EQ(state().genmSelectedIssue, issRageAnger);
  ClickOption(Controls().radMode[11]);
  EXPECT_EQ(state().genmSelectedIssue, issGuilt);
  NextUntil(stpAssignSUD);
  ToggleAction(Controls().radSUD[9]);
  ClickOption(Controls().radSUD[9]);  // a click on the ticked option keeps it
  EXPECT_EQ(sud(), 9);
  for (int number : {2, 10}) {  // a click on the number above another one moves the choice there
    QTest::mouseClick(Controls().lblSUDUnit[number], Qt::LeftButton);
    EXPECT_EQ(std::make_pair(sud(), window->SelectedSudOption()), std::make_pair(number, number));
  }
  // Digits choose the shown issues in their order and rate; 1 then 0 within a
  // second is ten. On screen, top to bottom: 1, 2, 3, 11, 4, 5, 12, 7, 8, 9.
  Restart();
  NextUntil(stpSelectIssue);
  for (const auto& [key, issue] : {std::pair{Qt::Key_1, issAddictionsObsessions},
                                   {Qt::Key_4, issGuilt},
                                   {Qt::Key_9, issRageAnger},
                                   {Qt::Key_0, issSelfEsteem}}) {
    Key(key);
    EXPECT_EQ(state().genmSelectedIssue, issue) << key;
    EXPECT_EQ(window->focusWidget(), Controls().radMode[modIssues::IssueEnumToOptIndex(issue)]) << key;
  }
  NextUntil(stpAssignSUD);
  // Keys and the time before each: 1, 0 within the second is ten; a further 0 is 0.
  for (const auto& [key, wait, rating] : {std::tuple{Qt::Key_7, 0, 7},
                                          {Qt::Key_1, 0, 1},
                                          {Qt::Key_0, 999, 10},
                                          {Qt::Key_0, 0, 0},
                                          {Qt::Key_1, 0, 1},
                                          {Qt::Key_0, 1001, 0}}) {
    nowMs += wait;
    Key(key);
    EXPECT_EQ(sud(), rating);
    EXPECT_EQ(window->focusWidget(), Controls().radSUD[rating]);
  }
  EXPECT_EQ(step(), stpAssignSUD);
  Controls().cmdFinish->click();  // elsewhere digits choose nothing
  Key(Qt::Key_3);
  EXPECT_EQ(sud(), 0);
}

// By keyboard alone: Tab enters a group at its choice, the arrows move the
// choice, Space keeps it, digits still choose; after Tab the arrows move
// between steps again.
TEST_F(MainControllerTest, TabEntersAChoiceGroupAtTheChoiceAndTheArrowsMoveIt) {
  NextUntil(stpSelectIssue);
  auto tabIntoGroup = [&](const char* group) {
    for (int i = 0; i < 30 && !KeyTarget()->objectName().startsWith(QLatin1String(group)); ++i) Key(Qt::Key_Tab);
    return KeyTarget();
  };
  EXPECT_EQ(tabIntoGroup("radMode"), Controls().radMode[5]);  // "Negative memory", chosen at first
  Key(Qt::Key_Down);                                          // the next one down the list
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
  Key(Qt::Key_Down);
  EXPECT_EQ(step(), stpAssignSUD);
  const int rating = sud();
  EXPECT_EQ(tabIntoGroup("radSUD"), Controls().radSUD[rating]);
  Key(Qt::Key_Right);
  Key(Qt::Key_Right);
  EXPECT_EQ(sud(), rating + 2);
  EXPECT_EQ(step(), stpAssignSUD);
}

}  // namespace
}  // namespace serenitap
