#pragma once
// The settings tests' backends and fixture. Every test gets a store of its
// own: on Windows the registry below a throw-away key, elsewhere the file
// store in a temporary folder. The fixture makes it the current store.
#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "settings/registry_store.h"
#include "support/temp_folder.h"

namespace serenitap::testing {

struct StoreBackend {
  std::string name;
  // Makes a fresh, empty store of this kind.
  std::function<std::shared_ptr<settings::RegistryStore>()> make;
};

inline void PrintTo(const StoreBackend& b, std::ostream* os) { *os << b.name; }

// The backends of this system (registry on Windows, files elsewhere).
std::vector<StoreBackend> AvailableBackends();

// Sets an environment variable for the scope, restoring the old state after.
class ScopedEnv {
 public:
  ScopedEnv(const std::string& name, const std::string& value);
  ~ScopedEnv();
  ScopedEnv(const ScopedEnv&) = delete;
  ScopedEnv& operator=(const ScopedEnv&) = delete;

 private:
  std::string name_;
  bool had_ = false;
  std::string old_;
};

class SettingsStoreTest : public ::testing::TestWithParam<StoreBackend> {
 protected:
  void SetUp() override {
    store_ = GetParam().make();
    previous_ = settings::SetCurrentStore(store_);
  }
  void TearDown() override {
    settings::SetCurrentStore(previous_);
    store_.reset();
  }
  settings::RegistryStore& Store() { return *store_; }

  // Writes raw bytes of a type below HKEY_CURRENT_USER, creating the key.
  void PutRaw(const std::string& key, const std::string& name, std::uint32_t type, const std::string& bytes);
  // The stored type and bytes of a value; false when it cannot be read.
  bool GetRaw(std::int32_t root, const std::string& key, const std::string& name, std::uint32_t* type,
              std::string* bytes);

  std::shared_ptr<settings::RegistryStore> store_;
  std::shared_ptr<settings::RegistryStore> previous_;
};

std::string BackendName(const ::testing::TestParamInfo<StoreBackend>& info);

}  // namespace serenitap::testing
