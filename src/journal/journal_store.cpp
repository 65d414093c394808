#include "journal/journal_store.h"

#include <sqlite3.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string_view>
#include <thread>
#include <unordered_map>

#ifndef _WIN32
#include <fcntl.h>
#include <stdio.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

#include "journal/sqlite_library.h"
#include "services/set_aside.h"

namespace serenitap::journal {
namespace {

namespace fs = std::filesystem;

JournalTrouble TroubleOf(int rc) {
  switch (rc & 0xff) {
    case SQLITE_BUSY:
    case SQLITE_LOCKED: return JournalTrouble::Busy;
    case SQLITE_FULL: return JournalTrouble::DiskFull;
    case SQLITE_CORRUPT:
    case SQLITE_NOTADB: return JournalTrouble::NotAJournal;
    default: return JournalTrouble::Unwritable;
  }
}

[[noreturn]] void Fail(sqlite3* db, int rc, const std::string& doing) {
  const char* detail = db != nullptr ? Sqlite().errmsg(db) : Sqlite().errstr(rc);
  throw JournalError(TroubleOf(rc), doing + ": " + detail);
}

void Exec(sqlite3* db, const char* sql) {
  const int rc = Sqlite().exec(db, sql, nullptr, nullptr, nullptr);
  if (rc != SQLITE_OK) Fail(db, rc, sql);
}

class Statement {
 public:
  Statement(sqlite3* db, const char* sql) : db_(db) {
    const int rc = Sqlite().prepare_v2(db, sql, -1, &stmt_, nullptr);
    if (rc != SQLITE_OK) Fail(db, rc, "reading the journal");
  }
  ~Statement() { Sqlite().finalize(stmt_); }
  Statement(const Statement&) = delete;
  Statement& operator=(const Statement&) = delete;

  Statement& Bind(int at, std::int64_t value) {
    Sqlite().bind_int64(stmt_, at, value);
    return *this;
  }
  Statement& Bind(int at, const std::string& text) {
    Sqlite().bind_text(stmt_, at, text.data(), static_cast<int>(text.size()), SQLITE_TRANSIENT);
    return *this;
  }
  Statement& BindNull(int at) {
    Sqlite().bind_null(stmt_, at);
    return *this;
  }
  // True while a row is there.
  bool Step() {
    const int rc = Sqlite().step(stmt_);
    if (rc == SQLITE_ROW) return true;
    if (rc == SQLITE_DONE) return false;
    Fail(db_, rc, "using the journal");
  }
  void Reset() {
    Sqlite().reset(stmt_);
    Sqlite().clear_bindings(stmt_);
  }
  std::int64_t Int(int column) const { return Sqlite().column_int64(stmt_, column); }
  std::string Text(int column) const {
    const auto* text = reinterpret_cast<const char*>(Sqlite().column_text(stmt_, column));
    return text != nullptr ? std::string(text, static_cast<std::size_t>(Sqlite().column_bytes(stmt_, column)))
                           : std::string();
  }
  bool IsNull(int column) const { return Sqlite().column_type(stmt_, column) == SQLITE_NULL; }
  // A rating column, checked: unknown unless a whole number from 0 to 10.
  std::int16_t Rating(int column) const {
    return Sqlite().column_type(stmt_, column) == SQLITE_INTEGER ? RatingRead(Int(column)) : kUnknownRating;
  }

