#pragma once
// Keeps the journal for the main window: the "Keep a Journal" choice, the
// recorder listening to the session engine, and the writer thread behind it.
// Troubles of the writer reach the user as notices, on the window's thread.
#include <QObject>
#include <memory>
#include <string>

#include "journal/journal_writer.h"
#include "journal/session_recorder.h"

namespace serenitap {

class SessionEngine;

// The journal file in the platform's data folder.
std::string JournalPath();

class JournalKeeper : public QObject {
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

 private:
  SessionEngine& engine_;
  std::string path_;
  journal::JournalWriter writer_;
  journal::SessionRecorder recorder_;
};

}  // namespace serenitap
