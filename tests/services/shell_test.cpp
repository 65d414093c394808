// CShellExecute and OpenWebPage with the shell replaced by a scripted fake,
// and the launcher's rules for what it opens.
#include "services/shell.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <functional>

#include "services/failure.h"
#include "services/shell_targets.h"
#include "support/recorders.h"

namespace serenitap {
namespace {

using testing::MessageBoxRecorder;

// Records each call as "window verb|file|parameters|directory|show" (the
// extended call with "ex" and its mask in front).
struct FakeShell : ShellBackend {
  std::intptr_t Execute(WindowHandle w, std::string_view verb, std::string_view file, std::int32_t show) override {
    Record(std::to_string(w) + " " + std::string(verb) + "|" + std::string(file) + "|||" + std::to_string(show));
    return simple_value;
  }
  ShellExResult ExecuteEx(WindowHandle w, std::uint32_t mask, std::string_view verb, std::string_view file,
                          std::string_view parameters, std::string_view directory, std::int32_t show) override {
    Record("ex" + std::to_string(mask) + " " + std::to_string(w) + " " + std::string(verb) + "|" + std::string(file) +
           "|" + std::string(parameters) + "|" + std::string(directory) + "|" + std::to_string(show));
    return extended_value;
  }
  bool ExitCode(ProcessHandle, std::uint32_t& code) override {
    code = exit_code;
    return true;
  }
  void Release(ProcessHandle process) override { released.push_back(process); }
  void Record(std::string call) {
    calls.push_back(std::move(call));
    if (fail) throw RuntimeFailure(errors::kInvalidCall, "Invalid procedure call or argument");
  }

