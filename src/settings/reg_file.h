#pragma once
// The text form of one hive: the registry export format ("Windows Registry
// Editor Version 5.00"), read and written without any file access, so the
// file store and the parser's fuzz target share it.
//
// Written form:
//   Windows Registry Editor Version 5.00
//
//   [HKEY_CURRENT_USER\Software\Serenitap\Options]
//   "ShowWhatIsIt"=dword:00000001
//   @="the key's default value"
//   "Path"=hex(2):25,00
//
// Strings in quotes escape \ and " with a backslash. REG_SZ data that is
// plain one-line text with one terminating zero is written as a quoted
// string; REG_DWORD data of four bytes as dword:; everything else as hex
// bytes (hex: for REG_BINARY, hex(N): for type N), wrapped with ",\" like an
// export. Every key is written as its own section, so empty keys are kept.
// The text written is UTF-8. On reading, a UTF-8 byte-order mark is accepted,
// and so is UTF-16 with its byte-order mark, as the registry editor exports.
// The registry editor's older export, headed "REGEDIT4", is read too; its
// text is in the Windows code page (Western, 1252) unless it is UTF-8.
//
// Reading is strict: anything the writer would not produce, apart from blank
// lines, ";" comment lines, CR LF line ends and surrounding blanks, makes the
// whole text unreadable (the caller then sets the file aside). Deletion lines
// ([-KEY], "name"=-) are refused too: the store holds values, not edits.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace serenitap::settings {

struct RegValueData {
  std::string name;  // empty: the key's default value
  std::uint32_t type = 0;
  std::string data;  // bytes
};

// One key with its values (in the order they were set) and its sub-keys
// (sorted without regard to letter case, as the registry lists them).
struct RegKeyNode {
  std::string name;
  std::vector<RegValueData> values;
  std::vector<std::unique_ptr<RegKeyNode>> sub_keys;

  RegKeyNode() = default;
  explicit RegKeyNode(std::string n) : name(std::move(n)) {}

  RegKeyNode* FindSubKey(std::string_view subName) const;
  // The sub-key of that name, made (in sorted place) when missing.
  RegKeyNode& SubKey(std::string_view subName);
  // Removes a sub-key; false when there is none of that name.
  bool RemoveSubKey(std::string_view subName);
  RegValueData* FindValue(std::string_view valueName);
  const RegValueData* FindValue(std::string_view valueName) const;
  // Sets a value, keeping the spelling of an existing value's name.
  void SetValue(std::string_view valueName, std::uint32_t type, std::string data);
  bool RemoveValue(std::string_view valueName);
};

// Names compare as the registry compares them: without regard to letter case.
bool NamesEqual(std::string_view a, std::string_view b) noexcept;
// Negative, 0 or positive, without regard to letter case.
int CompareNames(std::string_view a, std::string_view b) noexcept;

inline constexpr std::string_view kRegFileHeader = "Windows Registry Editor Version 5.00";
inline constexpr std::string_view kRegFileHeader4 = "REGEDIT4";
// Limits a readable file keeps to; bigger files and longer lines are unreadable.
// The program's own settings take a few hundred bytes: a file of a megabyte
// is something else and is refused before it is read.
inline constexpr std::size_t kMaxRegFileSize = 1024u * 1024u;
inline constexpr std::size_t kMaxRegLineLength = 1024u * 1024u;

// Parses a hive's text. rootName is the hive's name (HKEY_CURRENT_USER);
// every section must lie in it. On failure returns nothing and, when error
// is given, says why and where ("line 3: ...").
std::optional<RegKeyNode> ParseRegFile(std::string_view text, std::string_view rootName, std::string* error = nullptr);

// The text of a hive.
std::string WriteRegFile(const RegKeyNode& root, std::string_view rootName);

// True when text is well-formed UTF-8.
bool IsValidUtf8(std::string_view text) noexcept;

}  // namespace serenitap::settings
