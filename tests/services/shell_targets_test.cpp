// The launcher's rules for what it opens.
#include <gtest/gtest.h>

#include <cerrno>
#include <map>
#include <optional>
#include <ostream>
#include <set>
#include <string>
#include <vector>

#include "services/shell_targets.h"

namespace serenitap::shell_targets {
namespace {

struct TargetCase {
  std::string text;
  std::string expected;
};

void PrintTo(const TargetCase& c, std::ostream* os) { *os << '"' << c.text << '"'; }

class ShellOpenTargetTable : public ::testing::TestWithParam<TargetCase> {};

TEST_P(ShellOpenTargetTable, BareHostNamesBecomeAddresses) {
  const auto nothing_exists = [](const std::string&) { return false; };
  EXPECT_EQ(OpenTarget(GetParam().text, nothing_exists), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(ShellTable, ShellOpenTargetTable,
    ::testing::Values(
        TargetCase{"www.serenitap.com", "http://www.serenitap.com"},
        TargetCase{"www.serenitap.com?src=stp#desktop", "http://www.serenitap.com?src=stp#desktop"},
        TargetCase{"WWW.Serenitap.COM/a/b.html", "http://WWW.Serenitap.COM/a/b.html"},
        TargetCase{"www.serenitap.com:8080/x", "http://www.serenitap.com:8080/x"},
        TargetCase{"ftp.example.org/pub", "ftp://ftp.example.org/pub"},
        // Already addresses, or not host names: unchanged.
        TargetCase{"http://www.serenitap.com", "http://www.serenitap.com"},
        TargetCase{"https://www.quorvex.com/errorstp.php?x=1", "https://www.quorvex.com/errorstp.php?x=1"},
        TargetCase{"mailto:support@quorvex.com", "mailto:support@quorvex.com"},
        TargetCase{"serenitap.com", "serenitap.com"}, TargetCase{"readme.txt", "readme.txt"},
        TargetCase{"www", "www"}, TargetCase{"www.", "www."}, TargetCase{"www..com", "www..com"},
        TargetCase{"www.serenitap.com:http", "www.serenitap.com:http"},
        TargetCase{"www.seren itap.com", "www.seren itap.com"}, TargetCase{"/home/ann/www.x.com", "/home/ann/www.x.com"},
        TargetCase{"", ""}));

TEST(ShellOpenTarget, AnExistingFileOfThatNameWins) {
  const auto exists = [](const std::string& path) { return path == "www.serenitap.com"; };
  EXPECT_EQ(OpenTarget("www.serenitap.com", exists), "www.serenitap.com");
  EXPECT_EQ(OpenTarget("www.quorvex.com", exists), "http://www.quorvex.com");
}

TEST(ShellHasScheme, TellsAddressesFromPaths) {
  const std::map<std::string, bool> table = {
      {"http://x", true},  {"mailto:a@b", true},      {"svn+ssh://h/r", true}, {"C:\\dir", false},
      {"c:/dir", false},   {"/usr/share", false},     {"readme.txt", false},   {"1http://x", false},
      {"", false},         {"ab cd:e", false},
  };
  for (const auto& [text, expected] : table) EXPECT_EQ(HasScheme(text), expected) << text;
}

struct SplitCase {
  std::string line;
  std::vector<std::string> arguments;
};

void PrintTo(const SplitCase& c, std::ostream* os) { *os << '[' << c.line << ']'; }

class ShellSplitParameters : public ::testing::TestWithParam<SplitCase> {};

TEST_P(ShellSplitParameters, ReadsAsAWindowsProgramWould) {
  EXPECT_EQ(SplitParameters(GetParam().line), GetParam().arguments);
}

INSTANTIATE_TEST_SUITE_P(ShellTable, ShellSplitParameters,
    ::testing::Values(SplitCase{"", {}}, SplitCase{"   ", {}}, SplitCase{"a b\tc", {"a", "b", "c"}},
                      SplitCase{"  -x   y  ", {"-x", "y"}}, SplitCase{"\"a b\" c", {"a b", "c"}},
                      SplitCase{"pre\"fix mid\"post", {"prefix midpost"}}, SplitCase{"\"\"", {""}},
                      SplitCase{"a\\\\b", {"a\\\\b"}}, SplitCase{"a\\\"b", {"a\"b"}},
                      SplitCase{"\"a\\\\\" b", {"a\\", "b"}}, SplitCase{"\"unclosed arg", {"unclosed arg"}}));

TEST(ShellExpandEnvironment, ReplacesKnownNamesOnly) {
  const std::map<std::string, std::string> env = {{"HOME", "/home/ann"}, {"APP", "serenitap"}};
  const auto lookup = [&](const std::string& name) -> std::optional<std::string> {
    const auto it = env.find(name);
    if (it == env.end()) return std::nullopt;
    return it->second;
  };
  const std::map<std::string, std::string> table = {
      {"%HOME%/notes.txt", "/home/ann/notes.txt"},
      {"%HOME%/%APP%", "/home/ann/serenitap"},
      {"%NOPE%/x", "%NOPE%/x"},
      {"%NOPE%%HOME%", "%NOPE%/home/ann"},
      {"100% sure", "100% sure"},
      {"%%", "%%"},
      {"plain", "plain"},
      {"", ""},
  };
  for (const auto& [text, expected] : table) EXPECT_EQ(ExpandEnvironment(text, lookup), expected) << text;
}

TEST(ShellCodeForErrno, MapsToTheShellsCodes) {
  const std::map<int, std::int32_t> table = {
      {ENOENT, 2}, {ENOTDIR, 2}, {ENAMETOOLONG, 3}, {ELOOP, 3}, {EACCES, 5},
      {EPERM, 5},  {ENOEXEC, 11}, {ENOMEM, 0},       {EAGAIN, 0}, {EMFILE, 0},
  };
  for (const auto& [error, code] : table) EXPECT_EQ(ShellCodeForErrno(error), code) << error;
}

}  // namespace
}  // namespace serenitap::shell_targets
