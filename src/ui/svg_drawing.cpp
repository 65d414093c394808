#include "ui/svg_drawing.h"

#include <QFile>
#include <QPainter>
#include <QPainterPathStroker>
#include <QStringView>
#include <QXmlStreamReader>
#include <algorithm>
#include <cmath>
#include <utility>

namespace serenitap {
namespace {

std::optional<double> Number(QStringView text) {
  bool ok = false;
  const double value = text.trimmed().toDouble(&ok);
  if (!ok) return std::nullopt;
  return value;
}

// A path's "d": absolute moves, lines and curves, which is all the
// program's pictures use. A command's numbers may repeat (a move's then
// draw lines), as SVG allows.
std::optional<QPainterPath> ParsePath(QStringView data) {
  QPainterPath path;
  QChar command;
  std::vector<double> numbers;
  QPointF start;
  QPointF current;
  auto flush = [&]() -> bool {
    if (command.isNull()) return numbers.empty();
    std::size_t used = 0;
    auto take = [&](std::size_t count) {
      used += count;
      return used <= numbers.size();
    };
    auto at = [&](std::size_t i) { return numbers[used - i]; };
    const char c = command.toLatin1();
    if (c == 'Z') {
      if (!numbers.empty()) return false;
      path.closeSubpath();
      current = start;
      return true;
    }
    do {
      switch (c) {
        case 'M':
          if (!take(2)) return false;
          current = {at(2), at(1)};
          if (used == 2) {
            path.moveTo(current);
            start = current;
          } else {
            path.lineTo(current);
          }
          break;
        case 'L':
          if (!take(2)) return false;
          current = {at(2), at(1)};
          path.lineTo(current);
          break;
        case 'H':
          if (!take(1)) return false;
          current.setX(at(1));
          path.lineTo(current);
          break;
        case 'V':
          if (!take(1)) return false;
          current.setY(at(1));
          path.lineTo(current);
          break;
        case 'C':
          if (!take(6)) return false;
          current = {at(2), at(1)};
          path.cubicTo({at(6), at(5)}, {at(4), at(3)}, current);
          break;
        case 'Q':
          if (!take(4)) return false;
          current = {at(2), at(1)};
          path.quadTo({at(4), at(3)}, current);
          break;
        default: return false;
      }
    } while (used < numbers.size());
    return true;
  };
  qsizetype i = 0;
  while (i < data.size()) {
    const QChar ch = data[i];
    if (ch.isSpace() || ch == u',') {
      ++i;
    } else if (ch.isLetter() && ch != u'e' && ch != u'E') {
      if (!flush()) return std::nullopt;
      command = ch;
      numbers.clear();
      ++i;
    } else {
      qsizetype end = i + 1;
      while (end < data.size() &&
             (data[end].isDigit() || data[end] == u'.' || data[end] == u'e' || data[end] == u'E' ||
              ((data[end] == u'-' || data[end] == u'+') && (data[end - 1] == u'e' || data[end - 1] == u'E'))))
        ++end;
      const std::optional<double> value = Number(data.sliced(i, end - i));
      if (!value) return std::nullopt;
      numbers.push_back(*value);
      i = end;
    }
  }
  if (!flush()) return std::nullopt;
  return path;
}

std::optional<QColor> Paint(QStringView text) {
  if (text == u"none") return QColor();
  if (!text.startsWith(u'#')) return std::nullopt;
  QColor color = QColor::fromString(text);
  if (!color.isValid()) return std::nullopt;
  return color;
}

std::optional<Qt::PenCapStyle> Cap(QStringView text) {
  if (text == u"round") return Qt::RoundCap;
  if (text == u"butt") return Qt::FlatCap;
  if (text == u"square") return Qt::SquareCap;
  return std::nullopt;
}

std::optional<Qt::PenJoinStyle> Join(QStringView text) {
  if (text == u"round") return Qt::RoundJoin;
  if (text == u"miter") return Qt::SvgMiterJoin;
  if (text == u"bevel") return Qt::BevelJoin;
  return std::nullopt;
}

// Numbers separated by blanks or commas ("0 0 32 32", "3810 30").
std::optional<std::vector<double>> Numbers(QStringView text) {
  std::vector<double> values;
  for (QStringView part : text.split(u' ', Qt::SkipEmptyParts)) {
    for (QStringView piece : part.split(u',', Qt::SkipEmptyParts)) {
      const std::optional<double> value = Number(piece);
      if (!value) return std::nullopt;
      values.push_back(*value);
    }
  }
  return values;
}

// A "transform" of moves and scalings, applied in the order written.
std::optional<QTransform> ParseTransform(QStringView text) {
  QTransform transform;
  for (QStringView rest = text.trimmed(); !rest.isEmpty(); rest = rest.trimmed()) {
    const qsizetype open = rest.indexOf(u'(');
    const qsizetype close = rest.indexOf(u')');
    if (open < 0 || close < open) return std::nullopt;
    const QStringView operation = rest.first(open).trimmed();
    const std::optional<std::vector<double>> numbers = Numbers(rest.sliced(open + 1, close - open - 1));
    if (!numbers || numbers->empty() || numbers->size() > 2) return std::nullopt;
    const std::vector<double>& values = *numbers;
    if (operation == u"translate") {
      transform.translate(values[0], values.size() == 2 ? values[1] : 0.0);
    } else if (operation == u"scale") {
      transform.scale(values[0], values.size() == 2 ? values[1] : values[0]);
    } else {
      return std::nullopt;
    }
    rest = rest.sliced(close + 1);
  }
  return transform;
}

// What a shape or group is painted with, and the painter state it changed,
// applied and put back as the toolkit's SVG renderer does.
struct PaintState {
  QTransform world;
  QPen pen;
  QBrush brush;
  double strokeOpacity = 1.0;
};

// The view box stretched over target, and the painter set to draw as the
// toolkit's SVG renderer does.
void MapViewBox(QPainter& painter, const QRectF& source, const QRectF& target) {
  if (source != target && !source.isEmpty()) {
    QTransform transform;
    transform.scale(target.width() / source.width(), target.height() / source.height());
    const QRectF mapped = transform.mapRect(source);
    painter.translate(target.x() - mapped.x(), target.y() - mapped.y());
    painter.scale(target.width() / source.width(), target.height() / source.height());
  }
  painter.setRenderHint(QPainter::Antialiasing);
  painter.setRenderHint(QPainter::SmoothPixmapTransform);
}

// The pen a picture starts with: none, but SVG's miter joins.
QPen InitialPen() {
  QPen initial(Qt::NoBrush, 1, Qt::SolidLine, Qt::FlatCap, Qt::SvgMiterJoin);
  initial.setMiterLimit(4);
  return initial;
}

// A style applied over what its group gives, as Render applies it.
void ApplyStyle(const auto& style, PaintState& state) {
  if (style.fill) state.brush = style.fill->isValid() ? QBrush(*style.fill) : QBrush(Qt::NoBrush);
  if (style.stroke) state.pen.setBrush(style.stroke->isValid() ? QBrush(*style.stroke) : QBrush(Qt::NoBrush));
  if (style.strokeOpacity) state.strokeOpacity = *style.strokeOpacity;
  if (style.strokeWidth) state.pen.setWidthF(*style.strokeWidth);
  if (style.cap) state.pen.setCapStyle(*style.cap);
  if (style.join) state.pen.setJoinStyle(*style.join);
  state.pen.setCosmetic(false);
  if (style.transform) state.world = *style.transform * state.world;
}

bool Strokes(const QPen& pen) { return pen != QPen(Qt::NoPen) && pen.brush() != Qt::NoBrush && pen.widthF() != 0; }

}  // namespace

std::optional<SvgDrawing> SvgDrawing::Load(const QString& path) {
  QFile file(path);
  // Read at once, without the device's buffer: its code (64 KiB of Qt Core)
  // is otherwise loaded for this alone.
  if (!file.open(QIODevice::ReadOnly | QIODevice::Unbuffered)) return std::nullopt;
  return FromData(file.readAll());
}

std::optional<SvgDrawing> SvgDrawing::FromData(const QByteArray& data) {
  SvgDrawing drawing;
  QXmlStreamReader xml(data);
  bool seenRoot = false;
  while (!xml.atEnd()) {
    const QXmlStreamReader::TokenType token = xml.readNext();
    if (token == QXmlStreamReader::EndElement) {
      if (xml.name() == u"svg" || xml.name() == u"g") drawing.items_.push_back({Kind::EndGroup, {}, {}, {}});
      continue;
    }
    if (token != QXmlStreamReader::StartElement) continue;
    const QStringView name = xml.name();
    Item item;
    if (name == u"svg" && !seenRoot) {
      seenRoot = true;
      item.kind = Kind::Group;
    } else if (!seenRoot) {
      return std::nullopt;
    } else if (name == u"g") {
      item.kind = Kind::Group;
    } else if (name == u"path") {
      item.kind = Kind::Path;
    } else if (name == u"rect") {
      item.kind = Kind::Rect;
    } else if (name == u"circle") {
      item.kind = Kind::Ellipse;
    } else {
      return std::nullopt;
    }
    double x = 0, y = 0, width = 0, height = 0, cx = 0, cy = 0, r = 0;
    // The numbers an element takes, and where each goes.
    const struct {
      std::u16string_view element, attribute;
      double* into;
    } numeric[] = {{u"svg", u"width", &width},    {u"svg", u"height", &height}, {u"rect", u"width", &width},
                   {u"rect", u"height", &height}, {u"rect", u"x", &x},          {u"rect", u"y", &y},
                   {u"circle", u"cx", &cx},       {u"circle", u"cy", &cy},      {u"circle", u"r", &r}};
    for (const QXmlStreamAttribute& attribute : xml.attributes()) {
      const QStringView key = attribute.qualifiedName();
      const QStringView value = attribute.value();
      double* number = nullptr;
      for (const auto& n : numeric)
        if (name == n.element && key == n.attribute) number = n.into;
      bool ok = true;
      if (key == u"id" || (key == u"xmlns" && name == u"svg")) {
      } else if (key == u"fill") {
        ok = (item.style.fill = Paint(value)).has_value();
      } else if (key == u"stroke") {
        ok = (item.style.stroke = Paint(value)).has_value();
      } else if (key == u"stroke-width") {
        ok = (item.style.strokeWidth = Number(value)).has_value();
      } else if (key == u"stroke-opacity") {
        ok = (item.style.strokeOpacity = Number(value)).has_value();
        if (ok) item.style.strokeOpacity = std::clamp(*item.style.strokeOpacity, 0.0, 1.0);
      } else if (key == u"stroke-linecap") {
        ok = (item.style.cap = Cap(value)).has_value();
      } else if (key == u"transform" && name != u"svg") {
        ok = (item.style.transform = ParseTransform(value)).has_value();
      } else if (key == u"stroke-linejoin") {
        ok = (item.style.join = Join(value)).has_value();
      } else if (name == u"svg" && key == u"viewBox") {
        const std::optional<std::vector<double>> box = Numbers(value);
        ok = box && box->size() == 4;
        if (ok) drawing.viewBox_ = QRectF((*box)[0], (*box)[1], (*box)[2], (*box)[3]);
      } else if (number != nullptr) {
        const std::optional<double> read = Number(value);
        ok = read.has_value();
        if (ok) *number = *read;
      } else if (name == u"path" && key == u"d") {
        std::optional<QPainterPath> path = ParsePath(value);
        ok = path.has_value();
        if (ok) item.path = std::move(*path);
      } else {
        ok = false;  // more of SVG than this class draws
      }
      if (!ok) return std::nullopt;
    }
    if (name == u"svg") drawing.size_ = QSize(qRound(width), qRound(height));
    if (item.kind == Kind::Rect) item.bounds = QRectF(x, y, width, height);
    if (item.kind == Kind::Ellipse) item.bounds = QRectF(cx - r, cy - r, 2 * r, 2 * r);
    drawing.items_.push_back(std::move(item));
  }
  if (xml.hasError() || !seenRoot) return std::nullopt;
  if (drawing.viewBox_.isNull()) drawing.viewBox_ = QRectF(QPointF(0, 0), QSizeF(drawing.size_));
  return drawing;
}

void SvgDrawing::Render(QPainter& painter, const QRectF& target) const {
  painter.save();
  MapViewBox(painter, viewBox_, target);
  painter.setPen(InitialPen());
  painter.setBrush(Qt::black);

  double strokeOpacity = 1.0;
  std::vector<PaintState> saved;
  auto apply = [&](const Style& style) {
    saved.push_back({painter.worldTransform(), painter.pen(), painter.brush(), strokeOpacity});
    PaintState state{{}, painter.pen(), painter.brush(), strokeOpacity};
    ApplyStyle(style, state);
    painter.setBrush(state.brush);
    painter.setPen(state.pen);
    strokeOpacity = state.strokeOpacity;
    if (style.transform) painter.setWorldTransform(*style.transform, true);
  };
  auto revert = [&] {
    if (saved.empty()) return;
    painter.setWorldTransform(saved.back().world);
    painter.setPen(saved.back().pen);
    painter.setBrush(saved.back().brush);
    strokeOpacity = saved.back().strokeOpacity;
    saved.pop_back();
  };
  // A shape is filled, then stroked on its own, each at its opacity.
  auto draw = [&](const Item& item) {
    // The painter keeps a converted form of every path it draws with the
    // path (for the main window's pictures 89 KiB, for as long as they are
    // shown); a copy of its own drawn instead takes it along when it goes.
    QPainterPath path;
    if (item.kind == Kind::Path) {
      path.addPath(item.path);
      path.setFillRule(item.path.fillRule());
    }
    auto shape = [&] {
      if (item.kind == Kind::Path) {
        painter.drawPath(path);
      } else if (item.kind == Kind::Rect) {
        painter.drawRect(item.bounds);
      } else {
        painter.drawEllipse(item.bounds);
      }
    };
    const qreal opacity = painter.opacity();
    const QBrush brush = painter.brush();
    const QPen pen = painter.pen();
    painter.setPen(Qt::NoPen);
    painter.setOpacity(opacity);
    shape();
    painter.setPen(pen);
    if (Strokes(pen)) {
      painter.setOpacity(opacity * strokeOpacity);
      painter.setBrush(Qt::NoBrush);
      shape();
      painter.setBrush(brush);
    }
    painter.setOpacity(opacity);
  };
  for (const Item& item : items_) {
    switch (item.kind) {
      case Kind::Group: apply(item.style); break;
      case Kind::EndGroup: revert(); break;
      default:
        apply(item.style);
        draw(item);
        revert();
        break;
    }
  }
  painter.restore();
}

FilledPicture SvgDrawing::Filled() const {
  FilledPicture filled{
      size_.width(), size_.height(), {viewBox_.x(), viewBox_.y(), viewBox_.width(), viewBox_.height()}, {}, {}};
  std::vector<PaintState> saved;
  PaintState state{{}, InitialPen(), QBrush(Qt::black)};
  auto keep = [&](const QPainterPath& path) {
    for (int i = 0; i < path.elementCount(); ++i) {
      const QPainterPath::Element& e = path.elementAt(i);
      filled.elements.push_back({static_cast<std::uint8_t>(e.type), static_cast<float>(e.x), static_cast<float>(e.y)});
    }
    return static_cast<std::uint32_t>(path.elementCount());
  };
  auto add = [&](FilledShape::Kind kind, const QPainterPath& path, const QRectF& bounds, const QColor& color,
                 double opacity) -> FilledShape& {
    const QTransform& t = state.world;
    FilledShape& shape = filled.shapes.emplace_back();
    shape.kind = kind;
    shape.winding = path.fillRule() == Qt::WindingFill;
    shape.argb = color.rgba();
    shape.opacity = opacity;
    shape.transform = {t.m11(), t.m12(), t.m21(), t.m22(), t.dx(), t.dy()};
    shape.bounds = {bounds.x(), bounds.y(), bounds.width(), bounds.height()};
    shape.first = static_cast<std::uint32_t>(filled.elements.size());
    shape.count = keep(path);
    return shape;
  };
  for (const Item& item : items_) {
    if (item.kind == Kind::EndGroup) {
      if (!saved.empty()) {
        state = saved.back();
        saved.pop_back();
      }
      continue;
    }
    saved.push_back(state);
    ApplyStyle(item.style, state);
    if (item.kind == Kind::Group) continue;
    const Kind kind = item.kind;
    const auto shapeKind = kind == Kind::Path   ? FilledShape::Kind::Path
                           : kind == Kind::Rect ? FilledShape::Kind::Rect
                                                : FilledShape::Kind::Ellipse;
    if (state.brush.style() != Qt::NoBrush) add(shapeKind, item.path, item.bounds, state.brush.color(), 1.0);
    if (Strokes(state.pen)) {
      QPainterPath centre = item.path;
      if (kind == Kind::Rect) centre.addRect(item.bounds);
      if (kind == Kind::Ellipse) centre.addEllipse(item.bounds);
      const QPainterPathStroker stroker(state.pen);
      FilledShape& outline =
          add(FilledShape::Kind::Path, stroker.createStroke(centre), {}, state.pen.color(), state.strokeOpacity);
      outline.lineWidth = state.pen.widthF();
      outline.cap = static_cast<std::uint16_t>(state.pen.capStyle());
      outline.join = static_cast<std::uint16_t>(state.pen.joinStyle());
      outline.centreCount = keep(centre);
    }
    state = saved.back();
    saved.pop_back();
  }
  return filled;
}

namespace {

QPainterPath PathOf(std::span<const FilledPathElement> points, bool winding) {
  QPainterPath path;
  path.setFillRule(winding ? Qt::WindingFill : Qt::OddEvenFill);
  for (std::size_t i = 0; i < points.size(); ++i) {
    const QPointF at(points[i].x, points[i].y);
    if (points[i].type == QPainterPath::MoveToElement) {
      path.moveTo(at);
    } else if (points[i].type == QPainterPath::LineToElement) {
      path.lineTo(at);
    } else if (i + 2 < points.size()) {
      path.cubicTo(at, {points[i + 1].x, points[i + 1].y}, {points[i + 2].x, points[i + 2].y});
      i += 2;
    }
  }
  return path;
}

// Whether the painter draws a line of this width as a hairline rather than
// filling its outline: where it is no wider than a device pixel and the
// drawing is scaled alike across and down.
bool Hairline(const QTransform& device, double lineWidth) {
  const double across = std::abs(device.m11());
  const double down = std::abs(device.m22());
  return lineWidth > 0 && device.type() <= QTransform::TxScale && qFuzzyCompare(across, down) &&
         lineWidth * across <= 1;
}

}  // namespace

void FilledDrawing::Render(QPainter& painter, const QRectF& target) const {
  painter.save();
  MapViewBox(painter, QRectF(viewBox[0], viewBox[1], viewBox[2], viewBox[3]), target);
  painter.setPen(Qt::NoPen);
  const QTransform base = painter.worldTransform();
  const qreal opacity = painter.opacity();
  for (const FilledShape& shape : shapes) {
    const std::array<double, 6>& t = shape.transform;
    painter.setWorldTransform(QTransform(t[0], t[1], t[2], t[3], t[4], t[5]) * base);
    painter.setBrush(QColor::fromRgba(shape.argb));
    painter.setOpacity(opacity * shape.opacity);
    const QRectF bounds(shape.bounds[0], shape.bounds[1], shape.bounds[2], shape.bounds[3]);
    if (shape.kind == FilledShape::Kind::Rect) {
      painter.drawRect(bounds);
    } else if (shape.kind == FilledShape::Kind::Ellipse) {
      painter.drawEllipse(bounds);
    } else if (!Hairline(painter.combinedTransform(), shape.lineWidth)) {
      painter.drawPath(PathOf(elements.subspan(shape.first, shape.count), shape.winding));
    } else {
      QPen pen(QColor::fromRgba(shape.argb), shape.lineWidth, Qt::SolidLine, Qt::PenCapStyle(shape.cap),
               Qt::PenJoinStyle(shape.join));
      pen.setMiterLimit(InitialPen().miterLimit());
      painter.setPen(pen);
      painter.setBrush(Qt::NoBrush);
      painter.drawPath(PathOf(elements.subspan(shape.first + shape.count, shape.centreCount), false));
      painter.setPen(Qt::NoPen);
    }
  }
  painter.restore();
}

}  // namespace serenitap
