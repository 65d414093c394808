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
      {"AtEdge", 3, std::string(40, '\x41'),  // wrapped once its comma reaches column 76
       "\"AtEdge\"=hex:41,41,41,41,41,41,41,41,41,41,41,41,41,41,41,41,41,41,41,41,41,\\\n"
       "  41,41,41,41,41,41,41,41,41,41,41,41,41,41,41,41,41,41,41"}};
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
      {"code page",  // a comment line as long as a line may be (each \xe9 two bytes, with its \r)
       "REGEDIT4\r\n;" + std::string(st::kMaxRegLineLength / 2 - 1, '\xe9') +
           "\r\n[HKEY_CURRENT_USER\\Software]\r\n\"T\"=\"\x80 \xe9t\xe9\"\r\n\"N\"=dword:00000002\r\n"},
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

// Each row: a file and exactly what the user is told, on the third line unless it says another.
TEST(RegFile, RefusesBrokenTextSayingWhichLineAndWhy) {
  const std::string header = "Windows Registry Editor Version 5.00\n[HKEY_CURRENT_USER\\A]\n";
  const std::pair<std::string, std::string> broken[] = {
      {"", "line 1: the first line is not \"Windows Registry Editor Version 5.00\""},
      {header + "\"v\"=\"a\0b\"\n", "a quoted text has no closing quote"},
      {header + "\"v\"=hex:01,02,\\\n", "line 3: the file ends inside a value"},
      {header + std::string(st::kMaxRegFileSize + 1 - header.size(), '\n'),  // one byte too many
       "line 0: the file is larger than the settings store reads"},
      {"REGEDIT4\n" + std::string(st::kMaxRegLineLength / 2, '\x80'),  // each a euro sign of three bytes
       "line 2: the line is longer than the settings store reads"},
      {"Windows Registry Editor Version 5.00\n\"v\"=dword:00000001\n", "line 2: a value stands before the first key"},
      {header + "[HKEY_LOCAL_MACHINE\\Software]\n", "a key lies outside HKEY_CURRENT_USER"},
      {header + "[HKEY_CURRENT_USER\\A\\\\B]\n", "a key path has an empty part"},
      {header + "[HKEY_CURRENT_USER\\A\n", "a key line does not end with ]"},
      {header + "[HKEY_CURRENT_USER\\A\tB]\n", "a key name holds characters a key cannot have"},
      {header + "\"v\"=\"a\\nb\"\n", "a backslash in a quoted text is not followed by \\ or \""},
      {header + "\"v\"=dword:1234567\n", "dword: is not followed by eight hex digits"},
      {header + "\"v\"=\"\xff\xfe\"\n", "a quoted text holds control characters or is not UTF-8"},
      {header + "v=\"x\"\n", "a quoted text was expected"},
      {header + "\"\"=\"x\"\n", "a value name is empty (the default value is written @)"},
      {header + "\"v\" \"x\"\n", "= is missing after a value name"},
      {header + "\"v\"=\"x\" y\n", "text follows a quoted value"},
      {header + "\"v\"=hex(g):01\n", "hex( is not followed by a type number and ):"},
      {header + "\"v\"=42\n", "a value's data is neither a quoted text, dword: nor hex"},
      {header + "\"v\"=hex:1,02\n", "hex data is not pairs of hex digits separated by commas"},
      {header + "\"v\"=hex:01;02\n", "hex data is not pairs of hex digits separated by commas"},
      {header + "[-HKEY_CURRENT_USER\\Software\\Serenitap]\n",
       "a line deletes a key ([-...]), and the settings store does not apply deletions"},
      {header + "\"Left\"=-\n", "a line deletes a value (=-), and the settings store does not apply deletions"},
      {std::string("\xFF\xFEW\0i\0n\0d", 9), "line 1: the file is marked as UTF-16 but is not well-formed UTF-16"},
      {std::string("\xFF\xFE\x00\xD8W\0", 6), "line 1: the file is marked as UTF-16 but is not well-formed UTF-16"}};
  for (const auto& [text, told] : broken) {
    // A broken third line stops the reading: a good line after it changes nothing.
    const bool third = told.rfind("line ", 0) != 0;
    const std::string file = third ? text + "\n\"w\"=dword:00000001\n" : text;
    std::string error;
    EXPECT_FALSE(st::ParseRegFile(file, kRoot, &error)) << file.substr(0, 80);
    EXPECT_EQ(error, third ? "line 3: " + told : told) << file.substr(0, 80);
  }
}

}  // namespace
}  // namespace serenitap::testing
