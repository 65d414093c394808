#include "ui/dialogs/dialog_pictures.h"

#include <QApplication>
#include <QIconEngine>
#include <QImage>
#include <QPainter>
#include <QStyle>
#include <QStyleOption>
#include <optional>
#include <utility>

#include "ui/lazy_module.h"
#include "ui/svg_drawing.h"

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

const DialogPicturesModule* handedOver = nullptr;

// The module, beside the program in its build folder or, installed, where
// SERENITAP_PICTURES_FROM_BIN leads from the program's folder; loaded once
// and kept. Null when it cannot be loaded (the next picture tries again).
const DialogPicturesModule* LoadDialogPictures() {
  static const DialogPicturesModule* loaded = nullptr;
  if (handedOver != nullptr) return handedOver;
  if (loaded != nullptr) return loaded;
  QString error;
  const auto entry = reinterpret_cast<DialogPicturesEntry>(LoadModuleEntry(QStringLiteral("serenitap_pictures.so"),
                                                                           QStringLiteral(SERENITAP_PICTURES_FROM_BIN),
                                                                           kDialogPicturesEntry, error));
  if (entry != nullptr) loaded = entry();
  return loaded;
}

// Draws an SVG file (read each time) or a filled drawing of the program's.
class SvgIconEngine : public QIconEngine {
 public:
  explicit SvgIconEngine(QString path) : path_(std::move(path)) {}
  explicit SvgIconEngine(const FilledDrawing& built) : built_(&built) {}

  QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State) override {
    std::optional<SvgDrawing> drawing;
    if (built_ == nullptr && !(drawing = SvgDrawing::Load(path_))) return {};
    QSize actual = built_ != nullptr ? built_->DefaultSize() : drawing->DefaultSize();
    if (!actual.isNull()) actual.scale(size, Qt::KeepAspectRatio);
    if (actual.isEmpty()) return {};
    QImage image(actual, QImage::Format_ARGB32_Premultiplied);
    image.fill(0);
    QPainter painter(&image);
    if (built_ != nullptr) {
      built_->Render(painter, QRectF(image.rect()));
    } else {
      drawing->Render(painter, QRectF(image.rect()));
    }
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

  QIconEngine* clone() const override {
    return built_ != nullptr ? new SvgIconEngine(*built_) : new SvgIconEngine(path_);
  }

 private:
  QString path_;
  const FilledDrawing* built_ = nullptr;
};

}  // namespace

QPixmap DialogPicture(const QString& path, QSize size, qreal devicePixelRatio) {
  RegisterDialogResources();
  QPixmap pixmap(size * devicePixelRatio);
  pixmap.setDevicePixelRatio(devicePixelRatio);
  pixmap.fill(Qt::transparent);
  if (const DialogPicturesModule* pictures = LoadDialogPictures()) pictures->draw(path, pixmap, QSizeF(size));
  return pixmap;
}

void UseDialogPictures(const DialogPicturesModule* linked) { handedOver = linked; }

QIcon SvgIcon(const QString& path) {
  RegisterDialogResources();
  return QIcon(new SvgIconEngine(path));
}

QIcon DrawingIcon(const FilledDrawing& drawing) { return QIcon(new SvgIconEngine(drawing)); }

}  // namespace serenitap
