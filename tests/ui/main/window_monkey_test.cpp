// Random use of the whole window.
#include "ui/main/main_window_fixture.h"

namespace serenitap {
namespace {

using namespace window_testing;

// ---------------------------------------------------------------------------
// Random use of the whole window

// Ticks, keys of the table and others (with and without modifiers), clicks on
// every visible control, pause and resume, in random order. After every event
// the window must agree with the session.
class WindowMonkey {
 public:
  WindowMonkey(MainControllerTest& test, std::uint32_t seed)
      : t_(test), w_(*test.window), c_(*test.controller), rng_(seed) {
    for (QWidget* child : w_.findChildren<QWidget*>()) {
      const QString name = child->objectName();
      // Exit would end the run; the popup menu opens from cmdNav.
      if (name.isEmpty() || name.startsWith(QLatin1String("qt_")) || name == QLatin1String("cmdExit") ||
          name == QLatin1String("mnuPopUp")) {
        continue;
      }
      clickable_.push_back(child);
    }
    clickable_.push_back(&w_);
    resume_ = w_.Button("cmdResume");
    pause_ = w_.Button("cmdPause");
    for (const char* name : {"cmdNavig_Bottom(0)", "cmdNavig_Bottom(1)", "cmdPause_Bottom", "cmdResume_Bottom"}) {
      bottom_.push_back(w_.Control(name));
    }
    for (int i = 1; i <= kDotCount; ++i) dots_.push_back(w_.Control("shpStep", i));
  }

  // Every tick, key and click counts as one event.
  void Run(int events) {
    while (!failed_ && ticks + keys + clicks < events) {
      RandomEvent();
      Check();
    }
  }

  int ticks = 0;
  int keys = 0;
  int clicks = 0;
  std::array<int, 26> stepsSeen{};

 private:
  int Pick(int n) { return std::uniform_int_distribution<int>(0, n - 1)(rng_); }

  Qt::KeyboardModifiers RandomModifiers() {
    switch (Pick(8)) {
      case 0: return Qt::ShiftModifier;
      case 1: return Qt::ControlModifier;
      case 2: return Qt::AltModifier;
      case 3: return Qt::ControlModifier | Qt::ShiftModifier;
      default: return Qt::NoModifier;
    }
  }

  void RandomKey() {
    static const Qt::Key table[] = {Qt::Key_N,      Qt::Key_Space,     Qt::Key_Right,  Qt::Key_Down,
                                    Qt::Key_Return, Qt::Key_Enter,     Qt::Key_PageDown, Qt::Key_P,
                                    Qt::Key_Backspace, Qt::Key_Left,   Qt::Key_Up,     Qt::Key_PageUp,
                                    Qt::Key_Escape, Qt::Key_Escape,    Qt::Key_Escape};
    // Alt+A, Alt+E and Alt+F are access keys; X is left out, Alt+X would end the run.
    static const Qt::Key others[] = {Qt::Key_A,     Qt::Key_B,       Qt::Key_E,      Qt::Key_F,      Qt::Key_Q,
                                     Qt::Key_Z,     Qt::Key_0,       Qt::Key_7,      Qt::Key_F1,     Qt::Key_F10,
                                     Qt::Key_Home,  Qt::Key_End,     Qt::Key_Insert, Qt::Key_Delete, Qt::Key_Tab,
                                     Qt::Key_Shift, Qt::Key_Control, Qt::Key_Alt,    Qt::Key_Menu,   Qt::Key_Period};
    const Qt::Key key = Pick(3) != 0 ? table[Pick(static_cast<int>(std::size(table)))]
                                     : others[Pick(static_cast<int>(std::size(others)))];
    QWidget* target = Pick(2) == 0 || w_.focusWidget() == nullptr ? &w_ : w_.focusWidget();
    QTest::keyClick(target, key, RandomModifiers());
    ++keys;
  }

  void RandomClick() {
    QWidget* target = nullptr;
    if (Pick(6) == 0) {
      target = !resume_->isHidden() ? resume_ : pause_;  // pause or resume
    } else {
      for (int tries = 0; tries < 20 && target == nullptr; ++tries) {
        QWidget* candidate = clickable_[static_cast<std::size_t>(Pick(static_cast<int>(clickable_.size())))];
        if (candidate->isVisible()) target = candidate;
      }
    }
    if (target == nullptr) return;
    auto* button = qobject_cast<QAbstractButton*>(target);
    if (qobject_cast<QRadioButton*>(target) != nullptr) {
      QTest::mouseClick(target, Qt::LeftButton, Qt::NoModifier, QPoint(6, target->height() / 2));
    } else if (button != nullptr && Pick(8) != 0) {
      // Most push-button clicks skip the mouse, whose pressed look is
      // repainted at once and costs a millisecond a click.
      button->click();
    } else {
      QTest::mouseClick(target, Qt::LeftButton);
    }
    if (w_.PopupMenu().isVisible()) w_.PopupMenu().hide();
    ++clicks;
  }

