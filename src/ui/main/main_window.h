#pragma once
// The main window: a toolbar strip, a status strip, the instruction pane on
// the left, the picture pane on the right and the large introduction label.
// It is built from the control table; the layout is recomputed on every
// resize. The window shows what it is told: the session engine decides
// which step is on screen and drives it through the methods below.
#include <QEvent>
#include <QFont>
#include <QRect>
#include <QWidget>
#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <map>
#include <set>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "ui/main/control_table.h"
#include "ui/main/layout.h"

class QAbstractButton;
class QLabel;
class QLineEdit;
class QMenu;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;
class QTimer;

namespace serenitap {

namespace main_window {
class BoldLineLabel;
class ChoiceGroup;
class DotShape;
class PictureBox;

// Qt counterparts of the table's values.
QFont FontOf(const FontDesign& font);  // the nearest installed family, sized at 96 dpi
QRect PixelRect(const TwipRect& twips);
// The smallest type a text is shrunk to when its label is too small for it
// (8 points at 96 dpi).
inline constexpr int kSmallestTextPixels = 11;
QColor ColorOf(Rgb rgb);

// What waits for a control the window makes only when it is first asked for:
// a job runs at once when the control is there, else once it has been made.
template <class Control>
class WhenMade {
 public:
  void Run(Control* made, std::function<void(Control&)> job) {
    if (made != nullptr) {
      job(*made);
    } else {
      waiting_.push_back(std::move(job));
    }
  }
  void Made(Control& made) {
    for (auto& job : std::exchange(waiting_, {})) job(made);
  }

 private:
  std::vector<std::function<void(Control&)>> waiting_;
};
}  // namespace main_window

class NoticeStrip;
namespace main_window {
class PausedSign;

// The elements First..Last of a control array: cmdNavig[1] is cmdNavig(1).
// An index outside the array gives nullptr, as the table has no such control.
template <class T, int First, int Last>
class ControlArray {
 public:
  static constexpr int kFirst = First;
  static constexpr int kLast = Last;
  T* operator[](int index) const { return index < First || index > Last ? nullptr : items_[Slot(index)]; }
  auto begin() const { return items_.begin(); }
  auto end() const { return items_.end(); }
  // The element's slot, for the window that builds it.
  T*& Element(int index) { return items_.at(Slot(index)); }

 private:
  static std::size_t Slot(int index) { return static_cast<std::size_t>(index - First); }
  std::array<T*, Last - First + 1> items_{};
};

// Every control of the main window, under its name in the control table,
// with its own type. The window fills them as it builds itself from the table.
struct MainControls {
  // The toolbar strip.
  PictureBox* picToolBar = nullptr;
  QPushButton* cmdExit = nullptr;
  ControlArray<QPushButton, 0, 1> cmdNavig;  // Previous, Next
  QPushButton* cmdPause = nullptr;
  QPushButton* cmdResume = nullptr;  // in Pause's place, shown in turn with it
  QPushButton* cmdFinish = nullptr;
  QPushButton* cmdWeb = nullptr;
  QPushButton* cmdStart = nullptr;  // never shown
  QPushButton* cmdShare = nullptr;  // never shown
  // The status strip.
  PictureBox* picStatusBar = nullptr;
  QLabel* lblRoundPolarity = nullptr;
  QLabel* lblRoundCount = nullptr;
  QLabel* lblTime_New = nullptr;
  QPushButton* cmdNav = nullptr;  // the menu button
  QPushButton* cmdInfo = nullptr;
  QPushButton* cmdAbout = nullptr;
  // The instruction pane.
  PictureBox* picLeftFrame = nullptr;
  QLabel* lblSegmentTitle = nullptr;
  main_window::BoldLineLabel* lblLeftFrame = nullptr;  // the instructions
  // The picture pane.
  PictureBox* picRightFrame = nullptr;
  PictureBox* picShape = nullptr;  // the body chart
  PictureBox* picHandLeft = nullptr;
  PictureBox* picHandRight = nullptr;
  QLabel* lblCurrentPoint = nullptr;
  ChoiceGroup* fraMode = nullptr;  // the issues
  ControlArray<QRadioButton, 1, 12> radMode;
  QLabel* lblWords = nullptr;
  QLineEdit* txtWords = nullptr;  // the user's own words for the chosen issue
  QLabel* lblRoundLine = nullptr;
  ChoiceGroup* fraSUD_2 = nullptr;  // the rating scale
  ControlArray<QLabel, 0, 10> lblSUDUnit;
  ControlArray<QRadioButton, 0, 10> radSUD;
  // The divider between the panes and the large introduction label.
  QLabel* lblSplit = nullptr;
  QLabel* lblIntro = nullptr;
  // The tapping points and the thymus on the pictures.
  ControlArray<DotShape, 1, kDotCount> shpStep;
  DotShape* shpGreen = nullptr;
  // The bottom row of picture buttons, placed but never shown.
  ControlArray<QPushButton, 0, 1> cmdNavig_Bottom;
  QPushButton* cmdPause_Bottom = nullptr;
  QPushButton* cmdResume_Bottom = nullptr;
  QTimer* tmrSteps = nullptr;  // the 10 ms step timer
  QMenu* mnuPopUp = nullptr;   // the menu of cmdNav
};
}  // namespace main_window

class frmMain : public QWidget {
  Q_OBJECT

