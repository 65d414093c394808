// The desktop launcher and the single-copy check outside Windows, with real
// processes and locks. The opener is replaced by harmless programs (true, or a script in
// the test's folder that writes its argument to a named pipe), so no browser
// is ever started. Nothing sleeps: the tests block on pipes, or ask again while
// giving other processes their turns.
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <cerrno>
#include <chrono>
#include <fstream>
#include <thread>

#include "services/instance_lock.h"
#include "services/shell.h"
#include "services/shell_posix.h"
#include "support/recorders.h"
#include "support/temp_folder.h"

namespace serenitap {
namespace {

using testing::TempFolder;

// True once `done` holds; false if it still does not after ten seconds.
template <class Done>
bool Eventually(Done done) {
  const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(10);
  while (!done() && std::chrono::steady_clock::now() < end) std::this_thread::yield();
  return done();
}

// Every child of this process has ended and been reaped.
bool NoChildLeft() {
  siginfo_t info{};
  return ::waitid(P_ALL, 0, &info, WEXITED | WNOHANG | WNOWAIT) == -1 && errno == ECHILD;
}

std::string Read(const std::string& path) {
  std::ifstream in(path);  // blocks on a named pipe until the other side writes
  return std::string(std::istreambuf_iterator<char>(in), {});
}

TEST(ShellPosixLaunch, ProgramGetsItsParametersAndStartFolderAndStopsExecutingWhenItEnds) {
  // dd blocks opening the named pipe until this test writes to it, so it is
  // certainly still running at the first question. Its relative "if=" only
  // works when it was started in the test's folder.
  TempFolder folder;
  ASSERT_EQ(::mkfifo((folder / "pipe").c_str(), 0600), 0);
  {
    CShellExecute shell(std::make_shared<PosixShellBackend>());
    ASSERT_EQ(shell.LaunchProgram(0, "dd", "if=pipe of=copy count=1 status=none", folder.Path().string()), -1);
    EXPECT_TRUE(shell.StillExecuting());
    std::ofstream(folder / "pipe") << "tap";
    EXPECT_TRUE(Eventually([&] { return !shell.StillExecuting(); }));
    EXPECT_FALSE(shell.StillExecuting());  // asked again after the process was reaped
    EXPECT_EQ(Read(folder / "copy"), "tap");
    ASSERT_EQ(shell.LaunchProgram(0, "dd", "if=pipe of=/dev/null count=1 status=none", folder.Path().string()), -1);
  }  // released while dd still waits: the backend reaps it when it ends
  std::ofstream(folder / "pipe") << "x";
  EXPECT_TRUE(Eventually(NoChildLeft));
}

TEST(ShellPosixLaunch, FailuresReturnTheShellsCode) {
  TempFolder folder;
  std::ofstream(folder / "not-a-program.bin") << "\x7f" << "junk";
  std::filesystem::permissions(folder / "not-a-program.bin", std::filesystem::perms::owner_all);
  const auto in_folder = [&](const std::string& s) { return s.starts_with("@") ? folder / s.substr(1) : s; };
  const std::tuple<const char*, const char*, std::int32_t> cases[] = {
      {"@missing", "", 2}, {"@no-folder/missing", "", 3}, {"no-such-program-anywhere", "", 2},
      {"/bin/true", "@no-folder", 3}, {"@not-a-program.bin", "", 11}, {"@", "", 31}};
  CShellExecute shell(std::make_shared<PosixShellBackend>("no-such-opener-here"));
  for (const auto& [program, start_in, expected] : cases) {
    EXPECT_EQ(shell.LaunchProgram(0, in_folder(program), "", in_folder(start_in)), expected) << program;
    EXPECT_FALSE(shell.StillExecuting());
  }
  EXPECT_TRUE(Eventually(NoChildLeft));
}

TEST(ShellPosixOpen, BareHostsReachTheOpenerAsAddressesAndFoldersByPath) {
  TempFolder folder;
  const std::string opener = folder / "opener";
  std::ofstream(opener) << "#!/bin/sh\nprintf '%s' \"$1\" > \"${0%/*}/received\"\n";
  std::filesystem::permissions(opener, std::filesystem::perms::owner_all);
  ASSERT_EQ(::mkfifo((folder / "received").c_str(), 0600), 0);
  std::filesystem::create_directory(folder / "-music");
  CShellExecute shell(std::make_shared<PosixShellBackend>(opener));
  ASSERT_EQ(shell.LaunchURL(0, "www.serenitap.com"), -1);
  EXPECT_EQ(Read(folder / "received"), "http://www.serenitap.com");
  EXPECT_FALSE(shell.StillExecuting());
  ASSERT_EQ(shell.Explore(0, folder / "-music"), -1);
  EXPECT_EQ(Read(folder / "received"), folder / "-music");
  EXPECT_TRUE(Eventually(NoChildLeft));  // the detached openers have ended and been reaped
}

TEST(ShellPosixOpen, FailuresGiveTheShellsCodes) {
  TempFolder folder;
  std::ofstream(folder / "notes.txt") << "notes";
  testing::MessageBoxRecorder boxes;
  CShellExecute shell(std::make_shared<PosixShellBackend>("true", "no-such-printer-here"));
  EXPECT_EQ(shell.LaunchFolder(0, folder / "missing/deeper"), 3);
  EXPECT_EQ(shell.Explore(0, "www.serenitap.com"), 2);  // exploring is for folders only
  EXPECT_EQ(shell.PrintDocument(0, folder / "notes.txt"), 31);
  EXPECT_EQ(shell.PrintDocument(0, folder / "missing.txt"), 2);
  EXPECT_EQ(CShellExecute(std::make_shared<PosixShellBackend>("no-such-opener-here")).LaunchURL(0, "www.x.com"), 31);
  EXPECT_TRUE(boxes.requests.empty());
  EXPECT_TRUE(Eventually(NoChildLeft));
}

bool OthersRunning(const std::string& path) { return InstanceLock(path).AcquireAndCheckOthers(); }

TEST(InstanceLock, ACopyIsSeenWhileItRunsASecondOneKeepsTheLockAliveAndAKilledOneLeavesNone) {
  TempFolder folder;
  const std::string path = folder / "serenitap.lock";
  auto first = std::make_unique<InstanceLock>(path);
  EXPECT_FALSE(first->AcquireAndCheckOthers());
  EXPECT_TRUE(OthersRunning(path));
  {
    InstanceLock second(path);
    EXPECT_TRUE(second.AcquireAndCheckOthers());
    first.reset();
    EXPECT_TRUE(OthersRunning(path));
  }
  EXPECT_FALSE(OthersRunning(path));
  const pid_t killed = fork();  // a copy killed while it holds the lock
  if (killed == 0) {
    InstanceLock lock(path);
    lock.AcquireAndCheckOthers();
    raise(SIGKILL);
  }
  ASSERT_EQ(waitpid(killed, nullptr, 0), killed);
  EXPECT_TRUE(std::filesystem::exists(path));
  EXPECT_FALSE(OthersRunning(path));
}

TEST(InstanceLock, AnUnusableLockPlaceMeansNoOtherCopyAndTheDefaultPlaceIsPerUser) {
  TempFolder folder;
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
