#pragma once
// cMRUFileList: a most-recently-used list of file paths, newest first, limited
// to MaxFileCount entries. It makes numbered menu captions for the entries and
// keeps the list either in the registry (through a cRegistry object whose
// ClassKey and SectionKey the caller has set) or in the text file "mru.ini" in
// the current working folder:
//
//   MaxCount,<MaxFileCount>            each line ends in CR LF
//   Count,<FileCount>
//   File1,<path of entry 1>            one line per entry in use
//   ...
//   <one empty line>
//
// Entries are numbered from 1 to MaxFileCount; an index outside that range is
// a bounds failure (RuntimeFailure 9, "Subscript out of range") for the caller
// to report. Entries above FileCount read as the empty text unless "mru.ini"
// listed more entries than its Count.
//
// MRU_Save and MRU_Read report their failures themselves (module
// "cMRUFileList", their own name as the procedure) and return normally; the
// file is closed in every case. Save and Load pass on the errors cRegistry
// raises (RegistryError), as every cRegistry client does.
//
// Decisions made here:
// - Paths are written to "mru.ini" exactly as they are, without quoting. A
//   line is split at its FIRST comma and everything after it up to the line
//   end is the path, so commas, double quotes and leading or trailing blanks
//   in a path come back unchanged. A path holding a line break or a zero
//   character could not be kept in a line: AddFile ignores such a path.
// - Making MaxFileCount smaller than FileCount drops the entries that no
//   longer fit (the oldest) and lowers FileCount to the new maximum, so
//   FileCount never points past the list. A negative maximum is refused as a
//   bounds failure and changes nothing.
// - MRU_Read changes the list only when the whole file could be read: a file
//   that cannot be read or is malformed (a line without a comma, a MaxCount or
//   Count that is not a whole number in range, more entries than MaxCount) is
//   reported (number 321 for a malformed file) and left as it is on disk. A
//   Count larger than the entries the file lists is lowered to that number. A
//   UTF-8 byte order mark and lines ending in a bare LF are accepted.
// - MRU_Save writes a temporary file next to "mru.ini" and renames it over
//   the old one, so a failed save leaves the previous list intact. It returns
//   false when it failed (after the report); Save passes that result on.
// - AddFile compares paths without regard to ASCII letter case. It ignores a
//   path that names no file (a folder is not a file) and does nothing while
//   MaxFileCount is 0.
// - MenuCaption counts characters (not bytes) of a UTF-8 path and takes both
//   "\" and "/" as folder separators.
// - Load: a missing "File<i>" value is skipped (there is nothing to delete);
//   a value whose file no longer exists is deleted; an existing file beyond
//   MaxCount stays in the registry but is not taken into the list. Paths that
//   cRegistry stored as REG_EXPAND_SZ (a path with two "%") are read back
//   unexpanded, exactly as saved. A negative MaxCount counts as 0.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "kit/settings/c_registry.h"

namespace serenitap {

class cMRUFileList {
 public:
  static constexpr std::string_view kModule = "cMRUFileList";
  static constexpr std::string_view kListFileName = "mru.ini";
  // The maximum MRU_Read gives a new list when "mru.ini" does not exist yet.
  static constexpr std::int32_t kNewListMaxFileCount = 6;
  // The error number of a malformed "mru.ini".
  static constexpr std::int32_t kInvalidFileFormat = 321;

  std::int32_t MaxFileCount() const noexcept { return max_file_count_; }
  // Resizes the list to lMax entries, keeping those that fit (see above).
  void MaxFileCount(std::int32_t lMax);
  std::int32_t FileCount() const noexcept { return file_count_; }

  // The path of entry iIndex (1 = newest); empty for an unused entry.
  std::string FILE(std::int32_t iIndex) const;
  // True when entry iIndex is not empty.
  bool FileExists(std::int32_t iIndex) const;
  // "&" + iIndex + ")  " + the entry's path, shortened to its end (see
  // MenuCaptionText).
  std::string MenuCaption(std::int32_t iIndex) const;

  // Puts an existing file at the top of the list.
  void AddFile(std::string_view sfileName);

  // Stores the list in the registry (true) or in "mru.ini" (false).
  bool Save(bool pblnUseRegistry, cRegistry& cR);
  // Replaces the list by the stored one; files that no longer exist are left
  // out (and, in the registry, deleted). Returns true.
  bool Load(bool pblnUseRegistry, cRegistry& cR);

  // Writes "mru.ini"; true on success.
  bool MRU_Save();
  // Reads "mru.ini", or creates it with a maximum of 6 entries when missing.
  void MRU_Read();

  // The menu text for a path at a position. A path of 33 characters or more
  // is shortened to "..." followed by its tail from the leftmost separator
  // that has at most 32 characters after it (or, when every separator has
  // more, from the leftmost separator).
  static std::string MenuCaptionText(std::int32_t iIndex, std::string_view path);

 private:
  // True when path is not empty and names an existing entry that is not a
  // folder. A failure to look is shown as a message titled "FileExistsA".
  static bool FileExistsA(const std::string& path);
  // Throws the bounds failure when iIndex is outside 1..MaxFileCount.
  void CheckIndex(std::int32_t iIndex) const;
  // The exact text of "mru.ini" for the list as it is.
  std::string ListFileText() const;

  std::int32_t max_file_count_ = 0;
  std::int32_t file_count_ = 0;
  // Entry i is entries_[i - 1]; entries past the end of the vector are empty.
  // The vector never holds more than MaxFileCount entries.
  std::vector<std::string> entries_;
};

}  // namespace serenitap
