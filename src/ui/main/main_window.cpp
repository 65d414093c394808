#include "ui/main/main_window.h"

#include <QAbstractButton>
#include <QAccessible>
#include <QFontMetrics>
#include <QFrame>
#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <algorithm>
#include <cmath>
#include <limits>
#include <stdexcept>
#include <type_traits>
#include <vector>

#include "content/instructions.h"
#include "content/issues.h"
#include "content/own_words.h"
#include "services/failure.h"
#include "services/product.h"
#include "ui/dialogs/accessible_role.h"
#include "ui/dialogs/dialog_pictures.h"
#include "ui/dialogs/focus_ring.h"
#include "ui/fonts.h"
#include "ui/main/after_first_paint.h"
#include "ui/main/built_pictures.h"
#include "ui/main/notice_strip.h"
#include "ui/main/widgets.h"
#include "ui/qt_text.h"

namespace serenitap {

using main_window::ControlDesign;
using main_window::ControlKind;
using main_window::Paint;

namespace main_window {

QFont FontOf(const FontDesign& design) {
  const FontDesign& f = design.family.empty() ? kWindowFont : design;
  QFont font = DesignFont(f.family);
  // Points at 96 dpi, the resolution the twip measurements assume: 20 twips
  // a point, 15 twips a pixel.
  font.setPixelSize(TwipsToPixels(f.points * 20));  // 20 twips to the point
  font.setBold(f.bold);
  return font;
}

QRect PixelRect(const TwipRect& t) {
  return {TwipsToPixels(t.left), TwipsToPixels(t.top), TwipsToPixels(t.width), TwipsToPixels(t.height)};
}

QColor ColorOf(Rgb rgb) { return QColor(rgb.red, rgb.green, rgb.blue); }

}  // namespace main_window

namespace {

constexpr std::string_view kModule = "frmMain";

// What a screen reader says for controls whose caption does not say it.
QString FixedAccessibleName(const ControlDesign& design) {
  static const std::map<std::string_view, const char*> names{
      {"picToolBar", "Toolbar"},
      {"picStatusBar", "Status bar"},
      {"picLeftFrame", "Instructions pane"},
      {"picRightFrame", "Picture pane"},
      {"picShape", "Chart of the tapping points on the head and upper body"},
      {"picHandLeft", "Left hand with its karate-chop point"},
      {"picHandRight", "Right hand with its karate-chop point"},
      {"fraMode", "Issue"},
      {"fraSUD_2", "SUD rating, 0 to 10"},
      {"lblSplit", "Divider"},
      {"lblRoundPolarity", "Round polarity"},
      {"lblRoundCount", "Round count"},
      {"txtWords", "In your own words (optional)"},
      {"cmdNav", "Menu"},
      {"cmdInfo", "Information"},
      {"shpGreen", "Thymus point"},
      {"txtJournal", "Session journal"},
  };
  if (auto it = names.find(design.name); it != names.end()) return QString::fromUtf8(it->second);
  if (design.name == "shpStep") {
    return QStringLiteral("Tapping point: ") + ToQString(main_window::DotPointName(design.index));
  }
  if (design.name == "radSUD") return QStringLiteral("SUD %1").arg(design.index);
  return {};
}

// What a screen reader says of a dot's colour.
QString ColourName(main_window::Rgb colour) {
  if (colour == kDotRed) return QStringLiteral("red");
  if (colour == kDotGreen) return QStringLiteral("green");
  return main_window::ColorOf(colour).name();
}

// Accessible name of a text label while it is empty.
QString EmptyLabelName(std::string_view name) {
  if (name == "lblSegmentTitle") return QStringLiteral("Segment title");
  if (name == "lblLeftFrame") return QStringLiteral("Instructions");
  if (name == "lblIntro") return QStringLiteral("Introduction");
  if (name == "lblCurrentPoint") return QStringLiteral("Current point");
  if (name == "lblTime_New") return QStringLiteral("Elapsed time");
  if (name == "lblRoundLine") return QStringLiteral("Round");
  return {};
}
QString EmptyLabelName(const QLabel& label) { return EmptyLabelName(label.objectName().toStdString()); }

// The room a label's text takes in the given font at the given width.
QSize NeededSize(const QLabel& label, const QFont& font, int width, int flags) {
  if (const auto* bold = dynamic_cast<const main_window::BoldLineLabel*>(&label); bold && bold->BoldLine() >= 0) {
    return bold->NeededSize(font, width);
  }
  return QFontMetrics(font)
      .boundingRect(QRect(0, 0, width, std::numeric_limits<int>::max() / 2), flags, label.text())
      .size();
}

}  // namespace

frmMain::frmMain(QWidget* parent) : QWidget(parent) {
  using namespace main_window;
  Guarded(kModule, "Form_Load", [&] {
    setObjectName(QStringLiteral("frmMain"));
    SetAccessibleRole(this, QAccessible::Window);  // a frame, as every main window
    setFont(FontOf(kWindowFont));
    setBackgroundRole(QPalette::Base);
    setAutoFillBackground(true);
    SetFormCaption();
    // No control lays out its text as it is made (the words field and the
    // journal box are made later), so they are made while the font
    // configuration may still be being read; the first text laid out waits.
    CreateControls();
    WaitForFontConfiguration();
    notices_ = new NoticeStrip(controls_.picStatusBar);
    AttachNoticeStrip(notices_);
    paused_ = new main_window::PausedSign(controls_.picStatusBar);
    paused_->setFont(FontOf(kWindowFont));
    QFont bold = paused_->font();
    bold.setBold(true);
    paused_->setFont(bold);
    controls_.cmdResume->installEventFilter(this);
    InstallFocusRing();

    const ControlDesign* finish = FindControl("cmdFinish");  // its design, before any layout
    mlngToolbarRightEdge = static_cast<std::int32_t>(RoundTwips(finish->geometry.left + finish->geometry.width));
    SetResumeButton(false, false);
    // The dots start hidden and the captions and colours come from the control
    // table; Form_Load resets the dots, the time and the captions once more
    // through the session and paints the strips.
    SetIntroText(modSteps::GetIntroText());
    layout_ = DesignLayout();
    resize(TwipsToPixels(kDesignClientWidth), TwipsToPixels(kDesignClientHeight));
    DockStrips();
    ArrangeControls();
    AfterFirstPaint(*this, [this] { WordsField(); });
  });
}

frmMain::~frmMain() = default;

void frmMain::CreateControls() {
  for (const ControlDesign& design : main_window::Controls()) {
    if (design.kind == ControlKind::Timer) {
      controls_.tmrSteps = new QTimer(this);
      controls_.tmrSteps->setObjectName(ToQString(design.name));
      controls_.tmrSteps->setTimerType(Qt::PreciseTimer);
      controls_.tmrSteps->setInterval(10);
      continue;
    }
    if (design.kind == ControlKind::Menu) continue;  // built by CreatePopupMenu
    if (design.kind == ControlKind::LineEdit) {
      // The words field is made later (WordsField): it lays out its text as it
      // is made, in two sizes of type the first look of the window does not use.
      wordsDesign_ = &design;
      continue;
    }
    if (design.kind == ControlKind::TextBox && !design.visibleAtStart) {
      // Nothing shows the journal text box: it is made when it is asked for.
      // Made with the others it would lay out its text, load its type and
      // its scroll bars, and keep them in memory all along.
      journalDesign_ = &design;
      continue;
    }
    QWidget* widget = AddControl(design, design.container.empty() ? this : Built(design.container));
    if (design.kind == ControlKind::Shape) onPicture_.emplace_back(widget, &design);
  }
  BindControls();
  // Dots lie on their pictures; the strips lie over everything else.
  for (main_window::DotShape* dot : controls_.shpStep) dot->raise();
  controls_.shpGreen->raise();
  controls_.picToolBar->raise();
  controls_.picStatusBar->raise();
}

QWidget* frmMain::Built(std::string_view objectName) const {
  auto it = built_.find(objectName);
  if (it == built_.end()) throw std::logic_error("the control table has no control " + std::string(objectName));
  return it->second;
}

template <class T>
T* frmMain::BuiltAs(std::string_view name, int index) const {
  const std::string objectName = main_window::ObjectNameOf(name, index);
  T* typed = qobject_cast<T*>(Built(objectName));
  if (typed == nullptr) throw std::logic_error(objectName + " is not of the kind its member holds");
  return typed;
}

void frmMain::BindControls() {
  using namespace main_window;
  MainControls& c = controls_;
  auto bind = [this](auto*& member, std::string_view name) {
    member = BuiltAs<std::remove_pointer_t<std::remove_reference_t<decltype(member)>>>(name);
  };
  auto bindArray = [this](auto& array, std::string_view name) {
    using Element = std::remove_pointer_t<std::remove_reference_t<decltype(*array.begin())>>;
    for (int i = array.kFirst; i <= array.kLast; ++i) array.Element(i) = BuiltAs<Element>(name, i);
  };
  bind(c.picToolBar, "picToolBar");
  bind(c.cmdExit, "cmdExit");
  bindArray(c.cmdNavig, "cmdNavig");
  bind(c.cmdPause, "cmdPause");
  bind(c.cmdResume, "cmdResume");
  bind(c.cmdFinish, "cmdFinish");
  bind(c.cmdWeb, "cmdWeb");
  bind(c.cmdStart, "cmdStart");
  bind(c.cmdShare, "cmdShare");
  bind(c.picStatusBar, "picStatusBar");
  bind(c.lblRoundPolarity, "lblRoundPolarity");
  bind(c.lblRoundCount, "lblRoundCount");
  bind(c.lblTime_New, "lblTime_New");
  bind(c.cmdNav, "cmdNav");
  bind(c.cmdInfo, "cmdInfo");
  bind(c.cmdAbout, "cmdAbout");
  bind(c.picLeftFrame, "picLeftFrame");
  bind(c.lblSegmentTitle, "lblSegmentTitle");
  bind(c.lblLeftFrame, "lblLeftFrame");
  bind(c.picRightFrame, "picRightFrame");
  bind(c.picShape, "picShape");
  bind(c.picHandLeft, "picHandLeft");
  bind(c.picHandRight, "picHandRight");
  bind(c.lblCurrentPoint, "lblCurrentPoint");
  bind(c.fraMode, "fraMode");
  bindArray(c.radMode, "radMode");
  bind(c.lblWords, "lblWords");
  bind(c.lblRoundLine, "lblRoundLine");
  bind(c.fraSUD_2, "fraSUD_2");
  bindArray(c.lblSUDUnit, "lblSUDUnit");
  bindArray(c.radSUD, "radSUD");
  bind(c.lblSplit, "lblSplit");
  bind(c.lblIntro, "lblIntro");
  bindArray(c.shpStep, "shpStep");
  bind(c.shpGreen, "shpGreen");
  bindArray(c.cmdNavig_Bottom, "cmdNavig_Bottom");
  bind(c.cmdPause_Bottom, "cmdPause_Bottom");
  bind(c.cmdResume_Bottom, "cmdResume_Bottom");
}

QWidget* frmMain::AddControl(const ControlDesign& design, QWidget* container) {
  QWidget* widget = CreateWidget(design, container);
  const std::string objectName = main_window::ObjectNameOf(design.name, design.index);
  widget->setObjectName(ToQString(objectName));
  widget->setGeometry(main_window::PixelRect(design.geometry));
  ApplyLook(widget, design);
  widget->setVisible(design.visibleAtStart);
  built_.emplace(objectName, widget);
  return widget;
}

QPlainTextEdit& frmMain::JournalBox() {
  if (txtJournal_ == nullptr) {
    // Making it changes nothing seen: it lies beyond the right edge, hidden.
    QWidget* widget = AddControl(*journalDesign_, this);
    widget->lower();  // under the strips, as if made with the others
    txtJournal_ = static_cast<QPlainTextEdit*>(widget);
  }
  return *txtJournal_;
}

QWidget* frmMain::CreateWidget(const ControlDesign& design, QWidget* container) {
  switch (design.kind) {
    case ControlKind::PictureBox: {
      auto* box = new main_window::PictureBox(container);
      box->SetPicture(main_window::BuiltPicture(design.image));
      box->installEventFilter(this);
      return box;
    }
    case ControlKind::Frame: {
      auto* frame = new main_window::ChoiceGroup(container);
      frame->installEventFilter(this);
      return frame;
    }
    case ControlKind::Label: {
      auto* label = design.name == "lblLeftFrame" ? new main_window::BoldLineLabel(container) : new QLabel(container);
      label->setTextFormat(Qt::PlainText);
      label->setText(ToQString(design.caption));
      label->setWordWrap(design.name == "lblLeftFrame" || design.name == "lblIntro" ||
                         design.name == "lblSegmentTitle" || design.name == "lblCurrentPoint");
      Qt::Alignment align = design.centred ? Qt::AlignHCenter : Qt::AlignLeft;
      align |= design.name == "lblTime_New" ? Qt::AlignVCenter : Qt::AlignTop;
      label->setAlignment(align);
      label->installEventFilter(this);
      return label;
    }
    case ControlKind::PushButton: {
      // The bottom row (never shown) is made of push buttons as well: a kind
      // of button of its own would load its code for buttons nobody sees.
      auto* button = new QPushButton(container);
      if (design.name.ends_with("_Bottom")) button->setIconSize(QSize(32, 32));
      button->setText(ToQString(design.caption));
      if (const FilledDrawing* icon = main_window::BuiltPicture(design.image)) button->setIcon(DrawingIcon(*icon));
      // Tab reaches it; a click leaves the keyboard's focus where it was.
      button->setFocusPolicy(Qt::TabFocus);
      return button;
    }
    case ControlKind::OptionButton: {
      auto* option = new QRadioButton(ToQString(design.caption), container);
      option->setFocusPolicy(Qt::TabFocus);
      const int index = design.index;
      const bool issue = design.name == "radMode";
      auto choose = [this, index, issue] {
        if (issue)
          emit issueOptionClicked(index);
        else
          emit sudOptionClicked(index);
      };
      // Ticking the option stores the choice, whether a click, a key or a
      // screen reader's toggle action ticked it. A click on the option that
      // is already ticked changes nothing on screen but still stores it.
      connect(option, &QRadioButton::pressed, option,
              [option] { option->setProperty("tickedAtPress", option->isChecked()); });
      connect(option, &QRadioButton::toggled, this, [choose](bool checked) {
        if (checked) choose();
      });
      connect(option, &QRadioButton::clicked, this, [option, choose] {
        if (option->property("tickedAtPress").toBool()) choose();
        option->setProperty("tickedAtPress", false);
      });
      return option;
    }
    case ControlKind::Shape: return new main_window::DotShape(container);
    case ControlKind::TextBox: {
      auto* text = new QPlainTextEdit(container);
      text->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
      text->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
      text->setLineWrapMode(QPlainTextEdit::NoWrap);
      return text;
    }
    case ControlKind::LineEdit: {
      auto* field = new QLineEdit(container);
      field->setMaxLength(static_cast<int>(modIssues::kOwnWordsMaxCharacters));
      return field;
    }
    case ControlKind::Timer:
    case ControlKind::Menu: break;
  }
  return new QWidget(container);
}

void frmMain::ApplyLook(QWidget* widget, const ControlDesign& design) {
  if (!design.font.family.empty()) {
    const QFont font = main_window::FontOf(design.font);
    widget->setFont(font);
    widget->setProperty("designPixelSize", font.pixelSize());
  }
  QPalette palette = widget->palette();
  switch (design.back) {
    case Paint::Default: break;
    case Paint::Transparent: widget->setAutoFillBackground(false); break;
    case Paint::White:
      palette.setColor(QPalette::Window, Qt::white);
      palette.setColor(QPalette::Base, Qt::white);
      widget->setBackgroundRole(QPalette::Window);
      widget->setAutoFillBackground(true);
      break;
    case Paint::SystemWindow:
      widget->setBackgroundRole(QPalette::Base);
      widget->setAutoFillBackground(true);
      break;
    case Paint::System3DLight:
      widget->setBackgroundRole(QPalette::Midlight);
      widget->setAutoFillBackground(true);
      break;
    case Paint::SystemWindowText: break;
    case Paint::Fixed:
      if (design.kind != ControlKind::Shape) {
        palette.setColor(QPalette::Window, main_window::ColorOf(design.backRgb));
        widget->setBackgroundRole(QPalette::Window);
        widget->setAutoFillBackground(true);
      }
      break;
  }
  widget->setPalette(palette);
  if (design.fore == Paint::SystemWindowText) widget->setForegroundRole(QPalette::Text);
  if (auto* dot = qobject_cast<main_window::DotShape*>(widget)) {
    dot->SetColors(main_window::ColorOf(design.backRgb), main_window::ColorOf(design.borderRgb));
  }

  // The role first: a change of name already makes the screen reader's view of the control.
  if (design.name == "picToolBar") {
    SetAccessibleRole(widget, QAccessible::ToolBar);
  } else if (design.name == "picStatusBar") {
    SetAccessibleRole(widget, QAccessible::StatusBar);
  } else if (design.kind == ControlKind::PictureBox) {
    SetAccessibleRole(widget, design.image.empty() ? QAccessible::Pane : QAccessible::Graphic);
  }
  QString name = FixedAccessibleName(design);
  if (name.isEmpty() && (design.kind == ControlKind::PushButton || design.kind == ControlKind::OptionButton ||
                         design.kind == ControlKind::Label)) {
    name = WithoutAccessKey(ToQString(design.caption));
  }
  if (name.isEmpty()) name = EmptyLabelName(design.name);
  widget->setAccessibleName(name);
  if (design.kind == ControlKind::Shape) widget->setAccessibleDescription(ColourName(design.backRgb));
}

QMenu& frmMain::PopupMenu() {
  if (controls_.mnuPopUp == nullptr) {
    // Its items are the menu commands of the command table (ui/main/commands.h).
    controls_.mnuPopUp = new QMenu(QStringLiteral("PopUp"), this);
    controls_.mnuPopUp->setObjectName(QStringLiteral("mnuPopUp"));
    popupMenuMade_.Made(*controls_.mnuPopUp);
  }
  return *controls_.mnuPopUp;
}

void frmMain::WhenPopupMenuMade(std::function<void(QMenu&)> made) {
  popupMenuMade_.Run(controls_.mnuPopUp, std::move(made));
}

void frmMain::SetFormCaption() {
  Guarded(kModule, "SetFormCaption", [&] { setWindowTitle(ToQString(product::kName)); });
}

void frmMain::SetColors() {
  Guarded(kModule, "SetColors", [&] {
    auto paint = [](QWidget* widget, main_window::Rgb rgb) {
      QPalette palette = widget->palette();
      palette.setColor(QPalette::Window, main_window::ColorOf(rgb));
      widget->setPalette(palette);
      widget->setBackgroundRole(QPalette::Window);
      widget->setAutoFillBackground(true);
    };
    paint(controls_.picToolBar, main_window::kStripBack);
    paint(controls_.picStatusBar, main_window::kStripBack);
    paint(controls_.lblSplit, main_window::kSplitBack);
  });
}

void frmMain::DockStrips() {
  const int strip = main_window::TwipsToPixels(main_window::kStatusBarHeight);
  controls_.picToolBar->setGeometry(0, 0, width(), main_window::TwipsToPixels(main_window::kToolbarHeight));
  controls_.picStatusBar->setGeometry(0, height() - strip, width(), strip);
}

void frmMain::ArrangeControls() {
  using namespace main_window;
  // The layout reports nothing: a step that fails is left out and the
  // following ones still run, so a failure never stops a resize.
  try {
    const LayoutInput input =
        WindowSizeForClient(PixelsToTwips(width()), PixelsToTwips(height()), mlngToolbarRightEdge);
    layout_ = main_window::ArrangeControls(input, layout_);
  } catch (...) {
    // The controls keep their last rectangles; a report on every resize would flood the user.
  }
  const MainControls& c = controls_;
  const std::pair<QWidget*, const TwipRect*> placed[] = {
      {c.lblIntro, &layout_.lblIntro},
      {c.picLeftFrame, &layout_.picLeftFrame},
      {c.picRightFrame, &layout_.picRightFrame},
      {c.lblSplit, &layout_.lblSplit},
      {c.lblSegmentTitle, &layout_.lblSegmentTitle},
      {c.lblLeftFrame, &layout_.lblLeftFrame},
      {c.picShape, &layout_.picShape},
      {c.lblCurrentPoint, &layout_.lblCurrentPoint},
      {c.fraMode, &layout_.fraMode},
      {c.fraSUD_2, &layout_.fraSUD_2},
      {c.picHandLeft, &layout_.picHandLeft},
      {c.picHandRight, &layout_.picHandRight},
      {c.cmdNav, &layout_.cmdNav},
      {c.lblTime_New, &layout_.lblTime_New},
      {c.cmdNavig_Bottom[0], &layout_.cmdNavig_Bottom0},
      {c.cmdNavig_Bottom[1], &layout_.cmdNavig_Bottom1},
      {c.cmdPause_Bottom, &layout_.cmdPause_Bottom},
      {c.cmdResume_Bottom, &layout_.cmdResume_Bottom},
      {c.cmdWeb, &layout_.cmdWeb},
      {c.lblRoundLine, &layout_.lblRoundLine},
  };
  for (const auto& [widget, rect] : placed) {
    try {
      widget->setGeometry(PixelRect(*rect));
    } catch (...) {
      // This control stays where it was; the others are still placed.
    }
  }
  // The dots keep their points on a chart or hand scaled to fit its pane.
  for (const auto& [dot, design] : onPicture_) {
    if (design->container.empty()) continue;
    const double scale = dot->parentWidget() == c.picShape ? layout_.chartScale : layout_.handScale;
    dot->setGeometry(PixelRect(Scaled(design->geometry, scale)));
  }
  // "Paused" stands at the strip's left end while the session is paused;
  // notices take the rest of the strip up to the time.
  // It is measured only when it shows: measuring loads its bold type, which
  // the first look of the window does not need.
  double left = 300;
  if (paused_ != nullptr && !paused_->isHidden()) {
    const double width = (paused_->sizeHint().width() + 4) * kTwipsPerPixel;
    paused_->setGeometry(PixelRect({left, 0, width, kStatusBarHeight}));
    left += width + 150;
  }
  if (notices_ != nullptr) {
    notices_->setGeometry(PixelRect({left, 0, std::max(0.0, layout_.lblTime_New.left - 150 - left), kStatusBarHeight}));
  }
  for (QLabel* label : std::initializer_list<QLabel*>{c.lblIntro, c.lblSegmentTitle, c.lblLeftFrame, c.lblCurrentPoint,
                                                      c.lblTime_New}) {
    FitText(label);
  }
}

void frmMain::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  if (isMinimized()) return;
  DockStrips();
  ArrangeControls();
}

