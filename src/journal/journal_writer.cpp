#include "journal/journal_writer.h"

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>

#ifndef _WIN32
#include <fcntl.h>
#include <unistd.h>
#endif

namespace serenitap::journal {
namespace {

namespace fs = std::filesystem;

// At most this many sessions wait for the file; the oldest gives way.
constexpr std::size_t kMostWaiting = 64;
constexpr auto kFirstRetry = std::chrono::seconds(1);
constexpr auto kLongestRetry = std::chrono::seconds(30);
constexpr std::string_view kPendingHeader = "Serenitap sessions waiting for the journal 1";
constexpr std::uintmax_t kLargestPending = 1u << 20;

std::int64_t SteadyNs() {
  return std::chrono::duration_cast<std::chrono::nanoseconds>(std::chrono::steady_clock::now().time_since_epoch())
      .count();
}

std::string ReadSmallFile(const std::string& path) {
  std::error_code error;
  if (!fs::is_regular_file(path, error) || fs::file_size(path, error) > kLargestPending) return {};
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), {}};
}

// Replaces file with text in one step, readable by its owner only; false
// when it could not be done (the old file is then as it was).
bool ReplaceFile(const std::string& file, const std::string& text) {
#ifndef _WIN32
  std::string temp = file + ".XXXXXX";
  const int fd = ::mkstemp(temp.data());
  if (fd < 0) return false;
  std::size_t done = 0;
  bool ok = true;
  while (ok && done < text.size()) {
    const ssize_t n = ::write(fd, text.data() + done, text.size() - done);
    if (n < 0 && errno == EINTR) continue;
    ok = n > 0;
    if (ok) done += static_cast<std::size_t>(n);
  }
  ok = ok && ::fsync(fd) == 0;
  ::close(fd);
  ok = ok && ::rename(temp.c_str(), file.c_str()) == 0;
  if (!ok) ::unlink(temp.c_str());
  return ok;
#else
  const std::string temp = file + ".new";
  {
    std::ofstream out(temp, std::ios::binary | std::ios::trunc);
    out << text;
    if (!out.flush()) return false;
  }
  std::error_code error;
  fs::rename(temp, file, error);
  return !error;
#endif
}

bool ReadNumber(std::string_view text, std::int64_t* value) {
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), *value);
  return error == std::errc() && end == text.data() + text.size() && !text.empty();
}

std::vector<std::string_view> Split(std::string_view text, char separator) {
  std::vector<std::string_view> parts;
  for (;;) {
    const std::size_t at = text.find(separator);
    parts.push_back(text.substr(0, at));
    if (at == std::string_view::npos) return parts;
    text.remove_prefix(at + 1);
  }
}

// The words on a line of their own: backslashes, tabs and line ends escaped.
std::string EscapedWords(std::string_view words) {
  std::string out;
  for (char c : words) {
    switch (c) {
      case '\\': out += "\\\\"; break;
      case '\t': out += "\\t"; break;
      case '\n': out += "\\n"; break;
      case '\r': out += "\\r"; break;
      default: out += c;
    }
  }
  return out;
}

std::optional<std::string> UnescapedWords(std::string_view text) {
  std::string out;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '\\') {
      out += text[i];
      continue;
    }
    if (++i == text.size()) return std::nullopt;
    switch (text[i]) {
      case '\\': out += '\\'; break;
      case 't': out += '\t'; break;
      case 'n': out += '\n'; break;
      case 'r': out += '\r'; break;
      default: return std::nullopt;
    }
  }
  return out;
}

// A line holds eight fields, and a ninth with the words when there are any.
std::optional<SessionRecord> ParsePendingLine(std::string_view line) {
  const auto fields = Split(line, '\t');
  if ((fields.size() != 8 && fields.size() != 9) || fields[0].empty()) return std::nullopt;
  SessionRecord r;
  r.uid = std::string(fields[0]);
  std::int64_t issue = 0, first = 0, rounds = 0, ended = 0;
  if (!ReadNumber(fields[1], &r.started) || !ReadNumber(fields[2], &issue) || !ReadNumber(fields[3], &first) ||
      !ReadNumber(fields[4], &rounds) || (!fields[5].empty() && !ReadNumber(fields[5], &ended))) {
    return std::nullopt;
  }
  r.issue = StoredIssue(issue);
  r.firstRating = static_cast<std::int16_t>(first);
  r.rounds = static_cast<std::int32_t>(rounds);
  if (!fields[5].empty()) r.ended = ended;
  r.end = EndFromText(fields[6]);
  if (fields.size() == 9) {
    auto words = UnescapedWords(fields[8]);
    if (!words) return std::nullopt;
    r.words = std::move(*words);
  }
  if (!fields[7].empty()) {
    for (std::string_view pair : Split(fields[7], ',')) {
      const auto parts = Split(pair, '=');
      std::int64_t at = 0, rating = 0;
      if (parts.size() != 2 || !ReadNumber(parts[0], &at) || !ReadNumber(parts[1], &rating)) return std::nullopt;
      r.reassessments.push_back({at, static_cast<std::int16_t>(rating)});
    }
  }
  return r;
}

}  // namespace

