#pragma once
// The dearest single step of a start is the system's font configuration being
// read (on Linux fontconfig parses its XML files and maps the font caches):
// the first text on screen waits for it. It does not need the window system,
// so it starts on a thread of its own before anything else (the executable's
// first line) and runs while the program and Qt are loaded; once the
// application object exists, the thread also makes Qt's list of fonts.
// Nothing may touch the font configuration meanwhile: two threads reading it
// at once can corrupt fontconfig's shared state and crash the program later.
// So every window waits for what is left of it before it lays out text
// (WaitForFontConfiguration in ui/fonts.h): the main window, the
// introduction, message boxes and failure reports.
// Where the platform reads its fonts otherwise, nothing is started.
#include <condition_variable>
#include <mutex>
#include <thread>

namespace serenitap {

class FontConfigurationWarmUp {
 public:
  FontConfigurationWarmUp();
  ~FontConfigurationWarmUp();
  FontConfigurationWarmUp(const FontConfigurationWarmUp&) = delete;
  FontConfigurationWarmUp& operator=(const FontConfigurationWarmUp&) = delete;

  // Hands the thread one more job, run once the configuration has been read
  // (the toolkit's own list of fonts, which can only be made once the
  // application object exists). False when there is no thread to take it:
  // none was started, or it has been waited for.
  bool Then(void (*job)());

  // Returns once the configuration has been read and the job handed over run;
  // at once the second time.
  void Wait();

 private:
  void Run();

  std::mutex mutex_;
  std::condition_variable handed_;
  void (*job_)() = nullptr;
  bool closing_ = false;
  std::thread thread_;
};

}  // namespace serenitap
