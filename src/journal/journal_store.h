#pragma once
// The journal file: an SQLite database in the user's data folder, readable
// by its owner only. Opening creates the folder and the file when missing,
// switches the file to write-ahead logging (so that two running copies can
// both write, and readers never wait for a writer) and brings an older
// layout up to date without dropping anything. A file that is not a journal,
// or is damaged, is renamed aside (never deleted) and a new journal started.
//
// One store is one connection, used by one thread at a time. Every write is
// one transaction. Failures are thrown as JournalError.
#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

#include "journal/session_record.h"

struct sqlite3;

namespace serenitap::journal {

enum class JournalTrouble {
  Busy,         // another copy held the file for longer than the wait
  Unwritable,   // full disk, read-only file or folder, no permission, I/O error
  NotAJournal,  // the file became unreadable while open
  Newer,        // written by a later version of the program: left alone
};

class JournalError : public std::runtime_error {
 public:
  JournalError(JournalTrouble trouble, const std::string& what) : std::runtime_error(what), trouble_(trouble) {}
  JournalTrouble Trouble() const { return trouble_; }

 private:
  JournalTrouble trouble_;
};

// $XDG_DATA_HOME/Serenitap/journal.sqlite, by default under ~/.local/share;
// on Windows under %APPDATA%.
std::string DefaultJournalPath();

class JournalStore {
 public:
  // The layout version kept in PRAGMA user_version.
  static constexpr int kVersion = 1;

  // busyMs bounds every wait for another copy's lock.
  explicit JournalStore(std::string path, int busyMs = 2000);
  ~JournalStore();
  JournalStore(const JournalStore&) = delete;
  JournalStore& operator=(const JournalStore&) = delete;

  const std::string& Path() const { return path_; }
  // Where an unreadable file was moved when this store opened; empty if none was.
  const std::string& SetAsideAs() const { return setAsideAs_; }

  // Inserts the record or, when its uid is already there, brings it up to
  // date (re-assessments already stored are kept). One transaction.
  void Save(const SessionRecord& record);
  // Every session, oldest first, with its re-assessments.
  std::vector<SessionRecord> Sessions();
  void Delete(const std::vector<std::int64_t>& ids);
  void DeleteAll();

  sqlite3* Handle() const { return db_; }

 private:
  void Open();
  void OpenOnce();
  bool Readable();
  void Migrate();
  void SetAside();
  void Close();

  std::string path_;
  int busyMs_;
  sqlite3* db_ = nullptr;
  std::string setAsideAs_;
};

}  // namespace serenitap::journal
