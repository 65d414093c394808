// The file store: its text, files it cannot read, saves it cannot make (among
// them another copy's lock and a full disk), hostile files (a pipe, links,
// left-over temporary files). Nothing may block, nothing is overwritten that
// the user did not give the program, and the user is told.
#include <gmock/gmock.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <fstream>

#include "services/notice.h"
#include "settings/faulty_file_writer.h"
#include "settings/options.h"
#include "settings/registry.h"
#include "settings/settings_test_support.h"
#include "support/scoped_environment.h"
#include "support/within_deadline.h"

namespace serenitap::testing {
namespace {

namespace fs = std::filesystem;
using ::testing::AllOf;
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

std::string SaveLeft(std::int32_t value) { return modRegistry::RegSaveNumber(HKCU, kPos, "Left", value); }
std::int32_t Left() { return modRegistry::RegGetNumber(HKCU, kPos, "Left", -1); }
// Saves through the store itself: the error of making the key, else of closing it.
st::RegResult SaveAndClose(st::RegistryStore& store, const std::string& name, std::int32_t value) {
  st::HKey key = 0;
  if (const st::RegResult made = store.CreateKey(st::RootHandle(HKCU), kPos, st::MAXIMUM_ALLOWED, &key)) return made;
  store.SetValue(key, name, st::REG_DWORD, reinterpret_cast<const std::uint8_t*>(&value), sizeof value);
  return store.CloseKey(key);
}

// A number this process's file in /proc gives after the label ("Threads:" in "status", "rchar:" in "io").
std::uint64_t ProcNumber(const std::string& file, const std::string& label) {
  std::ifstream in("/proc/self/" + file);
  for (std::string line; std::getline(in, line);) {
    if (line.rfind(label, 0) == 0) return std::stoull(line.substr(label.size()));
  }
  return 0;
}

TEST(PosixFileWriter, ALockHeldElsewhereRunsOutItsWaitAndIsHadOnceLetGo) {
  TempFolder folder;
  // Each attempt runs with a deadline of its own: a wait that is not bounded fails here.
  auto lock = [writer = std::make_shared<st::PosixFileWriter>(),
               lockFile = folder.Path() / "hive.reg.lock"](bool queue) {
    return WithinDeadline([writer, lockFile, queue] {
      std::unique_ptr<st::FileLock> lock;
      const st::RegResult result = writer->Lock(lockFile, {std::chrono::milliseconds(100), queue}, &lock);
      return std::pair{result, std::shared_ptr<st::FileLock>(std::move(lock))};
    });
  };
  const auto threads = ProcNumber("status", "Threads:");
  auto held = lock(true);
  ASSERT_TRUE(held.has_value());
  ASSERT_EQ(held->first, 0);
  const auto waiting = lock(true);
  ASSERT_TRUE(waiting.has_value()) << "the wait for a lock held elsewhere has no end";
  EXPECT_EQ(waiting->first, st::ERROR_LOCK_VIOLATION);
  EXPECT_EQ(waiting->second, nullptr);
  const auto tried = lock(false);  // trying now and then runs out as well
  ASSERT_TRUE(tried.has_value());
  EXPECT_EQ(tried->first, st::ERROR_LOCK_VIOLATION);
  held.reset();
  // The wait given up gets the lock now and must let it go at once: when its
  // thread has ended, nobody may hold the lock any more.
  Eventually([&] { return ProcNumber("status", "Threads:") <= threads; });
  const auto again = lock(false);
  ASSERT_TRUE(again.has_value());
  EXPECT_EQ(again->first, 0);
}

// Two copies of the program save at the same moment, each values of its own:
// the lock takes their saves one after the other, and the file keeps all.
TEST(TwoCopiesOfTheStore, SavingAtTheSameMomentLoseNothing) {
  TempFolder folder;
  constexpr int kSaves = 25;
  auto copy = [folder = folder.Path()](char name) {
    return std::async(std::launch::async, [store = std::make_shared<st::FileRegistryStore>(folder), name] {
      for (std::int32_t i = 0; i < kSaves; ++i) SaveAndClose(*store, name + std::to_string(i), i);
    });
  };
  auto both = WithinDeadline(
      [first = copy('A').share(), second = copy('B').share()] {
        first.wait();
        second.wait();
        return true;
      },
      std::chrono::seconds(30));
  ASSERT_TRUE(both.has_value()) << "the two copies did not finish their saves";
  const std::string text = ReadText(folder.Path() / "HKEY_CURRENT_USER.reg");
  for (const char name : {'A', 'B'}) {
    for (int i = 0; i < kSaves; ++i) {
      EXPECT_THAT(text, HasSubstr("\"" + std::string(1, name) + std::to_string(i) + "\"=")) << name << i;
    }
  }
}

TEST(DefaultConfigFolder, IsBelowAnAbsoluteXdgConfigHomeElseBelowTheHomeFolder) {
  const passwd* account = ::getpwuid(::getuid());
  ASSERT_NE(account, nullptr);
  const fs::path account_config = fs::path(account->pw_dir) / ".config" / "Serenitap";
  const std::tuple<const char*, const char*, fs::path> cases[] = {
      // XDG_CONFIG_HOME, HOME, the folder
      {"/xdg/config", "/home/u", "/xdg/config/Serenitap"},
      {nullptr, "/home/u", "/home/u/.config/Serenitap"},
      {"relative/config", "/home/u", "/home/u/.config/Serenitap"},
      {nullptr, "", account_config},
      {"", nullptr, account_config}};
  ScopedEnvironment environment;
  for (const auto& [xdg, home, folder] : cases) {
    environment.Set("XDG_CONFIG_HOME", xdg);
    environment.Set("HOME", home);
    EXPECT_EQ(st::DefaultConfigFolder(), folder) << (xdg ? xdg : "unset") << ", " << (home ? home : "unset");
  }
}

class FileStore : public ::testing::Test {
 protected:
  void SetUp() override {
    Use("Serenitap");
    previous_sink_ = SetNoticeSink([this](const std::string& text) { notices_.push_back(text); });
  }
  void TearDown() override { SetNoticeSink(previous_sink_); }
  // A store in a sub-folder of the test's folder, made current; the folder is made, nothing told yet.
  void Use(const std::string& name) {
    notices_.clear();
    writer_ = std::make_shared<FaultyFileWriter>();
    store_ = std::make_shared<st::FileRegistryStore>(temp_.Folder().Path() / name, writer_);
    store_->SetLockWait(std::chrono::milliseconds(100));
    st::SetCurrentStore(store_);
    fs::create_directories(Folder());
  }
  fs::path Folder() const { return store_->Folder(); }
  fs::path Hive() const { return store_->HiveFile(HKCU); }
  std::string Lock() const { return Hive().string() + ".lock"; }

