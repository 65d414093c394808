// The stored options: each is on exactly when its value is the number 1.
#include <gtest/gtest.h>

#include "settings/options.h"
#include "settings/registry.h"
#include "settings/settings_test_support.h"

namespace serenitap::testing {
namespace {

struct Switch {
  const char* value;
  bool (*get)();
  std::string (*set)(bool);
};

using StoredOptions = StoreTest;

TEST_F(StoredOptions, EachSwitchIsOnOnlyForTheNumberOne) {
  const std::string key(modOptions::kOptionsKey);
  EXPECT_EQ(key, "Software\\Serenitap\\Options");
  const Switch switches[] = {{"ShowWhatIsIt", modOptions::ShowWhatIsItWindow, modOptions::ShowWhatIsItWindow},
                             {"SpeakGuidance", modOptions::SpeakGuidance, modOptions::SpeakGuidance},
                             {"KeepJournal", modOptions::KeepJournal, modOptions::KeepJournal}};
  for (const Switch& s : switches) {
    SCOPED_TRACE(s.value);
    EXPECT_FALSE(s.get());  // never saved
    for (const auto& [stored, on] : {std::pair{1, true}, {0, false}, {2, false}, {-1, false}}) {
      modRegistry::RegSaveNumber(HKCU, key, s.value, stored);
      EXPECT_EQ(s.get(), on) << stored;
    }
    PutRaw(key, s.value, {st::REG_SZ, std::string("1\0", 2)});
    EXPECT_FALSE(s.get());
    EXPECT_EQ(s.set(true), "Success");
    EXPECT_EQ(modRegistry::RegGetNumber(HKCU, key, s.value, 9), 1);
    EXPECT_TRUE(s.get());
    s.set(false);
    EXPECT_EQ(modRegistry::RegGetNumber(HKCU, key, s.value, 9), 0);
  }
}

}  // namespace
}  // namespace serenitap::testing
