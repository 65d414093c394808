#pragma once
// The copies of the journal that were set aside because they could not be
// read ("journal.sqlite.unreadable-<time>", with their "-wal" and "-shm"),
// beside the journal itself. Deleting every session deletes them too: they
// hold sessions the user may not want kept.
#include <string>
#include <vector>

namespace serenitap::journal {

// The set-aside files beside the journal at journalPath, sorted by name.
std::vector<std::string> SetAsideCopies(const std::string& journalPath);
// How many journals were set aside (a copy's "-wal" and "-shm" not counted).
std::size_t SetAsideJournalCount(const std::vector<std::string>& copies);
// Deletes the files; returns those that could not be deleted.
std::vector<std::string> DeleteFiles(const std::vector<std::string>& files);

}  // namespace serenitap::journal
