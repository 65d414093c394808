#include "settings/registry.h"

#include <cstring>
#include <vector>

#include "settings/registry_store.h"

namespace serenitap::modRegistry {
namespace settings = serenitap::settings;

std::string RegGetString(std::int32_t root, std::string_view keyPath, std::string_view valueName,
                         std::string_view defaultText) {
  try {
    settings::RegistryStore& store = settings::CurrentStore();
    settings::HKey key = 0;
    store.OpenKey(settings::RootHandle(root), keyPath, settings::MAXIMUM_ALLOWED, &key);
    std::uint32_t type = 0;
    std::uint32_t size = 0;
    store.QueryValue(key, valueName, &type, nullptr, &size);
    bool found = false;
    std::string buffer;
    if (type == settings::REG_SZ) {
      buffer.assign(size, ' ');
      std::uint32_t length = size;
      found = store.QueryValue(key, valueName, &type, reinterpret_cast<std::uint8_t*>(buffer.data()), &length) ==
              settings::ERROR_SUCCESS;
    }
    store.CloseKey(key);
    if (!found) return std::string(defaultText);
    const std::size_t end = buffer.find('\0');
    if (end != std::string::npos) buffer.resize(end);
    return store.DecodeText(buffer);
  } catch (...) {
    // A store that cannot be read reads as a missing value: the caller's default.
    return std::string(defaultText);
  }
}

std::string RegSaveString(std::int32_t root, std::string_view keyPath, std::string_view valueName,
                          std::string_view text) {
  try {
    settings::RegistryStore& store = settings::CurrentStore();
    settings::HKey key = 0;
    store.CreateKey(settings::RootHandle(root), keyPath, settings::MAXIMUM_ALLOWED, &key);
    const std::string data = store.EncodeText(text);
    store.SetValue(key, valueName, settings::REG_SZ, reinterpret_cast<const std::uint8_t*>(data.data()),
                   static_cast<std::uint32_t>(data.size()));
    return std::string(store.CloseKey(key) == settings::ERROR_SUCCESS ? kSaveSucceeded : kSaveFailed);
  } catch (...) {
    // The answer tells the caller the value was not saved.
    return std::string(kSaveFailed);
  }
}

std::int32_t RegGetNumber(std::int32_t root, std::string_view keyPath, std::string_view valueName,
                          std::int32_t defaultNumber) {
  try {
    settings::RegistryStore& store = settings::CurrentStore();
    settings::HKey key = 0;
    store.OpenKey(settings::RootHandle(root), keyPath, settings::MAXIMUM_ALLOWED, &key);
    std::uint8_t data[4] = {0, 0, 0, 0};
    std::uint32_t type = 0;
    std::uint32_t size = sizeof data;
    const settings::RegResult result = store.QueryValue(key, valueName, &type, data, &size);
    store.CloseKey(key);
    if (result != settings::ERROR_SUCCESS || type != settings::REG_DWORD) return defaultNumber;
    const std::uint32_t n = static_cast<std::uint32_t>(data[0]) | (static_cast<std::uint32_t>(data[1]) << 8) |
                            (static_cast<std::uint32_t>(data[2]) << 16) | (static_cast<std::uint32_t>(data[3]) << 24);
    return static_cast<std::int32_t>(n);
  } catch (...) {
    // A store that cannot be read reads as a missing value: the caller's default.
    return defaultNumber;
  }
}

std::string RegSaveNumber(std::int32_t root, std::string_view keyPath, std::string_view valueName,
                          std::int32_t number) {
  try {
    settings::RegistryStore& store = settings::CurrentStore();
    settings::HKey key = 0;
    store.CreateKey(settings::RootHandle(root), keyPath, settings::MAXIMUM_ALLOWED, &key);
    const auto n = static_cast<std::uint32_t>(number);
    const std::uint8_t data[4] = {static_cast<std::uint8_t>(n), static_cast<std::uint8_t>(n >> 8),
                                  static_cast<std::uint8_t>(n >> 16), static_cast<std::uint8_t>(n >> 24)};
    store.SetValue(key, valueName, settings::REG_DWORD, data, sizeof data);
    return std::string(store.CloseKey(key) == settings::ERROR_SUCCESS ? kSaveSucceeded : kSaveFailed);
  } catch (...) {
    // The answer tells the caller the value was not saved.
    return std::string(kSaveFailed);
  }
}

}  // namespace serenitap::modRegistry
