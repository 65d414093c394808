// The dialogs' pictures, drawn by the toolkit's SVG renderer, built as the
// module serenitap_pictures (and, for the tests and tools, as the library
// serenitap_pictures_linked): see dialog_pictures.h.
#include <QPainter>
#include <QSvgRenderer>

#include "ui/dialogs/dialog_pictures.h"

namespace serenitap {
namespace {

bool Draw(const QString& path, QPixmap& pixmap, QSizeF size) {
  QSvgRenderer renderer(path);
  if (!renderer.isValid()) return false;
  QPainter painter(&pixmap);
  renderer.setAspectRatioMode(Qt::KeepAspectRatio);
  renderer.render(&painter, QRectF(QPointF(0, 0), size));
  return true;
}

const DialogPicturesModule kPictures{Draw};

}  // namespace

const DialogPicturesModule* LinkedDialogPictures() { return &kPictures; }

}  // namespace serenitap

extern "C" Q_DECL_EXPORT const serenitap::DialogPicturesModule* SerenitapDialogPictures() {
  return &serenitap::kPictures;
}
