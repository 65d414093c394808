#pragma once
// The launcher of desktops other than Windows: the desktop's own opener
// (xdg-open from xdg-utils) for addresses, documents and folders, the CUPS
// client "lp" for printing, and programs started directly. Nothing goes
// through /bin/sh: every process gets its arguments as an array.
//
// Simple launches (Execute) start the opener detached, in a session of its
// own, and never wait for it (it may stay until the browser closes): a thread
// blocked in waitpid for that one child reaps it the moment it ends, so no
// zombie is left, whatever init does with orphans. A pipe closed on exec tells
// whether the opener really started.
//
// Extended launches (ExecuteEx) start a direct child, whose process id is the
// process handle: ExitCode asks waitpid(WNOHANG) and remembers the exit code
// of a child it reaped; Release of a child still running leaves a detached
// thread waiting for it, so it is reaped the moment it ends.
//
// Show styles are left to the opened program. Codes (the Windows shell's):
//   success                                   42
//   local file missing / its folder missing    2 / 3 (checked before starting)
//   start-in folder missing                    3
//   opener or printer not installed, unknown
//   verb, printing an address                  31 (no association)
//   the process could not start                errno as ShellCodeForErrno
//                                              (out of resources: 0)
// A default or "open" action turns a bare host name into an address first
// (shell_targets::OpenTarget). ExecuteEx expands %NAME% in the file and
// folder when the mask asks for it.
#include <map>
#include <mutex>
#include <string>

#include "services/shell.h"

namespace serenitap {

class PosixShellBackend : public ShellBackend {
 public:
  // opener and printer are program names looked up on PATH (or paths).
  explicit PosixShellBackend(std::string opener = "xdg-open", std::string printer = "lp");

  std::intptr_t Execute(WindowHandle window, std::string_view verb, std::string_view file, std::int32_t show) override;
  ShellExResult ExecuteEx(WindowHandle window, std::uint32_t mask, std::string_view verb, std::string_view file,
                          std::string_view parameters, std::string_view directory, std::int32_t show) override;
  bool ExitCode(ProcessHandle process, std::uint32_t& code) override;
  void Release(ProcessHandle process) override;

 private:
  std::string opener_;
  std::string printer_;
  std::mutex mutex_;
  std::map<ProcessHandle, std::uint32_t> finished_;  // children reaped by ExitCode, not yet released
};

}  // namespace serenitap
