// What each step shows, as a table over every step, both polarities and the
// round counts that matter for the dot colour; and the same decisions applied
// through the engine.
#include <gtest/gtest.h>

#include <vector>

#include "content/instructions.h"
#include "session/engine.h"
#include "session/step_display.h"
#include "session/steps.h"
#include "support/recorders.h"
#include "tests/session/fake_view.h"

namespace serenitap {
namespace {

struct Row {
  enmStep step;
  std::int32_t dot;
  bool issue, sud, thymus, panels, hands, body, intro;
};

// step, dot, fraMode, fraSUD_2, shpGreen, panels+divider, hands, picShape, lblIntro
const std::vector<Row> kTable = {
    {-1, 0, false, false, false, true, false, true, false},
    {0, -1, false, false, false, true, false, true, false},
    {1, -1, false, false, false, false, false, true, true},
    {2, -1, true, false, false, true, false, false, false},
    {3, -1, false, true, false, true, false, false, false},
    {4, -1, false, false, true, true, false, true, false},
    {5, 2, false, false, false, true, true, false, false},
    {6, 3, false, false, false, true, true, false, false},
    {7, 4, false, false, false, true, false, true, false},
    {8, 4, false, false, false, true, false, true, false},
    {9, 5, false, false, false, true, false, true, false},
    {10, 6, false, false, false, true, false, true, false},
    {11, 7, false, false, false, true, false, true, false},
    {12, 8, false, false, false, true, false, true, false},
    {13, 8, false, false, false, true, false, true, false},
    {14, 9, false, false, false, true, false, true, false},
    {15, 9, false, false, false, true, false, true, false},
    {16, 10, false, false, false, true, false, true, false},
    {17, 11, false, false, false, true, false, true, false},
    {18, 16, false, false, false, true, false, true, false},
    {19, 12, false, false, false, true, false, true, false},
    {20, 13, false, false, false, true, false, true, false},
    {21, 14, false, false, false, true, false, true, false},
    {22, 15, false, false, false, true, false, true, false},
    {23, -1, false, false, false, true, false, true, false},
    {24, -1, false, true, false, true, false, false, false},
    {25, -1, false, false, false, false, false, false, true},
    {26, 0, false, false, false, true, false, true, false},
};

struct Case {
  Row row;
  bool positive;
  std::int32_t count;
};

std::vector<Case> AllCases() {
  std::vector<Case> cases;
  for (const Row& r : kTable) {
    for (bool positive : {false, true}) {
      for (std::int32_t count : {0, 1, 2, 3}) cases.push_back({r, positive, count});
    }
  }
  return cases;
}

class StepDisplayTest : public ::testing::TestWithParam<Case> {};

TEST_P(StepDisplayTest, ShowsWhatTheStepNeeds) {
  const Case& c = GetParam();
  const Row& r = c.row;
  const StepDisplay d = GetStepDisplay(r.step, c.count, c.positive);
  EXPECT_EQ(d.step, r.step);
  EXPECT_EQ(d.dot, r.dot);
  EXPECT_EQ(GetDotIndex(r.step), r.dot);
  EXPECT_EQ(d.showIssueChoice, r.issue);
  EXPECT_EQ(d.showSUDChoice, r.sud);
  EXPECT_EQ(d.showThymus, r.thymus);
  EXPECT_EQ(d.showPanels, r.panels);
  EXPECT_EQ(d.showHands, r.hands);
  EXPECT_EQ(d.showBodyPicture, r.body);
  EXPECT_EQ(d.showIntroLabel, r.intro);

  // Step 5 always paints green; the first round's step 7 paints the polarity's colour.
  if (r.step == stpLeftHand) {
    EXPECT_TRUE(d.repaintDots);
    EXPECT_TRUE(d.dotsGreen);
  } else if (r.step == stpTopHead1 && c.count < 2) {
    EXPECT_TRUE(d.repaintDots);
    EXPECT_EQ(d.dotsGreen, c.positive);
  } else {
    EXPECT_FALSE(d.repaintDots);
  }
}

TEST_P(StepDisplayTest, TheEngineAppliesItInOrder) {
  const Case& c = GetParam();
  testing::MessageBoxRecorder boxes;  // invalid steps show catalogue messages
  testing::ReportRecorder reports;
  testing::FakeSessionView view;
  SessionEngine engine(view);
  SessionState& s = engine.MutableState();
  s.gblnPositiveRound = c.positive;
  s.glngRoundCount = c.count;
  s.genmSelectedIssue = issGuilt;
  const StepDisplay expected = GetStepDisplay(c.row.step, c.count, c.positive);

  engine.DisplayStep(c.row.step);

  std::vector<std::string> order = {"HideAllDots"};
  if (expected.repaintDots) order.push_back(expected.dotsGreen ? "Paint(green)" : "Paint(red)");
  order.push_back("Layout(" + std::to_string(c.row.step) + ")");
  order.push_back("Texts");
  EXPECT_EQ(view.log, order);
  EXPECT_EQ(view.layout, expected);
  EXPECT_EQ(engine.State().glngCurrentDot, c.row.dot);
  EXPECT_EQ(view.texts.toIntroLabel, c.row.intro);
  EXPECT_EQ(view.texts.instructions, GetStepInstructions(c.row.step, issGuilt, c.positive));
  if (c.row.step >= 1 && c.row.step <= 25) {
    EXPECT_EQ(view.texts.segmentTitle, GetSegmentTitle(c.row.step, c.positive));
    EXPECT_EQ(view.texts.currentPoint, modSteps::GetStepDescription(c.row.step));
    EXPECT_TRUE(boxes.requests.empty());
  }
  EXPECT_TRUE(reports.reports.empty());
}

INSTANTIATE_TEST_SUITE_P(EveryStep, StepDisplayTest, ::testing::ValuesIn(AllCases()),
                         [](const ::testing::TestParamInfo<Case>& info) {
                           const Case& c = info.param;
                           const std::string step =
                               c.row.step < 0 ? "minus" + std::to_string(-c.row.step) : std::to_string(c.row.step);
                           return "step" + step + (c.positive ? "_positive" : "_negative") + "_count" +
                                  std::to_string(c.count);
                         });

TEST(StepKindsTest, TimerAndBlinkSteps) {
  for (enmStep s = -1; s <= 26; ++s) {
    const bool untimed = (s >= 1 && s <= 4) || s == 24 || s == 25;
    EXPECT_EQ(IsTimedStep(s), !untimed) << s;
    EXPECT_EQ(IsBlinkingStep(s), !untimed && s != 23) << s;
  }
}

}  // namespace
}  // namespace serenitap
