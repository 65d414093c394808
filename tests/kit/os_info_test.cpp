// COSInfo: the rules behind its properties, what they tell on this system (its
// user, host and kernel, the screen facts installed), and the language and
// temporary folder it takes from the environment.
#include "kit/services/os_info.h"

#include <gmock/gmock.h>
#include <pwd.h>
#include <sys/utsname.h>
#include <unistd.h>

#include <cstdio>

#include "support/recorders.h"
#include "support/scoped_environment.h"

namespace serenitap {
namespace {

using serenitap::testing::MessageBoxRecorder;
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
// Numbers and yes/no answers as one text, each followed by a blank.
template <class... T>
std::string Numbers(T... values) {
  return ((std::to_string(values) + " ") + ...);
}

TEST(OSInfo, PropertiesTellWhatTheSystemSaysAndWritingChangesNothing) {
  utsname names{};
  const passwd* user = ::getpwuid(::geteuid());
  ASSERT_TRUE(::uname(&names) == 0 && user);
  char host[256] = {};
  ::gethostname(host, sizeof host - 1);
  int r[3] = {0, 0, 0};
  std::sscanf(names.release, "%d.%d.%d", &r[0], &r[1], &r[2]);
  COSInfo info;
  info.Beep(true), info.ComputerName("elsewhere"), info.ScreenSaverActive(true), info.ScreenSaverTimeout(60);
  const std::string gecos = user->pw_gecos;
  const std::tuple<const char*, std::string, std::string> properties[] = {
      {"user", info.UserName(), user->pw_name},
      {"full name", info.DefaultUserName(), gecos.substr(0, gecos.find(','))},
      {"computer", info.ComputerName(), host},
      {"version", Numbers(info.OSMajorVersion(), info.OSMinorVersion(), info.OSBuild()), Numbers(r[0], r[1], r[2])},
      {"additional", info.OSAdditional(), std::string(names.version).substr(0, 127)},
      {"folders", info.WindowsDirectory() + " " + info.SystemDirectory(), "/usr /usr/bin"},
      {"none here", Numbers(info.Beep(), info.ScreenSaverActive(), info.ScreenSaverTimeout(), info.WindowsType()),
       "0 0 0 0 "},
      {"none recorded", info.CurrentHardwareProfile() + info.DefaultCompanyName(), ""}};
  for (const auto& [property, answer, system] : properties) EXPECT_EQ(answer, system) << property;
  EXPECT_THAT(info.GUID(),
              ::testing::MatchesRegex("\\{[0-9A-F]{1,8}-[0-9A-F]{1,4}-4[0-9A-F]{3}-[89AB][0-9A-F]{8,15}\\}"));
  EXPECT_NE(info.GUID(), info.GUID());
}

TEST(OSInfo, ScreenPropertiesComeFromTheInstalledFactsAndShowAnOverflow) {
  const std::tuple<const char*, std::optional<ScreenFacts>, std::string> cases[] = {
      {"no screen", std::nullopt, "0 0 0 0 0 0 "},
      {"large fonts", ScreenFacts{24, 1, 120, 10, 20, 1034, 788}, "16777216 1 10 20 1024 768 "},
      {"too wide", ScreenFacts{8, 1, 96, -40000, 0, 100, 50}, "256 0 -1 -1 -1 -1 GetWorkArea: Error: 6. Overflow "},
      {"too deep", ScreenFacts{31, 1, 96, 0, 0, 800, 600}, "0 0 0 0 800 600 DisplayColors: Error: 6. Overflow "}};
  for (const auto& [name, facts, expected] : cases) {
    const auto previous = SetScreenFactsSource(facts ? ScreenFactsSource([f = facts] { return f; }) : nullptr);
    MessageBoxRecorder boxes;
    std::int16_t a[4] = {-1, -1, -1, -1};
    COSInfo().GetWorkArea(a[0], a[1], a[2], a[3]);
    std::string seen = Numbers(COSInfo().DisplayColors(), COSInfo().LargeFonts(), a[0], a[1], a[2], a[3]);
    for (const auto& box : boxes.requests) seen += box.title + ": " + box.text + " ";
    SetScreenFactsSource(previous);
    EXPECT_EQ(seen, expected) << name;
  }
}

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
