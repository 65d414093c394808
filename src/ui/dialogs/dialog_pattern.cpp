#include "ui/dialogs/dialog_pattern.h"

#include "ui/fonts.h"

#include <QApplication>
#include <QCloseEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QPalette>
#include <QPushButton>
#include <QScreen>
#include <cmath>

namespace serenitap {

void CenterForm(QWidget& window) {
  QScreen* screen = window.screen() != nullptr ? window.screen() : QGuiApplication::primaryScreen();
  if (screen == nullptr) return;
  const QRect area = screen->geometry();
  // The window's outer size; before it is shown the frame is not known yet
  // and the client size stands in for it.
  const QSize outer = window.isVisible() ? window.frameGeometry().size() : window.size();
  const float left = static_cast<float>(area.width() - outer.width()) / 2.0F;
  const float top = static_cast<float>(area.height() - outer.height()) / 2.0F;
  window.move(area.left() + static_cast<int>(std::lround(left)), area.top() + static_cast<int>(std::lround(top)));
}

std::optional<Qt::CursorShape> ScreenMousePointer() {
  if (const QCursor* cursor = QGuiApplication::overrideCursor()) return cursor->shape();
  return std::nullopt;
}

void SetScreenMousePointer(std::optional<Qt::CursorShape> shape) {
  while (QGuiApplication::overrideCursor() != nullptr) QGuiApplication::restoreOverrideCursor();
  if (shape) QGuiApplication::setOverrideCursor(QCursor(*shape));
}

QFont DialogFont(double point_size) {
  QFont font = DesignFont("Segoe UI");
  font.setPointSizeF(point_size);
  return font;
}

DialogPattern::DialogPattern(QWidget* parent) : QDialog(parent) { setFont(DialogFont()); }

DialogPattern::~DialogPattern() {
  if (key_preview_) qApp->removeEventFilter(this);
}

void DialogPattern::Form_Activate() {
  if (mblnActivated) return;
  SetScreenMousePointer(std::nullopt);
  mblnActivated = true;
}

void DialogPattern::reject() { close(); }

bool DialogPattern::PreviewKey(QKeyEvent& /*event*/) { return false; }

void DialogPattern::SetKeyPreview(bool on) {
  if (on == key_preview_) return;
  key_preview_ = on;
  if (on) {
    qApp->installEventFilter(this);
  } else {
    qApp->removeEventFilter(this);
  }
}

void DialogPattern::MakeFixedDialog(double client_width_twips, double client_height_twips) {
  setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                 Qt::WindowCloseButtonHint);
  setFixedSize(TwipsToPixels(client_width_twips), TwipsToPixels(client_height_twips));
}

void DialogPattern::CreateBottomStrip(double height_twips) {
  bottom_height_twips_ = height_twips;
  picBottom = new QWidget(this);
  picBottom->setObjectName(QStringLiteral("picBottom"));
  picBottom->setAccessibleName(QStringLiteral("Buttons"));
  picBottom->setAutoFillBackground(true);
  QPalette palette = picBottom->palette();
  palette.setColor(QPalette::Window, QApplication::palette().color(QPalette::Button));
  palette.setColor(QPalette::WindowText, QApplication::palette().color(QPalette::WindowText));
  picBottom->setPalette(palette);
  picBottom->setGeometry(0, height() - TwipsToPixels(height_twips), width(), TwipsToPixels(height_twips));
}

QPushButton* DialogPattern::AddButton(QWidget* parent, const QString& name, const QString& caption, double left,
                                      double top, double width, double height) {
  auto* button = new QPushButton(caption, parent);
  button->setObjectName(name);
  button->setAccessibleName(WithoutAccessKey(caption));
  button->setGeometry(TwipsToPixels(left), TwipsToPixels(top), TwipsToPixels(width), TwipsToPixels(height));
  return button;
}

QLabel* DialogPattern::AddLabel(QWidget* parent, const QString& name, const QString& text, double left, double top,
                                double width, double height) {
  auto* label = new QLabel(text, parent);
  label->setObjectName(name);
  label->setAccessibleName(text);
  label->setGeometry(TwipsToPixels(left), TwipsToPixels(top), TwipsToPixels(width), TwipsToPixels(height));
  return label;
}

void DialogPattern::PaintWhite(QWidget* widget) {
  widget->setAutoFillBackground(true);
  QPalette palette = widget->palette();
  palette.setColor(QPalette::Window, Qt::white);
  widget->setPalette(palette);
}

bool DialogPattern::event(QEvent* event) {
  if (event->type() == QEvent::WindowActivate) Form_Activate();
  return QDialog::event(event);
}

bool DialogPattern::eventFilter(QObject* watched, QEvent* event) {
  if (key_preview_ && event->type() == QEvent::KeyPress && watched->isWidgetType() &&
      static_cast<QWidget*>(watched)->window() == this) {
    if (PreviewKey(*static_cast<QKeyEvent*>(event))) {
      event->accept();
      return true;
    }
  }
  return QDialog::eventFilter(watched, event);
}

void DialogPattern::closeEvent(QCloseEvent* event) {
  if (unloaded_) {
    event->accept();
    return;
  }
  if (QueryClose()) {
    event->ignore();
    return;
  }
  unloaded_ = true;
  // Hiding ends a modal run; the window's pending events run before the
  // instance is released.
  hide();
  QCoreApplication::processEvents();
  event->accept();
  OnUnload();
  emit finished(result());
  emit Unloaded();
}

void DialogPattern::resizeEvent(QResizeEvent* event) {
  QDialog::resizeEvent(event);
  if (picBottom != nullptr) {
    const int h = TwipsToPixels(bottom_height_twips_);
    picBottom->setGeometry(0, height() - h, width(), h);
  }
}

}  // namespace serenitap
