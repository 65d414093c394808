#include "ui/main/window_placement.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>
#include <algorithm>

#include "ui/main/layout.h"

namespace serenitap::main_window {
namespace {

TwipArea InTwips(const QRect& r) {
  const auto twips = [](int pixels) { return static_cast<std::int32_t>(PixelsToTwips(pixels)); };
  return {twips(r.x()), twips(r.y()), twips(r.width()), twips(r.height())};
}

}  // namespace

std::vector<ScreenArea> ScreensInTwips() {
  std::vector<ScreenArea> screens;
  const QScreen* primary = QGuiApplication::primaryScreen();
  if (primary != nullptr) screens.push_back({InTwips(primary->geometry()), InTwips(primary->availableGeometry())});
  for (const QScreen* screen : QGuiApplication::screens()) {
    if (screen != primary) screens.push_back({InTwips(screen->geometry()), InTwips(screen->availableGeometry())});
  }
  return screens;
}

PlacementLimits MainWindowLimits() {
  PlacementLimits limits;
  limits.designWidth = static_cast<std::int32_t>(kDesignClientWidth);
  limits.designHeight = static_cast<std::int32_t>(kDesignClientHeight + kNonClientHeight);
  limits.minWidth = limits.designWidth / 3;
  limits.minHeight = limits.designHeight / 3;
  limits.titleBarHeight = static_cast<std::int32_t>(kNonClientHeight);
  limits.grip = 1440;
  limits.borders = 120;  // four pixels a side
  return limits;
}

void ApplyPlacement(QWidget& window, const PlacementDecision& decision) {
  const TwipArea& g = decision.geometry;
  window.move(TwipsToPixels(g.left), TwipsToPixels(g.top));
  window.resize(std::max(1, TwipsToPixels(g.width)), std::max(1, TwipsToPixels(g.height - kNonClientHeight)));
  if (decision.window_state == kWindowStateMaximized) {
    window.setWindowState(window.windowState() | Qt::WindowMaximized);
  }
}

WindowPlacement CurrentPlacement(const QWidget& window) {
  const QRect frame = window.frameGeometry();
  WindowPlacement placement;
  placement.left = PixelsToTwips(frame.x());
  placement.top = PixelsToTwips(frame.y());
  placement.width = PixelsToTwips(window.width());
  placement.height = PixelsToTwips(window.height()) + kNonClientHeight;
  placement.window_state = window.isMaximized() ? kWindowStateMaximized : kWindowStateNormal;
  return placement;
}

}  // namespace serenitap::main_window
