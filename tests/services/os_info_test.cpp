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
  EXPECT_EQ(osinfo::FormatGuid({0, 0, 0, {0, 0, 0, 0, 0, 0, 0, 0}}), "{0-0-0-00000000}");
  std::array<std::uint8_t, 16> bytes{};
  for (std::size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<std::uint8_t>(0xF0 + i);
  const GuidValue g = osinfo::GuidFromRandomBytes(bytes);
  EXPECT_EQ(g.data1, 0xF0F1F2F3u);
  EXPECT_EQ(g.data2, 0xF4F5u);
  EXPECT_EQ(g.data3, 0x46F7u);   // version 4
  EXPECT_EQ(g.data4[0], 0xB8u);  // variant 10xx xxxx
  EXPECT_EQ(g.data4[7], 0xFFu);

  for (std::int32_t bits = 0; bits <= 30; ++bits) EXPECT_EQ(osinfo::DisplayColorsFor(bits, 1), 1 << bits);
  EXPECT_EQ(osinfo::DisplayColorsFor(1, 4), 16);
  EXPECT_EQ(osinfo::DisplayColorsFor(32, 1), -1);
  EXPECT_EQ(osinfo::DisplayColorsFor(8, 4), -1);
  for (std::int32_t bits : {31, 33, 64}) EXPECT_THROW(osinfo::DisplayColorsFor(bits, 1), RuntimeFailure) << bits;
  for (std::int32_t dpi : {0, 96, 119, 120, 121, 144}) EXPECT_EQ(osinfo::LargeFontsFor(dpi), dpi == 120) << dpi;

  EXPECT_EQ(osinfo::TrimNulls("name\0\0"s), "name");
  EXPECT_EQ(osinfo::TrimNulls("\0name"s), "");
  EXPECT_EQ(osinfo::TrimNulls("a\0b"s), "a");
  EXPECT_EQ(osinfo::TempFileNameFor("/tmp/", "serenitap", 1), "/tmp/ser1.tmp");
  EXPECT_EQ(osinfo::TempFileNameFor("/tmp/", "", 1), "/tmp/1.tmp");
  EXPECT_EQ(osinfo::TempFileNameFor("/tmp/", "x", 0x12345), "/tmp/x2345.tmp");
  EXPECT_EQ(osinfo::TempFileNameFor("C:\\Temp\\", "\xC3\xA9t\xC3\xA9s", 1), "C:\\Temp\\\xC3\xA9t\xC3\xA9" "1.tmp");

  const std::pair<const char*, const char*> languages[] = {
      {"de_DE.UTF-8", "German"}, {"pt-BR", "Portuguese"}, {"sr_RS@latin", "Serbian"}, {"ZH_cn.GB18030", "Chinese"},
      {"fil_PH", "Filipino"},    {"C", ""},               {"C.UTF-8", ""},           {"xx_YY", ""}};
  for (const auto& [locale, name] : languages) EXPECT_EQ(osinfo::LanguageNameFor(locale), name) << locale;

  const auto wsl = osinfo::ParseKernelRelease("5.15.153.1-microsoft-standard-WSL2");
  EXPECT_EQ(std::tuple(wsl.major, wsl.minor, wsl.patch), std::tuple(5, 15, 153));
  const auto shortRelease = osinfo::ParseKernelRelease("6.8");
  EXPECT_EQ(std::tuple(shortRelease.major, shortRelease.minor, shortRelease.patch), std::tuple(6, 8, 0));
  EXPECT_EQ(osinfo::ParseKernelRelease("rc1").major, 0);

  EXPECT_EQ(osinfo::RegistryValueText(RegistryValue{}), "");
  EXPECT_EQ(osinfo::RegistryValueText(RegistryValue{std::int32_t{-7}}), "-7");
  EXPECT_EQ(osinfo::RegistryValueText(RegistryValue{std::vector<std::uint8_t>{'a', 'b', 0, 'c'}}), "ab");
}

TEST(OSInfo, GuidPropertyGivesFreshWellFormedGuids) {
  MessageBoxRecorder boxes;
  COSInfo info;
  const std::regex form(R"(\{[0-9A-F]{1,8}-[0-9A-F]{1,4}-[0-9A-F]{1,4}-[0-9A-F]{8,16}\})");
  std::set<std::string> seen;
  for (int i = 0; i < 20; ++i) {
    seen.insert(info.GUID());
    EXPECT_TRUE(std::regex_match(info.GUID(), form));
  }
  EXPECT_GE(seen.size(), 20u);
  EXPECT_TRUE(boxes.requests.empty());
}

