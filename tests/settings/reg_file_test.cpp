// The text form of the settings files: what is written for each value, what a
// person may leave in a file, and what is refused with the reason.
#include <gmock/gmock.h>

#include "settings/reg_file.h"
#include "settings/settings_test_support.h"

namespace serenitap::testing {
namespace {

using ::testing::HasSubstr;
constexpr const char* kRoot = "HKEY_CURRENT_USER";

TEST(RegFile, EachValueKeepsItsTypeAndBytes) {
  const std::tuple<const char*, std::uint32_t, std::string, std::string> cases[] = {
      {"Sz", 1, std::string("C:\\Program Files\\\"x\"\0", 21), R"("Sz"="C:\\Program Files\\\"x\"")"},
      {"NoZero", 1, "abc", "\"NoZero\"=hex(1):61,62,63"},
      {"TwoLines", 1, std::string("a\r\nb\0", 5), "\"TwoLines\"=hex(1):61,0d,0a,62,00"},
      {"Empty", 1, std::string("\0", 1), "\"Empty\"=\"\""},
      {"Expand", 2, std::string("%T%\0", 4), "\"Expand\"=hex(2):25,54,25,00"},
      {"Dword", 4, "\x01\x02\x03\xff", "\"Dword\"=dword:ff030201"},
      {"ShortDword", 4, "\x01\x02", "\"ShortDword\"=hex(4):01,02"},
      {"Bin", 3, std::string("\x00\xff", 2), "\"Bin\"=hex:00,ff"},
      {"Type11", 11, "\x01", "\"Type11\"=hex(b):01"},
      {"", 1, std::string("default\0", 8), "@=\"default\""},
      {"Long", 3, std::string(40, '\x41'),
       "\"Long\"=hex:41,41,41,41,41,41,41,41,41,41,41,41,41,41,41,41,41,41,41,41,41,41,\\\n"
       "  41,41,41,41,41,41,41,41,41,41,41,41,41,41,41,41,41,41"}};
  for (const auto& [name, type, data, line] : cases) {
    st::RegKeyNode root;
    root.SubKey("Software").SetValue(name, type, data);
    const std::string text = st::WriteRegFile(root, kRoot);
    EXPECT_THAT(text, HasSubstr("\n" + line + "\n"));
    std::string error;
    const auto back = st::ParseRegFile(text, kRoot, &error);
    ASSERT_TRUE(back) << error;
    const st::RegValueData* v = back->FindSubKey("software")->FindValue(name);
    ASSERT_NE(v, nullptr) << name;
    EXPECT_EQ((Raw{v->type, v->data}), (Raw{type, data}));
  }
}

// As the registry editor exports it: UTF-16 LE with a byte-order mark.
TEST(RegFile, AcceptsWhatAPersonMightLeaveInAnExport) {
  const std::u16string text =
      u"Windows Registry Editor Version 5.00\r\n\r\n; kept by hand\r\n[HKEY_CURRENT_USER\\Software\\Serenitap]  \r\n"
      u"  \"Show\"=dword:0000000A\r\n\"Bytes\"=hex:01,\\\r\n    02\r\n[hkey_current_user\\SOFTWARE\\serenitap]\r\n"
      u"\"show\"=dword:00000001\r\n\"Title\"=\"Gr\u00fc\u00dfe \u07ff\u0800\ufffd \U0001F600\"\r\n";
  std::string file = "\xFF\xFE", error;
  for (const char16_t unit : text) file += {static_cast<char>(unit & 0xFF), static_cast<char>(unit >> 8)};
  const auto root = st::ParseRegFile(file, kRoot, &error);
  ASSERT_TRUE(root) << error;
  const st::RegKeyNode* key = root->FindSubKey("Software")->FindSubKey("Serenitap");
  ASSERT_EQ(key->values.size(), 3u);
  EXPECT_EQ(key->FindValue("Show")->data, std::string("\x01\0\0\0", 4));  // the later line holds
  EXPECT_EQ(key->FindValue("Bytes")->data, "\x01\x02");
  EXPECT_EQ(key->FindValue("Title")->data, Z("Grüße \u07ff\u0800\ufffd 😀"));
}

// The registry editor's older export: its header, text in the Windows code
// page (or already UTF-8), CR LF line ends.
TEST(RegFile, ReadsTheOlderExportInEitherEncoding) {
  const std::pair<const char*, std::string> files[] = {
      {"code page",
       "REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\Software]\r\n\"T\"=\"\x80 \xe9t\xe9\"\r\n\"N\"=dword:00000002\r\n"},
      {"utf-8", "REGEDIT4\n[HKEY_CURRENT_USER\\Software]\n\"T\"=\"\u20ac \u00e9t\u00e9\"\n\"N\"=dword:00000002\n"},
      {"utf-8 marked",
       "\xEF\xBB\xBFREGEDIT4\n[HKEY_CURRENT_USER\\Software]\n\"T\"=\"\u20ac \u00e9t\u00e9\"\n\"N\"=dword:00000002\n"}};
  for (const auto& [name, text] : files) {
    std::string error;
    const auto root = st::ParseRegFile(text, kRoot, &error);
    ASSERT_TRUE(root) << name << ": " << error;
    EXPECT_EQ(root->FindSubKey("Software")->FindValue("T")->data, Z("€ été")) << name;
    EXPECT_EQ(root->FindSubKey("Software")->FindValue("N")->data, std::string("\x02\0\0\0", 4)) << name;
  }
}

TEST(RegFile, RefusesBrokenTextSayingWhichLineAndWhy) {
  const std::string header = "Windows Registry Editor Version 5.00\n[HKEY_CURRENT_USER\\A]\n";
  const std::pair<std::string, const char*> broken[] = {
      {"", "first line"},
      {header + "\"v\"=\"a\0b\"\n", ""},
      {header + "\"v\"=hex:01,02,\\\n", "ends inside a value"},
      {header + std::string(st::kMaxRegFileSize + 1 - header.size(), '\n'), "larger"},  // one byte too many
      {"Windows Registry Editor Version 5.00\n\"v\"=dword:00000001\n", "before the first key"},
      {header + "[HKEY_LOCAL_MACHINE\\Software]\n", ""},
      {header + "[HKEY_CURRENT_USER\\A\\\\B]\n", ""},
      {header + "\"v\"=\"a\\nb\"\n", ""},
      {header + "\"v\"=dword:1234567\n", ""},
      {header + "\"v\"=\"\xff\xfe\"\n", ""},
      {header + "[-HKEY_CURRENT_USER\\Software\\Serenitap]\n", "deletes a key"},
      {header + "\"Left\"=-\n", "deletes a value"},
      {std::string("\xFF\xFEW\0i\0n\0d", 9), "UTF-16"},    // cut inside a character
      {std::string("\xFF\xFE\x00\xD8W\0", 6), "UTF-16"}};  // a lone surrogate
  for (const auto& [text, reason] : broken) {
    std::string error;
    EXPECT_FALSE(st::ParseRegFile(text, kRoot, &error)) << text.substr(0, 80);
    EXPECT_THAT(error, ::testing::AllOf(::testing::StartsWith("line "), HasSubstr(reason)));
  }
}

}  // namespace
}  // namespace serenitap::testing
