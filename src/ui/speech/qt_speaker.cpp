#include "ui/speech/qt_speaker.h"

#include <QLocale>
#include <QMetaObject>
#include <QStandardPaths>
#include <QTextToSpeech>
#include <QThread>
#include <mutex>
#include <utility>

#ifdef Q_OS_UNIX
#include <pthread.h>
#include <csignal>
#endif

namespace serenitap {
namespace speech {

// The way back from the engine's thread to the speaker. The speaker cuts it
// when it goes, so a thread that was stuck in the speech service and wakes up
// late finds nobody to report to.
struct Link {
  std::mutex mutex;
  QtSpeaker* speaker = nullptr;

  // Runs report(speaker) on the speaker's thread.
  template <class Report>
  void Send(Report report) {
    const std::lock_guard lock(mutex);
    if (speaker == nullptr) return;
    QtSpeaker* to = speaker;
    QMetaObject::invokeMethod(
        to, [to, report = std::move(report)] { report(to); }, Qt::QueuedConnection);
  }
};

// Owns the QTextToSpeech engine; lives and runs in the speaker's thread.
class Worker : public QObject {
 public:
  Worker(QString engineName, std::shared_ptr<Link> link) : engineName_(std::move(engineName)), link_(std::move(link)) {}

  void Start() { Ready(); }

  void Say(quint32 phrase, const QString& text) {
    if (!Ready()) return;
    phrase_ = phrase;
    text_ = text;
    waiting_ = true;
    heard_ = false;
    paused_ = false;
    tts_->stop();
    tts_->say(text);
  }

  // The speech service pauses only at the end of a sentence or later, which
  // may be seconds away; a pause must be heard at once. So the phrase is cut
  // off here and said again from its beginning on Resume.
  void Pause() {
    if (tts_ == nullptr || !waiting_ || paused_) return;
    paused_ = true;
    heard_ = false;  // the end of the cut-off phrase is not its end
    tts_->stop(QTextToSpeech::BoundaryHint::Immediate);
  }

  void Resume() {
    if (tts_ == nullptr || !paused_) return;
    Say(phrase_, text_);
  }

  void Stop() {
    waiting_ = false;
    paused_ = false;
    if (tts_ != nullptr) tts_->stop(QTextToSpeech::BoundaryHint::Immediate);
  }

  // Silence and release the engine before the thread ends.
  void Shutdown() {
    Stop();
    delete tts_;
    tts_ = nullptr;
  }

 private:
  // The engine, created on first use. After a failure the next use tries
  // again with a fresh engine: the service may have been started since.
  bool Ready() {
    if (tts_ != nullptr) return true;
#ifdef Q_OS_UNIX
    // A speech service that goes away leaves a broken socket behind; writing
    // to it must fail with an error, not end the program with SIGPIPE. The
    // engine's own threads start from here and inherit the mask.
    sigset_t pipe;
    sigemptyset(&pipe);
    sigaddset(&pipe, SIGPIPE);
    pthread_sigmask(SIG_BLOCK, &pipe, nullptr);
#endif
    tts_ = engineName_.isEmpty() ? new QTextToSpeech(this) : new QTextToSpeech(engineName_, this);
    // The texts are English: an English voice reads them, whatever the
    // language of the desktop.
    if (tts_->locale().language() != QLocale::English) {
      const QLocale system = QLocale::system();
      tts_->setLocale(system.language() == QLocale::English ? system
                                                            : QLocale(QLocale::English, QLocale::UnitedStates));
    }
    if (tts_->voice().name().isEmpty() && tts_->state() == QTextToSpeech::Error) {
      Fail(QStringLiteral("the speech service could not be started (%1)").arg(tts_->errorString()));
      return false;
    }
    connect(tts_, &QTextToSpeech::stateChanged, this, [this](QTextToSpeech::State state) { OnState(state); });
    connect(tts_, &QTextToSpeech::errorOccurred, this, [this](QTextToSpeech::ErrorReason, const QString& text) {
      Fail(QStringLiteral("the speech service reported an error (%1)").arg(text));
    });
    return true;
  }

  void OnState(QTextToSpeech::State state) {
    switch (state) {
      case QTextToSpeech::Speaking:
        if (paused_) {
          tts_->stop(QTextToSpeech::BoundaryHint::Immediate);  // began after the pause
        } else {
          heard_ = true;
        }
        break;
      case QTextToSpeech::Ready:
        // The end of the phrase now being said; the end of one it cut off
        // arrives before its own beginning and is not counted.
        if (waiting_ && heard_) {
          waiting_ = false;
          const quint32 phrase = phrase_;
          link_->Send([phrase](QtSpeaker* speaker) { emit speaker->phraseFinished(phrase); });
        }
        break;
      case QTextToSpeech::Paused:
      case QTextToSpeech::Error: break;
    }
  }

