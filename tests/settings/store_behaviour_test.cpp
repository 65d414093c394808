// Behaviour of the settings store, the same on every backend (the registry on
// Windows, the files elsewhere): the store's own rules and modRegistry.
#include <gmock/gmock.h>

#include "settings/registry.h"
#include "settings/settings_test_support.h"

namespace serenitap::testing {
namespace {

const std::string kKey = "Software\\Serenitap\\Test";

using StoreBehaviour = StoreTest;

// What the settings code never asks of the store.
TEST_F(StoreBehaviour, ReportsSizesAndCodesAsTheRegistryDoes) {
  PutRaw(kKey, "v", {st::REG_BINARY, "hello"});
  st::HKey key = 0;
  ASSERT_EQ(Store().OpenKey(st::RootHandle(HKCU), kKey, st::KEY_QUERY_VALUE, &key), 0);
  std::uint8_t small[2];
  std::uint32_t type = 0, size = sizeof small;
  EXPECT_EQ(Store().QueryValue(key, "V", &type, small, &size), st::ERROR_MORE_DATA);
  EXPECT_EQ(size, 5u);
  char name[2];
  std::uint32_t length = 1;  // no room for the zero
  EXPECT_EQ(Store().EnumValue(key, 0, name, &length), st::ERROR_MORE_DATA);
  length = 2;
  EXPECT_EQ(Store().EnumValue(key, 0, name, &length), 0);
  EXPECT_EQ(std::string(name, length), "v");
  EXPECT_EQ(Store().CloseKey(key), 0);
  EXPECT_EQ(Store().CloseKey(st::RootHandle(HKCU)), 0);  // a root is never opened, and closing it is no failure
}

TEST_F(StoreBehaviour, ModRegistryKeepsNumbersAndTextsApartAndFallsBackToTheDefault) {
  EXPECT_EQ(modRegistry::RegSaveNumber(HKCU, kKey, "N", -123456789), "Success");  // bytes EB 32 A4 F8
  EXPECT_EQ(GetRaw(HKCU, kKey, "N"), (Raw{st::REG_DWORD, "\xEB\x32\xA4\xF8"}));
  EXPECT_EQ(modRegistry::RegGetNumber(HKCU, "SOFTWARE\\serenitap\\TEST", "n", 77), -123456789);  // letter case ignored
  EXPECT_EQ(modRegistry::RegSaveString(HKCU, kKey, "T", "12"), "Success");
  // The registry adds a zero of its own after the text; the files keep the text.
  EXPECT_THAT(GetRaw(HKCU, kKey, "T"), ::testing::AnyOf(Raw{st::REG_SZ, "12"}, Raw{st::REG_SZ, Z("12")}));
  PutRaw(kKey, "B", {st::REG_BINARY, "\xFB\xFF\xFF\xFF"});  // the same bytes saved as a number become one
  EXPECT_EQ(modRegistry::RegSaveNumber(HKCU, kKey, "B", -5), "Success");
  EXPECT_EQ(GetRaw(HKCU, kKey, "B"), (Raw{st::REG_DWORD, "\xFB\xFF\xFF\xFF"}));
  PutRaw(kKey, "Zero", {st::REG_SZ, Z("0123456789")});
  PutRaw(kKey, "Expand", {st::REG_EXPAND_SZ, Z("abc")});
  for (const auto& [name, text, number] : {std::tuple{"T", "12", 77},
                                           {"N", "d", -123456789},
                                           {"Zero", "0123456789", 77},
                                           {"Expand", "d", 77},
                                           {"Missing", "d", 77}}) {
    EXPECT_EQ(modRegistry::RegGetString(HKCU, kKey, name, "d"), text) << name;
    EXPECT_EQ(modRegistry::RegGetNumber(HKCU, kKey, name, 77), number) << name;
  }
}

}  // namespace
}  // namespace serenitap::testing
