// COSInfo: the rules behind its properties, and the language and temporary
// folder it takes from the environment.
#include "kit/services/os_info.h"

#include <gtest/gtest.h>

#include "services/failure.h"
#include "support/scoped_environment.h"

namespace serenitap {
namespace {

using serenitap::testing::ScopedEnvironment;

using namespace std::string_literals;

TEST(OSInfoRules, GuidsColoursFontsNamesAndVersions) {
  EXPECT_EQ(osinfo::FormatGuid({0xABCD, 0x12, 0x3, {0x00, 0x0A, 0xBC, 0x01, 0x10, 0xFF, 0x00, 0x07}}),
            "{ABCD-12-3-0ABC110FF07}");
  std::array<std::uint8_t, 16> bytes{};
  for (std::size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<std::uint8_t>(0xF0 + i);
  const GuidValue g = osinfo::GuidFromRandomBytes(bytes);  // version 4, variant 10xx xxxx
  EXPECT_EQ(std::tuple(g.data1, g.data2, g.data3, g.data4[0], g.data4[7]),
            std::tuple(0xF0F1F2F3u, 0xF4F5u, 0x46F7u, 0xB8u, 0xFFu));

  for (const auto& [bits, planes, colours] :
       {std::tuple{8, 1, 256}, {30, 1, 1 << 30}, {1, 4, 16}, {32, 1, -1}, {8, 4, -1}})
    EXPECT_EQ(osinfo::DisplayColorsFor(bits, planes), colours) << bits << 'x' << planes;
  EXPECT_THROW(osinfo::DisplayColorsFor(31, 1), RuntimeFailure);
  for (std::int32_t dpi : {96, 119, 120, 121}) EXPECT_EQ(osinfo::LargeFontsFor(dpi), dpi == 120) << dpi;

  EXPECT_EQ(osinfo::TrimNulls("name\0\0b"s) + osinfo::TrimNulls("\0name"s), "name");
  EXPECT_EQ(osinfo::TempFileNameFor("/tmp/", "serenitap", 0x12345), "/tmp/ser2345.tmp");
  EXPECT_EQ(osinfo::TempFileNameFor("C:\\T\\", "\xC3\xA9t\xC3\xA9s", 1),
            "C:\\T\\\xC3\xA9t\xC3\xA9"
            "1.tmp");
  const auto wsl = osinfo::ParseKernelRelease("5.15.153.1-microsoft-standard-WSL2");
  EXPECT_EQ(std::tuple(wsl.major, wsl.minor, wsl.patch, osinfo::ParseKernelRelease("6.8").patch),
            std::tuple(5, 15, 153, 0));
  EXPECT_EQ(osinfo::RegistryValueText(-7) + osinfo::RegistryValueText(std::vector<std::uint8_t>{'a', 'b', 0, 'c'}),
            "-7ab");
}

#ifndef _WIN32
TEST(OSInfo, TheLanguageAndTheTemporaryFolderFollowTheEnvironment) {
  ScopedEnvironment environment;
  const std::tuple<const char*, const char*, const char*, std::string> languages[] = {
      // LC_ALL, LC_MESSAGES, LANG
      {"it_IT.UTF-8", "de_DE.UTF-8", "fr_FR.UTF-8", "Italian"},
      {"", "de_DE.UTF-8", "fr_FR.UTF-8", "German"},
      {nullptr, "", "fr_FR.UTF-8", "French"},
      {nullptr, nullptr, "pt_BR", "Portuguese"},
      {"C", "de_DE.UTF-8", "fr_FR.UTF-8", ""},  // set, so the others are not asked
      {nullptr, nullptr, nullptr, ""}};
  for (const auto& [all, messages, lang, name] : languages) {
    environment.Set("LC_ALL", all);
    environment.Set("LC_MESSAGES", messages);
    environment.Set("LANG", lang);
    EXPECT_EQ(COSInfo().Language(), name) << (all ? all : "unset") << ", " << (messages ? messages : "unset");
  }
  const std::pair<const char*, std::string> folders[] = {
      {"/var/scratch", "/var/scratch/"}, {"/var/scratch/", "/var/scratch/"}, {"", "/tmp/"}, {nullptr, "/tmp/"}};
  for (const auto& [tmpdir, path] : folders) {
    environment.Set("TMPDIR", tmpdir);
    EXPECT_EQ(COSInfo().TempPath() + " " + COSInfo().TempFile("serenitap"), path + " " + path + "ser1.tmp")
        << (tmpdir ? tmpdir : "unset");
  }
}
#endif

}  // namespace
}  // namespace serenitap
