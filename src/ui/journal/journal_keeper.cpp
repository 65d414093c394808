#include "ui/journal/journal_keeper.h"

#include <QCoreApplication>
#include <QDir>
#include <QPointer>
#include <QStandardPaths>

#include "services/notice.h"
#include "session/engine.h"
#include "settings/options.h"

namespace serenitap {

std::string JournalPath() {
  const QString data = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
  return QDir(data).filePath(QStringLiteral("Serenitap/journal.sqlite")).toStdString();
}

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
  recorder_.SetEnabled(modOptions::KeepJournal());
  engine_.SetObserver(&recorder_);
}

JournalKeeper::~JournalKeeper() { engine_.SetObserver(nullptr); }

void JournalKeeper::SetKeeping(bool keep) {
  recorder_.SetEnabled(keep);
  modOptions::KeepJournal(keep);
}

}  // namespace serenitap