 private:
  sqlite3* db_;
  sqlite3_stmt* stmt_ = nullptr;
};

// Runs body as one transaction: committed when it returns, rolled back when it
// throws. The body's statements are finished before the commit.
template <class Body>
void InTransaction(sqlite3* db, const char* begin, Body&& body) {
  Exec(db, begin);
  try {
    body();
    Exec(db, "COMMIT");
  } catch (...) {
    Sqlite().exec(db, "ROLLBACK", nullptr, nullptr, nullptr);
    throw;
  }
}

// Every change is one of these: the application id is set again in each, so
// that every transaction in the write-ahead log carries the database's first
// page with the journal's mark. That is how a log is known to be the
// journal's own when it is found beside the file (see LogBelongs).
template <class Body>
void InWriteTransaction(sqlite3* db, Body&& body) {
  InTransaction(db, "BEGIN IMMEDIATE", [&] {
    Exec(db, ("PRAGMA application_id = " + std::to_string(JournalStore::kApplicationId)).c_str());
    body();
  });
}

int UserVersion(sqlite3* db) {
  Statement version(db, "PRAGMA user_version");
  return version.Step() ? static_cast<int>(version.Int(0)) : 0;
}

constexpr const char* kLayout1 = R"(
CREATE TABLE IF NOT EXISTS sessions (
  id INTEGER PRIMARY KEY,
  uid TEXT NOT NULL UNIQUE,
  started TEXT NOT NULL,
  issue INTEGER NOT NULL,
  issue_name TEXT NOT NULL,
  first_rating INTEGER NOT NULL,
  rounds INTEGER NOT NULL DEFAULT 0,
  ended TEXT,
  how_ended TEXT
);
CREATE INDEX IF NOT EXISTS sessions_by_start ON sessions(started);
CREATE TABLE IF NOT EXISTS reassessments (
  session_id INTEGER NOT NULL REFERENCES sessions(id),
  seq INTEGER NOT NULL,
  at TEXT NOT NULL,
  rating INTEGER NOT NULL,
  PRIMARY KEY (session_id, seq)
);
PRAGMA user_version = 1;
)";

// The session's own words, empty for the sessions recorded before.
constexpr const char* kLayout2 = R"(
ALTER TABLE sessions ADD COLUMN words TEXT NOT NULL DEFAULT '';
PRAGMA user_version = 2;
)";

// The columns the program reads, by table: a file without them is not a journal.
struct Needed {
  const char* table;
  std::vector<std::string> columns;
};
const Needed kNeeded[] = {
    {"sessions", {"id", "uid", "started", "issue", "issue_name", "first_rating", "rounds", "ended", "how_ended"}},
    {"reassessments", {"session_id", "seq", "at", "rating"}}};
// What each later layout adds to the sessions table, by the version that added it.
struct Added {
  int version;
  const char* column;
};
const Added kAdded[] = {{2, "words"}};

std::int64_t Scalar(sqlite3* db, const char* sql) {
  Statement row(db, sql);
  return row.Step() ? row.Int(0) : 0;
}

// Whether the tables hold the columns a journal of the version has.
bool HasJournalTables(sqlite3* db, int version) {
  for (const Needed& needed : kNeeded) {
    Statement info(db, ("PRAGMA table_info(" + std::string(needed.table) + ")").c_str());
    std::vector<std::string> found;
    while (info.Step()) found.push_back(info.Text(1));
    const auto has = [&](const std::string& column) {
      return std::find(found.begin(), found.end(), column) != found.end();
    };
    if (!std::all_of(needed.columns.begin(), needed.columns.end(), has)) return false;
    if (std::string_view(needed.table) != "sessions") continue;
    for (const Added& added : kAdded) {
      if (version >= added.version && !has(added.column)) return false;
    }
  }
  return true;
}

// Gives a file that is there with rights for others its owner's rights only.
void MakeOwnerOnly(const std::string& file) {
#ifndef _WIN32
  struct stat st {};
  if (::stat(file.c_str(), &st) == 0 && S_ISREG(st.st_mode) && (st.st_mode & 077) != 0) {
    ::chmod(file.c_str(), st.st_mode & 0700);
  }
#else
  (void)file;
#endif
}

// Something that is not a file at the path (a folder, a pipe) is never opened.
void RefuseWhatIsNotAFile(const std::string& path) {
#ifndef _WIN32
  struct stat st {};
  if (::stat(path.c_str(), &st) != 0 || S_ISREG(st.st_mode)) return;
  throw JournalError(
      JournalTrouble::NotAFile,
      "\"" + path + "\" is " + (S_ISDIR(st.st_mode) ? "a folder" : "not a file") + ", and is left alone");
#else
  std::error_code error;
  if (fs::exists(path, error) && !fs::is_regular_file(path, error)) {
    throw JournalError(JournalTrouble::NotAFile, "\"" + path + "\" is not a file, and is left alone");
  }
#endif
}

std::uint32_t BigEndian(const unsigned char* at) {
  return (std::uint32_t{at[0]} << 24) | (std::uint32_t{at[1]} << 16) | (std::uint32_t{at[2]} << 8) | at[3];
}

