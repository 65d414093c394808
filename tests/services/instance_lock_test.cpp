// Detecting another running copy with real processes: a copy that holds the
// lock is seen, one killed with SIGKILL is not, and a second copy started
// anyway keeps the lock alive when the first one ends.
#include "services/instance_lock.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include "support/temp_folder.h"

namespace serenitap {
namespace {

// A child process that takes the lock, tells through a pipe whether it saw
// another copy, and then waits to be killed.
class RunningCopy {
 public:
  explicit RunningCopy(const std::string& path) {
    int ready[2];
    if (pipe(ready) != 0) throw std::runtime_error("pipe");
    pid_ = fork();
    if (pid_ == 0) {
      InstanceLock lock(path);
      const char answer = lock.AcquireAndCheckOthers() ? 'Y' : 'N';
      if (write(ready[1], &answer, 1) != 1) _exit(2);
      for (;;) pause();
    }
    close(ready[1]);
    char answer = 0;
    saw_others = read(ready[0], &answer, 1) == 1 && answer == 'Y';
    close(ready[0]);
  }
  ~RunningCopy() { Kill(); }
  void Kill() {
    if (pid_ <= 0) return;
    kill(pid_, SIGKILL);
    waitpid(pid_, nullptr, 0);
    pid_ = -1;
  }
  bool saw_others = false;

 private:
  pid_t pid_ = -1;
};

bool OthersRunning(const std::string& path) { return InstanceLock(path).AcquireAndCheckOthers(); }

TEST(InstanceLock, ACopyIsSeenWhileItRunsAndASecondOneKeepsTheLockAlive) {
  testing::TempFolder folder;
  const std::string path = folder / "serenitap.lock";
  EXPECT_FALSE(OthersRunning(path));
  RunningCopy first(path);
  EXPECT_FALSE(first.saw_others);
  EXPECT_TRUE(OthersRunning(path));
  RunningCopy second(path);
  EXPECT_TRUE(second.saw_others);
  first.Kill();
  EXPECT_TRUE(OthersRunning(path));
  second.Kill();  // the killed copies' locks went with them; the file stays
  EXPECT_TRUE(std::filesystem::exists(path));
  EXPECT_FALSE(OthersRunning(path));
}

TEST(InstanceLock, AnUnusableLockPlaceMeansNoOtherCopyAndTheDefaultPlaceIsPerUser) {
  testing::TempFolder folder;
  EXPECT_FALSE(OthersRunning(folder / "missing-folder/serenitap.lock"));
  const char* runtime = std::getenv("XDG_RUNTIME_DIR");
  const std::string saved = runtime != nullptr ? runtime : "";
  ::setenv("XDG_RUNTIME_DIR", "/run/user/7", 1);
  EXPECT_EQ(InstanceLock::DefaultLockPath(), "/run/user/7/serenitap.lock");
  ::setenv("XDG_RUNTIME_DIR", "", 1);
  EXPECT_EQ(InstanceLock::DefaultLockPath(), "/tmp/serenitap-" + std::to_string(getuid()) + ".lock");
  runtime != nullptr ? ::setenv("XDG_RUNTIME_DIR", saved.c_str(), 1) : ::unsetenv("XDG_RUNTIME_DIR");
}

}  // namespace
}  // namespace serenitap
