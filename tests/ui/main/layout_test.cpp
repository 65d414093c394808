// The main window's layout arithmetic, in twips, for windows of many shapes.
#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "ui/main/layout.h"

namespace serenitap::main_window {
namespace {

TEST(RoundTwips, RoundsHalvesToEven) {
  const std::pair<double, double> cases[] = {{2.5, 2},    {3.5, 4},     {-2.5, -2},   {-1.5, -2}, {652.5, 652},
                                             {4207.5, 4208}, {1.2, 1}, {1.7, 2}, {-1.7, -2}, {8167.5, 8168}};
  for (const auto& [in, out] : cases) EXPECT_EQ(RoundTwips(in), out) << in;
}

TEST(TwipsToPixels, FifteenTwipsAPixel) {
  const std::pair<double, int> cases[] = {{15, 1}, {7, 0}, {8, 1}, {17280, 1152}, {10995, 733}, {-30, -2}};
  for (const auto& [in, out] : cases) EXPECT_EQ(TwipsToPixels(in), out) << in;
}

TEST(WindowSizeForClient, AddsTheNonClientHeightOnly) {
  const LayoutInput in = WindowSizeForClient(17280, 10995, 6795);
  EXPECT_EQ(in.width, 17280);
  EXPECT_EQ(in.height, 11505);
  EXPECT_EQ(in.toolbarRightEdge, 6795);
}

// A control's rectangle picked out of the layout by name.
using Pick = std::function<TwipRect(const MainLayout&)>;
#define PICK(field) #field, [](const MainLayout& l) { return l.field; }

struct LayoutCase {
  const char* window;  // which window the row belongs to
  double clientWidth;
  double clientHeight;
  const char* control;
  Pick pick;
  TwipRect expected;
};

std::ostream& operator<<(std::ostream& os, const LayoutCase& c) {
  return os << c.window << " " << c.control;
}

class ArrangeControlsTable : public ::testing::TestWithParam<LayoutCase> {};

TEST_P(ArrangeControlsTable, PlacesTheControl) {
  const LayoutCase& c = GetParam();
  // Every window is laid out starting from the design-size layout, as when
  // the user resizes the window after it opened.
  const MainLayout atDesign = ArrangeControls(WindowSizeForClient(17280, 10995, 6795), DesignLayout());
  const MainLayout result = ArrangeControls(WindowSizeForClient(c.clientWidth, c.clientHeight, 6795), atDesign);
  EXPECT_EQ(c.pick(result), c.expected);
}

// The window as it opens: 17280 x 10995 twips of client area.
INSTANTIATE_TEST_SUITE_P(DesignSize, ArrangeControlsTable, ::testing::Values(
    LayoutCase{"design", 17280, 10995, PICK(lblIntro), {3862.5, 2655, 9555, 6195}},
    LayoutCase{"design", 17280, 10995, PICK(picLeftFrame), {0, 690, 8595, 9840}},
    LayoutCase{"design", 17280, 10995, PICK(picRightFrame), {8685, 690, 8640, 9840}},
    LayoutCase{"design", 17280, 10995, PICK(lblSplit), {8595, 990, 90, 9240}},
    LayoutCase{"design", 17280, 10995, PICK(lblSegmentTitle), {300, 300, 7995, 555}},
    LayoutCase{"design", 17280, 10995, PICK(lblLeftFrame), {300, 945, 7995, 8775}},
    LayoutCase{"design", 17280, 10995, PICK(picShape), {750, 652, 7140, 8535}},
    LayoutCase{"design", 17280, 10995, PICK(lblCurrentPoint), {750, 9337, 7140, 495}},
    LayoutCase{"design", 17280, 10995, PICK(fraMode), {750, 652, 7140, 8535}},
    LayoutCase{"design", 17280, 10995, PICK(fraSUD_2), {975, 4208, 6690, 1425}},
    LayoutCase{"design", 17280, 10995, PICK(picHandLeft), {195, 3712, 3825, 2415}},
    LayoutCase{"design", 17280, 10995, PICK(picHandRight), {4620, 3712, 3825, 2415}},
    LayoutCase{"design", 17280, 10995, PICK(cmdNav), {16500, 15, 390, 390}},
    LayoutCase{"design", 17280, 10995, PICK(lblTime_New), {15300, -30, 735, 465}},
    LayoutCase{"design", 17280, 10995, PICK(cmdNavig_Bottom0), {7095, 10560, 945, 945}},
    LayoutCase{"design", 17280, 10995, PICK(cmdNavig_Bottom1), {9240, 10560, 945, 945}},
    LayoutCase{"design", 17280, 10995, PICK(cmdPause_Bottom), {8168, 10560, 945, 945}},
    LayoutCase{"design", 17280, 10995, PICK(cmdResume_Bottom), {8168, 10560, 945, 945}},
    LayoutCase{"design", 17280, 10995, PICK(cmdWeb), {15615, 135, 1215, 375}}));

// Short windows: the introduction stays below the toolbar; a control whose
// size would turn negative keeps its design-size rectangle.
INSTANTIATE_TEST_SUITE_P(Short, ArrangeControlsTable, ::testing::Values(
    LayoutCase{"h1500", 17280, 1500, PICK(lblIntro), {3862.5, 645, 9555, 6195}},
    LayoutCase{"h1500", 17280, 1500, PICK(picLeftFrame), {0, 690, 8595, 345}},
    LayoutCase{"h1500", 17280, 1500, PICK(lblLeftFrame), {300, 945, 7995, 8775}},
    LayoutCase{"h1500", 17280, 1500, PICK(picShape), {750, 0, 7140, 8535}},
    LayoutCase{"h1500", 17280, 1500, PICK(lblCurrentPoint), {750, 8685, 7140, 495}},
    LayoutCase{"h1500", 17280, 1500, PICK(fraSUD_2), {975, 0, 6690, 1425}},
    LayoutCase{"h1500", 17280, 1500, PICK(picHandLeft), {195, 0, 3825, 2415}},
    LayoutCase{"h1500", 17280, 1500, PICK(cmdNavig_Bottom0), {7095, 1065, 945, 945}},
    // Shorter still: the panes themselves keep their design rectangles and
    // the rules after them read those.
    LayoutCase{"h900", 17280, 900, PICK(picLeftFrame), {0, 690, 8595, 9840}},
    LayoutCase{"h900", 17280, 900, PICK(cmdNavig_Bottom1), {9240, 10560, 945, 945}}));

// Narrow windows: the title keeps its minimum width, frames and pictures go
// to the pane's edge, the hands and the bottom row fall back to fixed
// offsets and the Web button to its fixed place.
INSTANTIATE_TEST_SUITE_P(Narrow, ArrangeControlsTable, ::testing::Values(
    LayoutCase{"w6000", 6000, 10995, PICK(lblIntro), {0, 2655, 9555, 6195}},
    LayoutCase{"w6000", 6000, 10995, PICK(picLeftFrame), {0, 690, 2955, 9840}},
    LayoutCase{"w6000", 6000, 10995, PICK(lblSplit), {2955, 990, 90, 9240}},
    LayoutCase{"w6000", 6000, 10995, PICK(lblSegmentTitle), {300, 300, 3900, 555}},
    LayoutCase{"w6000", 6000, 10995, PICK(lblLeftFrame), {300, 945, 2355, 8775}},
    LayoutCase{"w6000", 6000, 10995, PICK(picShape), {0, 652, 7140, 8535}},
    LayoutCase{"w6000", 6000, 10995, PICK(fraSUD_2), {0, 4208, 6690, 1425}},
    LayoutCase{"w6000", 6000, 10995, PICK(picHandLeft), {0, 3712, 3825, 2415}},
    LayoutCase{"w6000", 6000, 10995, PICK(cmdNav), {5220, 15, 390, 390}},
    LayoutCase{"w6000", 6000, 10995, PICK(lblTime_New), {4020, -30, 735, 465}},
    LayoutCase{"w6000", 6000, 10995, PICK(cmdNavig_Bottom0), {1455, 10560, 945, 945}},
    LayoutCase{"w6000", 6000, 10995, PICK(cmdPause_Bottom), {2528, 10560, 945, 945}},
    LayoutCase{"w6000", 6000, 10995, PICK(cmdWeb), {9540, 135, 1215, 375}},
    LayoutCase{"w2000", 2000, 10995, PICK(cmdNavig_Bottom0), {0, 10560, 945, 945}},
    LayoutCase{"w2000", 2000, 10995, PICK(cmdNavig_Bottom1), {2145, 10560, 945, 945}},
    LayoutCase{"w2000", 2000, 10995, PICK(cmdPause_Bottom), {528, 10560, 945, 945}},
    // The Web button's threshold: 6795 + 3 x 1215 + 750 = 11190.
    LayoutCase{"w11190", 11190, 10995, PICK(cmdWeb), {9525, 135, 1215, 375}},
    LayoutCase{"w11189", 11189, 10995, PICK(cmdWeb), {9540, 135, 1215, 375}}));

// A large window: everything centred, halves kept where the rules keep them.
INSTANTIATE_TEST_SUITE_P(Wide, ArrangeControlsTable, ::testing::Values(
    LayoutCase{"30000x15000", 30000, 15000, PICK(lblIntro), {10222.5, 4657.5, 9555, 6195}},
    LayoutCase{"30000x15000", 30000, 15000, PICK(picLeftFrame), {0, 690, 14955, 13845}},
    LayoutCase{"30000x15000", 30000, 15000, PICK(lblLeftFrame), {300, 945, 14355, 12780}},
    LayoutCase{"30000x15000", 30000, 15000, PICK(picShape), {3930, 2655, 7140, 8535}},
    LayoutCase{"30000x15000", 30000, 15000, PICK(picHandLeft), {3375, 5715, 3825, 2415}},
    LayoutCase{"30000x15000", 30000, 15000, PICK(cmdPause_Bottom), {14528, 14565, 945, 945}},
    LayoutCase{"30000x15000", 30000, 15000, PICK(cmdWeb), {28335, 135, 1215, 375}},
    // An odd width leaves half twips in the panes.
    LayoutCase{"odd", 17281, 10995, PICK(picLeftFrame), {0, 690, 8595.5, 9840}},
    LayoutCase{"odd", 17281, 10995, PICK(picRightFrame), {8685.5, 690, 8640.5, 9840}}));

TEST(ArrangeControls, GivesTheSameResultWhenRunTwice) {
  const LayoutInput in = WindowSizeForClient(12345, 8765, 6795);
  const MainLayout once = ArrangeControls(in, DesignLayout());
  EXPECT_EQ(ArrangeControls(in, once), once);
}

TEST(ArrangeControls, ShrinkingAndRestoringComesBackToTheDesignLayout) {
  const LayoutInput design = WindowSizeForClient(17280, 10995, 6795);
  const MainLayout first = ArrangeControls(design, DesignLayout());
  MainLayout l = first;
  for (const double h : {3000.0, 900.0, 100.0}) l = ArrangeControls(WindowSizeForClient(1000, h, 6795), l);
  EXPECT_EQ(ArrangeControls(design, l), first);
}

}  // namespace
}  // namespace serenitap::main_window
