#include "kit/settings/mru_file_list.h"

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <filesystem>
#include <fstream>
#include <random>
#include <system_error>

#include "services/failure.h"
#include "services/member_guard.h"
#include "settings/registry_store.h"

namespace serenitap {
namespace {

namespace fs = std::filesystem;

// Paths are the program's UTF-8 text.
fs::path PathFromText(std::string_view text) { return fs::path(std::u8string(text.begin(), text.end())); }

char FoldCase(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

bool SameTextIgnoringCase(std::string_view a, std::string_view b) {
  return a.size() == b.size() &&
         std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) { return FoldCase(x) == FoldCase(y); });
}

// A failure of the file system, with the number and text the program uses.
RuntimeFailure FileFailure(std::error_code ec, std::source_location where = std::source_location::current()) {
  if (ec == std::errc::permission_denied || ec == std::errc::operation_not_permitted ||
      ec == std::errc::read_only_file_system) {
    return RuntimeFailure(70, "Permission denied", where);
  }
  if (ec == std::errc::no_space_on_device) return RuntimeFailure(61, "Disk full", where);
  if (ec == std::errc::filename_too_long || ec == std::errc::invalid_argument) {
    return RuntimeFailure(52, "Bad file name or number", where);
  }
  return RuntimeFailure(75, "Path/File access error", where);
}

std::error_code LastError() { return std::error_code(errno != 0 ? errno : EIO, std::generic_category()); }

RuntimeFailure Malformed(int line, const std::string& what,
                         std::source_location where = std::source_location::current()) {
  return RuntimeFailure(cMRUFileList::kInvalidFileFormat,
                        "Invalid file format: line " + std::to_string(line) + " of " +
                            std::string(cMRUFileList::kListFileName) + " " + what,
                        where);
}

// A whole number, blanks around it allowed; false when it is none or does not
// fit 32 bits.
bool ParseNumber(std::string_view text, std::int32_t* value) {
  while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
  while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
  if (!text.empty() && text.front() == '+') text.remove_prefix(1);
  if (text.empty()) return false;
  const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), *value);
  return ec == std::errc() && end == text.data() + text.size();
}

// A registry value as a number: integers as they are, a decimal text as its
// number, anything else 0.
std::int32_t NumberOf(const RegVariant& value) {
  if (const auto* v = std::get_if<std::int32_t>(&value)) return *v;
  if (const auto* v = std::get_if<std::int16_t>(&value)) return *v;
  std::int32_t n = 0;
  if (const auto* v = std::get_if<std::string>(&value); v != nullptr && ParseNumber(*v, &n)) return n;
  return 0;
}

// The stored text of the value cR names, without expanding %NAME% references.
std::string UnexpandedText(const cRegistry& cR) {
  auto& store = settings::CurrentStore();
  settings::HKey key = 0;
  if (store.OpenKey(settings::RootHandle(cR.ClassKey()), cR.SectionKey(), settings::KEY_QUERY_VALUE, &key) != 0) {
    return {};
  }
  const ScopeExit close([&] { store.CloseKey(key); });
  std::uint32_t type = 0, size = 0;
  if (store.QueryValue(key, cR.ValueKey(), &type, nullptr, &size) != 0 || size == 0) return {};
  std::string bytes(size, '\0');
  if (store.QueryValue(key, cR.ValueKey(), &type, reinterpret_cast<std::uint8_t*>(bytes.data()), &size) != 0) {
    return {};
  }
  bytes.resize(std::min<std::size_t>(size, bytes.find('\0')));
  return store.DecodeText(bytes);
}

bool IsUtf8Continuation(char c) { return (static_cast<unsigned char>(c) & 0xC0) == 0x80; }

}  // namespace

void cMRUFileList::MaxFileCount(std::int32_t lMax) {
  if (lMax < 0) throw RuntimeFailure(errors::kSubscriptRange, "Subscript out of range");
  if (lMax == max_file_count_) return;
  if (entries_.size() > static_cast<std::size_t>(lMax)) entries_.resize(static_cast<std::size_t>(lMax));
  file_count_ = std::min(file_count_, lMax);
  max_file_count_ = lMax;
}

void cMRUFileList::CheckIndex(std::int32_t iIndex) const {
  if (iIndex < 1 || iIndex > max_file_count_) {
    throw RuntimeFailure(errors::kSubscriptRange, "Subscript out of range");
  }
}

std::string cMRUFileList::FILE(std::int32_t iIndex) const {
  CheckIndex(iIndex);
  const auto i = static_cast<std::size_t>(iIndex - 1);
  return i < entries_.size() ? entries_[i] : std::string();
}

bool cMRUFileList::FileExists(std::int32_t iIndex) const { return !FILE(iIndex).empty(); }

std::string cMRUFileList::MenuCaption(std::int32_t iIndex) const { return MenuCaptionText(iIndex, FILE(iIndex)); }

