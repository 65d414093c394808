// The journal: what a session's record holds and when it is written, and the
// SQLite file it goes to (a real file in a temporary folder).
#include <gtest/gtest.h>

#include <signal.h>
#include <sqlite3.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <fstream>

#include "journal/journal_store.h"
#include "journal/journal_writer.h"
#include "journal/session_recorder.h"
#include "support/temp_folder.h"
#include "session/engine.h"
#include "session/fake_view.h"

namespace serenitap::journal {
namespace {

using testing::TempFolder;
constexpr TimeMs kMonday = 1772409600000;  // 2026-03-02T00:00:00Z

// A clock that moves one minute each time it is read.
Clock MinuteClock() {
  return [t = kMonday]() mutable { return t += 60000; };
}

SessionRecord Session(const std::string& uid, TimeMs started = kMonday, enmIssue issue = 20, std::int16_t first = 8) {
  SessionRecord s;
  s.uid = uid;
  s.started = started;
  s.issue = issue;
  s.firstRating = first;
  return s;
}

std::string Contents(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), {}};
}

// The real session engine, walked as a user walks it, recorded to a real file.
TEST(JournalRecording, ScriptedSessionEndsUpInTheFileOnlyItsOwnerMayRead) {
  TempFolder folder;
  const std::string path = folder / "data/Serenitap/journal.sqlite";
  testing::FakeSessionView view;
  SessionEngine engine(view);
  JournalWriter writer(path);
  SessionRecorder recorder(writer, MinuteClock());
  recorder.SetEnabled(true);
  engine.SetObserver(&recorder);
  engine.Form_Load_Prepare();
  engine.Form_Load_Session();
  engine.Form_Activate();
  const std::pair<int, int> walk[] = {{2, 11}, {1, 9}, {5, 6}, {2, 2}};  // Next presses, then a choice
  for (const auto& [presses, choice] : walk) {
    for (int i = 0; i < presses; ++i) engine.cmdNavig_Click(1);
    if (choice == 11) engine.radMode_Click(choice);  // Guilt
    if (choice != 11) engine.radSUD_Click(static_cast<std::int16_t>(choice));
  }
  engine.cmdFinish_Click();
  ASSERT_TRUE(writer.Flush(std::chrono::seconds(10)));

  const auto sessions = JournalStore(path).Sessions();
  ASSERT_EQ(sessions.size(), 1u);
  const SessionRecord& s = sessions[0];
  EXPECT_EQ(s.started, kMonday + 60000);
  EXPECT_EQ(s.issue, 110);
  EXPECT_EQ(s.firstRating, 9);
  EXPECT_EQ(s.reassessments, (std::vector<Reassessment>{{kMonday + 120000, 6}, {kMonday + 180000, 2}}));
  EXPECT_EQ(s.rounds, 3);
  EXPECT_EQ(s.ended, kMonday + 240000);
  EXPECT_EQ(s.end, SessionEnd::Finish);
  struct stat file {}, dir {};
  ASSERT_EQ(stat(path.c_str(), &file), 0);
  ASSERT_EQ(stat((folder / "data/Serenitap").c_str(), &dir), 0);
  EXPECT_EQ(file.st_mode & 0777, 0600u);
  EXPECT_EQ(dir.st_mode & 0777, 0700u);
}

// The rules, move by move, against a sink that keeps every write.
struct RecorderRules : ::testing::Test, IJournalSink {
  std::vector<SessionRecord> written;
  SessionRecorder recorder{*this, MinuteClock()};
  void Write(const SessionRecord& record) override { written.push_back(record); }
  void Move(enmStep from, enmStep to, std::int16_t sud = 7) { recorder.StepChanged({from, to, 30, sud}); }
  void Rate(std::int16_t sud = 7) { Move(stpAssignSUD, stpLeftHand, sud); }
};

