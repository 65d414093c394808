#include "services/instance_lock.h"

#include <cstdlib>

#ifdef _WIN32
#include <windows.h>
#else
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#endif

namespace serenitap {

InstanceLock::InstanceLock(std::string lockPath) : path_(lockPath.empty() ? DefaultLockPath() : std::move(lockPath)) {}

#ifdef _WIN32

std::string InstanceLock::DefaultLockPath() { return "Local\\Serenitap.Instance"; }

bool InstanceLock::AcquireAndCheckOthers() {
  if (handle_ != -1) return false;
  HANDLE mutex = CreateMutexA(nullptr, FALSE, "Local\\Serenitap.Instance");
  if (mutex == nullptr) return false;
  const bool others = GetLastError() == ERROR_ALREADY_EXISTS;
  handle_ = reinterpret_cast<long long>(mutex);
  return others;
}

InstanceLock::~InstanceLock() {
  if (handle_ != -1) CloseHandle(reinterpret_cast<HANDLE>(handle_));
}

#else

std::string InstanceLock::DefaultLockPath() {
  const char* runtime = std::getenv("XDG_RUNTIME_DIR");
  if (runtime != nullptr && *runtime != '\0') return std::string(runtime) + "/serenitap.lock";
  return "/tmp/serenitap-" + std::to_string(getuid()) + ".lock";
}

bool InstanceLock::AcquireAndCheckOthers() {
  if (handle_ != -1) return false;
  const int fd = open(path_.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, S_IRUSR | S_IWUSR);
  if (fd < 0) return false;
  // A file in a shared folder that belongs to someone else is not ours to trust.
  struct stat info {};
  if (fstat(fd, &info) != 0 || info.st_uid != getuid()) {
    close(fd);
    return false;
  }
  // Alone when nobody holds a shared lock; then every copy keeps a shared one.
  bool others = false;
  if (flock(fd, LOCK_EX | LOCK_NB) != 0) {
    others = errno == EWOULDBLOCK;
  }
  int rc;
  do {
    rc = flock(fd, LOCK_SH);
  } while (rc != 0 && errno == EINTR);
  handle_ = fd;
  return others;
}

InstanceLock::~InstanceLock() {
  if (handle_ != -1) close(static_cast<int>(handle_));
}

#endif

}  // namespace serenitap