std::string cMRUFileList::MenuCaptionText(std::int32_t iIndex, std::string_view path) {
  constexpr std::size_t kTail = 32;  // characters that fit after the "..."
  std::string caption(path);
  // after[i]: the characters of path that follow byte i.
  std::vector<std::size_t> after(path.size() + 1, 0);
  for (std::size_t i = path.size(); i-- > 0;) {
    after[i] = after[i + 1] + (i + 1 < path.size() && !IsUtf8Continuation(path[i + 1]) ? 1 : 0);
  }
  const std::size_t length = path.empty() ? 0 : after[0] + 1;
  if (length > kTail) {
    std::size_t remembered = std::string_view::npos;
    for (std::size_t i = path.size(); i-- > 0;) {
      if (path[i] != '\\' && path[i] != '/') continue;
      if (after[i] <= kTail) {
        remembered = i;
      } else {
        caption = "..." + std::string(path.substr(remembered != std::string_view::npos ? remembered : i));
      }
    }
  }
  return "&" + std::to_string(iIndex) + ")  " + caption;
}

bool cMRUFileList::FileExistsA(const std::string& path) {
  if (path.empty() || path.find('\0') != std::string::npos) return false;
  bool found = false;
  GuardMember("FileExistsA", [&] {
    std::error_code ec;
    const fs::file_status status = fs::status(PathFromText(path), ec);
    if (status.type() == fs::file_type::not_found) return;
    if (ec) throw FileFailure(ec);
    found = status.type() != fs::file_type::directory;
  });
  return found;
}

void cMRUFileList::AddFile(std::string_view sfileName) {
  if (max_file_count_ < 1) return;
  if (sfileName.find_first_of(std::string_view("\r\n\0", 3)) != std::string_view::npos) return;
  const std::string path(sfileName);
  if (!FileExistsA(path)) return;

  entries_.resize(std::max(entries_.size(), static_cast<std::size_t>(file_count_)));
  std::int32_t found = 0;
  for (std::int32_t i = 1; i <= file_count_ && found == 0; ++i) {
    if (SameTextIgnoringCase(entries_[static_cast<std::size_t>(i - 1)], path)) found = i;
  }
  std::int32_t last = found;  // the entry the shift overwrites
  if (found == 0) {
    if (file_count_ < max_file_count_) ++file_count_;
    last = file_count_;
    entries_.resize(std::max(entries_.size(), static_cast<std::size_t>(file_count_)));
  }
  for (std::int32_t i = last; i > 1; --i) {
    entries_[static_cast<std::size_t>(i - 1)] = std::move(entries_[static_cast<std::size_t>(i - 2)]);
  }
  entries_[0] = path;
}

bool cMRUFileList::Save(bool pblnUseRegistry, cRegistry& cR) {
  if (!pblnUseRegistry) return MRU_Save();
  cR.Default(RegVariant{});
  cR.ValueType(static_cast<std::int32_t>(settings::REG_DWORD));
  cR.ValueKey("MaxCount");
  cR.Value(RegVariant{max_file_count_});
  cR.ValueType(static_cast<std::int32_t>(settings::REG_DWORD));
  cR.ValueKey("Count");
  cR.Value(RegVariant{file_count_});
  for (std::int32_t i = 1; i <= file_count_; ++i) {
    cR.ValueKey("File" + std::to_string(i));
    cR.ValueType(static_cast<std::int32_t>(settings::REG_SZ));
    cR.Value(RegVariant{FILE(i)});
    if (RegVariantText(cR.Value()).empty()) {
      cR.ValueType(static_cast<std::int32_t>(settings::REG_SZ));
      cR.Value(RegVariant{std::string(" ")});
    }
  }
  return true;
}

