#include "ui/main/layout.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace serenitap::main_window {
namespace {

TwipRect DesignRect(std::string_view name, int index = -1) {
  const ControlDesign* design = FindControl(name, index);
  return design ? design->geometry : TwipRect{};
}

// Moves a control unless the new size is negative, which the controls do
// not accept: then the control keeps its place and size.
void Move(TwipRect& control, double left, double top, double width, double height) {
  if (width < 0 || height < 0) return;
  control = {left, top, width, height};
}

void MoveTo(TwipRect& control, double left, double top) { Move(control, left, top, control.width, control.height); }

// Centres a frame in the pane, or puts it at the pane's edge when the pane
// is not larger than the frame.
double CentreOrZero(double pane, double frame) { return pane > frame ? RoundTwips((pane - frame) / 2) : 0; }

}  // namespace

// Whole twips, halves to even; worked out without the maths library, as
// TwipsToPixels (twips.h).
double RoundTwips(double twips) {
  auto whole = static_cast<std::int64_t>(twips);  // towards zero
  if (static_cast<double>(whole) > twips) --whole;
  const double fraction = twips - static_cast<double>(whole);
  if (fraction > 0.5 || (fraction == 0.5 && whole % 2 != 0)) ++whole;
  return static_cast<double>(whole);
}

TwipRect Scaled(const TwipRect& design, double scale) {
  return {RoundTwips(design.left * scale), RoundTwips(design.top * scale), RoundTwips(design.width * scale),
          RoundTwips(design.height * scale)};
}

LayoutInput WindowSizeForClient(double clientWidth, double clientHeight, double toolbarRightEdge) {
  LayoutInput input;
  input.width = clientWidth;
  input.height = clientHeight + kNonClientHeight;
  input.toolbarRightEdge = toolbarRightEdge;
  return input;
}

MainLayout DesignLayout() {
  MainLayout l;
  l.lblIntro = DesignRect("lblIntro");
  l.lblSegmentTitle = DesignRect("lblSegmentTitle");
  l.picShape = DesignRect("picShape");
  l.lblCurrentPoint = DesignRect("lblCurrentPoint");
  l.fraMode = DesignRect("fraMode");
  l.fraSUD_2 = DesignRect("fraSUD_2");
  l.picHandLeft = DesignRect("picHandLeft");
  l.picHandRight = DesignRect("picHandRight");
  l.cmdNav = DesignRect("cmdNav");
  l.lblTime_New = DesignRect("lblTime_New");
  l.cmdNavig_Bottom0 = DesignRect("cmdNavig_Bottom", 0);
  l.cmdNavig_Bottom1 = DesignRect("cmdNavig_Bottom", 1);
  l.cmdPause_Bottom = DesignRect("cmdPause_Bottom");
  l.cmdResume_Bottom = DesignRect("cmdResume_Bottom");
  l.cmdWeb = DesignRect("cmdWeb");
  l.lblRoundLine = DesignRect("lblRoundLine");
  return l;
}

