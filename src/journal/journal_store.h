#pragma once
// The journal file: an SQLite database in the user's data folder, readable
// by its owner only (also when it, or a file set aside, had wider rights).
// Opening creates the folder and the file when missing, switches the file to
// write-ahead logging (so that two running copies can both write, and readers
// never wait for a writer) and brings an older layout up to date without
// dropping anything.
//
// What is opened is checked first: a database whose tables are not the
// journal's (another program's file) or one that is damaged is renamed aside
// (never changed, never deleted: nothing is checkpointed into it) and a new
// journal started. A write-ahead log ("-wal") found beside the file while no
// other process has it open is applied only when it is the journal's own:
// every transaction the journal writes carries its first page with the
// journal's application id, and a log with a transaction that does not is
// renamed aside, never replayed. (A log of another journal file would pass;
// only this program writes such logs.) A journal marks itself with its own application id. A
// journal written by a newer version of the program (a higher user_version)
// is read but never written, migrated or changed. Something other than a file
// at the path (a folder, a pipe) is left alone and reported.
//
// Before each change the store makes sure its file is still the one at the
// path (the file's identity); when the file was removed or replaced under it,
// the change fails with Moved and the store is to be opened afresh. Such a
// store, when closed, moves what its log holds into the file it had open and
// leaves whatever now stands at the path alone.
//
// One store is one connection, used by one thread at a time. Every write is
// one transaction. Failures are thrown as JournalError.
#include <atomic>
#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

#include "journal/session_record.h"

struct sqlite3;

namespace serenitap::journal {

enum class JournalTrouble {
  Busy,         // another copy held the file for longer than the wait
  DiskFull,     // no room left on the disk
  Unwritable,   // read-only file or folder, no permission, I/O error
  NotAFile,     // a folder, a pipe or another thing that is not a file stands at the path
  NotAJournal,  // the file became unreadable while open
  Newer,        // written by a later version of the program: left alone
  Moved,        // the file was removed or replaced while open
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
  static constexpr int kVersion = 2;
  // PRAGMA application_id of a journal: "STap".
  static constexpr std::int32_t kApplicationId = 0x53546170;

  // busyMs bounds every wait for another copy's lock. cutOff, when given, is
  // a time on the steady clock (nanoseconds) after which no wait goes on,
  // whatever is left of busyMs; another thread may bring it forward.
  explicit JournalStore(std::string path, int busyMs = 2000, const std::atomic<std::int64_t>* cutOff = nullptr);
  ~JournalStore();
  JournalStore(const JournalStore&) = delete;
  JournalStore& operator=(const JournalStore&) = delete;

  const std::string& Path() const { return path_; }
  // Where an unreadable file was moved when this store opened; empty if none was.
  const std::string& SetAsideAs() const { return setAsideAs_; }
  // Where a write-ahead log found beside the file that was not its own was
  // moved (never applied); empty if none was.
  const std::string& LogSetAsideAs() const { return logSetAsideAs_; }
  // Written by a newer version of the program: read only; changes throw Newer.
  bool Newer() const { return newer_; }

  // Inserts the record or, when its uid is already there, brings it up to
  // date (re-assessments already stored are kept). One transaction.
  void Save(const SessionRecord& record);
  // Every session, oldest first, with its re-assessments.
  std::vector<SessionRecord> Sessions();
  void Delete(const std::vector<std::int64_t>& ids);
  void DeleteAll();

  sqlite3* Handle() const { return db_; }

 private:
  enum class Found { Fresh, Journal, Foreign };
  void Open();
  void OpenOnce();
  Found Examine();
  void Migrate();
  void SetAside();
  void RefuseForeignLog();
  // Throws Newer or Moved when the file may not or can no longer be changed.
  void BeforeChange();
  void Close();

  // Whether a wait for another copy's lock that began at start may go on.
  bool MayWait(std::int64_t start) const;
  static int OnBusy(void* self, int count);

  std::string path_;
  int busyMs_;
  const std::atomic<std::int64_t>* cutOff_;
  std::int64_t busySince_ = 0;
  sqlite3* db_ = nullptr;
  std::string setAsideAs_;
  std::string logSetAsideAs_;
  bool newer_ = false;
};

}  // namespace serenitap::journal
