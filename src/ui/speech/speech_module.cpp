// The voice of the spoken guidance, Qt's speech module behind QtSpeaker,
// built as the module serenitap_speech: see speech.h.
#include "ui/speech/qt_speaker.h"
#include "ui/speech/speech.h"

namespace serenitap {
namespace {

// The plugin scan runs once, when the voice is first asked about.
const QtSpeaker::Engine& DesktopEngine() {
  static const QtSpeaker::Engine engine = QtSpeaker::FindEngine();
  return engine;
}

QString Missing() { return DesktopEngine().missing; }

std::unique_ptr<ISpeaker> Create(std::function<void(std::uint32_t)> finished,
                                 std::function<void(const std::string&)> failed) {
  auto speaker = std::make_unique<QtSpeaker>(DesktopEngine().name);
  QObject::connect(speaker.get(), &QtSpeaker::phraseFinished, speaker.get(),
                   [finished = std::move(finished)](quint32 phrase) { finished(phrase); });
  QObject::connect(speaker.get(), &QtSpeaker::failed, speaker.get(),
                   [failed = std::move(failed)](const QString& reason) { failed(reason.toStdString()); });
  speaker->Start();
  return speaker;
}

const SpeechModule kSpeech{Missing, Create};

}  // namespace
}  // namespace serenitap

extern "C" Q_DECL_EXPORT const serenitap::SpeechModule* SerenitapSpeech() { return &serenitap::kSpeech; }
