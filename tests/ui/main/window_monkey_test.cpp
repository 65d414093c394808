// Random use of the whole window: ticks, keys of the table and others (with
// and without modifiers), clicks on every visible control, pause and resume,
// in random order. After every event the window must agree with the session.
#include <QRadioButton>
#include <array>
#include <random>

#include "ui/main/main_window_fixture.h"

namespace serenitap {
namespace {

using namespace window_testing;

class WindowMonkeyTest : public MainControllerTest {
 protected:
  int Pick(std::size_t n) { return std::uniform_int_distribution<int>(0, static_cast<int>(n) - 1)(rng_); }

  void RandomKey() {
    // Two in three from the key table, Esc weighted up; the rest other keys,
    // among them the access keys Alt+A, Alt+E and Alt+F, F1 and the Menu key
    // (Alt+X and Ctrl+Q would end the run).
    static const Qt::Key table[] = {Qt::Key_N,     Qt::Key_Space,    Qt::Key_Right,  Qt::Key_Down,      Qt::Key_Return,
                                    Qt::Key_Enter, Qt::Key_PageDown, Qt::Key_P,      Qt::Key_Backspace, Qt::Key_Left,
                                    Qt::Key_Up,    Qt::Key_PageUp,   Qt::Key_Escape, Qt::Key_Escape,    Qt::Key_Escape};
    static const Qt::Key others[] = {Qt::Key_A,   Qt::Key_B,     Qt::Key_E,   Qt::Key_F,    Qt::Key_W,
                                     Qt::Key_0,   Qt::Key_7,     Qt::Key_F1,  Qt::Key_Home, Qt::Key_Delete,
                                     Qt::Key_Tab, Qt::Key_Shift, Qt::Key_Alt, Qt::Key_Menu, Qt::Key_Period};
    const Qt::KeyboardModifiers modifiers[] = {Qt::ShiftModifier, Qt::ControlModifier, Qt::AltModifier,
                                               Qt::ControlModifier | Qt::ShiftModifier};
    const Qt::Key key = Pick(3) != 0 ? table[Pick(std::size(table))] : others[Pick(std::size(others))];
    QTest::keyClick(Pick(2) == 0 ? window.get() : KeyTarget(), key, Pick(2) == 0 ? modifiers[Pick(4)] : Qt::NoModifier);
    ++keys;
  }

  void RandomClick() {
    QWidget* target = Pick(6) == 0 ? (Paused() ? Controls().cmdResume : Controls().cmdPause) : nullptr;  // often
    for (int tries = 0; tries < 20 && target == nullptr; ++tries) {
      QWidget* candidate = clickable_[static_cast<std::size_t>(Pick(clickable_.size()))];
      if (candidate->isVisible()) target = candidate;
    }
    auto* button = qobject_cast<QAbstractButton*>(target);
    if (qobject_cast<QRadioButton*>(target) != nullptr)
      ClickOption(target);
    else if (button != nullptr && Pick(8) != 0)
      button->click();  // the mouse's pressed look costs time
    else if (target != nullptr)
      QTest::mouseClick(target, Qt::LeftButton);
    window->PopupMenu().hide();
    ++clicks;
  }

  // Mostly short bursts of ticks; now and then the user watches while the
  // timer carries the session through a number of steps (from the karate
  // chop up to the end of a round), more often during
  // the karate chop, whose ten seconds a restless user rarely waits.
  void RandomEvent() {
    const int kind = Pick(1000);
    if (kind < 330 && timer().isActive()) {
      const bool watch = kind < (step() == stpLeftHand ? 12 : 2);
      const int n = 1 + (watch ? Pick(24) : Pick(kind < 20 ? 200 : 3));  // step changes, or ticks
      for (int i = 0; i < n && !HasFailure() && timer().isActive(); ++ticks) {
        const enmStep before = step();
        Tick();
        if (!watch || step() != before) ++i;
        if (watch || i < n) Check();
      }
    } else if (kind < 800) {
      RandomKey();
    } else {
      RandomClick();
    }
  }

  void Check() {
    const enmStep s = step();
    const bool timed = s >= stpLeftHand && s <= stpRelax, paused = Paused();
    int dots = 0, bottomShown = 0;  // the bottom row of picture buttons is never shown
    for (int i = 1; i <= kDotCount; ++i) dots += window->IsDotVisible(i) ? 1 : 0;
    for (const char* name : {"cmdNavig_Bottom(0)", "cmdNavig_Bottom(1)", "cmdPause_Bottom", "cmdResume_Bottom"})
      bottomShown += Named(name)->isHidden() ? 0 : 1;
    const bool ok = s >= stpIntro && s <= stpFinish && state().glngStepLength == modSteps::GetStepLength(s) &&
                    timer().isActive() == (timed && !paused) && Controls().cmdPause->isHidden() == paused &&
                    (!paused || (timed && Controls().cmdResume->isEnabled())) &&
                    (paused || Controls().cmdPause->isEnabled() == timed) && !bottomShown &&
                    (dots == 0 || (dots == 1 && IsBlinkingStep(s))) && window->isVisible() && reports.reports.empty() &&
                    boxes.requests.empty();
    if (ok) ++stepsSeen[static_cast<std::size_t>(StepNumber(s))];
    EXPECT_TRUE(ok) << "after " << ticks << " ticks, " << keys << " keys, " << clicks << " clicks: step " << s
                    << ", timer " << timer().isActive() << ", paused " << paused << ", dots " << dots << ", shown "
                    << window->isVisible() << ", reports " << reports.reports.size() << ", boxes "
                    << boxes.requests.size();
  }

  std::mt19937 rng_{20240611u};
  std::vector<QWidget*> clickable_;
  int ticks = 0, keys = 0, clicks = 0;
  std::array<int, 26> stepsSeen{};
};

TEST_F(WindowMonkeyTest, InvariantsHoldThroughRandomUse) {
  for (QWidget* child : window->findChildren<QWidget*>()) {
    const QString name = child->objectName();
    // Exit would end the run; the popup menu opens from cmdNav.
    if (!name.isEmpty() && !name.startsWith(QLatin1String("qt_")) && name != "cmdExit" && name != "mnuPopUp")
      clickable_.push_back(child);
  }
  clickable_.push_back(window.get());
  // Exit is no Tab stop here, or Tab then Enter would press it.
  Controls().cmdExit->setFocusPolicy(Qt::NoFocus);
  while (!HasFailure() && ticks + keys + clicks < 40000) {
    RandomEvent();
    if (!HasFailure()) Check();
  }
  ASSERT_FALSE(HasFailure());
  // The mix: mostly ticks, thousands of keys, hundreds of clicks, every step.
  EXPECT_GT(ticks, 30000);
  EXPECT_GT(keys, 2000);
  EXPECT_GT(clicks, 600);
  for (enmStep s : StepsFromTo(stpIntro, stpFinish))
    EXPECT_GT(stepsSeen[static_cast<std::size_t>(StepNumber(s))], 0) << StepNumber(s);
}

}  // namespace
}  // namespace serenitap
