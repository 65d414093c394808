#include "ui/dialogs/dialog_pattern.h"

#include "ui/dialogs/focus_ring.h"
#include "ui/look.h"

#include <QApplication>
#include <QCloseEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QPalette>
#include <QPushButton>
#include <QScreen>
#include <cmath>
#include <stdexcept>
#include <string>

namespace serenitap {
namespace {

// The height a window manager's title bar and frame take at most, commonly.
constexpr int kTitleBarPixels = 34;

}  // namespace

QPoint CentredIn(const QRect& area, const QSize& outer) {
  const double left = (area.width() - outer.width()) / 2.0;
  const double top = (area.height() - outer.height()) / 2.0;
  return {area.left() + static_cast<int>(std::lround(left)), area.top() + static_cast<int>(std::lround(top))};
}

void CenterForm(QWidget& window) {
  QScreen* screen = window.screen() != nullptr ? window.screen() : QGuiApplication::primaryScreen();
  if (screen == nullptr) return;
  const QRect area = screen->geometry();
  // The window's outer size; before it is shown the frame is not known yet
  // and the client size stands in for it.
  const QSize outer = window.isVisible() ? window.frameGeometry().size() : window.size();
  QPoint at = CentredIn(area, outer);
  // Kept within the area windows may take, its title bar first (allowed for
  // while the frame is not known yet): on a small screen the whole window
  // stays on it, or at least its title bar and its top part.
  const QRect available = screen->availableGeometry();
  const int titleBar = window.isVisible() ? 0 : kTitleBarPixels;
  at.setX(std::max(available.left(), std::min(at.x(), available.right() + 1 - outer.width())));
  at.setY(std::max(available.top(), std::min(at.y(), available.bottom() + 1 - outer.height() - titleBar)));
  window.move(at);
}

std::optional<Qt::CursorShape> ScreenMousePointer() {
  if (const QCursor* cursor = QGuiApplication::overrideCursor()) return cursor->shape();
  return std::nullopt;
}

void SetScreenMousePointer(std::optional<Qt::CursorShape> shape) {
  while (QGuiApplication::overrideCursor() != nullptr) QGuiApplication::restoreOverrideCursor();
  if (shape) QGuiApplication::setOverrideCursor(QCursor(*shape));
}

QFont DialogFont(double pointSize) { return DesignedTextFont(pointSize); }

void PlaceControl(QWidget* widget, const DialogControl& control) {
  widget->setObjectName(ToQString(control.name));
  widget->setGeometry(TwipsToPixels(control.left), TwipsToPixels(control.top), TwipsToPixels(control.width),
                      TwipsToPixels(control.height));
}

DialogPattern::DialogPattern(QWidget* parent) : QDialog(parent) {
  setFont(DialogFont());
  InstallFocusRing();
}

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

void DialogPattern::MakeFixedDialog(double clientWidthTwips, double clientHeightTwips) {
  setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                 Qt::WindowCloseButtonHint);
  setFixedSize(TwipsToPixels(clientWidthTwips), TwipsToPixels(clientHeightTwips));
}

void DialogPattern::CreateBottomStrip(double heightTwips) {
  bottom_height_twips_ = heightTwips;
  picBottom = new QWidget(this);
  picBottom->setObjectName(QStringLiteral("picBottom"));
  picBottom->setAccessibleName(QStringLiteral("Buttons"));
  picBottom->setAutoFillBackground(true);
  QPalette palette = picBottom->palette();
  palette.setColor(QPalette::Window, QApplication::palette().color(QPalette::Button));
  palette.setColor(QPalette::WindowText, QApplication::palette().color(QPalette::WindowText));
  picBottom->setPalette(palette);
  picBottom->setGeometry(0, height() - TwipsToPixels(heightTwips), width(), TwipsToPixels(heightTwips));
}

QPushButton* DialogPattern::AddButton(QWidget* parent, const DialogControl& control) {
  auto* button = new QPushButton(ToQString(control.caption), parent);
  PlaceControl(button, control);
  button->setAccessibleName(WithoutAccessKey(button->text()));
  return button;
}

QLabel* DialogPattern::AddLabel(QWidget* parent, const DialogControl& control) {
  auto* label = new QLabel(ToQString(control.caption), parent);
  PlaceControl(label, control);
  label->setAccessibleName(label->text());
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
