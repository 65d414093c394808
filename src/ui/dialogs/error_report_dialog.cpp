#include "ui/dialogs/error_report_dialog.h"

#include <QElapsedTimer>

#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>

#include "services/error_report_text.h"
#include "services/failure.h"
#include "ui/dialogs/dialog_pictures.h"
#include "ui/dialogs/web_link.h"
#include "ui/fonts.h"
#include "ui/qt_text.h"

namespace serenitap {
namespace {

// The text of a multi-line field with the program's line breaks (CR LF).
std::string FieldText(const QPlainTextEdit& field) {
  QString text = field.toPlainText();
  text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  text.replace(QLatin1Char('\n'), QStringLiteral("\r\n"));
  return ToStdString(text);
}

QPlainTextEdit* AddTextBox(QWidget* parent, const DialogControl& control, const QString& accessible) {
  auto* box = new QPlainTextEdit(parent);
  PlaceControl(box, control);
  box->setAccessibleName(accessible);
  box->setTabChangesFocus(true);
  box->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  return box;
}

// clang-format off
struct DesignedControls {
  DialogControl Image1;
  DialogControl lblTitle;
  DialogControl lblIntro;
  DialogControl lblComments;
  DialogControl txtErrDesc;
  DialogControl lblName;
  DialogControl Label1;
  DialogControl txtComments;
  DialogControl lblEmail;
  DialogControl txtEmail;
  DialogControl cmdSend;
  DialogControl cmdCancel;
};
constexpr DesignedControls kControls{
    //              name         caption                                                           left   top  width  height
    .Image1 =      {"Image1",      "",                                                                240,  240,   720,   720},
    .lblTitle =    {"lblTitle",    "Voluntary Feedback - Please Help Us",                            1140,  300,  6420,   390},
    .lblIntro =    {"lblIntro",    "Thank you for using...",                                         1140,  780,  6420,  2760},
    .lblComments = {"lblComments", "Error Report Contents:",                                          240, 3600,  7320,   270},
    .txtErrDesc =  {"txtErrDesc",  "",                                                                240, 3870,  7320,  1320},
    .lblName =     {"lblName",     "How you got this error, and how we can reproduce it:",            240, 5310,  5160,   270},
    .Label1 =      {"Label1",      "(Highly recommended.)",                                          5400, 5310,  2160,   270},
    .txtComments = {"txtComments", "",                                                                240, 5580,  7320,  1080},
    .lblEmail =    {"lblEmail",    "Your email address, so we can contact you about this problem:",   240, 6780,  7320,   270},
    .txtEmail =    {"txtEmail",    "",                                                                240, 7050,  7320,   330},
    .cmdSend =     {"cmdSend",     "&Send Error Report",                                             3600,  225,  2160,   390},
    .cmdCancel =   {"cmdCancel",   "&Do Not Send",                                                   5880,  225,  1680,   390},
};
constexpr DialogDesign kDesign{7800, 8520, 840};
// clang-format on

}  // namespace

frmErrorReport::frmErrorReport(QWidget* owner) : DialogPattern(owner) {
  LoadedWindow<frmErrorReport>::Register(this);
  setObjectName(QStringLiteral("frmErrorReport"));
  setWindowTitle(QStringLiteral("An error occurred in ..."));
  setModal(true);
  MakeFixedDialog(kDesign.width, kDesign.height);
  PaintWhite(this);

  Image1 = new QLabel(this);
  PlaceControl(Image1, kControls.Image1);
  Image1->setAccessibleName(QStringLiteral("Problem report"));
  Image1->setPixmap(DialogPicture(QStringLiteral(":/dialogs/error_report.svg"), Image1->size(), devicePixelRatioF()));

  lblTitle = AddLabel(this, kControls.lblTitle);
  QFont titleFont = DialogFont(12);
  titleFont.setBold(true);
  lblTitle->setFont(titleFont);

  lblIntro = AddLabel(this, kControls.lblIntro);
  lblIntro->setWordWrap(true);
  lblIntro->setAlignment(Qt::AlignLeft | Qt::AlignTop);

  lblComments = AddLabel(this, kControls.lblComments);
  txtErrDesc = AddTextBox(this, kControls.txtErrDesc, QStringLiteral("Error Report Contents"));
  txtErrDesc->setReadOnly(true);
  QPalette grey = txtErrDesc->palette();
  grey.setColor(QPalette::Base, QColor(244, 244, 244));
  txtErrDesc->setPalette(grey);

  lblName = AddLabel(this, kControls.lblName);
  Label1 = AddLabel(this, kControls.Label1);
  Label1->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
  QFont noteFont = DialogFont(9);
  noteFont.setItalic(true);
  Label1->setFont(noteFont);
  txtComments = AddTextBox(this, kControls.txtComments, QStringLiteral("Comments"));

  lblEmail = AddLabel(this, kControls.lblEmail);
  txtEmail = new QLineEdit(this);
  PlaceControl(txtEmail, kControls.txtEmail);
  txtEmail->setAccessibleName(QStringLiteral("Your email address"));

  CreateBottomStrip(kDesign.bottomHeight);
  cmdSend = AddButton(picBottom, kControls.cmdSend);
  cmdCancel = AddButton(picBottom, kControls.cmdCancel);
  // With no default button Enter does nothing here, and makes a new line in
  // the comments. Enter never sends: someone stepping through the session with Enter, or
  // the second click of a double-click meant for the window before, must not
  // send a report by accident.
  for (QPushButton* button : {cmdSend, cmdCancel}) {
    button->setAutoDefault(false);
    button->setDefault(false);
  }
  connect(cmdSend, &QPushButton::clicked, this, [this] {
    if (shown_at_ms_ >= 0 && Clock()() - shown_at_ms_ < kSendGuardMs) return;
    cmdSend_Click();
  });
  connect(cmdCancel, &QPushButton::clicked, this, &QWidget::close);
}

frmErrorReport::~frmErrorReport() {
  // A window that never closed still gives back the mouse pointer.
  if (pointer_saved_) OnUnload();
  LoadedWindow<frmErrorReport>::Forget(this);
}

void frmErrorReport::ShowUp(std::int32_t plngErrNum, std::string_view pstrErrDesc, std::string_view pstrProgVer,
                            std::int32_t plngBuildNum, std::string_view pstrModuleName, std::string_view pstrProcName,
                            std::string_view pstrExtraDesc) {
  Load(ErrorReport{plngErrNum, std::string(pstrErrDesc), std::string(pstrProgVer), plngBuildNum,
                   std::string(pstrModuleName), std::string(pstrProcName), std::string(pstrExtraDesc)});
  exec();
}

void frmErrorReport::Load(const ErrorReport& report) {
  report_ = report;
  Form_Load();
}

void frmErrorReport::Form_Load() {
  if (!pointer_saved_) {
    saved_pointer_ = ScreenMousePointer();
    pointer_saved_ = true;
  }
  SetScreenMousePointer(std::nullopt);
  CenterForm(*this);
  setWindowTitle(ToQString(ErrorReportCaption()));
  lblTitle->setText(ToQString(ErrorReportTitle()));
  lblTitle->setAccessibleName(lblTitle->text());
  lblIntro->setText(ForDisplay(ErrorReportIntro()));
  lblIntro->setAccessibleName(lblIntro->text());
  txtErrDesc->setPlainText(ForDisplay(ErrorReportContents(report_)));
}

std::function<std::int64_t()>& frmErrorReport::Clock() {
  static std::function<std::int64_t()> clock = [] {
    static QElapsedTimer started;
    if (!started.isValid()) started.start();
    return static_cast<std::int64_t>(started.elapsed());
  };
  return clock;
}

void frmErrorReport::SetMonotonicClock(std::function<std::int64_t()> clock) { Clock() = std::move(clock); }

void frmErrorReport::showEvent(QShowEvent* event) {
  DialogPattern::showEvent(event);
  shown_at_ms_ = Clock()();
  txtComments->setFocus();
}

void frmErrorReport::cmdSend_Click() {
  if (Busy()) return;
  // The window closes whatever the browser does, once the command has let go.
  ScopeExit done([this] { close(); });
  BusyGuard busy(mblnBusy);
  if (!busy.Take()) return;
  const std::string address = ErrorReportAddress(report_, FieldText(*txtComments), ToStdString(txtEmail->text()));
  try {
    OpenWebPageFor(this, address, true);
  } catch (...) {
    // OpenWebPage tells the user itself; nothing more to do here.
  }
}

void frmErrorReport::OnUnload() {
  if (!pointer_saved_) return;
  pointer_saved_ = false;
  SetScreenMousePointer(saved_pointer_);
}

void ShowErrorReport(const ErrorReport& report) {
  WaitForFontConfiguration();  // its text is laid out as it is made
  frmErrorReport window;
  window.ShowUp(report.number, report.description, report.version, report.build, report.module, report.procedure,
                report.extra);
}

void InstallErrorReportDialog() { SetReportErrorSink(ShowErrorReport); }

}  // namespace serenitap
