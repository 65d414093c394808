#pragma once
// The settings store: one interface with the registry operations the settings
// code needs, the constants of the registry (roots, value types, access
// rights, error codes) and the process-wide "current store" that modRegistry,
// cRegistry and the options use.
//
// Every operation returns a Windows error code (0 success, 2 not found,
// 234 more data, ...) and follows the registry's own rules: key and value
// names compare without regard to letter case; a query with no buffer (or a
// buffer that is too small) reports the size needed; enumerations end with 259.
// On Windows the store is the registry itself (Win32RegistryStore); elsewhere
// each hive is a text file in the configuration folder (FileRegistryStore).
//
// Decisions made here:
// - Handles are opaque integers. The predefined roots are the 32-bit handle
//   values sign-extended (HKEY_CURRENT_USER = 0x80000001 = -2147483647), as
//   Windows passes them on 64-bit systems. Handle 0 is never valid.
// - Texts given to the store (key and value names) are the program's UTF-8.
//   Value data is bytes; EncodeText/DecodeText turn program text into the
//   store's text bytes (the ANSI code page on Windows, UTF-8 in the files).
#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <string_view>

namespace serenitap::settings {

using HKey = std::intptr_t;
using RegResult = std::int32_t;

// Predefined root keys, as 32-bit handle values.
inline constexpr std::int32_t HKEY_CLASSES_ROOT = static_cast<std::int32_t>(0x80000000u);
inline constexpr std::int32_t HKEY_CURRENT_USER = static_cast<std::int32_t>(0x80000001u);
inline constexpr std::int32_t HKEY_LOCAL_MACHINE = static_cast<std::int32_t>(0x80000002u);
inline constexpr std::int32_t HKEY_USERS = static_cast<std::int32_t>(0x80000003u);
inline constexpr std::int32_t HKEY_PERFORMANCE_DATA = static_cast<std::int32_t>(0x80000004u);
inline constexpr std::int32_t HKEY_CURRENT_CONFIG = static_cast<std::int32_t>(0x80000005u);
inline constexpr std::int32_t HKEY_DYN_DATA = static_cast<std::int32_t>(0x80000006u);

// A root handle as the store takes it.
constexpr HKey RootHandle(std::int32_t root) noexcept { return static_cast<HKey>(root); }

// Value types.
inline constexpr std::uint32_t REG_NONE = 0;
inline constexpr std::uint32_t REG_SZ = 1;
inline constexpr std::uint32_t REG_EXPAND_SZ = 2;
inline constexpr std::uint32_t REG_BINARY = 3;
inline constexpr std::uint32_t REG_DWORD = 4;
inline constexpr std::uint32_t REG_DWORD_BIG_ENDIAN = 5;
inline constexpr std::uint32_t REG_LINK = 6;
inline constexpr std::uint32_t REG_MULTI_SZ = 7;

// Access rights.
inline constexpr std::uint32_t KEY_QUERY_VALUE = 0x0001;
inline constexpr std::uint32_t KEY_SET_VALUE = 0x0002;
inline constexpr std::uint32_t KEY_CREATE_SUB_KEY = 0x0004;
inline constexpr std::uint32_t KEY_ENUMERATE_SUB_KEYS = 0x0008;
inline constexpr std::uint32_t KEY_NOTIFY = 0x0010;
inline constexpr std::uint32_t KEY_CREATE_LINK = 0x0020;
inline constexpr std::uint32_t KEY_SIX_SPECIFIC_RIGHTS = 0x003F;
inline constexpr std::uint32_t MAXIMUM_ALLOWED = 0x02000000;

// Windows error codes the store returns.
inline constexpr RegResult ERROR_SUCCESS = 0;
inline constexpr RegResult ERROR_FILE_NOT_FOUND = 2;
inline constexpr RegResult ERROR_ACCESS_DENIED = 5;
inline constexpr RegResult ERROR_INVALID_HANDLE = 6;
inline constexpr RegResult ERROR_NOT_ENOUGH_MEMORY = 8;
inline constexpr RegResult ERROR_INVALID_DATA = 13;
inline constexpr RegResult ERROR_WRITE_FAULT = 29;
inline constexpr RegResult ERROR_LOCK_VIOLATION = 33;
inline constexpr RegResult ERROR_INVALID_PARAMETER = 87;
inline constexpr RegResult ERROR_DISK_FULL = 112;
inline constexpr RegResult ERROR_BAD_PATHNAME = 161;
inline constexpr RegResult ERROR_MORE_DATA = 234;
inline constexpr RegResult ERROR_NO_MORE_ITEMS = 259;
inline constexpr RegResult ERROR_BADDB = 1009;
inline constexpr RegResult ERROR_KEY_DELETED = 1018;

// What QueryInfoKey reports. Lengths are in characters without the zero.
struct KeyInfo {
  std::uint32_t sub_keys = 0;
  std::uint32_t max_sub_key_len = 0;
  std::uint32_t values = 0;
  std::uint32_t max_value_name_len = 0;
  std::uint32_t max_value_len = 0;  // bytes
};

class RegistryStore {
 public:
  virtual ~RegistryStore() = default;

