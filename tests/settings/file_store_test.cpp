// The file store: its text, files it cannot read, folders it cannot write,
// hostile files (a pipe, a lock never released, links, read-only files), its
// file rights and two copies saving at once. Nothing may block, nothing is
// overwritten that the user did not give the program, and the user is told.
#include <fcntl.h>
#include <gmock/gmock.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <future>
#include <thread>

#include "services/notice.h"
#include "settings/c_registry.h"
#include "settings/file_store.h"
#include "settings/options.h"
#include "settings/registry.h"
#include "settings/settings_test_support.h"

namespace serenitap::testing {
namespace {

namespace fs = std::filesystem;
using ::testing::HasSubstr;
const std::string kPos(modOptions::kWindowPositionKey);
const std::string kFailed = "No! Failed to save Value";

std::vector<fs::path> SetAsideFiles(const fs::path& folder) {
  std::vector<fs::path> found;
  for (const auto& entry : fs::directory_iterator(folder)) {
    if (entry.path().filename().string().find(".unreadable-") != std::string::npos) found.push_back(entry.path());
  }
  return found;
}

// Runs f on its own thread; false when it has not finished within a second.
// A call that hangs is left behind rather than hanging the suite.
bool FinishesWithinASecond(std::function<void()> f) {
  auto done = std::make_shared<std::promise<void>>();
  std::future<void> finished = done->get_future();
  std::thread([f = std::move(f), done] {
    f();
    done->set_value();
  }).detach();
  return finished.wait_for(std::chrono::seconds(1)) == std::future_status::ready;
}

class FileStore : public ::testing::Test {
 protected:
  void SetUp() override {
    Use(temp_.Folder().Path() / "Serenitap");
    previous_sink_ = SetNoticeSink([this](const std::string& text) { notices_.push_back(text); });
  }
  void TearDown() override { SetNoticeSink(previous_sink_); }
  void Use(const fs::path& folder) {
    store_ = std::make_shared<st::FileRegistryStore>(folder);
    store_->SetLockWait(std::chrono::milliseconds(100));
    st::SetCurrentStore(store_);
  }
  fs::path Hive() const { return store_->HiveFile(HKCU); }
  static std::string SaveLeft(std::int32_t value) { return modRegistry::RegSaveNumber(HKCU, kPos, "Left", value); }
  static std::int32_t Left() { return modRegistry::RegGetNumber(HKCU, kPos, "Left", -1); }