main_window::DotShape* frmMain::Dot(int index) const { return controls_.shpStep[index]; }

void frmMain::SetIntroVisible(bool visible) {
  controls_.lblIntro->setVisible(visible);
  FitShownLabels();
}

void frmMain::SetPanesVisible(bool visible) {
  controls_.picLeftFrame->setVisible(visible);
  controls_.picRightFrame->setVisible(visible);
  controls_.lblSplit->setVisible(visible);  // their labels are fitted as they are shown
}

void frmMain::SetBodyChartVisible(bool visible) { controls_.picShape->setVisible(visible); }

void frmMain::FitShownLabels() {
  const std::vector<QLabel*> waiting(unfitted_.begin(), unfitted_.end());
  for (QLabel* label : waiting) {
    if (label->isVisibleTo(this)) FitText(label);
  }
}

void frmMain::SetHandsVisible(bool visible) {
  controls_.picHandLeft->setVisible(visible);
  controls_.picHandRight->setVisible(visible);
}

void frmMain::SetIssueChoiceVisible(bool visible) { controls_.fraMode->setVisible(visible); }
void frmMain::SetSudChoiceVisible(bool visible) { controls_.fraSUD_2->setVisible(visible); }
void frmMain::SetThymusVisible(bool visible) { controls_.shpGreen->setVisible(visible); }

