#pragma once
// The main window's pictures and button icons, drawn from their SVG files by
// the program itself. They use a small part of SVG (shapes, paths, groups and
// their colours), and drawing that part here keeps the toolkit's SVG library
// out of the window: its code, its document tree and its start-up work. A
// drawing is made exactly as the toolkit draws the same file, pixel for pixel.
//
// The main window's own pictures are drawn from a filled form of them, made
// when the program is built (FilledDrawing): its strokes turned into the
// outlines the toolkit's stroker makes of them, so that no stroke is worked
// out and no file is read while the window paints.
#include <QColor>
#include <QPainterPath>
#include <QRectF>
#include <QSize>
#include <QString>
#include <QTransform>
#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

class QPainter;

namespace serenitap {

// One point of a filled path: its kind (QPainterPath::ElementType: a move, a
// line, or a curve's point or control point) and where it lies.
struct FilledPathElement {
  std::uint8_t type = 0;
  float x = 0;
  float y = 0;
};

// One shape of a filled drawing, filled without a pen.
struct FilledShape {
  enum class Kind : std::uint8_t { Path, Rect, Ellipse };
  Kind kind = Kind::Path;
  bool winding = false;  // the fill rule: winding (a stroke's outline) or odd-even
  std::uint32_t argb = 0xff000000;
  double opacity = 1.0;                                  // the painter's while it fills
  std::array<double, 6> transform = {1, 0, 0, 1, 0, 0};  // m11 m12 m21 m22 dx dy, within the view box
  std::array<double, 4> bounds = {};                     // Rect, Ellipse: x y width height
  std::uint32_t first = 0;                               // Path: its elements in the drawing's
  std::uint32_t count = 0;
  // A stroke's outline also keeps the stroke: the painter draws a line no
  // wider than a device pixel as a hairline where the picture is drawn at one
  // scale across and down, and so does FilledDrawing. Its centre line's
  // elements follow the outline's.
  double lineWidth = 0;  // 0: not an outline
  std::uint16_t cap = Qt::FlatCap;
  std::uint16_t join = Qt::SvgMiterJoin;
  std::uint32_t centreCount = 0;
};

// A picture of filled shapes only, such as the build makes of an SVG file
// (SvgDrawing::Filled) and compiles in.
struct FilledDrawing {
  int width = 0;  // the size the file asks for
  int height = 0;
  std::array<double, 4> viewBox = {};  // x y width height
  std::span<const FilledShape> shapes;
  std::span<const FilledPathElement> elements;

  QSize DefaultSize() const { return {width, height}; }
  // Draws the picture stretched over target, as SvgDrawing::Render draws the file.
  void Render(QPainter& painter, const QRectF& target) const;
};

// The shapes and points a FilledDrawing shows, held.
struct FilledPicture {
  int width = 0;
  int height = 0;
  std::array<double, 4> viewBox = {};
  std::vector<FilledShape> shapes;
  std::vector<FilledPathElement> elements;

  FilledDrawing View() const { return {width, height, viewBox, shapes, elements}; }
};

class SvgDrawing {
 public:
  // The drawing in an SVG file (a file or a resource path),
  // or nothing when the file cannot be read or uses more of SVG than this
  // class draws: an unknown element, attribute or path command.
  static std::optional<SvgDrawing> Load(const QString& path);
  static std::optional<SvgDrawing> FromData(const QByteArray& data);

  // The size the file asks for (its width and height).
  QSize DefaultSize() const { return size_; }

  // Draws the picture stretched over target.
  void Render(QPainter& painter, const QRectF& target) const;

  // The same picture filled only: each stroke becomes the outline the
  // toolkit's stroker makes of it with the stroke's width, cap, join and
  // miter limit, in the picture's own units and following its curves as
  // closely as the painter does, filled with the stroke's colour at its
  // opacity. Drawn, it looks as the picture does (a hairline stays one).
  FilledPicture Filled() const;

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