std::string PendingText(const std::vector<SessionRecord>& records) {
  std::string text(kPendingHeader);
  text += '\n';
  for (const SessionRecord& r : records) {
    text += r.uid + '\t' + std::to_string(r.started) + '\t' + std::to_string(IssueNumber(r.issue)) + '\t' +
            std::to_string(r.firstRating) + '\t' + std::to_string(r.rounds) + '\t' +
            (r.ended ? std::to_string(*r.ended) : std::string()) + '\t' + std::string(EndText(r.end)) + '\t';
    for (std::size_t i = 0; i < r.reassessments.size(); ++i) {
      if (i > 0) text += ',';
      text += std::to_string(r.reassessments[i].at) + '=' + std::to_string(r.reassessments[i].rating);
    }
    if (!r.words.empty()) text += '\t' + EscapedWords(r.words);
    text += '\n';
  }
  return text;
}

std::vector<SessionRecord> ParsePending(const std::string& text) {
  std::vector<SessionRecord> records;
  const auto lines = Split(text, '\n');
  if (lines.empty() || lines[0] != kPendingHeader) return records;
  for (std::size_t i = 1; i < lines.size(); ++i) {
    if (auto record = ParsePendingLine(lines[i])) records.push_back(std::move(*record));
  }
  return records;
}

JournalWriter::JournalWriter(std::string path, Tell tell, int busyMs)
    : path_(std::move(path)), tell_(std::move(tell)), busyMs_(busyMs), cutOff_(INT64_MAX) {
  // Sessions kept when the program last closed are recorded first. Only a
  // look at the folder when there are none (at every start: without the file
  // system library, whose code, 64 KiB, would be loaded for this alone).
#ifndef _WIN32
  if (::access(PendingPath(path_).c_str(), F_OK) != 0) return;
#else
  std::error_code error;
  if (!fs::exists(PendingPath(path_), error)) return;
#endif
  std::lock_guard lock(mutex_);
  for (const SessionRecord& record : ParsePending(ReadSmallFile(PendingPath(path_)))) Queue(record, false);
  pending_ = true;
  thread_ = std::thread([this] { Run(); });
}

JournalWriter::~JournalWriter() {
  {
    std::lock_guard lock(mutex_);
    stop_ = true;
    cutOff_ = SteadyNs() + std::chrono::nanoseconds(kExitWait).count();
  }
  wake_.notify_all();
  if (thread_.joinable()) thread_.join();
  KeepPending();
}

void JournalWriter::Queue(const SessionRecord& record, bool replace) {
  auto same =
      std::find_if(waiting_.begin(), waiting_.end(), [&](const Waiting& w) { return w.record.uid == record.uid; });
  if (same != waiting_.end()) {
    if (!replace) return;
    same->record = record;
    same->generation = ++generation_;
    return;
  }
  if (waiting_.size() >= kMostWaiting) waiting_.erase(waiting_.begin());
  waiting_.push_back({record, ++generation_});
}

void JournalWriter::Write(const SessionRecord& record) {
  {
    std::lock_guard lock(mutex_);
    Queue(record, true);
    if (!thread_.joinable()) thread_ = std::thread([this] { Run(); });
  }
  wake_.notify_all();
}

bool JournalWriter::Flush(std::chrono::milliseconds within) {
  std::unique_lock lock(mutex_);
  return idle_.wait_for(lock, within, [&] { return waiting_.empty() && !writing_; });
}

bool JournalWriter::Writing() {
  std::lock_guard lock(mutex_);
  return writing_;
}

void JournalWriter::Run() {
  std::unique_lock lock(mutex_);
  auto retry = std::chrono::duration_cast<std::chrono::milliseconds>(kFirstRetry);
  for (;;) {
    if (waiting_.empty()) {
      if (pending_) {
        pending_ = false;
        std::error_code ignored;
        fs::remove(PendingPath(path_), ignored);
        if (tell_) tell_(PendingRecordedText(path_));
      }
      if (stop_) return;
      wake_.wait(lock, [&] { return stop_ || !waiting_.empty(); });
      continue;
    }
    const bool stopping = stop_;
    const std::vector<Waiting> batch = waiting_;
    writing_ = true;
    lock.unlock();
    const Outcome outcome = WriteBatch(batch);
    lock.lock();
    writing_ = false;
    for (const auto& [uid, generation] : outcome.written) {
      std::erase_if(waiting_, [&](const Waiting& w) { return w.record.uid == uid && w.generation == generation; });
    }
    if (outcome.moved) {
      for (const auto& [uid, record] : run_) Queue(record, false);
    }
    idle_.notify_all();
    if (stopping) return;
    if (outcome.moved) continue;  // at once, to the file now at the path
    if (outcome.written.size() < batch.size()) {
      // Trouble: wait a while (longer each time) unless something new comes.
      const std::uint64_t seen = generation_;
      wake_.wait_for(lock, retry, [&] { return stop_ || generation_ != seen; });
      retry = std::min(retry * 2, std::chrono::duration_cast<std::chrono::milliseconds>(kLongestRetry));
    } else {
      retry = std::chrono::duration_cast<std::chrono::milliseconds>(kFirstRetry);
    }
  }
}

