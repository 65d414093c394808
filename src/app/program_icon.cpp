#include "app/program_icon.h"

#include <QIcon>
#include <QImage>
#include <QPixmap>

namespace serenitap {

QIcon ProgramIcon() {
  QIcon icon;
  for (const IconPixels& size : ProgramIconPixels()) {
    // Wraps the constant pixels; the pixmap shares them as long as nobody paints on it.
    const QImage image(reinterpret_cast<const uchar*>(size.pixels), size.size, size.size,
                       QImage::Format_ARGB32_Premultiplied);
    icon.addPixmap(QPixmap::fromImage(image));
  }
  return icon;
}

}  // namespace serenitap
