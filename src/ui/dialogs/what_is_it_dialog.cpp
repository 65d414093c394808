#include "ui/dialogs/what_is_it_dialog.h"

#include <QFontMetrics>
#include <QTextDocument>
#include <cmath>

#include <QPlainTextEdit>
#include <QPushButton>
#include <memory>

#include "services/error_report_text.h"
#include "services/failure.h"
#include "services/trim.h"
#include "ui/dialogs/intro_option.h"
#include "ui/dialogs/web_link.h"
#include "ui/qt_text.h"

namespace serenitap {
namespace {

constexpr std::string_view kModule = "frmWhatIsIt";

// clang-format off
struct DesignedControls {
  DialogControl fedText;
  DialogControl lblLearnMore;
  DialogControl cmdOK;
  DialogControl cmdCancel;
};
constexpr DesignedControls kControls{
    //               name           caption                     left   top  width  height
    .fedText =      {"fedText",       "",                          510,  390,  8355,  4725},
    .lblLearnMore = {"lblLearnMore",  "",                          540, 5370,  8625,   375},
    .cmdOK =        {"cmdOK",         "&Don't Show This Again",   2130,  210,  2295,   450},
    .cmdCancel =    {"cmdCancel",     "&Continue",                4710,  210,  2295,   450},
};
constexpr DialogDesign kDesign{9180, 6780, 840};
// clang-format on

}  // namespace

std::string WhatIsItCaption(std::string_view productName) { return "How " + std::string(productName) + " works"; }

std::string WhatIsItText(std::string_view productName) {
  const std::string paragraphs[] = {
      std::string(productName) + " helps in dealing with negative emotions by using EFT.",
      "EFT stands for Emotional Freedom Techniques and is a form of simple but very effective self-administered "
      "therapy.",
      "In the course of EFT session you concentrate on a specific issue while gently tapping meridian points (called "
      "also energy channels or chakras).",
      "At the beginning evaluate the intensity of the issue on a scale from 0 to 10, where 10 means the highest "
      "possible stress, and 0 means that given issue is not bothering you at all.",
      "Then tap the meridian points while repeating the intention and affirmation. After couple of rounds of tapping "
      "the level of distress is re-assessed.",
      "You almost always will notice that your level of disstress goes down and down as the tapping progresses. There "
      "are cases where it stops decreasing at some point, but don't be discuraged by this - eventually it should go "
      "all the way down to 1 or even to 0.",
  };
  std::string text;
  for (const auto& paragraph : paragraphs) {
    if (!text.empty()) text += "\r\n\r\n";
    text += paragraph;
  }
  return text;
}

std::string LearnMoreMarkup(std::string_view webAddress) {
  const std::string quote = "\"";
  return "<TextBlock>To learn more about EFT please visit <Run Foreground=" + quote + "Blue" + quote +
         "TextDecorations=" + quote + "Underline" + quote + ">" + std::string(webAddress) + ".</Run></TextBlock>";
}

frmWhatIsIt::frmWhatIsIt(QWidget* owner) : DialogPattern(owner) {
  LoadedWindow<frmWhatIsIt>::Register(this);
  setObjectName(QStringLiteral("frmWhatIsIt"));
  setWindowTitle(QStringLiteral("What is EFT"));
  MakeFixedDialog(kDesign.width, kDesign.height);
  PaintWhite(this);

  fedText = new QPlainTextEdit(this);
  PlaceControl(fedText, kControls.fedText);
  fedText->setAccessibleName(QStringLiteral("Explanation"));
  fedText->setFont(DialogFont(11.25));
  fedText->setReadOnly(true);
  fedText->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  fedText->setFrameShape(QFrame::Box);
  fedText->setLineWidth(1);
  fedText->setStyleSheet(QStringLiteral("QPlainTextEdit { border: 1px solid #a0a0a0; background: white; }"));

  lblLearnMore = new ClickLabel(this);
  PlaceControl(lblLearnMore, kControls.lblLearnMore);
  lblLearnMore->setFont(DialogFont(11.25));
  lblLearnMore->setTextFormat(Qt::RichText);
  PaintWhite(lblLearnMore);

  CreateBottomStrip(kDesign.bottomHeight);
  cmdOK = AddButton(picBottom, kControls.cmdOK);
  cmdCancel = AddButton(picBottom, kControls.cmdCancel);
  cmdCancel->setDefault(true);

  connect(cmdOK, &QPushButton::clicked, this, &frmWhatIsIt::cmdOK_Click);
  connect(cmdCancel, &QPushButton::clicked, this, &QWidget::close);
  connect(lblLearnMore, &ClickLabel::Clicked, this, &frmWhatIsIt::lblLearnMore_Click);

  Form_Load();
  CenterForm(*this);
  cmdCancel->setFocus();
}

frmWhatIsIt::~frmWhatIsIt() { LoadedWindow<frmWhatIsIt>::Forget(this); }

frmWhatIsIt* frmWhatIsIt::Instance() { return LoadedWindow<frmWhatIsIt>::Get(); }

void frmWhatIsIt::ShowModal(QWidget* owner) {
  auto window = std::make_unique<frmWhatIsIt>(owner);
  window->ShowUp();
}

void frmWhatIsIt::ShowUp() { exec(); }

// The whole explanation is shown without scrolling: where the stand-in
// family runs wider than the design font, the type gets a little smaller
// (never below 9 points).
void frmWhatIsIt::FitExplanation() {
  QFont font = DialogFont(11.25);
  const int margin = static_cast<int>(std::ceil(fedText->document()->documentMargin()));
  const int frame = 2 * fedText->frameWidth();
  const int width = fedText->width() - frame - 2 * margin;
  const int height = fedText->height() - frame - 2 * margin;
  for (double points = 11.25; points >= 9; points -= 0.25) {
    font.setPointSizeF(points);
    const QRect needed =
        QFontMetrics(font).boundingRect(QRect(0, 0, width, 1 << 20), Qt::TextWordWrap, fedText->toPlainText());
    if (needed.height() + QFontMetrics(font).lineSpacing() <= height)
      break;  // a line to spare for the edit box's own spacing
  }
  fedText->setFont(font);
}

void frmWhatIsIt::Form_Load() {
  Guarded(kModule, "Form_Load", [this] {
    setWindowTitle(ToQString(WhatIsItCaption()));
    fedText->setPlainText(ForDisplay(WhatIsItText()));
    FitExplanation();

    const QString markup = ToQString(LearnMoreMarkup());
    lblLearnMore->setProperty("markup", markup);
    lblLearnMore->setText(MarkupToRichText(markup));
    lblLearnMore->setAccessibleName(QStringLiteral("To learn more about EFT please visit ") +
                                    ToQString(product::kWebAddress) + QLatin1Char('.'));
    lblLearnMore->SetTag(ToQString(product::kWebAddress));

    mblnShowOnStartup = ReadShowWhatIsIt();

    if (ReadShowWhatIsIt()) {
      cmdOK->setText(QStringLiteral("&Don't Show This Again"));
      cmdOK->setToolTip(QStringLiteral("Don't show this window again on startup of the program"));
      cmdCancel->setText(QStringLiteral("&Continue"));
      cmdCancel->setToolTip(QStringLiteral("Close this window and proceed to the main window (Esc)"));
    } else {
      cmdOK->setText(QStringLiteral("Show On Startup"));
      cmdOK->setToolTip(QStringLiteral("Show this window every time the program starts"));
      cmdCancel->setText(QStringLiteral("&Close"));
      cmdCancel->setToolTip(QStringLiteral("Close this window"));
    }
    cmdOK->setAccessibleName(WithoutAccessKey(cmdOK->text()));
    cmdCancel->setAccessibleName(WithoutAccessKey(cmdCancel->text()));
  });
}

void frmWhatIsIt::cmdOK_Click() {
  RunCommand([this] {
    Guarded(kModule, "cmdOK_Click", [this] {
      SaveShowWhatIsIt(mblnShowOnStartup ? 0 : 1);
      mblnBusy = false;
      close();
    });
  });
}

void frmWhatIsIt::lblLearnMore_Click() { OpenWebPageFor(this, TrimBlanks(ToStdString(lblLearnMore->Tag())), false); }

}  // namespace serenitap
