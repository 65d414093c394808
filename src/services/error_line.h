#pragma once
// One line on the standard error stream, for the sinks that have no window to
// show it in. Written through C's stdio: including the C++ streams would set
// up their locale and eight stream objects at every start, for these lines only.
#include <cstdio>
#include <string_view>

namespace serenitap {

inline void WriteErrorLine(std::string_view line) {
  std::fwrite(line.data(), 1, line.size(), stderr);
  std::fputc('\n', stderr);
}

}  // namespace serenitap
