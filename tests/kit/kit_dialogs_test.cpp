// The kit's windows, offscreen: the dialog pattern on the template window, the
// text-box helpers and the password prompt.
#include <gtest/gtest.h>

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <functional>

#include "kit/dialogs/password_dialog.h"
#include "kit/dialogs/template_dialog.h"
#include "kit/dialogs/text_box_helpers.h"
#include "support/recorders.h"
#include "support/widget_steps.h"

namespace serenitap {
namespace {

using testing::Button;
using testing::MessageBoxRecorder;
using testing::ShowActive;
using testing::WhenModal;

// ---- the dialog pattern, on a template dialog that edits something

struct EditingDialog : frmZTemplate {
  bool valid = true;
  int ok_actions = 0, saves = 0;
  std::function<void()> during_ok;
  bool ValidateData() override { return valid; }
  void OkAction() override {
    ++ok_actions;
    if (during_ok) during_ok();
  }
  void SaveWork() override { ++saves; }
};

TEST(TemplateDialog, ClosingChangedDataAsksFirstWhicheverWayItCloses) {
  enum class Way { Cancel, Esc, Close };
  const std::tuple<const char*, bool, MsgAnswer, bool, Way, bool, int> rows[] = {
      {"unchanged: no question", false, MsgAnswer::Yes, true, Way::Cancel, false, 0},
      {"Cancel: stays open", true, MsgAnswer::Cancel, true, Way::Esc, true, 0},
      {"No: closes unsaved", true, MsgAnswer::No, true, Way::Close, false, 0},
      {"Yes, invalid data: stays open", true, MsgAnswer::Yes, false, Way::Cancel, true, 0},
      {"Yes: saves and closes", true, MsgAnswer::Yes, true, Way::Esc, false, 1}};
  for (const auto& [name, changed, answer, valid, way, staysOpen, saves] : rows) {
    SCOPED_TRACE(name);
    MessageBoxRecorder boxes;
    boxes.answers = {answer};
    EditingDialog dialog;
    dialog.valid = valid;
    ShowActive(dialog);
    if (changed) dialog.SetDataChangedFlag();
    if (way == Way::Cancel) Button(dialog, "cmdCancel")->click();
    if (way == Way::Esc) QTest::keyClick(Button(dialog, "cmdSave"), Qt::Key_Escape);
    if (way == Way::Close) dialog.close();
    EXPECT_EQ(boxes.Texts(), std::vector<std::string>(changed, "Do you wish to save your changes?"));
    EXPECT_EQ(dialog.isVisible(), staysOpen);
    EXPECT_EQ(dialog.DataChanged(), staysOpen);
    EXPECT_EQ(dialog.saves, saves);
    for (const auto& asked : boxes.requests) EXPECT_EQ(asked.buttons, MsgButtons::YesNoCancel);
  }
}

TEST(TemplateDialog, CommandsOnlyOnceActivatedAndNeverOverlapping) {
  QGuiApplication::setOverrideCursor(Qt::WaitCursor);
  EditingDialog dialog;
  dialog.show();
  Button(dialog, "cmdOK")->click();  // not activated yet
  ShowActive(dialog);
  EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);  // the arrow is back
  dialog.SetDataChangedFlag();
  dialog.during_ok = [&] { Button(dialog, "cmdSave")->click(); };  // not while OK runs
  QTest::keyClick(Button(dialog, "cmdCancel"), Qt::Key_Return);    // the key preview wins over the focused button
  EXPECT_EQ(dialog.ok_actions, 1);
  EXPECT_EQ(dialog.saves, 0);
  Button(dialog, "cmdSave")->click();  // now free: saves and stays open
  EXPECT_EQ(dialog.saves, 1);
  EXPECT_FALSE(dialog.DataChanged());
  EXPECT_TRUE(dialog.isVisible());
  dialog.resize(500, 400);
  EXPECT_EQ(dialog.BottomStrip()->geometry(), QRect(0, 400 - 56, 500, 56));
}

TEST(TextBoxHelpers, SelectAndForceCase) {
  QLineEdit field(QStringLiteral("MiXed"));
  SelectText(&field);
  SetTextBoxCase(&field, 1);
  QTest::keyClicks(&field, "Up");
  SetTextBoxCase(&field, 0);  // upper was forced: now only lower
  QTest::keyClicks(&field, "AbC");
  SetTextBoxCase(&field, 2);         // other modes change nothing
  EXPECT_EQ(field.text(), "upabc");  // the selected text was typed over
  EXPECT_EQ(TextBoxCase(&field), 0);
}

// ---- the password prompt

TEST(Password, HandsBackWhatWasTypedOnlyWhenConfirmed) {
  enum Way { Ok, Enter, Cancel, Esc };
  for (Way way : {Ok, Enter, Cancel, Esc}) {
    WhenModal([way] {
      frmPassword* dialog = frmPassword::Instance();
      dialog->Form_Activate();
      auto* field = dialog->findChild<QLineEdit*>(QStringLiteral("txtPassword"));
      EXPECT_EQ(field->echoMode(), QLineEdit::Password);
      QTest::keyClicks(field, "s3cret pw");
      if (way == Ok || way == Cancel) Button(*dialog, way == Ok ? "cmdOK" : "cmdCancel")->click();
      if (way == Enter || way == Esc) QTest::keyClick(field, way == Enter ? Qt::Key_Return : Qt::Key_Escape);
    });
    QString password = QStringLiteral("left over");
    EXPECT_EQ(frmPassword::Ask(password), way <= Enter) << way;
    EXPECT_EQ(password, way <= Enter ? "s3cret pw" : "") << way;
    EXPECT_EQ(frmPassword::Instance(), nullptr);
  }
}

}  // namespace
}  // namespace serenitap