// Whether another process has the database open now: every connection holds
// a shared lock on the dead-man byte of the index file (byte 128 of "-shm")
// for as long as it is open.
bool OpenElsewhere(const std::string& path) {
#ifndef _WIN32
  const int fd = ::open((path + "-shm").c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK);
  if (fd < 0) return false;
  struct flock probe {};
  probe.l_type = F_WRLCK;
  probe.l_whence = SEEK_SET;
  probe.l_start = 128;
  probe.l_len = 1;
  const bool held = ::fcntl(fd, F_GETLK, &probe) == 0 && probe.l_type != F_UNLCK;
  ::close(fd);
  return held;
#else
  (void)path;
  return true;  // not looked at: the log is left to SQLite
#endif
}

// Whether the write-ahead log beside a journal belongs to it: every
// transaction SQLite would take from it (the frames whose salts and running
// checksums hold, up to the last commit) carries the database's first page
// with the journal's application id, and its pages have the database's size.
// A log whose header does not hold is not read by SQLite at all, and one
// without a complete transaction changes nothing: both are harmless.
bool LogBelongs(const std::string& log, std::uint32_t pageSize) {
  std::ifstream in(log, std::ios::binary);
  std::vector<unsigned char> header(32);
  if (!in.read(reinterpret_cast<char*>(header.data()), 32)) return true;
  const std::uint32_t magic = BigEndian(&header[0]);
  if ((magic & 0xFFFFFFFEu) != 0x377f0682u || BigEndian(&header[4]) != 3007000) return true;
  const bool bigEndianSums = (magic & 1u) != 0;
  std::uint32_t s0 = 0, s1 = 0;
  auto sum = [&](const unsigned char* data, std::size_t size) {
    const auto word = [&](std::size_t at) {
      return bigEndianSums ? BigEndian(data + at)
                           : (std::uint32_t{data[at + 3]} << 24) | (std::uint32_t{data[at + 2]} << 16) |
                                 (std::uint32_t{data[at + 1]} << 8) | data[at];
    };
    for (std::size_t i = 0; i + 8 <= size; i += 8) {
      s0 += word(i) + s1;
      s1 += word(i + 4) + s0;
    }
  };
  sum(header.data(), 24);
  if (s0 != BigEndian(&header[24]) || s1 != BigEndian(&header[28])) return true;
  const std::uint32_t logPageSize = BigEndian(&header[8]);
  if (logPageSize < 512 || logPageSize > 65536 || (logPageSize & (logPageSize - 1)) != 0) return true;
  std::vector<unsigned char> frame(24 + logPageSize);
  bool marked = false;  // the transaction being read carries the journal's first page
  bool foreign = false;
  std::size_t commits = 0;
  while (in.read(reinterpret_cast<char*>(frame.data()), static_cast<std::streamsize>(frame.size()))) {
    if (std::memcmp(&frame[8], &header[16], 8) != 0) break;
    sum(frame.data(), 8);
    sum(frame.data() + 24, logPageSize);
    if (s0 != BigEndian(&frame[16]) || s1 != BigEndian(&frame[20])) break;
    if (BigEndian(&frame[0]) == 1) {
      marked = BigEndian(&frame[24 + 68]) == static_cast<std::uint32_t>(JournalStore::kApplicationId);
      if (!marked) foreign = true;
    }
    if (BigEndian(&frame[4]) != 0) {  // a commit
      ++commits;
      if (!marked) foreign = true;
      marked = false;
    }
  }
  if (commits == 0) return true;
  return !foreign && (pageSize == 0 || logPageSize == pageSize);
}

// Sets file aside (SetFileAside) and makes it its owner's only. The name it got.
std::string MoveAside(const std::string& file) {
  std::error_code error;
  const std::string target = SetFileAside(file, error);
  if (error) throw JournalError(JournalTrouble::Unwritable, "setting aside " + file + ": " + error.message());
  MakeOwnerOnly(target);
  return target;
}

// Whether the file a connection has open is no longer the one at its path.
bool HasMoved(sqlite3* db) {
  int moved = 0;
  return Sqlite().file_control(db, "main", SQLITE_FCNTL_HAS_MOVED, &moved) == SQLITE_OK && moved != 0;
}

