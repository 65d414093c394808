#include "services/shell_targets.h"

#include <cctype>
#include <cerrno>

#include "services/shell.h"

namespace serenitap::shell_targets {

namespace {

bool IsAsciiAlpha(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }
bool IsAsciiDigit(char c) { return c >= '0' && c <= '9'; }

bool EqualsNoCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i]))) {
      return false;
    }
  }
  return true;
}

// Host name labels separated by dots; returns the first label, empty when the
// text is not such a host name with at least two labels.
std::string_view FirstLabelOfHost(std::string_view host) {
  std::size_t labels = 0;
  std::string_view first;
  std::size_t start = 0;
  while (true) {
    const std::size_t dot = host.find('.', start);
    const std::string_view label = host.substr(start, dot == std::string_view::npos ? host.npos : dot - start);
    if (label.empty()) return {};
    for (char c : label) {
      if (!IsAsciiAlpha(c) && !IsAsciiDigit(c) && c != '-') return {};
    }
    if (labels++ == 0) first = label;
    if (dot == std::string_view::npos) break;
    start = dot + 1;
  }
  return labels >= 2 ? first : std::string_view{};
}

}  // namespace

bool HasScheme(std::string_view text) {
  const std::size_t colon = text.find(':');
  if (colon == std::string_view::npos || colon < 2 || !IsAsciiAlpha(text[0])) return false;
  for (std::size_t i = 1; i < colon; ++i) {
    const char c = text[i];
    if (!IsAsciiAlpha(c) && !IsAsciiDigit(c) && c != '+' && c != '-' && c != '.') return false;
  }
  return true;
}

std::string_view GuessedScheme(std::string_view text) {
  std::string_view host = text.substr(0, text.find_first_of("/?#"));
  if (const std::size_t colon = host.find(':'); colon != std::string_view::npos) {
    const std::string_view port = host.substr(colon + 1);
    if (port.empty()) return {};
    for (char c : port) {
      if (!IsAsciiDigit(c)) return {};
    }
    host = host.substr(0, colon);
  }
  const std::string_view first = FirstLabelOfHost(host);
  if (EqualsNoCase(first, "www")) return "http://";
  if (EqualsNoCase(first, "ftp")) return "ftp://";
  return {};
}

std::string OpenTarget(std::string_view text, const std::function<bool(const std::string&)>& existsLocally) {
  std::string target(text);
  const std::string_view scheme = GuessedScheme(text);
  if (scheme.empty() || (existsLocally && existsLocally(target))) return target;
  return std::string(scheme) + target;
}

std::vector<std::string> SplitParameters(std::string_view parameters) {
  std::vector<std::string> arguments;
  std::string current;
  bool in_argument = false;
  bool quoted = false;
  std::size_t i = 0;
  while (i < parameters.size()) {
    const char c = parameters[i];
    if (c == '\\') {
      std::size_t count = 0;
      while (i < parameters.size() && parameters[i] == '\\') {
        ++count;
        ++i;
      }
      in_argument = true;
      if (i < parameters.size() && parameters[i] == '"') {
        current.append(count / 2, '\\');
        if (count % 2 == 1) {
          current += '"';
          ++i;
        }
      } else {
        current.append(count, '\\');
      }
      continue;
    }
    if (c == '"') {
      quoted = !quoted;
      in_argument = true;
    } else if ((c == ' ' || c == '\t') && !quoted) {
      if (in_argument) arguments.push_back(current);
      current.clear();
      in_argument = false;
    } else {
      current += c;
      in_argument = true;
    }
    ++i;
  }
  if (in_argument) arguments.push_back(current);
  return arguments;
}

std::string ExpandEnvironment(std::string_view text,
                              const std::function<std::optional<std::string>(const std::string&)>& lookup) {
  std::string out;
  std::size_t i = 0;
  while (i < text.size()) {
    const std::size_t open = text.find('%', i);
    if (open == std::string_view::npos) break;
    const std::size_t close = text.find('%', open + 1);
    if (close == std::string_view::npos) break;
    out.append(text.substr(i, open - i));
    const std::string name(text.substr(open + 1, close - open - 1));
    std::optional<std::string> value;
    if (!name.empty() && lookup) value = lookup(name);
    if (value) {
      out += *value;
      i = close + 1;
    } else {
      // Left as written; the closing "%" may open the next name.
      out += '%';
      out += name;
      i = close;
    }
  }
  out.append(text.substr(i));
  return out;
}

std::int32_t ShellCodeForErrno(int errorNumber) {
  switch (errorNumber) {
    case ENOENT:
    case ENOTDIR: return shell_codes::kFileNotFound;
    case ENAMETOOLONG:
    case ELOOP: return shell_codes::kPathNotFound;
    case EACCES:
    case EPERM: return shell_codes::kAccessDenied;
    case ENOEXEC: return shell_codes::kBadFormat;
    default: return shell_codes::kOutOfResources;
  }
}

}  // namespace serenitap::shell_targets
