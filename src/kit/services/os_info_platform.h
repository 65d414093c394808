#pragma once
// What COSInfo asks of the platform: one function per system call, each
// returning the raw answer (texts may still hold their buffer's zeros). One
// implementation per platform: os_info_win32.cpp, os_info_posix.cpp.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "kit/services/os_info.h"

namespace serenitap::osinfo_platform {

bool QueryBeep();
void StoreBeep(bool on);
std::string QueryComputerName();
void StoreComputerName(std::string_view name);
std::string QueryHardwareProfileName();
RegistryValue QueryDefaultCompanyName();
RegistryValue QueryDefaultUserName();
// Colour depth, logical dots per inch and the work area; nullopt when unknown.
std::optional<ScreenFacts> QueryScreen();
// Empty when no GUID could be made.
std::optional<GuidValue> NewGuid();
std::string QueryLanguageName();

struct VersionInfo {
  std::int32_t major = 0;
  std::int32_t minor = 0;
  std::int32_t build = 0;
  std::int32_t platform = 0;
  std::string additional;
};
// All zero and empty when the call fails.
VersionInfo QueryVersion();

bool QueryScreenSaverActive();
void StoreScreenSaverActive(bool on);
std::int32_t QueryScreenSaverTimeout();
void StoreScreenSaverTimeout(std::int32_t seconds);
std::string QuerySystemDirectory();
std::string QueryTempPath();
std::string QueryTempFileName(const std::string& tempPath, std::string_view prefix);
std::string QueryUserName();
std::string QueryWindowsDirectory();

// The installed screen facts source (see SetScreenFactsSource).
std::optional<ScreenFacts> InstalledScreenFacts();

}  // namespace serenitap::osinfo_platform
