#include "journal/journal_writer.h"

#include <algorithm>

namespace serenitap::journal {
namespace {

// At most this many sessions wait for the file; the oldest gives way.
constexpr std::size_t kMostWaiting = 64;
constexpr auto kFirstRetry = std::chrono::seconds(1);
constexpr auto kLongestRetry = std::chrono::seconds(30);

}  // namespace

JournalWriter::JournalWriter(std::string path, Tell tell, int busyMs)
    : path_(std::move(path)), tell_(std::move(tell)), busyMs_(busyMs) {}

JournalWriter::~JournalWriter() {
  {
    std::lock_guard lock(mutex_);
    stop_ = true;
  }
  wake_.notify_all();
  if (thread_.joinable()) thread_.join();
}

void JournalWriter::Write(const SessionRecord& record) {
  {
    std::lock_guard lock(mutex_);
    auto same =
        std::find_if(waiting_.begin(), waiting_.end(), [&](const Waiting& w) { return w.record.uid == record.uid; });
    if (same != waiting_.end()) {
      same->record = record;
      same->generation = ++generation_;
    } else {
      if (waiting_.size() >= kMostWaiting) waiting_.erase(waiting_.begin());
      waiting_.push_back({record, ++generation_});
    }
    if (!thread_.joinable()) thread_ = std::thread([this] { Run(); });
  }
  wake_.notify_all();
}

bool JournalWriter::Flush(std::chrono::milliseconds within) {
  std::unique_lock lock(mutex_);
  return idle_.wait_for(lock, within, [&] { return waiting_.empty() && !writing_; });
}

void JournalWriter::Run() {
  std::unique_lock lock(mutex_);
  auto retry = std::chrono::duration_cast<std::chrono::milliseconds>(kFirstRetry);
  for (;;) {
    if (waiting_.empty()) {
      if (stop_) return;
      wake_.wait(lock, [&] { return stop_ || !waiting_.empty(); });
      continue;
    }
    const bool stopping = stop_;
    const std::vector<Waiting> batch = waiting_;
    writing_ = true;
    lock.unlock();
    const auto written = WriteBatch(batch);
    lock.lock();
    writing_ = false;
    for (const auto& [uid, generation] : written) {
      std::erase_if(waiting_, [&](const Waiting& w) { return w.record.uid == uid && w.generation == generation; });
    }
    idle_.notify_all();
    if (stopping) return;
    if (written.size() < batch.size()) {
      // Trouble: wait a while (longer each time) unless something new comes.
      const std::uint64_t seen = generation_;
      wake_.wait_for(lock, retry, [&] { return stop_ || generation_ != seen; });
      retry = std::min(retry * 2, std::chrono::duration_cast<std::chrono::milliseconds>(kLongestRetry));
    } else {
      retry = std::chrono::duration_cast<std::chrono::milliseconds>(kFirstRetry);
    }
  }
}

std::vector<std::pair<std::string, std::uint64_t>> JournalWriter::WriteBatch(const std::vector<Waiting>& batch) {
  std::vector<std::pair<std::string, std::uint64_t>> written;
  try {
    if (!store_) {
      store_ = std::make_unique<JournalStore>(path_, busyMs_);
      if (!store_->SetAsideAs().empty() && tell_) tell_(SetAsideText(store_->SetAsideAs()));
    }
    for (const Waiting& w : batch) {
      store_->Save(w.record);
      written.emplace_back(w.record.uid, w.generation);
    }
  } catch (const JournalError& error) {
    // Busy: keep the connection and try again; anything else: open afresh next time.
    if (error.Trouble() != JournalTrouble::Busy) store_.reset();
    TellOnce(error.Trouble());
  } catch (...) {
    store_.reset();
    TellOnce(JournalTrouble::Unwritable);
  }
  return written;
}

void JournalWriter::TellOnce(JournalTrouble trouble) {
  // A file found damaged while open is set aside when it is opened again; that is told then.
  if (trouble == JournalTrouble::NotAJournal || !told_.insert(trouble).second || !tell_) return;
  tell_(TroubleText(trouble));
}

std::string JournalWriter::SetAsideText(const std::string& keptAs) {
  return "The journal could not be read. It was kept as \"" + keptAs + "\" and a new journal was started.";
}

std::string JournalWriter::TroubleText(JournalTrouble trouble) {
  switch (trouble) {
    case JournalTrouble::Busy:
      return "The journal is in use by another program. This session will be recorded when it is free.";
    case JournalTrouble::Newer:
      return "The journal was written by a newer version of Serenitap. Sessions are not being recorded.";
    case JournalTrouble::NotAJournal:
    case JournalTrouble::Unwritable: break;
  }
  return "The journal cannot be written (the disk may be full or its folder read-only). "
         "This session is not being recorded.";
}

}  // namespace serenitap::journal
