#include "journal/journal_store.h"

#include <thread>

#include <chrono>

#include <sqlite3.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <unordered_map>

#ifndef _WIN32
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace serenitap::journal {
namespace {

namespace fs = std::filesystem;

JournalTrouble TroubleOf(int rc) {
  switch (rc & 0xff) {
    case SQLITE_BUSY:
    case SQLITE_LOCKED: return JournalTrouble::Busy;
    case SQLITE_CORRUPT:
    case SQLITE_NOTADB: return JournalTrouble::NotAJournal;
    default: return JournalTrouble::Unwritable;
  }
}

[[noreturn]] void Fail(sqlite3* db, int rc, const std::string& doing) {
  const char* detail = db != nullptr ? sqlite3_errmsg(db) : sqlite3_errstr(rc);
  throw JournalError(TroubleOf(rc), doing + ": " + detail);
}

void Exec(sqlite3* db, const char* sql) {
  const int rc = sqlite3_exec(db, sql, nullptr, nullptr, nullptr);
  if (rc != SQLITE_OK) Fail(db, rc, sql);
}

class Statement {
 public:
  Statement(sqlite3* db, const char* sql) : db_(db) {
    const int rc = sqlite3_prepare_v2(db, sql, -1, &stmt_, nullptr);
    if (rc != SQLITE_OK) Fail(db, rc, "reading the journal");
  }
  ~Statement() { sqlite3_finalize(stmt_); }
  Statement(const Statement&) = delete;
  Statement& operator=(const Statement&) = delete;

  Statement& Bind(int at, std::int64_t value) {
    sqlite3_bind_int64(stmt_, at, value);
    return *this;
  }
  Statement& Bind(int at, const std::string& text) {
    sqlite3_bind_text(stmt_, at, text.data(), static_cast<int>(text.size()), SQLITE_TRANSIENT);
    return *this;
  }
  Statement& BindNull(int at) {
    sqlite3_bind_null(stmt_, at);
    return *this;
  }
  // True while a row is there.
  bool Step() {
    const int rc = sqlite3_step(stmt_);
    if (rc == SQLITE_ROW) return true;
    if (rc == SQLITE_DONE) return false;
    Fail(db_, rc, "using the journal");
  }
  void Reset() {
    sqlite3_reset(stmt_);
    sqlite3_clear_bindings(stmt_);
  }
  std::int64_t Int(int column) const { return sqlite3_column_int64(stmt_, column); }
  std::string Text(int column) const {
    const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(stmt_, column));
    return text != nullptr ? std::string(text, static_cast<std::size_t>(sqlite3_column_bytes(stmt_, column)))
                           : std::string();
  }
  bool IsNull(int column) const { return sqlite3_column_type(stmt_, column) == SQLITE_NULL; }

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
    sqlite3_exec(db, "ROLLBACK", nullptr, nullptr, nullptr);
    throw;
  }
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

std::string FileStamp() {
  std::string iso = IsoTime(SystemNow());
  std::string stamp;
  for (char c : iso) {
    if (c >= '0' && c <= '9') stamp += c;
    if (c == 'T') stamp += '-';
  }
  return stamp;
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

JournalStore::JournalStore(std::string path, int busyMs) : path_(std::move(path)), busyMs_(busyMs) { Open(); }

JournalStore::~JournalStore() { Close(); }

void JournalStore::Close() {
  if (db_ != nullptr) sqlite3_close_v2(db_);
  db_ = nullptr;
}

void JournalStore::Open() {
  // While another copy creates the file or switches it to write-ahead logging,
  // SQLite can answer "busy" at once instead of waiting; such an answer is
  // retried for as long as the busy wait would have lasted.
  const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(busyMs_);
  for (;;) {
    try {
      OpenOnce();
      return;
    } catch (const JournalError& error) {
      if (error.Trouble() != JournalTrouble::Busy || std::chrono::steady_clock::now() >= until) throw;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
}

void JournalStore::OpenOnce() {
  MakeOwnerOnlyFolder(fs::path(path_).parent_path());
  for (int attempt = 0; attempt < 2; ++attempt) {
    CreateOwnerOnlyFile(path_);
    const int rc = sqlite3_open_v2(path_.c_str(), &db_, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
    if (rc != SQLITE_OK) {
      const std::string doing = "opening " + path_;
      JournalError error(TroubleOf(rc), doing + ": " + sqlite3_errstr(rc));
      Close();
      throw error;
    }
    sqlite3_busy_timeout(db_, busyMs_);
    if (Readable()) break;
    Close();
    if (attempt == 1) throw JournalError(JournalTrouble::NotAJournal, path_ + " cannot be read even when new");
    SetAside();
  }
  try {
    Statement(db_, "PRAGMA journal_mode=WAL").Step();
    Migrate();
  } catch (...) {
    Close();
    throw;
  }
}

bool JournalStore::Readable() {
  try {
    Statement check(db_, "PRAGMA quick_check(1)");
    return check.Step() && check.Text(0) == "ok";
  } catch (const JournalError& error) {
    if (error.Trouble() == JournalTrouble::NotAJournal) return false;
    Close();
    throw;
  }
}

void JournalStore::Migrate() {
  int version = UserVersion(db_);
  if (version == kVersion) return;
  if (version > kVersion) {
    throw JournalError(JournalTrouble::Newer,
                       path_ + " was written by a newer version (" + std::to_string(version) + ")");
  }
  // Another copy may be migrating at the same moment: decide inside the write lock.
  InTransaction(db_, "BEGIN IMMEDIATE", [&] {
    if (UserVersion(db_) == 0) Exec(db_, kLayout1);
  });
}

void JournalStore::SetAside() {
  const std::string stem = path_ + ".unreadable-" + FileStamp();
  std::string target = stem;
  std::error_code error;
  for (int n = 2; fs::exists(target, error); ++n) target = stem + "-" + std::to_string(n);
  fs::rename(path_, target, error);
  if (error) throw JournalError(JournalTrouble::Unwritable, "setting aside " + path_ + ": " + error.message());
  for (const char* companion : {"-wal", "-shm"}) {
    std::error_code ignored;
    if (fs::exists(path_ + companion, ignored)) fs::rename(path_ + companion, target + companion, ignored);
  }
  setAsideAs_ = target;
}

void JournalStore::Save(const SessionRecord& record) {
  InTransaction(db_, "BEGIN IMMEDIATE", [&] {
    Statement upsert(db_,
                     "INSERT INTO sessions (uid, started, issue, issue_name, first_rating, rounds, ended, how_ended) "
                     "VALUES (?, ?, ?, ?, ?, ?, ?, ?) ON CONFLICT(uid) DO UPDATE SET rounds = excluded.rounds, "
                     "ended = excluded.ended, how_ended = excluded.how_ended");
    upsert.Bind(1, record.uid).Bind(2, IsoTime(record.started)).Bind(3, record.issue);
    upsert.Bind(4, modIssues::GetIssueName(record.issue)).Bind(5, record.firstRating).Bind(6, record.rounds);
    if (record.ended) {
      upsert.Bind(7, IsoTime(*record.ended)).Bind(8, std::string(EndText(record.end)));
    } else {
      upsert.BindNull(7).BindNull(8);
    }
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
                   "SELECT id, uid, started, issue, first_rating, rounds, ended, how_ended FROM sessions "
                   "ORDER BY started, id");
    while (rows.Step()) {
      SessionRecord s;
      s.id = rows.Int(0);
      s.uid = rows.Text(1);
      s.started = ParseIsoTime(rows.Text(2)).value_or(0);
      s.issue = static_cast<enmIssue>(rows.Int(3));
      s.firstRating = static_cast<std::int16_t>(rows.Int(4));
      s.rounds = static_cast<std::int32_t>(rows.Int(5));
      if (!rows.IsNull(6)) s.ended = ParseIsoTime(rows.Text(6));
      s.end = EndFromText(rows.Text(7));
      byId.emplace(s.id, sessions.size());
      sessions.push_back(std::move(s));
    }
    Statement ratings(db_, "SELECT session_id, at, rating FROM reassessments ORDER BY session_id, seq");
    while (ratings.Step()) {
      const auto found = byId.find(ratings.Int(0));
      if (found == byId.end()) continue;
      sessions[found->second].reassessments.push_back(
          {ParseIsoTime(ratings.Text(1)).value_or(0), static_cast<std::int16_t>(ratings.Int(2))});
    }
  });
  return sessions;
}

void JournalStore::Delete(const std::vector<std::int64_t>& ids) {
  InTransaction(db_, "BEGIN IMMEDIATE", [&] {
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
  InTransaction(db_, "BEGIN IMMEDIATE", [&] { Exec(db_, "DELETE FROM reassessments; DELETE FROM sessions;"); });
}

}  // namespace serenitap::journal