void MakeOwnerOnlyFolder(const fs::path& folder) {
  std::error_code error;
  if (fs::is_directory(folder, error)) return;
  fs::create_directories(folder, error);
  if (error) throw JournalError(JournalTrouble::Unwritable, "creating " + folder.string() + ": " + error.message());
  fs::permissions(folder, fs::perms::owner_all, fs::perm_options::replace, error);
}

void CreateOwnerOnlyFile(const std::string& path) {
#ifndef _WIN32
  const int fd = ::open(path.c_str(), O_CREAT | O_EXCL | O_WRONLY | O_CLOEXEC, 0600);
  if (fd >= 0) {
    ::close(fd);
  } else if (errno != EEXIST) {
    throw JournalError(JournalTrouble::Unwritable, "creating " + path + ": " + std::strerror(errno));
  }
#else
  (void)path;
#endif
}

}  // namespace

std::string DefaultJournalPath() {
  fs::path base;
#ifdef _WIN32
  if (const char* appData = std::getenv("APPDATA"); appData != nullptr && *appData != '\0') base = appData;
#else
  if (const char* data = std::getenv("XDG_DATA_HOME"); data != nullptr && *data == '/') {
    base = data;
  } else if (const char* home = std::getenv("HOME"); home != nullptr && *home != '\0') {
    base = fs::path(home) / ".local" / "share";
  }
#endif
  return (base / "Serenitap" / "journal.sqlite").string();
}

namespace {
std::int64_t SteadyNs() {
  return std::chrono::duration_cast<std::chrono::nanoseconds>(std::chrono::steady_clock::now().time_since_epoch())
      .count();
}
}  // namespace

JournalStore::JournalStore(std::string path, int busyMs, const std::atomic<std::int64_t>* cutOff)
    : path_(std::move(path)), busyMs_(busyMs), cutOff_(cutOff) {
  Open();
}

bool JournalStore::MayWait(std::int64_t start) const {
  const std::int64_t now = SteadyNs();
  return now - start < std::int64_t{busyMs_} * 1000000 && (cutOff_ == nullptr || now < cutOff_->load());
}

int JournalStore::OnBusy(void* self, int count) {
  auto* store = static_cast<JournalStore*>(self);
  if (count == 0) store->busySince_ = SteadyNs();
  if (!store->MayWait(store->busySince_)) return 0;
  std::this_thread::sleep_for(std::chrono::milliseconds(count < 4 ? 1 : 5));
  return 1;
}

JournalStore::~JournalStore() { Close(); }

void JournalStore::Close() {
  if (db_ == nullptr) return;
  if (HasMoved(db_)) {
    // The log goes into the file it belongs to (through the open file, not
    // the path), and closing must not move it anywhere or delete the log
    // and index files by their names: those names now belong to whatever
    // stands at the path.
    Sqlite().wal_checkpoint_v2(db_, nullptr, SQLITE_CHECKPOINT_TRUNCATE, nullptr, nullptr);
    Sqlite().db_config(db_, SQLITE_DBCONFIG_NO_CKPT_ON_CLOSE, 1, nullptr);
  }
  Sqlite().close_v2(db_);
  db_ = nullptr;
}