void frmMain::SetLabelText(QLabel* label, std::string_view text, const QString& emptyName) {
  const QString plain = ForDisplay(text);
  if (plain == label->text()) return;  // nothing new to show or to announce
  label->setText(plain);
  // The long texts keep a name that says what they are for: a screen reader
  // would read the whole text again on every change of its name. The text
  // itself is their description.
  if (label == controls_.lblLeftFrame || label == controls_.lblIntro) {
    label->setAccessibleName(emptyName);
    label->setAccessibleDescription(plain);
  } else {
    label->setAccessibleName(plain.isEmpty() ? emptyName : plain);
  }
  FitText(label);
}

// A wrapped text that does not fit its label at the design size is set in
// smaller type, down to a size that is still easy to read, rather than cut.
// A hidden label is fitted when it is shown: a fit loads the type at each size tried.
void frmMain::FitText(QLabel* label) {
  const int designSize = label->property("designPixelSize").toInt();
  if (designSize <= 0) return;
  if (!label->isVisibleTo(this)) {
    unfitted_.insert(label);
    return;
  }
  unfitted_.erase(label);
  const QRect room = label->contentsRect();
  const int flags = int(label->alignment()) | (label->wordWrap() ? int(Qt::TextWordWrap) : 0);
  QFont font = label->font();
  font.setPixelSize(designSize);
  const auto* boldLabel = dynamic_cast<const main_window::BoldLineLabel*>(label);
  const int bold = boldLabel != nullptr ? boldLabel->BoldLine() : -1;
  TextFit& fit = textFits_[label];
  if (fit.pixelSize > 0 && fit.text == label->text() && fit.boldLine == bold && fit.room == room.size() &&
      fit.flags == flags && fit.designFont == font) {
    font.setPixelSize(fit.pixelSize);
  } else {
    fit = TextFit{label->text(), bold, room.size(), flags, font, 0};
    for (int size = designSize;; --size) {
      font.setPixelSize(size);
      const QSize needed = NeededSize(*label, font, room.width(), flags);
      if (size <= main_window::kSmallestTextPixels ||
          (needed.height() <= room.height() && needed.width() <= room.width()))
        break;
    }
    fit.pixelSize = font.pixelSize();
  }
  if (font.pixelSize() != label->font().pixelSize()) label->setFont(font);
}

