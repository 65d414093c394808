#pragma once
// Handing web addresses, e-mail addresses, documents, folders and programs to
// the desktop, which opens them with the user's own programs.
//
// CShellExecute wraps the shell calls; OpenWebPage is the one entry the rest of
// the program uses. The shell itself sits behind ShellBackend: Windows calls
// shell32 (shell_win32.cpp), other desktops run the desktop's opener xdg-open
// (shell_posix.cpp), and tests install a fake.
//
// Result convention of every launch member: -1 when the shell reported success
// (a value of 33 or more), otherwise the shell's own code 0..32, unchanged.
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

namespace serenitap {

// A window handle as the shell takes it (HWND on Windows, unused elsewhere).
using WindowHandle = std::intptr_t;
// A launched process: a HANDLE on Windows, a process id elsewhere; 0 for none.
using ProcessHandle = std::intptr_t;

// Show-window styles, the Windows values, passed through unchanged. Desktops
// other than Windows leave the window to the opened program.
enum eShowStyle : std::int32_t {
  ssHide = 0,
  ssShowNormal = 1,
  ssShowMinimized = 2,
  ssShowMaximized = 3,
  ssShowNoActivate = 4,
  ssShow = 5,
  ssMinimize = 6,
  ssShowMinNoActive = 7,
  ssShowNA = 8,
  ssRestore = 9,
  ssShowDefault = 10,
};

// The shell's codes 0..32 used by the backends.
namespace shell_codes {
inline constexpr std::int32_t kOutOfResources = 0;          // the system is out of memory or resources
inline constexpr std::int32_t kFileNotFound = 2;            // ERROR_FILE_NOT_FOUND
inline constexpr std::int32_t kPathNotFound = 3;            // ERROR_PATH_NOT_FOUND
inline constexpr std::int32_t kAccessDenied = 5;            // SE_ERR_ACCESSDENIED
inline constexpr std::int32_t kBadFormat = 11;              // ERROR_BAD_FORMAT
inline constexpr std::int32_t kNoAssociation = 31;          // SE_ERR_NOASSOC
inline constexpr std::int32_t kSuccess = 42;                // any value above 32 means success
inline constexpr std::uint32_t kStillActive = 259;          // STILL_ACTIVE exit code
inline constexpr std::uint32_t kMaskNoCloseProcess = 0x40;  // SEE_MASK_NOCLOSEPROCESS
inline constexpr std::uint32_t kMaskDoEnvSubst = 0x200;     // SEE_MASK_DOENVSUBST
}  // namespace shell_codes

// What the extended shell call hands back.
struct ShellExResult {
  std::intptr_t instance = 0;  // the shell's value: above 32 on success, else its code
  ProcessHandle process = 0;   // the started process, 0 when none
};

// The shell as CShellExecute reaches it. Texts are UTF-8.
class ShellBackend {
 public:
  virtual ~ShellBackend() = default;
  // The simple shell call (ShellExecuteA): no parameters, no working folder.
  // An empty verb is the default action.
  virtual std::intptr_t Execute(WindowHandle window, std::string_view verb, std::string_view file,
                                std::int32_t show) = 0;
  // The extended shell call (ShellExecuteExA) with the given mask.
  virtual ShellExResult ExecuteEx(WindowHandle window, std::uint32_t mask, std::string_view verb, std::string_view file,
                                  std::string_view parameters, std::string_view directory, std::int32_t show) = 0;
  // GetExitCodeProcess: false when the call fails; code 259 while it runs.
  virtual bool ExitCode(ProcessHandle process, std::uint32_t& code) = 0;
  // Gives up a process handle returned by ExecuteEx.
  virtual void Release(ProcessHandle process) = 0;
};

// The platform's own backend (a new one on every call).
std::shared_ptr<ShellBackend> MakePlatformShellBackend();
// The backend new CShellExecute objects use: the platform's unless replaced.
std::shared_ptr<ShellBackend> CurrentShellBackend();
// Replaces the backend and returns the one it replaces; an empty pointer
// restores the platform's.
std::shared_ptr<ShellBackend> SetShellBackend(std::shared_ptr<ShellBackend> backend);

// -1 for a shell value of 33 or more, otherwise the value itself.
std::int32_t ShellResult(std::intptr_t shellValue);

class CShellExecute {
 public:
  CShellExecute();
  explicit CShellExecute(std::shared_ptr<ShellBackend> backend);
  ~CShellExecute();
  CShellExecute(const CShellExecute&) = delete;
  CShellExecute& operator=(const CShellExecute&) = delete;

  // True while the process of the last extended launch is still running.
  bool StillExecuting();

  // Opens a folder in the file manager (verb "explore").
  std::int32_t Explore(WindowHandle lnghWnd, std::string_view strFolder, eShowStyle style = ssShowNormal);
  // Opens a document with its program (verb "Open", extended call).
  std::int32_t LaunchDocument(WindowHandle lnghWnd, std::string_view strDocument, std::string_view strStartIn,
                              eShowStyle style = ssShowNormal);
  // Starts a message to the address in the mail program ("mailto:" + address).
  std::int32_t LaunchEmail(WindowHandle lnghWnd, std::string_view strAddress, eShowStyle style = ssShowNormal);
  // Opens a folder (verb "open").
  std::int32_t LaunchFolder(WindowHandle lnghWnd, std::string_view strFolder, eShowStyle style = ssShowNormal);
  // Starts a program (verb "Open", extended call).
  std::int32_t LaunchProgram(WindowHandle lnghWnd, std::string_view strProgram, std::string_view strParameters = {},
                             std::string_view strStartIn = {}, eShowStyle style = ssShowNormal);
  // Opens an address in the browser (default action).
  std::int32_t LaunchURL(WindowHandle lnghWnd, std::string_view strURL, eShowStyle style = ssShowDefault);
  // Prints a document (verb "print", hidden).
  std::int32_t PrintDocument(WindowHandle lnghWnd, std::string_view strDocument);

 private:
  void ClearLastLaunch();
  std::int32_t Simple(std::string_view member, WindowHandle window, std::string_view verb, std::string_view file,
                      std::int32_t show);
  std::int32_t Extended(std::string_view member, WindowHandle window, std::string_view file,
                        std::string_view parameters, std::string_view directory, std::int32_t show);

  std::shared_ptr<ShellBackend> backend_;
  std::intptr_t last_result_ = 0;  // the extended call's value; 0 after any other launch
  ProcessHandle process_ = 0;
};

// Opens an address in the user's browser on behalf of a window. Unless asIs,
// the link-source marker and tag are appended. Tells the user when it fails.
void OpenWebPage(WindowHandle window, std::string_view address, bool asIs);

// The address OpenWebPage hands to the shell.
std::string WebPageAddress(std::string_view address, bool asIs);

}  // namespace serenitap
