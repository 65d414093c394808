// The Windows shell: shell32's ShellExecuteA and ShellExecuteExA, kernel32's
// GetExitCodeProcess. Texts go to the calls in the ANSI code page.
// windows.h goes first: the other Windows headers need its definitions.
#include <windows.h>

#include <shellapi.h>

#include <string>

#include "services/shell.h"
#include "services/win32_ansi.h"

namespace serenitap {

namespace {

#if defined(_WIN32) && !defined(_WIN64)
static_assert(sizeof(SHELLEXECUTEINFOA) == 60, "the extended shell call takes a 60-byte record");
#endif

// nullptr for an empty text: the shell's "none" (no verb, no parameters, no folder).
const char* OrNull(const std::string& text) { return text.empty() ? nullptr : text.c_str(); }

class Win32ShellBackend : public ShellBackend {
 public:
  std::intptr_t Execute(WindowHandle window, std::string_view verb, std::string_view file, std::int32_t show) override {
    const std::string ansi_verb = win32::ToAnsi(verb);
    const std::string ansi_file = win32::ToAnsi(file);
    const HINSTANCE r = ::ShellExecuteA(reinterpret_cast<HWND>(window), OrNull(ansi_verb), ansi_file.c_str(), nullptr,
                                        nullptr, static_cast<INT>(show));
    return reinterpret_cast<std::intptr_t>(r);
  }

  ShellExResult ExecuteEx(WindowHandle window, std::uint32_t mask, std::string_view verb, std::string_view file,
                          std::string_view parameters, std::string_view directory, std::int32_t show) override {
    const std::string ansi_verb = win32::ToAnsi(verb);
    const std::string ansi_file = win32::ToAnsi(file);
    const std::string ansi_parameters = win32::ToAnsi(parameters);
    const std::string ansi_directory = win32::ToAnsi(directory);
    SHELLEXECUTEINFOA info{};
    info.cbSize = sizeof info;
    info.fMask = static_cast<ULONG>(mask);
    info.hwnd = reinterpret_cast<HWND>(window);
    info.lpVerb = OrNull(ansi_verb);
    info.lpFile = ansi_file.c_str();
    info.lpParameters = ansi_parameters.c_str();
    info.lpDirectory = ansi_directory.c_str();
    info.nShow = static_cast<int>(show);
    ::ShellExecuteExA(&info);
    return {reinterpret_cast<std::intptr_t>(info.hInstApp), reinterpret_cast<ProcessHandle>(info.hProcess)};
  }

  bool ExitCode(ProcessHandle process, std::uint32_t& code) override {
    DWORD exit_code = 0;
    if (!::GetExitCodeProcess(reinterpret_cast<HANDLE>(process), &exit_code)) return false;
    code = static_cast<std::uint32_t>(exit_code);
    return true;
  }

  void Release(ProcessHandle process) override {
    if (process != 0) ::CloseHandle(reinterpret_cast<HANDLE>(process));
  }
};

}  // namespace

std::shared_ptr<ShellBackend> MakePlatformShellBackend() { return std::make_shared<Win32ShellBackend>(); }

}  // namespace serenitap