void frmMain::SetCurrentPointText(std::string_view text) {
  SetLabelText(controls_.lblCurrentPoint, text, EmptyLabelName(*controls_.lblCurrentPoint));
}

void frmMain::SetSegmentTitleText(std::string_view text) {
  SetLabelText(controls_.lblSegmentTitle, text, EmptyLabelName(*controls_.lblSegmentTitle));
}

void frmMain::SetInstructionsText(std::string_view text, std::int32_t sayNowLine) {
  main_window::BoldLineLabel* label = controls_.lblLeftFrame;
  if (sayNowLine < 0) {
    label->SetBoldLine(-1);
    SetLabelText(label, text, EmptyLabelName(*label));
    return;
  }
  // The statement to say now in bold; the text, its blanks and its line
  // breaks as they are. A screen reader gets the plain text.
  const QString plain = ForDisplay(text);
  label->SetBoldLine(sayNowLine);
  label->setText(plain);
  // The name says what the text is for; the text is the description (a new
  // name at every point would be read out whole).
  label->setAccessibleName(EmptyLabelName(*label));
  label->setAccessibleDescription(plain);
  FitText(label);
}

void frmMain::SetRoundLine(std::string_view text) {
  QLabel* label = controls_.lblRoundLine;
  const QString line = ForDisplay(text);
  label->setVisible(!line.isEmpty());
  if (line == label->text()) return;
  label->setText(line);
  label->setAccessibleName(line.isEmpty() ? EmptyLabelName(*label) : line);
  if (line.isEmpty()) return;
  // Said once as the round starts: the points of the round leave it alone.
  QAccessibleEvent alert(label, QAccessible::Alert);
  QAccessible::updateAccessibility(&alert);
}

