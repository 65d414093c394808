#include "settings/settings_fixture.h"

#include <atomic>
#include <cstdlib>
#include <random>

#ifdef _WIN32
#include "settings/win32_store.h"
#include <process.h>
#include <stdlib.h>
#else
#include <unistd.h>

#include "settings/file_store.h"
#endif

namespace serenitap::testing {
namespace {

[[maybe_unused]] std::string UniqueName() {
  static std::atomic<int> counter{0};
  std::random_device random;
#ifdef _WIN32
  const long pid = static_cast<long>(_getpid());
#else
  const long pid = static_cast<long>(::getpid());
#endif
  return std::to_string(pid) + "-" + std::to_string(counter++) + "-" + std::to_string(random() % 1000000);
}

// Keeps even an accidental use of the default store out of the real user
// configuration: the configuration folder of this test program is temporary.
class KeepAwayFromUserConfiguration : public ::testing::Environment {
 public:
  void SetUp() override {
    folder_ = std::make_unique<TempFolder>();
    xdg_ = std::make_unique<ScopedEnv>("XDG_CONFIG_HOME", folder_->Path().string());
    home_ = std::make_unique<ScopedEnv>("HOME", folder_->Path().string());
#ifdef _WIN32
    guard_ = std::make_shared<settings::Win32RegistryStore>("Software\\SerenitapTests\\default-" + UniqueName());
#else
    guard_ = std::make_shared<settings::FileRegistryStore>(folder_->Path() / "default");
#endif
    settings::SetCurrentStore(guard_);
  }
  void TearDown() override {
    settings::SetCurrentStore(nullptr);
#ifdef _WIN32
    guard_->RemoveSandbox();
#endif
    guard_.reset();
    home_.reset();
    xdg_.reset();
    folder_.reset();
  }

 private:
  std::unique_ptr<TempFolder> folder_;
  std::unique_ptr<ScopedEnv> xdg_, home_;
#ifdef _WIN32
  std::shared_ptr<settings::Win32RegistryStore> guard_;
#else
  std::shared_ptr<settings::FileRegistryStore> guard_;
#endif
};

[[maybe_unused]] ::testing::Environment* const kEnvironment =
    ::testing::AddGlobalTestEnvironment(new KeepAwayFromUserConfiguration);

#ifdef _WIN32
// The registry store of one test; its key is deleted with it.
class SandboxStore : public settings::Win32RegistryStore {
 public:
  using Win32RegistryStore::Win32RegistryStore;
  ~SandboxStore() override { RemoveSandbox(); }
};
#else
// The file store of one test; its folder goes with it.
class FolderStore : public settings::FileRegistryStore {
 public:
  explicit FolderStore(std::unique_ptr<TempFolder> folder)
      : FileRegistryStore(folder->Path() / "Serenitap"), folder_(std::move(folder)) {}

 private:
  std::unique_ptr<TempFolder> folder_;
};
#endif

}  // namespace

std::vector<StoreBackend> AvailableBackends() {
#ifdef _WIN32
  return {StoreBackend{"registry", [] {
                         return std::shared_ptr<settings::RegistryStore>(
                             std::make_shared<SandboxStore>("Software\\SerenitapTests\\" + UniqueName()));
                       }}};
#else
  return {StoreBackend{"file", [] {
                         return std::shared_ptr<settings::RegistryStore>(
                             std::make_shared<FolderStore>(std::make_unique<TempFolder>()));
                       }}};
#endif
}

ScopedEnv::ScopedEnv(const std::string& name, const std::string& value) : name_(name) {
  if (const char* old = std::getenv(name.c_str())) {
    had_ = true;
    old_ = old;
  }
#ifdef _WIN32
  // Also sets the system's copy that ExpandEnvironmentStrings reads.
  _putenv_s(name.c_str(), value.c_str());
#else
  ::setenv(name.c_str(), value.c_str(), 1);
#endif
}

ScopedEnv::~ScopedEnv() {
#ifdef _WIN32
  _putenv_s(name_.c_str(), had_ ? old_.c_str() : "");
#else
  if (had_) {
    ::setenv(name_.c_str(), old_.c_str(), 1);
  } else {
    ::unsetenv(name_.c_str());
  }
#endif
}

void SettingsStoreTest::PutRaw(const std::string& key, const std::string& name, std::uint32_t type,
                               const std::string& bytes) {
  settings::HKey h = 0;
  ASSERT_EQ(Store().CreateKey(settings::RootHandle(settings::HKEY_CURRENT_USER), key,
                              settings::KEY_SIX_SPECIFIC_RIGHTS, &h),
            0);
  // A non-zero byte after the data, so that no zero terminator is taken along.
  const std::string guarded = bytes + '\xAA';
  EXPECT_EQ(Store().SetValue(h, name, type, reinterpret_cast<const std::uint8_t*>(guarded.data()),
                             static_cast<std::uint32_t>(bytes.size())),
            0);
  EXPECT_EQ(Store().CloseKey(h), 0);
}

bool SettingsStoreTest::GetRaw(std::int32_t root, const std::string& key, const std::string& name,
                               std::uint32_t* type, std::string* bytes) {
  settings::HKey h = 0;
  if (Store().OpenKey(settings::RootHandle(root), key, settings::KEY_QUERY_VALUE, &h) != 0) return false;
  std::uint32_t size = 0;
  bool ok = Store().QueryValue(h, name, type, nullptr, &size) == 0;
  if (ok) {
    bytes->assign(size, '\0');
    ok = Store().QueryValue(h, name, type, reinterpret_cast<std::uint8_t*>(bytes->data()), &size) == 0;
  }
  Store().CloseKey(h);
  return ok;
}

std::string BackendName(const ::testing::TestParamInfo<StoreBackend>& info) { return info.param.name; }

}  // namespace serenitap::testing