void JournalStore::Open() {
  // While another copy creates the file or switches it to write-ahead logging,
  // SQLite can answer "busy" at once instead of waiting; such an answer is
  // retried for as long as the busy wait would have lasted.
  const std::int64_t start = SteadyNs();
  for (;;) {
    try {
      OpenOnce();
      return;
    } catch (const JournalError& error) {
      if (error.Trouble() != JournalTrouble::Busy || !MayWait(start)) throw;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
}

void JournalStore::RefuseForeignLog() {
  std::error_code error;
  const std::string log = path_ + "-wal";
  if (!fs::is_regular_file(log, error) || fs::file_size(log, error) < 32 || OpenElsewhere(path_)) return;
  std::uint32_t pageSize = 0;  // of the database; 0 when it has none yet
  bool marked = false;         // the database carries the journal's application id
  {
    std::ifstream in(path_, std::ios::binary);
    unsigned char header[72] = {};
    if (in.read(reinterpret_cast<char*>(header), sizeof header)) {
      pageSize = (std::uint32_t{header[16]} << 8) | header[17];
      if (pageSize == 1) pageSize = 65536;
      marked = BigEndian(&header[68]) == static_cast<std::uint32_t>(kApplicationId);
    }
  }
  if (LogBelongs(log, pageSize)) return;
  // Not the journal's log. Beside a file that is not marked as a journal it
  // is that file's own: the two are set aside together, as they were found.
  if (!marked) return SetAside();
  logSetAsideAs_ = MoveAside(log);
  fs::remove(path_ + "-shm", error);  // its index, made from it alone
}

void JournalStore::OpenOnce() {
  MakeOwnerOnlyFolder(fs::path(path_).parent_path());
  RefuseWhatIsNotAFile(path_);
  RefuseForeignLog();
  Found found = Found::Fresh;
  for (int attempt = 0;; ++attempt) {
    CreateOwnerOnlyFile(path_);
    for (const char* suffix : {"", "-wal", "-shm"}) MakeOwnerOnly(path_ + suffix);
    const int rc = Sqlite().open_v2(path_.c_str(), &db_, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
    if (rc != SQLITE_OK) {
      const std::string doing = "opening " + path_;
      JournalError error(TroubleOf(rc), doing + ": " + Sqlite().errstr(rc));
      Close();
      throw error;
    }
    Sqlite().busy_handler(db_, &JournalStore::OnBusy, this);
    // Until the file is known to be a journal, closing must not write its
    // log into it: a file set aside stays as it was found.
    Sqlite().db_config(db_, SQLITE_DBCONFIG_NO_CKPT_ON_CLOSE, 1, nullptr);
    try {
      found = Examine();
    } catch (...) {
      Close();
      throw;
    }
    if (found != Found::Foreign) break;
    Close();
    if (attempt == 1) throw JournalError(JournalTrouble::NotAJournal, path_ + " cannot be read even when new");
    SetAside();
  }
  Sqlite().db_config(db_, SQLITE_DBCONFIG_NO_CKPT_ON_CLOSE, 0, nullptr);
  try {
    if (found == Found::Journal && UserVersion(db_) > kVersion) {
      newer_ = true;  // read as it is: no log mode switched, nothing migrated
      return;
    }
    Statement(db_, "PRAGMA journal_mode=WAL").Step();
    Migrate();
  } catch (...) {
    Close();
    throw;
  }
}

JournalStore::Found JournalStore::Examine() {
  try {
    Statement check(db_, "PRAGMA quick_check(1)");
    if (!check.Step() || check.Text(0) != "ok") return Found::Foreign;
  } catch (const JournalError& error) {
    if (error.Trouble() == JournalTrouble::NotAJournal) return Found::Foreign;
    throw;
  }
  const int version = UserVersion(db_);
  const std::int64_t application = Scalar(db_, "PRAGMA application_id");
  if (application != 0 && application != kApplicationId) return Found::Foreign;
  if (Scalar(db_, "SELECT count(*) FROM sqlite_master") == 0 && version == 0) return Found::Fresh;
  // A journal from before the application id is known by its tables.
  return version >= 1 && HasJournalTables(db_, version) ? Found::Journal : Found::Foreign;
}

void JournalStore::Migrate() {
  if (UserVersion(db_) == kVersion && Scalar(db_, "PRAGMA application_id") == kApplicationId) return;
  // Another copy may be migrating at the same moment: decide inside the write lock.
  InWriteTransaction(db_, [&] {
    if (UserVersion(db_) == 0) Exec(db_, kLayout1);
    if (UserVersion(db_) == 1) Exec(db_, kLayout2);
  });
}

void JournalStore::SetAside() {
  const std::string target = MoveAside(path_);
  for (const char* companion : {"-wal", "-shm"}) {
    std::error_code ignored;
    if (!fs::exists(path_ + companion, ignored)) continue;
    fs::rename(path_ + companion, target + companion, ignored);
    MakeOwnerOnly(target + companion);
  }
  setAsideAs_ = target;
}

void JournalStore::BeforeChange() {
  if (newer_) throw JournalError(JournalTrouble::Newer, path_ + " was written by a newer version of the program");
  if (HasMoved(db_)) throw JournalError(JournalTrouble::Moved, path_ + " was removed or replaced while open");
}

void JournalStore::Save(const SessionRecord& record) {
  BeforeChange();
  InWriteTransaction(db_, [&] {
    Statement upsert(
        db_,
        "INSERT INTO sessions (uid, started, issue, issue_name, first_rating, rounds, ended, how_ended, "
        "words) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?) ON CONFLICT(uid) DO UPDATE SET rounds = excluded.rounds, "
        "ended = excluded.ended, how_ended = excluded.how_ended");
    upsert.Bind(1, record.uid).Bind(2, IsoTime(record.started)).Bind(3, IssueNumber(record.issue));
    upsert.Bind(4, modIssues::GetIssueName(record.issue)).Bind(5, record.firstRating).Bind(6, record.rounds);
    if (record.ended) {
      upsert.Bind(7, IsoTime(*record.ended)).Bind(8, std::string(EndText(record.end)));
    } else {
      upsert.BindNull(7).BindNull(8);
    }
    upsert.Bind(9, record.words);
    upsert.Step();
    std::int64_t sessionId = 0;
    {
      Statement id(db_, "SELECT id FROM sessions WHERE uid = ?");
      id.Bind(1, record.uid);
      if (!id.Step()) throw JournalError(JournalTrouble::NotAJournal, "a saved session is missing");
      sessionId = id.Int(0);
    }
    Statement rating(db_, "INSERT OR IGNORE INTO reassessments (session_id, seq, at, rating) VALUES (?, ?, ?, ?)");
    for (std::size_t i = 0; i < record.reassessments.size(); ++i) {
      rating.Reset();
      rating.Bind(1, sessionId).Bind(2, static_cast<std::int64_t>(i + 1));
      rating.Bind(3, IsoTime(record.reassessments[i].at)).Bind(4, record.reassessments[i].rating);
      rating.Step();
    }
  });
}

std::vector<SessionRecord> JournalStore::Sessions() {
  std::vector<SessionRecord> sessions;
  std::unordered_map<std::int64_t, std::size_t> byId;
  InTransaction(db_, "BEGIN", [&] {
    Statement rows(db_,
                   "SELECT id, uid, started, issue, first_rating, rounds, ended, how_ended, words FROM sessions "
                   "ORDER BY started, id");
    while (rows.Step()) {
      SessionRecord s;
      s.id = rows.Int(0);
      s.uid = rows.Text(1);
      s.started = ParseIsoTime(rows.Text(2)).value_or(kUnknownTime);
      s.issue = StoredIssue(rows.Int(3));
      s.firstRating = rows.Rating(4);
      s.rounds = static_cast<std::int32_t>(rows.Int(5));
      if (!rows.IsNull(6)) s.ended = ParseIsoTime(rows.Text(6));
      s.end = EndFromText(rows.Text(7));
      s.words = rows.Text(8);
      byId.emplace(s.id, sessions.size());
      sessions.push_back(std::move(s));
    }
    Statement ratings(db_, "SELECT session_id, at, rating FROM reassessments ORDER BY session_id, seq");
    while (ratings.Step()) {
      const auto found = byId.find(ratings.Int(0));
      if (found == byId.end()) continue;
      sessions[found->second].reassessments.push_back(
          {ParseIsoTime(ratings.Text(1)).value_or(kUnknownTime), ratings.Rating(2)});
    }
  });
  return sessions;
}

void JournalStore::Delete(const std::vector<std::int64_t>& ids) {
  BeforeChange();
  InWriteTransaction(db_, [&] {
    Statement ratings(db_, "DELETE FROM reassessments WHERE session_id = ?");
    Statement session(db_, "DELETE FROM sessions WHERE id = ?");
    for (std::int64_t id : ids) {
      ratings.Reset();
      ratings.Bind(1, id).Step();
      session.Reset();
      session.Bind(1, id).Step();
    }
  });
}

void JournalStore::DeleteAll() {
  BeforeChange();
  InWriteTransaction(db_, [&] { Exec(db_, "DELETE FROM reassessments; DELETE FROM sessions;"); });
}

}  // namespace serenitap::journal
