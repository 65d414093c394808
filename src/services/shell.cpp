#include "services/shell.h"

#include <mutex>
#include <string>
#include <utility>

#include "services/member_guard.h"
#include "services/message_box.h"
#include "services/product.h"

namespace serenitap {

namespace {

std::mutex& BackendMutex() {
  static std::mutex m;
  return m;
}

std::shared_ptr<ShellBackend>& InstalledBackend() {
  static std::shared_ptr<ShellBackend> backend;
  return backend;
}

}  // namespace

std::shared_ptr<ShellBackend> CurrentShellBackend() {
  std::lock_guard lock(BackendMutex());
  auto& installed = InstalledBackend();
  if (!installed) installed = MakePlatformShellBackend();
  return installed;
}

std::shared_ptr<ShellBackend> SetShellBackend(std::shared_ptr<ShellBackend> backend) {
  std::lock_guard lock(BackendMutex());
  auto& installed = InstalledBackend();
  auto previous = std::move(installed);
  installed = std::move(backend);
  return previous;
}

std::int32_t ShellResult(std::intptr_t shellValue) {
  if (shellValue >= 33) return -1;
  return static_cast<std::int32_t>(shellValue);
}

CShellExecute::CShellExecute() : backend_(CurrentShellBackend()) {}

CShellExecute::CShellExecute(std::shared_ptr<ShellBackend> backend)
    : backend_(backend ? std::move(backend) : CurrentShellBackend()) {}

CShellExecute::~CShellExecute() {
  try {
    ClearLastLaunch();
  } catch (...) {
    // A destructor must not throw, and a launch record that could not be cleared goes with the object.
  }
}

void CShellExecute::ClearLastLaunch() {
  last_result_ = 0;
  if (process_ != 0) {
    const ProcessHandle held = process_;
    process_ = 0;
    backend_->Release(held);
  }
}

bool CShellExecute::StillExecuting() {
  bool running = false;
  GuardMember("StillExecuting", [&] {
    if (last_result_ == 0) return;
    std::uint32_t code = 0;
    running = backend_->ExitCode(process_, code) && code == shell_codes::kStillActive;
  });
  return running;
}

std::int32_t CShellExecute::Simple(std::string_view member, WindowHandle window, std::string_view verb,
                                   std::string_view file, std::int32_t show) {
  std::int32_t result = 0;
  GuardMember(member, [&] {
    ClearLastLaunch();
    result = ShellResult(backend_->Execute(window, verb, file, show));
  });
  return result;
}

std::int32_t CShellExecute::Extended(std::string_view member, WindowHandle window, std::string_view file,
                                     std::string_view parameters, std::string_view directory, std::int32_t show) {
  std::int32_t result = 0;
  GuardMember(member, [&] {
    ClearLastLaunch();
    const ShellExResult r = backend_->ExecuteEx(window, shell_codes::kMaskNoCloseProcess | shell_codes::kMaskDoEnvSubst,
                                                "Open", file, parameters, directory, show);
    result = ShellResult(r.instance);
    last_result_ = r.instance;
    process_ = r.process;
  });
  return result;
}

std::int32_t CShellExecute::Explore(WindowHandle lnghWnd, std::string_view strFolder, eShowStyle style) {
  return Simple("Explore", lnghWnd, "explore", strFolder, style);
}

std::int32_t CShellExecute::LaunchDocument(WindowHandle lnghWnd, std::string_view strDocument,
                                           std::string_view strStartIn, eShowStyle style) {
  return Extended("LaunchDocument", lnghWnd, strDocument, {}, strStartIn, style);
}

std::int32_t CShellExecute::LaunchEmail(WindowHandle lnghWnd, std::string_view strAddress, eShowStyle style) {
  std::int32_t result = 0;
  GuardMember("LaunchEmail", [&] {
    const std::string target = "mailto:" + std::string(strAddress);
    ClearLastLaunch();
    result = ShellResult(backend_->Execute(lnghWnd, {}, target, style));
  });
  return result;
}

std::int32_t CShellExecute::LaunchFolder(WindowHandle lnghWnd, std::string_view strFolder, eShowStyle style) {
  return Simple("LaunchFolder", lnghWnd, "open", strFolder, style);
}

std::int32_t CShellExecute::LaunchProgram(WindowHandle lnghWnd, std::string_view strProgram,
                                          std::string_view strParameters, std::string_view strStartIn,
                                          eShowStyle style) {
  return Extended("LaunchProgram", lnghWnd, strProgram, strParameters, strStartIn, style);
}

std::int32_t CShellExecute::LaunchURL(WindowHandle lnghWnd, std::string_view strURL, eShowStyle style) {
  return Simple("LaunchURL", lnghWnd, {}, strURL, style);
}

std::int32_t CShellExecute::PrintDocument(WindowHandle lnghWnd, std::string_view strDocument) {
  return Simple("PrintDocument", lnghWnd, "print", strDocument, ssHide);
}

std::string WebPageAddress(std::string_view address, bool asIs) {
  std::string text(address);
  if (!asIs) {
    text += product::kLinkSourceMarker;
    text += product::kLinkSourceTag;
  }
  return text;
}

void OpenWebPage(WindowHandle window, std::string_view address, bool asIs) {
  CShellExecute shell;
  const std::int32_t result = shell.LaunchURL(window, WebPageAddress(address, asIs), ssShowDefault);
  if (result != -1) {
    MsgBox("Error on launching URL: " + std::to_string(result), MsgButtons::Ok, MsgIcon::None, product::kAppTitle);
  }
}

}  // namespace serenitap
