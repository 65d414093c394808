#include "settings/reg_file.h"

#include <algorithm>
#include <charconv>
#include <unordered_map>

#include "services/trim.h"

namespace serenitap::settings {
namespace {

char FoldCase(char c) noexcept { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }

bool IsHexDigit(char c) noexcept { return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F'); }

int HexValue(char c) noexcept {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return c - 'A' + 10;
}

// Text that may stand between quotes: UTF-8 without control characters
// other than the tab.
bool IsQuotableText(std::string_view text) noexcept {
  for (const char c : text) {
    const auto u = static_cast<unsigned char>(c);
    if (u < 0x20 && c != '\t') return false;
  }
  return IsValidUtf8(text);
}

void AppendQuoted(std::string& out, std::string_view text) {
  out += '"';
  for (const char c : text) {
    if (c == '\\' || c == '"') out += '\\';
    out += c;
  }
  out += '"';
}

bool IsQuotableString(const RegValueData& v) {
  if (v.type != 1 || v.data.empty() || v.data.back() != '\0' || v.data.size() > 4096) return false;
  const std::string_view text(v.data.data(), v.data.size() - 1);
  return text.find('\0') == std::string_view::npos && IsQuotableText(text);
}

void AppendHex(std::string& out, std::size_t lineStart, std::string_view bytes) {
  static constexpr char kDigits[] = "0123456789abcdef";
  std::size_t column = out.size() - lineStart;
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    if (i > 0) {
      out += ',';
      ++column;
      if (column >= 76) {
        out += "\\\n  ";
        column = 2;
      }
    }
    const auto b = static_cast<unsigned char>(bytes[i]);
    out += kDigits[b >> 4];
    out += kDigits[b & 0x0F];
    column += 2;
  }
}

void AppendValue(std::string& out, const RegValueData& v) {
  const std::size_t lineStart = out.size();
  if (v.name.empty()) {
    out += '@';
  } else {
    AppendQuoted(out, v.name);
  }
  out += '=';
  if (IsQuotableString(v)) {
    AppendQuoted(out, std::string_view(v.data.data(), v.data.size() - 1));
  } else if (v.type == 4 && v.data.size() == 4) {
    std::uint32_t n = 0;
    for (int i = 3; i >= 0; --i) n = (n << 8) | static_cast<unsigned char>(v.data[static_cast<std::size_t>(i)]);
    char buffer[16];
    auto [end, ec] = std::to_chars(buffer, buffer + sizeof buffer, n, 16);
    (void)ec;
    out += "dword:";
    out.append(8 - static_cast<std::size_t>(end - buffer), '0');
    out.append(buffer, end);
  } else {
    if (v.type == 3) {
      out += "hex:";
    } else {
      char buffer[16];
      auto [end, ec] = std::to_chars(buffer, buffer + sizeof buffer, v.type, 16);
      (void)ec;
      out += "hex(";
      out.append(buffer, end);
      out += "):";
    }
    AppendHex(out, lineStart, v.data);
  }
  out += '\n';
}

void AppendKey(std::string& out, const RegKeyNode& node, const std::string& path, bool isRoot) {
  if (!isRoot || !node.values.empty()) {
    out += '\n';
    out += '[';
    out += path;
    out += "]\n";
    for (const auto& v : node.values) AppendValue(out, v);
  }
  for (const auto& sub : node.sub_keys) AppendKey(out, *sub, path + '\\' + sub->name, false);
}

void AppendUtf8(std::string& out, std::uint32_t cp) {
  if (cp < 0x80) {
    out += static_cast<char>(cp);
  } else if (cp < 0x800) {
    out += static_cast<char>(0xC0 | (cp >> 6));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else if (cp < 0x10000) {
    out += static_cast<char>(0xE0 | (cp >> 12));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (cp >> 18));
    out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  }
}

// UTF-16 text (without its byte-order mark) as UTF-8; false when it is not
// well-formed (an odd number of bytes, a lone surrogate).
bool Utf16ToUtf8(std::string_view bytes, bool littleEndian, std::string& out) {
  if (bytes.size() % 2 != 0) return false;
  out.clear();
  out.reserve(bytes.size() / 2);
  auto unit = [&](std::size_t i) -> std::uint32_t {
    const auto a = static_cast<unsigned char>(bytes[i]);
    const auto b = static_cast<unsigned char>(bytes[i + 1]);
    return littleEndian ? (a | (b << 8)) : ((a << 8) | b);
  };
  for (std::size_t i = 0; i < bytes.size(); i += 2) {
    std::uint32_t cp = unit(i);
    if (cp >= 0xDC00 && cp <= 0xDFFF) return false;
    if (cp >= 0xD800 && cp <= 0xDBFF) {
      if (i + 2 >= bytes.size()) return false;
      const std::uint32_t low = unit(i + 2);
      if (low < 0xDC00 || low > 0xDFFF) return false;
      cp = 0x10000 + ((cp - 0xD800) << 10) + (low - 0xDC00);
      i += 2;
    }
    AppendUtf8(out, cp);
  }
  return true;
}

// Text in the Windows code page 1252 as UTF-8. The five bytes that code page
// leaves unassigned stand for the control characters of the same number.
std::string Cp1252ToUtf8(std::string_view bytes) {
  static constexpr std::uint16_t kHigh[32] = {0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                              0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
                                              0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                              0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};
  std::string out;
  out.reserve(bytes.size() + bytes.size() / 8);
  for (const char c : bytes) {
    const auto b = static_cast<unsigned char>(c);
    AppendUtf8(out, b >= 0x80 && b < 0xA0 ? kHigh[b - 0x80] : b);
  }
  return out;
}

// What a line of the file may have around its content.
constexpr std::string_view kLineBlanks = " \t\r";

class Parser {
 public:
  Parser(std::string_view text, std::string_view rootName) : text_(text), root_name_(rootName) {}

