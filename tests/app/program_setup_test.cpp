// The program as it starts: its own application object, and the set-up that
// turns message requests and failure reports into real dialogs.
#include "app/program_setup.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTimer>
#include <memory>

#include "app/safe_application.h"
#include "services/error_report.h"
#include "services/failure.h"
#include "services/message_box.h"
#include "support/offscreen_environment.h"
#include "ui/dialogs/error_report_dialog.h"

namespace serenitap {
namespace {

[[maybe_unused]] ::testing::Environment* const kProgram =
    ::testing::AddGlobalTestEnvironment(new testing::OffscreenEnvironment<SafeApplication>);

// Runs `look` on the modal dialog as soon as its loop runs, then closes it.
template <class Look>
void WhenModal(Look look) {
  QTimer::singleShot(0, [look] {
    QWidget* modal = QApplication::activeModalWidget();
    look(modal);
    if (modal != nullptr && modal->isVisible()) modal->close();
  });
}

TEST(ProgramSetup, ReportsAndMessagesBecomeRealDialogs) {
  const ReportSink reportsBefore = SetReportErrorSink({});
  const MessageBoxSink boxesBefore = SetMessageBoxSink({});
  SetUpProgram();
  EXPECT_EQ(QApplication::applicationName(), QStringLiteral("Serenitap"));

  QString reportShown;
  WhenModal([&](QWidget* modal) {
    auto* dialog = qobject_cast<frmErrorReport*>(modal);
    ASSERT_NE(dialog, nullptr);
    reportShown = dialog->findChild<QPlainTextEdit*>("txtErrDesc")->toPlainText();
    dialog->findChild<QPushButton*>("cmdCancel")->click();
  });
  Guarded("frmMain", "cmdAbout_Click", [] { throw RuntimeFailure(6, "Overflow"); });
  EXPECT_TRUE(reportShown.contains(QStringLiteral("Error 6 (frmMain:cmdAbout_Click)"))) << reportShown.toStdString();

  QString question;
  WhenModal([&](QWidget* modal) {
    auto* box = qobject_cast<QMessageBox*>(modal);
    ASSERT_NE(box, nullptr);
    question = box->text();
    box->button(QMessageBox::Yes)->click();
  });
  EXPECT_EQ(MsgBox("Run another copy?", MsgButtons::YesNo, MsgIcon::Question), MsgAnswer::Yes);
  EXPECT_EQ(question, QStringLiteral("Run another copy?"));

  SetReportErrorSink(reportsBefore);
  SetMessageBoxSink(boxesBefore);
}

}  // namespace
}  // namespace serenitap
