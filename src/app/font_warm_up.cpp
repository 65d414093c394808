#include "app/font_warm_up.h"

#include <system_error>

#if defined(SERENITAP_HAVE_FONTCONFIG)
#include <fontconfig/fontconfig.h>
#endif

namespace serenitap {

FontConfigurationWarmUp::FontConfigurationWarmUp() {
#if defined(SERENITAP_HAVE_FONTCONFIG)
  try {
    // The configuration read here becomes the process's own: Qt's font
    // database finds it ready. The toolkit must not ask before it is done
    // (see the header).
    thread_ = std::thread([] { FcInit(); });
  } catch (const std::system_error&) {
    // No thread to spare: the toolkit reads the configuration when it needs it.
  }
#endif
}

FontConfigurationWarmUp::~FontConfigurationWarmUp() { Wait(); }

void FontConfigurationWarmUp::Wait() {
  if (thread_.joinable()) thread_.join();
}

}  // namespace serenitap
