// The journal: what a session's record holds and when it is written, and the
// SQLite file it goes to (a real file in a temporary folder).
#include <gtest/gtest.h>

#include <sqlite3.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>

#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>

#include "journal/journal_store.h"
#include "journal/journal_writer.h"
#include "journal/session_recorder.h"
#include "journal/set_aside_copies.h"
#include "journal/sqlite_library.h"
#include "support/temp_folder.h"
#include "support/within_deadline.h"

namespace serenitap::journal {
namespace {

using testing::Eventually;
using testing::ReadText;
using testing::TempFolder;
namespace fs = std::filesystem;
constexpr TimeMs kMonday = 1772409600000;                                         // 2026-03-02T00:00:00Z
constexpr fs::perms kOwnerOnly = fs::perms::owner_read | fs::perms::owner_write;  // every file the journal keeps

// A connection of another program to a database file, for what the program
// finds there or for holding its lock.
class OtherProgram {
 public:
  explicit OtherProgram(const std::string& path) { sqlite3_open(path.c_str(), &db_); }
  ~OtherProgram() { sqlite3_close(db_); }
  OtherProgram(const OtherProgram&) = delete;
  OtherProgram& operator=(const OtherProgram&) = delete;
  void Run(const std::string& sql) {
    ASSERT_EQ(sqlite3_exec(db_, sql.c_str(), nullptr, nullptr, nullptr), SQLITE_OK) << sql;
  }
  std::int64_t Number(const std::string& sql) {
    sqlite3_stmt* row = nullptr;
    sqlite3_prepare_v2(db_, sql.c_str(), -1, &row, nullptr);
    const std::int64_t n = sqlite3_step(row) == SQLITE_ROW ? sqlite3_column_int64(row, 0) : -1;
    sqlite3_finalize(row);
    return n;
  }

