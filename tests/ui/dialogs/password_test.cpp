// The password prompt.
#include <gtest/gtest.h>

#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include "dialogs_test_support.h"
#include "ui/dialogs/password_dialog.h"

namespace serenitap {
namespace {

enum class Way { OkButton, EnterInField, CancelButton, CloseBox, Esc, EmptyOk };

struct PasswordCase {
  const char* name;
  Way way;
  const char* typed;
  bool confirmed;
  const char* handed_back;
};

class PasswordTest : public ::testing::TestWithParam<PasswordCase> {};

TEST_P(PasswordTest, OutcomeAndPassword) {
  const PasswordCase& c = GetParam();
  testing::WhenModal([&] {
    frmPassword* dialog = frmPassword::Instance();
    ASSERT_NE(dialog, nullptr);
    dialog->Form_Activate();
    auto* field = dialog->findChild<QLineEdit*>("txtPassword");
    QTest::keyClicks(field, c.typed);
    switch (c.way) {
      case Way::OkButton:
      case Way::EmptyOk: dialog->findChild<QPushButton*>("cmdOK")->click(); break;
      case Way::EnterInField: QTest::keyClick(field, Qt::Key_Return); break;
      case Way::CancelButton: dialog->findChild<QPushButton*>("cmdCancel")->click(); break;
      case Way::CloseBox: dialog->close(); break;
      case Way::Esc: QTest::keyClick(field, Qt::Key_Escape); break;
    }
  });
  QString password = QStringLiteral("left over");
  EXPECT_EQ(frmPassword::Ask(password), c.confirmed);
  EXPECT_EQ(password, QString::fromLatin1(c.handed_back));
  EXPECT_EQ(frmPassword::Instance(), nullptr);
}

INSTANTIATE_TEST_SUITE_P(Ways, PasswordTest,
                         ::testing::Values(PasswordCase{"Ok", Way::OkButton, "s3cret pw", true, "s3cret pw"},
                                           PasswordCase{"Enter", Way::EnterInField, "abc", true, "abc"},
                                           PasswordCase{"Cancel", Way::CancelButton, "abc", false, ""},
                                           PasswordCase{"CloseBox", Way::CloseBox, "abc", false, ""},
                                           PasswordCase{"Esc", Way::Esc, "abc", false, ""},
                                           PasswordCase{"Empty", Way::EmptyOk, "", true, ""}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(Password, MaskedAndFocusMovesToOkAtTheMaximumLength) {
  frmPassword dialog;
  testing::ShowActive(dialog);
  auto* field = dialog.findChild<QLineEdit*>("txtPassword");
  EXPECT_EQ(dialog.windowTitle(), "Password Required?");
  EXPECT_EQ(field->echoMode(), QLineEdit::Password);
  EXPECT_EQ(field->maxLength(), frmPassword::kMaxPasswordLength);
  field->setFocus();
  QTest::keyClicks(field, QString(frmPassword::kMaxPasswordLength - 1, QLatin1Char('x')));
  EXPECT_EQ(dialog.focusWidget(), field);
  QTest::keyClick(field, Qt::Key_Y);
  EXPECT_EQ(dialog.focusWidget(), dialog.findChild<QPushButton*>("cmdOK"));
}

TEST(Password, OkBeforeActivationDoesNothing) {
  frmPassword dialog;
  dialog.show();
  dialog.findChild<QPushButton*>("cmdOK")->click();
  EXPECT_TRUE(dialog.isVisible());
  EXPECT_FALSE(dialog.Confirmed());
}

}  // namespace
}  // namespace serenitap
