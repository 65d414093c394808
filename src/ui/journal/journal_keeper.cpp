#include "ui/journal/journal_keeper.h"

#include <QCoreApplication>
#include <QPointer>

#include "journal/progress_view.h"
#include "services/notice.h"
#include "session/engine.h"
#include "settings/options.h"

namespace serenitap {

JournalKeeper::JournalKeeper(SessionEngine& engine, std::string path, QObject* parent)
    : QObject(parent),
      engine_(engine),
      path_(std::move(path)),
      writer_(path_,
              [](const std::string& text) {
                // From the writer's thread to the window's.
                if (QCoreApplication* app = QCoreApplication::instance()) {
                  QMetaObject::invokeMethod(
                      app, [text] { ShowNotice(text); }, Qt::QueuedConnection);
                }
              }),
      recorder_(writer_) {
  const journal::WordsOf wordsOf = [this](enmIssue issue) { return engine_.OwnWords(issue); };
  recorder_.SetWordsOf(wordsOf);
  thisSession_.SetWordsOf(wordsOf);
  recorder_.SetEnabled(modOptions::KeepJournal());
  thisSession_.SetEnabled(true);
  engine_.SetObserver(this);
}

void JournalKeeper::StepChanged(const StepMove& move) noexcept {
  recorder_.StepChanged(move);
  thisSession_.StepChanged(move);
  if (move.to != stpFinish || !last_.record || last_.record->end != journal::SessionEnd::Finish) return;
  const journal::SessionRecord finished = *last_.record;
  last_.record.reset();
  try {
    if (showFinished_) showFinished_(journal::SessionLine(finished));
  } catch (...) {
    // The closing page keeps its own text.
  }
}

JournalKeeper::~JournalKeeper() { engine_.SetObserver(nullptr); }

void JournalKeeper::SetKeeping(bool keep) {
  recorder_.SetEnabled(keep);
  modOptions::KeepJournal(keep);
}

}  // namespace serenitap
