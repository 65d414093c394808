#pragma once
// A file settings store in a folder of the test's own, current for the
// object's lifetime, so no test touches the user's real settings.
#include <memory>

#include "settings/file_store.h"
#include "settings/registry_store.h"
#include "support/temp_folder.h"

namespace serenitap::testing {

class TempStore {
 public:
  TempStore()
      : previous_(settings::SetCurrentStore(std::make_shared<settings::FileRegistryStore>(folder_.Path()))) {}
  ~TempStore() { settings::SetCurrentStore(previous_); }
  TempStore(const TempStore&) = delete;
  TempStore& operator=(const TempStore&) = delete;

 private:
  TempFolder folder_;
  std::shared_ptr<settings::RegistryStore> previous_;
};

}  // namespace serenitap::testing
