// The executable: starts reading the font configuration, loads the program
// proper and runs it (program_entry.h). It links neither the toolkit nor the
// program's code, so it is loaded and linked at once, and the font thread
// starts before the toolkit's libraries are loaded instead of after.
#include <dlfcn.h>
#include <unistd.h>

#if defined(__GLIBC__)
#include <malloc.h>
#endif

#include <climits>
#include <cstdio>
#include <string>

#include "app/font_warm_up.h"
#include "app/program_entry.h"

namespace {

serenitap::FontConfigurationWarmUp* fonts = nullptr;

const serenitap::FontThread kFontThread{
    [](void (*job)()) { return fonts != nullptr && fonts->Then(job); },
    [] {
      if (fonts != nullptr) fonts->Wait();
    },
};

// The folder of this executable, with a trailing slash; empty when unknown.
std::string ProgramFolder() {
  char path[PATH_MAX];
  const ssize_t length = readlink("/proc/self/exe", path, sizeof path - 1);
  if (length <= 0) return {};
  const std::string self(path, static_cast<std::size_t>(length));
  return self.substr(0, self.rfind('/') + 1);
}

}  // namespace

int main(int argc, char* argv[]) {
  using namespace serenitap;
#if defined(__GLIBC__)
  // One heap for every thread, set before the first one starts. The font
  // thread and the toolkit's threads (the display's event reader, the session
  // bus, the painters drawing large pictures in parallel) otherwise get an
  // arena each, with pages of their own that stay after their allocations end.
  mallopt(M_ARENA_MAX, 1);
#endif
  FontConfigurationWarmUp warmUp;
  fonts = &warmUp;
  // Beside the executable in its build folder; installed, SERENITAP_PROGRAM_FROM_BIN
  // leads from the executable's folder to the module's.
  const std::string folder = ProgramFolder();
  const std::string places[] = {folder + kProgramModule, folder + SERENITAP_PROGRAM_FROM_BIN "/" + kProgramModule};
  std::string reasons;
  for (const std::string& place : places) {
    if (access(place.c_str(), F_OK) != 0) continue;
    // Its functions are linked as they are first called, as an executable's are.
    void* module = dlopen(place.c_str(), RTLD_LAZY | RTLD_LOCAL);
    const auto entry = module != nullptr ? reinterpret_cast<ProgramEntry>(dlsym(module, kProgramEntry)) : nullptr;
    if (entry != nullptr) return entry(&argc, argv, &kFontThread);
    const char* reason = dlerror();
    reasons += std::string(reasons.empty() ? "" : "; ") + (reason != nullptr ? reason : place + ": no entry");
  }
  if (reasons.empty()) {
    reasons = std::string(kProgramModule) + " was found neither in " + folder + " nor in " + folder +
              SERENITAP_PROGRAM_FROM_BIN;
  }
  std::fprintf(stderr,
               "Serenitap cannot start: its program module could not be loaded (%s). "
               "Reinstalling Serenitap puts it back.\n",
               reasons.c_str());
  return 1;
}
