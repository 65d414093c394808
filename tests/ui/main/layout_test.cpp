// The main window's layout arithmetic, in twips, for windows of many shapes.
#include <gtest/gtest.h>

#include <tuple>
#include <utility>

#include "ui/main/layout.h"

namespace serenitap::main_window {
namespace {

// Lays out a client area of the given size, starting from the design-size
// layout as when the user resizes the window after it opened.
MainLayout At(double width, double height) {
  const MainLayout design = ArrangeControls(WindowSizeForClient(17280, 10995, 6795), DesignLayout());
  return ArrangeControls(WindowSizeForClient(width, height, 6795), design);
}

// Both roundings are the program's own (no maths library): halves, and the
// negative side, where a strip's label sits above its top edge.
TEST(Rounding, TwipsHalvesToEvenPixelsHalvesAwayFromZero) {
  for (const auto& [twips, whole] : {std::pair{2.5, 2.0}, {3.5, 4.0}, {-2.5, -2.0}, {-3.5, -4.0}, {-24.9, -25.0}})
    EXPECT_EQ(RoundTwips(twips), whole) << twips;
  EXPECT_EQ(std::make_tuple(TwipsToPixels(22.5), TwipsToPixels(-22.5), TwipsToPixels(-22.4)),
            std::make_tuple(2, -2, -1));
}

TEST(ArrangeControls, DesignSizeAndFallbacks) {
  const MainLayout design = At(17280, 10995);
  EXPECT_EQ(design.lblIntro, (TwipRect{3862.5, 2655, 9555, 6195}));
  // The pictures at their design size; on a 1024 x 600 screen scaled to the
  // pane, keeping their proportions.
  EXPECT_EQ(std::make_pair(design.chartScale, design.handScale), std::make_pair(1.0, 1.0));
  EXPECT_EQ(design.picShape, (TwipRect{750, 652, 7140, 8535}));
  EXPECT_EQ(design.picHandLeft, (TwipRect{195, 3712, 3825, 2415}));
  const MainLayout laptop = At(15360, 8490);
  EXPECT_NEAR(laptop.picShape.width / laptop.picShape.height, 7140.0 / 8535, 0.001);
  EXPECT_LE(laptop.lblCurrentPoint.top + laptop.lblCurrentPoint.height, laptop.picRightFrame.height);
  EXPECT_LE(laptop.picHandRight.left + laptop.picHandRight.width, laptop.picRightFrame.width - 45);
  // The Web button keeps to the right edge down to 6795 + 3 x 1215 + 750 twips.
  EXPECT_EQ(design.cmdWeb.left, 15615);
  EXPECT_EQ(At(11190, 10995).cmdWeb.left, 9525);
  EXPECT_EQ(At(11189, 10995).cmdWeb.left, 9540);
  // Too narrow for the hands and the bottom row: they go to fixed offsets;
  // the title keeps its minimum width.
  const MainLayout narrow = At(2000, 10995);
  EXPECT_EQ(std::make_pair(narrow.cmdNavig_Bottom0.left, narrow.cmdNavig_Bottom1.left), std::make_pair(0.0, 2145.0));
  EXPECT_EQ(narrow.lblSegmentTitle.width, 3900);
  // Short: the introduction stays below the toolbar; a size that would turn
  // negative keeps the control where it was.
  const MainLayout short1500 = At(17280, 1500);
  EXPECT_EQ(short1500.lblIntro.top, 645);
  EXPECT_EQ(short1500.picLeftFrame, (TwipRect{0, 690, 8595, 345}));
  EXPECT_EQ(short1500.lblLeftFrame, design.lblLeftFrame);
  EXPECT_EQ(At(17280, 900).picLeftFrame, design.picLeftFrame);
}

}  // namespace
}  // namespace serenitap::main_window
