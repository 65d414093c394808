// Bringing a stored window placement back onto the screens: a placement that
// is on a screen is used as stored; one that would lose the window is not.
#include <gtest/gtest.h>

#include <climits>

#include "settings/window_position.h"

namespace serenitap::testing {
namespace {

// Two screens side by side (1920 x 1040 and 1280 x 1024 pixels, in twips).
const TwipArea kLeftScreen{0, 0, 28800, 15600};
const TwipArea kRightScreen{28800, 0, 19200, 15360};
const PlacementLimits kLimits{5760, 3835, 510, 1440};

struct FitCase {
  const char* label;
  TwipArea stored;
  TwipArea expected;
};

void PrintTo(const FitCase& c, std::ostream* os) { *os << c.label; }

class PlacementFit : public ::testing::TestWithParam<FitCase> {};

TEST_P(PlacementFit, KeepsUsablePlacementsAndRescuesTheOthers) {
  const FitCase& c = GetParam();
  const TwipArea got = FitPlacementToScreens(c.stored, {kLeftScreen, kRightScreen}, kLimits);
  EXPECT_EQ(got, c.expected) << got.left << "," << got.top << " " << got.width << "x" << got.height;
}

INSTANTIATE_TEST_SUITE_P(
    Placements, PlacementFit,
    ::testing::Values(
        FitCase{"OnTheFirstScreen", {1500, 900, 17280, 11505}, {1500, 900, 17280, 11505}},
        FitCase{"OnTheSecondScreen", {30000, 600, 9000, 6000}, {30000, 600, 9000, 6000}},
        FitCase{"AcrossBothScreens", {20000, 0, 20000, 9000}, {20000, 0, 20000, 9000}},
        FitCase{"AtTheMinimum", {0, 0, 5760, 3835}, {0, 0, 5760, 3835}},
        FitCase{"TitleBarJustGrippable", {-8000, 100, 9440, 6000}, {-8000, 100, 9440, 6000}},
        FitCase{"PartlyBelowTheScreen", {1000, 14000, 9000, 6000}, {1000, 14000, 9000, 6000}},
        // Too large: cut to the desktop, moved in as far as it fits.
        FitCase{"LargestNumbers", {0, 0, INT_MAX, INT_MAX}, {0, 0, 48000, 15600}},
        FitCase{"TallerThanTheDesktop", {1000, 1000, 9000, 40000}, {1000, 0, 9000, 15600}},
        // Too small: raised to a third of the designed size.
        FitCase{"OnePixel", {3000, 3000, 15, 15}, {3000, 3000, 5760, 3835}},
        FitCase{"NegativeHeight", {3000, 3000, 9000, -500}, {3000, 3000, 9000, 3835}},
        FitCase{"SmallInTheCorner", {28000, 15000, 15, 15}, {23040, 11765, 5760, 3835}},
        // Title bar off every screen: moved onto the nearest one.
        FitCase{"FarLeft", {-100000, 1000, 10000, 8000}, {0, 1000, 10000, 8000}},
        FitCase{"FarRight", {900000, 1000, 10000, 8000}, {38000, 1000, 10000, 8000}},
        FitCase{"BelowEveryScreen", {1000, 20000, 10000, 8000}, {1000, 7600, 10000, 8000}},
        FitCase{"TitleBarAboveTheScreen", {1000, -300, 10000, 8000}, {1000, 0, 10000, 8000}},
        FitCase{"TitleBarBelowTheSecondScreen", {30000, 15100, 10000, 8000}, {30000, 7360, 10000, 8000}},
        FitCase{"TooLittleOfTheTitleBar", {-9000, 100, 10000, 6000}, {0, 100, 10000, 6000}},
        FitCase{"SmallestNumbers", {INT_MIN, INT_MIN, 9000, 6000}, {0, 0, 9000, 6000}}),
    [](const auto& info) { return std::string(info.param.label); });

TEST(PlacementFitWithoutScreens, UsesThePlacementAsStored) {
  const TwipArea stored{-5, 7, INT_MAX, 1};
  EXPECT_EQ(FitPlacementToScreens(stored, {}, kLimits), stored);
}

}  // namespace
}  // namespace serenitap::testing
