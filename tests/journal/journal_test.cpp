// The journal: what a session's record holds and when it is written, and the
// SQLite file it goes to (a real file in a temporary folder).
#include <gtest/gtest.h>

#include <cstdio>
#include <signal.h>
#include <sqlite3.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <fstream>
#include <sstream>

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

struct RecordingSink : IJournalSink {
  std::vector<SessionRecord> written;
  void Write(const SessionRecord& record) override { written.push_back(record); }
};

// A clock that moves one minute each time it is read.
Clock MinuteClock() {
  return [t = kMonday]() mutable { return t += 60000; };
}

// The first column of the first row, from a connection of its own.
int Scalar(const std::string& path, const char* sql) {
  sqlite3* db = nullptr;
  sqlite3_open(path.c_str(), &db);
  sqlite3_stmt* stmt = nullptr;
  sqlite3_prepare_v2(db, sql, -1, &stmt, nullptr);
  const int version = sqlite3_step(stmt) == SQLITE_ROW ? sqlite3_column_int(stmt, 0) : -1;
  sqlite3_finalize(stmt);
  sqlite3_close(db);
  return version;
}

SessionRecord Session(const std::string& uid, TimeMs started, enmIssue issue = 20, std::int16_t first = 8) {
  SessionRecord s;
  s.uid = uid;
  s.started = started;
  s.issue = issue;
  s.firstRating = first;
  return s;
}

// The real session engine, walked as a user walks it, recorded to a real file.
TEST(JournalRecording, ScriptedSessionEndsUpInTheFile) {
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
  auto next = [&](int times) {
    for (int i = 0; i < times; ++i) engine.cmdNavig_Click(1);
  };
  next(2);                   // intro, thymus, issue choice
  engine.radMode_Click(11);  // Guilt
  next(1);
  engine.radSUD_Click(9);
  next(2);  // rated: the session starts; karate chop, round 1
  next(2);  // relax, then a positive round
  next(1);  // re-assessment
  engine.radSUD_Click(6);
  next(2);  // another round, re-assessment
  engine.radSUD_Click(2);
  engine.cmdFinish_Click();
  ASSERT_TRUE(writer.Flush(std::chrono::seconds(10)));

  JournalStore store(path);
  const auto sessions = store.Sessions();
  ASSERT_EQ(sessions.size(), 1u);
  const SessionRecord& s = sessions[0];
  EXPECT_EQ(s.started, kMonday + 60000);
  EXPECT_EQ(s.issue, 110);
  EXPECT_EQ(s.firstRating, 9);
  EXPECT_EQ(s.reassessments, (std::vector<Reassessment>{{kMonday + 120000, 6}, {kMonday + 180000, 2}}));
  EXPECT_EQ(s.rounds, 3);
  EXPECT_EQ(s.ended, kMonday + 240000);
  EXPECT_EQ(s.end, SessionEnd::Finish);
  // Only its owner may read it.
  struct stat file {}, dir {};
  ASSERT_EQ(stat(path.c_str(), &file), 0);
  ASSERT_EQ(stat((folder / "data/Serenitap").c_str(), &dir), 0);
  EXPECT_EQ(file.st_mode & 0777, 0600u);
  EXPECT_EQ(dir.st_mode & 0777, 0700u);
}

// The rules, move by move, against a sink that keeps every write.
struct RecorderRules : ::testing::Test {
  RecordingSink sink;
  SessionRecorder recorder{sink, MinuteClock()};
  void Move(enmStep from, enmStep to, std::int16_t sud = 7) { recorder.StepChanged({from, to, 30, sud}); }
  void Rate(std::int16_t sud = 7) { Move(stpAssignSUD, stpLeftHand, sud); }
};

TEST_F(RecorderRules, NothingIsWrittenWhileOffOrBeforeTheFirstRating) {
  Rate();
  Move(stpRelax, stpTopHead1);
  recorder.WindowClosing();
  recorder.SetEnabled(true);
  Move(stpAssignSUD, stpSelectIssue);  // back from the rating step: no rating given
  Move(stpAssignSUD, stpFinish);
  Move(stpReassessSUD, stpTopHead1);
  EXPECT_TRUE(sink.written.empty());
}

TEST_F(RecorderRules, ReassessmentsCountOnlyWhenLeavingForward) {
  recorder.SetEnabled(true);
  Rate(9);
  Move(stpLeftHand, stpTopHead1);
  Move(stpReassessSUD, stpRelax, 5);  // back to Relax: no rating
  Move(stpRelax, stpTopHead1);
  Move(stpReassessSUD, stpTopHead1, 4);
  Move(stpReassessSUD, stpFinish, 1);
  ASSERT_FALSE(sink.written.empty());
  const SessionRecord& last = sink.written.back();
  EXPECT_EQ(last.rounds, 3);
  ASSERT_EQ(last.reassessments.size(), 2u);
  EXPECT_EQ(last.LastRating(), 1);
  EXPECT_EQ(last.end, SessionEnd::Finish);
}

TEST_F(RecorderRules, ANewRatingEndsTheOpenSessionAndClosingEndsWithExit) {
  recorder.SetEnabled(true);
  Rate(8);
  Rate(6);
  recorder.WindowClosing();
  ASSERT_EQ(sink.written.size(), 4u);
  EXPECT_EQ(sink.written[1].end, SessionEnd::NewSession);
  EXPECT_EQ(sink.written[1].ended, sink.written[2].started);
  EXPECT_NE(sink.written[1].uid, sink.written[3].uid);
  EXPECT_EQ(sink.written[3].firstRating, 6);
  EXPECT_EQ(sink.written[3].end, SessionEnd::Exit);
}

