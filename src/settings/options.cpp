#include "settings/options.h"

#include "services/failure.h"
#include "settings/registry.h"
#include "settings/registry_store.h"

namespace serenitap::modOptions {

bool ShowWhatIsItWindow() {
  bool show = false;
  Guarded("modOptions", "ShowWhatIsItWindow", [&] {
    show = modRegistry::RegGetNumber(settings::HKEY_CURRENT_USER, kOptionsKey, kShowWhatIsIt, 0) == 1;
  });
  return show;
}

std::string ShowWhatIsItWindow(bool show) {
  return modRegistry::RegSaveNumber(settings::HKEY_CURRENT_USER, kOptionsKey, kShowWhatIsIt, show ? 1 : 0);
}

bool SpeakGuidance() {
  bool on = false;
  Guarded("modOptions", "SpeakGuidance", [&] {
    on = modRegistry::RegGetNumber(settings::HKEY_CURRENT_USER, kOptionsKey, kSpeakGuidance, 0) == 1;
  });
  return on;
}

std::string SpeakGuidance(bool on) {
  return modRegistry::RegSaveNumber(settings::HKEY_CURRENT_USER, kOptionsKey, kSpeakGuidance, on ? 1 : 0);
}

bool KeepJournal() {
  bool keep = false;
  Guarded("modOptions", "KeepJournal", [&] {
    keep = modRegistry::RegGetNumber(settings::HKEY_CURRENT_USER, kOptionsKey, kKeepJournal, 0) == 1;
  });
  return keep;
}

std::string KeepJournal(bool keep) {
  return modRegistry::RegSaveNumber(settings::HKEY_CURRENT_USER, kOptionsKey, kKeepJournal, keep ? 1 : 0);
}

}  // namespace serenitap::modOptions
