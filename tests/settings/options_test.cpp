// The stored options: each is on exactly when its value is the number 1.
#include <gtest/gtest.h>

#include "settings/options.h"
#include "settings/registry.h"
#include "settings/settings_test_support.h"

namespace serenitap::testing {
namespace {

using StoredOptions = StoreTest;

TEST_F(StoredOptions, EachSwitchIsOnOnlyForTheNumberOne) {
  const std::string key(modOptions::kOptionsKey);
  EXPECT_EQ(key, "Software\\Serenitap\\Options");
  const std::tuple<const char*, bool (*)(), std::string (*)(bool)> switches[] = {
      {"ShowWhatIsIt", modOptions::ShowWhatIsItWindow, modOptions::ShowWhatIsItWindow},
      {"SpeakGuidance", modOptions::SpeakGuidance, modOptions::SpeakGuidance},
      {"KeepJournal", modOptions::KeepJournal, modOptions::KeepJournal}};
  for (const auto& [value, get, set] : switches) {
    EXPECT_FALSE(get()) << value << " never saved";
    for (const auto& [stored, on] : {std::pair{1, true}, {0, false}, {2, false}, {-1, false}}) {
      modRegistry::RegSaveNumber(HKCU, key, value, stored);
      EXPECT_EQ(get(), on) << value << " " << stored;
    }
    PutRaw(key, value, {st::REG_SZ, Z("1")});
    EXPECT_FALSE(get()) << value << " as text";
    for (const bool on : {true, false}) {
      EXPECT_EQ(set(on), "Success");
      EXPECT_EQ(modRegistry::RegGetNumber(HKCU, key, value, 9), on ? 1 : 0);
      EXPECT_EQ(get(), on);
    }
  }
}

}  // namespace
}  // namespace serenitap::testing