  std::optional<RegKeyNode> Run(std::string* error) {
    if (text_.size() > kMaxRegFileSize) return Fail(error, "the file is larger than the settings store reads");
    if (text_.substr(0, 3) == "\xEF\xBB\xBF") {
      text_.remove_prefix(3);
    } else if (text_.substr(0, 2) == "\xFF\xFE" || text_.substr(0, 2) == "\xFE\xFF") {
      // The registry editor exports UTF-16 with a byte-order mark.
      if (!Utf16ToUtf8(text_.substr(2), text_[0] == '\xFF', decoded_)) {
        line_number_ = 1;
        return Fail(error, "the file is marked as UTF-16 but is not well-formed UTF-16");
      }
      text_ = decoded_;
    } else if (text_.substr(0, kRegFileHeader4.size()) == kRegFileHeader4 && !IsValidUtf8(text_)) {
      decoded_ = Cp1252ToUtf8(text_);
      text_ = decoded_;
    }
    std::string_view line;
    if (!NextLine(line) ||
        (TrimBlanks(line, kLineBlanks) != kRegFileHeader && TrimBlanks(line, kLineBlanks) != kRegFileHeader4)) {
      if (!problem_.empty()) return Fail(error, problem_);
      line_number_ = 1;
      return Fail(error, "the first line is not \"" + std::string(kRegFileHeader) + "\"");
    }
    RegKeyNode root;
    RegKeyNode* current = nullptr;
    while (NextLine(line)) {
      line = TrimBlanks(line, kLineBlanks);
      if (line.empty() || line.front() == ';') continue;
      if (line.front() == '[') {
        current = Section(root, line);
        if (current == nullptr) return Fail(error, problem_);
        continue;
      }
      if (current == nullptr) return Fail(error, "a value stands before the first key");
      std::string logical(line);
      while (!logical.empty() && logical.back() == '\\') {
        logical.pop_back();
        std::string_view more;
        if (!NextLine(more)) return Fail(error, problem_.empty() ? "the file ends inside a value" : problem_);
        logical += TrimBlanks(more, kLineBlanks);
      }
      if (!Value(*current, logical)) return Fail(error, problem_);
    }
    if (!problem_.empty()) return Fail(error, problem_);
    return root;
  }

 private:
  std::optional<RegKeyNode> Fail(std::string* error, const std::string& why) {
    if (error != nullptr) *error = "line " + std::to_string(line_number_) + ": " + why;
    return std::nullopt;
  }

  bool NextLine(std::string_view& line) {
    if (pos_ >= text_.size()) return false;
    const std::size_t end = text_.find('\n', pos_);
    const std::size_t stop = end == std::string_view::npos ? text_.size() : end;
    ++line_number_;
    if (stop - pos_ > kMaxRegLineLength) {
      problem_ = "the line is longer than the settings store reads";
      pos_ = text_.size();
      return false;
    }
    line = text_.substr(pos_, stop - pos_);
    pos_ = end == std::string_view::npos ? text_.size() : end + 1;
    return true;
  }

  RegKeyNode* Section(RegKeyNode& root, std::string_view line) {
    if (line.size() < 2 || line.back() != ']') {
      problem_ = "a key line does not end with ]";
      return nullptr;
    }
    std::string_view path = line.substr(1, line.size() - 2);
    if (!path.empty() && path.front() == '-') {
      problem_ = "a line deletes a key ([-...]), and the settings store does not apply deletions";
      return nullptr;
    }
    if (!IsQuotableText(path) || path.find('\t') != std::string_view::npos) {
      problem_ = "a key name holds characters a key cannot have";
      return nullptr;
    }
    const std::size_t first = path.find('\\');
    if (!NamesEqual(path.substr(0, first), root_name_)) {
      problem_ = "a key lies outside " + std::string(root_name_);
      return nullptr;
    }
    RegKeyNode* node = &root;
    if (first == std::string_view::npos) return node;
    path.remove_prefix(first + 1);
    while (true) {
      const std::size_t sep = path.find('\\');
      const std::string_view part = path.substr(0, sep);
      if (part.empty()) {
        problem_ = "a key path has an empty part";
        return nullptr;
      }
      node = &node->SubKey(part);
      if (sep == std::string_view::npos) return node;
      path.remove_prefix(sep + 1);
    }
  }

