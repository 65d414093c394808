// Start-up: the set-up that turns message requests and failure reports into
// real dialogs, the second-copy question, the introduction window before the
// main window, and the last line of defence around event handlers.
#include <gtest/gtest.h>

#include <QIcon>
#include <QImage>
#include <QWidget>
#include <algorithm>
#include <chrono>
#include <stdexcept>
#include <vector>

#include "app/display_check.h"
#include "app/mod_main.h"
#include "app/program_icon.h"
#include "app/program_setup.h"
#include "app/safe_application.h"
#include "services/failure.h"
#include "support/offscreen_environment.h"
#include "support/recorders.h"
#include "support/widget_steps.h"
#include "ui/fonts.h"

namespace serenitap {
namespace {

[[maybe_unused]] ::testing::Environment* const kProgram =
    ::testing::AddGlobalTestEnvironment(new testing::OffscreenEnvironment<SafeApplication>);

TEST(ProgramSetup, ReportsAndMessagesBecomeRealDialogs) {
  SetUpProgram();
  EXPECT_EQ(QApplication::applicationName(), QStringLiteral("Serenitap"));
  QStringList shown;  // each modal window, closed as soon as its loop runs
  const auto closeNextModal = [&] {
    testing::WhenModal([&] {
      QWidget* modal = QApplication::activeModalWidget();
      shown << (modal != nullptr ? modal->metaObject()->className() : "nothing");
      if (modal != nullptr) modal->close();
    });
  };
  // Each waits for the font configuration the program may still be reading.
  int waits = 0;
  const auto countWait = [&waits] { ++waits; };
  FontConfigurationWait() = countWait;
  closeNextModal();
  Guarded("frmMain", "cmdAbout_Click", [] { throw RuntimeFailure(6, "Overflow"); });
  FontConfigurationWait() = countWait;
  closeNextModal();
  MsgBox("The journal could not be saved.");
  QCoreApplication::processEvents();  // a check left over when a window did not open
  EXPECT_EQ(shown, QStringList({"serenitap::frmErrorReport", "QMessageBox"}));
  EXPECT_EQ(waits, 2);
  SetReportErrorSink({});  // back to standard error: no dialog can block a later test
  SetMessageBoxSink({});
}

// The window icon is made at build time from the program's picture: at each
// size the window system is handed, its pixels are the picture's as drawn by
// the toolkit's own SVG icon engine.
TEST(ProgramSetup, TheWindowIconIsThePictureDrawnAtEachSize) {
  SetUpProgram();
  const QIcon icon = QApplication::windowIcon();
  const QIcon picture(QStringLiteral(SERENITAP_RESOURCES "/serenitap.svg"));
  ASSERT_EQ(icon.availableSizes().size(), std::size(kProgramIconSizes));
  for (const int size : kProgramIconSizes) {
    SCOPED_TRACE(size);
    const QImage built = icon.pixmap(QSize(size, size), 1.0).toImage().convertToFormat(QImage::Format_ARGB32);
    const QImage drawn = picture.pixmap(QSize(size, size), 1.0).toImage().convertToFormat(QImage::Format_ARGB32);
    ASSERT_EQ(drawn.size(), QSize(size, size));
    EXPECT_TRUE(built == drawn);
  }
}

TEST(Startup, AsksOnlyWhenAnotherCopyRunsAndShowsTheIntroductionFirstIfChosen) {
  // Another copy running, the answer, the introduction wanted; the windows shown.
  const std::tuple<const char*, bool, MsgAnswer, bool, std::string> rows[] = {
      {"alone", false, MsgAnswer::No, false, " main"},
      {"another: run anyway", true, MsgAnswer::Yes, true, " intro main"},
      {"another: do not run", true, MsgAnswer::No, true, ""},
      {"another: question closed", true, MsgAnswer::Cancel, false, ""}};
  for (const auto& [name, other, answer, intro, expected] : rows) {
    SCOPED_TRACE(name);
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

// An X server that lost its last client starts afresh and refuses connections
// for a moment: the display is tried again a bounded number of times.
TEST(Startup, ARefusingDisplayIsTriedAgainForAMomentThenExplained) {
  using enum DisplayAttempt;
  const int all = kDisplayAttempts;
  std::vector<DisplayAttempt> lastChance(all - 1, Refused);
  lastChance.push_back(Connected);
  // The answers (the last one repeats), the attempts, part of the explanation (null: connected).
  const std::tuple<const char*, std::vector<DisplayAttempt>, int, const char*> rows[] = {
      {"connected at once", {Connected}, 1, nullptr},
      {"refused while it starts afresh", {Refused, Refused, Connected}, 3, nullptr},
      {"connected at the last attempt", lastChance, all, nullptr},
      {"refused throughout", {Refused}, all, "\":7\": it refused the connection"},
      {"no such screen", {Invalid}, 1, "\":7\": there is no such display"}};
  for (const auto& [name, answers, expected, because] : rows) {
    SCOPED_TRACE(name);
    int attempts = 0;
    std::chrono::milliseconds paused{0};
    const auto reason = UnreachableDisplayReason(
        ":7", [&] { return answers[std::min<std::size_t>(attempts++, answers.size() - 1)]; },
        [&](std::chrono::milliseconds pause) { paused += pause; });
    EXPECT_EQ(attempts, expected);
    EXPECT_EQ(paused, (expected - 1) * kDisplayRetryPause);
    EXPECT_EQ(reason.has_value(), because != nullptr);
    EXPECT_NE(reason.value_or("").find(because != nullptr ? because : ""), std::string::npos) << reason.value_or("");
  }
}

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
