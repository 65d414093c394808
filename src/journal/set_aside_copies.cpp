#include "journal/set_aside_copies.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

namespace serenitap::journal {
namespace {

namespace fs = std::filesystem;

bool EndsWith(const std::string& text, const std::string& end) {
  return text.size() >= end.size() && text.compare(text.size() - end.size(), end.size(), end) == 0;
}

}  // namespace

std::vector<std::string> SetAsideCopies(const std::string& journalPath) {
  std::vector<std::string> copies;
  const fs::path journal(journalPath);
  const std::string prefix = journal.filename().string() + ".unreadable-";
  std::error_code error;
  for (fs::directory_iterator it(journal.parent_path(), error), end; !error && it != end; it.increment(error)) {
    const std::string name = it->path().filename().string();
    std::error_code kind;
    if (name.rfind(prefix, 0) == 0 && !it->is_directory(kind)) copies.push_back(it->path().string());
  }
  std::sort(copies.begin(), copies.end());
  return copies;
}

std::size_t SetAsideJournalCount(const std::vector<std::string>& copies) {
  return static_cast<std::size_t>(std::count_if(copies.begin(), copies.end(), [](const std::string& copy) {
    return !EndsWith(copy, "-wal") && !EndsWith(copy, "-shm");
  }));
}

std::vector<std::string> DeleteFiles(const std::vector<std::string>& files) {
  std::vector<std::string> kept;
  for (const std::string& file : files) {
    std::error_code error;
    fs::remove(file, error);
    if (error) kept.push_back(file);
  }
  return kept;
}

}  // namespace serenitap::journal
