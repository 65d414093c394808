#pragma once
// The dearest single step of a start is the system's font configuration being
// read (on Linux fontconfig parses its XML files and maps the font caches):
// the first text on screen waits for it. It does not need the window system,
// so it starts on a thread of its own before anything else and runs while
// the application connects to the display.
// Nothing may touch the font configuration meanwhile: two threads reading it
// at once can corrupt fontconfig's shared state and crash the program later.
// So every window waits for what is left of it before it makes a control or
// lays out text (WaitForFontConfiguration in ui/fonts.h): the main window, the
// introduction, message boxes and failure reports.
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
