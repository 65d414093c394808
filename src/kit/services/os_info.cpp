#include "kit/services/os_info.h"

#include <cctype>
#include <cstdio>
#include <limits>
#include <mutex>
#include <utility>

#include "kit/services/os_info_platform.h"
#include "services/failure.h"
#include "services/member_guard.h"

namespace serenitap {

namespace {

std::mutex& SourceMutex() {
  static std::mutex m;
  return m;
}

ScreenFactsSource& InstalledSource() {
  static ScreenFactsSource source;
  return source;
}

std::string Hex(std::uint32_t value) {
  char buffer[16];
  std::snprintf(buffer, sizeof buffer, "%X", static_cast<unsigned>(value));
  return buffer;
}

[[noreturn]] void Overflow() { throw RuntimeFailure(errors::kOverflow, "Overflow"); }

}  // namespace

ScreenFactsSource SetScreenFactsSource(ScreenFactsSource source) {
  std::lock_guard lock(SourceMutex());
  return std::exchange(InstalledSource(), std::move(source));
}

std::optional<ScreenFacts> osinfo_platform::InstalledScreenFacts() {
  ScreenFactsSource source;
  {
    std::lock_guard lock(SourceMutex());
    source = InstalledSource();
  }
  if (!source) return std::nullopt;
  return source();
}

// ---------------------------------------------------------------------------
// The rules.

std::string osinfo::FormatGuid(const GuidValue& guid) {
  std::string text = "{" + Hex(guid.data1) + "-" + Hex(guid.data2) + "-" + Hex(guid.data3) + "-";
  for (const std::uint8_t byte : guid.data4) text += Hex(byte);
  text += "}";
  return text;
}

GuidValue osinfo::GuidFromRandomBytes(const std::array<std::uint8_t, 16>& b) {
  GuidValue g;
  g.data1 = (std::uint32_t{b[0]} << 24) | (std::uint32_t{b[1]} << 16) | (std::uint32_t{b[2]} << 8) | b[3];
  g.data2 = static_cast<std::uint16_t>((b[4] << 8) | b[5]);
  g.data3 = static_cast<std::uint16_t>((((b[6] << 8) | b[7]) & 0x0FFF) | 0x4000);  // version 4
  for (std::size_t i = 0; i < 8; ++i) g.data4[i] = b[8 + i];
  g.data4[0] = static_cast<std::uint8_t>((g.data4[0] & 0x3F) | 0x80);  // the RFC 4122 variant
  return g;
}

std::int32_t osinfo::DisplayColorsFor(std::int32_t bitsPerPixel, std::int32_t planes) {
  const std::int64_t power = std::int64_t{bitsPerPixel} * planes;
  if (power == 32) return -1;
  if (power < 0) return 0;
  if (power > 30) Overflow();
  return std::int32_t{1} << power;
}

bool osinfo::LargeFontsFor(std::int32_t logicalDpi) { return logicalDpi == 120; }

std::string osinfo::TrimNulls(std::string_view text) { return std::string(text.substr(0, text.find('\0'))); }

std::string osinfo::TempFileNameFor(std::string_view tempPath, std::string_view prefix, std::uint32_t unique) {
  // Up to three characters, never cutting one of UTF-8's multi-byte sequences.
  std::size_t end = 0;
  for (int characters = 0; characters < 3 && end < prefix.size(); ++characters) {
    ++end;
    while (end < prefix.size() && (static_cast<unsigned char>(prefix[end]) & 0xC0) == 0x80) ++end;
  }
  return std::string(tempPath) + std::string(prefix.substr(0, end)) + Hex(unique & 0xFFFF) + ".tmp";
}

std::string osinfo::LanguageNameFor(std::string_view locale) {
  struct Language {
    std::string_view code;
    std::string_view name;
  };
  static constexpr Language kLanguages[] = {
      {"af", "Afrikaans"},  {"am", "Amharic"},    {"ar", "Arabic"},    {"az", "Azerbaijani"}, {"be", "Belarusian"},
      {"bg", "Bulgarian"},  {"bn", "Bangla"},     {"bs", "Bosnian"},   {"ca", "Catalan"},     {"cs", "Czech"},
      {"cy", "Welsh"},      {"da", "Danish"},     {"de", "German"},    {"el", "Greek"},       {"en", "English"},
      {"es", "Spanish"},    {"et", "Estonian"},   {"eu", "Basque"},    {"fa", "Persian"},     {"fi", "Finnish"},
      {"fil", "Filipino"},  {"fr", "French"},     {"ga", "Irish"},     {"gl", "Galician"},    {"gu", "Gujarati"},
      {"he", "Hebrew"},     {"hi", "Hindi"},      {"hr", "Croatian"},  {"hu", "Hungarian"},   {"hy", "Armenian"},
      {"id", "Indonesian"}, {"is", "Icelandic"},  {"it", "Italian"},   {"ja", "Japanese"},    {"ka", "Georgian"},
      {"kk", "Kazakh"},     {"km", "Khmer"},      {"kn", "Kannada"},   {"ko", "Korean"},      {"lt", "Lithuanian"},
      {"lv", "Latvian"},    {"mk", "Macedonian"}, {"ml", "Malayalam"}, {"mn", "Mongolian"},   {"mr", "Marathi"},
      {"ms", "Malay"},      {"mt", "Maltese"},    {"nb", "Norwegian"}, {"ne", "Nepali"},      {"nl", "Dutch"},
      {"nn", "Norwegian"},  {"no", "Norwegian"},  {"pa", "Punjabi"},   {"pl", "Polish"},      {"pt", "Portuguese"},
      {"ro", "Romanian"},   {"ru", "Russian"},    {"si", "Sinhala"},   {"sk", "Slovak"},      {"sl", "Slovenian"},
      {"sq", "Albanian"},   {"sr", "Serbian"},    {"sv", "Swedish"},   {"sw", "Kiswahili"},   {"ta", "Tamil"},
      {"te", "Telugu"},     {"th", "Thai"},       {"tr", "Turkish"},   {"uk", "Ukrainian"},   {"ur", "Urdu"},
      {"uz", "Uzbek"},      {"vi", "Vietnamese"}, {"zh", "Chinese"},   {"zu", "isiZulu"},
  };
  std::string code(locale.substr(0, locale.find_first_of("_.@-")));
  for (char& c : code) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  for (const Language& language : kLanguages) {
    if (language.code == code) return std::string(language.name);
  }
  return {};
}

osinfo::KernelVersion osinfo::ParseKernelRelease(std::string_view release) {
  std::int32_t numbers[3] = {0, 0, 0};
  std::size_t i = 0;
  for (std::int32_t& number : numbers) {
    if (i >= release.size() || !std::isdigit(static_cast<unsigned char>(release[i]))) break;
    std::int64_t value = 0;
    while (i < release.size() && std::isdigit(static_cast<unsigned char>(release[i]))) {
      value = value * 10 + (release[i] - '0');
      if (value > std::numeric_limits<std::int32_t>::max()) value = std::numeric_limits<std::int32_t>::max();
      ++i;
    }
    number = static_cast<std::int32_t>(value);
    if (i >= release.size() || release[i] != '.') break;
    ++i;
  }
  return {numbers[0], numbers[1], numbers[2]};
}

std::string osinfo::RegistryValueText(const RegistryValue& value) {
  if (const auto* text = std::get_if<std::string>(&value)) return *text;
  if (const auto* number = std::get_if<std::int32_t>(&value)) return std::to_string(*number);
  if (const auto* bytes = std::get_if<std::vector<std::uint8_t>>(&value)) {
    return TrimNulls(std::string(bytes->begin(), bytes->end()));
  }
  return {};
}

std::int16_t osinfo::ToInt16(std::int64_t value) {
  if (value < std::numeric_limits<std::int16_t>::min() || value > std::numeric_limits<std::int16_t>::max()) {
    Overflow();
  }
  return static_cast<std::int16_t>(value);
}

// ---------------------------------------------------------------------------
// COSInfo

namespace platform = osinfo_platform;

std::string COSInfo::TrimNulls(std::string_view text) const {
  std::string result;
  GuardMember("TrimNulls", [&] { result = osinfo::TrimNulls(text); });
  return result;
}

bool COSInfo::Beep() const {
  bool result = false;
  GuardMember("Beep", [&] { result = platform::QueryBeep(); });
  return result;
}

void COSInfo::Beep(bool fValue) {
  GuardMember("Beep", [&] { platform::StoreBeep(fValue); });
}

std::string COSInfo::ComputerName() const {
  std::string result;
  GuardMember("ComputerName", [&] { result = TrimNulls(platform::QueryComputerName()); });
  return result;
}

void COSInfo::ComputerName(std::string_view strValue) {
  GuardMember("ComputerName", [&] { platform::StoreComputerName(strValue); });
}

std::string COSInfo::CurrentHardwareProfile() const {
  std::string result;
  GuardMember("CurrentHardwareProfile", [&] { result = TrimNulls(platform::QueryHardwareProfileName()); });
  return result;
}

std::string COSInfo::DefaultCompanyName() const {
  std::string result;
  GuardMember("DefaultCompanyName", [&] { result = osinfo::RegistryValueText(platform::QueryDefaultCompanyName()); });
  return result;
}

std::string COSInfo::DefaultUserName() const {
  std::string result;
  GuardMember("DefaultUserName", [&] { result = osinfo::RegistryValueText(platform::QueryDefaultUserName()); });
  return result;
}

std::int32_t COSInfo::DisplayColors() const {
  std::int32_t result = 0;
  GuardMember("DisplayColors", [&] {
    if (const auto screen = platform::QueryScreen()) {
      result = osinfo::DisplayColorsFor(screen->bitsPerPixel, screen->planes);
    }
  });
  return result;
}

std::string COSInfo::GUID() const {
  std::string result;
  GuardMember("GUID", [&] {
    if (const auto guid = platform::NewGuid()) result = osinfo::FormatGuid(*guid);
  });
  return result;
}

std::string COSInfo::Language() const {
  std::string result;
  GuardMember("Language", [&] { result = TrimNulls(platform::QueryLanguageName()); });
  return result;
}

bool COSInfo::LargeFonts() const {
  bool result = false;
  GuardMember("LargeFonts", [&] {
    if (const auto screen = platform::QueryScreen()) result = osinfo::LargeFontsFor(screen->logicalDpiX);
  });
  return result;
}

std::string COSInfo::OSAdditional() const {
  std::string result;
  GuardMember("OSAdditional", [&] { result = TrimNulls(platform::QueryVersion().additional); });
  return result;
}

std::int32_t COSInfo::OSBuild() const {
  std::int32_t result = 0;
  GuardMember("OSBuild", [&] { result = platform::QueryVersion().build & 0x7FFF; });
  return result;
}

std::int32_t COSInfo::OSMajorVersion() const {
  std::int32_t result = 0;
  GuardMember("OSMajorVersion", [&] { result = platform::QueryVersion().major; });
  return result;
}

std::int32_t COSInfo::OSMinorVersion() const {
  std::int32_t result = 0;
  GuardMember("OSMinorVersion", [&] { result = platform::QueryVersion().minor; });
  return result;
}

bool COSInfo::ScreenSaverActive() const {
  bool result = false;
  GuardMember("ScreenSaverActive", [&] { result = platform::QueryScreenSaverActive(); });
  return result;
}

void COSInfo::ScreenSaverActive(bool fValue) {
  GuardMember("ScreenSaverActive", [&] { platform::StoreScreenSaverActive(fValue); });
}

std::int32_t COSInfo::ScreenSaverTimeout() const {
  std::int32_t result = 0;
  GuardMember("ScreenSaverTimeout", [&] { result = platform::QueryScreenSaverTimeout(); });
  return result;
}

void COSInfo::ScreenSaverTimeout(std::int32_t lngValue) {
  GuardMember("ScreenSaverTimeout", [&] { platform::StoreScreenSaverTimeout(lngValue); });
}

std::string COSInfo::SystemDirectory() const {
  std::string result;
  GuardMember("SystemDirectory", [&] { result = TrimNulls(platform::QuerySystemDirectory()); });
  return result;
}

std::string COSInfo::TempFile(std::string_view strPrefix) const {
  std::string result;
  GuardMember("TempFile", [&] {
    const std::string path = TrimNulls(platform::QueryTempPath());
    result = TrimNulls(platform::QueryTempFileName(path, strPrefix));
  });
  return result;
}

std::string COSInfo::TempPath() const {
  std::string result;
  GuardMember("TempPath", [&] { result = TrimNulls(platform::QueryTempPath()); });
  return result;
}

std::string COSInfo::UserName() const {
  std::string result;
  GuardMember("UserName", [&] { result = TrimNulls(platform::QueryUserName()); });
  return result;
}

std::string COSInfo::WindowsDirectory() const {
  std::string result;
  GuardMember("WindowsDirectory", [&] { result = TrimNulls(platform::QueryWindowsDirectory()); });
  return result;
}

std::int32_t COSInfo::WindowsType() const {
  std::int32_t result = 0;
  GuardMember("WindowsType", [&] { result = platform::QueryVersion().platform; });
  return result;
}

void COSInfo::GetWorkArea(std::int16_t& intLeft, std::int16_t& intTop, std::int16_t& intWidth,
                          std::int16_t& intHeight) const {
  GuardMember("GetWorkArea", [&] {
    const auto screen = platform::QueryScreen();
    const ScreenFacts facts = screen.value_or(ScreenFacts{});
    intLeft = osinfo::ToInt16(facts.workLeft);
    intTop = osinfo::ToInt16(facts.workTop);
    intWidth = osinfo::ToInt16(std::int64_t{facts.workRight} - facts.workLeft);
    intHeight = osinfo::ToInt16(std::int64_t{facts.workBottom} - facts.workTop);
  });
}

}  // namespace serenitap