bool cMRUFileList::Load(bool pblnUseRegistry, cRegistry& cR) {
  if (!pblnUseRegistry) {
    MRU_Read();
    return true;
  }
  if (!cR.KeyExists()) return true;
  cR.Default(RegVariant{});
  cR.ValueType(static_cast<std::int32_t>(settings::REG_DWORD));
  cR.ValueKey("MaxCount");
  const std::int32_t maxCount = std::max<std::int32_t>(0, NumberOf(cR.Value()));
  if (maxCount < 1) {
    MaxFileCount(0);
    return true;
  }
  cR.ValueType(static_cast<std::int32_t>(settings::REG_DWORD));
  cR.ValueKey("Count");
  std::int32_t count = NumberOf(cR.Value());

  // Only indices that are stored can hold a path: a huge Count costs nothing.
  std::vector<std::string> names;
  std::int32_t stored = 0;
  cR.EnumerateValues(names, stored);
  std::int32_t highest = 0;
  for (const auto& name : names) {
    std::int32_t n = 0;
    if (name.size() > 4 && SameTextIgnoringCase(name.substr(0, 4), "File") && ParseNumber(name.substr(4), &n)) {
      highest = std::max(highest, n);
    }
  }
  count = std::min(count, highest);

  std::vector<std::string> loaded;
  for (std::int32_t i = 1; i <= count; ++i) {
    cR.ValueKey("File" + std::to_string(i));
    cR.ValueType(static_cast<std::int32_t>(settings::REG_SZ));
    const RegVariant value = cR.Value();
    if (std::holds_alternative<std::monostate>(value)) continue;
    const std::string path = cR.ValueType() == static_cast<std::int32_t>(settings::REG_EXPAND_SZ)
                                 ? UnexpandedText(cR)
                                 : RegVariantText(value);
    if (!FileExistsA(path)) {
      cR.DeleteValue();
    } else if (loaded.size() < static_cast<std::size_t>(maxCount)) {
      loaded.push_back(path);
    }
  }
  max_file_count_ = maxCount;
  file_count_ = static_cast<std::int32_t>(loaded.size());
  entries_ = std::move(loaded);
  return true;
}

std::string cMRUFileList::ListFileText() const {
  std::string text = "MaxCount," + std::to_string(max_file_count_) + "\r\n";
  text += "Count," + std::to_string(file_count_) + "\r\n";
  for (std::int32_t i = 1; i <= file_count_; ++i) text += "File" + std::to_string(i) + "," + FILE(i) + "\r\n";
  text += "\r\n";
  return text;
}

bool cMRUFileList::MRU_Save() {
  bool saved = false;
  Guarded(kModule, "MRU_Save", [&] {
    const std::string text = ListFileText();
    std::random_device random;
    const fs::path target(kListFileName);
    const fs::path temporary(std::string(kListFileName) + "." + std::to_string(random() % 1000000) + ".saving");
    bool renamed = false;
    const ScopeExit discard([&] {
      std::error_code ignored;
      if (!renamed) fs::remove(temporary, ignored);
    });
    {
      errno = 0;
      std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
      if (!out) throw FileFailure(LastError());
      out.write(text.data(), static_cast<std::streamsize>(text.size()));
      out.flush();
      if (!out) throw FileFailure(LastError());
      out.close();
      if (out.fail()) throw FileFailure(LastError());
    }
    std::error_code ec;
    fs::rename(temporary, target, ec);
    if (ec) throw FileFailure(ec);
    renamed = true;
    saved = true;
  });
  return saved;
}

void cMRUFileList::MRU_Read() {
  Guarded(kModule, "MRU_Read", [&] {
    const fs::path source(kListFileName);
    std::error_code ec;
    const fs::file_status status = fs::status(source, ec);
    if (status.type() == fs::file_type::not_found) {
      MaxFileCount(kNewListMaxFileCount);
      MRU_Save();
      return;
    }
    if (ec) throw FileFailure(ec);
    if (status.type() == fs::file_type::directory) throw FileFailure(std::make_error_code(std::errc::is_a_directory));

    errno = 0;
    std::ifstream in(source, std::ios::binary);
    if (!in) throw FileFailure(LastError());

    // Read into a copy; the list changes only when the whole file was good.
    std::int32_t max = max_file_count_;
    std::int32_t count = file_count_;
    std::vector<std::string> entries;
    std::string line;
    for (int number = 1; std::getline(in, line); ++number) {
      if (!line.empty() && line.back() == '\r') line.pop_back();
      if (number == 1 && line.starts_with("\xEF\xBB\xBF")) line.erase(0, 3);
      const std::size_t comma = line.find(',');
      const std::string_view key = std::string_view(line).substr(0, comma);
      if (key.empty()) break;
      if (comma == std::string::npos) throw Malformed(number, "has no comma");
      const std::string_view value = std::string_view(line).substr(comma + 1);
      if (SameTextIgnoringCase(key, "MaxCount")) {
        if (!ParseNumber(value, &max) || max < 0) throw Malformed(number, "holds no valid MaxCount");
        if (entries.size() > static_cast<std::size_t>(max)) entries.resize(static_cast<std::size_t>(max));
        count = std::min(count, max);
      } else if (SameTextIgnoringCase(key, "Count")) {
        if (!ParseNumber(value, &count) || count < 0 || count > max) {
          throw Malformed(number, "holds no Count from 0 to MaxCount");
        }
      } else {
        if (entries.size() >= static_cast<std::size_t>(max)) throw Malformed(number, "is an entry beyond MaxCount");
        entries.emplace_back(value);
      }
    }
    if (in.bad()) throw FileFailure(std::make_error_code(std::errc::io_error));

    max_file_count_ = max;
    file_count_ = std::min(count, static_cast<std::int32_t>(entries.size()));
    entries_ = std::move(entries);
  });
}

}  // namespace serenitap