  void RandomEvent() {
    // Mostly short bursts of ticks; now and then the user just watches while
    // the timer carries the session through a number of steps, more often
    // during the karate chop, whose ten seconds a restless user rarely waits.
    const int kind = Pick(1000);
    const bool karateChop = c_.Engine().State().genmCurrentStep == stpLeftHand;
    if (kind < 330 && w_.StepTimer().isActive()) {
      if (kind < (karateChop ? 12 : 2)) {
        const int changes = 1 + Pick(18);
        for (int changed = 0; changed < changes && !failed_ && w_.StepTimer().isActive();) {
          const enmStep before = c_.Engine().State().genmCurrentStep;
          Tick();
          if (c_.Engine().State().genmCurrentStep != before) ++changed;
          Check();
        }
        return;
      }
      const int n = 1 + Pick(kind < 20 ? 200 : 3);
      for (int i = 0; i < n && !failed_ && w_.StepTimer().isActive(); ++i) {
        Tick();
        if (i + 1 < n) Check();
      }
    } else if (kind < 800) {
      RandomKey();
    } else {
      RandomClick();
    }
  }

  void Tick() {
    t_.Tick();
    ++ticks;
  }

  void Check() {
    if (failed_) return;
    const SessionState& s = c_.Engine().State();
    const enmStep step = s.genmCurrentStep;
    const bool timed = step >= stpLeftHand && step <= stpRelax;
    const bool paused = !resume_->isHidden();
    int shownDots = 0;
    for (QWidget* dot : dots_) shownDots += dot->isHidden() ? 0 : 1;
    bool bottomShown = false;
    for (QWidget* b : bottom_) bottomShown = bottomShown || !b->isHidden();
    const bool ok = step >= stpIntro && step <= stpFinish && s.glngStepLength == modSteps::GetStepLength(step) &&
                    w_.StepTimer().isActive() == (timed && !paused) && pause_->isHidden() == paused &&
                    (!paused || (timed && resume_->isEnabled())) && (paused || pause_->isEnabled() == timed) &&
                    !bottomShown && (shownDots == 0 || (shownDots == 1 && IsBlinkingStep(step))) &&
                    w_.isVisible() && t_.reports.reports.empty() && t_.boxes.requests.empty();
    if (ok) {
      ++stepsSeen[static_cast<std::size_t>(step)];
      return;
    }
    failed_ = true;
    std::ostringstream o;
    o << "after " << ticks << " ticks, " << keys << " keys, " << clicks << " clicks: step " << step << ", length "
      << s.glngStepLength << ", round " << s.glngRoundCount << ", timer " << w_.StepTimer().isActive()
      << ", pause shown " << !pause_->isHidden() << " enabled " << pause_->isEnabled() << ", resume shown "
      << paused << " enabled " << resume_->isEnabled() << ", dots shown " << shownDots << ", bottom set shown "
      << bottomShown << ", window shown " << w_.isVisible();
    if (!t_.reports.reports.empty()) o << ", error report from " << t_.reports.reports.front().procedure;
    if (!t_.boxes.requests.empty()) o << ", message box " << t_.boxes.requests.front().text;
    ADD_FAILURE() << o.str();
  }

  MainControllerTest& t_;
  frmMain& w_;
  MainWindowController& c_;
  std::mt19937 rng_;
  std::vector<QWidget*> clickable_;
  std::vector<QWidget*> bottom_;
  std::vector<QWidget*> dots_;
  QAbstractButton* resume_ = nullptr;
  QAbstractButton* pause_ = nullptr;
  bool failed_ = false;
};

class WindowMonkeyTest : public MainControllerTest, public ::testing::WithParamInterface<std::uint32_t> {};

TEST_P(WindowMonkeyTest, InvariantsHoldThroughRandomUse) {
  WindowMonkey monkey(*this, GetParam());
  monkey.Run(40000);
  ASSERT_FALSE(HasFailure());
  // The mix: mostly ticks, thousands of keys, hundreds of clicks, every step.
  EXPECT_GT(monkey.ticks, 30000);
  EXPECT_GT(monkey.keys, 2000);
  EXPECT_GT(monkey.clicks, 600);
  for (enmStep s = stpIntro; s <= stpFinish; ++s) EXPECT_GT(monkey.stepsSeen[static_cast<std::size_t>(s)], 0) << s;
}

INSTANTIATE_TEST_SUITE_P(Seed, WindowMonkeyTest, ::testing::Values(20240611u));



}  // namespace
}  // namespace serenitap
