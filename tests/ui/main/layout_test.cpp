// The main window's layout arithmetic, in twips, for windows of many shapes.
#include <gtest/gtest.h>

#include "ui/main/layout.h"

namespace serenitap::main_window {
namespace {

TEST(LayoutUnits, RoundingAndPixels) {
  const std::pair<double, double> rounded[] = {{2.5, 2}, {3.5, 4}, {-2.5, -2}, {1.7, 2}, {-1.7, -2}, {8167.5, 8168}};
  for (const auto& [in, out] : rounded) EXPECT_EQ(RoundTwips(in), out) << in;
  const std::pair<double, int> pixels[] = {{7, 0}, {8, 1}, {17280, 1152}, {-30, -2}};
  for (const auto& [in, out] : pixels) EXPECT_EQ(TwipsToPixels(in), out) << in;
}

// Lays out a client area of the given size, starting from the design-size
// layout as when the user resizes the window after it opened.
MainLayout At(double width, double height) {
  const MainLayout design = ArrangeControls(WindowSizeForClient(17280, 10995, 6795), DesignLayout());
  return ArrangeControls(WindowSizeForClient(width, height, 6795), design);
}

double Right(const TwipRect& r) { return r.left + r.width; }

TEST(ArrangeControls, PanesSplitTheWindowAndFramesCentreInTheRightPane) {
  for (const auto& [w, h] : {std::pair{17280.0, 10995.0}, {30000.0, 15000.0}, {6000.0, 10995.0}, {17281.0, 10995.0}}) {
    SCOPED_TRACE(::testing::Message() << w << " x " << h);
    const MainLayout l = At(w, h);
    const TwipRect& pane = l.picRightFrame;
    EXPECT_EQ(Right(l.picLeftFrame), l.lblSplit.left);
    EXPECT_EQ(Right(l.lblSplit), pane.left);
    for (const TwipRect* frame : {&l.fraMode, &l.fraSUD_2, &l.picShape}) {
      EXPECT_NEAR(frame->left, std::max(0.0, (pane.width - frame->width) / 2), 0.5);
      EXPECT_NEAR(frame->top, std::max(0.0, (pane.height - frame->height) / 2), 0.5);
    }
    EXPECT_LE(Right(l.lblTime_New), l.cmdNav.left);  // the time stands left of the menu button
    EXPECT_LE(Right(l.picHandLeft), l.picHandRight.left);
    EXPECT_LT(Right(l.cmdNavig_Bottom0), l.cmdPause_Bottom.left);
    EXPECT_LT(Right(l.cmdPause_Bottom), l.cmdNavig_Bottom1.left);
  }
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