 public:
  explicit frmMain(QWidget* parent = nullptr);
  ~frmMain() override;

  // Window procedures run while the window loads.
  void SetFormCaption();   // "Serenitap"
  void SetColors();        // strip and divider colours
  void ArrangeControls();  // lays out the controls for the current size
  std::int32_t ToolbarRightEdge() const { return mlngToolbarRightEdge; }
  const main_window::MainLayout& CurrentLayout() const { return layout_; }

  // Every control, typed: Controls().cmdNavig[1] is cmdNavig(1).
  const main_window::MainControls& Controls() const { return controls_; }
  // txtJournal, made when it is first asked for.
  QPlainTextEdit& JournalBox();

  // What a step shows.
  void SetIntroVisible(bool visible);        // lblIntro
  void SetPanesVisible(bool visible);        // picLeftFrame, picRightFrame and lblSplit
  void SetBodyChartVisible(bool visible);    // picShape
  void SetHandsVisible(bool visible);        // picHandLeft and picHandRight
  void SetIssueChoiceVisible(bool visible);  // fraMode
  void SetSudChoiceVisible(bool visible);    // fraSUD_2
  void SetThymusVisible(bool visible);       // shpGreen

  // The step's texts, UTF-8 with CR LF line breaks.
  void SetCurrentPointText(std::string_view text);  // lblCurrentPoint
  void SetSegmentTitleText(std::string_view text);  // lblSegmentTitle
  // lblLeftFrame; the line sayNowLine (counted from 0, -1 for none) in bold.
  void SetInstructionsText(std::string_view text, std::int32_t sayNowLine = -1);
  void SetIntroText(std::string_view text);  // lblIntro
  void SetTimeText(std::string_view text);   // lblTime_New
  // lblRoundLine, shown while it holds a text; a new text is announced to a
  // screen reader.
  void SetRoundLine(std::string_view text);
  // txtWords: the user's own words for the chosen issue, under the issues.
  // The field is made once the window has been painted, or when it is first
  // asked for: made with the other controls it would load two sizes of type
  // that the first look of the window does not use.
  QLineEdit& WordsField();
  QLineEdit* WordsFieldIfMade() const { return controls_.txtWords; }
  // made runs with the field once it has been made (at once if it has been).
  void WhenWordsFieldMade(std::function<void(QLineEdit&)> made);

  // The dots shpStep(1..16); other indices are ignored.
  void SetDotVisible(int index, bool visible);
  bool IsDotVisible(int index) const;
  void SetDotColor(int index, main_window::Rgb color);  // fill and border
  main_window::Rgb DotColor(int index) const;
  void PaintAllDots(main_window::Rgb color);
  void HideAllDots();

  // Session buttons.
  void SetResumeButton(bool visible, bool enabled);  // cmdResume
  bool IsPauseAvailable() const;                     // cmdPause visible and enabled
  bool IsResumeAvailable() const;                    // cmdResume visible and enabled

