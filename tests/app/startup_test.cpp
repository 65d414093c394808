// Start-up: the set-up that turns message requests and failure reports into
// real dialogs, the second-copy question, the introduction window before the
// main window, and the last line of defence around event handlers.
#include <gtest/gtest.h>

#include <QTimer>
#include <QWidget>
#include <stdexcept>

#include "app/display_check.h"
#include "app/mod_main.h"
#include "app/program_setup.h"
#include "app/safe_application.h"
#include "services/failure.h"
#include "support/offscreen_environment.h"
#include "support/recorders.h"

namespace serenitap {
namespace {

[[maybe_unused]] ::testing::Environment* const kProgram =
    ::testing::AddGlobalTestEnvironment(new testing::OffscreenEnvironment<SafeApplication>);

TEST(ProgramSetup, ReportsAndMessagesBecomeRealDialogs) {
  SetUpProgram();
  EXPECT_EQ(QApplication::applicationName(), QStringLiteral("Serenitap"));
  QStringList shown;  // each modal window, closed as soon as its loop runs
  const auto closeNextModal = [&] {
    QTimer::singleShot(0, [&] {
      QWidget* modal = QApplication::activeModalWidget();
      shown << (modal != nullptr ? modal->metaObject()->className() : "nothing");
      if (modal != nullptr) modal->close();
    });
  };
  closeNextModal();
  Guarded("frmMain", "cmdAbout_Click", [] { throw RuntimeFailure(6, "Overflow"); });
  closeNextModal();
  MsgBox("The journal could not be saved.");
  QCoreApplication::processEvents();  // a check left over when a window did not open
  EXPECT_EQ(shown, QStringList({"serenitap::frmErrorReport", "QMessageBox"}));
  SetReportErrorSink({});  // back to standard error: no dialog can block a later test
  SetMessageBoxSink({});
}

TEST(Startup, AsksOnlyWhenAnotherCopyRunsAndShowsTheIntroductionFirstIfChosen) {
  const std::tuple<bool, MsgAnswer, bool, std::string> rows[] = {{false, MsgAnswer::No, false, " main"},
                                                                 {true, MsgAnswer::Yes, true, " intro main"},
                                                                 {true, MsgAnswer::No, true, ""},
                                                                 {true, MsgAnswer::Cancel, false, ""}};
  for (const auto& [other, answer, intro, expected] : rows) {
    testing::MessageBoxRecorder boxes;
    boxes.answers = {answer};
    std::string shown;
    const modMain::StartupSteps steps{[&] { return other; }, [&] { return intro; }, [&] { shown += " intro"; },
                                      [&] { shown += " main"; }};
    EXPECT_EQ(modMain::Main(steps), !expected.empty());
    EXPECT_EQ(shown, expected);
    ASSERT_EQ(boxes.requests.size(), other ? 1u : 0u);
    if (!other) continue;
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
    const auto step = [&] {
      if (ran++ == failing) throw RuntimeFailure(13, "Type mismatch");
    };
    EXPECT_FALSE(modMain::Main({[&] { return step(), false; }, [&] { return step(), true; }, step, step}));
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
