#pragma once
// The dearest single step of a start is the system's font configuration being
// read (on Linux fontconfig parses its XML files and maps the font caches):
// the first text on screen waits for it. It does not need the window system,
// so it starts on a thread of its own before anything else and runs while
// the application connects to the display and builds the window; the first
// window waits for what is left of it before it lays out its text.
// Where the platform reads its fonts otherwise, nothing is started.
#include <thread>

namespace serenitap {

class FontConfigurationWarmUp {
 public:
  FontConfigurationWarmUp();
  ~FontConfigurationWarmUp();
  FontConfigurationWarmUp(const FontConfigurationWarmUp&) = delete;
  FontConfigurationWarmUp& operator=(const FontConfigurationWarmUp&) = delete;

  // Returns once the configuration has been read; at once the second time.
  void Wait();

 private:
  std::thread thread_;
};

}  // namespace serenitap
