#include "services/set_aside.h"

#include <cerrno>
#include <ctime>
#include <filesystem>

#ifndef _WIN32
#include <fcntl.h>
#include <stdio.h>
#include <sys/stat.h>
#endif

namespace serenitap {
namespace {

// Renames from to to unless to is there (also as a link that points
// nowhere): false with errno EEXIST when it is, so that nothing is ever
// written over, also when another copy sets a file aside at the same moment.
bool RenameNoReplace(const std::string& from, const std::string& to) {
#ifndef _WIN32
  if (::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0) return true;
  if (errno != EINVAL && errno != ENOSYS) return false;
  struct stat st {};  // a file system without it: look first
  if (::lstat(to.c_str(), &st) == 0) {
    errno = EEXIST;
    return false;
  }
  return ::rename(from.c_str(), to.c_str()) == 0;
#else
  std::error_code error;
  if (std::filesystem::exists(std::filesystem::symlink_status(to, error))) {
    errno = EEXIST;
    return false;
  }
  std::filesystem::rename(from, to, error);
  errno = error.value();
  return !error;
#endif
}

}  // namespace

std::string SetAsideStamp() {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
#ifdef _WIN32
  ::localtime_s(&local, &now);
#else
  ::localtime_r(&now, &local);
#endif
  char text[32];
  std::strftime(text, sizeof text, "%Y%m%d-%H%M%S", &local);
  return text;
}

std::string SetFileAside(const std::string& file, std::error_code& error) {
  const std::string base = file + ".unreadable-" + SetAsideStamp();
  std::string target = base;
  for (int n = 2; !RenameNoReplace(file, target); ++n) {
    if (errno != EEXIST || n > 1000) {
      error = std::error_code(errno, std::generic_category());
      return {};
    }
    target = base + "-" + std::to_string(n);
  }
  error.clear();
  return target;
}

}  // namespace serenitap