  // A quoted string at the start of s; s is left after the closing quote.
  bool Quoted(std::string_view& s, std::string& out) {
    if (s.empty() || s.front() != '"') {
      problem_ = "a quoted text was expected";
      return false;
    }
    s.remove_prefix(1);
    out.clear();
    while (!s.empty()) {
      const char c = s.front();
      s.remove_prefix(1);
      if (c == '"') {
        if (!IsQuotableText(out)) {
          problem_ = "a quoted text holds control characters or is not UTF-8";
          return false;
        }
        return true;
      }
      if (c == '\\') {
        if (s.empty() || (s.front() != '\\' && s.front() != '"')) {
          problem_ = "a backslash in a quoted text is not followed by \\ or \"";
          return false;
        }
        out += s.front();
        s.remove_prefix(1);
        continue;
      }
      out += c;
    }
    problem_ = "a quoted text has no closing quote";
    return false;
  }

  bool Value(RegKeyNode& key, std::string_view s) {
    std::string name;
    if (!s.empty() && s.front() == '@') {
      s.remove_prefix(1);
    } else if (!Quoted(s, name)) {
      return false;
    } else if (name.empty()) {
      problem_ = "a value name is empty (the default value is written @)";
      return false;
    }
    if (s.empty() || s.front() != '=') {
      problem_ = "= is missing after a value name";
      return false;
    }
    s.remove_prefix(1);
    if (s == "-") {
      problem_ = "a line deletes a value (=-), and the settings store does not apply deletions";
      return false;
    }
    std::string data;
    std::uint32_t type = 0;
    if (!s.empty() && s.front() == '"') {
      if (!Quoted(s, data)) return false;
      if (!s.empty()) {
        problem_ = "text follows a quoted value";
        return false;
      }
      data += '\0';
      type = 1;
    } else if (s.substr(0, 6) == "dword:") {
      s.remove_prefix(6);
      if (s.size() != 8 || !std::all_of(s.begin(), s.end(), IsHexDigit)) {
        problem_ = "dword: is not followed by eight hex digits";
        return false;
      }
      std::uint32_t n = 0;
      for (const char c : s) n = (n << 4) | static_cast<std::uint32_t>(HexValue(c));
      for (int i = 0; i < 4; ++i) data += static_cast<char>((n >> (8 * i)) & 0xFF);
      type = 4;
    } else if (s.substr(0, 4) == "hex:") {
      s.remove_prefix(4);
      type = 3;
      if (!HexBytes(s, data)) return false;
    } else if (s.substr(0, 4) == "hex(") {
      s.remove_prefix(4);
      const std::size_t close = s.find("):");
      if (close == std::string_view::npos || close == 0 || close > 8 ||
          !std::all_of(s.begin(), s.begin() + static_cast<std::ptrdiff_t>(close), IsHexDigit)) {
        problem_ = "hex( is not followed by a type number and ):";
        return false;
      }
      for (std::size_t i = 0; i < close; ++i) type = (type << 4) | static_cast<std::uint32_t>(HexValue(s[i]));
      s.remove_prefix(close + 2);
      if (!HexBytes(s, data)) return false;
    } else {
      problem_ = "a value's data is neither a quoted text, dword: nor hex";
      return false;
    }
    // A later line for the same name holds, as when an export is imported.
    std::string folded(name);
    for (char& c : folded) c = FoldCase(c);
    auto& names = index_[&key];
    const auto [it, added] = names.emplace(std::move(folded), key.values.size());
    if (added) {
      key.values.push_back(RegValueData{std::move(name), type, std::move(data)});
    } else {
      key.values[it->second].type = type;
      key.values[it->second].data = std::move(data);
    }
    return true;
  }

  bool HexBytes(std::string_view s, std::string& out) {
    if (s.empty()) return true;
    while (true) {
      if (s.size() < 2 || !IsHexDigit(s[0]) || !IsHexDigit(s[1])) {
        problem_ = "hex data is not pairs of hex digits separated by commas";
        return false;
      }
      out += static_cast<char>(HexValue(s[0]) * 16 + HexValue(s[1]));
      s.remove_prefix(2);
      if (s.empty()) return true;
      if (s.front() != ',' || s.size() == 1) {
        problem_ = "hex data is not pairs of hex digits separated by commas";
        return false;
      }
      s.remove_prefix(1);
    }
  }

