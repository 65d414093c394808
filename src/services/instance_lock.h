#pragma once
// Tells whether another copy of the program is running for the same user.
//
// Every running copy holds a lock that the operating system releases when the
// process ends, however it ends (a crash or SIGKILL included), so a copy that
// died never counts as running. On Windows it is a named mutex in the user's
// session; elsewhere a shared flock() on a per-user file, held for the life
// of the process. The file's mere presence decides nothing.
#include <string>

namespace serenitap {

class InstanceLock {
 public:
  // lockPath: the file to lock (ignored on Windows). Empty: the default,
  // $XDG_RUNTIME_DIR/serenitap.lock, else /tmp/serenitap-<uid>.lock.
  explicit InstanceLock(std::string lockPath = {});
  ~InstanceLock();
  InstanceLock(const InstanceLock&) = delete;
  InstanceLock& operator=(const InstanceLock&) = delete;

  // Joins the running copies and says whether another one was already
  // running. The lock is held until this object ends. When the lock cannot
  // be taken at all (no writable folder), no other copy is assumed.
  bool AcquireAndCheckOthers();

  static std::string DefaultLockPath();

 private:
  std::string path_;
  long long handle_ = -1;  // file descriptor, or the mutex handle on Windows
};

}  // namespace serenitap
