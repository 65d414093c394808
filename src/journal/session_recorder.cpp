#include "journal/session_recorder.h"

#include <cstdio>
#include <random>

namespace serenitap::journal {

std::string NewSessionUid() {
  static thread_local std::mt19937_64 generator = [] {
    std::random_device device;
    std::seed_seq seed{device(),
                       device(),
                       device(),
                       device(),
                       static_cast<unsigned>(SystemNow()),
                       static_cast<unsigned>(SystemNow() >> 32)};
    return std::mt19937_64(seed);
  }();
  char text[33];
  std::snprintf(text, sizeof text, "%016llx%016llx", static_cast<unsigned long long>(generator()),
                static_cast<unsigned long long>(generator()));
  return text;
}

SessionRecorder::SessionRecorder(IJournalSink& sink, Clock clock) : sink_(sink), clock_(std::move(clock)) {}

void SessionRecorder::SetEnabled(bool enabled) {
  enabled_ = enabled;
  if (!enabled) current_.reset();
}

void SessionRecorder::StepChanged(const StepMove& move) noexcept {
  if (!enabled_) return;
  try {
    bool changed = false;
    // Leaving the re-assessment step forward gives a rating; back to Relax does not.
    if (current_ && move.from == stpReassessSUD && (move.to == stpTopHead1 || move.to == stpFinish)) {
      current_->reassessments.push_back({clock_(), move.sud});
      changed = true;
    }
    if (current_ && move.to == stpTopHead1) {
      ++current_->rounds;
      changed = true;
    }
    if (current_ && move.to == stpFinish) {
      End(SessionEnd::Finish, clock_());
      return;
    }
    // Next on the rating step: the first rating of a new session.
    if (move.from == stpAssignSUD && move.to == stpLeftHand) {
      const TimeMs now = clock_();
      if (current_) End(SessionEnd::NewSession, now);
      SessionRecord record;
      record.uid = NewSessionUid();
      record.started = now;
      record.issue = move.issue;
      record.firstRating = move.sud;
      if (wordsOf_) record.words = wordsOf_(move.issue);
      current_ = std::move(record);
      changed = true;
    }
    if (changed) Write();
  } catch (...) {
    // The session goes on whatever happens to its record.
  }
}

void SessionRecorder::WindowClosing() noexcept {
  if (!enabled_ || !current_) return;
  try {
    End(SessionEnd::Exit, clock_());
  } catch (...) {
    // The window is closing: there is no one left to tell, and closing must not fail.
  }
}

void SessionRecorder::End(SessionEnd how, TimeMs at) {
  current_->end = how;
  current_->ended = at;
  Write();
  current_.reset();
}

void SessionRecorder::Write() { sink_.Write(*current_); }

}  // namespace serenitap::journal
