#pragma once
// Where the main window's controls go for a given window size. Plain
// arithmetic in twips: the window hands in its size and the controls'
// current rectangles and applies the rectangles it gets back.
#include "ui/main/control_table.h"
#include "ui/twips.h"

namespace serenitap::main_window {

// Rounds to a whole twip, halves to even (2.5 -> 2, 3.5 -> 4).
double RoundTwips(double twips);

using serenitap::kTwipsPerPixel;
using serenitap::PixelsToTwips;
using serenitap::TwipsToPixels;

// The window as the layout sees it. The width and height are the window's
// outer size, which the rules were drawn up for; the window derives them
// from its client area with WindowSizeForClient.
struct LayoutInput {
  double width = 0;
  double height = 0;
  double toolbarHeight = kToolbarHeight;
  double statusBarHeight = kStatusBarHeight;
  double toolbarRightEdge = 6795;  // right edge of the left group of toolbar buttons
};

// Height of caption bar and borders that the rules allow for below the
// client area.
inline constexpr double kNonClientHeight = 510;
LayoutInput WindowSizeForClient(double clientWidth, double clientHeight, double toolbarRightEdge);

// The rectangles the layout sets, relative to each control's container.
struct MainLayout {
  TwipRect lblIntro;
  TwipRect picLeftFrame;
  TwipRect picRightFrame;
  TwipRect lblSplit;
  TwipRect lblSegmentTitle;
  TwipRect lblLeftFrame;
  TwipRect picShape;
  TwipRect lblCurrentPoint;
  TwipRect fraMode;
  TwipRect fraSUD_2;
  TwipRect picHandLeft;
  TwipRect picHandRight;
  TwipRect cmdNav;
  TwipRect lblTime_New;
  TwipRect cmdNavig_Bottom0;
  TwipRect cmdNavig_Bottom1;
  TwipRect cmdPause_Bottom;
  TwipRect cmdResume_Bottom;
  TwipRect cmdWeb;
  TwipRect lblRoundLine;
  // How much the body chart and the hands are scaled down to fit their pane
  // (1 where the pane holds them at their design size). The dots on them
  // scale with them.
  double chartScale = 1;
  double handScale = 1;
  friend bool operator==(const MainLayout&, const MainLayout&) = default;
};

// A rectangle inside a picture at `scale` times its design size and offset.
TwipRect Scaled(const TwipRect& design, double scale);

// The controls' rectangles before the first layout: their design sizes.
MainLayout DesignLayout();

// Applies the layout's rules in order to `current` and returns the result:
// PlaceIntroduction, SplitPanes, FillInstructionPane, FitBodyChart,
// CentreChoices, FitHands, PlaceMenuAndTime, PlaceBottomRow, PlaceWebButton
// and PlaceRoundLine (layout.cpp).
// A rule that would give a control a negative width or height leaves that
// control where it was; the other rules still apply. Where the right pane is
// smaller than the body chart with the point's name below it, or than the
// two hands side by side, they are scaled down, keeping their proportions,
// until they fit; at the design size nothing is scaled.
MainLayout ArrangeControls(const LayoutInput& window, MainLayout current);

}  // namespace serenitap::main_window
