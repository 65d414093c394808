#include "app/font_warm_up.h"

#include <system_error>

#if defined(SERENITAP_HAVE_FONTCONFIG)
#include <dlfcn.h>
#include <fontconfig/fontconfig.h>
#endif

namespace serenitap {
namespace {

#if defined(SERENITAP_HAVE_FONTCONFIG)
constexpr char kFontconfigLibrary[] = "libfontconfig.so.1";
#endif

}  // namespace

FontConfigurationWarmUp::FontConfigurationWarmUp() {
#if defined(SERENITAP_HAVE_FONTCONFIG)
  try {
    // The configuration read here becomes the process's own: Qt's font
    // database finds it ready. The toolkit must not ask before it is done
    // (see the header).
    thread_ = std::thread([this] { Run(); });
  } catch (const std::system_error&) {
    // No thread to spare: the toolkit reads the configuration when it needs it.
  }
#endif
}

FontConfigurationWarmUp::~FontConfigurationWarmUp() { Wait(); }

void FontConfigurationWarmUp::Run() {
#if defined(SERENITAP_HAVE_FONTCONFIG)
  // The executable does not link fontconfig: its libraries would come first
  // in every later symbol lookup of Qt's libraries. It is loaded here, as the
  // same library Qt links, and stays loaded.
  if (void* library = dlopen(kFontconfigLibrary, RTLD_NOW | RTLD_LOCAL)) {
    if (auto init = reinterpret_cast<decltype(&FcInit)>(dlsym(library, "FcInit"))) init();
  }
#endif
  std::unique_lock lock(mutex_);
  handed_.wait(lock, [this] { return job_ != nullptr || closing_; });
  void (*job)() = job_;
  lock.unlock();
  if (job != nullptr) job();
}

bool FontConfigurationWarmUp::Then(void (*job)()) {
  const std::lock_guard lock(mutex_);
  if (!thread_.joinable() || closing_ || job_ != nullptr) return false;
  job_ = job;
  handed_.notify_one();
  return true;
}

void FontConfigurationWarmUp::Wait() {
  {
    const std::lock_guard lock(mutex_);
    closing_ = true;
  }
  handed_.notify_one();
  if (thread_.joinable()) thread_.join();
}

}  // namespace serenitap