TEST(JournalStoreFile, MigratesAVersionZeroFileKeepingWhatItHolds) {
  TempFolder folder;
  const std::string path = folder / "journal.sqlite";
  Scalar(path, "CREATE TABLE notes (text TEXT)");
  Scalar(path, "INSERT INTO notes VALUES ('kept')");
  ASSERT_EQ(Scalar(path, "PRAGMA user_version"), 0);
  {
    JournalStore store(path);
    store.Save(Session("a", kMonday));
  }
  EXPECT_EQ(Scalar(path, "PRAGMA user_version"), JournalStore::kVersion);
  EXPECT_EQ(Scalar(path, "SELECT count(*) FROM notes WHERE text = 'kept'"), 1);
}

// What is already in the file stands for a journal that cannot be read.
class UnreadableFile : public ::testing::TestWithParam<const char*> {};

TEST_P(UnreadableFile, IsSetAsideAndANewJournalStartedTellingTheUserOnce) {
  TempFolder folder;
  const std::string path = folder / "journal.sqlite";
  std::string original = GetParam();
  if (original == "damaged") {
    JournalStore(path).Save(Session("old", kMonday));
    std::fstream f(path, std::ios::in | std::ios::out | std::ios::binary);
    f.seekp(100);
    f << std::string(3900, '\xA5');  // the first page's table directory
    f.close();
    std::ifstream in(path, std::ios::binary);
    original.assign(std::istreambuf_iterator<char>(in), {});
  } else {
    std::ofstream(path, std::ios::binary) << original;
  }
  std::vector<std::string> told;
  {
    JournalWriter writer(path, [&](const std::string& text) { told.push_back(text); });
    writer.Write(Session("new", kMonday));
    writer.Write(Session("newer", kMonday));
    ASSERT_TRUE(writer.Flush(std::chrono::seconds(10)));
  }
  ASSERT_EQ(told.size(), 1u);
  const std::size_t quote = told[0].find('"');
  const std::string aside = told[0].substr(quote + 1, told[0].find('"', quote + 1) - quote - 1);
  std::ifstream kept(aside, std::ios::binary);
  EXPECT_EQ(std::string(std::istreambuf_iterator<char>(kept), {}), original);
  EXPECT_EQ(JournalStore(path).Sessions().size(), 2u);
}

INSTANTIATE_TEST_SUITE_P(Journal, UnreadableFile, ::testing::Values("not a database at all\n", "damaged"));

TEST(JournalWriterTrouble, AFolderThatCannotBeMadeIsToldOnceAndNothingBlocks) {
  TempFolder folder;
  std::ofstream(folder / "Serenitap") << "a file where the folder should be";
  std::vector<std::string> told;
  JournalWriter writer(folder / "Serenitap/journal.sqlite", [&](const std::string& text) { told.push_back(text); });
  writer.Write(Session("a", kMonday));
  EXPECT_FALSE(writer.Flush(std::chrono::milliseconds(300)));
  writer.Write(Session("b", kMonday));
  EXPECT_FALSE(writer.Flush(std::chrono::milliseconds(300)));
  EXPECT_EQ(told, std::vector<std::string>{JournalWriter::TroubleText(JournalTrouble::Unwritable)});
}

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
      try {
        JournalStore store(path, 10000);
        for (int i = 0; i < 200; ++i) store.Save(Session(std::string(1, name) + std::to_string(i), kMonday + i));
        return 0;
      } catch (const std::exception& error) {
        std::fprintf(stderr, "copy %c: %s\n", name, error.what());
        return 1;
      }
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
    for (int i = 0; i < 20; ++i) store.Save(Session("s" + std::to_string(i), kMonday));
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
  EXPECT_EQ(store.Sessions().size(), 20u);
  store.Save(Session("after", kMonday));
  EXPECT_EQ(store.Sessions().size(), 21u);
}

// Splits CSV text into rows of fields (quotes, doubled quotes, CR LF).
std::vector<std::vector<std::string>> ReadCsv(const std::string& text) {
  std::vector<std::vector<std::string>> rows(1, std::vector<std::string>(1));
  bool quoted = false;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (quoted && c == '"' && i + 1 < text.size() && text[i + 1] == '"') {
      rows.back().back() += '"';
      ++i;
    } else if (c == '"') {
      quoted = !quoted;
    } else if (!quoted && c == ',') {
      rows.back().emplace_back();
    } else if (!quoted && c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') {
      rows.emplace_back(1);
      ++i;
    } else {
      rows.back().back() += c;
    }
  }
  if (rows.back().size() == 1 && rows.back()[0].empty()) rows.pop_back();
  return rows;
}

TEST(JournalCsv, ReadsBackWithHeaderIsoTimesAndQuotedNames) {
  SessionRecord open = Session("a", 951782400000, 20, 9);  // 2000-02-29, an issue with commas in its name
  SessionRecord done = Session("b", kMonday, 110, 7);
  done.reassessments = {{kMonday + 60000, 4}, {kMonday + 120000, 2}};
  done.rounds = 5;
  done.ended = kMonday + 180000;
  done.end = SessionEnd::NewSession;
  const auto rows = ReadCsv(ToCsv({open, done}));
  ASSERT_EQ(rows.size(), 3u);
  EXPECT_EQ(rows[0].size(), 8u);
  EXPECT_EQ(rows[1], (std::vector<std::string>{"2000-02-29T00:00:00Z", "Anxiety, fear, panic, phobia", "9", "9",
                                               "", "0", "", ""}));
  EXPECT_EQ(rows[2], (std::vector<std::string>{"2026-03-02T00:00:00Z", "Guilt", "7", "2",
                                               "2026-03-02T00:01:00Z=4 2026-03-02T00:02:00Z=2", "5",
                                               "2026-03-02T00:03:00Z", "New session"}));
}

}  // namespace
}  // namespace serenitap::journal
