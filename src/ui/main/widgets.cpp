#include "ui/main/widgets.h"

#include <QPainter>

namespace serenitap::main_window {

PictureBox::PictureBox(QWidget* parent) : QWidget(parent) { setAutoFillBackground(true); }

bool PictureBox::SetPicture(const QString& path) {
  path_ = path;
  loaded_ = false;
  update();
  return !path_.isEmpty();
}

const QSvgRenderer& PictureBox::Renderer() const {
  if (!loaded_) {
    loaded_ = true;
    if (path_.isEmpty()) {
      renderer_.load(QByteArray());
    } else {
      renderer_.load(path_);
    }
  }
  return renderer_;
}

bool PictureBox::HasPicture() const { return Renderer().isValid(); }

void PictureBox::paintEvent(QPaintEvent*) {
  if (!Renderer().isValid()) return;
  QPainter painter(this);
  painter.setRenderHint(QPainter::Antialiasing);
  renderer_.render(&painter, QRectF(rect()));
}

DotShape::DotShape(QWidget* parent) : QWidget(parent) {
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
