// Start-up: the second-copy question and its answers, the introduction window
// before the main window, and the last line of defence around event handlers.
#include <gtest/gtest.h>

#include <QApplication>
#include <QEvent>
#include <algorithm>
#include <stdexcept>
#include <string>
#include <vector>

#include "app/display_check.h"
#include "app/mod_main.h"
#include "app/safe_application.h"
#include "services/failure.h"
#include "support/recorders.h"

namespace serenitap {
namespace {

struct StartCase {
  const char* name;
  bool otherRunning;
  MsgAnswer answer;   // scripted answer to the question, if asked
  bool introOption;
  bool started;
  std::vector<std::string> shown;
};

void PrintTo(const StartCase& c, std::ostream* os) { *os << c.name; }

class Startup : public ::testing::TestWithParam<StartCase> {};

TEST_P(Startup, AsksOnlyWhenAnotherCopyRunsAndShowsWindowsInOrder) {
  const StartCase& c = GetParam();
  testing::MessageBoxRecorder boxes;
  boxes.answers = {c.answer};
  std::vector<std::string> shown;
  modMain::StartupSteps steps;
  steps.anotherInstanceRunning = [&] { return c.otherRunning; };
  steps.showWhatIsItAtStartup = [&] { return c.introOption; };
  steps.showWhatIsItModal = [&] { shown.push_back("frmWhatIsIt"); };
  steps.showMainWindow = [&] { shown.push_back("frmMain"); };

  EXPECT_EQ(modMain::Main(steps), c.started);
  EXPECT_EQ(shown, c.shown);
  if (c.otherRunning) {
    ASSERT_EQ(boxes.requests.size(), 1u);
    EXPECT_EQ(boxes.requests[0].text,
              "Another instance of Serenitap is already running.\r\n\r\nDo you want to run another instance?");
    EXPECT_EQ(boxes.requests[0].buttons, MsgButtons::YesNo);
    EXPECT_EQ(boxes.requests[0].icon, MsgIcon::Question);
    EXPECT_EQ(boxes.requests[0].title, "Serenitap");
  } else {
    EXPECT_TRUE(boxes.requests.empty());
  }
}

INSTANTIATE_TEST_SUITE_P(
    Answers, Startup,
    ::testing::Values(StartCase{"alone", false, MsgAnswer::No, false, true, {"frmMain"}},
                      StartCase{"alone_with_intro", false, MsgAnswer::No, true, true, {"frmWhatIsIt", "frmMain"}},
                      StartCase{"second_yes", true, MsgAnswer::Yes, true, true, {"frmWhatIsIt", "frmMain"}},
                      StartCase{"second_no", true, MsgAnswer::No, true, false, {}},
                      StartCase{"second_closed", true, MsgAnswer::Cancel, false, false, {}}),
    [](const auto& info) { return std::string(info.param.name); });

// A failing step is reported under modMain's Main and the later steps do not run.
TEST(Startup, AFailureIsReportedUnderModMainAndNothingAfterItRuns) {
  const std::vector<std::string> order{"instances", "option", "introduction", "main window"};
  for (const std::string& failing : order) {
    SCOPED_TRACE(failing);
    testing::ReportRecorder reports;
    std::vector<std::string> ran;
    auto step = [&](const char* name) {
      ran.emplace_back(name);
      if (failing == name) throw RuntimeFailure(13, "Type mismatch");
    };
    modMain::StartupSteps steps;
    steps.anotherInstanceRunning = [&] { return step("instances"), false; };
    steps.showWhatIsItAtStartup = [&] { return step("option"), true; };
    steps.showWhatIsItModal = [&] { step("introduction"); };
    steps.showMainWindow = [&] { step("main window"); };
    EXPECT_FALSE(modMain::Main(steps));
    EXPECT_EQ(ran.back(), failing);
    EXPECT_EQ(ran.size(), static_cast<std::size_t>(std::find(order.begin(), order.end(), failing) - order.begin() + 1));
    ASSERT_EQ(reports.reports.size(), 1u);
    EXPECT_EQ(reports.reports[0].module, "modMain");
    EXPECT_EQ(reports.reports[0].procedure, "Main");
    EXPECT_EQ(reports.reports[0].number, 13);
    EXPECT_EQ(reports.reports[0].extra.rfind("Line: ", 0), 0u);
  }
}

#ifdef __linux__
// Any one of the three variables means a display can be reached; none, a reason to print.
TEST(Startup, ADisplayIsFoundThroughAnyOfItsVariables) {
  const char* names[] = {"QT_QPA_PLATFORM", "DISPLAY", "WAYLAND_DISPLAY"};
  std::vector<std::pair<std::string, std::string>> saved;
  for (const char* name : names) saved.emplace_back(name, qgetenv(name).toStdString());
  for (int set = -1; set < 3; ++set) {
    for (int i = 0; i < 3; ++i) qputenv(names[i], i == set ? ":1" : "");
    EXPECT_EQ(MissingDisplayReason().has_value(), set < 0) << set;
  }
  for (const auto& [name, value] : saved) qputenv(name.c_str(), value.c_str());
}
#endif

class Throwing : public QObject {
 public:
  bool event(QEvent* e) override {
    if (e->type() == QEvent::User) throw std::out_of_range("no such control");
    return QObject::event(e);
  }
};

TEST(LastLineOfDefence, AFailureEscapingAnEventHandlerIsReportedAndTheProgramGoesOn) {
  ASSERT_NE(dynamic_cast<SafeApplication*>(QCoreApplication::instance()), nullptr);
  testing::ReportRecorder reports;
  Throwing target;
  QEvent first(QEvent::User);
  EXPECT_FALSE(QCoreApplication::sendEvent(&target, &first));
  QCoreApplication::postEvent(&target, new QEvent(QEvent::User));
  QCoreApplication::processEvents();
  ASSERT_EQ(reports.reports.size(), 2u);
  EXPECT_EQ(reports.reports[0].number, 9);
  EXPECT_EQ(reports.reports[0].description, "Subscript out of range");
  // Still answering.
  QEvent ordinary(QEvent::None);
  QCoreApplication::sendEvent(&target, &ordinary);
  EXPECT_EQ(reports.reports.size(), 2u);
}

}  // namespace
}  // namespace serenitap
