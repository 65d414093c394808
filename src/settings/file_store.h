#pragma once
// The settings store for systems without a registry: each hive is one text
// file in the configuration folder, in the registry export format
// (HKEY_CURRENT_USER.reg, HKEY_CLASSES_ROOT.reg, ...; see reg_file.h).
//
// - Every change is one transaction under an advisory lock (flock on
//   "<hive>.reg.lock"): read the file as it is now, change it, write a
//   temporary file, flush it, rename it over the hive file, flush the folder.
//   Two running copies of the program therefore never lose each other's
//   values and never see a half-written file. Reads take no lock. The lock
//   is waited for at most LockWait() (about two seconds) in all, however many
//   values a start-up reads or a closing window saves; after that the change
//   fails with ERROR_LOCK_VIOLATION (33) and the user is told, and later
//   changes only try for the lock, without waiting, until it is had once
//   more or a quiet spell (five times LockWait()) has passed. A lock file that
//   cannot be opened or created is told too; the file is then left as it is.
// - A hive file larger than 1 MiB is refused before it is read: it is set
//   aside like a file that cannot be read.
// - Only a regular file (or a symbolic link to one) is read: anything else
//   at the hive's path (a pipe, a device, a folder) is never opened for
//   reading in a way that can wait, is left alone, and reads as empty.
// - A hive that is a symbolic link is written through the link: the
//   temporary file is made next to the link's target and renamed over it;
//   a link whose target does not exist yet creates it.
//   A hive file without write permission is left unchanged (5). Temporary
//   files that an interrupted save left behind ("<hive>.reg.XXXXXX") are
//   removed by the next save.
// - The file may also be an export of the registry editor in UTF-16 (see
//   reg_file.h); the store always writes its own UTF-8 form back.
// - Whatever keeps the settings from being read or saved is said once per
//   store through ShowNotice (services/notice.h).
// - The folder is made readable by its owner only (0700) when the store
//   creates it; the hive and lock files are created 0600.
// - A hive file that cannot be read is renamed aside to
//   "<hive>.reg.unreadable-YYYYMMDD-HHMMSS" (a number added if that name is
//   taken), made readable by its owner only, a notice says so, and the hive
//   starts empty.
//   If it cannot be renamed, reads see an empty hive and changes fail with
//   ERROR_BADDB (1009), so the file is never overwritten.
// - A folder that cannot be written: creating or opening a key for writing
//   fails with ERROR_ACCESS_DENIED (5); a write that fails returns its error
//   (5, 112 disk full, 29 otherwise) and closing the key it went through
//   returns that error again, so callers that judge a save by the close see it.
// - Names hold no control characters and are UTF-8 (else 87); a name part is
//   at most 255 bytes; one value holds at most 8 MiB (else 87).
// - Key and value names compare without regard to ASCII letter case.
// Compiled on every system but Windows.
#include <chrono>
#include <filesystem>
#include <map>
#include <memory>
#include <mutex>
#include <set>
#include <string>
#include <vector>

#include "settings/atomic_file.h"
#include "settings/reg_file.h"
#include "settings/registry_store.h"

namespace serenitap::settings {

class FileRegistryStore : public RegistryStore {
 public:
  // writer: how hive files are locked and replaced; the real files when null.
  explicit FileRegistryStore(std::filesystem::path folder, std::shared_ptr<AtomicFileWriter> writer = nullptr);
  ~FileRegistryStore() override;

  const std::filesystem::path& Folder() const noexcept { return folder_; }
  // The file of a root ("HKEY_CURRENT_USER.reg"); empty for an unknown root.
  std::filesystem::path HiveFile(std::int32_t root) const;

  // How long a change waits for another program's lock on the hive.
  std::chrono::milliseconds LockWait() const noexcept { return lock_wait_; }
  void SetLockWait(std::chrono::milliseconds wait) noexcept { lock_wait_ = lock_budget_ = wait; }

  RegResult OpenKey(HKey key, std::string_view subKey, std::uint32_t access, HKey* result) override;
  RegResult CreateKey(HKey key, std::string_view subKey, std::uint32_t access, HKey* result,
                      bool* created = nullptr) override;
  RegResult CloseKey(HKey key) override;
  RegResult QueryValue(HKey key, std::string_view name, std::uint32_t* type, std::uint8_t* data,
                       std::uint32_t* size) override;
  RegResult SetValue(HKey key, std::string_view name, std::uint32_t type, const std::uint8_t* data,
                     std::uint32_t size) override;
  RegResult DeleteKey(HKey key, std::string_view subKey) override;
  RegResult DeleteValue(HKey key, std::string_view name) override;
  RegResult QueryInfoKey(HKey key, KeyInfo* info) override;
  RegResult EnumValue(HKey key, std::uint32_t index, char* name, std::uint32_t* nameLen) override;
  RegResult EnumKey(HKey key, std::uint32_t index, char* name, std::uint32_t nameSize) override;

  std::string EncodeText(std::string_view text) const override { return std::string(text); }
  std::string DecodeText(std::string_view bytes) const override { return std::string(bytes); }

 private:
  struct Location {
    std::int32_t root = 0;
    std::vector<std::string> path;
  };
  struct OpenHandle {
    Location where;
    std::uint32_t access = 0;
    RegResult failed_save = 0;
  };
  struct Loaded {
    bool present = false;
    FileStamp stamp;  // of the file the tree was read from or written to
    RegKeyNode tree;
  };

  RegResult Resolve(HKey key, std::string_view subKey, Location* where) const;
  RegResult Handle(HKey key, std::uint32_t need, Location* where, OpenHandle** open = nullptr);
  const RegKeyNode& Read(std::int32_t root);
  // Runs change on the hive's current tree under the lock and saves it when
  // change returns 0 and says it changed something.
  template <class Change>
  RegResult Transact(std::int32_t root, Change change);
  RegResult LoadLocked(std::int32_t root);
  bool SetAside(std::int32_t root, const std::string& why);
  RegResult Save(std::int32_t root, const RegKeyNode& tree);
  RegResult EnsureWritableFolder();
  RegResult CannotWriteFolder(int error);
  // Takes the hive's lock within what is left of LockWait(); the error when
  // it is not had.
  RegResult TakeLock(std::int32_t root, std::unique_ptr<FileLock>* lock);
  // Shows a notice unless this store has shown the same one before.
  void Tell(const std::string& text);
  HKey NewHandle(Location where, std::uint32_t access);

  std::filesystem::path folder_;
  std::shared_ptr<AtomicFileWriter> writer_;
  std::mutex mutex_;
  std::map<HKey, OpenHandle> handles_;
  HKey next_handle_ = 0x100;
  std::map<std::int32_t, Loaded> loaded_;
  std::set<std::int32_t> unmovable_;  // unreadable files that could not be set aside
  std::set<std::string> told_;
  std::chrono::milliseconds lock_wait_{2000};
  // What is left of LockWait() for waits on a lock kept elsewhere, and when
  // the last of them ran out.
  std::chrono::milliseconds lock_budget_{2000};
  std::chrono::steady_clock::time_point lock_given_up_at_;
};

}  // namespace serenitap::settings
