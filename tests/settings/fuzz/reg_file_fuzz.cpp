// Fuzz target for the settings file parser: any bytes either parse or are
// refused with a reason; what parses is written again, reads back and is
// written the same way a second time.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "settings/reg_file.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace serenitap::settings;
  std::string error;
  const auto parsed =
      ParseRegFile(std::string_view(reinterpret_cast<const char*>(data), size), "HKEY_CURRENT_USER", &error);
  if (!parsed) {
    if (error.empty()) std::abort();
    return 0;
  }
  const std::string written = WriteRegFile(*parsed, "HKEY_CURRENT_USER");
  const auto again = ParseRegFile(written, "HKEY_CURRENT_USER", &error);
  if (!again || WriteRegFile(*again, "HKEY_CURRENT_USER") != written) std::abort();
  return 0;
}
