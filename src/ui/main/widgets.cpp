#include "ui/main/widgets.h"

#include <QPainter>

#include "ui/dialogs/accessible_role.h"

namespace serenitap::main_window {

PictureBox::PictureBox(QWidget* parent) : QWidget(parent) { setAutoFillBackground(true); }

bool PictureBox::SetPicture(const QString& path) {
  path_ = path;
  loaded_ = false;
  update();
  return !path_.isEmpty();
}

const std::optional<SvgDrawing>& PictureBox::Drawing() const {
  if (!loaded_) {
    loaded_ = true;
    drawing_ = path_.isEmpty() ? std::nullopt : SvgDrawing::Load(path_);
  }
  return drawing_;
}

void PictureBox::paintEvent(QPaintEvent*) {
  if (!Drawing()) return;
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

}  // namespace serenitap::main_window