QLineEdit& frmMain::WordsField() {
  if (controls_.txtWords == nullptr) {
    QWidget* field = AddControl(*wordsDesign_, Built(wordsDesign_->container));
    controls_.txtWords = static_cast<QLineEdit*>(field);
    controls_.lblWords->setBuddy(field);
    // Tab reaches it right after the issues, as if made with them.
    QWidget::setTabOrder(controls_.radMode[controls_.radMode.kLast], field);
    wordsFieldMade_.Made(*controls_.txtWords);
  }
  return *controls_.txtWords;
}

void frmMain::WhenWordsFieldMade(std::function<void(QLineEdit&)> made) {
  wordsFieldMade_.Run(controls_.txtWords, std::move(made));
}

void frmMain::SetIntroText(std::string_view text) {
  SetLabelText(controls_.lblIntro, text, EmptyLabelName(*controls_.lblIntro));
}

void frmMain::SetTimeText(std::string_view text) {
  QLabel* label = controls_.lblTime_New;
  const QString plain = ForDisplay(text);
  label->setText(plain);
  // Read when the user asks for it; a new name every second would be announced every second.
  label->setAccessibleName(EmptyLabelName(*label));
  label->setAccessibleDescription(plain);
  FitText(label);
}

void frmMain::SetDotVisible(int index, bool visible) {
  if (auto* dot = Dot(index)) dot->setVisible(visible);
}

