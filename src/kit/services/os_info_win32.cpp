// System information on Windows: one Windows call per property, through the
// ANSI forms. Texts come back in the ANSI code page and are handed on as UTF-8.
// windows.h goes first: the other Windows headers need its definitions.
#include <windows.h>

#include <objbase.h>

#include <string>
#include <vector>

#include "kit/services/os_info_platform.h"
#include "services/member_guard.h"
#include "services/win32_ansi.h"

namespace serenitap::osinfo_platform {

namespace {

constexpr UINT kSendChange = 2;  // SPIF_SENDWININICHANGE: broadcast the change

std::string Buffer(const char* data, std::size_t size) { return win32::FromAnsi(osinfo::TrimNulls({data, size})); }

// Opens the key for reading, reads one value and closes the key again; empty
// on any failure.
RegistryValue RegistryGetKeyValue(HKEY root, const char* keyPath, const char* valueName) {
  RegistryValue result;
  GuardMember("RegistryGetKeyValue", [&] {
    HKEY key = nullptr;
    if (::RegOpenKeyExA(root, keyPath, 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS) return;
    struct Closer {
      HKEY key;
      ~Closer() { ::RegCloseKey(key); }
    } closer{key};
    DWORD type = 0;
    DWORD size = 0;
    if (::RegQueryValueExA(key, valueName, nullptr, &type, nullptr, &size) != ERROR_SUCCESS) return;
    switch (type) {
      case REG_SZ: {
        if (size == 0) {
          result = std::string();
          return;
        }
        std::string text(size, '\0');
        if (::RegQueryValueExA(key, valueName, nullptr, nullptr, reinterpret_cast<BYTE*>(text.data()), &size) !=
            ERROR_SUCCESS) {
          return;
        }
        result = win32::FromAnsi(osinfo::TrimNulls(text));
        return;
      }
      case REG_BINARY: {
        if (size == 0) return;
        std::vector<std::uint8_t> bytes(size + 1, 0);  // indexed 0 to size
        if (::RegQueryValueExA(key, valueName, nullptr, nullptr, bytes.data(), &size) != ERROR_SUCCESS) return;
        result = std::move(bytes);
        return;
      }
      case REG_DWORD: {
        DWORD number = 0;
        DWORD number_size = sizeof number;
        if (::RegQueryValueExA(key, valueName, nullptr, nullptr, reinterpret_cast<BYTE*>(&number), &number_size) ==
            ERROR_SUCCESS) {
          result = static_cast<std::int32_t>(number);
        }
        return;
      }
      default: return;
    }
  });
  return result;
}

constexpr const char* kSetupUserInfo = "Software\\Microsoft\\MS Setup (ACME)\\User Info";

}  // namespace

bool QueryBeep() {
  BOOL on = FALSE;
  ::SystemParametersInfoA(SPI_GETBEEP, 0, &on, 0);
  return on != FALSE;
}

void StoreBeep(bool on) { ::SystemParametersInfoA(SPI_SETBEEP, on ? TRUE : FALSE, nullptr, kSendChange); }

std::string QueryComputerName() {
  char buffer[100] = {};
  DWORD size = sizeof buffer;
  ::GetComputerNameA(buffer, &size);
  return Buffer(buffer, sizeof buffer);
}

void StoreComputerName(std::string_view name) { ::SetComputerNameA(win32::ToAnsi(name).c_str()); }

std::string QueryHardwareProfileName() {
  HW_PROFILE_INFOA info{};
  ::GetCurrentHwProfileA(&info);
  return Buffer(info.szHwProfileName, sizeof info.szHwProfileName);
}

RegistryValue QueryDefaultCompanyName() { return RegistryGetKeyValue(HKEY_CURRENT_USER, kSetupUserInfo, "DefCompany"); }
RegistryValue QueryDefaultUserName() { return RegistryGetKeyValue(HKEY_CURRENT_USER, kSetupUserInfo, "DefName"); }

std::optional<ScreenFacts> QueryScreen() {
  ScreenFacts facts;
  if (HDC dc = ::GetDC(nullptr)) {
    facts.bitsPerPixel = ::GetDeviceCaps(dc, BITSPIXEL);
    facts.planes = ::GetDeviceCaps(dc, PLANES);
    facts.logicalDpiX = ::GetDeviceCaps(dc, LOGPIXELSX);
    ::ReleaseDC(nullptr, dc);
  } else {
    facts.planes = 0;
  }
  RECT area{};
  ::SystemParametersInfoA(SPI_GETWORKAREA, 0, &area, 0);
  facts.workLeft = area.left;
  facts.workTop = area.top;
  facts.workRight = area.right;
  facts.workBottom = area.bottom;
  return facts;
}

std::optional<GuidValue> NewGuid() {
  ::GUID guid{};
  if (FAILED(::CoCreateGuid(&guid))) return std::nullopt;
  GuidValue value;
  value.data1 = guid.Data1;
  value.data2 = guid.Data2;
  value.data3 = guid.Data3;
  for (std::size_t i = 0; i < 8; ++i) value.data4[i] = guid.Data4[i];
  return value;
}

std::string QueryLanguageName() {
  char buffer[100] = {};
  ::GetLocaleInfoA(::GetUserDefaultLCID(), LOCALE_SENGLANGUAGE, buffer, sizeof buffer);
  return Buffer(buffer, sizeof buffer);
}

VersionInfo QueryVersion() {
  OSVERSIONINFOA info{};
  info.dwOSVersionInfoSize = sizeof info;  // 148
#if defined(__GNUC__)
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
#endif
  const BOOL ok = ::GetVersionExA(&info);
#if defined(__GNUC__)
#pragma GCC diagnostic pop
#endif
  if (!ok) return {};
  VersionInfo version;
  version.major = static_cast<std::int32_t>(info.dwMajorVersion);
  version.minor = static_cast<std::int32_t>(info.dwMinorVersion);
  version.build = static_cast<std::int32_t>(info.dwBuildNumber);
  version.platform = static_cast<std::int32_t>(info.dwPlatformId);
  version.additional = Buffer(info.szCSDVersion, sizeof info.szCSDVersion);
  return version;
}

bool QueryScreenSaverActive() {
  BOOL on = FALSE;
  ::SystemParametersInfoA(SPI_GETSCREENSAVEACTIVE, 0, &on, 0);
  return on != FALSE;
}

void StoreScreenSaverActive(bool on) {
  ::SystemParametersInfoA(SPI_SETSCREENSAVEACTIVE, on ? TRUE : FALSE, nullptr, kSendChange);
}

std::int32_t QueryScreenSaverTimeout() {
  INT seconds = 0;
  ::SystemParametersInfoA(SPI_GETSCREENSAVETIMEOUT, 0, &seconds, 0);
  return seconds;
}

void StoreScreenSaverTimeout(std::int32_t seconds) {
  ::SystemParametersInfoA(SPI_SETSCREENSAVETIMEOUT, static_cast<UINT>(seconds), nullptr, kSendChange);
}

std::string QuerySystemDirectory() {
  char buffer[260] = {};
  ::GetSystemDirectoryA(buffer, sizeof buffer);
  return Buffer(buffer, sizeof buffer);
}

std::string QueryWindowsDirectory() {
  char buffer[260] = {};
  ::GetWindowsDirectoryA(buffer, sizeof buffer);
  return Buffer(buffer, sizeof buffer);
}

std::string QueryTempPath() {
  char buffer[255] = {};
  ::GetTempPathA(sizeof buffer, buffer);
  return Buffer(buffer, sizeof buffer);
}

// Unique number 1: Windows forms the name and creates no file.
std::string QueryTempFileName(const std::string& tempPath, std::string_view prefix) {
  char buffer[MAX_PATH] = {};  // the call needs room for MAX_PATH characters
  ::GetTempFileNameA(win32::ToAnsi(tempPath).c_str(), win32::ToAnsi(prefix).c_str(), 1, buffer);
  return Buffer(buffer, sizeof buffer);
}

std::string QueryUserName() {
  char buffer[100] = {};
  DWORD size = sizeof buffer;
  ::GetUserNameA(buffer, &size);
  return Buffer(buffer, sizeof buffer);
}

}  // namespace serenitap::osinfo_platform