TEST_F(RecorderRules, NothingIsWrittenWhileOffOrBeforeTheFirstRating) {
  Rate();
  recorder.WindowClosing();
  recorder.SetEnabled(true);
  Move(stpAssignSUD, stpSelectIssue);  // back from the rating step: no rating given
  Move(stpReassessSUD, stpFinish);
  Move(stpReassessSUD, stpTopHead1);
  EXPECT_TRUE(written.empty());
}

TEST_F(RecorderRules, ReassessmentsCountOnlyWhenLeavingForward) {
  recorder.SetEnabled(true);
  Rate(9);
  Move(stpLeftHand, stpTopHead1);
  Move(stpReassessSUD, stpRelax, 5);  // back to Relax: no rating
  Move(stpRelax, stpTopHead1);
  Move(stpReassessSUD, stpTopHead1, 4);
  Move(stpReassessSUD, stpFinish, 1);
  const SessionRecord& last = written.back();
  EXPECT_EQ(last.rounds, 3);
  EXPECT_EQ(last.reassessments.size(), 2u);
  EXPECT_EQ(last.LastRating(), 1);
  EXPECT_EQ(last.end, SessionEnd::Finish);
}

TEST_F(RecorderRules, ANewRatingEndsTheOpenSessionAndClosingEndsWithExit) {
  recorder.SetEnabled(true);
  Rate(8);
  Rate(6);
  recorder.WindowClosing();
  ASSERT_EQ(written.size(), 4u);
  EXPECT_EQ(written[1].end, SessionEnd::NewSession);
  EXPECT_EQ(written[1].ended, written[2].started);
  EXPECT_NE(written[1].uid, written[3].uid);
  EXPECT_EQ(written[3].firstRating, 6);
  EXPECT_EQ(written[3].end, SessionEnd::Exit);
}

TEST(JournalStoreFile, MigratesAVersionZeroFileKeepingWhatItHolds) {
  TempFolder folder;
  const std::string path = folder / "journal.sqlite";
  sqlite3* db = nullptr;
  sqlite3_open(path.c_str(), &db);
  sqlite3_exec(db, "CREATE TABLE notes (text TEXT); INSERT INTO notes VALUES ('kept')", nullptr, nullptr, nullptr);
  JournalStore(path).Save(Session("a"));
  sqlite3_stmt* stmt = nullptr;
  sqlite3_prepare_v2(db, "SELECT (SELECT count(*) FROM notes) || ' ' || user_version FROM pragma_user_version", -1,
                     &stmt, nullptr);
  ASSERT_EQ(sqlite3_step(stmt), SQLITE_ROW);
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(sqlite3_column_text(stmt, 0))), "1 1");
  sqlite3_finalize(stmt);
  sqlite3_close(db);
}

// What is already in the file stands for a journal that cannot be read.
TEST(JournalStoreFile, AnUnreadableFileIsSetAsideAndANewJournalStartedTellingTheUserOnce) {
  for (const std::string damage : {"not a database at all\n", ""}) {
    TempFolder folder;
    const std::string path = folder / "journal.sqlite";
    if (damage.empty()) {
      JournalStore(path).Save(Session("old"));
      std::fstream(path, std::ios::in | std::ios::out | std::ios::binary).seekp(100)
          << std::string(3900, '\xA5');  // the first page's table directory
    } else {
      std::ofstream(path, std::ios::binary) << damage;
    }
    const std::string original = Contents(path);
    std::vector<std::string> told;
    {
      JournalWriter writer(path, [&](const std::string& text) { told.push_back(text); });
      writer.Write(Session("new"));
      writer.Write(Session("newer"));
      ASSERT_TRUE(writer.Flush(std::chrono::seconds(10)));
    }
    ASSERT_EQ(told.size(), 1u);
    const std::size_t quote = told[0].find('"');
    EXPECT_EQ(Contents(told[0].substr(quote + 1, told[0].find('"', quote + 1) - quote - 1)), original);
    EXPECT_EQ(JournalStore(path).Sessions().size(), 2u);
  }
}

