#include "services/file_pages.h"

#if defined(__linux__)
#include <sys/mman.h>

#include <cstdio>
#include <cstring>
#include <vector>
#endif

namespace serenitap {

#if defined(__linux__)
namespace {

struct Mapping {
  unsigned long start = 0;
  unsigned long end = 0;
  bool candidate = false;  // private, read-only, a file's
  bool changed = false;    // holds pages the process wrote (copied from the file)
};

// A line of /proc/self/smaps that opens a mapping: "start-end perms offset dev inode [path]".
bool ReadMappingLine(const char* line, Mapping& mapping) {
  char perms[8] = {};
  int pathAt = 0;
  if (std::sscanf(line, "%lx-%lx %7s %*s %*s %*s %n", &mapping.start, &mapping.end, perms, &pathAt) < 3) return false;
  const char* path = line + pathAt;
  mapping.candidate = std::strlen(perms) == 4 && perms[0] == 'r' && perms[1] == '-' && perms[3] == 'p' &&
                      path[0] == '/' && std::strncmp(path, "/dev/", 5) != 0;
  mapping.changed = false;
  return true;
}

}  // namespace

std::size_t ReleaseUnchangedFilePages() {
  std::FILE* smaps = std::fopen("/proc/self/smaps", "re");
  if (smaps == nullptr) return 0;
  std::vector<Mapping> unchanged;
  Mapping current;
  bool open = false;
  char line[4096];
  auto close = [&] {
    if (open && current.candidate && !current.changed) unchanged.push_back(current);
    open = false;
  };
  while (std::fgets(line, sizeof line, smaps) != nullptr) {
    Mapping next;
    if (ReadMappingLine(line, next)) {
      close();
      current = next;
      open = true;
    } else if (open) {
      unsigned long kib = 0;
      // A written page of a private mapping is the process's own copy: giving
      // it back would bring back the file's unchanged text.
      if ((std::sscanf(line, "Anonymous: %lu", &kib) == 1 || std::sscanf(line, "Locked: %lu", &kib) == 1) && kib > 0) {
        current.changed = true;
      }
    }
  }
  close();
  std::fclose(smaps);
  std::size_t released = 0;
  for (const Mapping& m : unchanged) {
    if (madvise(reinterpret_cast<void*>(m.start), m.end - m.start, MADV_DONTNEED) == 0) released += m.end - m.start;
  }
  return released;
}

std::size_t ReleaseLinkTables() {
  std::FILE* maps = std::fopen("/proc/self/maps", "re");
  if (maps == nullptr) return 0;
  std::vector<Mapping> heads;
  char line[4096];
  while (std::fgets(line, sizeof line, maps) != nullptr) {
    Mapping m;
    unsigned long offset = 1;
    char perms[8] = {};
    int pathAt = 0;
    if (std::sscanf(line, "%lx-%lx %7s %lx %*s %*s %n", &m.start, &m.end, perms, &offset, &pathAt) < 4) continue;
    // The part of a file mapped at its start, read-only: the tables the
    // linker reads. A library's relocated data lies further in the file.
    if (offset == 0 && std::strcmp(perms, "r--p") == 0 && line[pathAt] == '/' &&
        std::strncmp(line + pathAt, "/dev/", 5) != 0) {
      heads.push_back(m);
    }
  }
  std::fclose(maps);
  std::size_t released = 0;
  for (const Mapping& m : heads) {
    if (madvise(reinterpret_cast<void*>(m.start), m.end - m.start, MADV_DONTNEED) == 0) released += m.end - m.start;
  }
  return released;
}
#else
std::size_t ReleaseUnchangedFilePages() { return 0; }
std::size_t ReleaseLinkTables() { return 0; }
#endif

}  // namespace serenitap
