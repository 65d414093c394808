// The desktop launcher outside Windows, with real processes. The opener is
// replaced by harmless programs (true, or a script in the test's folder that
// writes its argument to a named pipe), so no browser is ever started. Nothing
// sleeps: the tests block on pipes and on waitid(WNOWAIT) instead.
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <thread>

#include "services/shell.h"
#include "services/shell_posix.h"
#include "support/recorders.h"
#include "support/temp_folder.h"

namespace serenitap {
namespace {

using testing::TempFolder;

// The real backend, remembering the last process it started.
class Watching : public PosixShellBackend {
 public:
  ShellExResult ExecuteEx(WindowHandle w, std::uint32_t mask, std::string_view verb, std::string_view file,
                          std::string_view parameters, std::string_view directory, std::int32_t show) override {
    const ShellExResult r = PosixShellBackend::ExecuteEx(w, mask, verb, file, parameters, directory, show);
    last_process = r.process;
    return r;
  }
  // Blocks until the last process has ended, leaving it to be reaped by the backend.
  void WaitUntilEnded() const {
    siginfo_t info{};
    while (::waitid(P_PID, static_cast<id_t>(last_process), &info, WEXITED | WNOWAIT) == -1 && errno == EINTR) {
    }
  }
  ProcessHandle last_process = 0;
};

// True once every child has ended and been reaped; gives the reaper threads
// their turns meanwhile (bounded, so a leak fails instead of hanging).
bool NoChildLeft() {
  for (int turn = 0; turn < 200000; ++turn) {
    siginfo_t info{};
    if (::waitid(P_ALL, 0, &info, WEXITED | WNOHANG | WNOWAIT) == -1 && errno == ECHILD) return true;
    std::this_thread::yield();
  }
  return false;
}

TEST(ShellPosixLaunch, ProgramGetsItsParametersAndStartFolderAndStopsExecutingWhenItEnds) {
  // dd blocks opening the named pipe until this test writes to it, so it is
  // certainly still running at the first question. Its relative "if=" only
  // works when it was started in the test's folder.
  TempFolder folder;
  ASSERT_EQ(::mkfifo((folder / "pipe").c_str(), 0600), 0);
  auto watching = std::make_shared<Watching>();
  {
    CShellExecute shell(watching);
    ASSERT_EQ(shell.LaunchProgram(0, "dd", "if=pipe of=copy count=1 status=none", folder.Path().string()), -1);
    EXPECT_TRUE(shell.StillExecuting());
    std::ofstream(folder / "pipe") << "tap";
    watching->WaitUntilEnded();
    EXPECT_FALSE(shell.StillExecuting());
    EXPECT_FALSE(shell.StillExecuting());  // asked again after the process was reaped
    std::ifstream copy(folder / "copy");
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(copy), {}), "tap");

    ASSERT_EQ(shell.LaunchProgram(0, "dd", "if=pipe of=/dev/null count=1 status=none", folder.Path().string()), -1);
  }  // released while dd still waits: the backend's reaper collects it when it ends
  std::ofstream(folder / "pipe") << "x";
  watching->WaitUntilEnded();
  EXPECT_TRUE(NoChildLeft());
}

TEST(ShellPosixLaunch, FailuresReturnTheShellsCode) {
  TempFolder folder;
  std::ofstream(folder / "not-a-program.bin") << "\x7f" << "junk";
  std::filesystem::permissions(folder / "not-a-program.bin", std::filesystem::perms::owner_all);
  const auto in_folder = [&](const std::string& s) { return s.starts_with("@") ? folder / s.substr(1) : s; };
  const std::tuple<const char*, const char*, std::int32_t> cases[] = {
      {"@missing", "", 2}, {"@no-folder/missing", "", 3}, {"no-such-program-anywhere", "", 2},
      {"/bin/true", "@no-folder", 3}, {"@not-a-program.bin", "", 11}, {"@", "", 31}};
  for (const auto& [program, start_in, expected] : cases) {
    CShellExecute shell(std::make_shared<PosixShellBackend>("no-such-opener-here"));
    EXPECT_EQ(shell.LaunchProgram(0, in_folder(program), "", in_folder(start_in)), expected) << program;
    EXPECT_FALSE(shell.StillExecuting());
  }
  EXPECT_TRUE(NoChildLeft());
}

TEST(ShellPosixOpen, BareHostsReachTheOpenerAsAddressesAndFoldersByPath) {
  TempFolder folder;
  const std::string opener = folder / "opener";
  std::ofstream(opener) << "#!/bin/sh\nprintf '%s' \"$1\" > \"${0%/*}/received\"\n";
  std::filesystem::permissions(opener, std::filesystem::perms::owner_all);
  ASSERT_EQ(::mkfifo((folder / "received").c_str(), 0600), 0);
  const auto received = [&] {
    std::ifstream in(folder / "received");  // blocks until the opener writes
    return std::string(std::istreambuf_iterator<char>(in), {});
  };
  std::filesystem::create_directory(folder / "-music");
  CShellExecute shell(std::make_shared<PosixShellBackend>(opener));
  ASSERT_EQ(shell.LaunchURL(0, "www.serenitap.com"), -1);
  EXPECT_EQ(received(), "http://www.serenitap.com");
  EXPECT_FALSE(shell.StillExecuting());
  ASSERT_EQ(shell.Explore(0, folder / "-music"), -1);
  EXPECT_EQ(received(), folder / "-music");
  EXPECT_TRUE(NoChildLeft());  // the detached openers have ended and been reaped
}

TEST(ShellPosixOpen, FailuresGiveTheShellsCodes) {
  TempFolder folder;
  std::ofstream(folder / "notes.txt") << "notes";
  testing::MessageBoxRecorder boxes;
  CShellExecute works(std::make_shared<PosixShellBackend>("true", "no-such-printer-here"));
  EXPECT_EQ(works.LaunchFolder(0, folder / "missing"), 2);
  EXPECT_EQ(works.LaunchFolder(0, folder / "missing/deeper"), 3);
  EXPECT_EQ(works.Explore(0, "www.serenitap.com"), 2);  // exploring is for folders only
  EXPECT_EQ(works.LaunchFolder(0, folder.Path().string()), -1);
  EXPECT_EQ(works.PrintDocument(0, folder / "notes.txt"), 31);
  EXPECT_EQ(works.PrintDocument(0, folder / "missing.txt"), 2);
  EXPECT_EQ(CShellExecute(std::make_shared<PosixShellBackend>("no-such-opener-here")).LaunchURL(0, "www.x.com"), 31);
  EXPECT_TRUE(boxes.requests.empty());
  EXPECT_TRUE(NoChildLeft());
}

}  // namespace
}  // namespace serenitap
