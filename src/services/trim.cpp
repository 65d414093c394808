#include "services/trim.h"

namespace serenitap {

std::string_view TrimBlanks(std::string_view text, std::string_view blanks) noexcept {
  const auto first = text.find_first_not_of(blanks);
  if (first == std::string_view::npos) return {};
  const auto last = text.find_last_not_of(blanks);
  return text.substr(first, last - first + 1);
}

}  // namespace serenitap