  // The issue and SUD choices.
  void SelectIssueOption(int index);  // radMode(index), 1..12
  int SelectedIssueOption() const;    // 0 when none is selected
  void SelectSudOption(int index);    // radSUD(index), 0..10
  int SelectedSudOption() const;      // -1 when none is selected
  // radMode index of the position-th visible issue button, top to bottom
  // (1-based); 0 when there is none.
  int VisibleIssueOption(int position) const;
  // Chooses an option as a click would, and puts the focus on it; nothing
  // for none (nullptr) or one that is hidden or disabled.
  void ChooseOption(QAbstractButton* option);
  void FocusSudOption(int index);
  void FocusNavigButton(int index);

  // The step timer: 10 ms, precise, stopped until the session starts it.
  QTimer& StepTimer() { return *controls_.tmrSteps; }
  // The popup menu of cmdNav; the controller fills it with the menu commands
  // (mnuPopUpInfo, mnuPopUpShortcuts, ..., mnuPopUpSep, mnuPopUpExit). It is
  // made when it is first asked for: a session that never opens it never
  // loads the menus' code.
  QMenu& PopupMenu();
  // made runs with the menu once it has been made (at once if it has been).
  void WhenPopupMenuMade(std::function<void(QMenu&)> made);
  // The line of the status strip that shows notices.
  NoticeStrip& Notices() { return *notices_; }
  // "Paused" in the status strip, shown exactly while Resume is.
  QLabel& PausedSign() const;

 signals:
  // A left click on the instruction text, the title, the pictures, the point
  // name, the divider, the panes or the window's own surface.
  void surfaceClicked();
  // The user clicked issue button radMode(index).
  void issueOptionClicked(int index);
  // The user picked SUD rating index, on its button or on the number above it.
  void sudOptionClicked(int index);

 protected:
  void resizeEvent(QResizeEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void CreateControls();
  QWidget* AddControl(const main_window::ControlDesign& design, QWidget* container);
  // Puts each control the table made into its typed member.
  void BindControls();
  // The control the table made under that object name ("cmdNavig(1)"), for the builder only.
  QWidget* Built(std::string_view objectName) const;
  template <class T>
  T* BuiltAs(std::string_view name, int index = -1) const;
  QWidget* CreateWidget(const main_window::ControlDesign& design, QWidget* container);
  void ApplyLook(QWidget* widget, const main_window::ControlDesign& design);
  void DockStrips();
  void SetLabelText(QLabel* label, std::string_view text, const QString& emptyName);
  void FitText(QLabel* label);
  void FitShownLabels();  // the labels whose fit waited while they were hidden
  main_window::DotShape* Dot(int index) const;
  bool IsSecondClickRelease(QEvent::Type type);

  main_window::MainControls controls_;
  // What the table made, by object name: the builder's index.
  std::map<std::string, QWidget*, std::less<>> built_;
  // The design of each control placed on a picture (the dots), which scale with it.
  std::vector<std::pair<QWidget*, const main_window::ControlDesign*>> onPicture_;
  const main_window::ControlDesign* journalDesign_ = nullptr;  // txtJournal until it is made
  const main_window::ControlDesign* wordsDesign_ = nullptr;    // txtWords until it is made
  main_window::WhenMade<QLineEdit> wordsFieldMade_;
  main_window::WhenMade<QMenu> popupMenuMade_;
  QPlainTextEdit* txtJournal_ = nullptr;
  // The last fit of each label: measuring wrapped text at falling sizes is
  // the dearest part of laying out the window, and most layouts repeat one.
  struct TextFit {
    QString text;
    int boldLine = -1;  // of a BoldLineLabel
    QSize room;
    int flags = 0;
    QFont designFont;
    int pixelSize = 0;
  };
  std::map<const QLabel*, TextFit> textFits_;
  std::set<QLabel*> unfitted_;
  main_window::MainLayout layout_;
  NoticeStrip* notices_ = nullptr;
  main_window::PausedSign* paused_ = nullptr;  // shown while cmdResume is
  std::int32_t mlngToolbarRightEdge = 0;
  bool secondClickPending_ = false;
};

}  // namespace serenitap
