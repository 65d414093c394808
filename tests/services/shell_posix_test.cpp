// The desktop launcher outside Windows, with real processes. The opener is
// replaced by harmless programs (true, or a script in the test's folder that
// writes its argument to a named pipe), so no browser is ever started. Nothing
// sleeps: the tests block on pipes and on waitid(WNOWAIT) instead.
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>
#include <fstream>
#include <memory>
#include <ostream>
#include <sstream>
#include <string>
#include <thread>

#include "services/shell.h"
#include "services/shell_posix.h"
#include "support/recorders.h"
#include "support/temp_folder.h"

namespace serenitap {
namespace {

using testing::TempFolder;

// Passes every call on to the real backend and remembers the last process.
class Watching : public ShellBackend {
 public:
  explicit Watching(std::shared_ptr<ShellBackend> real) : real_(std::move(real)) {}
  std::intptr_t Execute(WindowHandle w, std::string_view verb, std::string_view file, std::int32_t show) override {
    return real_->Execute(w, verb, file, show);
  }
  ShellExResult ExecuteEx(WindowHandle w, std::uint32_t mask, std::string_view verb, std::string_view file,
                          std::string_view parameters, std::string_view directory, std::int32_t show) override {
    const ShellExResult r = real_->ExecuteEx(w, mask, verb, file, parameters, directory, show);
    last_process = r.process;
    return r;
  }
  bool ExitCode(ProcessHandle p, std::uint32_t& code) override { return real_->ExitCode(p, code); }
  void Release(ProcessHandle p) override { real_->Release(p); }

  // Blocks until the last process has ended, leaving it to be reaped by the backend.
  void WaitUntilEnded() const {
    siginfo_t info{};
    int r;
    do {
      r = ::waitid(P_PID, static_cast<id_t>(last_process), &info, WEXITED | WNOWAIT);
    } while (r == -1 && errno == EINTR);
    ASSERT_EQ(r, 0);
  }

  ProcessHandle last_process = 0;

