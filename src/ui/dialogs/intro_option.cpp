#include "ui/dialogs/intro_option.h"

#include <utility>

#include "settings/options.h"
#include "settings/registry.h"
#include "settings/registry_store.h"

namespace serenitap {
namespace {

IntroOptionAccess& Access() {
  static IntroOptionAccess access;
  return access;
}

}  // namespace

bool ReadShowWhatIsIt() {
  if (Access().read) return Access().read();
  return modOptions::ShowWhatIsItWindow();
}

void SaveShowWhatIsIt(std::int32_t value) {
  if (Access().save) {
    Access().save(value);
    return;
  }
  (void)modRegistry::RegSaveNumber(settings::HKEY_CURRENT_USER, modOptions::kOptionsKey, modOptions::kShowWhatIsIt,
                                   value);
}

IntroOptionAccess SetIntroOptionAccess(IntroOptionAccess access) { return std::exchange(Access(), std::move(access)); }

}  // namespace serenitap
