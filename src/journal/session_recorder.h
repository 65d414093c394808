#pragma once
// The rules of the journal: what a session's record holds and when it is
// written. A session is recorded from the moment its first rating is given
// (Next on the rating step); every re-assessment (leaving the re-assessment
// step by Next or Finish) adds its rating and time; each new round counts;
// the record ends with Finish, with the window closing (Exit), or when the
// first rating of a new session is given. Each change hands the whole record
// to the sink. Nothing is recorded while keeping the journal is off.
#include <functional>
#include <optional>
#include <string>

#include "journal/session_record.h"
#include "session/session_observer.h"

namespace serenitap::journal {

// Where records go: each call carries the whole record as it is now; a later
// call for the same uid replaces it. Must not block.
class IJournalSink {
 public:
  virtual ~IJournalSink() = default;
  virtual void Write(const SessionRecord& record) = 0;
};

using Clock = std::function<TimeMs()>;
// The user's own words for an issue as they are now.
using WordsOf = std::function<std::string(enmIssue)>;
// A new unique identifier for a session: 32 hexadecimal digits.
std::string NewSessionUid();

class SessionRecorder : public ISessionObserver {
 public:
  explicit SessionRecorder(IJournalSink& sink, Clock clock = SystemNow);

  // Where a new session's words come from: read as its first rating is
  // given, after the issue step has been left. Without it, sessions have none.
  void SetWordsOf(WordsOf wordsOf) { wordsOf_ = std::move(wordsOf); }

  // Turning it off forgets the session in progress (what was written stays).
  void SetEnabled(bool enabled);
  bool Enabled() const { return enabled_; }

  void StepChanged(const StepMove& move) noexcept override;
  // The window is closing: the session in progress ends with Exit.
  void WindowClosing() noexcept;

  // The session being recorded, if any.
  const std::optional<SessionRecord>& Current() const { return current_; }

 private:
  void End(SessionEnd how, TimeMs at);
  void Write();

  IJournalSink& sink_;
  Clock clock_;
  WordsOf wordsOf_;
  bool enabled_ = false;
  std::optional<SessionRecord> current_;
};

}  // namespace serenitap::journal