  // RegOpenKeyExA: opens subKey below key with the given access.
  virtual RegResult OpenKey(HKey key, std::string_view subKey, std::uint32_t access, HKey* result) = 0;
  // RegCreateKeyExA / RegCreateKeyA: opens subKey, creating it and every
  // missing key above it. created (optional) tells whether it was new.
  virtual RegResult CreateKey(HKey key, std::string_view subKey, std::uint32_t access, HKey* result,
                              bool* created = nullptr) = 0;
  // RegCloseKey. Closing a predefined root does nothing and succeeds.
  virtual RegResult CloseKey(HKey key) = 0;
  // RegQueryValueExA. type and size may be null; with data null only the type
  // and the size are reported. A buffer smaller than the data gives 234 and
  // the size needed in *size.
  virtual RegResult QueryValue(HKey key, std::string_view name, std::uint32_t* type, std::uint8_t* data,
                               std::uint32_t* size) = 0;
  // RegSetValueExA.
  virtual RegResult SetValue(HKey key, std::string_view name, std::uint32_t type, const std::uint8_t* data,
                             std::uint32_t size) = 0;
  // RegDeleteKeyA: deletes subKey below key; a key with sub-keys is refused (5).
  virtual RegResult DeleteKey(HKey key, std::string_view subKey) = 0;
  // RegDeleteValueA.
  virtual RegResult DeleteValue(HKey key, std::string_view name) = 0;
  // RegQueryInfoKeyA.
  virtual RegResult QueryInfoKey(HKey key, KeyInfo* info) = 0;
  // RegEnumValueA: the name of the index-th value. *nameLen is the buffer's
  // size in characters on the way in, the name's length on the way out.
  virtual RegResult EnumValue(HKey key, std::uint32_t index, char* name, std::uint32_t* nameLen) = 0;
  // RegEnumKeyA: the name of the index-th sub-key, zero-terminated, in a
  // buffer of nameSize characters.
  virtual RegResult EnumKey(HKey key, std::uint32_t index, char* name, std::uint32_t nameSize) = 0;

  // Program text (UTF-8) to the store's text bytes and back.
  virtual std::string EncodeText(std::string_view text) const = 0;
  virtual std::string DecodeText(std::string_view bytes) const = 0;
};

// The store the settings procedures use. The first call makes the platform's
// default store: the registry on Windows, the files in DefaultConfigFolder()
// elsewhere.
RegistryStore& CurrentStore();
// Replaces the current store (tests, or a program that chose another folder)
// and returns the one it replaces. An empty pointer restores the default.
std::shared_ptr<RegistryStore> SetCurrentStore(std::shared_ptr<RegistryStore> store);

// $XDG_CONFIG_HOME/Serenitap when that variable holds an absolute path,
// otherwise ~/.config/Serenitap (home from $HOME, else the user database).
std::filesystem::path DefaultConfigFolder();

// The running program's file name without folder and extension
// ("serenitap" for /usr/bin/serenitap or C:\Program Files\Serenitap\serenitap.exe).
std::string ExecutableBaseName();

// Expands %NAME% references to environment variables, as the system does:
// unknown names and a lone % stay as they are.
std::string ExpandEnvironmentText(std::string_view text);

}  // namespace serenitap::settings
