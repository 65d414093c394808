// The journal from the window: the menu choice, a session walked through the
// real main window, and the "My Progress" window built offscreen with data.
#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QTableView>
#include <QtCharts/QChart>
#include <QtCharts/QLineSeries>
#include <algorithm>
#include <fstream>
#include <gtest/gtest.h>

#include "journal/journal_store.h"
#include "support/temp_folder.h"
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
using journal::SessionRecord;
constexpr journal::TimeMs kDay = 86400000;
constexpr journal::TimeMs kMarch = 1772323200000;  // 2026-03-01T00:00:00Z

struct ProgressWindow : ::testing::Test {
  testing::TempFolder folder;
  testing::TempStore settings;
  testing::MessageBoxRecorder boxes;
  std::string path = folder / "Serenitap/journal.sqlite";

  void SetUp() override {
    JournalStore store(path);
    const std::pair<enmIssue, std::array<std::int16_t, 3>> sessions[] = {
        {20, {9, 6, 3}}, {110, {7, 5, 5}}, {20, {6, 2, 1}}};
    journal::TimeMs day = kMarch;
    for (const auto& [issue, ratings] : sessions) {
      SessionRecord s;
      s.uid = std::to_string(day);
      s.started = day += kDay;
      s.issue = issue;
      s.firstRating = ratings[0];
      s.reassessments = {{day + 60000, ratings[1]}, {day + 120000, ratings[2]}};
      store.Save(s);
    }
  }
};

TEST_F(ProgressWindow, ChartsAndTablesEachSessionFilteredByIssue) {
  frmProgress window(path);
  window.show();
  ASSERT_EQ(window.Table()->model()->rowCount(), 3);
  const auto series = window.Chart()->series();
  ASSERT_EQ(series.size(), 2);
  auto ys = [](QAbstractSeries* s) {
    QList<qreal> y;
    for (const QPointF& p : static_cast<QLineSeries*>(s)->points()) y.append(p.y());
    return y;
  };
  EXPECT_EQ(ys(series[0]), (QList<qreal>{9, 7, 6}));  // before tapping
  EXPECT_EQ(ys(series[1]), (QList<qreal>{3, 5, 1}));  // after
  window.FilterIssue(20);
  EXPECT_EQ(window.Table()->model()->rowCount(), 2);
  EXPECT_EQ(ys(window.Chart()->series()[1]), (QList<qreal>{3, 1}));

  ASSERT_TRUE(window.ExportCsv(QString::fromStdString(folder / "out.csv")));
  std::ifstream csv(folder / "out.csv");
  const std::string text((std::istreambuf_iterator<char>(csv)), {});
  EXPECT_EQ(text.rfind("Started,Issue,", 0), 0u);
  EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 3);  // the header and two sessions
  EXPECT_FALSE(window.ExportCsv(QString::fromStdString(folder / "no/such/folder/out.csv")));
  EXPECT_EQ(boxes.requests.size(), 1u);
}

TEST_F(ProgressWindow, DeletesOnlyAfterYes) {
  frmProgress window(path);
  window.Table()->selectRow(0);
  boxes.answers = {MsgAnswer::No, MsgAnswer::Yes};
  EXPECT_FALSE(window.DeleteSelected());
  EXPECT_TRUE(window.DeleteSelected());
  EXPECT_EQ(JournalStore(path).Sessions().size(), 2u);
  EXPECT_EQ(window.Shown().front().firstRating, 7);
  boxes.answers = {MsgAnswer::No, MsgAnswer::Yes};
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
  QApplication::processEvents();
  auto* keep = window.PopupMenu().findChild<QAction*>(QStringLiteral("mnuPopUpJournal"));
  ASSERT_NE(keep, nullptr);
  EXPECT_FALSE(keep->isChecked());
  keep->trigger();
  EXPECT_TRUE(modOptions::KeepJournal());
  SessionEngine& engine = controller->Engine();
  for (int i = 0; i < 3; ++i) engine.cmdNavig_Click(1);
  engine.radSUD_Click(8);
  engine.cmdNavig_Click(1);  // rated: recorded from here
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
