#pragma once
// Writes session records to the journal file on a thread of its own, so the
// window never waits for the disk or for another running copy. Write() only
// queues the record. The file is opened on the first write. A write that fails
// (another copy holding the file too long, a full disk, a read-only folder)
// stays queued and is tried again later, and each kind of trouble is told to
// the user once, with what became of the sessions.
//
// When the journal file is removed or replaced while the program runs, the
// sessions of this run are written again to the journal now at its path (a
// new one when it is gone or is not a journal).
//
// Closing waits at most ExitWait() in all for what is queued; what still
// cannot be written then is kept in "<journal>.pending" beside the journal,
// readable by its owner only, and recorded at the next start.
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "journal/journal_store.h"
#include "journal/session_recorder.h"

namespace serenitap::journal {

class JournalWriter : public IJournalSink {
 public:
  // tell receives the texts for the user, on the writer's thread.
  using Tell = std::function<void(const std::string&)>;
  static constexpr std::chrono::milliseconds kExitWait{2000};

  explicit JournalWriter(std::string path, Tell tell = {}, int busyMs = 1000);
  // Makes a last attempt at what is queued, within ExitWait() in all, then
  // keeps what is left in the pending file and stops.
  ~JournalWriter() override;
  JournalWriter(const JournalWriter&) = delete;
  JournalWriter& operator=(const JournalWriter&) = delete;

  void Write(const SessionRecord& record) override;
  // Waits until the queue is empty or the time is up; true when everything was written.
  bool Flush(std::chrono::milliseconds within);
  // Whether a batch of records is being written at this moment.
  bool Writing();

  // Where sessions wait that could not be written before the program closed.
  static std::string PendingPath(const std::string& journalPath) { return journalPath + ".pending"; }

  // The texts told to the user.
  static std::string SetAsideText(const std::string& journalPath, const std::string& keptAs);
  static std::string TroubleText(JournalTrouble trouble, const std::string& journalPath);
  static std::string PendingRecordedText(const std::string& journalPath);
  static std::string LogSetAsideText(const std::string& journalPath, const std::string& keptAs);

 private:
  struct Waiting {
    SessionRecord record;
    std::uint64_t generation = 0;
  };
  struct Outcome {
    std::vector<std::pair<std::string, std::uint64_t>> written;  // (uid, generation)
    bool moved = false;  // the file was removed or replaced: write this run's sessions again
  };
  void Run();
  Outcome WriteBatch(const std::vector<Waiting>& batch);
  void TellOnce(JournalTrouble trouble);
  // Queues a record unless a newer state of it waits already. Under mutex_.
  void Queue(const SessionRecord& record, bool replace);
  void KeepPending();

  const std::string path_;
  const Tell tell_;
  const int busyMs_;
  std::atomic<std::int64_t> cutOff_;          // no wait for the file goes on past this (steady clock, ns)
  std::unique_ptr<JournalStore> store_;       // the writer thread's only
  std::set<JournalTrouble> told_;             // likewise
  std::map<std::string, SessionRecord> run_;  // likewise: this run's sessions as last written

  std::mutex mutex_;
  std::condition_variable wake_;
  std::condition_variable idle_;
  std::vector<Waiting> waiting_;
  std::uint64_t generation_ = 0;
  bool writing_ = false;
  bool stop_ = false;
  bool pending_ = false;  // records from the pending file wait: remove it once they are written
  std::thread thread_;
};

// The pending file's text and back; lines that cannot be read are left out.
std::string PendingText(const std::vector<SessionRecord>& records);
std::vector<SessionRecord> ParsePending(const std::string& text);

}  // namespace serenitap::journal
