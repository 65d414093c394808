#include "app/display_check.h"

#include <cstdlib>
#include <string_view>
#include <thread>

#if defined(SERENITAP_HAVE_XCB)
#include <xcb/xcb.h>
#endif

namespace serenitap {
namespace {

std::string_view Variable(const char* name) {
  const char* v = std::getenv(name);
  return v != nullptr ? std::string_view(v) : std::string_view();
}

}  // namespace

std::optional<std::string> MissingDisplayReason() {
#if defined(__linux__) || defined(__FreeBSD__)
  if (!Variable("QT_QPA_PLATFORM").empty() || !Variable("DISPLAY").empty() || !Variable("WAYLAND_DISPLAY").empty()) {
    return std::nullopt;
  }
  return std::string(
      "Serenitap needs a graphical display, but neither DISPLAY nor WAYLAND_DISPLAY is set "
      "(start it from a desktop session, or under xvfb-run).");
#else
  return std::nullopt;
#endif
}

std::optional<std::string> UnreachableDisplayReason(const std::string& display,
                                                    const std::function<DisplayAttempt()>& attempt,
                                                    const std::function<void(std::chrono::milliseconds)>& pause) {
  for (int tried = 1;; ++tried) {
    const DisplayAttempt result = attempt();
    if (result == DisplayAttempt::Connected) return std::nullopt;
    if (result == DisplayAttempt::Invalid) {
      return "Serenitap cannot use the display \"" + display + "\": there is no such display or screen.";
    }
    if (tried == kDisplayAttempts) break;
    pause(kDisplayRetryPause);
  }
  return "Serenitap cannot open the display \"" + display +
         "\": it refused the connection (is its X server running, and may this user use it?).";
}

std::optional<std::string> DisplayConnection::Open(std::unique_ptr<DisplayConnection>& held) {
#if defined(SERENITAP_HAVE_XCB)
  const std::string_view platform = Variable("QT_QPA_PLATFORM");
  const std::string display(Variable("DISPLAY"));
  const bool x11 = platform.empty() ? Variable("WAYLAND_DISPLAY").empty() && !display.empty()
                                    : platform == "xcb" || platform.starts_with("xcb:");
  if (!x11) return std::nullopt;
  xcb_connection_t* connection = nullptr;
  const auto attempt = [&connection] {
    connection = xcb_connect(nullptr, nullptr);
    switch (xcb_connection_has_error(connection)) {
      case 0: return DisplayAttempt::Connected;
      case XCB_CONN_CLOSED_PARSE_ERR:
      case XCB_CONN_CLOSED_INVALID_SCREEN: xcb_disconnect(connection); return DisplayAttempt::Invalid;
      default: xcb_disconnect(connection); return DisplayAttempt::Refused;
    }
  };
  auto reason = UnreachableDisplayReason(display, attempt, [](auto pause) { std::this_thread::sleep_for(pause); });
  if (!reason) held.reset(new DisplayConnection(connection));
  return reason;
#else
  (void)held;
  return std::nullopt;
#endif
}

DisplayConnection::~DisplayConnection() {
#if defined(SERENITAP_HAVE_XCB)
  xcb_disconnect(static_cast<xcb_connection_t*>(connection_));
#endif
}

}  // namespace serenitap
