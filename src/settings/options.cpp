#include "settings/options.h"

#include "services/failure.h"
#include "settings/registry.h"
#include "settings/registry_store.h"

namespace serenitap::modOptions {
namespace {

// An option is on only when its stored value is the number 1; a failure while
// reading it is reported under the option's own procedure name and reads as off.
bool ReadSwitch(const char* procedure, std::string_view value) {
  bool on = false;
  Guarded("modOptions", procedure,
          [&] { on = modRegistry::RegGetNumber(settings::HKEY_CURRENT_USER, kOptionsKey, value, 0) == 1; });
  return on;
}

std::string SaveSwitch(std::string_view value, bool on) {
  return modRegistry::RegSaveNumber(settings::HKEY_CURRENT_USER, kOptionsKey, value, on ? 1 : 0);
}

}  // namespace

bool ShowWhatIsItWindow() { return ReadSwitch("ShowWhatIsItWindow", kShowWhatIsIt); }
std::string ShowWhatIsItWindow(bool show) { return SaveSwitch(kShowWhatIsIt, show); }

bool SpeakGuidance() { return ReadSwitch("SpeakGuidance", kSpeakGuidance); }
std::string SpeakGuidance(bool on) { return SaveSwitch(kSpeakGuidance, on); }

bool KeepJournal() { return ReadSwitch("KeepJournal", kKeepJournal); }
std::string KeepJournal(bool keep) { return SaveSwitch(kKeepJournal, keep); }

}  // namespace serenitap::modOptions
