// The journal from the window: the menu choice, a session recorded through
// the real main window, and the "My Progress" window built offscreen with data.
#include <gtest/gtest.h>

#include <QAbstractItemModelTester>
#include <QAccessible>
#include <QComboBox>
#include <QLabel>
#include <QLibrary>
#include <QLineEdit>
#include <QMenu>
#include <QTableView>
#include <QTest>
#include <QtCharts>
#include <filesystem>
#include <fstream>

#include "journal/journal_store.h"
#include "journal/journal_writer.h"
#include "journal/set_aside_copies.h"
#include "services/notice.h"
#include "settings/options.h"
#include "support/recorders.h"
#include "support/temp_store.h"
#include "support/widget_steps.h"
#include "ui/journal/journal_keeper.h"
#include "ui/journal/progress_chart.h"
#include "ui/journal/progress_dialog.h"
#include "ui/main/main_controller.h"
#include "ui/main/main_window.h"

namespace serenitap {
namespace {

using journal::JournalStore;
namespace fs = std::filesystem;

constexpr journal::TimeMs kDay = 86400000;
constexpr journal::TimeMs kMonday = 1772438400000;  // 2026-03-02T08:00:00Z

constexpr const char* kGuiltWords = "for what I said, \"that\" day \U0001F622";

// Four sessions on four days: the issue, the first rating, the re-assessments.
// The newest was never re-assessed.
struct ProgressWindow : ::testing::Test {
  testing::TempFolder folder;
  testing::MessageBoxRecorder boxes;
  std::vector<std::string> notices;
  NoticeSink previousNotices = SetNoticeSink([this](const std::string& text) { notices.push_back(text); });
  std::string path = folder / "Serenitap/journal.sqlite";
  void SetUp() override {
    JournalStore store(path);
    const std::pair<enmIssue, std::vector<std::int16_t>> sessions[] = {{issAnxietyFearPanicPhobia, {9, 6, 3}},
                                                                       {issGuilt, {7, 5, 5}},
                                                                       {issAnxietyFearPanicPhobia, {6, 2, 1}},
                                                                       {issAnxietyFearPanicPhobia, {8}}};
    journal::TimeMs day = kMonday;
    for (const auto& [issue, ratings] : sessions) {
      journal::SessionRecord s{0, std::to_string(day), day, issue, ratings[0], {}, 2, {}, {}, {}};
      if (issue == issGuilt) s.words = kGuiltWords;
      for (std::size_t i = 1; i < ratings.size(); ++i)
        s.reassessments.push_back({day + 6000 * static_cast<journal::TimeMs>(i), ratings[i]});
      store.Save(s);
      day += kDay;
    }
  }
  void TearDown() override { SetNoticeSink(previousNotices); }
  static QString Cell(frmProgress& window, int row, int column, int role = Qt::DisplayRole) {
    return window.Table()->model()->index(row, column).data(role).toString();
  }
  static bool Enabled(frmProgress& window, const char* button) { return testing::Button(window, button)->isEnabled(); }
};

// Newest first, and the issue list chooses which show. (The summary and the
// chart of them are in the window's snapshots.)
TEST_F(ProgressWindow, NewestFirstAndTheIssueListChoosesWhichShow) {
  frmProgress window(path, true);
  QAbstractItemModelTester sound(window.Table()->model(), QAbstractItemModelTester::FailureReportingMode::Fatal);
  QStringList ratings;  // the first and the last rating, newest first, as a screen reader reads the last
  for (int row = 0; row < 4; ++row)
    ratings << Cell(window, row, 2) + " " + Cell(window, row, 3, Qt::AccessibleTextRole);
  EXPECT_EQ(ratings, (QStringList{"8 not re-assessed", "6 1", "7 5", "9 3"}));
  QTest::keyClick(testing::Child<QComboBox>(window, "cboIssue"), Qt::Key_Down);  // the first issue of the list
  EXPECT_EQ(window.Table()->model()->rowCount(), 3);
  EXPECT_TRUE(boxes.requests.empty());
}

// Export offers the Documents folder, or the home folder where there is none.
TEST_F(ProgressWindow, ExportsTheShownSessionsForItsOwnerOnlyAndSaysWhere) {
  const QByteArray home = qgetenv("HOME");
  qputenv("HOME", QByteArray::fromStdString(folder.Path().string()));
  EXPECT_EQ(frmProgress::ExportFolder().toStdString(), folder.Path().string());
  fs::create_directory(folder / "Documents");
  EXPECT_EQ(frmProgress::ExportFolder().toStdString(), folder / "Documents");
  qputenv("HOME", home);
  frmProgress window(path, true);
  window.FilterIssue(issGuilt);
  const std::string out = folder / "out.csv";
  std::ofstream(out) << "old";
  fs::permissions(out, fs::perms(0644));
  EXPECT_EQ(Cell(window, 0, 6), QString::fromUtf8(kGuiltWords));
  ASSERT_TRUE(window.ExportCsv(QString::fromStdString(out)));
  const std::string csv = testing::ReadText(out);
  EXPECT_EQ(csv, journal::ToCsv(window.Shown()));
  EXPECT_EQ(fs::status(out).permissions() & fs::perms::all, fs::perms(0600));
  const std::string told = "The journal was exported to \"" + out + "\".";
  EXPECT_EQ(notices, std::vector<std::string>{told});
  EXPECT_EQ(testing::Child<QLabel>(window, "lblStatus")->text().toStdString(), told);
  EXPECT_TRUE(boxes.requests.empty());
  EXPECT_FALSE(window.ExportCsv(QString::fromStdString(folder / "no/such/folder/out.csv")));
  EXPECT_EQ(boxes.requests.size(), 1u);
  // The issue's only session deleted: every issue is shown again.
  window.Table()->selectRow(0);
  boxes.answers = {MsgAnswer::Yes};
  ASSERT_TRUE(window.DeleteSelected());
  EXPECT_EQ(window.Table()->model()->rowCount(), 3);
}

TEST_F(ProgressWindow, DeleteQuestionsNameWhatGoesAndKeepItUnlessYes) {
  const std::string copy = path + ".unreadable-20260301-120000";
  for (const std::string& file : {copy, copy + "-wal", copy + "-shm"}) std::ofstream(file) << "x";
  frmProgress window(path, true);
  window.Table()->selectRow(0);  // (without a selection it is off, as the window's snapshots show)
  EXPECT_TRUE(Enabled(window, "cmdDelete"));
  EXPECT_FALSE(window.DeleteSelected());  // closed without an answer: No
  boxes.answers = {MsgAnswer::Yes};
  EXPECT_TRUE(window.DeleteSelected());
  const QString newest =
      QDateTime::fromMSecsSinceEpoch(kMonday + 3 * kDay).toString(QStringLiteral("d MMM yyyy, HH:mm"));
  const std::string deleteOne =
      "Delete the session of " + newest.toStdString() + " (Anxiety, fear, panic, phobia, 8, not re-assessed)?";
  EXPECT_EQ(boxes.Texts(), (std::vector<std::string>{deleteOne, deleteOne}));
  std::vector<std::int16_t> left;
  for (const journal::SessionRecord& s : JournalStore(path).Sessions()) left.push_back(s.firstRating);
  EXPECT_EQ(left, (std::vector<std::int16_t>{9, 7, 6}));  // the newest, selected, went
  window.Table()->selectAll();
  EXPECT_FALSE(window.DeleteSelected());
  EXPECT_EQ(boxes.Texts().back(), "Delete the 3 selected sessions? This cannot be undone.");

  EXPECT_FALSE(window.DeleteAll());
  EXPECT_TRUE(fs::exists(copy));
  boxes.answers = {MsgAnswer::Yes};
  // While the question is open, one copy becomes a folder with a file in it: that one cannot be deleted.
  const MessageBoxSink recorder = SetMessageBoxSink([&](const MessageBoxRequest& request) {
    if (fs::is_regular_file(copy + "-shm") && fs::remove(copy + "-shm")) fs::create_directories(copy + "-shm/in");
    return recorder(request);
  });
  EXPECT_TRUE(window.DeleteAll());
  EXPECT_EQ(boxes.Texts().back(), "These set-aside copies of the journal could not be deleted: " + copy + "-shm.");
  boxes.requests.pop_back();
  EXPECT_EQ(boxes.Texts().back(),
            "Delete all 3 sessions? The 1 unreadable copy of the journal set aside earlier will be deleted too. This "
            "cannot be undone.");
  for (const MessageBoxRequest& question : boxes.requests) EXPECT_EQ(question.defaultButton, MsgAnswer::No);
  EXPECT_TRUE(JournalStore(path).Sessions().empty());
  EXPECT_FALSE(fs::exists(copy) || fs::exists(copy + "-wal"));
  EXPECT_EQ(window.Table()->model()->rowCount(), 0);
  for (const char* button : {"cmdExport", "cmdDelete", "cmdDeleteAll"}) EXPECT_FALSE(Enabled(window, button)) << button;
  // Empty, it says to turn on the journal only while it is off.
  EXPECT_EQ(testing::Child<QLabel>(frmProgress(path, false), "lblSummary")->text(),
            QStringLiteral("No sessions recorded yet. Turn on \"Keep a Journal\" in the menu."));
}

TEST_F(ProgressWindow, AnUnreadableJournalFoundHereIsSetAsideAndTold) {
  for (const char* beside : {"-wal", "-shm"}) fs::remove(path + beside);
  std::ofstream(path, std::ios::trunc) << std::string(4096, 'x');
  frmProgress window(path, true);
  const auto copies = journal::SetAsideCopies(path);
  ASSERT_EQ(copies.size(), 1u);
  EXPECT_EQ(notices, std::vector<std::string>{journal::JournalWriter::SetAsideText(path, copies[0])});
  EXPECT_EQ(window.Table()->model()->rowCount(), 0);
  EXPECT_TRUE(ProgressWindow::Enabled(window, "cmdDeleteAll"));  // the copy set aside
}

// From the keyboard: the label names the issue list, and Tab goes from it to the
// table that carries the data, not into the chart, which takes no keys, and on.
TEST_F(ProgressWindow, TabGoesFromTheIssueListToTheTable) {
  frmProgress window(path, true);
  auto* issueList = testing::Child<QComboBox>(window, "cboIssue");
  const auto labelledBy = QAccessible::queryAccessibleInterface(issueList)->relations(QAccessible::Label);
  ASSERT_EQ(labelledBy.size(), 1);
  EXPECT_EQ(labelledBy.front().first->text(QAccessible::Name), QStringLiteral("Issue:"));
  window.show();
  issueList->setFocus();
  QTest::keyClick(issueList, Qt::Key_Tab);
  EXPECT_EQ(window.focusWidget(), window.Table());
  QTest::keyClick(window.Table(), Qt::Key_Tab);  // and on to the buttons: Tab does not walk the cells
  EXPECT_EQ(window.focusWidget(), testing::Button(window, "cmdExport"));
}

// The program loads its chart from a module when My Progress first opens. The
// module as built draws a plan; where it cannot be loaded, the window says why
// in the chart's place and the table still holds every session.
TEST_F(ProgressWindow, TheChartComesFromItsModuleOrItsPlaceSaysWhyNot) {
  QLibrary module(QStringLiteral(SERENITAP_CHART_MODULE));
  const auto entry = reinterpret_cast<ProgressChartEntry>(module.resolve(kProgressChartEntry));
  ASSERT_NE(entry, nullptr) << module.errorString().toStdString();
  QWidget owner;
  auto* view = qobject_cast<QChartView*>(entry()->createView(&owner));
  ASSERT_NE(view, nullptr);
  journal::ChartPlan plan;  // how each plan looks is in the window's snapshots
  plan.kind = journal::ChartKind::Trend;
  plan.beforeTrend = {{1, 7, 6, 8}};  // a lone median shows as a point, two or more as a line
  plan.afterTrend = {{1, 7, 6, 8}, {2, 5, 4, 6}};
  entry()->draw(view, plan, QStringLiteral("weekly"));
  ASSERT_EQ(view->chart()->series().size(), 4);
  const auto pointsShown = [&](int i) { return static_cast<QXYSeries*>(view->chart()->series()[i])->pointsVisible(); };
  EXPECT_TRUE(pointsShown(1) && !pointsShown(3));

  UseProgressChart(nullptr);  // as the program, which finds no module beside this test
  frmProgress window(path, true);
  UseProgressChart(LinkedProgressChart());
  auto* note = qobject_cast<QLabel*>(window.ChartView());
  ASSERT_NE(note, nullptr);
  EXPECT_TRUE(
      note->text().startsWith(QStringLiteral("The chart cannot be drawn (serenitap_chart.so was found neither")) &&
      note->text().endsWith(QStringLiteral("). The table below holds every session.")))
      << note->text().toStdString();
  EXPECT_EQ(window.Table()->model()->rowCount(), 4);
}

// The closing page: the step's own text, then the session in a line of its own,
// whether or not the journal is kept.
// The real main window with its own settings and data folders.
struct JournalFromTheWindow : ::testing::Test {
  testing::TempFolder folder;
  testing::TempStore settings;
  bool dataHome = qputenv("XDG_DATA_HOME", QByteArray::fromStdString(folder.Path().string()));
  frmMain window;
  MainWindowController* controller = new MainWindowController(window);
  JournalFromTheWindow() {
    controller->Form_Load();
    window.show();
  }
  ~JournalFromTheWindow() override { qunsetenv("XDG_DATA_HOME"); }
};

TEST_F(JournalFromTheWindow, TheClosingPageSumsUpTheSessionJournalKeptOrNot) {
  auto& engine = controller->Engine();
  auto closingPage = [&] { return testing::Child<QLabel>(window, "lblIntro")->text(); };
  for (int i = 0; i < 2; ++i) engine.cmdNavig_Click(1);
  engine.radMode_Click(11);  // Guilt
  engine.cmdNavig_Click(1);
  engine.radSUD_Click(9);
  for (int i = 0; i < 5; ++i) engine.cmdNavig_Click(1);  // to the re-assessment
  engine.radSUD_Click(6);
  engine.cmdFinish_Click();
  const QString reassessed = closingPage();
  EXPECT_TRUE(reassessed.endsWith(QStringLiteral("\n\nGuilt: 9 → 6 in less than a minute")))
      << reassessed.toStdString();
  engine.cmdNavig_Click(1);  // a new session from the introduction
  EXPECT_NE(closingPage(), reassessed);
  for (int i = 0; i < 3; ++i) engine.cmdNavig_Click(1);
  engine.radSUD_Click(4);
  engine.cmdNavig_Click(1);
  engine.cmdFinish_Click();
  const QString notReassessed = closingPage();
  EXPECT_TRUE(notReassessed.endsWith(QStringLiteral("\n\nGuilt: 4, not re-assessed, less than a minute")))
      << notReassessed.toStdString();
  // The step's own text stays as it is above the line.
  EXPECT_EQ(reassessed.left(reassessed.lastIndexOf(QStringLiteral("\n\n"))),
            notReassessed.left(notReassessed.lastIndexOf(QStringLiteral("\n\n"))));
  EXPECT_FALSE(fs::exists(folder / "Serenitap/journal.sqlite"));  // not kept
  window.close();
}

TEST_F(JournalFromTheWindow, TheMenuChoiceIsStoredAndASessionIsRecordedUntilExit) {
  testing::Child<QAction>(window.PopupMenu(), "mnuPopUpJournal")->trigger();
  EXPECT_TRUE(modOptions::KeepJournal());
  for (int i = 0; i < 2; ++i) controller->Engine().cmdNavig_Click(1);
  QTest::keyClicks(&window.WordsField(), QStringLiteral("of \"storms\", at night"));
  controller->Engine().cmdNavig_Click(1);  // the words are the session's from here
  controller->Engine().radSUD_Click(8);
  controller->Engine().cmdNavig_Click(1);  // rated: recorded from here
  window.close();
  ASSERT_TRUE(controller->Journal().Writer().Flush(std::chrono::seconds(10)));
  const auto sessions = JournalStore(folder / "Serenitap/journal.sqlite").Sessions();
  ASSERT_EQ(sessions.size(), 1u);
  EXPECT_EQ(sessions[0].firstRating, 8);
  EXPECT_EQ(sessions[0].end, journal::SessionEnd::Exit);
  EXPECT_EQ(sessions[0].words, "of \"storms\", at night");
}

}  // namespace
}  // namespace serenitap
