#pragma once
// What the settings tests share: a store of each test's own, raw access to
// stored values and files as text.
#include <gtest/gtest.h>

#include <cstdint>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>

#include "settings/registry_store.h"
#include "support/temp_store.h"

namespace serenitap::testing {

namespace st = serenitap::settings;
inline constexpr std::int32_t HKCU = st::HKEY_CURRENT_USER;

// A value as the store holds it.
struct Raw {
  std::uint32_t type = 0;
  std::string bytes;
  friend bool operator==(const Raw&, const Raw&) = default;
};

inline std::string Z(const std::string& text) { return text + '\0'; }

// Every test that touches the settings has a store of its own.
class StoreTest : public ::testing::Test {
 protected:
  // Writes a value, creating the key; a byte after the data must not be taken along.
  void PutRaw(const std::string& key, const std::string& name, const Raw& raw) {
    st::HKey h = 0;
    ASSERT_EQ(Store().CreateKey(st::RootHandle(HKCU), key, st::KEY_SIX_SPECIFIC_RIGHTS, &h), 0);
    const std::string data = raw.bytes + '\xAA';
    EXPECT_EQ(Store().SetValue(h, name, raw.type, reinterpret_cast<const std::uint8_t*>(data.data()),
                               static_cast<std::uint32_t>(raw.bytes.size())),
              0);
    Store().CloseKey(h);
  }
  // The stored value; nothing when it cannot be read.
  std::optional<Raw> GetRaw(std::int32_t root, const std::string& key, const std::string& name) {
    st::HKey h = 0;
    Raw raw;
    std::uint32_t size = 0;
    bool ok = Store().OpenKey(st::RootHandle(root), key, st::KEY_QUERY_VALUE, &h) == 0 &&
              Store().QueryValue(h, name, &raw.type, nullptr, &size) == 0;
    raw.bytes.assign(size, '\0');
    ok = ok && Store().QueryValue(h, name, &raw.type, reinterpret_cast<std::uint8_t*>(raw.bytes.data()), &size) == 0;
    Store().CloseKey(h);
    return ok ? std::optional<Raw>(raw) : std::nullopt;
  }
  st::RegistryStore& Store() { return temp_.Store(); }

  TempStore temp_;
};

inline void WriteText(const std::filesystem::path& file, const std::string& text) {
  std::ofstream(file, std::ios::binary) << text;
}

}  // namespace serenitap::testing
