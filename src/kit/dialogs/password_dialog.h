#pragma once
// frmPassword: asks for a password (typed masked) and hands it back.
#include <QString>

#include "ui/dialogs/dialog_pattern.h"

class QLabel;
class QLineEdit;
class QPushButton;

namespace serenitap {

class frmPassword : public DialogPattern {
  Q_OBJECT

 public:
  // The longest password the field takes; reaching it moves the focus to OK.
  static constexpr int kMaxPasswordLength = 64;

  explicit frmPassword(QWidget* owner = nullptr);
  ~frmPassword() override;

  // Shows the dialog modally. True when the user confirmed; the password is
  // then in password, which is otherwise left empty.
  bool ShowUp(QString& password);
  // Asks with a fresh dialog that is released afterwards.
  static bool Ask(QString& password, QWidget* owner = nullptr);

  // The loaded instance, or null when none is loaded.
  static frmPassword* Instance();

  // What the dialog holds now: the confirmed flag and the stored password.
  bool Confirmed() const { return mblnOK; }
  const QString& StoredPassword() const { return mstrPassword; }

  void cmdOK_Click();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void Form_Load();
  void txtPassword_Change();

  bool mblnOK = false;
  QString mstrPassword;
  QLabel* lblGen0 = nullptr;
  QLineEdit* txtPassword = nullptr;
  QPushButton* cmdOK = nullptr;
  QPushButton* cmdCancel = nullptr;
};

}  // namespace serenitap