 private:
  std::shared_ptr<ShellBackend> real_;
};

// How many processes this test process has as children (running or zombie).
int ChildProcesses() {
  int count = 0;
  const std::string me = std::to_string(::getpid());
  std::error_code error;
  for (const auto& entry : std::filesystem::directory_iterator("/proc", error)) {
    const std::string name = entry.path().filename().string();
    if (name.empty() || name.find_first_not_of("0123456789") != std::string::npos) continue;
    std::ifstream stat_file(entry.path() / "stat");
    std::string stat((std::istreambuf_iterator<char>(stat_file)), {});
    const std::size_t close = stat.rfind(')');
    if (close == std::string::npos) continue;
    std::istringstream rest(stat.substr(close + 1));
    std::string state, parent;
    rest >> state >> parent;
    if (parent == me) ++count;
  }
  return count;
}

// True once every child has ended and been reaped; gives the reaper threads
// their turns meanwhile (bounded, so a leak fails instead of hanging).
bool NoChildLeft() {
  for (int turn = 0; turn < 20000; ++turn) {
    if (ChildProcesses() == 0) return true;
    std::this_thread::yield();
  }
  return false;
}

// An opener that writes the argument it was given to "received" in its folder.
std::string MakeRecordingOpener(const TempFolder& folder) {
  const std::string script = folder / "opener";
  std::ofstream(script) << "#!/bin/sh\nprintf '%s' \"$1\" > \"${0%/*}/received\"\n";
  std::filesystem::permissions(script, std::filesystem::perms::owner_all);
  EXPECT_EQ(::mkfifo((folder / "received").c_str(), 0600), 0);
  return script;
}

std::string ReadReceived(const TempFolder& folder) {
  std::ifstream in(folder / "received");  // blocks until the opener writes
  return std::string(std::istreambuf_iterator<char>(in), {});
}

TEST(ShellPosixLaunch, ProgramRunsAndStopsExecutingWhenItEnds) {
  auto watching = std::make_shared<Watching>(std::make_shared<PosixShellBackend>());
  {
    CShellExecute shell(watching);
    ASSERT_EQ(shell.LaunchProgram(0, "/bin/true"), -1);
    ASSERT_GT(watching->last_process, 0);
    watching->WaitUntilEnded();
    EXPECT_FALSE(shell.StillExecuting());
    EXPECT_FALSE(shell.StillExecuting());  // asked again after the process was reaped
  }
  EXPECT_TRUE(NoChildLeft());
}

TEST(ShellPosixLaunch, ProgramFoundOnPathGetsItsParametersAndStartFolder) {
  // dd blocks opening the named pipe until this test writes to it, so it is
  // certainly still running at the first question. Its relative "if=" only
  // works when it was started in the test's folder.
  TempFolder folder;
  ASSERT_EQ(::mkfifo((folder / "pipe").c_str(), 0600), 0);
  auto watching = std::make_shared<Watching>(std::make_shared<PosixShellBackend>());
  CShellExecute shell(watching);
  ASSERT_EQ(shell.LaunchProgram(0, "dd", "if=pipe of=copy count=1 status=none", folder.Path().string()), -1);
  EXPECT_TRUE(shell.StillExecuting());
  {
    std::ofstream writer(folder / "pipe");
    writer << "tap";
  }
  watching->WaitUntilEnded();
  EXPECT_FALSE(shell.StillExecuting());
  std::ifstream copy(folder / "copy");
  EXPECT_EQ(std::string(std::istreambuf_iterator<char>(copy), {}), "tap");
}

TEST(ShellPosixLaunch, ReleasingARunningProgramLeavesNoZombie) {
  TempFolder folder;
  ASSERT_EQ(::mkfifo((folder / "pipe").c_str(), 0600), 0);
  auto watching = std::make_shared<Watching>(std::make_shared<PosixShellBackend>());
  pid_t pid = 0;
  {
    CShellExecute shell(watching);
    ASSERT_EQ(shell.LaunchProgram(0, "dd", "if=pipe of=/dev/null count=1 status=none", folder.Path().string()), -1);
    pid = static_cast<pid_t>(watching->last_process);
  }  // released while dd still waits
  std::ofstream(folder / "pipe") << "x";
  // The backend's reaper collects it as soon as it ends.
  siginfo_t info{};
  ::waitid(P_PID, static_cast<id_t>(pid), &info, WEXITED | WNOWAIT);
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

TEST(ShellPosixOpen, BareHostReachesTheOpenerAsAnAddress) {
  TempFolder folder;
  const std::string opener = MakeRecordingOpener(folder);
  CShellExecute shell(std::make_shared<PosixShellBackend>(opener));
  ASSERT_EQ(shell.LaunchURL(0, "www.serenitap.com"), -1);
  EXPECT_EQ(ReadReceived(folder), "http://www.serenitap.com");
  EXPECT_FALSE(shell.StillExecuting());
  EXPECT_TRUE(NoChildLeft());  // the detached opener has ended and been reaped
}

TEST(ShellPosixOpen, ExistingFolderIsOpenedByPath) {
  TempFolder folder;
  const std::string opener = MakeRecordingOpener(folder);
  std::filesystem::create_directory(folder / "-music");
  CShellExecute shell(std::make_shared<PosixShellBackend>(opener));
  ASSERT_EQ(shell.Explore(0, folder / "-music"), -1);
  EXPECT_EQ(ReadReceived(folder), folder / "-music");
}

TEST(ShellPosixOpen, FailuresGiveTheShellsCodes) {
  TempFolder folder;
  std::ofstream(folder / "notes.txt") << "notes";
  testing::MessageBoxRecorder boxes;
  CShellExecute works(std::make_shared<PosixShellBackend>("true", "no-such-printer-here"));
  CShellExecute no_opener(std::make_shared<PosixShellBackend>("no-such-opener-here"));
  EXPECT_EQ(works.LaunchFolder(0, folder / "missing"), 2);
  EXPECT_EQ(works.LaunchFolder(0, folder / "missing/deeper"), 3);
  EXPECT_EQ(works.Explore(0, "www.serenitap.com"), 2);  // exploring is for folders only
  EXPECT_EQ(works.LaunchFolder(0, folder.Path().string()), -1);
  EXPECT_EQ(works.PrintDocument(0, folder / "notes.txt"), 31);
  EXPECT_EQ(works.PrintDocument(0, folder / "missing.txt"), 2);
  EXPECT_EQ(no_opener.LaunchURL(0, "www.serenitap.com"), 31);
  EXPECT_TRUE(boxes.requests.empty());
  EXPECT_TRUE(NoChildLeft());
}

}  // namespace
}  // namespace serenitap
