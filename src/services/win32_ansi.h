#pragma once
// Conversions between the program's UTF-8 texts and the Windows ANSI code
// page the "A" forms of the Windows calls take. Windows only.
#include <string>
#include <string_view>

namespace serenitap::win32 {

std::string ToAnsi(std::string_view utf8);
std::string FromAnsi(std::string_view ansi);

}  // namespace serenitap::win32
