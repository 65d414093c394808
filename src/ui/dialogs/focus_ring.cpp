#include "ui/dialogs/focus_ring.h"

#include <QApplication>
#include <QEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QPointer>
#include <QWidget>

#include "ui/look.h"

namespace serenitap {
namespace {

constexpr int kWidth = 2;
constexpr int kGap = 1;  // between the control and the ring

class Ring : public QWidget {
 public:
  explicit Ring(QWidget* window) : QWidget(window) {
    setObjectName(QStringLiteral("qt_focus_ring"));  // not one of the program's controls
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setAttribute(Qt::WA_NoSystemBackground);
    setFocusPolicy(Qt::NoFocus);
    hide();
  }

  // Moves to the control that now has the focus. The ring stays a filter of
  // the controls it followed before (one filter each, harmless): a control
  // that is being destroyed is no place to remove it from.
  void Follow(QWidget* target) {
    target_ = target;
    for (QWidget* w = target_; w != nullptr && w != parentWidget(); w = w->parentWidget()) w->installEventFilter(this);
    Place();
  }

  void Place() {
    QWidget* window = parentWidget();
    if (target_ == nullptr || !target_->isVisible() || target_ == window) {
      hide();
      return;
    }
    const int out = kWidth + kGap;
    setGeometry(QRect(target_->mapTo(window, QPoint(0, 0)), target_->size()).adjusted(-out, -out, out, out));
    const QWidget* under = target_->parentWidget() != nullptr ? target_->parentWidget() : window;
    colour_ =
        FocusRingColour(under->palette().color(under->backgroundRole()), target_->palette().color(QPalette::Highlight));
    show();
    raise();
    update();
  }

 protected:
  bool eventFilter(QObject*, QEvent* event) override {
    switch (event->type()) {
      case QEvent::Move:
      case QEvent::Resize:
      case QEvent::Show:
      case QEvent::Hide:
      case QEvent::ZOrderChange: Place(); break;
      default: break;
    }
    return false;
  }

  void paintEvent(QPaintEvent*) override {
    QPainter painter(this);
    painter.setPen(QPen(colour_, kWidth, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
    painter.setBrush(Qt::NoBrush);
    const double half = kWidth / 2.0;
    painter.drawRect(QRectF(rect()).adjusted(half, half, -half, -half));
  }

 private:
  QPointer<QWidget> target_;
  QColor colour_;
};

// The rings made so far; one a window, gone with it.
QList<QPointer<Ring>>& Rings() {
  static QList<QPointer<Ring>> rings;
  return rings;
}

// Windows are looked up among the rings, never among their children: a window
// being destroyed holds children already gone.
Ring* RingOf(QWidget* window, bool create) {
  QList<QPointer<Ring>>& rings = Rings();
  rings.removeAll(nullptr);
  for (const QPointer<Ring>& ring : rings) {
    if (ring->parentWidget() == window) return ring;
  }
  if (!create) return nullptr;
  rings.append(new Ring(window));
  return rings.back();
}

}  // namespace

QColor FocusRingColour(const QColor& background, const QColor& highlight) {
  if (highlight.isValid() && ContrastRatio(highlight, background) >= 3.0) return highlight;
  return ContrastRatio(Qt::black, background) >= ContrastRatio(Qt::white, background) ? QColor(Qt::black)
                                                                                      : QColor(Qt::white);
}

void InstallFocusRing() {
  static QPointer<QObject> installed;
  if (installed != nullptr || qApp == nullptr) return;
  installed = new QObject(qApp);
  QObject::connect(qApp, &QApplication::focusChanged, installed, [](QWidget* old, QWidget* now) {
    if (old != nullptr && (now == nullptr || old->window() != now->window())) {
      if (Ring* ring = RingOf(old->window(), false)) ring->Follow(nullptr);
    }
    if (now == nullptr || now->isWindow() || (now->window()->windowType() == Qt::Popup)) return;
    RingOf(now->window(), true)->Follow(now);
  });
}

}  // namespace serenitap
