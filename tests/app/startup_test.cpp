// Start-up: the set-up that turns message requests and failure reports into
// real dialogs, the second-copy question, the introduction window before the
// main window, and the last line of defence around event handlers.
#include <gtest/gtest.h>

#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTimer>
#include <stdexcept>

#include "app/display_check.h"
#include "app/mod_main.h"
#include "app/program_setup.h"
#include "app/safe_application.h"
#include "services/failure.h"
#include "support/offscreen_environment.h"
#include "support/recorders.h"
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
  SetUpProgram();
  EXPECT_EQ(QApplication::applicationName(), QStringLiteral("Serenitap"));
  QString shown;
  WhenModal([&](QWidget* modal) {
    auto* dialog = qobject_cast<frmErrorReport*>(modal);
    ASSERT_NE(dialog, nullptr);
    shown = dialog->findChild<QPlainTextEdit*>("txtErrDesc")->toPlainText();
    dialog->findChild<QPushButton*>("cmdCancel")->click();
  });
  Guarded("frmMain", "cmdAbout_Click", [] { throw RuntimeFailure(6, "Overflow"); });
  EXPECT_TRUE(shown.contains(QStringLiteral("Error 6 (frmMain:cmdAbout_Click)"))) << shown.toStdString();
  WhenModal([&](QWidget* modal) {
    auto* box = qobject_cast<QMessageBox*>(modal);
    ASSERT_NE(box, nullptr);
    shown = box->text();
    box->button(QMessageBox::Yes)->click();
  });
  EXPECT_EQ(MsgBox("Run another copy?", MsgButtons::YesNo, MsgIcon::Question), MsgAnswer::Yes);
  EXPECT_EQ(shown, QStringLiteral("Run another copy?"));
  SetReportErrorSink({});  // back to standard error: no dialog can block a later test
  SetMessageBoxSink({});
}

TEST(Startup, AsksOnlyWhenAnotherCopyRunsAndShowsTheIntroductionFirstIfChosen) {
  struct Row { bool other; MsgAnswer answer; bool intro; std::vector<std::string> shown; };
  const Row rows[] = {{false, MsgAnswer::No, false, {"frmMain"}},
                      {true, MsgAnswer::Yes, true, {"frmWhatIsIt", "frmMain"}},
                      {true, MsgAnswer::No, true, {}},
                      {true, MsgAnswer::Cancel, false, {}}};
  for (const Row& row : rows) {
    testing::MessageBoxRecorder boxes;
    boxes.answers = {row.answer};
    std::vector<std::string> shown;
    const modMain::StartupSteps steps{[&] { return row.other; }, [&] { return row.intro; },
                                      [&] { shown.push_back("frmWhatIsIt"); }, [&] { shown.push_back("frmMain"); }};
    EXPECT_EQ(modMain::Main(steps), !row.shown.empty());
    EXPECT_EQ(shown, row.shown);
    ASSERT_EQ(boxes.requests.size(), row.other ? 1u : 0u);
    if (!row.other) continue;
    EXPECT_EQ(boxes.requests[0].text,
              "Another instance of Serenitap is already running.\r\n\r\nDo you want to run another instance?");
    EXPECT_EQ(std::tuple(boxes.requests[0].buttons, boxes.requests[0].icon, boxes.requests[0].title),
              std::tuple(MsgButtons::YesNo, MsgIcon::Question, "Serenitap"));
  }
}

TEST(Startup, AFailingStepIsReportedUnderModMainAndNothingAfterItRuns) {
  for (int failing = 0; failing < 4; ++failing) {
    testing::ReportRecorder reports;
    int ran = 0;
    const auto step = [&] { if (ran++ == failing) throw RuntimeFailure(13, "Type mismatch"); };
    const modMain::StartupSteps steps{[&] { return step(), false; }, [&] { return step(), true; }, step, step};
    EXPECT_FALSE(modMain::Main(steps));
    EXPECT_EQ(ran, failing + 1);
    ASSERT_EQ(reports.reports.size(), 1u);
    EXPECT_EQ(std::tuple(reports.reports[0].module, reports.reports[0].procedure, reports.reports[0].number),
              std::tuple("modMain", "Main", 13));
  }
}

#ifdef __linux__
TEST(Startup, ADisplayIsFoundThroughAnyOfItsVariables) {
  const char* names[] = {"QT_QPA_PLATFORM", "DISPLAY", "WAYLAND_DISPLAY"};
  const QByteArray saved[] = {qgetenv(names[0]), qgetenv(names[1]), qgetenv(names[2])};
  for (int set = -1; set < 3; ++set) {
    for (int i = 0; i < 3; ++i) qputenv(names[i], i == set ? ":1" : "");
    EXPECT_EQ(MissingDisplayReason().has_value(), set < 0) << set;
  }
  for (int i = 0; i < 3; ++i) qputenv(names[i], saved[i]);
}
#endif

struct Throwing : QObject {
  int handled = 0;
  bool event(QEvent* e) override {
    ++handled;
    if (e->type() == QEvent::User) throw std::out_of_range("no such control");
    return QObject::event(e);
  }
};

TEST(LastLineOfDefence, AFailureEscapingAnEventHandlerIsReportedAndTheProgramGoesOn) {
  testing::ReportRecorder reports;
  Throwing target;
  QCoreApplication::postEvent(&target, new QEvent(QEvent::User));
  QCoreApplication::postEvent(&target, new QEvent(QEvent::None));
  QCoreApplication::processEvents();
  EXPECT_EQ(target.handled, 2);
  ASSERT_EQ(reports.reports.size(), 1u);
  EXPECT_EQ(std::tuple(reports.reports[0].number, reports.reports[0].description, reports.reports[0].procedure),
            std::tuple(9, "Subscript out of range", "EventHandler"));
}

}  // namespace
}  // namespace serenitap
