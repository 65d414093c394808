#pragma once
// Whether a graphical display can be reached, decided before Qt starts: Qt
// ends the process (an abort) when its platform cannot connect.
#include <chrono>
#include <functional>
#include <memory>
#include <optional>
#include <string>

namespace serenitap {

// Empty when a display is available (or a platform was chosen explicitly);
// otherwise the one-line explanation to print before exiting.
std::optional<std::string> MissingDisplayReason();

// How one attempt to reach the X display went.
enum class DisplayAttempt { Connected, Refused, Invalid };

// Tries the display up to kDisplayAttempts times, waiting kDisplayRetryPause
// between attempts while it refuses (an X server that lost its last client
// starts afresh and refuses connections for a moment); an invalid display name
// is not tried again. Empty once connected; otherwise the one-line explanation.
inline constexpr int kDisplayAttempts = 10;
inline constexpr std::chrono::milliseconds kDisplayRetryPause{100};
std::optional<std::string> UnreachableDisplayReason(const std::string& display,
                                                    const std::function<DisplayAttempt()>& attempt,
                                                    const std::function<void(std::chrono::milliseconds)>& pause);

// A connection to the X display the program will use, held while the
// application connects: closing it first could leave the server without a
// client, which makes a bare server start afresh under the application's feet.
class DisplayConnection {
 public:
  // Connects when the program will use X11 (QT_QPA_PLATFORM "xcb", or unset
  // with DISPLAY set and no Wayland); the reason when that display cannot be
  // reached. Elsewhere nothing is tried.
  static std::optional<std::string> Open(std::unique_ptr<DisplayConnection>& held);
  ~DisplayConnection();
  DisplayConnection(const DisplayConnection&) = delete;
  DisplayConnection& operator=(const DisplayConnection&) = delete;

 private:
  explicit DisplayConnection(void* connection) : connection_(connection) {}
  void* connection_;
};

}  // namespace serenitap
