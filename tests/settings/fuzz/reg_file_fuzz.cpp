// Fuzz target for the settings file parser: any bytes either parse or are
// refused with a reason; what parses is written again and must read back the
// same.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "settings/reg_file.h"

namespace {

void Same(const serenitap::settings::RegKeyNode& a, const serenitap::settings::RegKeyNode& b) {
  if (a.values.size() != b.values.size() || a.sub_keys.size() != b.sub_keys.size()) std::abort();
  for (std::size_t i = 0; i < a.values.size(); ++i) {
    if (a.values[i].name != b.values[i].name || a.values[i].type != b.values[i].type ||
        a.values[i].data != b.values[i].data) {
      std::abort();
    }
  }
  for (std::size_t i = 0; i < a.sub_keys.size(); ++i) {
    if (a.sub_keys[i]->name != b.sub_keys[i]->name) std::abort();
    Same(*a.sub_keys[i], *b.sub_keys[i]);
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace serenitap::settings;
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  std::string error;
  const auto parsed = ParseRegFile(text, "HKEY_CURRENT_USER", &error);
  if (!parsed) {
    if (error.empty()) std::abort();
    return 0;
  }
  const std::string written = WriteRegFile(*parsed, "HKEY_CURRENT_USER");
  const auto again = ParseRegFile(written, "HKEY_CURRENT_USER", &error);
  if (!again) std::abort();
  Same(*parsed, *again);
  return 0;
}