TEST(JournalStoreFile, AFolderThatCannotBeMadeIsToldOnceAndNothingBlocks) {
  TempFolder folder;
  std::ofstream(folder / "Serenitap") << "a file where the folder should be";
  std::vector<std::string> told;
  JournalWriter writer(folder / "Serenitap/journal.sqlite", [&](const std::string& text) { told.push_back(text); });
  writer.Write(Session("a"));
  EXPECT_FALSE(writer.Flush(std::chrono::milliseconds(300)));
  writer.Write(Session("b"));
  EXPECT_FALSE(writer.Flush(std::chrono::milliseconds(300)));
  EXPECT_EQ(told, std::vector<std::string>{JournalWriter::TroubleText(JournalTrouble::Unwritable)});
}

// Runs body in a child process; its exit code.
pid_t Child(const std::function<int()>& body) {
  const pid_t pid = fork();
  if (pid == 0) _exit(body());
  return pid;
}

int ExitCode(pid_t pid) {
  int status = 0;
  waitpid(pid, &status, 0);
  return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

TEST(JournalProcesses, TwoCopiesRecordingAtOnceLoseNothing) {
  TempFolder folder;
  const std::string path = folder / "journal.sqlite";
  auto copy = [&](char name) {
    return Child([&, name] {
      JournalStore store(path, 10000);
      for (int i = 0; i < 200; ++i) store.Save(Session(name + std::to_string(i), kMonday + i));
      return 0;
    });
  };
  const pid_t a = copy('a'), b = copy('b');
  EXPECT_EQ(ExitCode(a), 0);
  EXPECT_EQ(ExitCode(b), 0);
  EXPECT_EQ(JournalStore(path).Sessions().size(), 400u);
}

TEST(JournalProcesses, AWriterKilledInTheMiddleOfATransactionLeavesAReadableJournal) {
  TempFolder folder;
  const std::string path = folder / "journal.sqlite";
  int ready[2];
  ASSERT_EQ(pipe(ready), 0);
  const pid_t writer = Child([&] {
    JournalStore store(path);
    for (int i = 0; i < 20; ++i) store.Save(Session("s" + std::to_string(i)));
    // A large write that spills into the log before it commits.
    sqlite3_exec(store.Handle(),
                 "PRAGMA cache_size = 2; BEGIN IMMEDIATE; WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 "
                 "FROM n WHERE i < 5000) INSERT INTO sessions (uid, started, issue, issue_name, first_rating) "
                 "SELECT 'x' || i, '2026-03-02T00:00:00Z', 20, randomblob(200), 5 FROM n;",
                 nullptr, nullptr, nullptr);
    (void)!write(ready[1], "!", 1);
    pause();
    return 0;
  });
  char byte = 0;
  ASSERT_EQ(read(ready[0], &byte, 1), 1);
  kill(writer, SIGKILL);
  EXPECT_EQ(ExitCode(writer), 128 + SIGKILL);
  JournalStore store(path);
  EXPECT_TRUE(store.SetAsideAs().empty());
  store.Save(Session("after"));
  EXPECT_EQ(store.Sessions().size(), 21u);
}

TEST(JournalCsv, HeaderIsoTimesAndQuotedNames) {
  SessionRecord open = Session("a", 951782400000, 20, 9);  // 2000-02-29, an issue with commas in its name
  SessionRecord done = Session("b", kMonday, 110, 7);
  done.reassessments = {{kMonday + 60000, 4}, {kMonday + 120000, 2}};
  done.rounds = 5;
  done.ended = kMonday + 180000;
  done.end = SessionEnd::NewSession;
  EXPECT_EQ(ToCsv({open, done}),
            "Started,Issue,First rating,Last rating,Re-assessments,Rounds,Ended,How it ended\r\n"
            "2000-02-29T00:00:00Z,\"Anxiety, fear, panic, phobia\",9,9,,0,,\r\n"
            "2026-03-02T00:00:00Z,Guilt,7,2,2026-03-02T00:01:00Z=4 2026-03-02T00:02:00Z=2,5,2026-03-02T00:03:00Z,"
            "New session\r\n");
}

}  // namespace
}  // namespace serenitap::journal
