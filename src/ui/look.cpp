#include "ui/look.h"

#include <QApplication>
#include <array>
#include <cmath>
#include <utility>

#include "ui/fonts.h"

namespace serenitap {
namespace {

struct RoleColours {
  QPalette::ColorRole role;
  QRgb normal;    // active and inactive windows
  QRgb disabled;  // disabled controls
};

// clang-format off
constexpr std::array<RoleColours, 20> kDesigned{{
    {QPalette::WindowText,      0xff000000, 0xffbebebe},
    {QPalette::Button,          0xffefefef, 0xffefefef},
    {QPalette::Light,           0xffffffff, 0xffffffff},
    {QPalette::Midlight,        0xffcacaca, 0xffcacaca},
    {QPalette::Dark,            0xff9f9f9f, 0xffbebebe},
    {QPalette::Mid,             0xffb8b8b8, 0xffb8b8b8},
    {QPalette::Text,            0xff000000, 0xffbebebe},
    {QPalette::BrightText,      0xffffffff, 0xffffffff},
    {QPalette::ButtonText,      0xff000000, 0xffbebebe},
    {QPalette::Base,            0xffffffff, 0xffefefef},
    {QPalette::Window,          0xffefefef, 0xffefefef},
    {QPalette::Shadow,          0xff767676, 0xffb1b1b1},
    {QPalette::Highlight,       0xff308cc6, 0xff919191},
    {QPalette::HighlightedText, 0xffffffff, 0xffffffff},
    {QPalette::Link,            0xff0000ff, 0xff0000ff},
    {QPalette::LinkVisited,     0xffff00ff, 0xffff00ff},
    {QPalette::AlternateBase,   0xfff7f7f7, 0xfff7f7f7},
    {QPalette::ToolTipBase,     0xffffffdc, 0xffffffdc},
    {QPalette::ToolTipText,     0xff000000, 0xff000000},
    {QPalette::PlaceholderText, 0x80000000, 0x80000000},
}};
// clang-format on

// The share of light a colour channel gives, from its sRGB value.
double Linear(double channel) {
  return channel <= 0.04045 ? channel / 12.92 : std::pow((channel + 0.055) / 1.055, 2.4);
}

double Luminance(const QColor& c) {
  return 0.2126 * Linear(c.redF()) + 0.7152 * Linear(c.greenF()) + 0.0722 * Linear(c.blueF());
}

}  // namespace

QPalette DesignedPalette() {
  QPalette palette;
  for (const RoleColours& r : kDesigned) {
    palette.setColor(QPalette::Active, r.role, QColor::fromRgba(r.normal));
    palette.setColor(QPalette::Inactive, r.role, QColor::fromRgba(r.normal));
    palette.setColor(QPalette::Disabled, r.role, QColor::fromRgba(r.disabled));
  }
  return palette;
}

QFont DesignedTextFont(double points) {
  QFont font = DesignFont("Segoe UI");
  font.setPointSizeF(points);
  return font;
}

void ApplyDesignedLook() {
  QApplication::setPalette(DesignedPalette());
  QApplication::setFont(DesignedTextFont());
}

double ContrastRatio(const QColor& text, const QColor& background) {
  const double alpha = text.alphaF();
  const auto over = [alpha](double front, double back) { return front * alpha + back * (1 - alpha); };
  const QColor seen = QColor::fromRgbF(static_cast<float>(over(text.redF(), background.redF())),
                                       static_cast<float>(over(text.greenF(), background.greenF())),
                                       static_cast<float>(over(text.blueF(), background.blueF())));
  double lighter = Luminance(seen) + 0.05;
  double darker = Luminance(background) + 0.05;
  if (lighter < darker) std::swap(lighter, darker);
  return lighter / darker;
}

}  // namespace serenitap
