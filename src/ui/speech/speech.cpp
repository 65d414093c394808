#include "ui/speech/speech.h"

#include "ui/lazy_module.h"

namespace serenitap {

const SpeechModule* LoadSpeech(QString& error) {
  static const SpeechModule* loaded = nullptr;
  if (loaded != nullptr) return loaded;
  const auto entry = reinterpret_cast<SpeechEntry>(LoadModuleEntry(
      QStringLiteral("serenitap_speech.so"), QStringLiteral(SERENITAP_SPEECH_FROM_BIN), kSpeechEntry, error));
  if (entry != nullptr && (loaded = entry()) == nullptr) error = QStringLiteral("serenitap_speech.so gave no voice");
  return loaded;
}

}  // namespace serenitap
