#pragma once
// The settings store on Windows: the registry itself, through the ANSI
// functions of advapi32 (RegOpenKeyExA, RegOpenKeyA, RegCreateKeyExA,
// RegCreateKeyA, RegCloseKey, RegQueryValueExA, RegSetValueExA, RegDeleteKeyA,
// RegDeleteValueA, RegQueryInfoKeyA, RegEnumValueA, RegEnumKeyA). Names and
// texts are turned from the program's UTF-8 into the system ANSI code page on
// the way in and back on the way out. Compiled only on Windows.
//
// OpenKey and CreateKey asked for MAXIMUM_ALLOWED use the short forms
// RegOpenKeyA and RegCreateKeyA; any other access the Ex forms.
//
// A store made with a sandbox key maps every predefined root to a key below
// HKEY_CURRENT_USER\<sandbox>\<root name>, so tests never touch the real
// settings; RemoveSandbox deletes that key with everything in it.
#include <map>
#include <string>

#include "settings/registry_store.h"

namespace serenitap::settings {

class Win32RegistryStore : public RegistryStore {
 public:
  Win32RegistryStore() = default;
  explicit Win32RegistryStore(std::string sandboxKey);
  ~Win32RegistryStore() override;
  Win32RegistryStore(const Win32RegistryStore&) = delete;
  Win32RegistryStore& operator=(const Win32RegistryStore&) = delete;

  // Deletes the sandbox key and everything below it; 0 on success.
  RegResult RemoveSandbox();

  RegResult OpenKey(HKey key, std::string_view subKey, std::uint32_t access, HKey* result) override;
  RegResult CreateKey(HKey key, std::string_view subKey, std::uint32_t access, HKey* result,
                      bool* created = nullptr) override;
  RegResult CloseKey(HKey key) override;
  RegResult QueryValue(HKey key, std::string_view name, std::uint32_t* type, std::uint8_t* data,
                       std::uint32_t* size) override;
  RegResult SetValue(HKey key, std::string_view name, std::uint32_t type, const std::uint8_t* data,
                     std::uint32_t size) override;
  RegResult DeleteKey(HKey key, std::string_view subKey) override;
  RegResult DeleteValue(HKey key, std::string_view name) override;
  RegResult QueryInfoKey(HKey key, KeyInfo* info) override;
  RegResult EnumValue(HKey key, std::uint32_t index, char* name, std::uint32_t* nameLen) override;
  RegResult EnumKey(HKey key, std::uint32_t index, char* name, std::uint32_t nameSize) override;

  std::string EncodeText(std::string_view text) const override;
  std::string DecodeText(std::string_view bytes) const override;

 private:
  // The handle to use for key: a sandbox root's key for a predefined root.
  HKey Map(HKey key);

  std::string sandbox_;
  std::map<HKey, HKey> sandbox_roots_;
};

}  // namespace serenitap::settings
