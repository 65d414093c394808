// The desktop launcher and the single-copy check outside Windows, with real
// processes and locks. The opener is replaced by harmless programs (true, or a
// script in the test's folder that writes its argument to a named pipe), so no
// browser is ever started. Nothing sleeps: the tests block on pipes, or ask
// again while giving other processes their turns.
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <cerrno>
#include <fstream>

#include "services/instance_lock.h"
#include "services/shell.h"
#include "services/shell_posix.h"
#include "support/recorders.h"
#include "support/temp_folder.h"
#include "support/within_deadline.h"

namespace serenitap {
namespace {

using testing::Eventually;
using testing::ReadText;  // blocks on a named pipe until the other side writes
using testing::TempFolder;

// Every child of this process has ended and been reaped.
bool NoChildLeft() {
  siginfo_t info{};
  return ::waitid(P_ALL, 0, &info, WEXITED | WNOHANG | WNOWAIT) == -1 && errno == ECHILD;
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
  EXPECT_EQ(ReadText(folder / "received"), "http://www.serenitap.com");
  EXPECT_FALSE(shell.StillExecuting());
  ASSERT_EQ(shell.Explore(0, folder / "-music"), -1);
  EXPECT_EQ(ReadText(folder / "received"), folder / "-music");
  const std::filesystem::path here = std::filesystem::current_path();
  std::filesystem::current_path(folder.Path());  // a relative name starting with "-" is no option to the opener
  const std::int32_t explored = shell.Explore(0, "-music");
  std::filesystem::current_path(here);
  ASSERT_EQ(explored, -1);
  EXPECT_EQ(ReadText(folder / "received"), "./-music");
  EXPECT_TRUE(Eventually(NoChildLeft));  // the detached openers have ended and been reaped
}

TEST(ShellPosix, FailuresReturnTheShellsCode) {
  TempFolder folder;
  const std::string f = folder.Path().string();
  std::ofstream(f + "/junk.txt") << "\x7f"
                                 << "junk";  // neither a program nor printable
  std::filesystem::permissions(f + "/junk.txt", std::filesystem::perms::owner_all);
  testing::MessageBoxRecorder boxes;
  CShellExecute shell(std::make_shared<PosixShellBackend>("no-such-opener-here", "no-such-printer-here"));
  const std::vector<std::int32_t> launched = {shell.LaunchProgram(0, f + "/missing"),
                                              shell.LaunchProgram(0, f + "/no-folder/missing"),
                                              shell.LaunchProgram(0, "no-such-program-anywhere"),
                                              shell.LaunchProgram(0, "/bin/true", "", f + "/no-folder"),
                                              shell.LaunchProgram(0, f + "/junk.txt"),
                                              shell.LaunchProgram(0, f)};
  EXPECT_EQ(launched, (std::vector<std::int32_t>{2, 3, 2, 3, 11, 31}));
  EXPECT_FALSE(shell.StillExecuting());
  const std::vector<std::int32_t> opened = {shell.LaunchFolder(0, f + "/missing/deeper"), shell.Explore(0, "www.x.com"),
                                            shell.PrintDocument(0, f + "/junk.txt"),
                                            shell.PrintDocument(0, f + "/no.txt"), shell.LaunchURL(0, "www.x.com")};
  EXPECT_EQ(opened, (std::vector<std::int32_t>{3, 2, 31, 2, 31}));  // exploring is for folders only
  EXPECT_TRUE(boxes.requests.empty());
  EXPECT_TRUE(Eventually(NoChildLeft));
}

// A program ended by a signal exits with 128 and the signal's number, as a shell says.
TEST(ShellPosixLaunch, AProgramKilledByASignalEndsWith128AndItsNumber) {
  PosixShellBackend backend;
  const ShellExResult started = backend.ExecuteEx(0, 0, "", "/bin/sh", "-c \"kill -9 $$\"", "", 1);
  ASSERT_GT(started.process, 0);
  std::uint32_t code = shell_codes::kStillActive;
  EXPECT_TRUE(Eventually([&] { return backend.ExitCode(started.process, code) && code != shell_codes::kStillActive; }));
  EXPECT_EQ(code, 137u);
  backend.Release(started.process);
}

bool OthersRunning(const std::string& path) { return InstanceLock(path).AcquireAndCheckOthers(); }

TEST(InstanceLock, ACopyIsSeenWhileItRunsAndASecondOneKeepsTheLockAlive) {
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
  EXPECT_FALSE(OthersRunning(path));  // the lock goes with its file, which the system closes however a copy ends
}

}  // namespace
}  // namespace serenitap