bool frmMain::IsDotVisible(int index) const {
  const auto* dot = Dot(index);
  return dot && !dot->isHidden();
}

void frmMain::SetDotColor(int index, main_window::Rgb color) {
  if (auto* dot = Dot(index)) {
    dot->SetColors(main_window::ColorOf(color), main_window::ColorOf(color));
    dot->setAccessibleDescription(ColourName(color));
  }
}

main_window::Rgb frmMain::DotColor(int index) const {
  const auto* dot = Dot(index);
  if (!dot) return {};
  const QColor c = dot->FillColor();
  return {static_cast<std::uint8_t>(c.red()), static_cast<std::uint8_t>(c.green()),
          static_cast<std::uint8_t>(c.blue())};
}

void frmMain::PaintAllDots(main_window::Rgb color) {
  for (int i = 1; i <= main_window::kDotCount; ++i) SetDotColor(i, color);
}

void frmMain::HideAllDots() {
  for (int i = 1; i <= main_window::kDotCount; ++i) SetDotVisible(i, false);
}

void frmMain::SetResumeButton(bool visible, bool enabled) {
  controls_.cmdResume->setEnabled(enabled);
  controls_.cmdResume->setVisible(visible);
}

bool frmMain::IsPauseAvailable() const { return !controls_.cmdPause->isHidden() && controls_.cmdPause->isEnabled(); }