namespace {

// Each rule below places some controls for the window's size; ArrangeControls
// applies them in the order they stand here, since a later one builds on the
// panes an earlier one placed.

// The introduction label in the middle, never under the toolbar.
void PlaceIntroduction(const LayoutInput& window, MainLayout& c) {
  double top = RoundTwips(window.height - c.lblIntro.height);
  if (window.toolbarHeight + 600 > top) top = window.toolbarHeight + 600;
  MoveTo(c.lblIntro, std::max(0.0, RoundTwips(window.width - c.lblIntro.width)) / 2, top / 2);
}

// Two panes either side of the centre between the strips, the divider between them.
void SplitPanes(const LayoutInput& window, MainLayout& c) {
  const double W = window.width;
  const double TB = window.toolbarHeight;
  const double paneHeight = window.height - TB - window.statusBarHeight - 510;
  Move(c.picLeftFrame, 0, TB, W / 2 - 45, paneHeight);
  Move(c.picRightFrame, W / 2 + 45, TB, W / 2, paneHeight);
  Move(c.lblSplit, W / 2 - 45, TB + 300, 90, c.picRightFrame.height - 600);
}

// The segment title at the top of the left pane, the instructions filling the rest.
void FillInstructionPane(MainLayout& c) {
  const TwipRect& LF = c.picLeftFrame;
  Move(c.lblSegmentTitle, 300, 300, std::max(3900.0, RoundTwips(LF.width - 600)), c.lblSegmentTitle.height);
  const double titleBottom = c.lblSegmentTitle.top + c.lblSegmentTitle.height;
  Move(c.lblLeftFrame, 300, titleBottom + 90, LF.width - 600, LF.height - titleBottom - 210);
}

// The body chart centred in the right pane, the point's name below it;
// scaled down where the pane cannot hold them (the pane's last 45 twips lie
// past the window's edge, so 45 are kept free on either side).
void FitBodyChart(MainLayout& c) {
  const TwipRect& RF = c.picRightFrame;
  const TwipRect chart = DesignRect("picShape");
  // Centred, the chart leaves the point's name and its gap free below it.
  const double room =
      std::min((RF.height - 2 * (150 + c.lblCurrentPoint.height)) / chart.height, (RF.width - 2 * 45) / chart.width);
  c.chartScale = std::clamp(room, 0.0, 1.0);
  Move(c.picShape, c.picShape.left, c.picShape.top, RoundTwips(chart.width * c.chartScale),
       RoundTwips(chart.height * c.chartScale));
  const double chartLeft = std::max(0.0, RoundTwips((RF.width - c.picShape.width) / 2));
  MoveTo(c.picShape, chartLeft, std::max(0.0, RoundTwips((RF.height - c.picShape.height) / 2)));
  Move(c.lblCurrentPoint, chartLeft, RoundTwips(c.picShape.top + c.picShape.height + 150), c.picShape.width,
       c.lblCurrentPoint.height);
}

// The issue list and the SUD scale in the middle of the right pane when they fit.
void CentreChoices(MainLayout& c) {
  const TwipRect& RF = c.picRightFrame;
  MoveTo(c.fraMode, CentreOrZero(RF.width, c.fraMode.width), CentreOrZero(RF.height, c.fraMode.height));
  MoveTo(c.fraSUD_2, CentreOrZero(RF.width, c.fraSUD_2.width), CentreOrZero(RF.height, c.fraSUD_2.height));
}

// The hands side by side around the right pane's centre, scaled down with
// the gap between them where the pane cannot hold them with the margins
// they have at the design size (195 twips either side).
void FitHands(MainLayout& c) {
  const TwipRect& RF = c.picRightFrame;
  const TwipRect hand = DesignRect("picHandLeft");
  c.handScale = std::clamp(std::min((RF.width - 390) / (2 * hand.width + 600), RF.height / hand.height), 0.0, 1.0);
  const double width = RoundTwips(hand.width * c.handScale);
  const double height = RoundTwips(hand.height * c.handScale);
  const double gap = 300 * c.handScale;
  Move(c.picHandLeft, c.picHandLeft.left, c.picHandLeft.top, width, height);
  Move(c.picHandRight, c.picHandRight.left, c.picHandRight.top, width, height);
  const double top = std::max(0.0, RoundTwips((RF.height - c.picHandLeft.height) / 2));
  const double L = RoundTwips(RF.width / 2 - c.picHandLeft.width - gap);
  if (L < 0) {
    MoveTo(c.picHandLeft, 0, top);
    MoveTo(c.picHandRight, RoundTwips(c.picHandLeft.width + 2 * gap), top);
  } else {
    MoveTo(c.picHandLeft, L, top);
    MoveTo(c.picHandRight, RoundTwips(RF.width / 2 + gap), top);
  }
}

// The menu button and the elapsed time at the right end of the status strip.
void PlaceMenuAndTime(const LayoutInput& window, MainLayout& c) {
  c.cmdNav.left = window.width - c.cmdNav.width - 390;
  c.lblTime_New.left = c.cmdNav.left - 1200;
}

// The bottom row of picture buttons, centred on the window below the left pane.
void PlaceBottomRow(const LayoutInput& window, MainLayout& c) {
  const double W = window.width;
  const double top = RoundTwips(c.picLeftFrame.top + c.picLeftFrame.height + 30);
  const double L0 = RoundTwips(W / 2 - c.cmdNavig_Bottom0.width - 600);
  if (L0 < 0) {
    MoveTo(c.cmdNavig_Bottom0, 0, top);
    MoveTo(c.cmdNavig_Bottom1, RoundTwips(c.cmdNavig_Bottom0.width + 1200), top);
  } else {
    MoveTo(c.cmdNavig_Bottom0, L0, top);
    MoveTo(c.cmdNavig_Bottom1, RoundTwips(W / 2 + 600), top);
  }
  const double middle = RoundTwips(W / 2 - c.cmdPause_Bottom.width / 2);
  MoveTo(c.cmdPause_Bottom, middle, top);
  MoveTo(c.cmdResume_Bottom, middle, top);
}

// The Web button keeps to the toolbar's right edge when there is room for it.
void PlaceWebButton(const LayoutInput& window, MainLayout& c) {
  const double B = RoundTwips(c.cmdWeb.width);
  c.cmdWeb.left = window.width >= window.toolbarRightEdge + 3 * B + 750 ? RoundTwips(window.width - B - 450) : 9540;
}

// The round line in the top right corner of the picture pane, where the
// chart leaves room beside the head.
void PlaceRoundLine(MainLayout& c) {
  MoveTo(c.lblRoundLine, std::max(0.0, RoundTwips(c.picRightFrame.width - c.lblRoundLine.width - 150)), 60);
}

}  // namespace

MainLayout ArrangeControls(const LayoutInput& window, MainLayout c) {
  PlaceIntroduction(window, c);
  SplitPanes(window, c);
  FillInstructionPane(c);
  FitBodyChart(c);
  CentreChoices(c);
  FitHands(c);
  PlaceMenuAndTime(window, c);
  PlaceBottomRow(window, c);
  PlaceWebButton(window, c);
  PlaceRoundLine(c);
  return c;
}

}  // namespace serenitap::main_window
