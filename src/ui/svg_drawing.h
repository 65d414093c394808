#pragma once
// The main window's pictures and button icons, drawn from their SVG files by
// the program itself. They use a small part of SVG (shapes, paths, groups and
// their colours), and drawing that part here keeps the toolkit's SVG library
// out of the window: its code, its document tree and its start-up work. A
// drawing is made exactly as the toolkit draws the same file, pixel for pixel.
#include <QColor>
#include <QPainterPath>
#include <QRectF>
#include <QSize>
#include <QString>
#include <QTransform>
#include <optional>
#include <vector>

class QPainter;

namespace serenitap {

class SvgDrawing {
 public:
  // The drawing in an SVG file (a resource path such as ":/pictures/...svg"),
  // or nothing when the file cannot be read or uses more of SVG than this
  // class draws: an unknown element, attribute or path command.
  static std::optional<SvgDrawing> Load(const QString& path);
  static std::optional<SvgDrawing> FromData(const QByteArray& data);

  // The size the file asks for (its width and height).
  QSize DefaultSize() const { return size_; }

  // Draws the picture stretched over target.
  void Render(QPainter& painter, const QRectF& target) const;

 private:
  // What a shape is painted with; unset parts come from the enclosing group.
  struct Style {
    std::optional<QColor> fill;  // an invalid colour is "none"
    std::optional<QColor> stroke;
    std::optional<double> strokeWidth;
    std::optional<double> strokeOpacity;
    std::optional<Qt::PenCapStyle> cap;
    std::optional<Qt::PenJoinStyle> join;
    std::optional<QTransform> transform;
  };
  enum class Kind { Group, EndGroup, Path, Rect, Ellipse };
  struct Item {
    Kind kind = Kind::Group;
    Style style;
    QPainterPath path;  // Path
    QRectF bounds;      // Rect, Ellipse
  };

  QSize size_;
  QRectF viewBox_;
  std::vector<Item> items_;  // in drawing order; groups open and close around their shapes
};

}  // namespace serenitap
