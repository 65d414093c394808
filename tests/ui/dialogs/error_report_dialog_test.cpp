// The error-report dialog, and the accessible names of every dialog.
#include <gtest/gtest.h>

#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <stdexcept>

#include "dialogs_test_support.h"
#include "services/error_report_text.h"
#include "ui/dialogs/about_dialog.h"
#include "ui/dialogs/error_report_dialog.h"
#include "ui/dialogs/password_dialog.h"
#include "ui/dialogs/shortcuts_dialog.h"
#include "ui/dialogs/template_dialog.h"
#include "ui/dialogs/what_is_it_dialog.h"

namespace serenitap {
namespace {

using testing::ShowActive;

const ErrorReport kReport{-5, "Invalid  call", "2.0", 201, "frmMain", "cmdAbout_Click", "Line: 12"};

QString Text(QWidget& window, const char* name) { return window.findChild<QLabel*>(name)->text(); }

// The dialog's clock, moved by the tests.
std::int64_t nowMs = 0;
[[maybe_unused]] const bool kClockInstalled = [] {
  frmErrorReport::SetMonotonicClock([] { return nowMs; });
  return true;
}();

// Shown, and past the first half second in which Send does nothing.
void ShowAndWait(frmErrorReport& dialog) {
  ShowActive(dialog);
  nowMs += frmErrorReport::kSendGuardMs;
}

TEST(ErrorReportDialog, ShowsEveryTextOfTheReport) {
  frmErrorReport dialog;
  dialog.Load(kReport);
  EXPECT_EQ(dialog.windowTitle(), "Uh Oh... an error occurred in Serenitap");
  EXPECT_EQ(Text(dialog, "lblTitle"), "Serenitap Problem ");
  EXPECT_EQ(Text(dialog, "lblIntro"), QString::fromStdString(ErrorReportIntro()).replace("\r\n", "\n"));
  EXPECT_EQ(Text(dialog, "lblComments"), "Error Report Contents:");
  EXPECT_EQ(Text(dialog, "lblName"), "How you got this error, and how we can reproduce it:");
  EXPECT_EQ(Text(dialog, "Label1"), "(Highly recommended.)");
  EXPECT_EQ(Text(dialog, "lblEmail"), "Your email address, so we can contact you about this problem:");
  EXPECT_EQ(dialog.findChild<QPlainTextEdit*>("txtErrDesc")->toPlainText(),
            "2.0 201 Error -5 (frmMain:cmdAbout_Click)\n\nInvalid  call\n\nLine: 12");
  EXPECT_TRUE(dialog.findChild<QPlainTextEdit*>("txtComments")->toPlainText().isEmpty());
  EXPECT_TRUE(dialog.findChild<QLineEdit*>("txtEmail")->text().isEmpty());
  EXPECT_EQ(dialog.findChild<QPushButton*>("cmdSend")->text(), "&Send Error Report");
  EXPECT_EQ(dialog.findChild<QPushButton*>("cmdCancel")->text(), "&Do Not Send");
  EXPECT_TRUE(dialog.isModal());
}

TEST(ErrorReportDialog, MousePointerIsRememberedAndGivenBack) {
  QGuiApplication::setOverrideCursor(Qt::WaitCursor);
  {
    frmErrorReport dialog;
    dialog.Load(kReport);
    EXPECT_EQ(ScreenMousePointer(), std::nullopt);
    ShowActive(dialog);
    dialog.findChild<QPushButton*>("cmdCancel")->click();
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(ScreenMousePointer(), Qt::WaitCursor);
  }
  EXPECT_EQ(ScreenMousePointer(), Qt::WaitCursor);  // given back once only
  SetScreenMousePointer(std::nullopt);
}

TEST(ErrorReportDialog, SendOpensTheReportPageOnceAndCloses) {
  testing::WebPageRecorder pages;
  frmErrorReport dialog;
  dialog.Load(kReport);
  ShowAndWait(dialog);
  QTest::keyClicks(dialog.findChild<QPlainTextEdit*>("txtComments"), "  clicked About  ");
  QTest::keyClick(dialog.findChild<QPlainTextEdit*>("txtComments"), Qt::Key_Return);
  QTest::keyClicks(dialog.findChild<QPlainTextEdit*>("txtComments"), "then #2 ");
  QTest::keyClicks(dialog.findChild<QLineEdit*>("txtEmail"), " a@b.c ");
  pages.during_open = [&] { dialog.findChild<QPushButton*>("cmdSend")->click(); };  // a second press meanwhile

  dialog.findChild<QPushButton*>("cmdSend")->click();

  ASSERT_EQ(pages.pages.size(), 1U);
  EXPECT_TRUE(pages.pages[0].as_is);
  EXPECT_EQ(pages.pages[0].address,
            "https://www.quorvex.com/errorstp.php?ErrNum=-5&ErrDesc=Invalid++call&ProgVer=2.0&BuildNum=201"
            "&ModuleName=frmMain&ProcName=cmdAbout_Click&Comments=clicked+About++\r\nthen+#2&Email=a@b.c"
            "&ExtraDesc=Line: 12");
  EXPECT_FALSE(dialog.isVisible());
  EXPECT_FALSE(dialog.Busy());
}

TEST(ErrorReportDialog, ClosesEvenWhenTheBrowserCannotStart) {
  testing::WebPageRecorder pages;
  pages.during_open = [] { throw std::runtime_error("no browser"); };
  frmErrorReport dialog;
  dialog.Load(kReport);
  ShowAndWait(dialog);
  dialog.findChild<QPushButton*>("cmdSend")->click();
  EXPECT_EQ(pages.pages.size(), 1U);
  EXPECT_FALSE(dialog.isVisible());
}

TEST(ErrorReportDialog, DoNotSendAndEscSendNothing) {
  testing::WebPageRecorder pages;
  for (int way = 0; way < 2; ++way) {
    frmErrorReport dialog;
    dialog.Load(kReport);
    ShowActive(dialog);
    if (way == 0) dialog.findChild<QPushButton*>("cmdCancel")->click();
    if (way == 1) QTest::keyClick(dialog.findChild<QLineEdit*>("txtEmail"), Qt::Key_Escape);
    EXPECT_FALSE(dialog.isVisible());
  }
  EXPECT_TRUE(pages.pages.empty());
}

// Enter is the main window's Next key: someone stepping through must not
// send a report with it, nor with a click meant for the window before.
TEST(ErrorReportDialog, EnterNeverSendsAndAnEarlyClickDoesNothing) {
  testing::WebPageRecorder pages;
  frmErrorReport dialog;
  dialog.Load(kReport);
  ShowActive(dialog);
  auto* comments = dialog.findChild<QPlainTextEdit*>("txtComments");
  EXPECT_EQ(dialog.focusWidget(), comments);
  QTest::mouseClick(dialog.findChild<QPushButton*>("cmdSend"), Qt::LeftButton);
  nowMs += frmErrorReport::kSendGuardMs - 1;
  QTest::keyClick(dialog.findChild<QPushButton*>("cmdSend"), Qt::Key_S, Qt::AltModifier);
  EXPECT_TRUE(pages.pages.empty());
  EXPECT_TRUE(dialog.isVisible());
  nowMs += 1;

  QTest::keyClicks(comments, "one");
  QTest::keyClick(comments, Qt::Key_Return);
  QTest::keyClicks(comments, "two");
  EXPECT_EQ(comments->toPlainText(), "one\ntwo");
  const char* fields[] = {"txtErrDesc", "txtComments", "txtEmail", "cmdSend", "cmdCancel"};
  for (const char* name : fields) {
    auto* field = dialog.findChild<QWidget*>(name);
    field->setFocus();
    QTest::keyClick(field, Qt::Key_Return);
    QTest::keyClick(field, Qt::Key_Enter);
    EXPECT_TRUE(pages.pages.empty()) << name;
    EXPECT_TRUE(dialog.isVisible()) << name;
  }
  QTest::mouseClick(dialog.findChild<QPushButton*>("cmdSend"), Qt::LeftButton);
  EXPECT_EQ(pages.pages.size(), 1U);
}

TEST(ErrorReportDialog, ReportErrorShowsOneFreshDialogPerReport) {
  const ReportSink previous = SetReportErrorSink({});
  InstallErrorReportDialog();
  std::vector<std::string> contents;
  for (int report = 1; report <= 2; ++report) {
    testing::WhenModal([&] {
      frmErrorReport* shown = frmErrorReport::Instance();
      ASSERT_NE(shown, nullptr);
      contents.push_back(shown->findChild<QPlainTextEdit*>("txtErrDesc")->toPlainText().toStdString());
      shown->close();
    });
    ReportError(report, "Failure", "modSteps", "GetNextStep", "");
    EXPECT_EQ(frmErrorReport::Instance(), nullptr);
  }
  SetReportErrorSink(previous);
  EXPECT_EQ(contents, (std::vector<std::string>{"2.0 201 Error 1 (modSteps:GetNextStep)\n\nFailure",
                                                "2.0 201 Error 2 (modSteps:GetNextStep)\n\nFailure"}));
}

// Every named control of every dialog can be told apart by a screen reader;
// a button is known by its caption without the access-key marker.
TEST(DialogAccessibility, EveryNamedControlHasAnAccessibleName) {
  testing::TempStore store;
  std::vector<std::unique_ptr<QWidget>> windows;
  windows.push_back(std::make_unique<frmZTemplate>());
  windows.push_back(std::make_unique<frmWhatIsIt>());
  windows.push_back(std::make_unique<frmShortcuts>());
  windows.push_back(std::make_unique<frmAbout_NEW>());
  windows.push_back(std::make_unique<frmPassword>());
  auto report = std::make_unique<frmErrorReport>();
  report->Load(kReport);
  windows.push_back(std::move(report));
  for (auto& window : windows) {
    window->show();
    for (QWidget* control : window->findChildren<QWidget*>()) {
      if (control->objectName().isEmpty() || control->objectName().startsWith(QLatin1String("qt_")) ||
          !control->isVisible()) {
        continue;
      }
      SCOPED_TRACE(window->objectName().toStdString() + "/" + control->objectName().toStdString());
      EXPECT_FALSE(control->accessibleName().isEmpty());
      if (auto* button = qobject_cast<QPushButton*>(control)) {
        EXPECT_EQ(button->accessibleName(), WithoutAccessKey(button->text()));
      }
    }
    window->hide();
  }
}

}  // namespace
}  // namespace serenitap
