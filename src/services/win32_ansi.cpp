#include "services/win32_ansi.h"

#include <windows.h>

namespace serenitap::win32 {

namespace {

std::string Convert(std::string_view text, UINT from, UINT to) {
  if (text.empty()) return {};
  const int length = static_cast<int>(text.size());
  const int wide_length = ::MultiByteToWideChar(from, 0, text.data(), length, nullptr, 0);
  if (wide_length <= 0) return std::string(text);
  std::wstring wide(static_cast<std::size_t>(wide_length), L'\0');
  ::MultiByteToWideChar(from, 0, text.data(), length, wide.data(), wide_length);
  const int out_length = ::WideCharToMultiByte(to, 0, wide.data(), wide_length, nullptr, 0, nullptr, nullptr);
  if (out_length <= 0) return std::string(text);
  std::string out(static_cast<std::size_t>(out_length), '\0');
  ::WideCharToMultiByte(to, 0, wide.data(), wide_length, out.data(), out_length, nullptr, nullptr);
  return out;
}

}  // namespace

std::string ToAnsi(std::string_view utf8) { return Convert(utf8, CP_UTF8, CP_ACP); }
std::string FromAnsi(std::string_view ansi) { return Convert(ansi, CP_ACP, CP_UTF8); }

}  // namespace serenitap::win32
