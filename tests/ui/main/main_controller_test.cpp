// The main window with its session: the way through a session, the key
// table and the clicks.
#include "ui/main/main_window_fixture.h"

namespace serenitap {
namespace {

using namespace window_testing;

// The whole way from loading to the first positive round, by keys and then by
// the timer alone: the controls follow the session.
TEST_F(MainControllerTest, AfterLoadingTheTimerCarriesASessionIntoPositiveRounds) {
  EXPECT_EQ(step(), stpIntro);
  EXPECT_TRUE(controller->Engine().mblnActivated());
  EXPECT_FALSE(Ctl("lblIntro")->isHidden());
  EXPECT_FALSE(static_cast<QLabel*>(Ctl("lblIntro"))->text().isEmpty());
  EXPECT_FALSE(Btn("cmdNavig", 0)->isEnabled());
  EXPECT_FALSE(Btn("cmdPause")->isHidden());
  EXPECT_FALSE(Btn("cmdPause")->isEnabled());
  EXPECT_TRUE(Btn("cmdResume")->isHidden());
  EXPECT_TRUE(static_cast<QLabel*>(Ctl("lblTime_New"))->text().isEmpty());
  for (int i = 1; i <= kDotCount; ++i) EXPECT_FALSE(window->IsDotVisible(i)) << i;
  EXPECT_FALSE(timer().isActive());
  EXPECT_EQ(window->SelectedIssueOption(), 5);
  EXPECT_EQ(window->SelectedSudOption(), 5);
  for (const char* name : {"cmdNavig_Bottom(0)", "cmdNavig_Bottom(1)", "cmdPause_Bottom", "cmdResume_Bottom"}) {
    EXPECT_TRUE(Ctl(name)->isHidden()) << name;
  }

  // Previous is enabled by the Next that lands on the thymus step.
  Key(Qt::Key_N);
  EXPECT_EQ(step(), stpStimulateThymus);
  EXPECT_TRUE(Btn("cmdNavig", 0)->isEnabled());
  NextUntil(stpLeftHand);
  ASSERT_TRUE(timer().isActive());
  EXPECT_TRUE(Btn("cmdPause")->isEnabled());

  // Each emitted timeout is one tick: the karate chop takes 2000 of them.
  ASSERT_TRUE(Ticks(2000));
  EXPECT_EQ(step(), stpRightHand);
  ASSERT_TRUE(Ticks(1));
  ASSERT_EQ(step(), stpTopHead1);
  EXPECT_EQ(static_cast<QLabel*>(Ctl("lblTime_New"))->text().toStdString(), TimeElapsedText(20));

  // The point's dot blinks, red, and it is the only one showing.
  const int dot = state().glngCurrentDot;
  ASSERT_GE(dot, 1);
  ASSERT_LE(dot, kDotCount);
  EXPECT_TRUE(window->IsDotVisible(dot));
  EXPECT_EQ(window->DotColor(dot), kDotRed);
  int changes = 0;
  bool last = window->IsDotVisible(dot);
  for (int i = 0; i < 199; ++i) {
    ASSERT_TRUE(Ticks(1));
    ASSERT_EQ(step(), stpTopHead1);
    if (window->IsDotVisible(dot) != last) ++changes;
    last = window->IsDotVisible(dot);
    for (int other = 1; other <= kDotCount; ++other) {
      if (other != dot) {
        ASSERT_FALSE(window->IsDotVisible(other)) << other;
      }
    }
  }
  EXPECT_GE(changes, 3);

  // Round 3 is the first green one: every dot turns green.
  ASSERT_TRUE(Ticks(2 * 16 * 200 - 199));
  ASSERT_EQ(step(), stpTopHead1);
  EXPECT_TRUE(state().gblnPositiveRound);
  for (int i = 1; i <= kDotCount; ++i) EXPECT_EQ(window->DotColor(i), kDotGreen) << i;
  EXPECT_EQ(static_cast<QLabel*>(Ctl("lblTime_New"))->text().toStdString(), TimeElapsedText(20 + 64));
}

// ---------------------------------------------------------------------------
// The key table

const Qt::Key kNextKeys[] = {Qt::Key_N,    Qt::Key_Space,  Qt::Key_Right,   Qt::Key_Down,
                             Qt::Key_Return, Qt::Key_Enter, Qt::Key_PageDown};
const Qt::Key kPreviousKeys[] = {Qt::Key_P, Qt::Key_Backspace, Qt::Key_Left, Qt::Key_Up, Qt::Key_PageUp};
const Qt::KeyboardModifiers kModifierSets[] = {Qt::NoModifier, Qt::ShiftModifier, Qt::ControlModifier,
                                               Qt::ControlModifier | Qt::ShiftModifier};

std::string KeyName(Qt::Key key, Qt::KeyboardModifiers modifiers) {
  return QKeySequence(QKeyCombination(modifiers, key)).toString().toStdString();
}

// Keys typed into the focused control; each key of the table with one of the
// modifier sets, in turn.
class KeyTableTest : public MainControllerTest {
 protected:
  void Press(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) { Key(key, modifiers, KeyTarget()); }
  Qt::KeyboardModifiers ModifiersFor(Qt::Key key) { return kModifierSets[static_cast<std::size_t>(key) % 4]; }
};

TEST_F(KeyTableTest, NextKeysAdvanceWithAnyModifiersAndKeepTheKeyFromTheFocusedControl) {
  for (Qt::Key key : kNextKeys) {
    {
      const Qt::KeyboardModifiers modifiers = ModifiersFor(key);
      SCOPED_TRACE(KeyName(key, modifiers));
      Btn("cmdFinish")->click();
      Key(Qt::Key_N, Qt::NoModifier, window.get());
      ASSERT_EQ(step(), stpIntro);
      // 1 -> 4 -> 2 -> 3 -> 5 -> 7: on 3 the focus is on a SUD button that
      // would take the arrows and Space itself.
      for (enmStep expected : {stpStimulateThymus, stpSelectIssue, stpAssignSUD, stpLeftHand, stpTopHead1}) {
        if (expected == stpLeftHand) window->FocusSudOption(5);
        KeySpy spy;
        QWidget* focused = KeyTarget();
        focused->installEventFilter(&spy);
        const int sud = window->SelectedSudOption();
        Press(key, modifiers);
        focused->removeEventFilter(&spy);
        ASSERT_EQ(step(), expected);
        // A held modifier reaches the control on its own; the key itself does not.
        EXPECT_EQ(std::count(spy.keys.begin(), spy.keys.end(), key), 0);
        EXPECT_EQ(window->SelectedSudOption(), sud);
        EXPECT_EQ(window->focusWidget(), Btn("cmdNavig", 1));
      }
    }
  }
}

TEST_F(KeyTableTest, PreviousKeysGoBackAndDoNothingOnTheIntroduction) {
  for (Qt::Key key : kPreviousKeys) {
    {
      const Qt::KeyboardModifiers modifiers = ModifiersFor(key);
      SCOPED_TRACE(KeyName(key, modifiers));
      Btn("cmdFinish")->click();
      Key(Qt::Key_N, Qt::NoModifier, window.get());  // 25 -> 1
      ASSERT_EQ(step(), stpIntro);
      Key(Qt::Key_N, Qt::NoModifier, window.get());  // -> 4
      Press(key, modifiers);                          // 4 -> 1: Previous is off again
      ASSERT_EQ(step(), stpIntro);
      EXPECT_FALSE(Btn("cmdNavig", 0)->isEnabled());
      EXPECT_EQ(window->focusWidget(), Btn("cmdNavig", 1));

      // On the introduction the key is consumed and nothing moves.
      window->FocusNavigButton(1);
      KeySpy spy;
      Btn("cmdNavig", 1)->installEventFilter(&spy);
      QSignalSpy nextClicks(Btn("cmdNavig", 1), &QAbstractButton::clicked);
      Press(key, modifiers);
      Btn("cmdNavig", 1)->removeEventFilter(&spy);
      EXPECT_EQ(step(), stpIntro);
      EXPECT_EQ(std::count(spy.keys.begin(), spy.keys.end(), key), 0);
      EXPECT_EQ(nextClicks.count(), 0);
      EXPECT_FALSE(Btn("cmdNavig", 0)->isEnabled());

      NextUntil(stpAssignSUD);
      Press(key, modifiers);
      EXPECT_EQ(step(), stpSelectIssue);
      EXPECT_EQ(window->focusWidget(), Btn("cmdNavig", 0));
      NextUntil(stpTopHead1);
      Press(key, modifiers);
      EXPECT_EQ(step(), stpLeftHand);
      EXPECT_TRUE(timer().isActive());
      EXPECT_EQ(window->focusWidget(), Btn("cmdNavig", 0));
    }
  }
}

TEST_F(KeyTableTest, EscapePausesARunningStepAndEveryKeyResumesWithoutMoving) {
  // Each key arrives with its modifiers already held (their own presses went
  // before), so only the key itself can resume.
  const std::vector<std::pair<Qt::Key, Qt::KeyboardModifiers>> resumers = {
      {Qt::Key_Escape, Qt::NoModifier}, {Qt::Key_N, Qt::ControlModifier}, {Qt::Key_P, Qt::NoModifier},
      {Qt::Key_A, Qt::NoModifier},      {Qt::Key_Shift, Qt::NoModifier},   {Qt::Key_X, Qt::AltModifier},
  };
  NextUntil(stpTopHead1);
  for (const auto& [key, modifiers] : resumers) {
    SCOPED_TRACE(KeyName(key, modifiers));
    ASSERT_TRUE(Ticks(3));
    const enmStep before = step();
    const std::int32_t tickMs = state().glngTickMs;
    Press(Qt::Key_Escape);
    ASSERT_TRUE(Paused());
    EXPECT_FALSE(timer().isActive());
    EXPECT_TRUE(Btn("cmdPause")->isHidden());
    EXPECT_TRUE(Btn("cmdResume")->isEnabled());

    KeySpy spy;
    QWidget* target = KeyTarget();
    KeyTarget()->installEventFilter(&spy);
    QTest::simulateEvent(target, true, key, modifiers, QString(), false);
    QTest::simulateEvent(target, false, key, modifiers, QString(), false);
    KeyTarget()->removeEventFilter(&spy);
    EXPECT_TRUE(spy.keys.empty());
    ASSERT_TRUE(window->isVisible());
    EXPECT_FALSE(Paused());
    EXPECT_EQ(step(), before);
    EXPECT_EQ(state().glngTickMs, tickMs);
    EXPECT_TRUE(timer().isActive());
    EXPECT_FALSE(Btn("cmdPause")->isHidden());
    EXPECT_TRUE(Btn("cmdPause")->isEnabled());
    EXPECT_TRUE(Btn("cmdResume")->isHidden());
  }
  // Paused, N only resumes; the next N moves on.
  Press(Qt::Key_Escape);
  Press(Qt::Key_N);
  EXPECT_EQ(step(), stpTopHead1);
  Press(Qt::Key_N);
  EXPECT_EQ(step(), stpRelax);
  // Typed whole, Ctrl+N resumes on the Ctrl press and then moves on the N.
  Press(Qt::Key_Escape);
  ASSERT_TRUE(Paused());
  Press(Qt::Key_N, Qt::ControlModifier);
  EXPECT_FALSE(Paused());
  EXPECT_EQ(step(), stpTopHead1);
}

TEST_F(KeyTableTest, KeysOutsideTheTableReachTheFocusedControl) {
  const std::vector<std::pair<Qt::Key, Qt::KeyboardModifiers>> others = {
      {Qt::Key_Escape, Qt::NoModifier}, {Qt::Key_Z, Qt::ShiftModifier}, {Qt::Key_F1, Qt::NoModifier},
      {Qt::Key_Home, Qt::NoModifier},   {Qt::Key_Q, Qt::ControlModifier}};
  NextUntil(stpAssignSUD);  // no pause to offer: Esc is not the table's either
  for (const auto& [key, modifiers] : others) {
    SCOPED_TRACE(KeyName(key, modifiers));
    window->FocusSudOption(7);
    KeySpy spy;
    QWidget* focused = Btn("radSUD", 7);
    focused->installEventFilter(&spy);
    Press(key, modifiers);
    focused->removeEventFilter(&spy);
    EXPECT_EQ(step(), stpAssignSUD);
    EXPECT_FALSE(Paused());
    ASSERT_FALSE(spy.keys.empty());
    EXPECT_EQ(spy.keys.back(), key);
  }
}

TEST_F(MainControllerTest, KeyboardMovesOntoTheReassessmentFocusTheChosenSUDButton) {
  NextUntil(stpAssignSUD);
  ClickOption(Btn("radSUD", 8));
  ASSERT_EQ(controller->Engine().mintSUD(), 8);
  ToPositiveRound();
  window->FocusNavigButton(1);
  Key(Qt::Key_Down);
  ASSERT_EQ(step(), stpReassessSUD);
  EXPECT_FALSE(timer().isActive());
  EXPECT_EQ(window->focusWidget(), Btn("radSUD", 8));

  // Previous from there goes to Relax and back onto the navigation buttons.
  Key(Qt::Key_Up);
  EXPECT_EQ(step(), stpRelax);
  EXPECT_EQ(window->focusWidget(), Btn("cmdNavig", 0));
  EXPECT_TRUE(timer().isActive());
}

// ---------------------------------------------------------------------------
// Clicks

struct SurfaceCase {
  const char* name;  // nullptr: a free spot of the window itself
  int index;
  enmStep shownOn;  // a step that shows the surface
  enmStep after;    // where a left click leads from there: as N does, or nowhere
  int issue = 0;    // when not 0, the issue the click chooses
  int sud = 0;      // when not 0, the rating the click chooses
};

class SurfaceClickTest : public MainControllerTest, public ::testing::WithParamInterface<SurfaceCase> {
 protected:
  QPoint FreeSpot() {
    for (int y = 0; y < window->height(); y += 4) {
      for (int x = 0; x < window->width(); x += 4) {
        if (window->childAt(x, y) == nullptr) return {x, y};
      }
    }
    return {-1, -1};
  }
};

TEST_P(SurfaceClickTest, OnlyALeftClickActsAndAnAdvanceLeavesTheFocus) {
  const SurfaceCase& c = GetParam();
  NextUntil(c.shownOn);
  QWidget* surface = c.name != nullptr ? Ctl(c.name, c.index) : window.get();
  ASSERT_NE(surface, nullptr);
  ASSERT_TRUE(surface->isVisible());
  QPoint at = c.name != nullptr ? surface->rect().center() : FreeSpot();
  ASSERT_GE(at.x(), 0) << "no free spot on the window";
  if (qobject_cast<QRadioButton*>(surface) != nullptr) at = QPoint(6, surface->height() / 2);
  QWidget* focus = window->focusWidget();

  QTest::mouseClick(surface, Qt::RightButton, Qt::NoModifier, at);
  EXPECT_EQ(step(), c.shownOn);
  QTest::mouseClick(surface, Qt::LeftButton, Qt::NoModifier, at);
  EXPECT_EQ(step(), c.after);
  if (c.after != c.shownOn) {
    EXPECT_EQ(window->focusWidget(), focus);
  }
  if (c.issue != 0) {
    EXPECT_EQ(state().genmSelectedIssue, c.issue);
  }
  if (c.sud != 0) {
    EXPECT_EQ(controller->Engine().mintSUD(), c.sud);
    EXPECT_EQ(window->SelectedSudOption(), c.sud);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Surfaces, SurfaceClickTest,
    ::testing::Values(SurfaceCase{nullptr, -1, stpIntro, stpStimulateThymus},
                      SurfaceCase{"lblIntro", -1, stpIntro, stpStimulateThymus},
                      SurfaceCase{"lblSegmentTitle", -1, stpTopHead1, stpRelax},
                      SurfaceCase{"lblLeftFrame", -1, stpTopHead1, stpRelax},
                      SurfaceCase{"lblCurrentPoint", -1, stpTopHead1, stpRelax},
                      SurfaceCase{"lblSplit", -1, stpTopHead1, stpRelax},
                      SurfaceCase{"picLeftFrame", -1, stpSelectIssue, stpAssignSUD},
                      SurfaceCase{"picRightFrame", -1, stpAssignSUD, stpLeftHand},
                      SurfaceCase{"picShape", -1, stpTopHead1, stpRelax},
                      SurfaceCase{"picHandLeft", -1, stpLeftHand, stpTopHead1},
                      SurfaceCase{"picHandRight", -1, stpLeftHand, stpTopHead1},
                      // The strips, the time and the issue list's background do nothing.
                      SurfaceCase{"picStatusBar", -1, stpIntro, stpIntro},
                      SurfaceCase{"picToolBar", -1, stpSelectIssue, stpSelectIssue},
                      SurfaceCase{"lblTime_New", -1, stpTopHead1, stpTopHead1},
                      SurfaceCase{"fraMode", -1, stpSelectIssue, stpSelectIssue},
                      // Issue buttons and the numbers above the SUD buttons choose without moving.
                      SurfaceCase{"radMode", 11, stpSelectIssue, stpSelectIssue, 110},
                      SurfaceCase{"lblSUDUnit", 3, stpAssignSUD, stpAssignSUD, 0, 3}),
    [](const ::testing::TestParamInfo<SurfaceCase>& info) {
      const SurfaceCase& c = info.param;
      return c.name == nullptr ? std::string("Window")
                               : std::string(c.name) + (c.index >= 0 ? std::to_string(c.index) : std::string());
    });

TEST_F(MainControllerTest, TheWebButtonOpensTheProductSiteWithTheSourceMarker) {
  Click(Btn("cmdWeb"));
  ASSERT_EQ(shell_->opened.size(), 1u);
  const std::string& address = shell_->opened.front();
  EXPECT_EQ(address.rfind(std::string(product::kWebAddress), 0), 0u) << address;
  EXPECT_NE(address.find("?src=stp#"), std::string::npos) << address;
  EXPECT_EQ(step(), stpIntro);
  EXPECT_TRUE(Btn("cmdWeb")->toolTip().contains(
      QString::fromUtf8(product::kWebAddress.data(), static_cast<qsizetype>(product::kWebAddress.size()))));
}


}  // namespace
}  // namespace serenitap
