#include "kit/dialogs/password_dialog.h"

#include <QEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <memory>

#include "kit/dialogs/text_box_helpers.h"

namespace serenitap {
namespace {

// clang-format off
struct DesignedControls {
  DialogControl lblGen0;
  DialogControl txtPassword;
  DialogControl cmdOK;
  DialogControl cmdCancel;
};
constexpr DesignedControls kControls{
    //              name          caption                        left   top  width  height
    .lblGen0 =     {"lblGen(0)",    "Enter database password:",     240,  240,  4200,  270},
    .txtPassword = {"txtPassword",  "",                             240,  570,  4200,  330},
    .cmdOK =       {"cmdOK",        "&OK",                         1860,  225,  1185,  390},
    .cmdCancel =   {"cmdCancel",    "&Cancel",                     3255,  225,  1185,  390},
};
constexpr DialogDesign kDesign{4680, 2160, 840};
// clang-format on

}  // namespace

frmPassword::frmPassword(QWidget* owner) : DialogPattern(owner) {
  LoadedWindow<frmPassword>::Register(this);
  setObjectName(QStringLiteral("frmPassword"));
  setWindowTitle(QStringLiteral("Password Required?"));
  MakeFixedDialog(kDesign.width, kDesign.height);
  PaintWhite(this);

  lblGen0 = AddLabel(this, kControls.lblGen0);
  txtPassword = new QLineEdit(this);
  PlaceControl(txtPassword, kControls.txtPassword);
  txtPassword->setAccessibleName(QStringLiteral("Password"));
  txtPassword->setEchoMode(QLineEdit::Password);
  txtPassword->setMaxLength(kMaxPasswordLength);
  txtPassword->installEventFilter(this);

  CreateBottomStrip(kDesign.bottomHeight);
  cmdOK = AddButton(picBottom, kControls.cmdOK);
  cmdCancel = AddButton(picBottom, kControls.cmdCancel);

  connect(cmdOK, &QPushButton::clicked, this, &frmPassword::cmdOK_Click);
  connect(cmdCancel, &QPushButton::clicked, this, &QWidget::close);
  connect(txtPassword, &QLineEdit::returnPressed, this, &frmPassword::cmdOK_Click);
  connect(txtPassword, &QLineEdit::textChanged, this, &frmPassword::txtPassword_Change);

  Form_Load();
  txtPassword->setFocus();
}

frmPassword::~frmPassword() { LoadedWindow<frmPassword>::Forget(this); }

frmPassword* frmPassword::Instance() { return LoadedWindow<frmPassword>::Get(); }

void frmPassword::Form_Load() {
  lblGen0->setText(QStringLiteral("Enter database password:"));
  lblGen0->setAccessibleName(lblGen0->text());
}

bool frmPassword::ShowUp(QString& password) {
  password.clear();
  mstrPassword.clear();
  exec();
  if (mblnOK) password = mstrPassword;
  return mblnOK;
}

bool frmPassword::Ask(QString& password, QWidget* owner) {
  auto window = std::make_unique<frmPassword>(owner);
  return window->ShowUp(password);
}

void frmPassword::cmdOK_Click() {
  RunCommand([this] {
    mstrPassword = txtPassword->text();
    mblnOK = true;
    mblnBusy = false;
    close();
  });
}

void frmPassword::txtPassword_Change() {
  if (txtPassword->text().size() == txtPassword->maxLength()) cmdOK->setFocus();
}

bool frmPassword::eventFilter(QObject* watched, QEvent* event) {
  if (watched == txtPassword && event->type() == QEvent::FocusIn) SelectText(txtPassword);
  return DialogPattern::eventFilter(watched, event);
}

}  // namespace serenitap
