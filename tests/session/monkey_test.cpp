// Random sessions: ticks and every command in random order, some of them
// arriving while the time label pumps events. After every event the session's
// invariants must hold.
#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <sstream>

#include "session/engine.h"
#include "session/steps.h"
#include "support/recorders.h"
#include "tests/session/fake_view.h"

namespace serenitap {
namespace {

class Monkey {
 public:
  explicit Monkey(std::uint32_t seed) : rng_(seed) {
    view_.hook = [this](const std::string& entry) { OnViewCall(entry); };
    engine_.Form_Load_Prepare();
    engine_.Form_Load_Session();
  }

  void Run(int events) {
    for (event_ = 0; event_ < events; ++event_) {
      if (event_ == 50) engine_.Form_Activate();  // a few commands arrive before activation
      RandomEvent();
      CheckInvariants();
      if (::testing::Test::HasFailure()) return;
    }
  }

  int entriesIntoRoundStart = 0;
  int ticks = 0;
  int commands = 0;
  int nested = 0;
  std::array<int, 26> stepsSeen{};
  testing::MessageBoxRecorder boxes;
  testing::ReportRecorder reports;

 private:
  std::string Where() const {
    std::ostringstream o;
    const SessionState& s = engine_.State();
    o << "event " << event_ << " step " << s.genmCurrentStep << " round " << s.glngRoundCount << " positive "
      << s.gblnPositiveRound;
    return o.str();
  }

  int Pick(int n) { return std::uniform_int_distribution<int>(0, n - 1)(rng_); }

  // A burst of timer ticks, delivered only while the timer is on, as the real timer does.
  void TickBurst(int most) {
    const int n = 1 + Pick(most);
    for (int i = 0; i < n && view_.timerEnabled; ++i) {
      engine_.tmrSteps_Timer();
      ++ticks;
      CheckStepLength();
    }
  }

  void RandomCommand() {
    ++commands;
    switch (Pick(12)) {
      case 0: case 1: case 2: engine_.cmdNavig_Click(1); break;
      case 3: case 4: engine_.cmdNavig_Click(0); break;
      case 5: engine_.cmdPause_Click(); break;
      case 6: engine_.cmdResume_Click(); break;
      case 7: if (Pick(4) == 0) engine_.cmdFinish_Click(); else engine_.cmdNavig_Click(1); break;
      case 8: if (Pick(8) == 0) engine_.cmdStart_Click(); else engine_.cmdPause_Click(); break;
      case 9: engine_.radMode_Click(static_cast<std::int16_t>(1 + Pick(12))); break;
      case 10: engine_.radSUD_Click(static_cast<std::int16_t>(Pick(11))); break;
      default: engine_.lblSUDUnit_Click(static_cast<std::int16_t>(Pick(11))); break;
    }
  }

  void RandomEvent() {
    if (Pick(100) < 85) {
      TickBurst(Pick(10) == 0 ? 1200 : 100);
    } else {
      RandomCommand();
    }
  }

  void OnViewCall(const std::string& entry) {
    const SessionState& s = engine_.State();
    if (entry == "Layout(7)") {
      // Right after entering step 7: the polarity follows the round counter and
      // the dots have the polarity's colour.
      ++entriesIntoRoundStart;
      EXPECT_EQ(s.gblnPositiveRound, s.glngRoundCount > 2) << Where();
      EXPECT_EQ(view_.dotColour, s.gblnPositiveRound ? kDotGreen : kDotRed) << Where();
    }
    if (entry == "Pump" && depth_ == 0 && Pick(20) == 0) {
      // An event handled while the time label pumps the message loop.
      ++depth_;
      ++nested;
      if (Pick(2) == 0) {
        RandomCommand();
      } else if (view_.timerEnabled) {
        engine_.tmrSteps_Timer();
      }
      --depth_;
    }
  }

  void CheckStepLength() {
    const SessionState& s = engine_.State();
    ASSERT_EQ(s.glngStepLength, modSteps::GetStepLength(s.genmCurrentStep)) << Where();
  }

  void CheckInvariants() {
    const SessionState& s = engine_.State();
    const enmStep step = s.genmCurrentStep;
    ASSERT_GE(step, 1) << Where();
    ASSERT_LE(step, 25) << Where();
    ++stepsSeen[static_cast<std::size_t>(step)];
    CheckStepLength();
    ASSERT_EQ(view_.layout.step, step) << Where();

    const bool paused = view_.resumeVisible;
    ASSERT_NE(view_.pauseVisible, view_.resumeVisible) << Where();
    ASSERT_EQ(view_.timerEnabled, step >= 5 && step <= 23 && !paused) << Where();
    if (paused) {
      ASSERT_TRUE(view_.resumeEnabled) << Where();
    } else {
      ASSERT_EQ(view_.pauseEnabled, step >= 5 && step <= 23) << Where();
      ASSERT_FALSE(view_.resumeEnabled) << Where();
    }

    // At most one dot shows, and only the current step's.
    const int visible = view_.VisibleDots();
    ASSERT_LE(visible, 1) << Where();
    if (visible == 1) {
      ASSERT_TRUE(view_.dotVisible[static_cast<std::size_t>(s.glngCurrentDot)]) << Where();
    }
    if (step < 5 || step > 22) {
      ASSERT_EQ(visible, 0) << Where();
    }

    ASSERT_GE(s.glngTickMs, 0);
    ASSERT_LT(s.glngTickMs, 1000);
    ASSERT_EQ(s.glngTickMs % 10, 0);
    ASSERT_GE(engine_.mintSUD(), 0);
    ASSERT_LE(engine_.mintSUD(), 10);
    ASSERT_EQ(s.genmSelectedIssue % 10, 0);
    ASSERT_FALSE(engine_.mblnBusy()) << Where();
    ASSERT_TRUE(reports.reports.empty()) << Where();
    ASSERT_TRUE(boxes.requests.empty()) << Where();
    view_.log.clear();
  }

  std::mt19937 rng_;
  testing::FakeSessionView view_;
  SessionEngine engine_{view_};
  int event_ = 0;
  int depth_ = 0;
};

class MonkeyTest : public ::testing::TestWithParam<std::uint32_t> {};

TEST_P(MonkeyTest, InvariantsHoldAfterEveryEvent) {
  Monkey monkey(GetParam());
  monkey.Run(40000);
  ASSERT_FALSE(HasFailure());
  // The walk really went everywhere.
  for (enmStep s = 1; s <= 25; ++s) EXPECT_GT(monkey.stepsSeen[static_cast<std::size_t>(s)], 0) << "step " << s;
  EXPECT_GT(monkey.entriesIntoRoundStart, 100);
  EXPECT_GT(monkey.ticks, 100000);
  EXPECT_GT(monkey.nested, 0);
}

INSTANTIATE_TEST_SUITE_P(Seeds, MonkeyTest, ::testing::Values(1u, 20240611u, 987654321u));

}  // namespace
}  // namespace serenitap
