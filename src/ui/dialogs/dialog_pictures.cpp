#include "ui/dialogs/dialog_pictures.h"

#include <QPainter>
#include <QSvgRenderer>

// Resources of a static library are registered by hand.
static void InitDialogResources() { Q_INIT_RESOURCE(dialogs); }

namespace serenitap {

QPixmap DialogPicture(const QString& path, QSize size, qreal devicePixelRatio) {
  static const bool registered = [] {
    InitDialogResources();
    return true;
  }();
  (void)registered;
  QPixmap pixmap(size * devicePixelRatio);
  pixmap.setDevicePixelRatio(devicePixelRatio);
  pixmap.fill(Qt::transparent);
  QSvgRenderer renderer(path);
  if (renderer.isValid()) {
    QPainter painter(&pixmap);
    renderer.setAspectRatioMode(Qt::KeepAspectRatio);
    renderer.render(&painter, QRectF(QPointF(0, 0), QSizeF(size)));
  }
  return pixmap;
}

}  // namespace serenitap
