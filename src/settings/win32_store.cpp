#include "settings/win32_store.h"

#include "settings/reg_file.h"
// windows.h defines the registry's names as macros: include it after every
// header of ours.
#include <windows.h>

#include <string>

namespace serenitap::settings {
namespace {

HKEY H(HKey key) noexcept { return reinterpret_cast<HKEY>(key); }
HKey K(HKEY key) noexcept { return reinterpret_cast<HKey>(key); }

bool IsPredefined(HKey key) noexcept {
  return key >= static_cast<HKey>(static_cast<std::int32_t>(0x80000000u)) &&
         key <= static_cast<HKey>(static_cast<std::int32_t>(0x80000006u));
}

const char* RootName(HKey key) noexcept {
  static const char* const kNames[] = {"HKEY_CLASSES_ROOT", "HKEY_CURRENT_USER",     "HKEY_LOCAL_MACHINE",
                                       "HKEY_USERS",        "HKEY_PERFORMANCE_DATA", "HKEY_CURRENT_CONFIG",
                                       "HKEY_DYN_DATA"};
  return kNames[key - static_cast<HKey>(static_cast<std::int32_t>(0x80000000u))];
}

bool IsAsciiOnly(std::string_view text) noexcept {
  for (const char c : text) {
    if (static_cast<unsigned char>(c) >= 0x80) return false;
  }
  return true;
}

std::wstring Widen(std::string_view text, UINT codePage) {
  if (text.empty()) return {};
  const int n = ::MultiByteToWideChar(codePage, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
  std::wstring wide(static_cast<std::size_t>(n), L'\0');
  ::MultiByteToWideChar(codePage, 0, text.data(), static_cast<int>(text.size()), wide.data(), n);
  return wide;
}

std::string Narrow(const std::wstring& wide, UINT codePage) {
  if (wide.empty()) return {};
  const int n =
      ::WideCharToMultiByte(codePage, 0, wide.data(), static_cast<int>(wide.size()), nullptr, 0, nullptr, nullptr);
  std::string text(static_cast<std::size_t>(n), '\0');
  ::WideCharToMultiByte(codePage, 0, wide.data(), static_cast<int>(wide.size()), text.data(), n, nullptr, nullptr);
  return text;
}

}  // namespace

Win32RegistryStore::Win32RegistryStore(std::string sandboxKey) : sandbox_(std::move(sandboxKey)) {}

Win32RegistryStore::~Win32RegistryStore() {
  for (auto& [root, key] : sandbox_roots_) ::RegCloseKey(H(key));
}

HKey Win32RegistryStore::Map(HKey key) {
  if (sandbox_.empty() || !IsPredefined(key)) return key;
  auto it = sandbox_roots_.find(key);
  if (it != sandbox_roots_.end()) return it->second;
  HKEY mapped = nullptr;
  const std::string path = EncodeText(sandbox_ + "\\" + RootName(key));
  if (::RegCreateKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &mapped, nullptr) !=
      ERROR_SUCCESS) {
    return 0;
  }
  sandbox_roots_[key] = K(mapped);
  return K(mapped);
}

RegResult Win32RegistryStore::RemoveSandbox() {
  if (sandbox_.empty()) return ERROR_INVALID_PARAMETER;
  for (auto& [root, key] : sandbox_roots_) ::RegCloseKey(H(key));
  sandbox_roots_.clear();
  const std::string path = EncodeText(sandbox_);
  LONG r = ::RegDeleteTreeA(HKEY_CURRENT_USER, path.c_str());
  if (r == ERROR_SUCCESS) r = ::RegDeleteKeyA(HKEY_CURRENT_USER, path.c_str());
  return r == ERROR_FILE_NOT_FOUND ? 0 : static_cast<RegResult>(r);
}

RegResult Win32RegistryStore::OpenKey(HKey key, std::string_view subKey, std::uint32_t access, HKey* result) {
  if (result == nullptr) return ERROR_INVALID_PARAMETER;
  HKEY opened = nullptr;
  const std::string path = EncodeText(subKey);
  LONG r;
  if (access == MAXIMUM_ALLOWED) {
    r = ::RegOpenKeyA(H(Map(key)), path.c_str(), &opened);
  } else {
    r = ::RegOpenKeyExA(H(Map(key)), path.c_str(), 0, access, &opened);
  }
  *result = r == ERROR_SUCCESS ? K(opened) : 0;
  return static_cast<RegResult>(r);
}

RegResult Win32RegistryStore::CreateKey(HKey key, std::string_view subKey, std::uint32_t access, HKey* result,
                                        bool* created) {
  if (result == nullptr) return ERROR_INVALID_PARAMETER;
  HKEY opened = nullptr;
  const std::string path = EncodeText(subKey);
  LONG r;
  DWORD disposition = 0;
  if (access == MAXIMUM_ALLOWED) {
    r = ::RegCreateKeyA(H(Map(key)), path.c_str(), &opened);
  } else {
    char emptyClass[1] = {'\0'};
    r = ::RegCreateKeyExA(H(Map(key)), path.c_str(), 0, emptyClass, REG_OPTION_NON_VOLATILE, access, nullptr, &opened,
                          &disposition);
  }
  if (created != nullptr) *created = r == ERROR_SUCCESS && disposition == REG_CREATED_NEW_KEY;
  *result = r == ERROR_SUCCESS ? K(opened) : 0;
  return static_cast<RegResult>(r);
}

RegResult Win32RegistryStore::CloseKey(HKey key) {
  if (!sandbox_.empty() && IsPredefined(key)) return ERROR_SUCCESS;
  return static_cast<RegResult>(::RegCloseKey(H(key)));
}

RegResult Win32RegistryStore::QueryValue(HKey key, std::string_view name, std::uint32_t* type, std::uint8_t* data,
                                         std::uint32_t* size) {
  DWORD t = 0;
  DWORD s = size != nullptr ? static_cast<DWORD>(*size) : 0;
  const std::string valueName = EncodeText(name);
  const LONG r = ::RegQueryValueExA(H(Map(key)), valueName.c_str(), nullptr, &t, data, size != nullptr ? &s : nullptr);
  if (type != nullptr && (r == ERROR_SUCCESS || r == ERROR_MORE_DATA)) *type = t;
  if (size != nullptr && (r == ERROR_SUCCESS || r == ERROR_MORE_DATA)) *size = s;
  return static_cast<RegResult>(r);
}

RegResult Win32RegistryStore::SetValue(HKey key, std::string_view name, std::uint32_t type, const std::uint8_t* data,
                                       std::uint32_t size) {
  const std::string valueName = EncodeText(name);
  return static_cast<RegResult>(::RegSetValueExA(H(Map(key)), valueName.c_str(), 0, type, data, size));
}

RegResult Win32RegistryStore::DeleteKey(HKey key, std::string_view subKey) {
  return static_cast<RegResult>(::RegDeleteKeyA(H(Map(key)), EncodeText(subKey).c_str()));
}

RegResult Win32RegistryStore::DeleteValue(HKey key, std::string_view name) {
  return static_cast<RegResult>(::RegDeleteValueA(H(Map(key)), EncodeText(name).c_str()));
}

RegResult Win32RegistryStore::QueryInfoKey(HKey key, KeyInfo* info) {
  if (info == nullptr) return ERROR_INVALID_PARAMETER;
  DWORD subKeys = 0, maxSubKey = 0, maxClass = 0, values = 0, maxValueName = 0, maxValue = 0;
  const LONG r = ::RegQueryInfoKeyA(H(Map(key)), nullptr, nullptr, nullptr, &subKeys, &maxSubKey, &maxClass, &values,
                                    &maxValueName, &maxValue, nullptr, nullptr);
  if (r == ERROR_SUCCESS) {
    info->sub_keys = subKeys;
    // Names grow when they turn from the ANSI code page into UTF-8: at most
    // three bytes a character.
    info->max_sub_key_len = maxSubKey * 3;
    info->values = values;
    info->max_value_name_len = maxValueName * 3;
    info->max_value_len = maxValue;
  }
  return static_cast<RegResult>(r);
}

RegResult Win32RegistryStore::EnumValue(HKey key, std::uint32_t index, char* name, std::uint32_t* nameLen) {
  if (name == nullptr || nameLen == nullptr) return ERROR_INVALID_PARAMETER;
  std::string buffer(16384, '\0');
  DWORD length = static_cast<DWORD>(buffer.size());
  const LONG r = ::RegEnumValueA(H(Map(key)), index, buffer.data(), &length, nullptr, nullptr, nullptr, nullptr);
  if (r != ERROR_SUCCESS) return static_cast<RegResult>(r);
  const std::string text = DecodeText(std::string_view(buffer.data(), length));
  if (*nameLen <= text.size()) return ERROR_MORE_DATA;
  text.copy(name, text.size());
  name[text.size()] = '\0';
  *nameLen = static_cast<std::uint32_t>(text.size());
  return ERROR_SUCCESS;
}

RegResult Win32RegistryStore::EnumKey(HKey key, std::uint32_t index, char* name, std::uint32_t nameSize) {
  if (name == nullptr) return ERROR_INVALID_PARAMETER;
  std::string buffer(1024, '\0');
  const LONG r = ::RegEnumKeyA(H(Map(key)), index, buffer.data(), static_cast<DWORD>(buffer.size()));
  if (r != ERROR_SUCCESS) return static_cast<RegResult>(r);
  const std::string text = DecodeText(std::string_view(buffer.c_str()));
  if (nameSize <= text.size()) return ERROR_MORE_DATA;
  text.copy(name, text.size());
  name[text.size()] = '\0';
  return ERROR_SUCCESS;
}

std::string Win32RegistryStore::EncodeText(std::string_view text) const {
  if (IsAsciiOnly(text)) return std::string(text);
  return Narrow(Widen(text, CP_UTF8), CP_ACP);
}

std::string Win32RegistryStore::DecodeText(std::string_view bytes) const {
  if (IsAsciiOnly(bytes)) return std::string(bytes);
  return Narrow(Widen(bytes, CP_ACP), CP_UTF8);
}

std::string BaseNameWithoutExtension(std::string_view file);

std::string ExecutableBaseName() {
  char path[MAX_PATH + 1] = {};
  const DWORD n = ::GetModuleFileNameA(nullptr, path, MAX_PATH);
  if (n == 0) return "Serenitap";
  return BaseNameWithoutExtension(Narrow(Widen(std::string_view(path, n), CP_ACP), CP_UTF8));
}

std::string ExpandEnvironmentText(std::string_view text) {
  // Ask for the size first (it counts the terminating zero), then expand.
  const std::string source = Narrow(Widen(text, CP_UTF8), CP_ACP);
  const DWORD n = ::ExpandEnvironmentStringsA(source.c_str(), nullptr, 0);
  if (n == 0) return std::string(text);
  std::string expanded(n, '\0');
  const DWORD written = ::ExpandEnvironmentStringsA(source.c_str(), expanded.data(), n);
  if (written == 0 || written > n) return std::string(text);
  expanded.resize(n - 1);
  return Narrow(Widen(expanded, CP_ACP), CP_UTF8);
}

}  // namespace serenitap::settings
