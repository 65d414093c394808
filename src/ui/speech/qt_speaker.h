#pragma once
// The voice of the spoken guidance: Qt's speech module (QTextToSpeech) with
// the desktop's speech service (speech-dispatcher on Linux, the system's own
// engine on Windows and macOS), which brings the voice, rate and volume the
// desktop is set up with.
//
// The engine lives in a thread of its own: connecting to the speech service,
// listing its voices and every call into it may take seconds, or never return
// when the service hangs, and none of that may hold up the window. Calls are
// queued to that thread and return at once; reports come back on the thread
// that created the speaker.
#include <QObject>
#include <QString>
#include <cstdint>
#include <memory>
#include <string>

#include "session/guidance.h"

class QThread;

namespace serenitap {

namespace speech {
class Worker;
struct Link;
}  // namespace speech

class QtSpeaker : public QObject, public ISpeaker {
  Q_OBJECT

 public:
  // The engine that serves this desktop, found without starting it (a look at
  // the installed plugins and programs). missing says why there is none, and
  // which package provides one; it is empty when there is an engine.
  struct Engine {
    QString name;
    QString missing;
  };
  static Engine FindEngine();

  explicit QtSpeaker(const QString& engineName, QObject* parent = nullptr);
  ~QtSpeaker() override;

  // Starts the engine ahead of the first phrase.
  void Start();

  void Say(std::uint32_t phrase, const std::string& text) override;
  void Pause() override;
  void Resume() override;
  void Stop() override;

 signals:
  // The phrase has been spoken to its end.
  void phraseFinished(quint32 phrase);
  // The engine could not start or has failed; reason completes "Spoken
  // Guidance has been turned off: ...".
  void failed(const QString& reason);

 private:
  template <class Call>
  void Post(Call&& call);

  QString engineName_;
  std::shared_ptr<speech::Link> link_;
  QThread* thread_ = nullptr;
  speech::Worker* worker_ = nullptr;
};

}  // namespace serenitap
