#pragma once
// Writes session records to the journal file on a thread of its own, so the
// window never waits for the disk or for another running copy. Write() only
// queues the record. The file is opened on the first write. A write that fails
// (another copy holding the file too long, a full disk, a read-only folder)
// stays queued and is tried again later, and each kind of trouble is told to
// the user once.
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <functional>
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

  explicit JournalWriter(std::string path, Tell tell = {}, int busyMs = 1000);
  // Makes a last attempt at what is queued (bounded by the busy wait), then stops.
  ~JournalWriter() override;
  JournalWriter(const JournalWriter&) = delete;
  JournalWriter& operator=(const JournalWriter&) = delete;

  void Write(const SessionRecord& record) override;
  // Waits until the queue is empty or the time is up; true when everything was written.
  bool Flush(std::chrono::milliseconds within);

  // The texts told to the user.
  static std::string SetAsideText(const std::string& keptAs);
  static std::string TroubleText(JournalTrouble trouble);

 private:
  struct Waiting {
    SessionRecord record;
    std::uint64_t generation = 0;
  };
  void Run();
  // Writes the batch; returns the (uid, generation) pairs written.
  std::vector<std::pair<std::string, std::uint64_t>> WriteBatch(const std::vector<Waiting>& batch);
  void TellOnce(JournalTrouble trouble);

  const std::string path_;
  const Tell tell_;
  const int busyMs_;
  std::unique_ptr<JournalStore> store_;  // the writer thread's only
  std::set<JournalTrouble> told_;        // likewise

  std::mutex mutex_;
  std::condition_variable wake_;
  std::condition_variable idle_;
  std::vector<Waiting> waiting_;
  std::uint64_t generation_ = 0;
  bool writing_ = false;
  bool stop_ = false;
  std::thread thread_;
};

}  // namespace serenitap::journal