  void Fail(const QString& reason) {
    waiting_ = false;
    if (tts_ != nullptr) tts_->deleteLater();
    tts_ = nullptr;
    link_->Send([reason](QtSpeaker* speaker) { emit speaker->failed(reason); });
  }

  QString engineName_;
  std::shared_ptr<Link> link_;
  QTextToSpeech* tts_ = nullptr;
  quint32 phrase_ = 0;
  QString text_;
  bool waiting_ = false;  // the latest phrase has not ended yet
  bool heard_ = false;    // ...and it has begun
  bool paused_ = false;   // ...and it has been cut off until Resume
};

}  // namespace speech

namespace {

#ifdef Q_OS_LINUX
constexpr bool kNeedsSpeechDispatcher = true;
#else
constexpr bool kNeedsSpeechDispatcher = false;
#endif

}  // namespace

QtSpeaker::Engine QtSpeaker::FindEngine() {
  const QStringList engines = QTextToSpeech::availableEngines();
  if (!kNeedsSpeechDispatcher) {
    if (engines.isEmpty()) return {{}, QStringLiteral("No speech engine is installed.")};
    return {engines.first(), {}};
  }
  // On Linux the desktop's speech service is speech-dispatcher.
  if (!engines.contains(QStringLiteral("speechd"))) {
    return {{},
            QStringLiteral("No speech engine is installed: the package qt6-speech-speechd-plugin provides one "
                           "(together with speech-dispatcher and speech-dispatcher-espeak-ng).")};
  }
  if (QStandardPaths::findExecutable(QStringLiteral("speech-dispatcher")).isEmpty() &&
      QStandardPaths::findExecutable(QStringLiteral("speech-dispatcher"), {QStringLiteral("/usr/bin")}).isEmpty()) {
    return {{},
            QStringLiteral("The speech service is not installed: the package speech-dispatcher provides it "
                           "(with speech-dispatcher-espeak-ng for a voice).")};
  }
  return {QStringLiteral("speechd"), {}};
}

QtSpeaker::QtSpeaker(const QString& engineName, QObject* parent)
    : QObject(parent), engineName_(engineName), link_(std::make_shared<speech::Link>()) {
  link_->speaker = this;
}

QtSpeaker::~QtSpeaker() {
  {
    const std::lock_guard lock(link_->mutex);
    link_->speaker = nullptr;
  }
  if (thread_ == nullptr) return;
  speech::Worker* worker = worker_;
  QMetaObject::invokeMethod(
      worker, [worker] { worker->Shutdown(); }, Qt::QueuedConnection);
  thread_->quit();
  // A thread stuck in a hung speech service is left behind rather than waited
  // for: the program must be able to close.
  if (thread_->wait(QDeadlineTimer(1000))) {
    delete worker_;
    delete thread_;
  }
}

template <class Call>
void QtSpeaker::Post(Call&& call) {
  if (thread_ == nullptr) {
    // Neither the thread nor the worker has a parent: a stuck thread must
    // outlive this object instead of being destroyed while it runs.
    thread_ = new QThread;
    thread_->setObjectName(QStringLiteral("speech"));
    worker_ = new speech::Worker(engineName_, link_);
    worker_->moveToThread(thread_);
    thread_->start(QThread::LowPriority);
  }
  speech::Worker* worker = worker_;
  QMetaObject::invokeMethod(
      worker, [worker, call = std::forward<Call>(call)] { call(*worker); }, Qt::QueuedConnection);
}

void QtSpeaker::Start() {
  Post([](speech::Worker& w) { w.Start(); });
}

void QtSpeaker::Say(std::uint32_t phrase, const std::string& text) {
  Post([phrase, text = QString::fromStdString(text)](speech::Worker& w) { w.Say(phrase, text); });
}

void QtSpeaker::Pause() {
  Post([](speech::Worker& w) { w.Pause(); });
}

void QtSpeaker::Resume() {
  Post([](speech::Worker& w) { w.Resume(); });
}

void QtSpeaker::Stop() {
  Post([](speech::Worker& w) { w.Stop(); });
}

}  // namespace serenitap
