#include "ui/dialogs/intro_option.h"

#include "settings/options.h"
#include "settings/registry.h"
#include "settings/registry_store.h"

namespace serenitap {

bool ReadShowWhatIsIt() { return modOptions::ShowWhatIsItWindow(); }

void SaveShowWhatIsIt(std::int32_t value) {
  (void)modRegistry::RegSaveNumber(settings::HKEY_CURRENT_USER, modOptions::kOptionsKey, modOptions::kShowWhatIsIt,
                                   value);
}

}  // namespace serenitap
