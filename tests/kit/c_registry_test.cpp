// The registry class, against the store of this system (the registry on
// Windows, the files elsewhere): values by type, keys, associations.
#include "kit/settings/c_registry.h"

#include <gmock/gmock.h>

#include <cstdlib>

#include "settings/registry.h"
#include "settings/settings_test_support.h"

namespace serenitap::testing {
namespace {

using ::testing::ElementsAre;
constexpr std::int32_t HKCR = st::HKEY_CLASSES_ROOT;
const std::string kKey = "Software\\Serenitap\\Test";

cRegistry At(std::int32_t root, const std::string& section, const std::string& value = "", std::int32_t type = 0) {
  cRegistry r;
  r.ClassKey(root);
  r.SectionKey(section);
  r.ValueKey(value);
  r.ValueType(type);
  return r;
}

using RegistryClass = StoreTest;

// Text with two separated "%" is stored as expandable; numbers always as REG_DWORD.
TEST_F(RegistryClass, ValuesAreWrittenByTheAskedType) {
  const std::tuple<std::int32_t, RegVariant, std::optional<Raw>> cases[] = {
      {4, std::string("12"), std::nullopt},  // writes nothing, raises nothing
      {1, std::string("%TEMP%\\x"), Raw{st::REG_EXPAND_SZ, Z("%TEMP%\\x")}},
      {2, std::string("%%%"), Raw{st::REG_EXPAND_SZ, Z("%%%")}},
      {2, std::string("100%"), Raw{st::REG_SZ, Z("100%")}},
      {1, std::string("a%%b"), Raw{st::REG_SZ, Z("a%%b")}},
      {4, std::int32_t{0x12345678}, Raw{st::REG_DWORD, "\x78\x56\x34\x12"}},
      {5, std::int16_t{-2}, Raw{st::REG_DWORD, "\xFE\xFF\xFF\xFF"}},
      {3, RegByteArray{9, 8, 7}, Raw{st::REG_BINARY, "\x09\x08\x07"}}};
  for (const auto& [asked, value, stored] : cases) {
    At(HKCU, kKey, "V", asked).Value(value);
    EXPECT_EQ(GetRaw(HKCU, kKey, "V"), stored) << RegVariantText(value) << " asked as " << asked;
  }
}

TEST_F(RegistryClass, ValuesReadByTheirStoredType) {
  const std::tuple<const char*, Raw, RegVariant> cases[] = {
      {"Sz", {st::REG_SZ, Z("text")}, std::string("text")},
      {"Expand", {st::REG_EXPAND_SZ, Z("%PATH%\\x")}, std::getenv("PATH") + std::string("\\x")},
      {"Dword", {st::REG_DWORD, "\x78\x56\x34\x12"}, std::int32_t{0x12345678}},
      {"BigEndian", {st::REG_DWORD_BIG_ENDIAN, "\x12\x34\x56\x78"}, std::int32_t{0x12345678}},
      {"Bin", {st::REG_BINARY, "\x01\x02\xFF"}, RegByteArray{1, 2, 255, 0}},  // one element more than stored
      {"Multi", {st::REG_MULTI_SZ, std::string("a\0bc\0\0", 6)}, std::string("a\0bc\0", 5)},
      {"Odd", {0x42, "\x07"}, RegByteArray{7, 0}}};
  for (const auto& [name, raw, value] : cases) {
    PutRaw(kKey, name, raw);
    cRegistry r = At(HKCU, kKey, name);
    EXPECT_EQ(r.Value(), value) << name;
    EXPECT_EQ(r.ValueType(), static_cast<std::int32_t>(raw.type)) << name;
  }
}

TEST_F(RegistryClass, KeysAreCreatedEnumeratedAndDeleted) {
  cRegistry r = At(HKCU, "Software\\Serenitap\\Deep"), child = At(HKCU, "Software\\Serenitap\\Deep\\zeta");
  std::vector<std::string> values{"stale"}, sections;
  std::int32_t count = 99;
  EXPECT_TRUE(r.EnumerateValues(values, count));  // a key that is not there has none
  EXPECT_EQ(count, 0);
  EXPECT_TRUE(values.empty());
  EXPECT_FALSE(child.KeyExists());
  EXPECT_TRUE(child.CreateKey());
  EXPECT_TRUE(At(HKCU, "SOFTWARE\\SERENITAP\\deep\\ZETA").KeyExists());
  At(HKCU, r.SectionKey() + "\\Alpha").CreateKey();
  modRegistry::RegSaveNumber(HKCU, r.SectionKey(), "First", 1);
  modRegistry::RegSaveString(HKCU, r.SectionKey(), "Second", "2");
  EXPECT_TRUE(r.EnumerateValues(values, count));
  EXPECT_THAT(values, ElementsAre("First", "Second"));
  EXPECT_TRUE(r.EnumerateSections(sections, count));
  EXPECT_THAT(sections, ElementsAre("Alpha", "zeta"));
  EXPECT_EQ(count, 2);
  EXPECT_THROW(r.DeleteKey(), RegistryError);  // it has sub-keys
  EXPECT_TRUE(child.DeleteKey());
  EXPECT_FALSE(child.KeyExists());
}

TEST_F(RegistryClass, CreateEXEAssociationWritesItsRowsUnderClassesRoot) {
  auto row = [](const std::string& key) {
    cRegistry r = At(HKCR, key);
    r.Default(std::string("<none>"));
    return RegVariantText(r.Value());
  };
  cRegistry r = At(HKCU, "", "", st::REG_SZ);
  r.CreateEXEAssociation("C:\\Tools\\tap.exe", "Serenitap.Session", "Tapping session", "tap", 2);
  EXPECT_EQ(r.ClassKey(), HKCR);
  r.CreateEXEAssociation("a.exe", "Other.Class", "d", "oth");
  r.CreateEXEAssociation("b.exe", "Third.Class", "d", "thd", -1);
  const std::string command = "C:\\Tools\\tap.exe \"%1\"";
  const std::pair<const char*, std::string> rows[] = {{".tap", "Serenitap.Session"},
                                                      {".tap\\shell\\open\\command", command},
                                                      {"Serenitap.Session", "Tapping session"},
                                                      {"Serenitap.Session\\shell\\open\\command", command},
                                                      {"Serenitap.Session\\DefaultIcon", "C:\\Tools\\tap.exe,2"},
                                                      {"Other.Class\\DefaultIcon", "a.exe,0"},
                                                      {"Third.Class\\DefaultIcon", "<none>"}};
  for (const auto& [key, value] : rows) EXPECT_EQ(row(key), value) << key;
  EXPECT_EQ(GetRaw(HKCR, ".tap\\shell\\open\\command", "")->type, st::REG_SZ);  // one % only
}

}  // namespace
}  // namespace serenitap::testing
