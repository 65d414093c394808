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

// A child process that takes the lock, says so through a pipe and then waits
// to be killed.
class RunningCopy {
 public:
  explicit RunningCopy(const std::string& path) {
    int ready[2];
    if (pipe(ready) != 0) throw std::runtime_error("pipe");
    pid_ = fork();
    if (pid_ == 0) {
      close(ready[0]);
      InstanceLock lock(path);
      const char answer = lock.AcquireAndCheckOthers() ? 'Y' : 'N';
      if (write(ready[1], &answer, 1) != 1) _exit(2);
      for (;;) pause();
    }
    close(ready[1]);
    char answer = 0;
    if (read(ready[0], &answer, 1) != 1) answer = '?';
    close(ready[0]);
    sawOthers_ = answer == 'Y';
  }
  ~RunningCopy() { Kill(); }

  void Kill() {
    if (pid_ <= 0) return;
    kill(pid_, SIGKILL);
    int status = 0;
    waitpid(pid_, &status, 0);
    pid_ = -1;
  }
  bool SawOthers() const { return sawOthers_; }

 private:
  pid_t pid_ = -1;
  bool sawOthers_ = false;
};

bool OthersRunning(const std::string& path) {
  InstanceLock probe(path);
  return probe.AcquireAndCheckOthers();
}

TEST(InstanceLock, AloneThenSeenThenGoneAfterSigkill) {
  testing::TempFolder folder;
  const std::string path = folder / "serenitap.lock";
  EXPECT_FALSE(OthersRunning(path));
  {
    RunningCopy first(path);
    EXPECT_FALSE(first.SawOthers());
    EXPECT_TRUE(OthersRunning(path));
    first.Kill();
    // The killed copy's lock went with it; its file is still there.
    EXPECT_TRUE(std::filesystem::exists(path));
    EXPECT_FALSE(OthersRunning(path));
  }
}

TEST(InstanceLock, ASecondCopyStartedAnywayKeepsTheUserSeenAsRunning) {
  testing::TempFolder folder;
  const std::string path = folder / "serenitap.lock";
  RunningCopy first(path);
  RunningCopy second(path);
  EXPECT_TRUE(second.SawOthers());
  first.Kill();
  EXPECT_TRUE(OthersRunning(path));
  second.Kill();
  EXPECT_FALSE(OthersRunning(path));
}

TEST(InstanceLock, AnUnusableLockPlaceMeansNoOtherCopy) {
  testing::TempFolder folder;
  InstanceLock lock(folder / "missing-folder/serenitap.lock");
  EXPECT_FALSE(lock.AcquireAndCheckOthers());
}

TEST(InstanceLock, DefaultPathIsPerUser) {
  const std::string path = InstanceLock::DefaultLockPath();
  const char* runtime = std::getenv("XDG_RUNTIME_DIR");
  if (runtime != nullptr && *runtime != '\0') {
    EXPECT_EQ(path, std::string(runtime) + "/serenitap.lock");
  } else {
    EXPECT_EQ(path, "/tmp/serenitap-" + std::to_string(getuid()) + ".lock");
  }
}

}  // namespace
}  // namespace serenitap
