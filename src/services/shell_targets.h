#pragma once
// The rules the desktop launcher applies to what it is asked to open, kept free
// of system calls so they can be checked on their own.
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace serenitap::shell_targets {

// True when the text starts with a URL scheme: a letter, then letters, digits,
// "+", "-" or ".", at least two characters in all (so a drive letter such as
// "C:" is not one), then ":".
bool HasScheme(std::string_view text);

// The scheme the Windows shell guesses for a bare host name, taken from its
// list of URL prefixes: a text without a scheme whose host part (up to the
// first "/", "?" or "#", with an optional ":port" of digits) is two or more
// dot-separated labels of letters, digits and "-", the first label being
// "www" (gives "http://") or "ftp" (gives "ftp://"), letters in any case.
// Empty for anything else: "serenitap.com" or "readme.txt" stay file names,
// as they do for the Windows shell.
std::string_view GuessedScheme(std::string_view text);

// What the desktop's opener is given for a default or "open" action: the text
// itself, except that a bare host name (see GuessedScheme) that is not also an
// existing local file gets its guessed scheme in front. The opener would
// otherwise take "www.serenitap.com" for a missing file.
std::string OpenTarget(std::string_view text, const std::function<bool(const std::string&)>& existsLocally);

// Splits a command line into arguments as Windows programs read theirs:
// blanks and tabs separate, double quotes group (and are removed), 2n
// backslashes before a quote give n backslashes and a grouping quote, 2n+1
// give n backslashes and a literal quote, other backslashes are literal.
std::vector<std::string> SplitParameters(std::string_view parameters);

// Replaces every %NAME% by the variable's value, as SEE_MASK_DOENVSUBST does;
// an unknown name and a lone "%" stay as written.
std::string ExpandEnvironment(std::string_view text,
                              const std::function<std::optional<std::string>(const std::string&)>& lookup);

// The shell's code for a failure to start a process (errno value): ENOENT and
// ENOTDIR 2, ENAMETOOLONG and ELOOP 3, EACCES and EPERM 5, ENOEXEC 11,
// anything else (ENOMEM, EAGAIN, EMFILE, ...) 0, the "out of memory or
// resources" code.
std::int32_t ShellCodeForErrno(int errorNumber);

}  // namespace serenitap::shell_targets