  TempStore temp_;  // puts the test program's store back afterwards
  std::shared_ptr<st::FileRegistryStore> store_;
  NoticeSink previous_sink_;
  std::vector<std::string> notices_;
};

TEST_F(FileStore, TheFileReadsLikeARegistryExport) {
  modOptions::ShowWhatIsItWindow(true);
  SaveLeft(1440);
  EXPECT_EQ(Hive(), temp_.Folder().Path() / "Serenitap" / "HKEY_CURRENT_USER.reg");
  EXPECT_EQ(ReadText(Hive()),
            "Windows Registry Editor Version 5.00\n\n[HKEY_CURRENT_USER\\Software]\n\n"
            "[HKEY_CURRENT_USER\\Software\\Serenitap]\n\n"
            "[HKEY_CURRENT_USER\\Software\\Serenitap\\Options]\n\"ShowWhatIsIt\"=dword:00000001\n\n"
            "[HKEY_CURRENT_USER\\Software\\Serenitap\\WindowPosition]\n\"Left\"=dword:000005a0\n");
  struct stat st {};  // for the owner only
  ASSERT_EQ(::stat(Hive().c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0600u);
  ASSERT_EQ(::stat(Hive().parent_path().c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0700u);
  ASSERT_EQ(::stat((Hive().string() + ".lock").c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0077, 0u);
}

TEST_F(FileStore, AnUnreadableFileIsSetAsideOnceAndTheDefaultsHold) {
  const std::string garbage = "this is no settings file\n\x01\x02\x03";
  fs::create_directories(Hive().parent_path());
  WriteText(Hive(), garbage);
  EXPECT_EQ(Left(), -1);
  EXPECT_FALSE(modOptions::ShowWhatIsItWindow());
  const auto aside = SetAsideFiles(Hive().parent_path());
  ASSERT_EQ(aside.size(), 1u);
  EXPECT_EQ(ReadText(aside[0]), garbage);  // kept, byte for byte
  EXPECT_FALSE(fs::exists(Hive()));
  ASSERT_EQ(notices_.size(), 1u);
  EXPECT_THAT(notices_[0], HasSubstr("could not be read"));
  EXPECT_THAT(notices_[0], HasSubstr(aside[0].string()));
  EXPECT_THAT(notices_[0], HasSubstr("line 1"));
  EXPECT_EQ(modOptions::ShowWhatIsItWindow(true), "Success");
  EXPECT_TRUE(modOptions::ShowWhatIsItWindow());
  EXPECT_EQ(ReadText(aside[0]), garbage);
}

TEST_F(FileStore, AFileBrokenBehindTheProgramsBackIsNotOverwrittenBySaving) {
  SaveLeft(1);
  const std::string truncated = ReadText(Hive()).substr(0, 60);
  WriteText(Hive(), truncated);
  EXPECT_EQ(modRegistry::RegSaveNumber(HKCU, kPos, "Top", 2), "Success");
  const auto aside = SetAsideFiles(Hive().parent_path());
  ASSERT_EQ(aside.size(), 1u);
  EXPECT_EQ(ReadText(aside[0]), truncated);
  EXPECT_EQ(Left(), -1);
  EXPECT_EQ(modRegistry::RegGetNumber(HKCU, kPos, "Top", 0), 2);
}

TEST_F(FileStore, AFolderThatCannotBeMadeFailsEverySaveAndReadsDefaults) {
  const auto blocker = temp_.Folder().Path() / "not-a-folder";
  WriteText(blocker, "a file where the folder should be");
  Use(blocker / "Serenitap");
  EXPECT_EQ(SaveLeft(1), kFailed);
  EXPECT_EQ(modRegistry::RegSaveString(HKCU, kPos, "S", "x"), kFailed);
  EXPECT_FALSE(modOptions::ShowWhatIsItWindow());
  cRegistry r;
  r.ClassKey(HKCU);
  r.SectionKey(kPos);
  r.ValueKey("v");
  r.ValueType(st::REG_DWORD);
  EXPECT_THROW(r.Value(RegVariant(std::int32_t{1})), RegistryError);
  EXPECT_EQ(ReadText(blocker), "a file where the folder should be");
}

TEST_F(FileStore, AFolderThatBecomesUnwritableKeepsWhatWasStored) {
  SaveLeft(1);
  const std::string before = ReadText(Hive());
  const auto lock = fs::path(Hive().string() + ".lock");
  if (::geteuid() == 0) {  // rights do not stop the superuser: block the lock file instead
    fs::remove(lock);
    fs::create_directory(lock);
  } else {
    fs::permissions(Hive().parent_path(), fs::perms::owner_read | fs::perms::owner_exec);
  }
  EXPECT_EQ(SaveLeft(2), kFailed);
  EXPECT_EQ(modRegistry::RegSaveNumber(HKCU, kPos, "Top", 5), kFailed);
  EXPECT_EQ(Left(), 1);
  EXPECT_EQ(ReadText(Hive()), before);
  fs::permissions(Hive().parent_path(), fs::perms::owner_all);
  fs::remove(lock);
  EXPECT_EQ(SaveLeft(3), "Success");
  EXPECT_EQ(Left(), 3);
}

TEST_F(FileStore, APipeAtTheHivePathIsLeftAloneWithoutWaiting) {
  fs::create_directories(Hive().parent_path());
  ASSERT_EQ(::mkfifo(Hive().c_str(), 0600), 0);
  std::int32_t left = 0;
  std::string saved;
  const bool finished = FinishesWithinASecond([&] {
    left = Left();
    saved = SaveLeft(5);
  });
  if (!finished) ::close(::open(Hive().c_str(), O_WRONLY | O_NONBLOCK));  // frees a reader stuck in open
  ASSERT_TRUE(finished) << "the store waited on a pipe";
  EXPECT_EQ(left, -1);
  EXPECT_EQ(saved, kFailed);
  EXPECT_TRUE(fs::is_fifo(Hive()));
  ASSERT_EQ(notices_.size(), 1u);
  EXPECT_THAT(notices_[0], HasSubstr("is not a regular file"));
}

TEST_F(FileStore, ALockHeldElsewhereDelaysNeitherSavingNorReading) {
  ASSERT_EQ(SaveLeft(1), "Success");
  const std::string before = ReadText(Hive());
  // Another open file description: its lock conflicts as another program's would.
  const int other = ::open((Hive().string() + ".lock").c_str(), O_RDWR);
  ASSERT_GE(other, 0);
  ASSERT_EQ(::flock(other, LOCK_EX | LOCK_NB), 0);
  std::string saved;
  ASSERT_TRUE(FinishesWithinASecond([&] { saved = SaveLeft(2); }));
  EXPECT_EQ(saved, kFailed);
  EXPECT_EQ(ReadText(Hive()), before);
  // An unreadable file is not set aside while the other holds the lock; the
  // values last read stay in use.
  WriteText(Hive(), "garbage");
  std::int32_t left = 0;
  ASSERT_TRUE(FinishesWithinASecond([&] { left = Left(); }));
  EXPECT_EQ(left, 1);
  EXPECT_EQ(ReadText(Hive()), "garbage");
  ASSERT_EQ(notices_.size(), 1u);
  EXPECT_THAT(notices_[0], HasSubstr("locked"));
  ::close(other);
  EXPECT_EQ(SaveLeft(3), "Success");
  EXPECT_EQ(Left(), 3);
}

TEST_F(FileStore, ALinkedHiveIsWrittenThroughTheLink) {
  const fs::path elsewhere = temp_.Folder().Path() / "dotfiles";
  fs::create_directories(elsewhere);
  fs::create_directories(Hive().parent_path());
  WriteText(elsewhere / "serenitap.reg", "Windows Registry Editor Version 5.00\n\n"
                                         "[HKEY_CURRENT_USER\\Software\\Serenitap\\Options]\n\"ShowWhatIsIt\"=dword:00000001\n");
  fs::create_symlink(elsewhere / "serenitap.reg", Hive());
  EXPECT_EQ(SaveLeft(720), "Success");
  EXPECT_TRUE(fs::is_symlink(Hive()));
  EXPECT_THAT(ReadText(elsewhere / "serenitap.reg"), HasSubstr("\"Left\"=dword:000002d0"));
  EXPECT_TRUE(modOptions::ShowWhatIsItWindow());
  EXPECT_EQ(std::distance(fs::directory_iterator(elsewhere), fs::directory_iterator()), 1);
}

TEST_F(FileStore, AReadOnlyHiveIsLeftUnchangedAndSaidOnce) {
  ASSERT_EQ(SaveLeft(1), "Success");
  const std::string before = ReadText(Hive());
  fs::permissions(Hive(), fs::perms::owner_read);
  EXPECT_EQ(SaveLeft(2), kFailed);
  EXPECT_EQ(SaveLeft(3), kFailed);
  EXPECT_EQ(ReadText(Hive()), before);
  EXPECT_EQ(Left(), 1);
  ASSERT_EQ(notices_.size(), 1u);
  EXPECT_THAT(notices_[0], HasSubstr("read-only"));
}

TEST_F(FileStore, ASaveRemovesOnlyTheTemporaryFilesOfInterruptedSaves) {
  fs::create_directories(Hive().parent_path());
  const std::string hive = Hive().string(), other = (Hive().parent_path() / "other.reg.a1B2c3").string();
  for (const std::string& name : {hive + ".a1B2c3", hive + ".zzzzzz", hive + ".keep", hive + ".unreadable-2026", other}) {
    WriteText(name, "x");
  }
  EXPECT_EQ(SaveLeft(1), "Success");
  for (const auto& [name, kept] : {std::pair{hive + ".a1B2c3", false}, {hive + ".zzzzzz", false},
                                   {hive + ".keep", true}, {hive + ".unreadable-2026", true}, {other, true}}) {
    EXPECT_EQ(fs::exists(name), kept) << name;
  }
}

TEST_F(FileStore, AnExportOfTheRegistryEditorIsReadAndWrittenBackInTheStoresForm) {
  // UTF-16 LE with a byte-order mark and CR LF line ends.
  const std::u16string text =
      u"Windows Registry Editor Version 5.00\r\n\r\n[HKEY_CURRENT_USER\\Software\\Serenitap\\WindowPosition]\r\n"
      u"\"Left\"=dword:000003c0\r\n\"Title\"=\"Gr\u00fc\u00dfe \U0001F600\"\r\n\r\n";
  std::string bytes = "\xFF\xFE";
  for (const char16_t unit : text) bytes += {static_cast<char>(unit & 0xFF), static_cast<char>(unit >> 8)};
  fs::create_directories(Hive().parent_path());
  WriteText(Hive(), bytes);
  EXPECT_EQ(Left(), 960);
  EXPECT_EQ(modRegistry::RegGetString(HKCU, kPos, "Title", ""), "Grüße 😀");
  EXPECT_TRUE(notices_.empty());
  EXPECT_EQ(SaveLeft(1), "Success");
  EXPECT_THAT(ReadText(Hive()), ::testing::StartsWith("Windows Registry Editor Version 5.00\n"));
  EXPECT_EQ(modRegistry::RegGetString(HKCU, kPos, "Title", ""), "Grüße 😀");
}

TEST(FileStoreFolder, TheDefaultFolderFollowsTheEnvironment) {
  {
    ScopedEnv xdg("XDG_CONFIG_HOME", "/somewhere/config");
    EXPECT_EQ(st::DefaultConfigFolder(), fs::path("/somewhere/config/Serenitap"));
  }
  ScopedEnv xdg("XDG_CONFIG_HOME", "relative/is/ignored");
  ScopedEnv home("HOME", "/home/tapper");
  EXPECT_EQ(st::DefaultConfigFolder(), fs::path("/home/tapper/.config/Serenitap"));
}

TEST_F(FileStore, TwoCopiesSeeEachOthersChanges) {
  auto second = std::make_shared<st::FileRegistryStore>(Hive().parent_path());
  SaveLeft(1);
  st::SetCurrentStore(second);
  modRegistry::RegSaveNumber(HKCU, kPos, "Top", 2);
  EXPECT_EQ(Left(), 1);
  st::SetCurrentStore(store_);
  EXPECT_EQ(modRegistry::RegGetNumber(HKCU, kPos, "Top", 0), 2);
  // A key deleted by the other copy is gone for the handles this one holds.
  st::HKey key = 0;
  ASSERT_EQ(store_->CreateKey(st::RootHandle(HKCU), "Software\\Serenitap\\Gone", st::MAXIMUM_ALLOWED, &key), 0);
  EXPECT_EQ(second->DeleteKey(st::RootHandle(HKCU), "Software\\Serenitap\\Gone"), 0);
  const std::uint8_t one[4] = {1, 0, 0, 0};
  EXPECT_EQ(store_->SetValue(key, "x", st::REG_DWORD, one, 4), st::ERROR_KEY_DELETED);
  store_->CloseKey(key);
}

TEST_F(FileStore, TwoProcessesSavingAtOnceLoseNothing) {
  constexpr int kValues = 200;
  auto name = [](int copy, int i) { return "Copy" + std::to_string(copy) + "-" + std::to_string(i); };
  std::vector<pid_t> children;
  for (int copy = 0; copy < 2; ++copy) {
    const pid_t pid = ::fork();
    ASSERT_GE(pid, 0);
    if (pid == 0) {
      st::SetCurrentStore(std::make_shared<st::FileRegistryStore>(Hive().parent_path()));
      int failures = 0;
      for (int i = 0; i < kValues; ++i) failures += modRegistry::RegSaveNumber(HKCU, kPos, name(copy, i), i) != "Success";
      ::_exit(failures == 0 ? 0 : 1);
    }
    children.push_back(pid);
  }
  for (const pid_t pid : children) {
    int status = 0;
    ASSERT_EQ(::waitpid(pid, &status, 0), pid);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
  }
  int missing = 0;
  for (int copy = 0; copy < 2; ++copy) {
    for (int i = 0; i < kValues; ++i) missing += modRegistry::RegGetNumber(HKCU, kPos, name(copy, i), -1) != i;
  }
  EXPECT_EQ(missing, 0);
  EXPECT_TRUE(SetAsideFiles(Hive().parent_path()).empty());
}

}  // namespace
}  // namespace serenitap::testing