bool frmMain::IsResumeAvailable() const { return !controls_.cmdResume->isHidden() && controls_.cmdResume->isEnabled(); }

void frmMain::SelectIssueOption(int index) {
  if (auto* option = controls_.radMode[index]) option->setChecked(true);
}

int frmMain::SelectedIssueOption() const {
  for (int i = controls_.radMode.kFirst; i <= controls_.radMode.kLast; ++i) {
    if (controls_.radMode[i]->isChecked()) return i;
  }
  return 0;
}

void frmMain::SelectSudOption(int index) {
  if (auto* option = controls_.radSUD[index]) option->setChecked(true);
}

int frmMain::SelectedSudOption() const {
  for (int i = controls_.radSUD.kFirst; i <= controls_.radSUD.kLast; ++i) {
    if (controls_.radSUD[i]->isChecked()) return i;
  }
  return -1;
}

int frmMain::VisibleIssueOption(int position) const {
  std::vector<std::pair<int, const QAbstractButton*>> visible;  // index and option
  for (int i = controls_.radMode.kFirst; i <= controls_.radMode.kLast; ++i) {
    const QAbstractButton* option = controls_.radMode[i];
    if (option->isVisibleTo(this)) visible.emplace_back(i, option);
  }
  std::stable_sort(visible.begin(), visible.end(),
                   [](const auto& a, const auto& b) { return a.second->y() < b.second->y(); });
  if (position < 1 || position > static_cast<int>(visible.size())) return 0;
  return visible[static_cast<std::size_t>(position - 1)].first;
}

