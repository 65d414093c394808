#include "ui/dialogs/dialog_pictures.h"

#include <QApplication>
#include <QIconEngine>
#include <QImage>
#include <QPainter>
#include <QStyle>
#include <QStyleOption>
#include <QSvgRenderer>
#include <utility>

// Resources of a static library are registered by hand.
static void InitDialogResources() { Q_INIT_RESOURCE(dialogs); }

namespace serenitap {
namespace {

void RegisterDialogResources() {
  static const bool registered = [] {
    InitDialogResources();
    return true;
  }();
  (void)registered;
}

class SvgIconEngine : public QIconEngine {
 public:
  explicit SvgIconEngine(QString path) : path_(std::move(path)) {}

  QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State) override {
    QSvgRenderer renderer(path_);
    if (!renderer.isValid()) return {};
    QSize actual = renderer.defaultSize();
    if (!actual.isNull()) actual.scale(size, Qt::KeepAspectRatio);
    if (actual.isEmpty()) return {};
    QImage image(actual, QImage::Format_ARGB32_Premultiplied);
    image.fill(0);
    QPainter painter(&image);
    renderer.render(&painter);
    painter.end();
    QPixmap drawn = QPixmap::fromImage(image);
    if (mode != QIcon::Normal && QApplication::style() != nullptr) {
      // One picture for every mode: the style makes the greyed (or selected) one.
      QStyleOption option(0);
      option.palette = QGuiApplication::palette();
      QPixmap styled = QApplication::style()->generatedIconPixmap(mode, drawn, &option);
      if (!styled.isNull()) drawn = std::move(styled);
    }
    return drawn;
  }

  QSize actualSize(const QSize& size, QIcon::Mode mode, QIcon::State state) override {
    return pixmap(size, mode, state).size();
  }

  void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode, QIcon::State state) override {
    QSize size = rect.size();
    if (painter->device() != nullptr) size *= painter->device()->devicePixelRatio();
    painter->drawPixmap(rect, pixmap(size, mode, state));
  }

  QIconEngine* clone() const override { return new SvgIconEngine(path_); }

 private:
  QString path_;
};

}  // namespace

QPixmap DialogPicture(const QString& path, QSize size, qreal devicePixelRatio) {
  RegisterDialogResources();
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

QIcon SvgIcon(const QString& path) {
  RegisterDialogResources();
  return QIcon(new SvgIconEngine(path));
}

}  // namespace serenitap
