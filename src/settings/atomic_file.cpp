#include "settings/atomic_file.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <condition_variable>
#include <mutex>
#include <string>
#include <thread>

namespace serenitap::settings {
namespace {

constexpr std::string_view kTempSuffix = ".XXXXXX";  // mkstemp's pattern after the file's name

// Holds the lock as long as its descriptor is open: flock locks belong to the
// open file, so closing the descriptor is what lets the lock go.
class HeldLock : public FileLock {
 public:
  explicit HeldLock(int fd) : fd_(fd) {}

 private:
  ScopedFd fd_;
};

bool IsOwnTempName(const std::string& name, const std::string& fileName) {
  if (name.size() != fileName.size() + kTempSuffix.size() || name.compare(0, fileName.size(), fileName) != 0 ||
      name[fileName.size()] != '.') {
    return false;
  }
  for (std::size_t i = fileName.size() + 1; i < name.size(); ++i) {
    const char c = name[i];
    if (!((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9'))) return false;
  }
  return true;
}

// Removes the temporary files of replacements that were cut off (a crash
// between mkstemp and rename). Runs under the file's lock, so no other copy
// is writing one at the time; only regular files with exactly mkstemp's name
// pattern go, so the user's own files next to the hive stay.
void RemoveStaleTemps(const std::filesystem::path& file) {
  const std::string fileName = file.filename().string();
  std::error_code ec;
  for (const auto& entry : std::filesystem::directory_iterator(file.parent_path(), ec)) {
    const std::string name = entry.path().filename().string();
    struct stat st {};
    if (IsOwnTempName(name, fileName) && ::lstat(entry.path().c_str(), &st) == 0 && S_ISREG(st.st_mode)) {
      ::unlink(entry.path().c_str());
    }
  }
}

// Waits in line for the lock on fd for at most limit. A blocking flock keeps
// the turn that polling would lose to a copy that saves again and again; it
// runs on a thread of its own because flock cannot be given a time limit. A
// wait given up owns the descriptor and lets the lock go as soon as it gets it.
RegResult WaitInLine(int fd, std::chrono::milliseconds limit, std::unique_ptr<FileLock>* lock) {
  struct Wait {
    std::mutex mutex;
    std::condition_variable ended;
    bool done = false, abandoned = false;
    int result = 0, error = 0;
  };
  auto wait = std::make_shared<Wait>();
  std::thread([wait, fd] {
    int result = 0;
    while ((result = ::flock(fd, LOCK_EX)) != 0 && errno == EINTR) {
    }
    const int error = errno;
    std::lock_guard guard(wait->mutex);
    if (wait->abandoned) {
      ::close(fd);
      return;
    }
    wait->done = true;
    wait->result = result;
    wait->error = error;
    wait->ended.notify_all();
  }).detach();
  std::unique_lock guard(wait->mutex);
  if (wait->ended.wait_for(guard, limit, [&] { return wait->done; })) {
    if (wait->result == 0) {
      *lock = std::make_unique<HeldLock>(fd);
      return ERROR_SUCCESS;
    }
    ::close(fd);
    return FromErrno(wait->error);
  }
  wait->abandoned = true;
  return ERROR_LOCK_VIOLATION;
}

// Tries for the lock every few milliseconds until limit has passed. Leaves no
// thread behind, and lets a wait given up earlier that has just got the lock
// let it go in the meantime.
RegResult TryNowAndThen(int fd, std::chrono::milliseconds limit, std::unique_ptr<FileLock>* lock) {
  const auto until = std::chrono::steady_clock::now() + limit;
  while (std::chrono::steady_clock::now() < until) {
    std::this_thread::sleep_for(std::chrono::milliseconds(2));
    if (::flock(fd, LOCK_EX | LOCK_NB) == 0) {
      *lock = std::make_unique<HeldLock>(fd);
      return ERROR_SUCCESS;
    }
  }
  ::close(fd);
  return ERROR_LOCK_VIOLATION;
}

}  // namespace

RegResult FromErrno(int error) noexcept {
  switch (error) {
    case EACCES:
    case EPERM:
    case EROFS:
    case ENOTDIR:
    case EISDIR:
    case ENOENT: return ERROR_ACCESS_DENIED;
    case ENOSPC:
    case EDQUOT: return ERROR_DISK_FULL;
    case ENOMEM: return ERROR_NOT_ENOUGH_MEMORY;
    default: return ERROR_WRITE_FAULT;
  }
}

FileStamp StampOf(const struct stat& st) noexcept {
  return {static_cast<unsigned long long>(st.st_dev), static_cast<unsigned long long>(st.st_ino),
          static_cast<unsigned long long>(st.st_size),
          static_cast<long long>(st.st_mtim.tv_sec) * 1000000000LL + st.st_mtim.tv_nsec +
              (static_cast<long long>(st.st_ctim.tv_nsec) << 1)};
}

std::filesystem::path FollowLink(const std::filesystem::path& file) {
  // Followed link by link, so that a link whose target does not exist yet
  // still leads there: the first save then creates the target.
  std::filesystem::path current = file;
  for (int hops = 0; hops < 40; ++hops) {
    std::error_code ec;
    if (!std::filesystem::is_symlink(current, ec)) return current;
    const std::filesystem::path target = std::filesystem::read_symlink(current, ec);
    if (ec || target.empty()) return current;
    current = target.is_absolute() ? target : current.parent_path() / target;
  }
  return current;  // a loop of links: the save fails there and says so
}

void FlushFolder(const std::filesystem::path& folder) {
  const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd >= 0) {
    ::fsync(fd);
    ::close(fd);
  }
}

ScopedFd::~ScopedFd() {
  if (fd >= 0) ::close(fd);
}

RegResult PosixFileWriter::Lock(const std::filesystem::path& lockFile, const LockAttempt& attempt,
                                std::unique_ptr<FileLock>* lock) {
  lock->reset();
  // The lock sits on a file of its own, not on the hive: the hive is replaced
  // by a rename on every save, and a lock on the old file would not keep
  // another copy from locking the new one. flock is advisory: it binds the
  // copies of this program, which all take it, and never stops the user's
  // editor. The file is the user's alone (0600), is never followed through a
  // link and never blocks on opening.
  const int fd = ::open(lockFile.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NONBLOCK | O_NOFOLLOW | O_NOCTTY, 0600);
  if (fd < 0) return FromErrno(errno);
  if (::flock(fd, LOCK_EX | LOCK_NB) == 0) {
    *lock = std::make_unique<HeldLock>(fd);
    return ERROR_SUCCESS;
  }
  if (errno != EWOULDBLOCK) {
    const int error = errno;
    ::close(fd);
    return FromErrno(error);
  }
  // The wait is bounded: a copy that hangs while it holds the lock must not
  // hang this one too; the save fails and the user is told instead.
  return attempt.queue ? WaitInLine(fd, attempt.limit, lock) : TryNowAndThen(fd, attempt.limit, lock);
}

int PosixFileWriter::FlushFile(int fd) { return ::fsync(fd) == 0 ? 0 : errno; }

int PosixFileWriter::Replace(const std::filesystem::path& file, std::string_view content, FileStamp* stamp) {
  // A link is written through: the new file is made next to the target and
  // replaces it, so the link stays a link.
  const std::filesystem::path target = FollowLink(file);
  RemoveStaleTemps(target);
  // The temporary file sits in the target's own folder: rename replaces a
  // file in one step only within one file system, and the folder is where
  // it must land. mkstemp makes it with a fresh name, readable and writable
  // by its owner only (0600), like the file it replaces.
  std::string temp = target.string() + std::string(kTempSuffix);
  const int fd = ::mkstemp(temp.data());
  if (fd < 0) return errno;
  ScopedFd guard(fd);
  auto fail = [&](int error) {
    ::unlink(temp.c_str());
    return error;
  };
  std::size_t written = 0;
  while (written < content.size()) {
    const ssize_t n = ::write(fd, content.data() + written, content.size() - written);
    if (n < 0) {
      if (errno == EINTR) continue;
      return fail(errno);
    }
    written += static_cast<std::size_t>(n);
  }
  // The data is flushed before the rename: otherwise a crash soon after it
  // can leave the new name on a file whose content never reached the disk.
  // A full disk that the write did not report shows here.
  if (const int error = FlushFile(fd); error != 0) return fail(error);
  struct stat st {};
  if (::fstat(fd, &st) != 0) return fail(errno);
  // After the rename the folder holds either the old or the new complete file.
  if (::rename(temp.c_str(), target.c_str()) != 0) return fail(errno);
  FlushFolder(target.parent_path());  // makes the rename itself last
  *stamp = StampOf(st);
  return 0;
}

}  // namespace serenitap::settings
