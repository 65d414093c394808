#include "services/shell_posix.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/types.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cctype>
#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <thread>
#include <utility>
#include <vector>

#include "services/shell_targets.h"

extern char** environ;

namespace serenitap {

namespace {

namespace fs = std::filesystem;
using shell_targets::ShellCodeForErrno;

std::string Lower(std::string_view text) {
  std::string out(text);
  for (char& c : out) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return out;
}

bool Exists(const std::string& path) {
  struct stat st {};
  return !path.empty() && ::stat(path.c_str(), &st) == 0;
}

bool IsDirectory(const std::string& path) {
  struct stat st {};
  return ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

bool IsExecutableFile(const std::string& path) {
  struct stat st {};
  return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode) && ::access(path.c_str(), X_OK) == 0;
}

// 2 when the file is missing from an existing folder, 3 when the folder is missing too.
std::int32_t MissingCode(const std::string& path) {
  const fs::path parent = fs::path(path).parent_path();
  if (parent.empty() || IsDirectory(parent.string())) return shell_codes::kFileNotFound;
  return shell_codes::kPathNotFound;
}

// The program's path: a name with a "/" as it is, otherwise the first
// executable of that name on PATH. Empty when there is none.
std::string FindProgram(const std::string& name) {
  if (name.empty()) return {};
  if (name.find('/') != std::string::npos) return IsExecutableFile(name) ? fs::absolute(name).string() : std::string();
  const char* path_env = std::getenv("PATH");
  const std::string path = (path_env && *path_env) ? path_env : "/usr/local/bin:/usr/bin:/bin";
  std::size_t start = 0;
  while (start <= path.size()) {
    const std::size_t colon = path.find(':', start);
    std::string dir = path.substr(start, colon == std::string::npos ? std::string::npos : colon - start);
    if (dir.empty()) dir = ".";
    const std::string candidate = dir + "/" + name;
    if (IsExecutableFile(candidate)) return fs::absolute(candidate).string();
    if (colon == std::string::npos) break;
    start = colon + 1;
  }
  return {};
}

// A local path the opener will not take for one of its options.
std::string SafePathArgument(const std::string& path) {
  return (!path.empty() && path[0] == '-') ? std::string("./").append(path) : path;
}

// What the child writes to the pipe when it cannot go on.
struct ChildReport {
  int stage;  // kStageChdir or kStageExec
  int error;
};
constexpr int kStageChdir = 0;
constexpr int kStageExec = 1;

struct SpawnOutcome {
  std::int32_t code = shell_codes::kSuccess;  // the shell's code; kSuccess when started
  pid_t pid = 0;                              // the direct child (0 when detached or failed)
};

void ReportFromChild(int fd, int stage, int error) noexcept {
  const ChildReport report{stage, error};
  [[maybe_unused]] const ssize_t n = ::write(fd, &report, sizeof report);
}

pid_t WaitFor(pid_t pid, int* status, int options) {
  pid_t r;
  do {
    r = ::waitpid(pid, status, options);
  } while (r == -1 && errno == EINTR);
  return r;
}

// A thread that waits for the child and so reaps it the moment it ends: no
// zombie is left, whether or not init adopts anything, and nobody waits on the
// user interface's thread.
void ReapWhenEnded(pid_t pid) {
  std::thread([pid] { WaitFor(pid, nullptr, 0); }).detach();
}

// Starts program (a path) with arguments, in directory when not empty. Only
// async-signal-safe calls run between fork and exec; everything they need is
// built beforehand. A detached process gets its own session and is reaped by
// a thread of its own; otherwise its id is returned for ExitCode and Release.
SpawnOutcome Spawn(const std::string& program, const std::vector<std::string>& arguments, const std::string& directory,
                   bool detached) {
  std::vector<std::string> args;
  args.reserve(arguments.size() + 1);
  args.push_back(program);
  args.insert(args.end(), arguments.begin(), arguments.end());
  std::vector<char*> argv;
  for (auto& a : args) argv.push_back(a.data());
  argv.push_back(nullptr);
  const char* dir = directory.empty() ? nullptr : directory.c_str();
  const char* path = program.c_str();

  int fds[2];
  if (::pipe2(fds, O_CLOEXEC) == -1) return {ShellCodeForErrno(errno), 0};

  const pid_t child = ::fork();
  if (child == -1) {
    const int error = errno;
    ::close(fds[0]);
    ::close(fds[1]);
    return {ShellCodeForErrno(error), 0};
  }
  if (child == 0) {
    ::close(fds[0]);
    if (detached) ::setsid();  // the opened program does not share this program's terminal signals
    if (dir && ::chdir(dir) == -1) {
      ReportFromChild(fds[1], kStageChdir, errno);
      ::_exit(127);
    }
    ::execve(path, argv.data(), environ);
    ReportFromChild(fds[1], kStageExec, errno);
    ::_exit(127);
  }

  ::close(fds[1]);

  ChildReport report{};
  ssize_t n;
  do {
    n = ::read(fds[0], &report, sizeof report);
  } while (n == -1 && errno == EINTR);
  ::close(fds[0]);

  if (n == static_cast<ssize_t>(sizeof report)) {
    WaitFor(child, nullptr, 0);  // it has ended after its report
    if (report.stage == kStageChdir && (report.error == ENOENT || report.error == ENOTDIR)) {
      return {shell_codes::kPathNotFound, 0};
    }
    return {ShellCodeForErrno(report.error), 0};
  }
  if (detached) {
    ReapWhenEnded(child);
    return {shell_codes::kSuccess, 0};
  }
  return {shell_codes::kSuccess, child};
}

std::optional<std::string> LookupEnvironment(const std::string& name) {
  const char* value = std::getenv(name.c_str());
  if (!value) return std::nullopt;
  return std::string(value);
}

}  // namespace

PosixShellBackend::PosixShellBackend(std::string opener, std::string printer)
    : opener_(std::move(opener)), printer_(std::move(printer)) {}

std::intptr_t PosixShellBackend::Execute(WindowHandle /*window*/, std::string_view verb, std::string_view file,
                                         std::int32_t /*show*/) {
  const std::string action = Lower(verb);
  const bool print = action == "print";
  if (!print && !action.empty() && action != "open" && action != "explore") return shell_codes::kNoAssociation;

  std::string target(file);
  if (action != "explore" && !print) target = shell_targets::OpenTarget(file, Exists);
  const bool address = shell_targets::HasScheme(target);
  if (!address) {
    if (!Exists(target)) return MissingCode(target);
    target = SafePathArgument(target);
  }

  if (print) {
    if (address) return shell_codes::kNoAssociation;
    const std::string printer = FindProgram(printer_);
    if (printer.empty()) return shell_codes::kNoAssociation;
    return Spawn(printer, {"--", target}, {}, true).code;
  }
  const std::string opener = FindProgram(opener_);
  if (opener.empty()) return shell_codes::kNoAssociation;
  return Spawn(opener, {target}, {}, true).code;
}

ShellExResult PosixShellBackend::ExecuteEx(WindowHandle /*window*/, std::uint32_t mask, std::string_view verb,
                                           std::string_view file, std::string_view parameters,
                                           std::string_view directory, std::int32_t /*show*/) {
  const std::string action = Lower(verb);
  if (!action.empty() && action != "open") return {shell_codes::kNoAssociation, 0};

  const bool expand = (mask & shell_codes::kMaskDoEnvSubst) != 0;
  std::string name = expand ? shell_targets::ExpandEnvironment(file, LookupEnvironment) : std::string(file);
  std::string folder = expand ? shell_targets::ExpandEnvironment(directory, LookupEnvironment) : std::string(directory);
  if (!folder.empty() && !IsDirectory(folder)) return {shell_codes::kPathNotFound, 0};

  // A relative name is looked for in the start-in folder first, then here.
  std::string local;
  if (!name.empty()) {
    const fs::path p(name);
    if (p.is_relative() && !folder.empty() && Exists((fs::path(folder) / p).string())) {
      local = (fs::path(folder) / p).string();
    } else if (Exists(name)) {
      local = name;
    }
  }
  if (!local.empty()) local = fs::absolute(local).string();

  SpawnOutcome outcome;
  if (!local.empty() && IsExecutableFile(local)) {
    outcome = Spawn(local, shell_targets::SplitParameters(parameters), folder, false);
  } else {
    std::string target;
    if (!local.empty()) {
      target = local;  // a document or folder: its program opens it
    } else if (const std::string program = name.find('/') == std::string::npos ? FindProgram(name) : std::string();
               !program.empty()) {
      outcome = Spawn(program, shell_targets::SplitParameters(parameters), folder, false);
      return {outcome.code, outcome.pid};
    } else {
      target = shell_targets::OpenTarget(name, Exists);
      if (!shell_targets::HasScheme(target)) return {MissingCode(name), 0};
    }
    const std::string opener = FindProgram(opener_);
    if (opener.empty()) return {shell_codes::kNoAssociation, 0};
    outcome = Spawn(opener, {target}, folder, false);
  }
  return {outcome.code, outcome.pid};
}

bool PosixShellBackend::ExitCode(ProcessHandle process, std::uint32_t& code) {
  if (process <= 0) return false;
  std::lock_guard lock(mutex_);
  if (const auto it = finished_.find(process); it != finished_.end()) {
    code = it->second;
    return true;
  }
  int status = 0;
  const pid_t r = WaitFor(static_cast<pid_t>(process), &status, WNOHANG);
  if (r == 0) {
    code = shell_codes::kStillActive;
    return true;
  }
  if (r != static_cast<pid_t>(process)) return false;
  code = WIFEXITED(status) ? static_cast<std::uint32_t>(WEXITSTATUS(status))
                           : 128u + static_cast<std::uint32_t>(WTERMSIG(status));
  finished_[process] = code;
  return true;
}

void PosixShellBackend::Release(ProcessHandle process) {
  if (process <= 0) return;
  std::lock_guard lock(mutex_);
  if (finished_.erase(process) > 0) return;
  const pid_t pid = static_cast<pid_t>(process);
  if (WaitFor(pid, nullptr, WNOHANG) == 0) {
    ReapWhenEnded(pid);  // still running
  }
}

std::shared_ptr<ShellBackend> MakePlatformShellBackend() { return std::make_shared<PosixShellBackend>(); }

}  // namespace serenitap
