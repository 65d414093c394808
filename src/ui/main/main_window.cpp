#include "ui/main/main_window.h"

#include <QAbstractButton>
#include <QAccessible>
#include <QFontInfo>
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
#include <QTextDocument>
#include <QTimer>
#include <QToolButton>
#include <algorithm>
#include <cmath>
#include <limits>
#include <vector>

#include "content/instructions.h"
#include "content/issues.h"
#include "content/own_words.h"
#include "services/failure.h"
#include "services/product.h"
#include "ui/dialogs/accessible_role.h"
#include "ui/dialogs/focus_ring.h"
#include "ui/fonts.h"
#include "ui/main/notice_strip.h"
#include "ui/main/widgets.h"
#include "ui/qt_text.h"

// The pictures are compiled into the library; a static library has to ask
// for them to be registered.
static void InitResources() { Q_INIT_RESOURCE(resources); }

namespace serenitap {

using main_window::ControlKind;
using main_window::ControlSpec;
using main_window::Paint;

namespace main_window {

QString InstalledFamilyFor(std::string_view designFamily) { return QFontInfo(DesignFont(designFamily)).family(); }

QFont FontOf(const FontSpec& spec) {
  const FontSpec& f = spec.family.empty() ? kWindowFont : spec;
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
QString FixedAccessibleName(const ControlSpec& spec) {
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
  if (auto it = names.find(spec.name); it != names.end()) return QString::fromUtf8(it->second);
  if (spec.name == "shpStep") {
    return QStringLiteral("Tapping point: ") + ToQString(main_window::DotPointName(spec.index));
  }
  if (spec.name == "radSUD") return QStringLiteral("SUD %1").arg(spec.index);
  return {};
}

// What a screen reader says of a dot's colour.
QString ColourName(main_window::Rgb colour) {
  if (colour == kDotRed) return QStringLiteral("red");
  if (colour == kDotGreen) return QStringLiteral("green");
  return main_window::ColorOf(colour).name();
}

// The long texts keep a name that says what they are for: a screen reader
// would read the whole text again on every change of its name. The text
// itself is their description.
bool NamedForItsPurpose(std::string_view name) { return name == "lblLeftFrame" || name == "lblIntro"; }

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

// The room a label's text takes in the given font at the given width.
QSize NeededSize(const QLabel& label, const QFont& font, int width, int flags) {
  if (label.textFormat() == Qt::RichText) {
    QTextDocument document;
    document.setDocumentMargin(0);
    document.setDefaultFont(font);
    document.setHtml(label.text());
    document.setTextWidth(width);
    return document.size().toSize();
  }
  return QFontMetrics(font)
      .boundingRect(QRect(0, 0, width, std::numeric_limits<int>::max() / 2), flags, label.text())
      .size();
}

}  // namespace

frmMain::frmMain(QWidget* parent) : QWidget(parent) {
  using namespace main_window;
  InitResources();
  Guarded(kModule, "Form_Load", [&] {
    setObjectName(QStringLiteral("frmMain"));
    SetAccessibleRole(this, QAccessible::Window);  // a frame, as every main window
    setFont(FontOf(kWindowFont));
    setBackgroundRole(QPalette::Base);
    setAutoFillBackground(true);
    SetFormCaption();
    // Controls lay out their text as they are made (a line edit at once).
    WaitForFontConfiguration();
    CreateControls();
    CreatePopupMenu();
    notices_ = new NoticeStrip(Control("picStatusBar"));
    AttachNoticeStrip(notices_);
    paused_ = new main_window::PausedSign(Control("picStatusBar"));
    paused_->setFont(FontOf(kWindowFont));
    QFont bold = paused_->font();
    bold.setBold(true);
    paused_->setFont(bold);
    Control("cmdResume")->installEventFilter(this);
    InstallFocusRing();

    const ControlSpec* finish = FindControl("cmdFinish");
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
  });
}

frmMain::~frmMain() = default;

void frmMain::CreateControls() {
  for (const ControlSpec& spec : main_window::Controls()) {
    QWidget* container = this;
    if (!spec.container.empty()) container = Control(spec.container);
    if (spec.kind == ControlKind::Timer) {
      tmrSteps_ = new QTimer(this);
      tmrSteps_->setObjectName(ToQString(spec.name));
      tmrSteps_->setTimerType(Qt::PreciseTimer);
      tmrSteps_->setInterval(10);
      continue;
    }
    if (spec.kind == ControlKind::Menu) continue;  // built by CreatePopupMenu
    if (spec.kind == ControlKind::TextBox && !spec.visibleAtStart) {
      // Nothing shows the journal text box: it is made when it is asked for.
      // Made with the others it would lay out its text, load its type and
      // its scroll bars, and keep them in memory all along.
      onDemand_.push_back(&spec);
      continue;
    }
    AddControl(spec, container);
  }
  static_cast<QLabel*>(Control("lblWords"))->setBuddy(Control("txtWords"));
  // Dots lie on their pictures; the strips lie over everything else.
  for (int i = 1; i <= main_window::kDotCount; ++i) Dot(i)->raise();
  Control("shpGreen")->raise();
  Control("picToolBar")->raise();
  Control("picStatusBar")->raise();
}

QWidget* frmMain::AddControl(const ControlSpec& spec, QWidget* container) {
  QWidget* widget = CreateWidget(spec, container);
  const std::string objectName = main_window::ObjectNameOf(spec.name, spec.index);
  widget->setObjectName(ToQString(objectName));
  widget->setGeometry(main_window::PixelRect(spec.geometry));
  ApplyLook(widget, spec);
  widget->setVisible(spec.visibleAtStart);
  controls_.emplace(objectName, widget);
  return widget;
}

QWidget* frmMain::ControlOnDemand(std::string_view name, int index) {
  for (auto it = onDemand_.begin(); it != onDemand_.end(); ++it) {
    const ControlSpec& spec = **it;
    if (spec.name != name || spec.index != index) continue;
    onDemand_.erase(it);
    QWidget* widget = AddControl(spec, spec.container.empty() ? this : Control(spec.container));
    widget->lower();  // under the strips, as if made with the others
    return widget;
  }
  return nullptr;
}

QWidget* frmMain::CreateWidget(const ControlSpec& spec, QWidget* container) {
  switch (spec.kind) {
    case ControlKind::PictureBox: {
      auto* box = new main_window::PictureBox(container);
      if (!spec.image.empty()) box->SetPicture(ToQString(spec.image));
      box->installEventFilter(this);
      return box;
    }
    case ControlKind::Frame: {
      auto* frame = new main_window::ChoiceGroup(container);
      frame->installEventFilter(this);
      return frame;
    }
    case ControlKind::Label: {
      auto* label = new QLabel(container);
      label->setTextFormat(Qt::PlainText);
      label->setText(ToQString(spec.caption));
      label->setWordWrap(spec.name == "lblLeftFrame" || spec.name == "lblIntro" || spec.name == "lblSegmentTitle" ||
                         spec.name == "lblCurrentPoint");
      Qt::Alignment align = spec.centred ? Qt::AlignHCenter : Qt::AlignLeft;
      align |= spec.name == "lblTime_New" ? Qt::AlignVCenter : Qt::AlignTop;
      label->setAlignment(align);
      label->installEventFilter(this);
      return label;
    }
    case ControlKind::PushButton: {
      QAbstractButton* button = nullptr;
      if (spec.name == "cmdNavig_Bottom" || spec.name == "cmdPause_Bottom" || spec.name == "cmdResume_Bottom") {
        auto* tool = new QToolButton(container);
        tool->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
        tool->setIconSize(QSize(32, 32));
        button = tool;
      } else {
        button = new QPushButton(container);
      }
      button->setText(ToQString(spec.caption));
      if (!spec.image.empty()) button->setIcon(QIcon(ToQString(spec.image)));
      // Tab reaches it; a click leaves the keyboard's focus where it was.
      button->setFocusPolicy(Qt::TabFocus);
      return button;
    }
    case ControlKind::OptionButton: {
      auto* option = new QRadioButton(ToQString(spec.caption), container);
      option->setFocusPolicy(Qt::TabFocus);
      const int index = spec.index;
      const bool issue = spec.name == "radMode";
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

void frmMain::ApplyLook(QWidget* widget, const ControlSpec& spec) {
  if (!spec.font.family.empty()) {
    const QFont font = main_window::FontOf(spec.font);
    widget->setFont(font);
    widget->setProperty("designPixelSize", font.pixelSize());
  }
  QPalette palette = widget->palette();
  switch (spec.back) {
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
      if (spec.kind != ControlKind::Shape) {
        palette.setColor(QPalette::Window, main_window::ColorOf(spec.backRgb));
        widget->setBackgroundRole(QPalette::Window);
        widget->setAutoFillBackground(true);
      }
      break;
  }
  widget->setPalette(palette);
  if (spec.fore == Paint::SystemWindowText) widget->setForegroundRole(QPalette::Text);
  if (auto* dot = qobject_cast<main_window::DotShape*>(widget)) {
    dot->SetColors(main_window::ColorOf(spec.backRgb), main_window::ColorOf(spec.borderRgb));
  }

  // The role first: a change of name already makes the screen reader's view of the control.
  if (spec.name == "picToolBar") {
    SetAccessibleRole(widget, QAccessible::ToolBar);
  } else if (spec.name == "picStatusBar") {
    SetAccessibleRole(widget, QAccessible::StatusBar);
  } else if (spec.kind == ControlKind::PictureBox) {
    SetAccessibleRole(widget, spec.image.empty() ? QAccessible::Pane : QAccessible::Graphic);
  }
  QString name = FixedAccessibleName(spec);
  if (name.isEmpty() && (spec.kind == ControlKind::PushButton || spec.kind == ControlKind::OptionButton ||
                         spec.kind == ControlKind::Label)) {
    name = WithoutAccessKey(ToQString(spec.caption));
  }
  if (name.isEmpty()) name = EmptyLabelName(spec.name);
  widget->setAccessibleName(name);
  if (spec.kind == ControlKind::Shape) widget->setAccessibleDescription(ColourName(spec.backRgb));
}

void frmMain::CreatePopupMenu() {
  // Its items are the menu commands of the command table (ui/main/commands.h).
  mnuPopUp_ = new QMenu(QStringLiteral("PopUp"), this);
  mnuPopUp_->setObjectName(QStringLiteral("mnuPopUp"));
}

void frmMain::SetFormCaption() {
  Guarded(kModule, "SetFormCaption", [&] { setWindowTitle(ToQString(product::kName)); });
}

void frmMain::SetColors() {
  Guarded(kModule, "SetColors", [&] {
    auto paint = [this](std::string_view name, main_window::Rgb rgb) {
      QWidget* widget = Control(name);
      QPalette palette = widget->palette();
      palette.setColor(QPalette::Window, main_window::ColorOf(rgb));
      widget->setPalette(palette);
      widget->setBackgroundRole(QPalette::Window);
      widget->setAutoFillBackground(true);
    };
    paint("picToolBar", main_window::kStripBack);
    paint("picStatusBar", main_window::kStripBack);
    paint("lblSplit", main_window::kSplitBack);
  });
}

void frmMain::DockStrips() {
  const int strip = main_window::TwipsToPixels(main_window::kStatusBarHeight);
  Control("picToolBar")->setGeometry(0, 0, width(), main_window::TwipsToPixels(main_window::kToolbarHeight));
  Control("picStatusBar")->setGeometry(0, height() - strip, width(), strip);
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
  const std::pair<const char*, const TwipRect*> placed[] = {
      {"lblIntro", &layout_.lblIntro},
      {"picLeftFrame", &layout_.picLeftFrame},
      {"picRightFrame", &layout_.picRightFrame},
      {"lblSplit", &layout_.lblSplit},
      {"lblSegmentTitle", &layout_.lblSegmentTitle},
      {"lblLeftFrame", &layout_.lblLeftFrame},
      {"picShape", &layout_.picShape},
      {"lblCurrentPoint", &layout_.lblCurrentPoint},
      {"fraMode", &layout_.fraMode},
      {"fraSUD_2", &layout_.fraSUD_2},
      {"picHandLeft", &layout_.picHandLeft},
      {"picHandRight", &layout_.picHandRight},
      {"cmdNav", &layout_.cmdNav},
      {"lblTime_New", &layout_.lblTime_New},
      {"cmdNavig_Bottom(0)", &layout_.cmdNavig_Bottom0},
      {"cmdNavig_Bottom(1)", &layout_.cmdNavig_Bottom1},
      {"cmdPause_Bottom", &layout_.cmdPause_Bottom},
      {"cmdResume_Bottom", &layout_.cmdResume_Bottom},
      {"cmdWeb", &layout_.cmdWeb},
      {"lblRoundLine", &layout_.lblRoundLine},
  };
  for (const auto& [name, rect] : placed) {
    try {
      if (QWidget* widget = Control(name)) widget->setGeometry(PixelRect(*rect));
    } catch (...) {
      // This control stays where it was; the others are still placed.
    }
  }
  // The dots keep their points on a chart or hand scaled to fit its pane.
  const auto placeOnPicture = [this](std::string_view name, int index) {
    const ControlSpec* spec = FindControl(name, index);
    if (spec == nullptr || spec->container.empty()) return;
    const double scale = spec->container == "picShape" ? layout_.chartScale : layout_.handScale;
    if (QWidget* dot = Control(name, index)) dot->setGeometry(PixelRect(Scaled(spec->geometry, scale)));
  };
  for (int i = 1; i <= kDotCount; ++i) placeOnPicture("shpStep", i);
  placeOnPicture("shpGreen", -1);
  // "Paused" stands at the strip's left end while the session is paused;
  // notices take the rest of the strip up to the time.
  double left = 300;
  if (paused_ != nullptr) {
    const double width = (paused_->sizeHint().width() + 4) * kTwipsPerPixel;
    paused_->setGeometry(PixelRect({left, 0, width, kStatusBarHeight}));
    if (!paused_->isHidden()) left += width + 150;
  }
  if (notices_ != nullptr) {
    notices_->setGeometry(PixelRect({left, 0, std::max(0.0, layout_.lblTime_New.left - 150 - left), kStatusBarHeight}));
  }
  for (const char* name : {"lblIntro", "lblSegmentTitle", "lblLeftFrame", "lblCurrentPoint", "lblTime_New"}) {
    if (auto* label = qobject_cast<QLabel*>(Control(name))) FitText(label);
  }
}

void frmMain::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  if (isMinimized()) return;
  DockStrips();
  ArrangeControls();
}

QWidget* frmMain::Control(std::string_view name, int index) const {
  const std::string key = index >= 0 ? main_window::ObjectNameOf(name, index) : std::string(name);
  auto it = controls_.find(key);
  if (it != controls_.end()) return it->second;
  // Making a control that was left until asked for changes nothing seen.
  return onDemand_.empty() ? nullptr : const_cast<frmMain*>(this)->ControlOnDemand(name, index);
}

QAbstractButton* frmMain::Button(std::string_view name, int index) const {
  return qobject_cast<QAbstractButton*>(Control(name, index));
}

main_window::DotShape* frmMain::Dot(int index) const {
  if (index < 1 || index > main_window::kDotCount) return nullptr;
  return static_cast<main_window::DotShape*>(Control("shpStep", index));
}

void frmMain::SetIntroVisible(bool visible) {
  Control("lblIntro")->setVisible(visible);
  FitShownLabels();
}

void frmMain::SetPanesVisible(bool visible) {
  Control("picLeftFrame")->setVisible(visible);
  Control("picRightFrame")->setVisible(visible);
  Control("lblSplit")->setVisible(visible);  // their labels are fitted as they are shown
}

void frmMain::SetBodyChartVisible(bool visible) { Control("picShape")->setVisible(visible); }

void frmMain::FitShownLabels() {
  const std::vector<QLabel*> waiting(unfitted_.begin(), unfitted_.end());
  for (QLabel* label : waiting) {
    if (label->isVisibleTo(this)) FitText(label);
  }
}

void frmMain::SetHandsVisible(bool visible) {
  Control("picHandLeft")->setVisible(visible);
  Control("picHandRight")->setVisible(visible);
}

void frmMain::SetIssueChoiceVisible(bool visible) { Control("fraMode")->setVisible(visible); }
void frmMain::SetSudChoiceVisible(bool visible) { Control("fraSUD_2")->setVisible(visible); }
void frmMain::SetThymusVisible(bool visible) { Control("shpGreen")->setVisible(visible); }

void frmMain::SetLabelText(QLabel* label, std::string_view text, const QString& emptyName) {
  const QString plain = ForDisplay(text);
  if (plain == label->text()) return;  // nothing new to show or to announce
  label->setText(plain);
  if (NamedForItsPurpose(label->objectName().toStdString())) {
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
  TextFit& fit = textFits_[label];
  if (fit.pixelSize > 0 && fit.text == label->text() && fit.room == room.size() && fit.flags == flags &&
      fit.designFont == font) {
    font.setPixelSize(fit.pixelSize);
  } else {
    fit = TextFit{label->text(), room.size(), flags, font, 0};
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
  SetLabelText(static_cast<QLabel*>(Control("lblCurrentPoint")), text, EmptyLabelName("lblCurrentPoint"));
}

void frmMain::SetSegmentTitleText(std::string_view text) {
  SetLabelText(static_cast<QLabel*>(Control("lblSegmentTitle")), text, EmptyLabelName("lblSegmentTitle"));
}

void frmMain::SetInstructionsText(std::string_view text, std::int32_t sayNowLine) {
  auto* label = static_cast<QLabel*>(Control("lblLeftFrame"));
  if (sayNowLine < 0) {
    label->setTextFormat(Qt::PlainText);
    SetLabelText(label, text, EmptyLabelName("lblLeftFrame"));
    return;
  }
  // The statement to say now in bold; the text, its blanks and its line
  // breaks as they are. A screen reader gets the plain text.
  const QString plain = ForDisplay(text);
  const QStringList lines = plain.split(QLatin1Char('\n'));
  QString html = QStringLiteral("<div style=\"white-space: pre-wrap\">");
  for (qsizetype i = 0; i < lines.size(); ++i) {
    if (i > 0) html += QLatin1Char('\n');
    const QString line = lines[i].toHtmlEscaped();
    html += i == sayNowLine ? QStringLiteral("<b>") + line + QStringLiteral("</b>") : line;
  }
  html += QStringLiteral("</div>");
  label->setTextFormat(Qt::RichText);
  label->setText(html);
  // The name says what the text is for; the text is the description (a new
  // name at every point would be read out whole).
  label->setAccessibleName(EmptyLabelName("lblLeftFrame"));
  label->setAccessibleDescription(plain);
  FitText(label);
}

void frmMain::SetRoundLine(std::string_view text) {
  auto* label = static_cast<QLabel*>(Control("lblRoundLine"));
  const QString line = ForDisplay(text);
  label->setVisible(!line.isEmpty());
  if (line == label->text()) return;
  label->setText(line);
  label->setAccessibleName(line.isEmpty() ? EmptyLabelName("lblRoundLine") : line);
  if (line.isEmpty()) return;
  // Said once as the round starts: the points of the round leave it alone.
  QAccessibleEvent alert(label, QAccessible::Alert);
  QAccessible::updateAccessibility(&alert);
}

QString frmMain::RoundLine() const { return static_cast<QLabel*>(Control("lblRoundLine"))->text(); }

QLineEdit& frmMain::WordsField() const { return *static_cast<QLineEdit*>(Control("txtWords")); }

void frmMain::SetIntroText(std::string_view text) {
  SetLabelText(static_cast<QLabel*>(Control("lblIntro")), text, EmptyLabelName("lblIntro"));
}

void frmMain::SetTimeText(std::string_view text) {
  auto* label = static_cast<QLabel*>(Control("lblTime_New"));
  const QString plain = ForDisplay(text);
  label->setText(plain);
  // Read when the user asks for it; a new name every second would be announced every second.
  label->setAccessibleName(EmptyLabelName("lblTime_New"));
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

void frmMain::SetPreviousEnabled(bool enabled) { Button("cmdNavig", 0)->setEnabled(enabled); }

void frmMain::SetPauseButton(bool visible, bool enabled) {
  QAbstractButton* pause = Button("cmdPause");
  pause->setEnabled(enabled);
  pause->setVisible(visible);
}

void frmMain::SetResumeButton(bool visible, bool enabled) {
  QAbstractButton* resume = Button("cmdResume");
  resume->setEnabled(enabled);
  resume->setVisible(visible);
}

void frmMain::SetBottomPauseVisible(bool visible) { Control("cmdPause_Bottom")->setVisible(visible); }
void frmMain::SetBottomResumeVisible(bool visible) { Control("cmdResume_Bottom")->setVisible(visible); }

bool frmMain::IsPauseAvailable() const {
  const QAbstractButton* pause = Button("cmdPause");
  return !pause->isHidden() && pause->isEnabled();
}

bool frmMain::IsResumeAvailable() const {
  const QAbstractButton* resume = Button("cmdResume");
  return !resume->isHidden() && resume->isEnabled();
}

void frmMain::SelectIssueOption(int index) {
  if (auto* option = Button("radMode", index)) option->setChecked(true);
}

int frmMain::SelectedIssueOption() const {
  for (int i = 1; i <= 12; ++i) {
    if (Button("radMode", i)->isChecked()) return i;
  }
  return 0;
}

void frmMain::SelectSudOption(int index) {
  if (auto* option = Button("radSUD", index)) option->setChecked(true);
}

int frmMain::SelectedSudOption() const {
  for (int i = 0; i <= 10; ++i) {
    if (Button("radSUD", i)->isChecked()) return i;
  }
  return -1;
}

int frmMain::VisibleIssueOption(int position) const {
  std::vector<QAbstractButton*> visible;
  for (int i = 1; i <= 12; ++i) {
    QAbstractButton* option = Button("radMode", i);
    if (option != nullptr && option->isVisibleTo(this)) visible.push_back(option);
  }
  std::stable_sort(visible.begin(), visible.end(),
                   [](const QAbstractButton* a, const QAbstractButton* b) { return a->y() < b->y(); });
  if (position < 1 || position > static_cast<int>(visible.size())) return 0;
  const QString name = visible[static_cast<std::size_t>(position - 1)]->objectName();
  return name.mid(8).chopped(1).toInt();  // "radMode(n)"
}

void frmMain::ChooseOption(std::string_view name, int index) {
  QAbstractButton* option = Button(name, index);
  if (option == nullptr || !option->isVisibleTo(this) || !option->isEnabled()) return;
  option->click();
  option->setFocus();
}

void frmMain::FocusSudOption(int index) {
  if (auto* option = Button("radSUD", index)) option->setFocus();
}

void frmMain::FocusNavigButton(int index) {
  if (auto* button = Button("cmdNavig", index)) button->setFocus();
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
  if (watched == Control("cmdResume") && (event->type() == QEvent::Show || event->type() == QEvent::Hide)) {
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
  const QString name = widget->objectName();
  const bool secondRelease = IsSecondClickRelease(event->type());
  const bool release = event->type() == QEvent::MouseButtonRelease && !secondRelease;
  const bool inside = widget->rect().contains(mouse->position().toPoint());
  if (name.startsWith(QLatin1String("lblSUDUnit("))) {
    if (release && inside) {
      const int index = name.mid(11).chopped(1).toInt();
      // Ticking an unticked option stores the choice by itself.
      if (auto* option = Button("radSUD", index); option != nullptr && !option->isChecked())
        option->setChecked(true);
      else
        emit sudOptionClicked(index);
    }
    return true;
  }
  static const QStringList kQuiet{QStringLiteral("picToolBar"), QStringLiteral("picStatusBar"),
                                  QStringLiteral("fraMode"), QStringLiteral("fraSUD_2")};
  if (kQuiet.contains(name) || widget->parentWidget() == Control("picStatusBar")) return true;
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
