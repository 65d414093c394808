#pragma once
// How the file store changes a hive file on disk: under a lock that every
// running copy of the program respects, and in one step, so that a reader or a
// crash sees either the old or the new file, never a part of one.
//
// AtomicFileWriter is the interface the store uses; PosixFileWriter is the real
// one. A test can hand the store another (a lock that is always busy, a disk
// that is full) without making the file system misbehave.
// Compiled on every system but Windows.
#include <sys/stat.h>

#include <chrono>
#include <filesystem>
#include <memory>
#include <string_view>

#include "settings/registry_store.h"

namespace serenitap::settings {

// The error a failed file operation (its errno) stands for: 5 for rights and
// missing folders, 112 for a full disk or quota, 8 for memory, 29 otherwise.
RegResult FromErrno(int error) noexcept;

// What identifies one version of a file: a file replaced or written since has
// another stamp.
struct FileStamp {
  unsigned long long device = 0, inode = 0, size = 0;
  long long mtime_ns = 0;
  friend bool operator==(const FileStamp&, const FileStamp&) = default;
};
FileStamp StampOf(const struct stat& st) noexcept;

// The file a path stands for: the last target when it is a symbolic link or
// a chain of them (relative targets taken from the link's folder; the target
// need not exist yet), else the path itself.
std::filesystem::path FollowLink(const std::filesystem::path& file);

// Flushes a folder, which makes a rename in it last: the rename changes the
// folder, not the file, and the file's own flush does not cover it.
void FlushFolder(const std::filesystem::path& folder);

// Closes a descriptor when the scope ends.
struct ScopedFd {
  int fd = -1;
  explicit ScopedFd(int descriptor) : fd(descriptor) {}
  ~ScopedFd();
  ScopedFd(const ScopedFd&) = delete;
  ScopedFd& operator=(const ScopedFd&) = delete;
};

// A lock had from AtomicFileWriter::Lock; let go when destroyed.
class FileLock {
 public:
  virtual ~FileLock() = default;
};

// How long a lock that another program holds is waited for, and how.
struct LockAttempt {
  std::chrono::milliseconds limit{0};
  // true: wait in line for the lock; false: only try for it now and then
  // within the limit (a brief retry).
  bool queue = true;
};

class AtomicFileWriter {
 public:
  virtual ~AtomicFileWriter() = default;

  // Takes the exclusive lock of lockFile, creating it (0600) if need be, and
  // waits for it as attempt says. ERROR_LOCK_VIOLATION (33) when another
  // holder kept it all that time; the error of the lock file when it cannot
  // be opened (5 ...).
  virtual RegResult Lock(const std::filesystem::path& lockFile, const LockAttempt& attempt,
                         std::unique_ptr<FileLock>* lock) = 0;

  // Replaces the whole content of file (or of the file a link there points
  // to) in one step and removes temporary files that earlier replacements
  // left behind. 0 and the new file's stamp, or the errno of the step that
  // failed; the file is then unchanged. Call it with the file's lock held.
  virtual int Replace(const std::filesystem::path& file, std::string_view content, FileStamp* stamp) = 0;
};

// The real writer: flock on a separate lock file, mkstemp, fsync, rename.
class PosixFileWriter : public AtomicFileWriter {
 public:
  RegResult Lock(const std::filesystem::path& lockFile, const LockAttempt& attempt,
                 std::unique_ptr<FileLock>* lock) override;
  int Replace(const std::filesystem::path& file, std::string_view content, FileStamp* stamp) override;

 protected:
  // Flushes a written file to the disk (fsync): 0, or the errno. A test
  // makes it fail, as a disk that reports an error only when flushed does.
  virtual int FlushFile(int fd);
};

}  // namespace serenitap::settings
