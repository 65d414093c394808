#pragma once
// Trimming a text, the one way the program does it.
#include <string_view>

namespace serenitap {

// The text without the characters of blanks at either end; by default blanks
// only, so tabs and line breaks stay. The answer points into text.
std::string_view TrimBlanks(std::string_view text, std::string_view blanks = " ") noexcept;

}  // namespace serenitap
