// Behaviour of the settings store, the same on every backend: the registry on
// Windows and the files elsewhere run this one suite.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdlib>

#include "settings/c_registry.h"
#include "settings/options.h"
#include "settings/registry.h"
#include "settings/settings_fixture.h"
#include "support/recorders.h"

namespace serenitap::testing {
namespace {

namespace st = serenitap::settings;
using ::testing::ElementsAre;

constexpr std::int32_t HKCU = st::HKEY_CURRENT_USER;
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

cRegistry At(std::int32_t root, const std::string& section, const std::string& value = "") {
  cRegistry r;
  r.ClassKey(root);
  r.SectionKey(section);
  r.ValueKey(value);
  return r;
}

using StoreBehaviour = SettingsStoreTest;

// --- The store's own registry rules -------------------------------------------

TEST_P(StoreBehaviour, ReportsSizesAndCodesAsTheRegistryDoes) {
  const auto hkcu = st::RootHandle(HKCU);
  st::HKey key = 0;
  EXPECT_EQ(Store().OpenKey(hkcu, "Software\\Nothing\\Here", st::KEY_QUERY_VALUE, &key), st::ERROR_FILE_NOT_FOUND);
  bool created = false;
  ASSERT_EQ(Store().CreateKey(hkcu, "Software\\A\\B\\C", st::KEY_SIX_SPECIFIC_RIGHTS, &key, &created), 0);
  EXPECT_TRUE(created);
  const std::string data = "hello";
  ASSERT_EQ(Store().SetValue(key, "v", st::REG_BINARY, reinterpret_cast<const std::uint8_t*>(data.data()), 5), 0);

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
  std::uint32_t length = sizeof name;
  EXPECT_EQ(Store().EnumValue(key, 0, name, &length), 0);
  EXPECT_EQ(std::string(name, length), "v");
  length = sizeof name;
  EXPECT_EQ(Store().EnumValue(key, 1, name, &length), st::ERROR_NO_MORE_ITEMS);
  EXPECT_EQ(Store().CloseKey(key), 0);

  // Intermediate keys were made; a key with sub-keys cannot be deleted.
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

// --- modRegistry ----------------------------------------------------------------

TEST_P(StoreBehaviour, NumbersRoundTripAndOtherTypesReadAsTheDefault) {
  EXPECT_EQ(modRegistry::RegGetNumber(HKCU, kKey, "N", 77), 77);
  EXPECT_EQ(modRegistry::RegSaveNumber(HKCU, kKey, "N", -5), "Success");
  EXPECT_EQ(modRegistry::RegGetNumber(HKCU, kKey, "N", 77), -5);
  EXPECT_EQ(modRegistry::RegGetNumber(HKCU, "SOFTWARE\\serenitap\\TEST", "n", 77), -5);  // letter case ignored
  EXPECT_EQ(modRegistry::RegSaveString(HKCU, kKey, "T", "12"), "Success");
  EXPECT_EQ(modRegistry::RegGetNumber(HKCU, kKey, "T", 77), 77);  // text is not converted
  EXPECT_EQ(modRegistry::RegGetString(HKCU, kKey, "N", "dflt"), "dflt");
}

TEST_P(StoreBehaviour, RegSaveStringStoresNoTerminatingZero) {
  EXPECT_EQ(modRegistry::RegSaveString(HKCU, kKey, "S", "0123456789"), "Success");
  std::uint32_t type = 0;
  std::string bytes;
  ASSERT_TRUE(GetRaw(HKCU, kKey, "S", &type, &bytes));
  EXPECT_EQ(type, st::REG_SZ);
  // The registry itself adds the zero that follows the text in memory; the
  // files keep exactly the ten characters. Both read back alike.
  EXPECT_THAT(bytes, ::testing::AnyOf(std::string("0123456789"), std::string("0123456789\0", 11)));
  EXPECT_EQ(modRegistry::RegGetString(HKCU, kKey, "S", "d"), "0123456789");
}

TEST_P(StoreBehaviour, RegGetStringWithAndWithoutTerminatingZero) {
  PutRaw(kKey, "NoZero", st::REG_SZ, "0123456789");
  PutRaw(kKey, "Zero", st::REG_SZ, std::string("0123456789\0", 11));
  PutRaw(kKey, "Expand", st::REG_EXPAND_SZ, std::string("abc\0", 4));
  EXPECT_EQ(modRegistry::RegGetString(HKCU, kKey, "NoZero", "d"), "0123456789");
  EXPECT_EQ(modRegistry::RegGetString(HKCU, kKey, "Zero", "d"), "0123456789");
  EXPECT_EQ(modRegistry::RegGetString(HKCU, kKey, "Expand", "d"), "d");
  EXPECT_EQ(modRegistry::RegGetString(HKCU, kKey, "Missing", "d"), "d");
  EXPECT_EQ(modRegistry::RegGetString(HKCU, "Software\\Missing", "x", "d"), "d");
}

// --- cRegistry: writing and reading by type -----------------------------------------

struct ExpandCase {
  const char* text;
  std::uint32_t stored_type;
};

TEST_P(StoreBehaviour, TextWithTwoSeparatedPercentSignsIsStoredAsExpandable) {
  const ExpandCase cases[] = {
      {"%TEMP%\\x", st::REG_EXPAND_SZ}, {"100%", st::REG_SZ}, {"a%%b", st::REG_SZ},
      {"%X%", st::REG_EXPAND_SZ},       {"%%%", st::REG_EXPAND_SZ}, {"plain", st::REG_SZ},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    for (const std::int32_t asked : {1, 2}) {
      cRegistry r = At(HKCU, kKey, "V");
      r.ValueType(asked);
      r.Value(RegVariant(std::string(c.text)));
      std::uint32_t type = 0;
      std::string bytes;
      ASSERT_TRUE(GetRaw(HKCU, kKey, "V", &type, &bytes));
      EXPECT_EQ(type, c.stored_type);
      EXPECT_EQ(bytes, std::string(c.text) + '\0');
    }
  }
}

TEST_P(StoreBehaviour, ExpandableTextIsReadWithTheEnvironmentExpanded) {
  ScopedEnv temp("TEMP", "C:\\Temp\\Serenitap tests");
  cRegistry r = At(HKCU, kKey, "V");
  r.ValueType(st::REG_SZ);
  r.Value(RegVariant(std::string("%TEMP%\\x")));
  r.ValueType(0);
  EXPECT_EQ(r.Value(), RegVariant(std::string("C:\\Temp\\Serenitap tests\\x")));
  EXPECT_EQ(r.ValueType(), 2);
  r.Value(RegVariant(std::string("100%")));  // ValueType 2 now: still stored as REG_SZ
  EXPECT_EQ(r.Value(), RegVariant(std::string("100%")));
  EXPECT_EQ(r.ValueType(), 1);
}

TEST_P(StoreBehaviour, NumbersWrittenWithEitherDwordTypeReadBackAsDword) {
  for (const std::int32_t asked : {4, 5}) {
    cRegistry r = At(HKCU, kKey, "N");
    r.ValueType(asked);
    r.Value(RegVariant(std::int32_t{0x12345678}));
    r.ValueType(0);
    EXPECT_EQ(r.Value(), RegVariant(std::int32_t{0x12345678}));
    EXPECT_EQ(r.ValueType(), 4);
    r.ValueType(asked);
    r.Value(RegVariant(std::int16_t{-2}));
    EXPECT_EQ(r.Value(), RegVariant(std::int32_t{-2}));
  }
}

TEST_P(StoreBehaviour, BigEndianValuesAreReadWithTheirBytesReversed) {
  PutRaw(kKey, "BE", st::REG_DWORD_BIG_ENDIAN, std::string("\x12\x34\x56\x78", 4));
  cRegistry r = At(HKCU, kKey, "BE");
  EXPECT_EQ(r.Value(), RegVariant(std::int32_t{0x12345678}));
  EXPECT_EQ(r.ValueType(), 5);
  EXPECT_EQ(SwapEndian(0x01020304), 0x04030201);
}

TEST_P(StoreBehaviour, ANumberTypeWithTextWritesNothingAndRaisesNothing) {
  cRegistry r = At(HKCU, kKey, "N");
  r.ValueType(st::REG_DWORD);
  EXPECT_NO_THROW(r.Value(RegVariant(std::string("12"))));
  std::uint32_t type = 0;
  std::string bytes;
  EXPECT_FALSE(GetRaw(HKCU, kKey, "N", &type, &bytes));
  EXPECT_TRUE(r.KeyExists());  // the key itself was created
}

TEST_P(StoreBehaviour, AMissingValueReturnsTheDefaultAndKeepsTheType) {
  cRegistry r = At(HKCU, kKey, "Missing");
  r.Default(RegVariant(std::string("dflt")));
  r.ValueType(st::REG_BINARY);
  EXPECT_EQ(r.Value(), RegVariant(std::string("dflt")));
  EXPECT_EQ(r.ValueType(), 3);
  r.SectionKey("Software\\No\\Such\\Key");
  EXPECT_EQ(r.Value(), RegVariant(std::string("dflt")));
}

TEST_P(StoreBehaviour, BinaryAndOtherTypesReadAsBytesWithOneMoreElement) {
  PutRaw(kKey, "Bin", st::REG_BINARY, std::string("\x01\x02\xFF", 3));
  PutRaw(kKey, "Multi", st::REG_MULTI_SZ, std::string("a\0bc\0\0", 6));
  PutRaw(kKey, "Odd", 0x42, std::string("\x07", 1));
  cRegistry r = At(HKCU, kKey, "Bin");
  EXPECT_EQ(r.Value(), RegVariant(RegByteArray{1, 2, 255, 0}));
  r.ValueKey("Multi");
  EXPECT_EQ(r.Value(), RegVariant(std::string("a\0bc\0", 5)));  // inner zeros stay
  EXPECT_EQ(r.ValueType(), 7);
  r.ValueKey("Odd");
  EXPECT_EQ(r.Value(), RegVariant(RegByteArray{7, 0}));
  EXPECT_EQ(r.ValueType(), 0x42);

  r.ValueKey("Written");
  r.ValueType(st::REG_BINARY);
  r.Value(RegVariant(RegByteArray{9, 8, 7}));
  std::uint32_t type = 0;
  std::string bytes;
  ASSERT_TRUE(GetRaw(HKCU, kKey, "Written", &type, &bytes));
  EXPECT_EQ(type, st::REG_BINARY);
  EXPECT_EQ(bytes, std::string("\x09\x08\x07", 3));
}

// --- cRegistry: errors ---------------------------------------------------------------

TEST_P(StoreBehaviour, DeletingAMissingKeyRaisesWithTheRootAsASignedNumber) {
  cRegistry r = At(HKCU, "A\\B");
  const RegistryError e = RaisedBy([&] { r.DeleteKey(); });
  EXPECT_EQ(e.Number(), 26001);
  EXPECT_EQ(e.Description(), "Failed to delete registry Key: '-2147483647',Section: 'A\\B");
  EXPECT_EQ(e.Source(), cRegistry::ErrorSource());
  EXPECT_THAT(e.Source(), ::testing::EndsWith(".cRegistry"));
  EXPECT_THAT(e.Source(), ::testing::StartsWith("settings_tests"));
}

TEST_P(StoreBehaviour, DeleteValueRaisesForAMissingKeyAndAMissingValue) {
  cRegistry r = At(HKCU, "Software\\Gone", "v");
  RegistryError e = RaisedBy([&] { r.DeleteValue(); });
  EXPECT_EQ(e.Number(), 26001);
  EXPECT_EQ(e.Description(), "Failed to open key '-2147483647',Section: 'Software\\Gone' for delete access");

  r.SectionKey(kKey);
  r.CreateKey();
  e = RaisedBy([&] { r.DeleteValue(); });
  EXPECT_EQ(e.Number(), 26001);
  EXPECT_EQ(e.Description(),
            "Failed to delete registry Key: '-2147483647',Section: 'Software\\Serenitap\\Test',Key: 'v");

  modRegistry::RegSaveNumber(HKCU, kKey, "V", 1);  // other letter case
  EXPECT_TRUE(r.DeleteValue());
  EXPECT_EQ(modRegistry::RegGetNumber(HKCU, kKey, "V", 9), 9);
}

TEST_P(StoreBehaviour, CreatingAKeyUnderNoRootRaises) {
  cRegistry r = At(0, "X\\Y");
  EXPECT_FALSE(r.KeyExists());
  const RegistryError e = RaisedBy([&] { r.CreateKey(); });
  EXPECT_EQ(e.Number(), 26001);
  EXPECT_EQ(e.Description(), "Failed to create registry Key: 'X\\Y");
  EXPECT_EQ(e.Source(), cRegistry::ErrorSource());

  r.ValueKey("v");
  r.ValueType(st::REG_SZ);
  const RegistryError w = RaisedBy([&] { r.Value(RegVariant(std::int32_t{42})); });
  EXPECT_EQ(w.Number(), 26001);
  EXPECT_EQ(w.Description(), "Failed to set registry value Key: '0',Section: 'X\\Y',Key: 'v' to value: '42'");
}

TEST_P(StoreBehaviour, WritesThatCannotBeMadeRaiseTheSetValueError) {
  cRegistry r = At(HKCU, kKey, "v");
  r.ValueType(8);
  const RegistryError e = RaisedBy([&] { r.Value(RegVariant(std::string("x"))); });
  EXPECT_EQ(e.Number(), static_cast<std::int32_t>(0x800469A9u));
  EXPECT_EQ(e.Description(),
            "Failed to set registry value Key: '-2147483647',Section: 'Software\\Serenitap\\Test',Key: 'v' to value: "
            "'x'");
  EXPECT_EQ(e.Source(), cRegistry::ErrorSource());

  r.ValueType(st::REG_BINARY);
  const RegistryError b = RaisedBy([&] { r.Value(RegVariant(std::string("not bytes"))); });
  EXPECT_EQ(b.Number(), 26001);
  EXPECT_EQ(b.Description(), "Application-defined or object-defined error");
}

// --- cRegistry: keys, enumeration, association ------------------------------------------

TEST_P(StoreBehaviour, EnumerationsListNamesAndAMissingKeyGivesNone) {
  std::vector<std::string> names{"stale"};
  std::int32_t count = 99;
  cRegistry r = At(HKCU, "Software\\Absent");
  EXPECT_TRUE(r.EnumerateValues(names, count));
  EXPECT_EQ(count, 0);
  EXPECT_TRUE(names.empty());
  names = {"stale"};
  count = 99;
  EXPECT_TRUE(r.EnumerateSections(names, count));
  EXPECT_EQ(count, 0);
  EXPECT_TRUE(names.empty());

  modRegistry::RegSaveNumber(HKCU, kKey, "First", 1);
  modRegistry::RegSaveString(HKCU, kKey, "Second", "2");
  modRegistry::RegSaveNumber(HKCU, kKey + "\\zeta", "x", 1);
  modRegistry::RegSaveNumber(HKCU, kKey + "\\Alpha", "x", 1);
  r.SectionKey(kKey);
  EXPECT_TRUE(r.EnumerateValues(names, count));
  EXPECT_EQ(count, 2);
  EXPECT_THAT(names, ElementsAre("First", "Second"));
  EXPECT_TRUE(r.EnumerateSections(names, count));
  EXPECT_EQ(count, 2);
  EXPECT_THAT(names, ElementsAre("Alpha", "zeta"));
}

TEST_P(StoreBehaviour, KeysAreCreatedTestedAndDeleted) {
  cRegistry r = At(HKCU, "Software\\Serenitap\\Deep\\Er");
  EXPECT_FALSE(r.KeyExists());
  EXPECT_TRUE(r.CreateKey());
  EXPECT_TRUE(r.KeyExists());
  EXPECT_TRUE(At(HKCU, "SOFTWARE\\SERENITAP\\deep").KeyExists());
  cRegistry parent = At(HKCU, "Software\\Serenitap\\Deep");
  EXPECT_THROW(parent.DeleteKey(), RegistryError);  // it has a sub-key
  EXPECT_TRUE(r.DeleteKey());
  EXPECT_FALSE(r.KeyExists());
  EXPECT_TRUE(parent.DeleteKey());
}

struct AssociationRow {
  std::string key;
  std::string value;
};

std::vector<AssociationRow> Rows(SettingsStoreTest& t, const std::vector<std::string>& keys) {
  std::vector<AssociationRow> rows;
  for (const auto& k : keys) {
    cRegistry r = At(HKCR, k, "");
    r.Default(RegVariant(std::string("<none>")));
    rows.push_back({k, RegVariantText(r.Value())});
  }
  (void)t;
  return rows;
}

TEST_P(StoreBehaviour, CreateEXEAssociationWritesItsRowsUnderClassesRoot) {
  cRegistry r;
  r.ValueType(st::REG_SZ);
  r.CreateEXEAssociation("C:\\Tools\\tap.exe", "Serenitap.Session", "Tapping session", "tap", 2);
  EXPECT_EQ(r.ClassKey(), HKCR);
  const std::vector<std::string> keys = {".tap", ".tap\\shell\\open\\command", "Serenitap.Session",
                                         "Serenitap.Session\\shell\\open\\command", "Serenitap.Session\\DefaultIcon"};
  const auto rows = Rows(*this, keys);
  const std::string command = "C:\\Tools\\tap.exe \"%1\"";
  const std::vector<std::string> expected = {"Serenitap.Session", command, "Tapping session", command,
                                             "C:\\Tools\\tap.exe,2"};
  for (std::size_t i = 0; i < keys.size(); ++i) EXPECT_EQ(rows[i].value, expected[i]) << keys[i];
  std::uint32_t type = 0;
  std::string bytes;
  ASSERT_TRUE(GetRaw(HKCR, ".tap\\shell\\open\\command", "", &type, &bytes));
  EXPECT_EQ(type, st::REG_SZ);  // one % only

  cRegistry other;
  other.ValueType(st::REG_SZ);
  other.CreateEXEAssociation("a.exe", "Other.Class", "d", "oth");
  EXPECT_EQ(Rows(*this, {"Other.Class\\DefaultIcon"})[0].value, "a.exe,0");
  other.CreateEXEAssociation("b.exe", "Third.Class", "d", "thd", -1);
  EXPECT_EQ(Rows(*this, {"Third.Class\\DefaultIcon"})[0].value, "<none>");
}

INSTANTIATE_TEST_SUITE_P(Backends, StoreBehaviour, ::testing::ValuesIn(AvailableBackends()), BackendName);

}  // namespace
}  // namespace serenitap::testing
