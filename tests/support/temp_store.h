#pragma once
// A settings store in a folder of the test's own, installed for the object's
// lifetime, so no test touches the user's real settings.
#include <QTemporaryDir>
#include <filesystem>
#include <memory>

#include "settings/file_store.h"
#include "settings/registry_store.h"

namespace serenitap::testing {

class TempStore {
 public:
  TempStore() {
    previous_ = settings::SetCurrentStore(
        std::make_shared<settings::FileRegistryStore>(std::filesystem::path(dir_.path().toStdString())));
  }
  ~TempStore() { settings::SetCurrentStore(previous_); }
  TempStore(const TempStore&) = delete;
  TempStore& operator=(const TempStore&) = delete;

 private:
  QTemporaryDir dir_;
  std::shared_ptr<settings::RegistryStore> previous_;
};

}  // namespace serenitap::testing
