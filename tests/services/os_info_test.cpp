// COSInfo: the rules behind its properties, and the properties themselves
// where the platform answers something checkable.
#include "services/os_info.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <optional>
#include <regex>
#include <set>
#include <string>

#include "services/failure.h"
#include "support/recorders.h"
#include "support/temp_folder.h"

namespace serenitap {
namespace {

using testing::MessageBoxRecorder;
using namespace std::string_literals;

TEST(OSInfoRules, GuidsColoursFontsNamesAndVersions) {
  EXPECT_EQ(osinfo::FormatGuid({0x0000ABCD, 0x0012, 0x0003, {0x00, 0x0A, 0xBC, 0x01, 0x10, 0xFF, 0x00, 0x07}}),
            "{ABCD-12-3-0ABC110FF07}");
  std::array<std::uint8_t, 16> bytes{};
  for (std::size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<std::uint8_t>(0xF0 + i);
  const GuidValue g = osinfo::GuidFromRandomBytes(bytes);  // version 4, variant 10xx xxxx
  EXPECT_EQ(std::tuple(g.data1, g.data2, g.data3, g.data4[0], g.data4[7]),
            std::tuple(0xF0F1F2F3u, 0xF4F5u, 0x46F7u, 0xB8u, 0xFFu));

  for (std::int32_t bits : {1, 8, 24, 30}) EXPECT_EQ(osinfo::DisplayColorsFor(bits, 1), 1 << bits);
  EXPECT_EQ(osinfo::DisplayColorsFor(1, 4), 16);
  EXPECT_EQ(osinfo::DisplayColorsFor(32, 1), -1);
  EXPECT_EQ(osinfo::DisplayColorsFor(8, 4), -1);
  for (std::int32_t bits : {31, 33}) EXPECT_THROW(osinfo::DisplayColorsFor(bits, 1), RuntimeFailure) << bits;
  for (std::int32_t dpi : {96, 119, 120, 121}) EXPECT_EQ(osinfo::LargeFontsFor(dpi), dpi == 120) << dpi;

  EXPECT_EQ(osinfo::TrimNulls("name\0\0b"s), "name");
  EXPECT_EQ(osinfo::TrimNulls("\0name"s), "");
  EXPECT_EQ(osinfo::TempFileNameFor("/tmp/", "serenitap", 1), "/tmp/ser1.tmp");
  EXPECT_EQ(osinfo::TempFileNameFor("/tmp/", "x", 0x12345), "/tmp/x2345.tmp");
  EXPECT_EQ(osinfo::TempFileNameFor("C:\\T\\", "\xC3\xA9t\xC3\xA9s", 1), "C:\\T\\\xC3\xA9t\xC3\xA9" "1.tmp");

  const std::pair<const char*, const char*> languages[] = {
      {"de_DE.UTF-8", "German"}, {"pt-BR", "Portuguese"}, {"ZH_cn.GB18030", "Chinese"}, {"C.UTF-8", ""}, {"xx_YY", ""}};
  for (const auto& [locale, name] : languages) EXPECT_EQ(osinfo::LanguageNameFor(locale), name) << locale;

  const auto wsl = osinfo::ParseKernelRelease("5.15.153.1-microsoft-standard-WSL2");
  EXPECT_EQ(std::tuple(wsl.major, wsl.minor, wsl.patch), std::tuple(5, 15, 153));
  EXPECT_EQ(osinfo::ParseKernelRelease("6.8").patch, 0);

  EXPECT_EQ(osinfo::RegistryValueText(RegistryValue{}), "");
  EXPECT_EQ(osinfo::RegistryValueText(RegistryValue{std::int32_t{-7}}), "-7");
  EXPECT_EQ(osinfo::RegistryValueText(RegistryValue{std::vector<std::uint8_t>{'a', 'b', 0, 'c'}}), "ab");
}

#ifndef _WIN32
struct InstalledScreen {
  explicit InstalledScreen(std::optional<ScreenFacts> facts) : previous(SetScreenFactsSource([facts] { return facts; })) {}
  ~InstalledScreen() { SetScreenFactsSource(previous); }
  ScreenFactsSource previous;
};

std::tuple<int, int, int, int> WorkArea(std::int16_t start = 1) {
  std::int16_t left = start, top = start, width = start, height = start;
  COSInfo().GetWorkArea(left, top, width, height);
  return {left, top, width, height};
}

TEST(OSInfo, ScreenPropertiesComeFromTheScreenAndOverflowUnderTheMembersName) {
  MessageBoxRecorder boxes;
  {
    InstalledScreen screen(ScreenFacts{24, 1, 120, 0, 27, 1920, 1080});
    EXPECT_EQ(COSInfo().DisplayColors(), 16777216);
    EXPECT_TRUE(COSInfo().LargeFonts());
    EXPECT_EQ(WorkArea(), std::tuple(0, 27, 1920, 1053));
  }
  {
    InstalledScreen screen(std::nullopt);
    EXPECT_EQ(COSInfo().DisplayColors(), 0);
    EXPECT_FALSE(COSInfo().LargeFonts());
    EXPECT_EQ(WorkArea(), std::tuple(0, 0, 0, 0));
  }
  EXPECT_TRUE(boxes.requests.empty());
  InstalledScreen screen(ScreenFacts{48, 1, 96, -100, 0, 40000, 2000});
  EXPECT_EQ(COSInfo().DisplayColors(), 0);
  EXPECT_EQ(WorkArea(), std::tuple(-100, 0, 1, 1));  // a width of 40100 does not fit
  ASSERT_EQ(boxes.requests.size(), 2u);
  EXPECT_EQ(boxes.requests[0].text, "Error: 6. Overflow");
  EXPECT_EQ(boxes.requests[0].title, "DisplayColors");
  EXPECT_EQ(boxes.requests[1].title, "GetWorkArea");
}

struct ScopedVariable {
  ScopedVariable(const char* name, const char* value) : name(name) {
    if (const char* was = std::getenv(name)) old = was;
    value ? ::setenv(name, value, 1) : ::unsetenv(name);
  }
  ~ScopedVariable() { old ? ::setenv(name, old->c_str(), 1) : ::unsetenv(name); }
  const char* name;
  std::optional<std::string> old;
};

TEST(OSInfo, SystemFactsTempFilesGuidsAndWhatTheDesktopLacks) {
  testing::TempFolder folder;
  ScopedVariable tmpdir("TMPDIR", (folder.Path().string() + "/").c_str());
  MessageBoxRecorder boxes;
  COSInfo info;
  EXPECT_EQ(info.TempPath(), folder.Path().string() + "/");
  EXPECT_EQ(info.TempFile("stp"), folder / "stp1.tmp");
  EXPECT_EQ(info.TempFile("stp"), info.TempFile("stp"));
  EXPECT_NE(info.TempFile("xyz"), info.TempFile("stp"));
  EXPECT_TRUE(std::filesystem::is_empty(folder.Path()));  // named, not created

  std::set<std::string> guids;
  for (int i = 0; i < 10; ++i) guids.insert(info.GUID());
  EXPECT_EQ(guids.size(), 10u);
  EXPECT_TRUE(std::regex_match(*guids.begin(), std::regex(R"(\{[0-9A-F]{1,8}-[0-9A-F]{1,4}-[0-9A-F]{1,4}-[0-9A-F]{8,16}\})")));

  EXPECT_FALSE(info.ComputerName().empty());
  EXPECT_FALSE(info.UserName().empty());
  EXPECT_EQ(info.WindowsDirectory(), "/usr");
  EXPECT_EQ(info.SystemDirectory(), "/usr/bin");
  EXPECT_GT(info.OSMajorVersion(), 0);
  EXPECT_GE(info.OSMinorVersion(), 0);
  EXPECT_GE(info.OSBuild(), 0);
  EXPECT_LE(info.OSBuild(), 0x7FFF);
  EXPECT_LE(info.OSAdditional().size(), 127u);
  info.Beep(true);
  info.ScreenSaverActive(true);
  info.ScreenSaverTimeout(600);
  const std::string name = info.ComputerName();
  info.ComputerName("renamed-by-a-test");
  EXPECT_EQ(std::tuple(info.Beep(), info.ScreenSaverActive(), info.ScreenSaverTimeout(), info.ComputerName()),
            std::tuple(false, false, 0, name));
  EXPECT_EQ(info.CurrentHardwareProfile() + info.DefaultCompanyName(), "");
  EXPECT_EQ(info.WindowsType(), 0);
  info.DefaultUserName();
  EXPECT_TRUE(boxes.requests.empty());

  ScopedVariable all("LC_ALL", nullptr), messages("LC_MESSAGES", ""), lang("LANG", "it_IT.UTF-8");
  EXPECT_EQ(COSInfo().Language(), "Italian");
  ::setenv("LC_MESSAGES", "sv_SE.UTF-8", 1);
  EXPECT_EQ(COSInfo().Language(), "Swedish");
  ::setenv("LC_ALL", "C", 1);
  EXPECT_EQ(COSInfo().Language(), "");
}
#endif

}  // namespace
}  // namespace serenitap
