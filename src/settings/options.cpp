#include "settings/options.h"

#include <algorithm>
#include <iterator>

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

namespace {

std::int32_t ValidPace(std::int32_t seconds) {
  const bool offered = std::find(std::begin(kPointSecondsChoices), std::end(kPointSecondsChoices), seconds) !=
                       std::end(kPointSecondsChoices);
  return offered ? seconds : kPointSecondsChoices[0];
}

}  // namespace

std::int32_t PointSeconds() {
  std::int32_t seconds = kPointSecondsChoices[0];
  Guarded("modOptions", "PointSeconds", [&] {
    seconds = ValidPace(
        modRegistry::RegGetNumber(settings::HKEY_CURRENT_USER, kOptionsKey, kPointSeconds, kPointSecondsChoices[0]));
  });
  return seconds;
}

std::string PointSeconds(std::int32_t seconds) {
  return modRegistry::RegSaveNumber(settings::HKEY_CURRENT_USER, kOptionsKey, kPointSeconds, ValidPace(seconds));
}

std::string Words(std::int32_t issue) {
  std::string words;
  Guarded("modOptions", "Words", [&] {
    words = modRegistry::RegGetString(settings::HKEY_CURRENT_USER, kWordsKey, std::to_string(issue), "");
  });
  return words;
}

std::string Words(std::int32_t issue, std::string_view words) {
  const std::string name = std::to_string(issue);
  try {
    settings::RegistryStore& store = settings::CurrentStore();
    settings::HKey key = 0;
    settings::RegResult result = settings::ERROR_SUCCESS;
    if (words.empty()) {
      // Nothing to remove when the key or the value was never there.
      if (store.OpenKey(settings::RootHandle(settings::HKEY_CURRENT_USER), kWordsKey, settings::MAXIMUM_ALLOWED,
                        &key) != settings::ERROR_SUCCESS) {
        return std::string(modRegistry::kSaveSucceeded);
      }
      result = store.DeleteValue(key, name);
      if (result == settings::ERROR_FILE_NOT_FOUND) result = settings::ERROR_SUCCESS;
    } else {
      result = store.CreateKey(settings::RootHandle(settings::HKEY_CURRENT_USER), kWordsKey, settings::MAXIMUM_ALLOWED,
                               &key);
      if (result == settings::ERROR_SUCCESS) {
        // With its terminating zero, as text values are kept in the registry.
        std::string data = store.EncodeText(words);
        data += '\0';
        result = store.SetValue(key, name, settings::REG_SZ, reinterpret_cast<const std::uint8_t*>(data.data()),
                                static_cast<std::uint32_t>(data.size()));
      }
    }
    const settings::RegResult closed = key != 0 ? store.CloseKey(key) : settings::ERROR_SUCCESS;
    return std::string(result == settings::ERROR_SUCCESS && closed == settings::ERROR_SUCCESS
                           ? modRegistry::kSaveSucceeded
                           : modRegistry::kSaveFailed);
  } catch (...) {
    // The answer tells the caller the words were not saved.
    return std::string(modRegistry::kSaveFailed);
  }
}

}  // namespace serenitap::modOptions
