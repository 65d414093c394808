#include "ui/main/widgets.h"

#include <QPainter>
#include <QTextLayout>

#include "ui/dialogs/accessible_role.h"

namespace serenitap::main_window {

PictureBox::PictureBox(QWidget* parent) : QWidget(parent) { setAutoFillBackground(true); }

void PictureBox::SetPicture(const FilledDrawing* drawing) {
  drawing_ = drawing;
  update();
}

void PictureBox::paintEvent(QPaintEvent*) {
  if (drawing_ == nullptr) return;
  QPainter painter(this);
  painter.setRenderHint(QPainter::Antialiasing);
  drawing_->Render(painter, QRectF(rect()));
}

ChoiceGroup::ChoiceGroup(QWidget* parent) : QFrame(parent) {
  setFrameShape(QFrame::NoFrame);
  SetAccessibleRole(this, QAccessible::Grouping);
}

PausedSign::PausedSign(QWidget* parent) : QLabel(QStringLiteral("Paused"), parent) {
  SetAccessibleRole(this, QAccessible::AlertMessage);
  setObjectName(QStringLiteral("lblPaused"));
  setAccessibleName(text());
  setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
  hide();
}

void PausedSign::showEvent(QShowEvent* event) {
  QLabel::showEvent(event);
  QAccessibleEvent alert(this, QAccessible::Alert);
  QAccessible::updateAccessibility(&alert);
}

DotShape::DotShape(QWidget* parent) : QWidget(parent) {
  SetAccessibleRole(this, QAccessible::Graphic);
  setAttribute(Qt::WA_TransparentForMouseEvents);
  setAttribute(Qt::WA_NoSystemBackground);
}

void DotShape::SetColors(const QColor& fill, const QColor& border) {
  fill_ = fill;
  border_ = border;
  update();
}

void DotShape::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.setRenderHint(QPainter::Antialiasing);
  painter.setPen(QPen(border_, 1));
  painter.setBrush(fill_);
  painter.drawEllipse(QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5));
}

namespace {

// Lays text out as one paragraph whose line breaks stay, with the line bold
// in bold, each line as high as its type with its leading (as a rich text
// document lays out a block). Returns the widest line's width and the height.
QSizeF LayOut(QTextLayout& layout, const QString& text, int bold, Qt::Alignment align, QTextOption::WrapMode wrap,
              int width) {
  QString paragraph = text;
  paragraph.replace(QLatin1Char('\n'), QChar::LineSeparator);
  layout.setText(paragraph);
  QTextOption option(align);
  option.setWrapMode(wrap);
  layout.setTextOption(option);
  qsizetype start = bold < 0 ? -1 : 0;
  for (int line = 0; line < bold && start >= 0; ++line) {
    const qsizetype next = text.indexOf(QLatin1Char('\n'), start);
    start = next < 0 ? -1 : next + 1;
  }
  if (start >= 0) {
    const qsizetype end = text.indexOf(QLatin1Char('\n'), start);
    QTextLayout::FormatRange range;
    range.start = static_cast<int>(start);
    range.length = static_cast<int>((end < 0 ? text.size() : end) - start);
    range.format.setFontWeight(QFont::Bold);
    layout.setFormats({range});
  }
  qreal widest = 0;
  qreal height = 0;
  layout.beginLayout();
  for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
    line.setLeadingIncluded(true);
    line.setLineWidth(width);
    line.setPosition(QPointF(0, height));
    height += line.height();
    widest = std::max(widest, line.naturalTextWidth());
  }
  layout.endLayout();
  return {widest, height};
}

}  // namespace

BoldLineLabel::BoldLineLabel(QWidget* parent) : QLabel(parent) { setTextFormat(Qt::PlainText); }

void BoldLineLabel::SetBoldLine(int line) {
  if (line == boldLine_) return;
  boldLine_ = line;
  update();
}

QSize BoldLineLabel::NeededSize(const QFont& font, int width) const {
  QTextLayout layout;
  layout.setFont(font);
  const QSizeF laid = LayOut(layout, text(), boldLine_, alignment(), QTextOption::WrapAtWordBoundaryOrAnywhere, width);
  return QSizeF(std::max<qreal>(width, laid.width()), laid.height()).toSize();
}

void BoldLineLabel::paintEvent(QPaintEvent* event) {
  if (boldLine_ < 0) {
    QLabel::paintEvent(event);
    return;
  }
  QPainter painter(this);
  drawFrame(&painter);
  const QRect room = contentsRect();
  QTextLayout layout;
  layout.setFont(font());
  LayOut(layout, text(), boldLine_, alignment(), QTextOption::WordWrap, room.width());
  painter.setPen(palette().color(foregroundRole()));
  layout.draw(&painter, room.topLeft());
}

}  // namespace serenitap::main_window
