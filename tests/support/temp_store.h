#pragma once
// A settings store of the test's own, current for the object's lifetime, so
// no test touches the user's real settings: the file store in a temporary
// folder, or on Windows the registry below a throw-away key.
#include <memory>

#include "settings/registry_store.h"
#include "support/temp_folder.h"
#ifdef _WIN32
#include "settings/win32_store.h"
#else
#include "settings/file_store.h"
#endif

namespace serenitap::testing {

class TempStore {
 public:
  TempStore() : previous_(settings::SetCurrentStore(store_)) {}
  ~TempStore() {
    settings::SetCurrentStore(previous_);
#ifdef _WIN32
    store_->RemoveSandbox();
#endif
  }
  TempStore(const TempStore&) = delete;
  TempStore& operator=(const TempStore&) = delete;

  settings::RegistryStore& Store() { return *store_; }
  // The folder the file store keeps its files in (unused on Windows).
  const TempFolder& Folder() const { return folder_; }

 private:
  TempFolder folder_;
#ifdef _WIN32
  std::shared_ptr<settings::Win32RegistryStore> store_ =
      std::make_shared<settings::Win32RegistryStore>("Software\\SerenitapTests\\" + folder_.Path().filename().string());
#else
  std::shared_ptr<settings::FileRegistryStore> store_ = std::make_shared<settings::FileRegistryStore>(folder_.Path());
#endif
  std::shared_ptr<settings::RegistryStore> previous_;
};

}  // namespace serenitap::testing
