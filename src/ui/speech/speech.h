#pragma once
// The voice of the spoken guidance comes from a module of its own
// (serenitap_speech, speech_module.cpp, with QtSpeaker), loaded the first time
// the guidance is asked about: when the menu opens, or when the guidance is
// turned on. Qt's speech library then costs a session without spoken guidance
// nothing, neither start-up time nor memory.
#include <QString>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "session/guidance.h"

namespace serenitap {

struct SpeechModule {
  // Why no voice can speak on this desktop, naming the package that brings
  // one; empty when one can. Looks at the installed plugins and programs once,
  // without starting anything.
  QString (*missing)();
  // A speaker with the desktop's voice, already starting; it reports the end
  // of each phrase and a failure through the two callbacks.
  std::unique_ptr<ISpeaker> (*create)(std::function<void(std::uint32_t)> finished,
                                      std::function<void(const std::string&)> failed);
};

// The module's one exported function returns its table under this name.
inline constexpr char kSpeechEntry[] = "SerenitapSpeech";
using SpeechEntry = const SpeechModule* (*)();

// The module, loaded on the first call (beside the program, then where it is
// installed) and kept. Null, with the reason in error, when it cannot be
// loaded; the next call tries again.
const SpeechModule* LoadSpeech(QString& error);

}  // namespace serenitap
