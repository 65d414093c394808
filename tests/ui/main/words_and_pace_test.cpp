// The user's own words, pace and place in the round, in the real window: what
// is stored is used from the start, what is chosen is stored.
#include "settings/options.h"
#include "ui/main/main_window_fixture.h"

namespace serenitap {
namespace {

using namespace window_testing;

// A pace stored before the start holds every tapping point that long.
TEST_F(MainControllerTest, AStoredPaceHoldsEachPoint) {
  CloseWindow();
  ASSERT_EQ(modOptions::PointSeconds(4), "Success");
  OpenWindow();
  NextUntil(stpLeftHand);
  EXPECT_EQ(TicksUntilStepChanges(1002) + TicksUntilStepChanges(1001), 2001);  // the hands keep ten seconds
  ASSERT_EQ(step(), stpTopHead1);
  EXPECT_EQ(TicksUntilStepChanges(500), 400);
  EXPECT_EQ(TicksUntilStepChanges(500), 400);
}

}  // namespace
}  // namespace serenitap
