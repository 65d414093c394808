// COSInfo: the rules behind its properties as tables, and the properties
// themselves where the platform answers something checkable.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <map>
#include <ostream>
#include <regex>
#include <set>
#include <string>

#include "services/failure.h"
#include "services/os_info.h"
#include "support/recorders.h"
#include "temp_folder.h"

namespace serenitap {
namespace {

using testing::MessageBoxRecorder;
using testing::TempFolder;

// --- GUID --------------------------------------------------------------------

struct GuidCase {
  GuidValue guid;
  std::string text;
};

void PrintTo(const GuidCase& c, std::ostream* os) { *os << c.text; }

class OSInfoFormatGuid : public ::testing::TestWithParam<GuidCase> {};

TEST_P(OSInfoFormatGuid, UpperCaseHexWithoutLeadingZerosOrTheLastDash) {
  EXPECT_EQ(osinfo::FormatGuid(GetParam().guid), GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(OSInfoTable, OSInfoFormatGuid,
    ::testing::Values(
        GuidCase{{0x0000ABCD, 0x0012, 0x0003, {0x00, 0x0A, 0xBC, 0x01, 0x10, 0xFF, 0x00, 0x07}},
                 "{ABCD-12-3-0ABC110FF07}"},
        GuidCase{{0x6B29FC40, 0xCA47, 0x1067, {0xB3, 0x1D, 0x00, 0xDD, 0x01, 0x06, 0x62, 0xDA}},
                 "{6B29FC40-CA47-1067-B31D0DD1662DA}"},
        GuidCase{{0, 0, 0, {0, 0, 0, 0, 0, 0, 0, 0}}, "{0-0-0-00000000}"},
        GuidCase{{0xFFFFFFFF, 0xFFFF, 0xFFFF, {0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF}},
                 "{FFFFFFFF-FFFF-FFFF-FFFFFFFFFFFFFFFF}"}));

TEST(OSInfoGuid, RandomBytesGiveAVersionFourGuid) {
  std::array<std::uint8_t, 16> bytes{};
  for (std::size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<std::uint8_t>(0xF0 + i);
  const GuidValue g = osinfo::GuidFromRandomBytes(bytes);
  EXPECT_EQ(g.data1, 0xF0F1F2F3u);
  EXPECT_EQ(g.data2, 0xF4F5u);
  EXPECT_EQ(g.data3, 0x46F7u);      // version 4
  EXPECT_EQ(g.data4[0], 0xB8u);     // variant 10xx xxxx
  EXPECT_EQ(g.data4[7], 0xFFu);
}

TEST(OSInfoGuid, PropertyGivesFreshWellFormedGuids) {
  MessageBoxRecorder boxes;
  COSInfo info;
  const std::regex form(R"(\{[0-9A-F]{1,8}-[0-9A-F]{1,4}-[0-9A-F]{1,4}-[0-9A-F]{8,16}\})");
  std::set<std::string> seen;
  for (int i = 0; i < 20; ++i) {
    const std::string guid = info.GUID();
    EXPECT_TRUE(std::regex_match(guid, form)) << guid;
    seen.insert(guid);
  }
  EXPECT_EQ(seen.size(), 20u);
  EXPECT_TRUE(boxes.requests.empty());
}

// --- screen ------------------------------------------------------------------

struct ColoursCase {
  std::int32_t bits, planes, colours;
};

void PrintTo(const ColoursCase& c, std::ostream* os) { *os << c.bits << " bits x " << c.planes; }

class OSInfoDisplayColorsTable : public ::testing::TestWithParam<ColoursCase> {};

TEST_P(OSInfoDisplayColorsTable, TwoToThePowerOfTheDepth) {
  EXPECT_EQ(osinfo::DisplayColorsFor(GetParam().bits, GetParam().planes), GetParam().colours);
}

INSTANTIATE_TEST_SUITE_P(OSInfoTable, OSInfoDisplayColorsTable,
                         ::testing::Values(ColoursCase{1, 1, 2}, ColoursCase{4, 1, 16}, ColoursCase{1, 4, 16},
                                           ColoursCase{8, 1, 256}, ColoursCase{16, 1, 65536},
                                           ColoursCase{24, 1, 16777216}, ColoursCase{30, 1, 1073741824},
                                           ColoursCase{32, 1, -1}, ColoursCase{8, 4, -1}, ColoursCase{0, 1, 1}));

TEST(OSInfoDisplayColors, DepthsBeyondThirtyTwoBitsOverflow) {
  for (const std::int32_t bits : {31, 33, 48, 64}) {
    try {
      osinfo::DisplayColorsFor(bits, 1);
      ADD_FAILURE() << bits << " did not overflow";
    } catch (const RuntimeFailure& failure) {
      EXPECT_EQ(failure.Number(), 6) << bits;
    }
  }
}

TEST(OSInfoLargeFonts, OnlyAtOneHundredTwentyDotsPerInch) {
  const std::map<std::int32_t, bool> table = {{96, false}, {119, false}, {120, true}, {121, false}, {144, false},
                                              {192, false}, {0, false}};
  for (const auto& [dpi, large] : table) EXPECT_EQ(osinfo::LargeFontsFor(dpi), large) << dpi;
}

// Installs screen facts for one test.
class InstalledScreen {
 public:
  explicit InstalledScreen(std::optional<ScreenFacts> facts)
      : previous_(SetScreenFactsSource([facts] { return facts; })) {}
  ~InstalledScreen() { SetScreenFactsSource(previous_); }

 private:
  ScreenFactsSource previous_;
};

#ifndef _WIN32
TEST(OSInfoScreen, ComeFromTheInstalledScreenFacts) {
  MessageBoxRecorder boxes;
  InstalledScreen screen(ScreenFacts{24, 1, 120, 0, 27, 1920, 1080});
  COSInfo info;
  EXPECT_EQ(info.DisplayColors(), 16777216);
  EXPECT_TRUE(info.LargeFonts());
  std::int16_t left = -1, top = -1, width = -1, height = -1;
  info.GetWorkArea(left, top, width, height);
  EXPECT_EQ(left, 0);
  EXPECT_EQ(top, 27);
  EXPECT_EQ(width, 1920);
  EXPECT_EQ(height, 1053);
  EXPECT_TRUE(boxes.requests.empty());
}

TEST(OSInfoScreen, WithoutScreenFactsGiveTheFailedCallAnswers) {
  MessageBoxRecorder boxes;
  InstalledScreen screen(std::nullopt);
  COSInfo info;
  EXPECT_EQ(info.DisplayColors(), 0);
  EXPECT_FALSE(info.LargeFonts());
  std::int16_t left = 5, top = 5, width = 5, height = 5;
  info.GetWorkArea(left, top, width, height);
  EXPECT_EQ(left + top + width + height, 0);
  EXPECT_TRUE(boxes.requests.empty());
}

TEST(OSInfoScreen, OverflowIsShownUnderTheMembersNameAndKeepsWhatWasSet) {
  MessageBoxRecorder boxes;
  InstalledScreen screen(ScreenFacts{48, 1, 96, -100, 0, 40000, 2000});
  COSInfo info;
  EXPECT_EQ(info.DisplayColors(), 0);
  std::int16_t left = 1, top = 1, width = 1, height = 1;
  info.GetWorkArea(left, top, width, height);
  EXPECT_EQ(left, -100);
  EXPECT_EQ(top, 0);
  EXPECT_EQ(width, 1);  // 40100 does not fit: left as it was
  EXPECT_EQ(height, 1);
  ASSERT_EQ(boxes.requests.size(), 2u);
  EXPECT_EQ(boxes.requests[0].text, "Error: 6. Overflow");
  EXPECT_EQ(boxes.requests[0].title, "DisplayColors");
  EXPECT_EQ(boxes.requests[1].text, "Error: 6. Overflow");
  EXPECT_EQ(boxes.requests[1].title, "GetWorkArea");
  EXPECT_EQ(boxes.requests[1].buttons, MsgButtons::Ok);
}
#endif

// --- texts -------------------------------------------------------------------

TEST(OSInfoTrimNulls, CutsAtTheFirstZero) {
  using namespace std::string_literals;
  const std::map<std::string, std::string> table = {
      {"name\0\0\0"s, "name"}, {"\0name"s, ""}, {"whole"s, "whole"}, {""s, ""}, {"a\0b\0"s, "a"}, {"\0"s, ""},
  };
  for (const auto& [text, expected] : table) EXPECT_EQ(osinfo::TrimNulls(text), expected);
}

struct TempNameCase {
  std::string path, prefix;
  std::uint32_t unique;
  std::string name;
};

void PrintTo(const TempNameCase& c, std::ostream* os) { *os << c.name; }

class OSInfoTempFileName : public ::testing::TestWithParam<TempNameCase> {};

TEST_P(OSInfoTempFileName, FolderPrefixAndNumber) {
  const TempNameCase& c = GetParam();
  EXPECT_EQ(osinfo::TempFileNameFor(c.path, c.prefix, c.unique), c.name);
}

INSTANTIATE_TEST_SUITE_P(OSInfoTable, OSInfoTempFileName,
                         ::testing::Values(TempNameCase{"/tmp/", "stp", 1, "/tmp/stp1.tmp"},
                                           TempNameCase{"/tmp/", "serenitap", 1, "/tmp/ser1.tmp"},
                                           TempNameCase{"/tmp/", "", 1, "/tmp/1.tmp"},
                                           TempNameCase{"/tmp/", "ab", 0xBEEF, "/tmp/abBEEF.tmp"},
                                           TempNameCase{"/tmp/", "x", 0x12345, "/tmp/x2345.tmp"},
                                           TempNameCase{"C:\\Temp\\", "\xC3\xA9t\xC3\xA9s", 1,
                                                        "C:\\Temp\\\xC3\xA9t\xC3\xA9" "1.tmp"}));

#ifndef _WIN32
// Points TMPDIR at a folder for one test.
class TempDirVariable {
 public:
  explicit TempDirVariable(const std::string& value) {
    if (const char* old = std::getenv("TMPDIR")) old_ = old;
    ::setenv("TMPDIR", value.c_str(), 1);
  }
  ~TempDirVariable() {
    if (old_) {
      ::setenv("TMPDIR", old_->c_str(), 1);
    } else {
      ::unsetenv("TMPDIR");
    }
  }

 private:
  std::optional<std::string> old_;
};

TEST(OSInfoTempFile, SamePrefixSameNameInTheTempFolderAndNoFileCreated) {
  TempFolder folder;
  TempDirVariable tmpdir(folder.Path().string());
  MessageBoxRecorder boxes;
  COSInfo info;
  EXPECT_EQ(info.TempPath(), folder.Path().string() + "/");
  const std::string first = info.TempFile("stp");
  EXPECT_EQ(first, folder.Path().string() + "/stp1.tmp");
  EXPECT_EQ(info.TempFile("stp"), first);
  EXPECT_NE(info.TempFile("xyz"), first);
  EXPECT_TRUE(std::filesystem::is_empty(folder.Path()));
  EXPECT_TRUE(boxes.requests.empty());
}

TEST(OSInfoTempPath, KeepsASingleTrailingSlash) {
  TempFolder folder;
  TempDirVariable tmpdir(folder.Path().string() + "/");
  EXPECT_EQ(COSInfo().TempPath(), folder.Path().string() + "/");
}
#endif

TEST(OSInfoLanguage, EnglishNameOfTheLocalesLanguage) {
  const std::map<std::string, std::string> table = {
      {"de_DE.UTF-8", "German"}, {"en_US.UTF-8", "English"}, {"fr_CA", "French"}, {"pt-BR", "Portuguese"},
      {"sr_RS@latin", "Serbian"}, {"ZH_cn.GB18030", "Chinese"}, {"fil_PH", "Filipino"}, {"nb_NO.UTF-8", "Norwegian"},
      {"C", ""}, {"POSIX", ""}, {"C.UTF-8", ""}, {"", ""}, {"xx_YY", ""},
  };
  for (const auto& [locale, name] : table) EXPECT_EQ(osinfo::LanguageNameFor(locale), name) << locale;
}

TEST(OSInfoKernelRelease, LeadingNumbersAreTheVersion) {
  struct Case {
    std::string release;
    std::int32_t major, minor, patch;
  };
  for (const Case& c : {Case{"6.1.0-18-amd64", 6, 1, 0}, Case{"5.15.153.1-microsoft-standard-WSL2", 5, 15, 153},
                        Case{"6.8", 6, 8, 0}, Case{"4", 4, 0, 0}, Case{"", 0, 0, 0}, Case{"rc1", 0, 0, 0},
                        Case{"3.10.0-1160.el7.x86_64", 3, 10, 0}}) {
    const auto v = osinfo::ParseKernelRelease(c.release);
    EXPECT_EQ(v.major, c.major) << c.release;
    EXPECT_EQ(v.minor, c.minor) << c.release;
    EXPECT_EQ(v.patch, c.patch) << c.release;
  }
}

TEST(OSInfoRegistryValueText, EveryKindAsText) {
  EXPECT_EQ(osinfo::RegistryValueText(RegistryValue{}), "");
  EXPECT_EQ(osinfo::RegistryValueText(RegistryValue{std::string("Quorvex")}), "Quorvex");
  EXPECT_EQ(osinfo::RegistryValueText(RegistryValue{std::int32_t{-7}}), "-7");
  EXPECT_EQ(osinfo::RegistryValueText(RegistryValue{std::vector<std::uint8_t>{'a', 'b', 0, 'c'}}), "ab");
}

// --- the platform's answers --------------------------------------------------

#ifndef _WIN32
TEST(OSInfoPosix, SettingsTheDesktopDoesNotHaveGiveTheFailedCallAnswers) {
  MessageBoxRecorder boxes;
  COSInfo info;
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
}

TEST(OSInfoPosix, SystemFactsAreFilledIn) {
  MessageBoxRecorder boxes;
  COSInfo info;
  EXPECT_FALSE(info.ComputerName().empty());
  EXPECT_EQ(info.ComputerName().find('\0'), std::string::npos);
  EXPECT_FALSE(info.UserName().empty());
  EXPECT_EQ(info.WindowsDirectory(), "/usr");
  EXPECT_EQ(info.SystemDirectory(), "/usr/bin");
  EXPECT_GT(info.OSMajorVersion(), 0);
  EXPECT_GE(info.OSMinorVersion(), 0);
  EXPECT_GE(info.OSBuild(), 0);
  EXPECT_LE(info.OSBuild(), 0x7FFF);
  EXPECT_LE(info.OSAdditional().size(), 127u);
  EXPECT_TRUE(boxes.requests.empty());
}

TEST(OSInfoPosix, LanguageFollowsTheLocaleVariables) {
  struct Saved {
    const char* name;
    std::optional<std::string> value;
  };
  std::vector<Saved> saved;
  for (const char* name : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
    const char* v = std::getenv(name);
    saved.push_back({name, v ? std::optional<std::string>(v) : std::nullopt});
  }
  ::unsetenv("LC_ALL");
  ::setenv("LC_MESSAGES", "", 1);
  ::setenv("LANG", "it_IT.UTF-8", 1);
  EXPECT_EQ(COSInfo().Language(), "Italian");
  ::setenv("LC_MESSAGES", "sv_SE.UTF-8", 1);
  EXPECT_EQ(COSInfo().Language(), "Swedish");
  ::setenv("LC_ALL", "C", 1);
  EXPECT_EQ(COSInfo().Language(), "");
  for (const Saved& s : saved) {
    if (s.value) {
      ::setenv(s.name, s.value->c_str(), 1);
    } else {
      ::unsetenv(s.name);
    }
  }
}
#endif

}  // namespace
}  // namespace serenitap