void frmMain::ChooseOption(QAbstractButton* option) {
  if (option == nullptr || !option->isVisibleTo(this) || !option->isEnabled()) return;
  option->click();
  option->setFocus();
}

void frmMain::FocusSudOption(int index) {
  if (auto* option = controls_.radSUD[index]) option->setFocus();
}

void frmMain::FocusNavigButton(int index) {
  if (auto* button = controls_.cmdNavig[index]) button->setFocus();
}

// Clicks: the panes, pictures and step texts advance the session; the
// strips and the two choice frames keep clicks on their background to
// themselves; the number above a SUD button selects that button.
// A double-click is one click: its second press arrives as a double-click
// event, and the release that follows it is not another click.
bool frmMain::IsSecondClickRelease(QEvent::Type type) {
  if (type == QEvent::MouseButtonDblClick) {
    secondClickPending_ = true;
    return false;
  }
  if (type != QEvent::MouseButtonRelease) return false;
  const bool second = secondClickPending_;
  secondClickPending_ = false;
  return second;
}

QLabel& frmMain::PausedSign() const { return *paused_; }

bool frmMain::eventFilter(QObject* watched, QEvent* event) {
  if (watched == controls_.cmdResume && (event->type() == QEvent::Show || event->type() == QEvent::Hide)) {
    paused_->setVisible(event->type() == QEvent::Show);
    ArrangeControls();
    return QWidget::eventFilter(watched, event);
  }
  if (event->type() == QEvent::Show) {
    if (auto* label = qobject_cast<QLabel*>(watched); label != nullptr && unfitted_.count(label) != 0) FitText(label);
    return QWidget::eventFilter(watched, event);
  }
  if (event->type() != QEvent::MouseButtonPress && event->type() != QEvent::MouseButtonRelease &&
      event->type() != QEvent::MouseButtonDblClick) {
    return QWidget::eventFilter(watched, event);
  }
  auto* widget = qobject_cast<QWidget*>(watched);
  const auto* mouse = static_cast<QMouseEvent*>(event);
  if (!widget || mouse->button() != Qt::LeftButton) return QWidget::eventFilter(watched, event);
  const bool secondRelease = IsSecondClickRelease(event->type());
  const bool release = event->type() == QEvent::MouseButtonRelease && !secondRelease;
  const bool inside = widget->rect().contains(mouse->position().toPoint());
  const main_window::MainControls& c = controls_;
  if (const auto unit = std::find(c.lblSUDUnit.begin(), c.lblSUDUnit.end(), widget); unit != c.lblSUDUnit.end()) {
    if (release && inside) {
      const int index = c.lblSUDUnit.kFirst + static_cast<int>(unit - c.lblSUDUnit.begin());
      // Ticking an unticked option stores the choice by itself.
      if (QRadioButton* option = c.radSUD[index]; option != nullptr && !option->isChecked())
        option->setChecked(true);
      else
        emit sudOptionClicked(index);
    }
    return true;
  }
  const bool quiet = widget == c.picToolBar || widget == c.picStatusBar || widget == c.fraMode || widget == c.fraSUD_2;
  if (quiet || widget->parentWidget() == c.picStatusBar) return true;
  if (release && inside) emit surfaceClicked();
  return true;
}

void frmMain::mousePressEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton)
    event->accept();
  else
    QWidget::mousePressEvent(event);
}

void frmMain::mouseDoubleClickEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton) {
    IsSecondClickRelease(event->type());
    event->accept();
  } else {
    QWidget::mouseDoubleClickEvent(event);
  }
}

void frmMain::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton && !IsSecondClickRelease(event->type()) &&
      rect().contains(event->position().toPoint())) {
    emit surfaceClicked();
  }
  QWidget::mouseReleaseEvent(event);
}

}  // namespace serenitap
