// The launcher's rules for what it opens.
#include "services/shell_targets.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace serenitap::shell_targets {
namespace {

TEST(ShellTargets, BareHostNamesBecomeAddressesUnlessAFileOfThatNameExists) {
  const auto none = [](const std::string&) { return false; };
  const std::pair<const char*, const char*> table[] = {
      {"www.serenitap.com?src=stp#desktop", "http://www.serenitap.com?src=stp#desktop"},
      {"WWW.Serenitap.COM/a/b.html", "http://WWW.Serenitap.COM/a/b.html"},
      {"www.serenitap.com:8080/x", "http://www.serenitap.com:8080/x"},
      {"ftp.example.org/pub", "ftp://ftp.example.org/pub"},
      {"https://www.quorvex.com/x?a=1", "https://www.quorvex.com/x?a=1"},
      {"mailto:support@quorvex.com", "mailto:support@quorvex.com"},
      {"serenitap.com", "serenitap.com"}, {"www.", "www."}, {"www..com", "www..com"},
      {"www.serenitap.com:http", "www.serenitap.com:http"}, {"www.seren itap.com", "www.seren itap.com"},
      {"/home/ann/www.x.com", "/home/ann/www.x.com"}, {"", ""}};
  for (const auto& [text, expected] : table) EXPECT_EQ(OpenTarget(text, none), expected) << text;
  const auto exists = [](const std::string& path) { return path == "www.serenitap.com"; };
  EXPECT_EQ(OpenTarget("www.serenitap.com", exists), "www.serenitap.com");
  EXPECT_EQ(OpenTarget("www.quorvex.com", exists), "http://www.quorvex.com");
}

TEST(ShellTargets, SchemesParametersEnvironmentAndErrorCodes) {
  for (const char* address : {"http://x", "mailto:a@b", "svn+ssh://h/r"}) EXPECT_TRUE(HasScheme(address)) << address;
  for (const char* path : {"C:\\dir", "c:/dir", "/usr/share", "1http://x", "", "ab cd:e"})
    EXPECT_FALSE(HasScheme(path)) << path;

  const std::pair<const char*, std::vector<std::string>> lines[] = {
      {"   ", {}},
      {"  -x   y\tz ", {"-x", "y", "z"}},
      {"\"a b\" c", {"a b", "c"}},
      {"pre\"fix mid\"post", {"prefix midpost"}},
      {"\"\"", {""}},
      {"a\\\\b", {"a\\\\b"}},
      {"a\\\"b", {"a\"b"}},
      {"\"a\\\\\" b", {"a\\", "b"}},
      {"\"unclosed arg", {"unclosed arg"}}};
  for (const auto& [line, arguments] : lines) EXPECT_EQ(SplitParameters(line), arguments) << line;

  const std::map<std::string, std::string> env = {{"HOME", "/home/ann"}, {"APP", "serenitap"}};
  const auto lookup = [&](const std::string& name) -> std::optional<std::string> {
    const auto it = env.find(name);
    return it == env.end() ? std::nullopt : std::optional<std::string>(it->second);
  };
  const std::pair<const char*, const char*> texts[] = {{"%HOME%/%APP%", "/home/ann/serenitap"},
                                                       {"%NOPE%%HOME%", "%NOPE%/home/ann"},
                                                       {"100% sure", "100% sure"},
                                                       {"%%", "%%"}};
  for (const auto& [text, expected] : texts) EXPECT_EQ(ExpandEnvironment(text, lookup), expected) << text;

  const std::pair<int, std::int32_t> codes[] = {{ENOENT, 2}, {ENOTDIR, 2}, {ENAMETOOLONG, 3}, {ELOOP, 3},
                                                {EACCES, 5}, {EPERM, 5},   {ENOEXEC, 11},     {ENOMEM, 0}};
  for (const auto& [error, code] : codes) EXPECT_EQ(ShellCodeForErrno(error), code) << error;
}

}  // namespace
}  // namespace serenitap::shell_targets
