#pragma once
// The pattern every small window of the program follows:
// - a strip of buttons docked to the bottom edge (picBottom);
// - a first-activation step that puts the mouse pointer back to the arrow
//   and sets mblnActivated;
// - a guarded command (RunCommand): it runs only once the window has been
//   activated and while no other command of the window runs (mblnBusy);
// - Esc, the Cancel button and the close box all go through one closing
//   sequence: QueryClose may keep the window open; otherwise the window is
//   hidden, pending window events run and the Unloaded signal tells the
//   owner to release its instance, so each opening builds a fresh one;
// - optional key preview: the window sees key presses before its controls.
#include <QDialog>
#include <QPointer>
#include <QString>
#include <optional>
#include <span>
#include <string_view>

#include "services/failure.h"
#include "ui/qt_text.h"
#include "ui/twips.h"

class QCloseEvent;
class QKeyEvent;
class QLabel;
class QPushButton;
class QWidget;

namespace serenitap {

// Where a window of that outer size stands in the middle of area:
// left = (area width - window width) / 2, likewise the top, to the nearest
// pixel (halves away from zero); a window larger than the area gets a
// position before the area's.
QPoint CentredIn(const QRect& area, const QSize& outer);

// Moves a window to the middle of its screen without resizing it:
// centred (CentredIn), then into the
// screen's available area (without panels) as far as it fits there, its
// title bar included; a window larger than that area goes to its top left.
void CenterForm(QWidget& window);

// The screen's mouse pointer: a shape shown over every window of the program,
// or none for the default arrow. Kept as the application's override cursor.
std::optional<Qt::CursorShape> ScreenMousePointer();
void SetScreenMousePointer(std::optional<Qt::CursorShape> shape);

// The fonts the windows are drawn with.
QFont DialogFont(double pointSize = 9);

// One placed control of a dialog: its object name, its caption (empty where it
// has none) and its design geometry in twips.
struct DialogControl {
  std::string_view name;
  std::string_view caption;
  double left = 0;
  double top = 0;
  double width = 0;
  double height = 0;
};

// A dialog's design: its client size and the height of its button strip (0
// for none), in twips. Its placed controls stand beside it, one named
// DialogControl each, so that the code names a control as a member.
struct DialogDesign {
  double width = 0;
  double height = 0;
  double bottomHeight = 0;
};

// Names the widget after the control and puts it at the control's place.
void PlaceControl(QWidget* widget, const DialogControl& control);

class DialogPattern : public QDialog {
  Q_OBJECT

 public:
  explicit DialogPattern(QWidget* parent = nullptr);
  ~DialogPattern() override;

  bool Activated() const { return mblnActivated; }
  bool Busy() const { return mblnBusy; }

  // The first-activation step; runs on the window's first activation.
  void Form_Activate();

  QWidget* BottomStrip() const { return picBottom; }

 signals:
  // The window has closed for good; its owner releases the instance.
  void Unloaded();

 public slots:
  // Esc and every Cancel button close the window through the closing sequence.
  void reject() override;

 protected:
  // Runs action only when the window has been activated and no command is
  // in progress; mblnBusy is set meanwhile and cleared afterwards, even when
  // the action fails.
  template <class Action>
  void RunCommand(Action&& action) {
    BusyGuard busy(mblnBusy);
    if (!mblnActivated || !busy.Take()) return;
    action();
  }

  // Called when the window is asked to close; return true to keep it open.
  virtual bool QueryClose() { return false; }
  // Called once the window has been hidden for good.
  virtual void OnUnload() {}
  // With key preview on: a key press anywhere in the window; return true
  // when the window consumed it.
  virtual bool PreviewKey(QKeyEvent& event);

  void SetKeyPreview(bool on);
  // A fixed-size window without minimise and maximise buttons.
  void MakeFixedDialog(double clientWidthTwips, double clientHeightTwips);
  // Creates the button strip docked to the bottom edge.
  void CreateBottomStrip(double heightTwips);
  // A push button with the control's caption, name and place, and the caption
  // without its access-key marker as its accessible name.
  QPushButton* AddButton(QWidget* parent, const DialogControl& control);
  // A label with the control's caption, its accessible name too.
  QLabel* AddLabel(QWidget* parent, const DialogControl& control);
  // White background for the window's own area.
  void PaintWhite(QWidget* widget);

  bool event(QEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;

  bool mblnActivated = false;
  bool mblnBusy = false;
  QWidget* picBottom = nullptr;

 private:
  double bottom_height_twips_ = 0;
  bool key_preview_ = false;
  bool unloaded_ = false;
};

// The loaded window of a kind, for its Instance(): a window registers itself
// in its constructor and is forgotten when it unloads or is destroyed,
// whichever comes first, so that Instance() never answers with a closed window.
template <class Window>
class LoadedWindow {
 public:
  static Window* Get() { return Slot(); }
  static void Register(Window* window) {
    Slot() = window;
    QObject::connect(window, &DialogPattern::Unloaded, window, [window] { Forget(window); });
  }
  static void Forget(const Window* window) {
    if (Slot() == window) Slot() = nullptr;
  }

 private:
  static QPointer<Window>& Slot() {
    static QPointer<Window> instance;
    return instance;
  }
};

}  // namespace serenitap
