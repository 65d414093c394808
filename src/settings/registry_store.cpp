#include "settings/registry_store.h"

#include <cstdlib>
#include <mutex>

#ifdef _WIN32
#include "settings/win32_store.h"
#else
#include <pwd.h>
#include <unistd.h>

#include "settings/file_store.h"
#endif

namespace serenitap::settings {
namespace {

std::mutex& StoreMutex() {
  static std::mutex m;
  return m;
}

std::shared_ptr<RegistryStore>& StoreSlot() {
  static std::shared_ptr<RegistryStore> store;
  return store;
}

std::shared_ptr<RegistryStore> MakeDefaultStore() {
#ifdef _WIN32
  return std::make_shared<Win32RegistryStore>();
#else
  return std::make_shared<FileRegistryStore>(DefaultConfigFolder());
#endif
}

}  // namespace

RegistryStore& CurrentStore() {
  std::lock_guard lock(StoreMutex());
  auto& slot = StoreSlot();
  if (!slot) slot = MakeDefaultStore();
  return *slot;
}

std::shared_ptr<RegistryStore> SetCurrentStore(std::shared_ptr<RegistryStore> store) {
  std::lock_guard lock(StoreMutex());
  auto& slot = StoreSlot();
  std::shared_ptr<RegistryStore> previous = std::move(slot);
  slot = std::move(store);
  return previous;
}

std::filesystem::path DefaultConfigFolder() {
  const char* xdg = std::getenv("XDG_CONFIG_HOME");
  if (xdg != nullptr && xdg[0] != '\0' && std::filesystem::path(xdg).is_absolute()) {
    return std::filesystem::path(xdg) / "Serenitap";
  }
  std::filesystem::path home;
  if (const char* h = std::getenv("HOME"); h != nullptr && h[0] != '\0') {
    home = h;
#ifndef _WIN32
  } else if (const passwd* pw = ::getpwuid(::getuid()); pw != nullptr && pw->pw_dir != nullptr) {
    home = pw->pw_dir;
#endif
  } else if (const char* profile = std::getenv("USERPROFILE"); profile != nullptr) {
    home = profile;
  }
  return home / ".config" / "Serenitap";
}

std::string BaseNameWithoutExtension(std::string_view file) {
  const std::size_t slash = file.find_last_of("/\\");
  if (slash != std::string_view::npos) file.remove_prefix(slash + 1);
  const std::size_t dot = file.rfind('.');
  if (dot != std::string_view::npos && dot > 0) file.remove_suffix(file.size() - dot);
  return std::string(file);
}

#ifndef _WIN32
std::string ExecutableBaseName() {
  std::error_code ec;
  const std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe", ec);
  if (ec || exe.empty()) return "Serenitap";
  return BaseNameWithoutExtension(exe.string());
}

std::string ExpandEnvironmentText(std::string_view text) {
  std::string out;
  std::size_t pos = 0;
  while (pos < text.size()) {
    const std::size_t open = text.find('%', pos);
    if (open == std::string_view::npos) break;
    const std::size_t close = text.find('%', open + 1);
    if (close == std::string_view::npos) break;
    out.append(text.substr(pos, open - pos));
    const std::string name(text.substr(open + 1, close - open - 1));
    const char* value = name.empty() ? nullptr : std::getenv(name.c_str());
    if (value != nullptr) {
      out += value;
      pos = close + 1;
    } else {
      // Unknown: the first % stays, and the second may open the next reference.
      out.append(text.substr(open, close - open));
      pos = close;
    }
  }
  out.append(text.substr(pos));
  return out;
}
#endif

}  // namespace serenitap::settings