  std::string_view text_;
  std::string decoded_;  // the text of a UTF-16 file
  std::string_view root_name_;
  std::size_t pos_ = 0;
  std::size_t line_number_ = 0;
  std::string problem_;
  std::unordered_map<const RegKeyNode*, std::unordered_map<std::string, std::size_t>> index_;
};

}  // namespace

bool NamesEqual(std::string_view a, std::string_view b) noexcept { return CompareNames(a, b) == 0; }

int CompareNames(std::string_view a, std::string_view b) noexcept {
  const std::size_t n = std::min(a.size(), b.size());
  for (std::size_t i = 0; i < n; ++i) {
    const auto x = static_cast<unsigned char>(FoldCase(a[i]));
    const auto y = static_cast<unsigned char>(FoldCase(b[i]));
    if (x != y) return x < y ? -1 : 1;
  }
  return a.size() == b.size() ? 0 : (a.size() < b.size() ? -1 : 1);
}

bool IsValidUtf8(std::string_view text) noexcept {
  std::size_t i = 0;
  while (i < text.size()) {
    const auto c = static_cast<unsigned char>(text[i]);
    std::size_t extra = 0;
    std::uint32_t cp = 0;
    if (c < 0x80) {
      ++i;
      continue;
    } else if ((c & 0xE0) == 0xC0) {
      extra = 1;
      cp = c & 0x1F;
    } else if ((c & 0xF0) == 0xE0) {
      extra = 2;
      cp = c & 0x0F;
    } else if ((c & 0xF8) == 0xF0) {
      extra = 3;
      cp = c & 0x07;
    } else {
      return false;
    }
    if (i + extra >= text.size()) return false;
    for (std::size_t k = 1; k <= extra; ++k) {
      const auto d = static_cast<unsigned char>(text[i + k]);
      if ((d & 0xC0) != 0x80) return false;
      cp = (cp << 6) | (d & 0x3F);
    }
    if ((extra == 1 && cp < 0x80) || (extra == 2 && cp < 0x800) || (extra == 3 && cp < 0x10000) || cp > 0x10FFFF ||
        (cp >= 0xD800 && cp <= 0xDFFF)) {
      return false;
    }
    i += extra + 1;
  }
  return true;
}

RegKeyNode* RegKeyNode::FindSubKey(std::string_view subName) const {
  auto it = std::lower_bound(sub_keys.begin(), sub_keys.end(), subName,
                             [](const auto& node, std::string_view n) { return CompareNames(node->name, n) < 0; });
  return (it != sub_keys.end() && NamesEqual((*it)->name, subName)) ? it->get() : nullptr;
}

RegKeyNode& RegKeyNode::SubKey(std::string_view subName) {
  auto it = std::lower_bound(sub_keys.begin(), sub_keys.end(), subName,
                             [](const auto& node, std::string_view n) { return CompareNames(node->name, n) < 0; });
  if (it != sub_keys.end() && NamesEqual((*it)->name, subName)) return **it;
  return **sub_keys.insert(it, std::make_unique<RegKeyNode>(std::string(subName)));
}

bool RegKeyNode::RemoveSubKey(std::string_view subName) {
  auto it =
      std::find_if(sub_keys.begin(), sub_keys.end(), [&](const auto& node) { return NamesEqual(node->name, subName); });
  if (it == sub_keys.end()) return false;
  sub_keys.erase(it);
  return true;
}

RegValueData* RegKeyNode::FindValue(std::string_view valueName) {
  for (auto& v : values) {
    if (NamesEqual(v.name, valueName)) return &v;
  }
  return nullptr;
}

const RegValueData* RegKeyNode::FindValue(std::string_view valueName) const {
  for (const auto& v : values) {
    if (NamesEqual(v.name, valueName)) return &v;
  }
  return nullptr;
}

void RegKeyNode::SetValue(std::string_view valueName, std::uint32_t type, std::string data) {
  if (RegValueData* existing = FindValue(valueName)) {
    existing->type = type;
    existing->data = std::move(data);
    return;
  }
  values.push_back(RegValueData{std::string(valueName), type, std::move(data)});
}

bool RegKeyNode::RemoveValue(std::string_view valueName) {
  auto it = std::find_if(values.begin(), values.end(), [&](const auto& v) { return NamesEqual(v.name, valueName); });
  if (it == values.end()) return false;
  values.erase(it);
  return true;
}

std::optional<RegKeyNode> ParseRegFile(std::string_view text, std::string_view rootName, std::string* error) {
  return Parser(text, rootName).Run(error);
}

std::string WriteRegFile(const RegKeyNode& root, std::string_view rootName) {
  std::string out(kRegFileHeader);
  out += '\n';
  AppendKey(out, root, std::string(rootName), true);
  return out;
}

}  // namespace serenitap::settings