  std::intptr_t simple_value = 42;
  ShellExResult extended_value{42, 7001};
  bool fail = false;
  std::uint32_t exit_code = shell_codes::kStillActive;
  std::vector<std::string> calls;
  std::vector<ProcessHandle> released;
};

const std::tuple<const char*, std::function<void(CShellExecute&)>, const char*> kMembers[] = {
    {"Explore", [](CShellExecute& s) { s.Explore(5, "/home/ann/Music"); }, "5 explore|/home/ann/Music|||1"},
    {"LaunchDocument", [](CShellExecute& s) { s.LaunchDocument(5, "a.txt", "/home", ssShowMaximized); },
     "ex576 5 Open|a.txt||/home|3"},
    {"LaunchEmail", [](CShellExecute& s) { s.LaunchEmail(5, "ann@example.org"); }, "5 |mailto:ann@example.org|||1"},
    {"LaunchFolder", [](CShellExecute& s) { s.LaunchFolder(5, "/home", ssShowMinimized); }, "5 open|/home|||2"},
    {"LaunchProgram", [](CShellExecute& s) { s.LaunchProgram(5, "tool", "-x \"a b\"", "/opt"); },
     "ex576 5 Open|tool|-x \"a b\"|/opt|1"},
    {"LaunchURL", [](CShellExecute& s) { s.LaunchURL(5, "www.serenitap.com"); }, "5 |www.serenitap.com|||10"},
    {"PrintDocument", [](CShellExecute& s) { s.PrintDocument(5, "a.txt"); }, "5 print|a.txt|||0"}};

TEST(CShellExecute, EachMemberHandsItsVerbFileAndShowStyleToTheShellAndAFailureShowsItsName) {
  MessageBoxRecorder boxes;
  auto fake = std::make_shared<FakeShell>();
  CShellExecute shell(fake);
  for (const auto& [member, call, expected] : kMembers) {
    fake->fail = false;
    call(shell);
    EXPECT_EQ(fake->calls.back(), expected);
    fake->fail = true;
    call(shell);
    ASSERT_FALSE(boxes.requests.empty()) << member;
    EXPECT_EQ(boxes.requests.back().title, member);
  }
  EXPECT_EQ(boxes.requests.size(), std::size(kMembers));
  EXPECT_EQ(boxes.requests[0].text, "Error: 5. Invalid procedure call or argument");
  EXPECT_EQ(shell.LaunchDocument(0, "a.txt", ""), 0);
  EXPECT_FALSE(shell.StillExecuting());
}

TEST(CShellExecute, FollowsAndReleasesTheProcessOfTheLastExtendedLaunch) {
  auto fake = std::make_shared<FakeShell>();
  {
    CShellExecute shell(fake);
    shell.LaunchProgram(0, "first");
    EXPECT_TRUE(shell.StillExecuting());
    fake->exit_code = 0;
    EXPECT_FALSE(shell.StillExecuting());
    fake->extended_value = {42, 7002};
    shell.LaunchDocument(0, "second.txt", "");
    shell.LaunchURL(0, "www.serenitap.com");  // a simple launch clears it too
    fake->exit_code = shell_codes::kStillActive;
    EXPECT_FALSE(shell.StillExecuting());
    fake->extended_value = {42, 7003};
    shell.LaunchProgram(0, "third");
  }
  EXPECT_EQ(fake->released, (std::vector<ProcessHandle>{7001, 7002, 7003}));
}

TEST(OpenWebPage, MarksTheAddressUnlessAsIsAndTellsTheUserWhenItFailed) {
  auto fake = std::make_shared<FakeShell>();
  const auto previous = SetShellBackend(fake);
  MessageBoxRecorder boxes;
  fake->simple_value = 33;  // the least value that means success
  OpenWebPage(77, "www.serenitap.com", false);
  OpenWebPage(77, "https://www.quorvex.com/errorstp.php?a=1&b=2", true);
  EXPECT_EQ(fake->calls, (std::vector<std::string>{"77 |www.serenitap.com?src=stp#desktop|||10",
                                                   "77 |https://www.quorvex.com/errorstp.php?a=1&b=2|||10"}));
  EXPECT_TRUE(boxes.requests.empty());
  fake->simple_value = 32;
  OpenWebPage(0, "x", false);
  fake->fail = true;
  OpenWebPage(0, "x", false);
  SetShellBackend(previous);
  ASSERT_EQ(boxes.Texts(),
            (std::vector<std::string>{"Error on launching URL: 32", "Error: 5. Invalid procedure call or argument",
                                      "Error on launching URL: 0"}));
  EXPECT_EQ(boxes.requests[0].title, "Serenitap");
}

namespace targets = shell_targets;

TEST(ShellTargets, BareHostNamesBecomeAddressesUnlessAFileOfThatNameExists) {
  for (const char* kept : {"mailto:a@quorvex.com", "serenitap.com", "www..com", "www.seren.com:http",
                           "www.seren itap.com", "/home/ann/www.x.com", "www", "ftp"})
    EXPECT_EQ(targets::OpenTarget(kept, {}), kept);
  for (const char* host : {"www.serenitap.com?a#b", "WWW.Seren.COM:8080/a", "www.example"})
    EXPECT_EQ(targets::OpenTarget(host, {}), std::string("http://") + host);
  EXPECT_EQ(targets::OpenTarget("ftp.example.org/pub", {}), "ftp://ftp.example.org/pub");
  const auto exists = [](const std::string& path) { return path == "www.serenitap.com"; };
  EXPECT_EQ(targets::OpenTarget("www.serenitap.com", exists), "www.serenitap.com");
  EXPECT_EQ(targets::OpenTarget("www.quorvex.com", exists), "http://www.quorvex.com");
}

TEST(ShellTargets, SchemesParametersEnvironmentAndErrorCodes) {
  for (const char* address : {"http://x", "svn+ssh://h/r"}) EXPECT_TRUE(targets::HasScheme(address)) << address;
  for (const char* path : {"C:\\dir", "/usr", "1http://x", "ab cd:e"}) EXPECT_FALSE(targets::HasScheme(path)) << path;
  const std::pair<const char*, std::vector<std::string>> lines[] = {{"  -x   y\tz ", {"-x", "y", "z"}},
                                                                    {"pre\"fix mid\"post", {"prefix midpost"}},
                                                                    {"\"\"", {""}},
                                                                    {"a\\\\b", {"a\\\\b"}},
                                                                    {"a\\\"b", {"a\"b"}},
                                                                    {"\"a\\\\\" b", {"a\\", "b"}},
                                                                    {"\"unclosed arg", {"unclosed arg"}}};
  for (const auto& [line, arguments] : lines) EXPECT_EQ(targets::SplitParameters(line), arguments) << line;
  const auto lookup = [](const std::string& name) {
    return name == "HOME" ? std::optional<std::string>("/home/ann") : std::nullopt;
  };
  EXPECT_EQ(targets::ExpandEnvironment("%NOPE%%HOME%/x 100% %%", lookup), "%NOPE%/home/ann/x 100% %%");
  const std::pair<int, std::int32_t> codes[] = {{ENOENT, 2}, {ENOTDIR, 2}, {ENAMETOOLONG, 3}, {ELOOP, 3},
                                                {EACCES, 5}, {EPERM, 5},   {ENOEXEC, 11},     {ENOMEM, 0}};
  for (const auto& [error, code] : codes) EXPECT_EQ(targets::ShellCodeForErrno(error), code) << error;
}

}  // namespace
}  // namespace serenitap
