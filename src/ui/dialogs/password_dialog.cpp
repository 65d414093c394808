#include "ui/dialogs/password_dialog.h"

#include <QEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <memory>

#include "ui/dialogs/text_box_helpers.h"

namespace serenitap {
namespace {

QPointer<frmPassword>& Loaded() {
  static QPointer<frmPassword> instance;
  return instance;
}

}  // namespace

frmPassword::frmPassword(QWidget* owner) : DialogPattern(owner) {
  Loaded() = this;
  setObjectName(QStringLiteral("frmPassword"));
  setWindowTitle(QStringLiteral("Password Required?"));
  MakeFixedDialog(4680, 2160);
  PaintWhite(this);

  lblGen0 = AddLabel(this, QStringLiteral("lblGen(0)"), QStringLiteral("Enter database password:"), 240, 240, 4200,
                     270);
  txtPassword = new QLineEdit(this);
  txtPassword->setObjectName(QStringLiteral("txtPassword"));
  txtPassword->setAccessibleName(QStringLiteral("Password"));
  txtPassword->setGeometry(TwipsToPixels(240), TwipsToPixels(570), TwipsToPixels(4200), TwipsToPixels(330));
  txtPassword->setEchoMode(QLineEdit::Password);
  txtPassword->setMaxLength(kMaxPasswordLength);
  txtPassword->installEventFilter(this);

  CreateBottomStrip(840);
  cmdOK = AddButton(picBottom, QStringLiteral("cmdOK"), QStringLiteral("&OK"), 1860, 225, 1185, 390);
  cmdCancel = AddButton(picBottom, QStringLiteral("cmdCancel"), QStringLiteral("&Cancel"), 3255, 225, 1185, 390);

  connect(cmdOK, &QPushButton::clicked, this, &frmPassword::cmdOK_Click);
  connect(cmdCancel, &QPushButton::clicked, this, &QWidget::close);
  connect(txtPassword, &QLineEdit::returnPressed, this, &frmPassword::cmdOK_Click);
  connect(txtPassword, &QLineEdit::textChanged, this, &frmPassword::txtPassword_Change);
  connect(this, &DialogPattern::Unloaded, this, [this] {
    if (Loaded() == this) Loaded() = nullptr;
  });

  Form_Load();
  txtPassword->setFocus();
}

frmPassword::~frmPassword() {
  if (Loaded() == this) Loaded() = nullptr;
}

frmPassword* frmPassword::Instance() { return Loaded(); }

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
