// The journal from the window: the menu choice, a session recorded through
// the real main window, and the "My Progress" window built offscreen with data.
#include <gtest/gtest.h>

#include <QAction>
#include <QMenu>
#include <QTableView>
#include <QtCharts/QChart>
#include <QtCharts/QLineSeries>

#include "journal/journal_store.h"
#include "settings/options.h"
#include "support/recorders.h"
#include "support/temp_store.h"
#include "ui/journal/journal_keeper.h"
#include "ui/journal/progress_dialog.h"
#include "ui/main/main_controller.h"
#include "ui/main/main_window.h"

namespace serenitap {
namespace {

using journal::JournalStore;

// Three sessions on three days: the issue, the first rating, then two re-assessments.
struct ProgressWindow : ::testing::Test {
  testing::TempFolder folder;
  testing::MessageBoxRecorder boxes;
  std::string path = folder / "Serenitap/journal.sqlite";
  void SetUp() override {
    JournalStore store(path);
    const std::array<std::int16_t, 4> sessions[] = {{20, 9, 6, 3}, {110, 7, 5, 5}, {20, 6, 2, 1}};
    journal::TimeMs day = 1772323200000;  // 2026-03-01T00:00:00Z
    for (const auto& [issue, first, second, last] : sessions) {
      day += 86400000;
      store.Save({0, std::to_string(day), day, issue, first, {{day + 6000, second}, {day + 9000, last}}, 2, {}, {}});
    }
  }
  // The ratings on a line of the chart: 0 before tapping, 1 after.
  QList<qreal> Line(frmProgress& window, int line) {
    QList<qreal> y;
    for (const QPointF& p : static_cast<QLineSeries*>(window.Chart()->series().at(line))->points()) y.append(p.y());
    return y;
  }
};

TEST_F(ProgressWindow, ChartsTablesAndExportsEachSessionFilteredByIssue) {
  frmProgress window(path);
  window.show();
  EXPECT_EQ(window.Table()->model()->rowCount(), 3);
  EXPECT_EQ(Line(window, 0), (QList<qreal>{9, 7, 6}));
  EXPECT_EQ(Line(window, 1), (QList<qreal>{3, 5, 1}));
  window.FilterIssue(20);
  EXPECT_EQ(window.Table()->model()->rowCount(), 2);
  EXPECT_EQ(Line(window, 1), (QList<qreal>{3, 1}));
  ASSERT_TRUE(window.ExportCsv(QString::fromStdString(folder / "out.csv")));
  EXPECT_EQ(testing::ReadText(folder / "out.csv"), journal::ToCsv(window.Shown()));  // the two shown
  EXPECT_TRUE(boxes.requests.empty());
  EXPECT_FALSE(window.ExportCsv(QString::fromStdString(folder / "no/such/folder/out.csv")));
  EXPECT_EQ(boxes.requests.size(), 1u);
}

TEST_F(ProgressWindow, DeletesTheSessionsShownOnlyAfterYes) {
  frmProgress window(path);
  window.FilterIssue(110);
  window.Table()->selectRow(0);
  boxes.answers = {MsgAnswer::No, MsgAnswer::Yes, MsgAnswer::No, MsgAnswer::Yes};
  EXPECT_FALSE(window.DeleteSelected());
  EXPECT_TRUE(window.DeleteSelected());
  const auto left = JournalStore(path).Sessions();
  ASSERT_EQ(left.size(), 2u);
  EXPECT_EQ(left[0].firstRating, 9);
  EXPECT_EQ(left[1].firstRating, 6);
  EXPECT_FALSE(window.DeleteAll());
  EXPECT_TRUE(window.DeleteAll());
  EXPECT_TRUE(JournalStore(path).Sessions().empty());
  EXPECT_EQ(window.Table()->model()->rowCount(), 0);
}

TEST(JournalFromTheWindow, TheMenuChoiceIsStoredAndASessionIsRecordedUntilExit) {
  testing::TempFolder folder;
  testing::TempStore settings;
  qputenv("XDG_DATA_HOME", QByteArray::fromStdString(folder.Path().string()));
  frmMain window;
  auto* controller = new MainWindowController(window);
  controller->Form_Load();
  window.show();
  window.PopupMenu().findChild<QAction*>(QStringLiteral("mnuPopUpJournal"))->trigger();
  EXPECT_TRUE(modOptions::KeepJournal());
  for (int i = 0; i < 3; ++i) controller->Engine().cmdNavig_Click(1);
  controller->Engine().radSUD_Click(8);
  controller->Engine().cmdNavig_Click(1);  // rated: recorded from here
  window.close();
  ASSERT_TRUE(controller->Journal().Writer().Flush(std::chrono::seconds(10)));
  const auto sessions = JournalStore(folder / "Serenitap/journal.sqlite").Sessions();
  ASSERT_EQ(sessions.size(), 1u);
  EXPECT_EQ(sessions[0].firstRating, 8);
  EXPECT_EQ(sessions[0].end, journal::SessionEnd::Exit);
  qunsetenv("XDG_DATA_HOME");
}

}  // namespace
}  // namespace serenitap
