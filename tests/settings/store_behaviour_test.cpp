// Behaviour of the settings store, the same on every backend (the registry on
// Windows, the files elsewhere): the store's own rules, modRegistry, cRegistry.
#include <gmock/gmock.h>

#include <functional>

#include "settings/c_registry.h"
#include "settings/registry.h"
#include "settings/settings_test_support.h"

namespace serenitap::testing {
namespace {

using ::testing::ElementsAre;
constexpr std::int32_t HKCR = st::HKEY_CLASSES_ROOT;
const std::string kKey = "Software\\Serenitap\\Test";

template <class F>
RegistryError RaisedBy(F&& f) {
  try {
    f();
  } catch (const RegistryError& e) {
    return e;
  }
  ADD_FAILURE() << "no RegistryError was raised";
  return RegistryError(0, "", "");
}

cRegistry At(std::int32_t root, const std::string& section, const std::string& value = "", std::int32_t type = 0) {
  cRegistry r;
  r.ClassKey(root);
  r.SectionKey(section);
  r.ValueKey(value);
  r.ValueType(type);
  return r;
}

std::string Text(const char* s) { return s; }
std::string Z(const std::string& s) { return s + '\0'; }

using StoreBehaviour = StoreTest;

TEST_F(StoreBehaviour, ReportsSizesAndCodesAsTheRegistryDoes) {
  const auto hkcu = st::RootHandle(HKCU);
  st::HKey key = 0;
  EXPECT_EQ(Store().OpenKey(hkcu, "Software\\Nothing", st::KEY_QUERY_VALUE, &key), st::ERROR_FILE_NOT_FOUND);
  bool created = false;
  ASSERT_EQ(Store().CreateKey(hkcu, "Software\\A\\B\\C", st::KEY_SIX_SPECIFIC_RIGHTS, &key, &created), 0);
  EXPECT_TRUE(created);
  ASSERT_EQ(Store().SetValue(key, "v", st::REG_BINARY, reinterpret_cast<const std::uint8_t*>("hello"), 5), 0);
  std::uint32_t type = 0, size = 0;
  EXPECT_EQ(Store().QueryValue(key, "V", &type, nullptr, &size), 0);
  EXPECT_EQ(type, st::REG_BINARY);
  EXPECT_EQ(size, 5u);
  std::uint8_t small[2];
  size = sizeof small;
  EXPECT_EQ(Store().QueryValue(key, "v", &type, small, &size), st::ERROR_MORE_DATA);
  EXPECT_EQ(size, 5u);
  EXPECT_EQ(Store().QueryValue(key, "missing", &type, nullptr, &size), st::ERROR_FILE_NOT_FOUND);
  st::KeyInfo info;
  EXPECT_EQ(Store().QueryInfoKey(key, &info), 0);
  EXPECT_EQ(info.values, 1u);
  EXPECT_EQ(info.sub_keys, 0u);
  char name[16];
  std::uint32_t length = 1;  // no room for the terminator
  EXPECT_EQ(Store().EnumValue(key, 0, name, &length), st::ERROR_MORE_DATA);
  length = sizeof name;
  EXPECT_EQ(Store().EnumValue(key, 0, name, &length), 0);
  EXPECT_EQ(std::string(name, length), "v");
  length = sizeof name;
  EXPECT_EQ(Store().EnumValue(key, 1, name, &length), st::ERROR_NO_MORE_ITEMS);
  EXPECT_EQ(Store().CloseKey(key), 0);
  // The keys above were made; a key with sub-keys cannot be deleted.
  ASSERT_EQ(Store().OpenKey(hkcu, "software\\a", st::KEY_ENUMERATE_SUB_KEYS, &key), 0);
  EXPECT_EQ(Store().EnumKey(key, 0, name, sizeof name), 0);
  EXPECT_STREQ(name, "B");
  EXPECT_EQ(Store().EnumKey(key, 1, name, sizeof name), st::ERROR_NO_MORE_ITEMS);
  EXPECT_EQ(Store().CloseKey(key), 0);
  EXPECT_NE(Store().DeleteKey(hkcu, "Software\\A\\B"), 0);
  EXPECT_EQ(Store().DeleteKey(hkcu, "Software\\A\\B\\C"), 0);
  EXPECT_EQ(Store().DeleteKey(hkcu, "Software\\A\\B\\C"), st::ERROR_FILE_NOT_FOUND);
  EXPECT_EQ(Store().CloseKey(0), st::ERROR_INVALID_HANDLE);
}

TEST_F(StoreBehaviour, ModRegistryKeepsNumbersAndTextsApartAndFallsBackToTheDefault) {
  EXPECT_EQ(modRegistry::RegGetNumber(HKCU, kKey, "N", 77), 77);
  EXPECT_EQ(modRegistry::RegSaveNumber(HKCU, kKey, "N", -5), "Success");
  EXPECT_EQ(GetRaw(HKCU, kKey, "N"), (Raw{st::REG_DWORD, "\xFB\xFF\xFF\xFF"}));
  EXPECT_EQ(modRegistry::RegGetNumber(HKCU, "SOFTWARE\\serenitap\\TEST", "n", 77), -5);  // letter case ignored
  EXPECT_EQ(modRegistry::RegSaveString(HKCU, kKey, "T", "12"), "Success");
  EXPECT_EQ(modRegistry::RegGetNumber(HKCU, kKey, "T", 77), 77);  // text is not converted
  EXPECT_EQ(modRegistry::RegGetString(HKCU, kKey, "N", "d"), "d");
  // The registry adds a zero of its own after the text; the files keep the text.
  EXPECT_THAT(GetRaw(HKCU, kKey, "T"), ::testing::AnyOf(Raw{st::REG_SZ, "12"}, Raw{st::REG_SZ, Z("12")}));
  PutRaw(kKey, "Zero", {st::REG_SZ, Z("0123456789")});
  PutRaw(kKey, "Expand", {st::REG_EXPAND_SZ, Z("abc")});
  EXPECT_EQ(modRegistry::RegGetString(HKCU, kKey, "T", "d"), "12");
  EXPECT_EQ(modRegistry::RegGetString(HKCU, kKey, "Zero", "d"), "0123456789");
  EXPECT_EQ(modRegistry::RegGetString(HKCU, kKey, "Expand", "d"), "d");
  EXPECT_EQ(modRegistry::RegGetString(HKCU, kKey, "Missing", "d"), "d");
  EXPECT_EQ(modRegistry::RegGetString(HKCU, "Software\\Missing", "x", "d"), "d");
}

TEST_F(StoreBehaviour, TextWithTwoSeparatedPercentSignsIsStoredAsExpandable) {
  const std::pair<const char*, std::uint32_t> cases[] = {
      {"%TEMP%\\x", st::REG_EXPAND_SZ}, {"100%", st::REG_SZ}, {"a%%b", st::REG_SZ}, {"%%%", st::REG_EXPAND_SZ}};
  for (const auto& [text, stored_type] : cases) {
    for (const std::int32_t asked : {1, 2}) {
      At(HKCU, kKey, "V", asked).Value(Text(text));
      EXPECT_EQ(GetRaw(HKCU, kKey, "V"), (Raw{stored_type, Z(text)})) << text << " asked as " << asked;
    }
  }
}

TEST_F(StoreBehaviour, ExpandableTextIsReadWithTheEnvironmentExpanded) {
  ScopedEnv temp("TEMP", "C:\\Temp\\Serenitap tests");
  cRegistry r = At(HKCU, kKey, "V", st::REG_SZ);
  r.Value(Text("%TEMP%\\x"));
  r.ValueType(0);
  EXPECT_EQ(r.Value(), RegVariant(Text("C:\\Temp\\Serenitap tests\\x")));
  EXPECT_EQ(r.ValueType(), 2);
  r.Value(Text("100%"));  // ValueType 2 now: still stored as REG_SZ
  EXPECT_EQ(r.Value(), RegVariant(Text("100%")));
  EXPECT_EQ(r.ValueType(), 1);
}

TEST_F(StoreBehaviour, NumbersAreWrittenAsDwordWhicheverDwordTypeIsAsked) {
  for (const std::int32_t asked : {4, 5}) {
    cRegistry r = At(HKCU, kKey, "N", asked);
    r.Value(std::int32_t{0x12345678});
    EXPECT_EQ(GetRaw(HKCU, kKey, "N"), (Raw{st::REG_DWORD, "\x78\x56\x34\x12"}));
    r.ValueType(0);
    EXPECT_EQ(r.Value(), RegVariant(std::int32_t{0x12345678}));
    EXPECT_EQ(r.ValueType(), 4);
    r.ValueType(asked);
    r.Value(std::int16_t{-2});
    EXPECT_EQ(r.Value(), RegVariant(std::int32_t{-2}));
  }
  At(HKCU, kKey, "Text", st::REG_DWORD).Value(Text("12"));  // writes nothing, raises nothing
  EXPECT_EQ(GetRaw(HKCU, kKey, "Text"), std::nullopt);
}

TEST_F(StoreBehaviour, OtherTypesReadByTheirStoredType) {
  PutRaw(kKey, "BE", {st::REG_DWORD_BIG_ENDIAN, "\x12\x34\x56\x78"});
  PutRaw(kKey, "Bin", {st::REG_BINARY, "\x01\x02\xFF"});
  PutRaw(kKey, "Multi", {st::REG_MULTI_SZ, std::string("a\0bc\0\0", 6)});
  PutRaw(kKey, "Odd", {0x42, "\x07"});
  const std::tuple<const char*, RegVariant, std::int32_t> cases[] = {
      {"BE", std::int32_t{0x12345678}, 5},
      {"Bin", RegByteArray{1, 2, 255, 0}, 3},  // one element more than stored
      {"Multi", std::string("a\0bc\0", 5), 7},
      {"Odd", RegByteArray{7, 0}, 0x42}};
  for (const auto& [name, value, type] : cases) {
    cRegistry r = At(HKCU, kKey, name);
    EXPECT_EQ(r.Value(), value) << name;
    EXPECT_EQ(r.ValueType(), type) << name;
  }
  At(HKCU, kKey, "Written", st::REG_BINARY).Value(RegByteArray{9, 8, 7});
  EXPECT_EQ(GetRaw(HKCU, kKey, "Written"), (Raw{st::REG_BINARY, "\x09\x08\x07"}));
  cRegistry missing = At(HKCU, kKey, "Missing", st::REG_BINARY);
  missing.Default(Text("dflt"));
  EXPECT_EQ(missing.Value(), RegVariant(Text("dflt")));
  EXPECT_EQ(missing.ValueType(), 3);
  missing.SectionKey("Software\\No\\Such\\Key");
  EXPECT_EQ(missing.Value(), RegVariant(Text("dflt")));
}

TEST_F(StoreBehaviour, FailuresRaiseWithNumberSourceAndDescription) {
  const std::string source = cRegistry::ErrorSource();
  EXPECT_THAT(source, ::testing::StartsWith("settings_tests"));
  EXPECT_THAT(source, ::testing::EndsWith(".cRegistry"));
  At(HKCU, kKey).CreateKey();
  const std::tuple<std::function<void()>, std::int32_t, std::string> cases[] = {
      {[] { At(HKCU, "A\\B").DeleteKey(); }, 26001, "Failed to delete registry Key: '-2147483647',Section: 'A\\B"},
      {[] { At(HKCU, "Software\\Gone", "v").DeleteValue(); }, 26001,
       "Failed to open key '-2147483647',Section: 'Software\\Gone' for delete access"},
      {[] { At(HKCU, kKey, "v").DeleteValue(); }, 26001,
       "Failed to delete registry Key: '-2147483647',Section: 'Software\\Serenitap\\Test',Key: 'v"},
      {[] { At(0, "X\\Y").CreateKey(); }, 26001, "Failed to create registry Key: 'X\\Y"},
      {[] { At(0, "X\\Y", "v", st::REG_SZ).Value(std::int32_t{42}); }, 26001,
       "Failed to set registry value Key: '0',Section: 'X\\Y',Key: 'v' to value: '42'"},
      {[] { At(HKCU, kKey, "v", 8).Value(Text("x")); }, static_cast<std::int32_t>(0x800469A9u),
       "Failed to set registry value Key: '-2147483647',Section: 'Software\\Serenitap\\Test',Key: 'v' to value: 'x'"},
      {[] { At(HKCU, kKey, "v", st::REG_BINARY).Value(Text("not bytes")); }, 26001,
       "Application-defined or object-defined error"}};
  for (const auto& [raise, number, description] : cases) {
    const RegistryError e = RaisedBy(raise);
    EXPECT_EQ(e.Number(), number) << description;
    EXPECT_EQ(e.Description(), description);
    EXPECT_EQ(e.Source(), source);
  }
  EXPECT_FALSE(At(0, "X\\Y").KeyExists());
  modRegistry::RegSaveNumber(HKCU, kKey, "V", 1);  // other letter case
  EXPECT_TRUE(At(HKCU, kKey, "v").DeleteValue());
  EXPECT_EQ(modRegistry::RegGetNumber(HKCU, kKey, "V", 9), 9);
}

TEST_F(StoreBehaviour, KeysAreCreatedEnumeratedAndDeleted) {
  std::vector<std::string> names{"stale"};
  std::int32_t count = 99;
  cRegistry r = At(HKCU, "Software\\Serenitap\\Deep");
  EXPECT_TRUE(r.EnumerateValues(names, count));
  EXPECT_EQ(count, 0);
  EXPECT_TRUE(names.empty());
  names = {"stale"};
  EXPECT_TRUE(r.EnumerateSections(names, count));
  EXPECT_EQ(count, 0);
  EXPECT_TRUE(names.empty());
  cRegistry child = At(HKCU, "Software\\Serenitap\\Deep\\zeta");
  EXPECT_FALSE(child.KeyExists());
  EXPECT_TRUE(child.CreateKey());
  EXPECT_TRUE(At(HKCU, "SOFTWARE\\SERENITAP\\deep\\ZETA").KeyExists());
  modRegistry::RegSaveNumber(HKCU, r.SectionKey() + "\\Alpha", "x", 1);
  modRegistry::RegSaveNumber(HKCU, r.SectionKey(), "First", 1);
  modRegistry::RegSaveString(HKCU, r.SectionKey(), "Second", "2");
  EXPECT_TRUE(r.EnumerateValues(names, count));
  EXPECT_EQ(count, 2);
  EXPECT_THAT(names, ElementsAre("First", "Second"));
  EXPECT_TRUE(r.EnumerateSections(names, count));
  EXPECT_EQ(count, 2);
  EXPECT_THAT(names, ElementsAre("Alpha", "zeta"));
  EXPECT_THROW(At(HKCU, "Software\\Serenitap").DeleteKey(), RegistryError);  // it has a sub-key
  EXPECT_TRUE(child.DeleteKey());
  EXPECT_FALSE(child.KeyExists());
}

TEST_F(StoreBehaviour, CreateEXEAssociationWritesItsRowsUnderClassesRoot) {
  auto row = [](const std::string& key) {
    cRegistry r = At(HKCR, key);
    r.Default(Text("<none>"));
    return RegVariantText(r.Value());
  };
  cRegistry r = At(HKCU, "", "", st::REG_SZ);
  r.CreateEXEAssociation("C:\\Tools\\tap.exe", "Serenitap.Session", "Tapping session", "tap", 2);
  EXPECT_EQ(r.ClassKey(), HKCR);
  const std::string command = "C:\\Tools\\tap.exe \"%1\"";
  const std::pair<const char*, std::string> rows[] = {{".tap", "Serenitap.Session"},
                                                      {".tap\\shell\\open\\command", command},
                                                      {"Serenitap.Session", "Tapping session"},
                                                      {"Serenitap.Session\\shell\\open\\command", command},
                                                      {"Serenitap.Session\\DefaultIcon", "C:\\Tools\\tap.exe,2"}};
  for (const auto& [key, value] : rows) EXPECT_EQ(row(key), value) << key;
  EXPECT_EQ(GetRaw(HKCR, ".tap\\shell\\open\\command", "")->type, st::REG_SZ);  // one % only
  r.CreateEXEAssociation("a.exe", "Other.Class", "d", "oth");
  EXPECT_EQ(row("Other.Class\\DefaultIcon"), "a.exe,0");
  r.CreateEXEAssociation("b.exe", "Third.Class", "d", "thd", -1);
  EXPECT_EQ(row("Third.Class\\DefaultIcon"), "<none>");
  EXPECT_EQ(SwapEndian(0x01020304), 0x04030201);
}

}  // namespace
}  // namespace serenitap::testing
