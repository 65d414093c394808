// System information outside Windows: the nearest real equivalent of each
// Windows call, or the failed-call answer where the desktop has none (see
// os_info.h for the list).
#include <pwd.h>
#include <sys/utsname.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <random>
#include <vector>

#include "kit/services/os_info_platform.h"

namespace serenitap::osinfo_platform {

namespace {

const char* NonEmptyEnvironment(const char* name) {
  const char* value = std::getenv(name);
  return (value && *value) ? value : nullptr;
}

// The effective user's passwd entry, copied out: name and comment field.
struct PasswdEntry {
  std::string name;
  std::string gecos;
};

std::optional<PasswdEntry> CurrentPasswdEntry() {
  long size = ::sysconf(_SC_GETPW_R_SIZE_MAX);
  if (size <= 0) size = 16384;
  std::vector<char> buffer(static_cast<std::size_t>(size));
  struct passwd entry {};
  struct passwd* found = nullptr;
  if (::getpwuid_r(::geteuid(), &entry, buffer.data(), buffer.size(), &found) != 0 || !found) return std::nullopt;
  return PasswdEntry{found->pw_name ? found->pw_name : "", found->pw_gecos ? found->pw_gecos : ""};
}

}  // namespace

// No system-wide warning-beep switch: the bell is each desktop's setting.
bool QueryBeep() { return false; }
void StoreBeep(bool /*on*/) {}

std::string QueryComputerName() {
  char buffer[256] = {};
  if (::gethostname(buffer, sizeof buffer - 1) != 0) return {};
  return std::string(buffer, sizeof buffer);
}

// Renaming the machine is the administrator's task (hostnamectl), never a
// desktop program's: writing the computer name does nothing here.
void StoreComputerName(std::string_view /*name*/) {}

// No hardware profiles.
std::string QueryHardwareProfileName() { return {}; }

// No company name is recorded when the system is set up.
RegistryValue QueryDefaultCompanyName() { return {}; }

// The user's full name as the system records it.
RegistryValue QueryDefaultUserName() {
  const auto entry = CurrentPasswdEntry();
  if (!entry) return {};
  return entry->gecos.substr(0, entry->gecos.find(','));
}

std::optional<ScreenFacts> QueryScreen() { return InstalledScreenFacts(); }

std::optional<GuidValue> NewGuid() {
  std::array<std::uint8_t, 16> bytes{};
  std::ifstream random("/dev/urandom", std::ios::binary);
  if (!random.read(reinterpret_cast<char*>(bytes.data()), bytes.size())) {
    std::random_device device;
    for (auto& byte : bytes) byte = static_cast<std::uint8_t>(device());
  }
  return osinfo::GuidFromRandomBytes(bytes);
}

std::string QueryLanguageName() {
  for (const char* name : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
    if (const char* value = NonEmptyEnvironment(name)) return osinfo::LanguageNameFor(value);
  }
  return {};
}

VersionInfo QueryVersion() {
  struct utsname names {};
  if (::uname(&names) != 0) return {};
  const osinfo::KernelVersion v = osinfo::ParseKernelRelease(names.release);
  VersionInfo info;
  info.major = v.major;
  info.minor = v.minor;
  info.build = v.patch;
  info.platform = 0;  // no Windows platform family
  info.additional = std::string(names.version).substr(0, 127);
  return info;
}

// The screen saver belongs to each desktop's session manager: no system setting.
bool QueryScreenSaverActive() { return false; }
void StoreScreenSaverActive(bool /*on*/) {}
std::int32_t QueryScreenSaverTimeout() { return 0; }
void StoreScreenSaverTimeout(std::int32_t /*seconds*/) {}

std::string QuerySystemDirectory() { return "/usr/bin"; }
std::string QueryWindowsDirectory() { return "/usr"; }

std::string QueryTempPath() {
  std::string path = NonEmptyEnvironment("TMPDIR") ? NonEmptyEnvironment("TMPDIR") : "/tmp";
  if (path.back() != '/') path += '/';
  return path;
}

// As GetTempFileNameA with unique number 1: the name only, no file.
std::string QueryTempFileName(const std::string& tempPath, std::string_view prefix) {
  return osinfo::TempFileNameFor(tempPath, prefix, 1);
}

std::string QueryUserName() {
  if (const auto entry = CurrentPasswdEntry(); entry && !entry->name.empty()) return entry->name;
  if (const char* user = NonEmptyEnvironment("USER")) return user;
  return {};
}

}  // namespace serenitap::osinfo_platform
