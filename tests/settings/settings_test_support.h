#pragma once
// What the settings tests share: a store of each test's own, raw access to
// stored values, files as text and environment variables for a scope.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <optional>
#include <sstream>
#include <string>

#include "settings/registry_store.h"
#include "support/temp_store.h"

namespace serenitap::testing {

namespace st = serenitap::settings;
inline constexpr std::int32_t HKCU = st::HKEY_CURRENT_USER;

// Even a test that sets up no store of its own never reaches the user's settings.
class StoreGuard : public ::testing::Environment {
  void SetUp() override { store_ = std::make_unique<TempStore>(); }
  void TearDown() override { store_.reset(); }
  std::unique_ptr<TempStore> store_;
};
inline ::testing::Environment* const kStoreGuard = ::testing::AddGlobalTestEnvironment(new StoreGuard);

// A value as the store holds it.
struct Raw {
  std::uint32_t type = 0;
  std::string bytes;
  friend bool operator==(const Raw&, const Raw&) = default;
  friend void PrintTo(const Raw& r, std::ostream* os) { *os << "type " << r.type << " " << ::testing::PrintToString(r.bytes); }
};

class StoreTest : public ::testing::Test {
 protected:
  // Writes a value below HKEY_CURRENT_USER, creating the key.
  void PutRaw(const std::string& key, const std::string& name, const Raw& raw) {
    st::HKey h = 0;
    ASSERT_EQ(Store().CreateKey(st::RootHandle(HKCU), key, st::KEY_SIX_SPECIFIC_RIGHTS, &h), 0);
    const std::string guarded = raw.bytes + '\xAA';  // no zero after the data to be taken along
    EXPECT_EQ(Store().SetValue(h, name, raw.type, reinterpret_cast<const std::uint8_t*>(guarded.data()),
                               static_cast<std::uint32_t>(raw.bytes.size())), 0);
    EXPECT_EQ(Store().CloseKey(h), 0);
  }
  // The stored value; nothing when it cannot be read.
  std::optional<Raw> GetRaw(std::int32_t root, const std::string& key, const std::string& name) {
    st::HKey h = 0;
    if (Store().OpenKey(st::RootHandle(root), key, st::KEY_QUERY_VALUE, &h) != 0) return std::nullopt;
    Raw raw;
    std::uint32_t size = 0;
    bool ok = Store().QueryValue(h, name, &raw.type, nullptr, &size) == 0;
    raw.bytes.assign(size, '\0');
    ok = ok && Store().QueryValue(h, name, &raw.type, reinterpret_cast<std::uint8_t*>(raw.bytes.data()), &size) == 0;
    Store().CloseKey(h);
    return ok ? std::optional<Raw>(raw) : std::nullopt;
  }
  st::RegistryStore& Store() { return temp_.Store(); }

  TempStore temp_;
};

inline std::string ReadText(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

inline void WriteText(const std::filesystem::path& file, const std::string& text) {
  std::ofstream(file, std::ios::binary) << text;
}

// Sets an environment variable for the scope; the old state comes back after.
class ScopedEnv {
 public:
  ScopedEnv(const char* name, const std::string& value) : name_(name) {
    if (const char* old = std::getenv(name)) old_ = old;
    Set(value.c_str());
  }
  ~ScopedEnv() { Set(old_ ? old_->c_str() : nullptr); }

 private:
  void Set(const char* value) {
#ifdef _WIN32
    _putenv_s(name_, value ? value : "");  // also the copy the system's expansion reads
#else
    value ? ::setenv(name_, value, 1) : ::unsetenv(name_);
#endif
  }
  const char* name_;
  std::optional<std::string> old_;
};

}  // namespace serenitap::testing
