#include "ui/main/layout.h"

#include <algorithm>
#include <cmath>

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

double RoundTwips(double twips) {
  const double floor = std::floor(twips);
  const double fraction = twips - floor;
  if (fraction > 0.5) return floor + 1;
  if (fraction < 0.5) return floor;
  return std::fmod(floor, 2) == 0 ? floor : floor + 1;
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

MainLayout ArrangeControls(const LayoutInput& window, MainLayout c) {
  const double W = window.width;
  const double H = window.height;
  const double TB = window.toolbarHeight;
  const double SB = window.statusBarHeight;

  // 1. The introduction label in the middle, never under the toolbar.
  {
    double T = RoundTwips(H - c.lblIntro.height);
    if (TB + 600 > T) T = TB + 600;
    MoveTo(c.lblIntro, std::max(0.0, RoundTwips(W - c.lblIntro.width)) / 2, T / 2);
  }
  // 2.-4. Two panes either side of the centre, the divider between them.
  Move(c.picLeftFrame, 0, TB, W / 2 - 45, H - TB - SB - 510);
  Move(c.picRightFrame, W / 2 + 45, TB, W / 2, H - TB - SB - 510);
  const TwipRect& LF = c.picLeftFrame;
  const TwipRect& RF = c.picRightFrame;
  Move(c.lblSplit, W / 2 - 45, TB + 300, 90, RF.height - 600);
  // 5.-6. Title and instructions in the left pane.
  Move(c.lblSegmentTitle, 300, 300, std::max(3900.0, RoundTwips(LF.width - 600)), c.lblSegmentTitle.height);
  {
    const double titleBottom = c.lblSegmentTitle.top + c.lblSegmentTitle.height;
    Move(c.lblLeftFrame, 300, titleBottom + 90, LF.width - 600, LF.height - titleBottom - 210);
  }
  // 7.-8. The body chart centred in the right pane, the point's name below;
  // scaled down where the pane cannot hold them (the pane's last 45 twips lie
  // past the window's edge, so 45 are kept free on either side).
  {
    const TwipRect chart = DesignRect("picShape");
    // Centred, the chart leaves the point's name and its gap free below it.
    const double room =
        std::min((RF.height - 2 * (150 + c.lblCurrentPoint.height)) / chart.height, (RF.width - 2 * 45) / chart.width);
    c.chartScale = std::clamp(room, 0.0, 1.0);
    Move(c.picShape, c.picShape.left, c.picShape.top, RoundTwips(chart.width * c.chartScale),
         RoundTwips(chart.height * c.chartScale));
  }
  const double chartLeft = std::max(0.0, RoundTwips((RF.width - c.picShape.width) / 2));
  MoveTo(c.picShape, chartLeft, std::max(0.0, RoundTwips((RF.height - c.picShape.height) / 2)));
  Move(c.lblCurrentPoint, chartLeft, RoundTwips(c.picShape.top + c.picShape.height + 150), c.picShape.width,
       c.lblCurrentPoint.height);
  // 9.-10. The issue list and the SUD scale, centred when they fit.
  MoveTo(c.fraMode, CentreOrZero(RF.width, c.fraMode.width), CentreOrZero(RF.height, c.fraMode.height));
  MoveTo(c.fraSUD_2, CentreOrZero(RF.width, c.fraSUD_2.width), CentreOrZero(RF.height, c.fraSUD_2.height));
  // 11. The hands side by side around the pane's centre, scaled down with
  // the gap between them where the pane cannot hold them with the margins
  // they have at the design size (195 twips either side).
  {
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
  // 12. Menu button and elapsed time at the right end of the status strip.
  c.cmdNav.left = W - c.cmdNav.width - 390;
  c.lblTime_New.left = c.cmdNav.left - 1200;
  // 13. The bottom row, centred on the window below the left pane.
  {
    const double top = RoundTwips(LF.top + LF.height + 30);
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
  // 14. The Web button keeps to the right edge when there is room for it.
  {
    const double B = RoundTwips(c.cmdWeb.width);
    c.cmdWeb.left = W >= window.toolbarRightEdge + 3 * B + 750 ? RoundTwips(W - B - 450) : 9540;
  }
  // 15. The round line in the top right corner of the picture pane, where the
  // chart leaves room beside the head.
  MoveTo(c.lblRoundLine, std::max(0.0, RoundTwips(RF.width - c.lblRoundLine.width - 150)), 60);
  return c;
}

}  // namespace serenitap::main_window
