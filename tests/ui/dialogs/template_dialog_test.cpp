// The dialog pattern, shown on the template window, and the text-box helpers.
#include <gtest/gtest.h>

#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>

#include "dialogs_test_support.h"
#include "support/recorders.h"
#include "ui/dialogs/template_dialog.h"
#include "ui/dialogs/text_box_helpers.h"

namespace serenitap {
namespace {

using testing::MessageBoxRecorder;
using testing::ShowActive;

// A template dialog that edits something: it counts its OK actions and
// saves, and its data can be made invalid.
class EditingDialog : public frmZTemplate {
 public:
  bool valid = true;
  int ok_actions = 0;
  int saves = 0;
  std::function<void()> during_ok;

 protected:
  bool ValidateData() override { return valid; }
  void OkAction() override {
    ++ok_actions;
    if (during_ok) during_ok();
  }
  void SaveWork() override { ++saves; }
};

QPushButton* Button(QWidget& window, const char* name) { return window.findChild<QPushButton*>(name); }

struct PromptCase {
  const char* name;
  MsgAnswer answer;
  bool valid;
  bool stays_open;
  bool still_changed;
  int saves;
};

class TemplateSavePromptTest : public ::testing::TestWithParam<PromptCase> {};

TEST_P(TemplateSavePromptTest, ClosingChangedDataAsksFirst) {
  const PromptCase& c = GetParam();
  MessageBoxRecorder boxes;
  boxes.answers = {c.answer};
  EditingDialog dialog;
  dialog.valid = c.valid;
  ShowActive(dialog);
  dialog.SetDataChangedFlag();

  Button(dialog, "cmdCancel")->click();

  ASSERT_EQ(boxes.requests.size(), 1U);
  EXPECT_EQ(boxes.requests[0].text, "Do you wish to save your changes?");
  EXPECT_EQ(boxes.requests[0].buttons, MsgButtons::YesNoCancel);
  EXPECT_EQ(boxes.requests[0].icon, MsgIcon::Question);
  EXPECT_EQ(boxes.requests[0].title, "Serenitap");
  EXPECT_EQ(dialog.isVisible(), c.stays_open);
  EXPECT_EQ(dialog.DataChanged(), c.still_changed);
  EXPECT_EQ(dialog.saves, c.saves);
}

INSTANTIATE_TEST_SUITE_P(Answers, TemplateSavePromptTest,
                         ::testing::Values(PromptCase{"Cancel", MsgAnswer::Cancel, true, true, true, 0},
                                           PromptCase{"No", MsgAnswer::No, true, false, false, 0},
                                           PromptCase{"YesInvalid", MsgAnswer::Yes, false, true, true, 0},
                                           PromptCase{"YesValid", MsgAnswer::Yes, true, false, false, 1}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(TemplateDialog, UnchangedDataClosesWithoutAskingFromEveryWayOfClosing) {
  MessageBoxRecorder boxes;
  for (int way = 0; way < 3; ++way) {
    EditingDialog dialog;
    ShowActive(dialog);
    if (way == 0) Button(dialog, "cmdCancel")->click();
    if (way == 1) QTest::keyClick(Button(dialog, "cmdSave"), Qt::Key_Escape);
    if (way == 2) dialog.close();
    EXPECT_FALSE(dialog.isVisible()) << way;
  }
  EXPECT_TRUE(boxes.requests.empty());
}

TEST(TemplateDialog, EnterRunsOkFromAnyControlAndNothingBeforeActivation) {
  EditingDialog dialog;
  dialog.show();
  Button(dialog, "cmdOK")->click();
  QTest::keyClick(&dialog, Qt::Key_Return);
  EXPECT_EQ(dialog.ok_actions, 0);  // not activated yet

  QEvent activate(QEvent::WindowActivate);
  QApplication::sendEvent(&dialog, &activate);
  QTest::keyClick(Button(dialog, "cmdCancel"), Qt::Key_Return);  // the key preview wins over the focused button
  QTest::keyClick(Button(dialog, "cmdSave"), Qt::Key_Enter);
  EXPECT_EQ(dialog.ok_actions, 2);
  EXPECT_TRUE(dialog.isVisible());
  EXPECT_FALSE(dialog.Busy());
}

TEST(TemplateDialog, CommandsDoNotOverlap) {
  EditingDialog dialog;
  ShowActive(dialog);
  dialog.SetDataChangedFlag();
  dialog.during_ok = [&] {
    EXPECT_TRUE(dialog.Busy());
    Button(dialog, "cmdOK")->click();
    Button(dialog, "cmdSave")->click();
  };
  Button(dialog, "cmdOK")->click();
  EXPECT_EQ(dialog.ok_actions, 1);
  EXPECT_EQ(dialog.saves, 0);
  EXPECT_TRUE(dialog.DataChanged());

  Button(dialog, "cmdSave")->click();  // now free: saves and stays open
  EXPECT_EQ(dialog.saves, 1);
  EXPECT_FALSE(dialog.DataChanged());
  EXPECT_TRUE(dialog.isVisible());
}

TEST(TemplateDialog, FirstActivationPutsTheArrowBack) {
  QGuiApplication::setOverrideCursor(Qt::WaitCursor);
  frmZTemplate dialog;
  EXPECT_FALSE(dialog.Activated());
  ShowActive(dialog);
  EXPECT_TRUE(dialog.Activated());
  EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
  SetScreenMousePointer(std::nullopt);
}

TEST(TemplateDialog, EachOpeningIsAFreshInstance) {
  MessageBoxRecorder boxes;
  boxes.answers = {MsgAnswer::No, MsgAnswer::No};
  std::vector<bool> changed_at_open;
  for (int opening = 0; opening < 2; ++opening) {
    testing::WhenModal([&] {
      frmZTemplate* loaded = frmZTemplate::Instance();
      ASSERT_NE(loaded, nullptr);
      changed_at_open.push_back(loaded->DataChanged());
      loaded->SetDataChangedFlag();
      loaded->close();
    });
    auto dialog = std::make_unique<frmZTemplate>();
    dialog->ShowUp();
    EXPECT_EQ(frmZTemplate::Instance(), nullptr);  // released as it closed
  }
  EXPECT_EQ(changed_at_open, (std::vector<bool>{false, false}));
  EXPECT_EQ(boxes.requests.size(), 2U);
}

TEST(TemplateDialog, ButtonStripStaysDockedToTheBottom) {
  frmZTemplate dialog;
  dialog.show();
  dialog.resize(500, 400);
  QWidget* strip = dialog.BottomStrip();
  EXPECT_EQ(strip->geometry(), QRect(0, 400 - 56, 500, 56));
  EXPECT_EQ(Button(dialog, "cmdSave")->text(), "&Save");
  EXPECT_EQ(Button(dialog, "cmdSave")->accessibleName(), "Save");
}

TEST(TextBoxHelpers, SelectAllOfSingleAndMultiLineFields) {
  QLineEdit line(QStringLiteral("hello"));
  QPlainTextEdit plain(QStringLiteral("one\ntwo"));
  QLineEdit empty;
  MessageBoxRecorder boxes;
  SelectTextX(&line);
  EXPECT_EQ(line.selectedText(), "hello");
  line.deselect();
  SelectText(&line);
  EXPECT_EQ(line.selectedText(), "hello");
  SelectText(&plain);
  EXPECT_EQ(plain.textCursor().selectedText(), QStringLiteral("one\u2029two"));
  SelectTextX(&empty);
  EXPECT_FALSE(empty.hasSelectedText());
  EXPECT_TRUE(boxes.requests.empty());
}

TEST(TextBoxHelpers, CaseForcingAppliesToWhatIsTyped) {
  QLineEdit field;
  MessageBoxRecorder boxes;
  SetTextBoxCase(&field, 1);
  QTest::keyClicks(&field, "MiXed");
  EXPECT_EQ(field.text(), "MIXED");
  SetTextBoxCase(&field, 0);  // upper was forced: now only lower
  EXPECT_EQ(TextBoxCase(&field), 0);
  QTest::keyClicks(&field, "AbC");
  EXPECT_EQ(field.text(), "mixedabc");
  SetTextBoxCase(&field, 2);  // other modes change nothing
  EXPECT_EQ(TextBoxCase(&field), 0);
  QLineEdit plain_field;
  SetTextBoxCase(&plain_field, 7);
  EXPECT_EQ(TextBoxCase(&plain_field), -1);
  EXPECT_TRUE(boxes.requests.empty());
}

TEST(TextBoxHelpers, FailuresAreShownUnderTheHelpersOwnName) {
  MessageBoxRecorder boxes;
  QPushButton not_a_field;
  SelectTextX(nullptr);
  SelectText(&not_a_field);
  SetTextBoxCase(&not_a_field, 1);
  ASSERT_EQ(boxes.requests.size(), 3U);
  EXPECT_EQ(boxes.requests[0].text, "Error: 91. Object variable or With block variable not set");
  EXPECT_EQ(boxes.requests[0].title, "SelectTextX");
  EXPECT_EQ(boxes.requests[0].buttons, MsgButtons::Ok);
  EXPECT_EQ(boxes.requests[1].text, "Error: 438. Object doesn't support this property or method");
  EXPECT_EQ(boxes.requests[1].title, "SelectText");
  EXPECT_EQ(boxes.requests[2].title, "SetTextBoxCase");
}

}  // namespace
}  // namespace serenitap
