#include "services/file_pages.h"

#include <dlfcn.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <string>

namespace serenitap {
namespace {

#if defined(__linux__)
// The process's resident pages of files (code, tables, fonts), in KiB.
long ResidentFileKib() {
  std::FILE* status = std::fopen("/proc/self/status", "re");
  if (status == nullptr) return -1;
  long kib = -1;
  char line[256];
  while (std::fgets(line, sizeof line, status) != nullptr) {
    if (std::sscanf(line, "RssFile: %ld", &kib) == 1) break;
  }
  std::fclose(status);
  return kib;
}

// Given back, the pages come back from the file as they were when used; the
// pages the process changed (its relocated tables, its data) stay as they are,
// or the next call through them would go astray.
TEST(FilePages, UnchangedOnesAreGivenBackAndComeBackAsTheyWere) {
  const long before = ResidentFileKib();
  EXPECT_GT(ReleaseUnchangedFilePages(), 0u);
  EXPECT_LT(ResidentFileKib(), before);
  std::string text = std::to_string(40) + " KiB";
  text.insert(0, "about ");
  EXPECT_EQ(text, "about 40 KiB");
  EXPECT_EQ(std::strlen(text.c_str()), 12u);
}

// The tables come back as they were when a symbol is next looked up.
TEST(FilePages, LinkTablesAreGivenBackAndLookedUpAgain) {
  const long before = ResidentFileKib();
  EXPECT_GT(ReleaseLinkTables(), 0u);
  EXPECT_LT(ResidentFileKib(), before);
  EXPECT_EQ(dlsym(RTLD_DEFAULT, "strlen"), reinterpret_cast<void*>(&strlen));
  EXPECT_EQ(std::to_string(7) + " tables", "7 tables");
}
#endif

}  // namespace
}  // namespace serenitap
