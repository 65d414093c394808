#pragma once
// Keeps the journal for the main window: the "Keep a Journal" choice, the
// recorder listening to the session engine, and the writer thread behind it.
// Troubles of the writer reach the user as notices, on the window's thread.
// Whether or not the journal is kept, the session that ends with Finish is
// summed up in a line for the closing page.
#include <QObject>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "journal/journal_writer.h"
#include "journal/session_recorder.h"

namespace serenitap {

class SessionEngine;

class JournalKeeper : public QObject, public ISessionObserver {
  Q_OBJECT
 public:
  JournalKeeper(SessionEngine& engine, std::string path, QObject* parent = nullptr);
  ~JournalKeeper() override;

  // Turns keeping the journal on or off and stores the choice.
  void SetKeeping(bool keep);
  bool Keeping() const { return recorder_.Enabled(); }
  void WindowClosing() { recorder_.WindowClosing(); }
  const std::string& Path() const { return path_; }
  journal::JournalWriter& Writer() { return writer_; }

  // show receives the closing page's line ("Guilt: 8 → 3 in 6 minutes") once
  // the closing page of a session with a first rating is on screen.
  void OnSessionFinished(std::function<void(const std::string& line)> show) { showFinished_ = std::move(show); }
  void StepChanged(const StepMove& move) noexcept override;

 private:
  // Keeps the last state of the session in progress.
  struct LastState : journal::IJournalSink {
    std::optional<journal::SessionRecord> record;
    void Write(const journal::SessionRecord& written) override { record = written; }
  };

  SessionEngine& engine_;
  std::string path_;
  journal::JournalWriter writer_;
  journal::SessionRecorder recorder_;
  LastState last_;
  journal::SessionRecorder thisSession_{last_};  // always on
  std::function<void(const std::string&)> showFinished_;
};

}  // namespace serenitap