#ifndef _WIN32
class InstalledScreen {
 public:
  explicit InstalledScreen(std::optional<ScreenFacts> facts)
      : previous_(SetScreenFactsSource([facts] { return facts; })) {}
  ~InstalledScreen() { SetScreenFactsSource(previous_); }

 private:
  ScreenFactsSource previous_;
};

TEST(OSInfo, ScreenPropertiesComeFromTheScreenAndOverflowUnderTheMembersName) {
  MessageBoxRecorder boxes;
  std::int16_t left = -1, top = -1, width = -1, height = -1;
  {
    InstalledScreen screen(ScreenFacts{24, 1, 120, 0, 27, 1920, 1080});
    COSInfo info;
    EXPECT_EQ(info.DisplayColors(), 16777216);
    EXPECT_TRUE(info.LargeFonts());
    info.GetWorkArea(left, top, width, height);
    EXPECT_EQ(std::tuple(left, top, width, height), std::tuple(0, 27, 1920, 1053));
  }
  {
    InstalledScreen screen(std::nullopt);
    COSInfo info;
    EXPECT_EQ(info.DisplayColors(), 0);
    EXPECT_FALSE(info.LargeFonts());
    info.GetWorkArea(left, top, width, height);
    EXPECT_EQ(std::tuple(left, top, width, height), std::tuple(0, 0, 0, 0));
  }
  EXPECT_TRUE(boxes.requests.empty());
  InstalledScreen screen(ScreenFacts{48, 1, 96, -100, 0, 40000, 2000});
  COSInfo info;
  EXPECT_EQ(info.DisplayColors(), 0);
  left = top = width = height = 1;
  info.GetWorkArea(left, top, width, height);
  EXPECT_EQ(std::tuple(left, top, width, height), std::tuple(-100, 0, 1, 1));  // 40100 does not fit
  ASSERT_EQ(boxes.requests.size(), 2u);
  EXPECT_EQ(boxes.requests[0].text, "Error: 6. Overflow");
  EXPECT_EQ(boxes.requests[0].title, "DisplayColors");
  EXPECT_EQ(boxes.requests[1].title, "GetWorkArea");
}

class ScopedVariable {
 public:
  ScopedVariable(const char* name, const char* value) : name_(name) {
    if (const char* old = std::getenv(name)) old_ = old;
    value ? ::setenv(name, value, 1) : ::unsetenv(name);
  }
  ~ScopedVariable() { old_ ? ::setenv(name_, old_->c_str(), 1) : ::unsetenv(name_); }

 private:
  const char* name_;
  std::optional<std::string> old_;
};

TEST(OSInfo, TempFileIsNamedInTheTempFolderWithoutCreatingIt) {
  testing::TempFolder folder;
  ScopedVariable tmpdir("TMPDIR", (folder.Path().string() + "/").c_str());
  MessageBoxRecorder boxes;
  COSInfo info;
  EXPECT_EQ(info.TempPath(), folder.Path().string() + "/");
  const std::string first = info.TempFile("stp");
  EXPECT_EQ(first, folder / "stp1.tmp");
  EXPECT_EQ(info.TempFile("stp"), first);
  EXPECT_NE(info.TempFile("xyz"), first);
  EXPECT_TRUE(std::filesystem::is_empty(folder.Path()));
  EXPECT_TRUE(boxes.requests.empty());
}

TEST(OSInfo, SystemFactsAreFilledInAndWhatTheDesktopLacksGivesTheFailedCallAnswers) {
  MessageBoxRecorder boxes;
  COSInfo info;
  EXPECT_FALSE(info.ComputerName().empty());
  EXPECT_FALSE(info.UserName().empty());
  EXPECT_EQ(info.WindowsDirectory(), "/usr");
  EXPECT_EQ(info.SystemDirectory(), "/usr/bin");
  EXPECT_GT(info.OSMajorVersion(), 0);
  EXPECT_GE(info.OSBuild(), 0);
  EXPECT_LE(info.OSBuild(), 0x7FFF);
  EXPECT_LE(info.OSAdditional().size(), 127u);
  info.Beep(true);
  EXPECT_FALSE(info.Beep());
  info.ScreenSaverActive(true);
  EXPECT_FALSE(info.ScreenSaverActive());
  info.ScreenSaverTimeout(600);
  EXPECT_EQ(info.ScreenSaverTimeout(), 0);
  EXPECT_EQ(info.CurrentHardwareProfile(), "");
  EXPECT_EQ(info.DefaultCompanyName(), "");
  EXPECT_EQ(info.WindowsType(), 0);
  const std::string name = info.ComputerName();
  info.ComputerName("renamed-by-a-test");
  EXPECT_EQ(info.ComputerName(), name);
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