JournalWriter::Outcome JournalWriter::WriteBatch(const std::vector<Waiting>& batch) {
  Outcome outcome;
  try {
    if (!store_) {
      store_ = std::make_unique<JournalStore>(path_, busyMs_, &cutOff_);
      if (!store_->SetAsideAs().empty() && tell_) tell_(SetAsideText(path_, store_->SetAsideAs()));
      if (!store_->LogSetAsideAs().empty() && tell_) tell_(LogSetAsideText(path_, store_->LogSetAsideAs()));
    }
    for (const Waiting& w : batch) {
      store_->Save(w.record);
      outcome.written.emplace_back(w.record.uid, w.generation);
      run_[w.record.uid] = w.record;
    }
  } catch (const JournalError& error) {
    // Busy: keep the connection and try again; anything else: open afresh next time.
    if (error.Trouble() != JournalTrouble::Busy) store_.reset();
    outcome.moved = error.Trouble() == JournalTrouble::Moved;
    TellOnce(error.Trouble());
  } catch (...) {
    store_.reset();
    TellOnce(JournalTrouble::Unwritable);
  }
  return outcome;
}

void JournalWriter::KeepPending() {
  if (waiting_.empty()) return;
  // Sessions another closing copy kept there stay, unless this one has a later state of them.
  std::vector<SessionRecord> keep;
  for (const Waiting& w : waiting_) keep.push_back(w.record);
  for (SessionRecord& earlier : ParsePending(ReadSmallFile(PendingPath(path_)))) {
    if (std::none_of(keep.begin(), keep.end(), [&](const SessionRecord& r) { return r.uid == earlier.uid; })) {
      keep.push_back(std::move(earlier));
    }
  }
  if (!ReplaceFile(PendingPath(path_), PendingText(keep))) {
    std::fprintf(stderr, "serenitap: %zu sessions could not be written to the journal nor kept in %s: %s\n",
                 keep.size(), PendingPath(path_).c_str(), std::strerror(errno));
  }
}

void JournalWriter::TellOnce(JournalTrouble trouble) {
  // A file found damaged while open is set aside when it is opened again; that is told then.
  if (trouble == JournalTrouble::NotAJournal || !told_.insert(trouble).second || !tell_) return;
  tell_(TroubleText(trouble, path_));
}

std::string JournalWriter::SetAsideText(const std::string& journalPath, const std::string& keptAs) {
  return "The file \"" + journalPath +
         "\" is not a journal that can be read (it is damaged, or another program's database). It was kept "
         "unchanged as \"" +
         keptAs + "\" and a new journal was started.";
}

std::string JournalWriter::TroubleText(JournalTrouble trouble, const std::string& journalPath) {
  switch (trouble) {
    case JournalTrouble::Busy:
      return "The journal is in use by another program. Sessions are kept and recorded when it is free.";
    case JournalTrouble::DiskFull:
      return "The journal cannot be written: the disk is full. Sessions are kept and recorded when there is room.";
    case JournalTrouble::NotAFile:
      return "The journal cannot be kept: \"" + journalPath +
             "\" is a folder or something else that is not a file, and is left alone. Sessions are kept and "
             "recorded once a journal can be made there.";
    case JournalTrouble::Newer:
      return "The journal was written by a newer version of Serenitap and is left unchanged. This run's sessions "
             "are kept in \"" +
             PendingPath(journalPath) + "\" instead.";
    case JournalTrouble::Moved:
      return "The journal \"" + journalPath +
             "\" was removed or replaced while Serenitap was running. This run's sessions are written to the journal "
             "there again.";
    case JournalTrouble::NotAJournal:
    case JournalTrouble::Unwritable: break;
  }
  return "The journal cannot be written: its file or folder is read-only, or the disk failed. Sessions are kept and "
         "recorded once it can be written.";
}

std::string JournalWriter::LogSetAsideText(const std::string& journalPath, const std::string& keptAs) {
  return "A log file found beside the journal \"" + journalPath +
         "\" did not belong to it and was not applied; it was kept as \"" + keptAs + "\". The journal is as it was.";
}

std::string JournalWriter::PendingRecordedText(const std::string& journalPath) {
  return "Sessions that could not be written to the journal when Serenitap last closed were recorded in \"" +
         journalPath + "\" now.";
}

}  // namespace serenitap::journal