 private:
  sqlite3* db_ = nullptr;
};

// What a writer tells, safe to read while its thread runs.
struct Told {
  std::mutex mutex;
  std::vector<std::string> texts;
  JournalWriter::Tell Sink() {
    return [this](const std::string& text) {
      std::lock_guard lock(mutex);
      texts.push_back(text);
    };
  }
  std::vector<std::string> All() {
    std::lock_guard lock(mutex);
    return texts;
  }
};

// A clock that moves one minute each time it is read.
Clock MinuteClock() {
  return [t = kMonday]() mutable { return t += 60000; };
}

// Waits for a child process for at most half a minute: whether it ended well.
// One still running then is killed, so a hung child fails the test instead of
// hanging the suite.
bool EndsWell(pid_t child) {
  const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(30);
  int status = 0;
  while (::waitpid(child, &status, WNOHANG) == 0) {
    if (std::chrono::steady_clock::now() > until) {
      ::kill(child, SIGKILL);
      ::waitpid(child, nullptr, 0);
      return false;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

// Writes in a process that ends without closing, so the log stays beside the file.
void KilledWhileWriting(const std::function<void()>& write) {
  if (const pid_t child = fork(); child == 0) {
    write();
    _exit(0);
  } else {
    EXPECT_TRUE(EndsWell(child));
  }
}

SessionRecord Session(const std::string& uid, TimeMs started = kMonday, enmIssue issue = issAnxietyFearPanicPhobia,
                      std::int16_t first = 8) {
  return {0, uid, started, issue, first, {}, 0, {}, SessionEnd::Open, {}};
}

// A journal file in a folder of its own, which the journal makes.
struct JournalFile : ::testing::Test {
  TempFolder folder;
  const std::string path = folder / "Serenitap/journal.sqlite";
};

// A journal holding an earlier session, open in another program too (which
// may lock it).
struct SharedJournal : JournalFile {
  bool saved = (JournalStore(path).Save(Session("earlier")), true);
  OtherProgram other{path};
};

// The rules, move by move, against a sink that keeps every write.
struct RecorderRules : ::testing::Test, IJournalSink {
  std::vector<SessionRecord> written;
  SessionRecorder recorder{*this, MinuteClock()};
  void Write(const SessionRecord& record) override { written.push_back(record); }
  void Move(enmStep from, enmStep to, std::int16_t sud = 7) { recorder.StepChanged({from, to, issDepression, sud}); }
};

TEST_F(RecorderRules, FromTheFirstRatingUntilANewRatingOrTheWindowCloses) {
  Move(stpAssignSUD, stpLeftHand);  // keeping the journal is off
  recorder.SetEnabled(true);
  Move(stpAssignSUD, stpSelectIssue);  // back from the rating step: no rating given
  Move(stpReassessSUD, stpTopHead1);
  EXPECT_TRUE(written.empty());
  Move(stpAssignSUD, stpLeftHand, 8);
  Move(stpReassessSUD, stpTopHead1, 6);  // a second round
  Move(stpReassessSUD, stpRelax, 5);     // back to Relax: no rating
  Move(stpAssignSUD, stpLeftHand, 6);
  Move(stpReassessSUD, stpFinish, 3);
  Move(stpAssignSUD, stpLeftHand, 4);
  recorder.WindowClosing();
  ASSERT_EQ(written.size(), 7u);
  Move(stpAssignSUD, stpLeftHand, 2);
  recorder.SetEnabled(false);  // turned off and on: the rest of that session is not recorded
  recorder.SetEnabled(true);
  recorder.WindowClosing();
  EXPECT_EQ(written.size(), 8u);
  const SessionRecord &first = written[2], &second = written[4], &third = written[6];
  EXPECT_EQ(std::tie(first.firstRating, first.rounds, first.end, second.firstRating, second.end, third.end),
            std::tuple(8, 1, SessionEnd::NewSession, 6, SessionEnd::Finish, SessionEnd::Exit));
  EXPECT_EQ(first.reassessments, (std::vector<Reassessment>{{kMonday + 120000, 6}}));
  EXPECT_EQ(second.reassessments, (std::vector<Reassessment>{{kMonday + 240000, 3}}));
  EXPECT_EQ(first.ended, second.started);
  EXPECT_NE(first.uid, second.uid);
}

// A journal whose pages were overwritten is set aside as it was found, and a
// new one started, telling the user once.
TEST_F(JournalFile, ADamagedJournalIsSetAsideAndANewOneStartedTellingTheUserOnce) {
  JournalStore(path).Save(Session("old"));
  std::fstream(path, std::ios::in | std::ios::out | std::ios::binary).seekp(100)
      << std::string(3900, '\xA5');  // the first page's table directory
  const std::string original = ReadText(path);
  Told told;
  {
    JournalWriter writer(path, told.Sink());
    writer.Write(Session("new"));
    writer.Write(Session("newer"));
    ASSERT_TRUE(writer.Flush(std::chrono::seconds(10)));
  }
  const auto copies = SetAsideCopies(path);  // the file first, then its logs
  ASSERT_EQ(SetAsideJournalCount(copies), 1u);
  EXPECT_EQ(SetAsideJournalCount({"j.unreadable-1", "j.unreadable-1-wal", "j.unreadable-1-shm", "j.unreadable-2"}), 2u);
  EXPECT_EQ(told.All(), std::vector{JournalWriter::SetAsideText(path, copies[0])});
  EXPECT_EQ(ReadText(copies[0]), original);
  EXPECT_EQ(JournalStore(path).Sessions().size(), 2u);
}

// What may stand at the journal's path when it is opened. A file that is not
// a journal is renamed aside exactly as it was found, log included; every
// file the program keeps is its owner's alone.
TEST(JournalStoreFile, WhatIsFoundAtThePathIsCheckedBeforeItIsUsed) {
  // A journal of this program's, then changed by another; another program's database.
  const auto journalThen = [](std::string change) {
    return [change](const std::string& path) {
      JournalStore(path).Save(Session("earlier"));
      OtherProgram(path).Run(change);
    };
  };
  const auto othersDatabase = [](std::string sql) {
    return [sql](const std::string& path) { OtherProgram(path).Run(sql); };
  };
  const std::tuple<const char*, std::function<void(const std::string& path)>, bool> rows[] = {
      {"another program's database",
       othersDatabase("CREATE TABLE notes (text TEXT); INSERT INTO notes VALUES ('mine');"), true},
      {"another program's database with its log",
       [](const std::string& path) {
         KilledWhileWriting([&] {
           (new OtherProgram(path))
               ->Run("PRAGMA journal_mode=WAL; CREATE TABLE notes (text TEXT); INSERT INTO notes VALUES ('mine');");
         });
       },
       true},
      {"a table of the same name with other columns",
       othersDatabase("CREATE TABLE sessions (x); PRAGMA user_version = 1;"), true},
      {"a journal marked as another program's", journalThen("PRAGMA application_id = 1234"), true},
      {"a journal made before the file carried its mark", journalThen("PRAGMA application_id = 0"), false},
      {"a journal of the layout before the words",
       journalThen("ALTER TABLE sessions DROP COLUMN words; PRAGMA user_version = 1;"), false},
      {"a journal of this version without the words", journalThen("ALTER TABLE sessions DROP COLUMN words"), true},
      {"a journal readable by everybody", journalThen(""), false},  // as every row is made
  };
  for (const auto& [name, make, setAside] : rows) {
    SCOPED_TRACE(name);
    TempFolder folder;
    const std::string path = folder / "journal.sqlite";
    make(path);
    for (const char* part : {"", "-wal"}) ::chmod((path + part).c_str(), 0644);
    const std::string original = ReadText(path), originalLog = ReadText(path + "-wal");
    JournalStore store(path);
    SessionRecord fresh = Session("new");
    fresh.words = "mine";
    store.Save(fresh);
    EXPECT_EQ(store.SetAsideAs().empty(), !setAside);
    const auto sessions = store.Sessions();
    ASSERT_EQ(sessions.size(), setAside ? 1u : 2u);
    EXPECT_EQ(sessions.front().words, setAside ? "mine" : "");
    EXPECT_EQ(sessions.back().words, "mine");
    EXPECT_EQ(OtherProgram(path).Number("PRAGMA user_version"), JournalStore::kVersion);
    EXPECT_EQ(fs::status(path).permissions(), kOwnerOnly);
    EXPECT_EQ(OtherProgram(path).Number("PRAGMA application_id"), JournalStore::kApplicationId);
    if (!setAside) continue;
    for (const auto& [part, was] : {std::pair<const char*, std::string>{"", original}, {"-wal", originalLog}}) {
      EXPECT_EQ(ReadText(store.SetAsideAs() + part), was);  // kept as it was, for its owner alone
      EXPECT_TRUE(was.empty() || fs::status(store.SetAsideAs() + part).permissions() == kOwnerOnly) << part;
    }
  }
}

// The user's own words come back exactly as given, from the journal and from
// the file of sessions waiting for it.
TEST_F(JournalFile, OwnWordsAreKeptExactly) {
  SessionRecord session = Session("mine");
  session.words = R"(my "fear", C:\flying \t)"
                  "\tand\nmore\r \U0001F630 \u062E\u0648\u0641";
  session.reassessments = {{kMonday + 60000, 4}, {kMonday + 120000, 0}};
  session.ended = kMonday + 180000;
  JournalStore(path).Save(session);
  EXPECT_EQ(JournalStore(path).Sessions().at(0).words, session.words);
  const std::vector<SessionRecord> waiting{session, Session("next")};  // and every other field, as exported
  EXPECT_EQ(ToCsv(ParsePending(PendingText(waiting))), ToCsv(waiting));
}

// A program killed while writing leaves a log beside its file: the journal's
// own log is applied, another database's is never replayed into it.
TEST(JournalStoreFile, OnlyTheJournalsOwnLogIsAppliedToIt) {
  using LeaveLog = std::function<void(const std::string& path, const fs::path& folder)>;
  const std::tuple<const char*, LeaveLog, std::size_t, bool> rows[] = {
      {"its own, from a copy killed after a session",
       [](const std::string& path, const fs::path&) {
         KilledWhileWriting([&] { (new JournalStore(path))->Save(Session("last")); });
       },
       2, false},
      {"another database's",
       [](const std::string& path, const fs::path& folder) {
         const std::string other = (folder / "other.db").string();
         KilledWhileWriting([&] {
           auto* db = new OtherProgram(other);
           db->Run("PRAGMA journal_mode=WAL; CREATE TABLE notes (text TEXT); INSERT INTO notes VALUES ('x');");
         });
         fs::copy_file(other + "-wal", path + "-wal", fs::copy_options::overwrite_existing);
         fs::copy_file(other + "-shm", path + "-shm", fs::copy_options::overwrite_existing);  // left, held by nobody
       },
       1, true},
  };
  for (const auto& [name, leaveLog, sessions, setAside] : rows) {
    SCOPED_TRACE(name);
    TempFolder folder;
    const std::string path = folder / "journal.sqlite";
    JournalStore(path).Save(Session("earlier"));
    leaveLog(path, folder.Path());
    ASSERT_GT(fs::file_size(path + "-wal"), 32u);
    const std::string log = ReadText(path + "-wal");
    JournalStore store(path);
    EXPECT_EQ(store.Sessions().size(), sessions);
    EXPECT_EQ(store.LogSetAsideAs().empty(), !setAside);
    if (setAside) {
      EXPECT_EQ(ReadText(store.LogSetAsideAs()), log);
    }
  }
}

// A later session may be given a deleted one's number: it gets none of its ratings.
TEST_F(JournalFile, ADeletedSessionLeavesNoRatingsBehind) {
  JournalStore store(path);
  SessionRecord rated = Session("rated");
  rated.reassessments = {{kMonday, 3}, {kMonday + 60000, 2}};
  store.Save(rated);
  EXPECT_EQ(OtherProgram(path).Number("SELECT 10 * min(seq) + max(seq) FROM reassessments"), 12);  // from 1
  store.Delete({store.Sessions().at(0).id});
  store.Save(Session("next"));
  const auto sessions = store.Sessions();
  ASSERT_EQ(sessions.size(), 1u);
  EXPECT_TRUE(sessions[0].reassessments.empty());
  EXPECT_EQ(fs::status(folder / "Serenitap").permissions(), fs::perms::owner_all);
}

// A journal of a newer version is shown as it is, and never changed: this
// run's sessions wait beside it instead.
TEST_F(SharedJournal, ANewerVersionsJournalIsReadButNeverWritten) {
  other.Run("PRAGMA user_version = 99");
  const std::string original = ReadText(path);
  Told told;
  {
    JournalWriter writer(path, told.Sink(), 100);
    writer.Write(Session("this run"));
    EXPECT_FALSE(writer.Flush(std::chrono::milliseconds(300)));
    JournalStore reader(path, 100);
    EXPECT_TRUE(reader.Newer());
    EXPECT_EQ(reader.Sessions().size(), 1u);
    EXPECT_THROW(reader.DeleteAll(), JournalError);
  }
  EXPECT_EQ(ReadText(path), original);
  EXPECT_EQ(told.All(), std::vector<std::string>{JournalWriter::TroubleText(JournalTrouble::Newer, path)});
  const auto kept = ParsePending(ReadText(JournalWriter::PendingPath(path)));
  ASSERT_EQ(kept.size(), 1u);
  EXPECT_EQ(kept[0].uid, "this run");
  EXPECT_EQ(fs::status(JournalWriter::PendingPath(path)).permissions(), kOwnerOnly);
}

// What keeps the journal from being written is told once, in words for
// what it is; nothing blocks, and whatever stands there is left alone.
TEST(JournalStoreFile, WhatKeepsTheJournalFromBeingWrittenIsToldOnceForWhatItIs) {
  const std::tuple<const char*, std::function<void(const fs::path& folder)>, JournalTrouble> rows[] = {
      {"a file where the folder should be", [](const fs::path& f) { std::ofstream(f / "Serenitap") << "x"; },
       JournalTrouble::Unwritable},
      {"a folder at the path", [](const fs::path& f) { fs::create_directories(f / "Serenitap/journal.sqlite"); },
       JournalTrouble::NotAFile},
      {"a pipe at the path",
       [](const fs::path& f) {
         fs::create_directories(f / "Serenitap");
         ::mkfifo((f / "Serenitap/journal.sqlite").c_str(), 0600);
       },
       JournalTrouble::NotAFile},
  };
  for (const auto& [name, make, trouble] : rows) {
    SCOPED_TRACE(name);
    TempFolder folder;
    make(folder.Path());
    const std::string path = folder / "Serenitap/journal.sqlite";
    const auto type = fs::status(path).type();
    Told told;
    {
      JournalWriter writer(path, told.Sink());
      writer.Write(Session("a"));
      EXPECT_FALSE(writer.Flush(std::chrono::milliseconds(300)));
      writer.Write(Session("b"));
      EXPECT_FALSE(writer.Flush(std::chrono::milliseconds(300)));
    }
    EXPECT_EQ(told.All(), std::vector<std::string>{JournalWriter::TroubleText(trouble, path)});
    EXPECT_EQ(fs::status(path).type(), type);
  }
}

// The file removed, or moved and replaced, while the program runs: this
// run's sessions end up in the journal at the path, and the moved file is
// left with what it had.
TEST(JournalStoreFile, AJournalRemovedOrReplacedUnderTheProgramGetsThisRunsSessionsAgain) {
  // sessionsThere: besides this run's two
  using Change = std::function<void(const std::string& path, const std::string& away)>;
  const std::tuple<const char*, Change, std::size_t> rows[] = {
      {"removed", [](const std::string& path, const std::string&) { fs::remove(path); }, 0},
      {"moved away", [](const std::string& path, const std::string& away) { fs::rename(path, away); }, 0},
      // A replacement is made elsewhere and moved in, as a backup is put back.
      {"replaced by another journal",
       [](const std::string& path, const std::string& away) {
         JournalStore(away + ".new").Save(Session("restored"));
         fs::rename(path, away);
         fs::rename(away + ".new", path);
       },
       1},
      {"replaced by another program's database",
       [](const std::string& path, const std::string& away) {
         OtherProgram(away + ".new").Run("CREATE TABLE notes (text TEXT)");
         fs::rename(path, away);
         fs::rename(away + ".new", path);
       },
       0},
  };
  for (const auto& [name, change, sessionsThere] : rows) {
    SCOPED_TRACE(name);
    TempFolder folder;
    const std::string path = folder / "journal.sqlite", away = folder / "moved.sqlite";
    Told told;
    JournalWriter writer(path, told.Sink());
    writer.Write(Session("first"));
    ASSERT_TRUE(writer.Flush(std::chrono::seconds(10)));
    change(path, away);
    writer.Write(Session("second"));
    ASSERT_TRUE(writer.Flush(std::chrono::seconds(10)));
    EXPECT_EQ(JournalStore(path).Sessions().size(), 2 + sessionsThere);
    EXPECT_EQ(told.All().at(0), JournalWriter::TroubleText(JournalTrouble::Moved, path));
    if (fs::exists(away)) {
      const auto left = JournalStore(away).Sessions();
      ASSERT_EQ(left.size(), 1u);
      EXPECT_EQ(left[0].uid, "first");
    }
  }
}

// Sessions waiting for a journal another program keeps locked: closing
// waits a bounded time, then keeps them for the next start beside those another closing copy kept.
TEST_F(SharedJournal, SessionsWaitingAtExitAreKeptAndRecordedAtTheNextStart) {
  other.Run("BEGIN IMMEDIATE");
  const auto start = std::chrono::steady_clock::now();
  {
    JournalWriter writer(path, {}, 10000);
    writer.Write(Session("waiting"));
    std::ofstream(JournalWriter::PendingPath(path)) << PendingText({Session("kept by another copy")});
  }
  EXPECT_LT(std::chrono::steady_clock::now() - start, JournalWriter::kExitWait + std::chrono::seconds(1));
  other.Run("ROLLBACK");
  EXPECT_EQ(fs::status(JournalWriter::PendingPath(path)).permissions(), kOwnerOnly);
  Told told;
  JournalWriter next(path, told.Sink());
  ASSERT_TRUE(next.Flush(std::chrono::seconds(10)));
  EXPECT_EQ(JournalStore(path).Sessions().size(), 3u);
  EXPECT_FALSE(fs::exists(JournalWriter::PendingPath(path)));
  EXPECT_TRUE(Eventually([&] { return told.All() == std::vector{JournalWriter::PendingRecordedText(path)}; }));
}

// The writer's own rules: the latest state of a session is the one kept, and
// a write that failed is tried again by itself.
TEST_F(SharedJournal, TheLatestStateWinsAndAFailedWriteIsRetriedWithoutANewChange) {
  {
    JournalWriter writer(path, {}, 10000);
    SessionRecord record = Session("s");
    other.Run("BEGIN IMMEDIATE");
    writer.Write(record);
    ASSERT_TRUE(Eventually([&] { return writer.Writing(); }));
    record.rounds = 7;  // handed over while the older state is being written
    record.ended = kMonday + 60000;
    record.end = SessionEnd::NewSession;
    writer.Write(record);
    other.Run("ROLLBACK");  // the older state's write goes through
    ASSERT_TRUE(writer.Flush(std::chrono::seconds(10)));
    const SessionRecord stored = JournalStore(path).Sessions().at(1);
    EXPECT_EQ(std::tie(stored.rounds, stored.ended, stored.end),
              std::tuple(7, kMonday + 60000, SessionEnd::NewSession));
  }
  Told told;
  JournalWriter writer(path, told.Sink(), 200);
  other.Run("BEGIN IMMEDIATE");
  writer.Write(Session("t"));
  ASSERT_TRUE(Eventually([&] { return !told.All().empty(); }));  // the first attempt ran out
  other.Run("ROLLBACK");
  ASSERT_TRUE(writer.Flush(std::chrono::seconds(10)));  // no change came: the retry wrote it
  EXPECT_EQ(JournalStore(path).Sessions().size(), 3u);
}

// At most kMostWaiting sessions wait for a locked journal: the oldest gives way, never a newer one.
TEST_F(SharedJournal, TheOldestWaitingSessionGivesWay) {
  other.Run("BEGIN IMMEDIATE");
  auto writer = std::make_unique<JournalWriter>(path, JournalWriter::Tell{}, 50);
  for (int i = 0; i <= 64; ++i) writer->Write(Session(std::to_string(i)));
  writer.reset();  // closing keeps the sessions still waiting
  const auto kept = ParsePending(ReadText(JournalWriter::PendingPath(path)));  // oldest first
  EXPECT_TRUE(kept.size() == 64 && kept.front().uid == "1" && kept.back().uid == "64");
}

TEST_F(JournalFile, TwoCopiesRecordingAtOnceLoseNothing) {
  std::vector<pid_t> copies;
  for (char name : {'a', 'b'}) {
    if (copies.emplace_back(fork()) != 0) continue;
    try {
      JournalStore store(path, 10000);
      for (int i = 0; i < 200; ++i) store.Save(Session(name + std::to_string(i), kMonday + i));
    } catch (...) {
      _exit(1);
    }
    _exit(0);
  }
  for (pid_t copy : copies) EXPECT_TRUE(EndsWell(copy));
  EXPECT_EQ(JournalStore(path).Sessions().size(), 400u);
}

TEST(JournalCsv, HeaderIsoTimesAndQuotedNames) {
  SessionRecord open =
      Session("a", 951782400000, issAnxietyFearPanicPhobia, 9);  // 2000-02-29, an issue with commas in its name
  open.words = "two\nlines";
  SessionRecord done = Session("b", kMonday, issGuilt, 7);
  done.reassessments = {{kMonday + 60000, 4}, {kMonday + 120000, 2}};
  done.rounds = 5;
  done.ended = kMonday + 180000;
  done.end = SessionEnd::NewSession;
  done.words = "l'\u00e9t\u00e9, \"lost\" \U0001F630";
  EXPECT_EQ(ToCsv({open, done}),
            "Started,Issue,First rating,Last rating,Re-assessments,Rounds,Ended,How it ended,Words\r\n"
            "2000-02-29T00:00:00Z,\"Anxiety, fear, panic, phobia\",9,,,0,,,\"two\nlines\"\r\n"
            "2026-03-02T00:00:00Z,Guilt,7,2,2026-03-02T00:01:00Z=4 2026-03-02T00:02:00Z=2,5,2026-03-02T00:03:00Z,"
            "New session,\"l'\u00e9t\u00e9, \"\"lost\"\" \U0001F630\"\r\n");
}

// SQLite is loaded when the journal is first opened: a library that is
// missing, or is not SQLite, is refused with its name and the reason.
TEST(SqliteLibrary, TheSystemsIsLoadedAndAnotherIsRefusedWithItsReason) {
  // name, library, what is said (empty: loaded)
  const std::tuple<const char*, const char*, const char*> rows[] = {
      {"the system's SQLite", kSqliteLibraryName, ""},
      {"missing", "libserenitap-no-such-library.so.0", "libserenitap-no-such-library.so.0 could not be loaded ("},
      {"not SQLite", "libc.so.6", "libc.so.6 has no sqlite3_open_v2"},
  };
  for (const auto& [name, library, said] : rows) {
    SCOPED_TRACE(name);
    std::string error;
    EXPECT_EQ(LoadSqliteLibrary(library, error).has_value(), *said == '\0');
    EXPECT_NE(error.find(said), std::string::npos) << error;
  }
}

}  // namespace
}  // namespace serenitap::journal