  TempStore temp_;  // puts the test program's store back afterwards
  std::shared_ptr<FaultyFileWriter> writer_;
  std::shared_ptr<st::FileRegistryStore> store_;
  NoticeSink previous_sink_;
  std::vector<std::string> notices_;
};

TEST_F(FileStore, TheFileReadsLikeARegistryExportForTheOwnerOnly) {
  fs::remove(Folder());  // made by the store
  modOptions::ShowWhatIsItWindow(true);
  SaveLeft(1440);
  EXPECT_EQ(Hive(), temp_.Folder().Path() / "Serenitap" / "HKEY_CURRENT_USER.reg");
  EXPECT_EQ(ReadText(Hive()),
            "Windows Registry Editor Version 5.00\n\n[HKEY_CURRENT_USER\\Software]\n\n"
            "[HKEY_CURRENT_USER\\Software\\Serenitap]\n\n"
            "[HKEY_CURRENT_USER\\Software\\Serenitap\\Options]\n\"ShowWhatIsIt\"=dword:00000001\n\n"
            "[HKEY_CURRENT_USER\\Software\\Serenitap\\WindowPosition]\n\"Left\"=dword:000005a0\n");
  for (const auto& [file, mode] : {std::pair{Hive(), 0600u}, {Folder(), 0700u}, {fs::path(Lock()), 0600u}})
    EXPECT_EQ(fs::status(file).permissions(), static_cast<fs::perms>(mode)) << file;
}

TEST_F(FileStore, AnUnreadableFileIsSetAsideForItsOwnerOnlyAndNeverOverwritten) {
  WriteText(Hive(), "this is no settings file\n\x01");
  fs::permissions(Hive(),
                  fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read | fs::perms::others_read);
  EXPECT_EQ(Left(), -1);
  const auto aside = SetAsideFiles(Folder());
  ASSERT_EQ(aside.size(), 1u);
  EXPECT_EQ(ReadText(aside[0]), "this is no settings file\n\x01");  // kept, byte for byte
  EXPECT_EQ(fs::status(aside[0]).permissions(), fs::perms::owner_read | fs::perms::owner_write);
  ASSERT_EQ(notices_.size(), 1u);  // said once
  EXPECT_THAT(notices_[0], AllOf(HasSubstr("could not be read"), HasSubstr(aside[0].string()), HasSubstr("line 1")));
  EXPECT_EQ(SaveLeft(1), "Success");
  WriteText(Hive(), "broken behind the program's back");
  EXPECT_EQ(modRegistry::RegSaveNumber(HKCU, kPos, "Top", 2), "Success");
  EXPECT_EQ(Left(), -1);
  EXPECT_EQ(SetAsideFiles(Folder()).size(), 2u);
}

// Each case also holds for the superuser (the tests run as root in CI).
TEST_F(FileStore, ASaveThatCannotBeMadeChangesNothingWaitsForNothingAndIsSaidOnce) {
  using Step = std::function<void()>;
  // name, what blocks the save, what repairs it, the value read after the failed save (-1: none), error, notice
  const std::tuple<const char*, Step, Step, std::int32_t, st::RegResult, const char*> rows[] = {
      {"read-only", [&] { fs::permissions(Hive(), fs::perms::owner_read); },
       [&] { fs::permissions(Hive(), fs::perms::owner_read | fs::perms::owner_write); }, 1, 5, "read-only"},
      {"locked", [&] { writer_->FailLocks(st::ERROR_LOCK_VIOLATION); },
       [&] {
         EXPECT_FALSE(writer_->LastAttempt().queue);  // after a wait ran out, saves only try briefly
         writer_->FailLocks(0);
       },
       1, 33, "locked"},
      {"disk-full", [&] { writer_->FailReplaces(ENOSPC); }, [&] { writer_->FailReplaces(0); }, 1, 112,
       "No space left on device"},
      {"flush-fails", [&] { writer_->FailFlushes(EIO); }, [&] { writer_->FailFlushes(0); }, 1, 29,
       "Input/output error"},
      {"lock-file-a-folder", [&] { fs::remove(Lock()), fs::create_directory(Lock()); }, [&] { fs::remove(Lock()); }, 1,
       5, "lock file \""},
      {"no-free-inode", [&] { writer_->FailLocks(st::ERROR_DISK_FULL); }, [&] { writer_->FailLocks(0); }, 1, 112,
       "no room for another file"},
      {"pipe", [&] { fs::remove(Hive()), ::mkfifo(Hive().c_str(), 0600); }, [&] { fs::remove(Hive()); }, -1, 5,
       "not a regular file"},
      {"no-folder", [&] { fs::remove_all(Folder()), WriteText(Folder(), "x"); }, [&] { fs::remove(Folder()); }, -1, 5,
       "cannot be written"}};
  for (const auto& [name, block, repair, left, error, notice] : rows) {
    SCOPED_TRACE(name);
    Use(name);
    ASSERT_EQ(SaveLeft(1), "Success");
    const std::string before = ReadText(Hive());
    block();
    struct Outcome {
      st::RegResult closed = 0;
      std::string saved;
      std::int32_t left = 0;
    };
    const auto outcome = WithinDeadline(
        [store = store_] {
          return Outcome{SaveAndClose(*store, "Left", 2), SaveLeft(3), Left()};
        },
        std::chrono::seconds(1));
    ASSERT_TRUE(outcome.has_value()) << "the save waited";
    EXPECT_EQ(outcome->closed, error);
    EXPECT_EQ(outcome->saved, kFailed);
    EXPECT_EQ(outcome->left, left);
    EXPECT_TRUE(left < 0 || ReadText(Hive()) == before);
    EXPECT_EQ(notices_.size(), 1u);
    for (const std::string& said : notices_) EXPECT_THAT(said, HasSubstr(notice));
    std::error_code ec;  // nothing half-written left behind
    for (const auto& entry : fs::directory_iterator(Folder(), ec)) {
      EXPECT_THAT(entry.path().filename().string(),
                  ::testing::AnyOf(Hive().filename().string(), fs::path(Lock()).filename().string()));
    }
    repair();
    EXPECT_EQ(SaveLeft(3), "Success");
    EXPECT_EQ(Left(), 3);
  }
}

TEST_F(FileStore, ALinkedHiveIsWrittenThroughTheLinkAndLeftOversAreRemoved) {
  const fs::path target = temp_.Folder().Path() / "serenitap.reg";
  WriteText(target, "Windows Registry Editor Version 5.00\n\n[HKEY_CURRENT_USER\\Software]\n\"Kept\"=dword:00000001\n");
  fs::create_symlink(target, Hive());
  WriteText(target.string() + ".a1B2c3", "left by a save that was cut short");
  WriteText(target.string() + ".keep", "x");
  EXPECT_EQ(SaveLeft(720), "Success");
  EXPECT_TRUE(fs::is_symlink(Hive()));
  EXPECT_THAT(ReadText(target), HasSubstr("\"Kept\"=dword:00000001\n\n[HKEY_CURRENT_USER\\Software\\Serenitap]"));
  EXPECT_FALSE(fs::exists(target.string() + ".a1B2c3"));
  EXPECT_TRUE(fs::exists(target.string() + ".keep"));  // not a name the store gives its temporary files
}

// A link whose target is not there yet: the first save creates the target
// and the link stays; a target that cannot be made is told.
TEST_F(FileStore, ALinkToAFileNotYetThereCreatesItOrSaysWhyItCannot) {
  const fs::path elsewhere = temp_.Folder().Path() / "elsewhere";
  fs::create_directory(elsewhere);
  // links: link, what it points to; target: where the settings must land; empty: nowhere
  const std::tuple<const char*, std::vector<std::pair<fs::path, fs::path>>, fs::path> rows[] = {
      {"relative", {{"HKEY_CURRENT_USER.reg", "../elsewhere/b.reg"}}, elsewhere / "b.reg"},
      {"chain", {{"HKEY_CURRENT_USER.reg", "middle.reg"}, {"middle.reg", elsewhere / "c.reg"}}, elsewhere / "c.reg"},
      {"no-such-folder", {{"HKEY_CURRENT_USER.reg", elsewhere / "missing/d.reg"}}, {}},
  };
  for (const auto& [name, links, target] : rows) {
    SCOPED_TRACE(name);
    Use(name);
    for (const auto& [link, to] : links) fs::create_symlink(to, Folder() / link);
    EXPECT_EQ(SaveLeft(7), target.empty() ? kFailed : "Success");
    EXPECT_TRUE(fs::is_symlink(Hive()));
    if (target.empty()) {
      ASSERT_EQ(notices_.size(), 1u);
      EXPECT_THAT(notices_[0], AllOf(HasSubstr("is a link to"), HasSubstr("missing/d.reg")));
    } else {
      EXPECT_THAT(ReadText(target), HasSubstr("\"Left\"=dword:00000007"));
      EXPECT_EQ(Left(), 7);
      EXPECT_TRUE(notices_.empty());
    }
  }
}

// A file far larger than any settings file is set aside unread.
TEST_F(FileStore, AHugeFileIsSetAsideBeforeItIsRead) {
  {
    std::ofstream huge(Hive(), std::ios::binary);
    huge << "Windows Registry Editor Version 5.00\n";
    huge.seekp(64 << 20);
    huge << "\n";
  }
  const auto before = ProcNumber("io", "rchar:");
  EXPECT_EQ(Left(), -1);
  EXPECT_LT(ProcNumber("io", "rchar:") - before, 1u << 20);
  ASSERT_EQ(SetAsideFiles(Folder()).size(), 1u);
  EXPECT_EQ(fs::file_size(SetAsideFiles(Folder())[0]), (64u << 20) + 1);
  ASSERT_EQ(notices_.size(), 1u);
  EXPECT_THAT(notices_[0], HasSubstr("larger than 1 MiB"));
  EXPECT_EQ(SaveLeft(6), "Success");
  EXPECT_EQ(Left(), 6);
}

}  // namespace
}  // namespace serenitap::testing
