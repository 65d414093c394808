// The launcher's rules for what it opens.
#include "services/shell_targets.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <optional>
#include <string>
#include <vector>

namespace serenitap::shell_targets {
namespace {

TEST(ShellTargets, BareHostNamesBecomeAddressesUnlessAFileOfThatNameExists) {
  const std::pair<const char*, const char*> table[] = {
      {"www.serenitap.com?src=stp#desktop", "http://www.serenitap.com?src=stp#desktop"},
      {"WWW.Serenitap.COM:8080/a", "http://WWW.Serenitap.COM:8080/a"}, {"ftp.example.org/pub", "ftp://ftp.example.org/pub"},
      {"mailto:support@quorvex.com", "mailto:support@quorvex.com"},    {"serenitap.com", "serenitap.com"},
      {"www..com", "www..com"}, {"www.serenitap.com:http", "www.serenitap.com:http"}, {"www.seren itap.com", "www.seren itap.com"},
      {"/home/ann/www.x.com", "/home/ann/www.x.com"}};
  for (const auto& [text, expected] : table) EXPECT_EQ(OpenTarget(text, {}), expected) << text;
  const auto exists = [](const std::string& path) { return path == "www.serenitap.com"; };
  EXPECT_EQ(OpenTarget("www.serenitap.com", exists), "www.serenitap.com");
  EXPECT_EQ(OpenTarget("www.quorvex.com", exists), "http://www.quorvex.com");
}

TEST(ShellTargets, SchemesParametersEnvironmentAndErrorCodes) {
  for (const char* address : {"http://x", "svn+ssh://h/r"}) EXPECT_TRUE(HasScheme(address)) << address;
  for (const char* path : {"C:\\dir", "/usr/share", "1http://x", "ab cd:e"}) EXPECT_FALSE(HasScheme(path)) << path;

  const std::pair<const char*, std::vector<std::string>> lines[] = {
      {"  -x   y\tz ", {"-x", "y", "z"}}, {"pre\"fix mid\"post", {"prefix midpost"}}, {"\"\"", {""}},
      {"a\\\\b", {"a\\\\b"}}, {"a\\\"b", {"a\"b"}}, {"\"a\\\\\" b", {"a\\", "b"}}, {"\"unclosed arg", {"unclosed arg"}}};
  for (const auto& [line, arguments] : lines) EXPECT_EQ(SplitParameters(line), arguments) << line;

  const auto lookup = [](const std::string& name) -> std::optional<std::string> {
    return name == "HOME" ? std::optional<std::string>("/home/ann") : std::nullopt;
  };
  EXPECT_EQ(ExpandEnvironment("%HOME%/x", lookup), "/home/ann/x");
  EXPECT_EQ(ExpandEnvironment("%NOPE%%HOME% 100% %%", lookup), "%NOPE%/home/ann 100% %%");

  const std::pair<int, std::int32_t> codes[] = {{ENOENT, 2}, {ENOTDIR, 2}, {ENAMETOOLONG, 3}, {ELOOP, 3},
                                                {EACCES, 5}, {EPERM, 5},   {ENOEXEC, 11},     {ENOMEM, 0}};
  for (const auto& [error, code] : codes) EXPECT_EQ(ShellCodeForErrno(error), code) << error;
}

}  // namespace
}  // namespace serenitap::shell_targets
