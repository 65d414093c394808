// CShellExecute and OpenWebPage with the shell replaced by a scripted fake.
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "services/failure.h"
#include "services/product.h"
#include "services/shell.h"
#include "support/recorders.h"

namespace serenitap {
namespace {

using testing::MessageBoxRecorder;

// Records each call as "window verb|file|parameters|directory|show" ("ex" and
// the mask in front for the extended call).
class FakeShell : public ShellBackend {
 public:
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
  bool ExitCode(ProcessHandle process, std::uint32_t& code) override {
    asked.push_back(process);
    code = exit_code;
    return exit_code_answers;
  }
  void Release(ProcessHandle process) override { released.push_back(process); }

  void Record(std::string call) {
    calls.push_back(std::move(call));
    if (fail) throw RuntimeFailure(errors::kInvalidCall, "Invalid procedure call or argument");
  }

  std::intptr_t simple_value = 42;
  ShellExResult extended_value{42, 7001};
  bool exit_code_answers = true, fail = false;
  std::uint32_t exit_code = shell_codes::kStillActive;
  std::vector<std::string> calls;
  std::vector<ProcessHandle> asked, released;
};

const std::pair<const char*, std::function<void(CShellExecute&)>> kMembers[] = {
    {"Explore", [](CShellExecute& s) { s.Explore(5, "/home/ann/Music"); }},
    {"LaunchDocument", [](CShellExecute& s) { s.LaunchDocument(5, "notes.txt", "/home/ann", ssShowMaximized); }},
    {"LaunchEmail", [](CShellExecute& s) { s.LaunchEmail(5, "ann@example.org"); }},
    {"LaunchFolder", [](CShellExecute& s) { s.LaunchFolder(5, "/home/ann", ssShowMinimized); }},
    {"LaunchProgram", [](CShellExecute& s) { s.LaunchProgram(5, "tool", "-x \"a b\"", "/opt"); }},
    {"LaunchURL", [](CShellExecute& s) { s.LaunchURL(5, "www.serenitap.com"); }},
    {"PrintDocument", [](CShellExecute& s) { s.PrintDocument(5, "notes.txt"); }}};

TEST(CShellExecute, EachMemberHandsItsVerbFileAndShowStyleToTheShell) {
  const std::vector<std::string> expected = {"5 explore|/home/ann/Music|||1",
                                             "ex576 5 Open|notes.txt||/home/ann|3",
                                             "5 |mailto:ann@example.org|||1",
                                             "5 open|/home/ann|||2",
                                             "ex576 5 Open|tool|-x \"a b\"|/opt|1",
                                             "5 |www.serenitap.com|||10",
                                             "5 print|notes.txt|||0"};
  auto fake = std::make_shared<FakeShell>();
  CShellExecute shell(fake);
  for (const auto& [member, call] : kMembers) call(shell);
  EXPECT_EQ(fake->calls, expected);
}

TEST(CShellExecute, AFailureIsShownUnderTheMembersNameAndGivesZero) {
  MessageBoxRecorder boxes;
  auto fake = std::make_shared<FakeShell>();
  fake->fail = true;
  CShellExecute shell(fake);
  for (const auto& [member, call] : kMembers) {
    call(shell);
    ASSERT_EQ(boxes.requests.size(), 1u) << member;
    EXPECT_EQ(boxes.requests[0].text, "Error: 5. Invalid procedure call or argument");
    EXPECT_EQ(boxes.requests[0].title, member);
    boxes.requests.clear();
  }
  EXPECT_EQ(shell.LaunchDocument(0, "a.txt", ""), 0);
  EXPECT_FALSE(shell.StillExecuting());
}

TEST(CShellExecute, ValuesAbove32MeanSuccessOthersAreTheShellsCode) {
  for (const auto& [value, expected] : {std::pair{0, 0}, {32, 32}, {33, -1}, {0x7FFF0000, -1}}) {
    auto fake = std::make_shared<FakeShell>();
    fake->simple_value = value;
    fake->extended_value = {value, 0};
    CShellExecute shell(fake);
    EXPECT_EQ(shell.LaunchURL(0, "https://example.org/"), expected) << value;
    EXPECT_EQ(shell.LaunchProgram(0, "tool"), expected) << value;
  }
}

TEST(CShellExecute, FollowsAndReleasesTheProcessOfTheLastExtendedLaunch) {
  auto fake = std::make_shared<FakeShell>();
  {
    CShellExecute shell(fake);
    shell.LaunchProgram(0, "first");
    EXPECT_TRUE(shell.StillExecuting());
    fake->exit_code = 0;
    EXPECT_FALSE(shell.StillExecuting());
    fake->exit_code = shell_codes::kStillActive;
    fake->exit_code_answers = false;  // the exit-code call fails
    EXPECT_FALSE(shell.StillExecuting());
    EXPECT_TRUE(fake->released.empty());
    fake->extended_value = {42, 7002};
    shell.LaunchDocument(0, "second.txt", "");
    shell.LaunchURL(0, "www.serenitap.com");  // a simple launch clears it too
    EXPECT_EQ(fake->released, (std::vector<ProcessHandle>{7001, 7002}));
    fake->exit_code_answers = true;
    EXPECT_FALSE(shell.StillExecuting());
    fake->extended_value = {2, 0};  // a failed extended launch still asks, about no process
    fake->exit_code_answers = false;
    EXPECT_EQ(shell.LaunchDocument(0, "missing.txt", ""), 2);
    EXPECT_FALSE(shell.StillExecuting());
    fake->extended_value = {42, 7003};
    shell.LaunchProgram(0, "third");
  }
  EXPECT_EQ(fake->asked, (std::vector<ProcessHandle>{7001, 7001, 7001, 0}));
  EXPECT_EQ(fake->released, (std::vector<ProcessHandle>{7001, 7002, 7003}));
}

// OpenWebPage goes through the installed shell.
struct InstalledFake {
  std::shared_ptr<FakeShell> fake = std::make_shared<FakeShell>();
  std::shared_ptr<ShellBackend> previous = SetShellBackend(fake);
  ~InstalledFake() { SetShellBackend(previous); }
};

TEST(OpenWebPage, MarksTheAddressUnlessAsIsAndSaysNothingWhenItOpened) {
  const std::string marked = std::string(product::kLinkSourceMarker) + std::string(product::kLinkSourceTag);
  const std::tuple<std::string, bool, std::string> table[] = {
      {"www.serenitap.com", false, "www.serenitap.com?src=stp#desktop"},
      {"https://www.quorvex.com/p.php?a=1", false, "https://www.quorvex.com/p.php?a=1" + marked},
      {"https://www.quorvex.com/errorstp.php?a=1&b=2", true, "https://www.quorvex.com/errorstp.php?a=1&b=2"}};
  InstalledFake shell;
  MessageBoxRecorder boxes;
  for (const auto& [address, as_is, expected] : table) {
    OpenWebPage(77, address, as_is);
    EXPECT_EQ(shell.fake->calls.back(), "77 |" + expected + "|||10");
  }
  EXPECT_TRUE(boxes.requests.empty());
}

TEST(OpenWebPage, TellsTheUserTheShellsCodeOrTheFailure) {
  InstalledFake shell;
  MessageBoxRecorder boxes;
  shell.fake->simple_value = 32;
  OpenWebPage(0, "www.serenitap.com", false);
  shell.fake->fail = true;
  OpenWebPage(0, "www.serenitap.com", false);
  EXPECT_EQ(boxes.Texts(), (std::vector<std::string>{"Error on launching URL: 32",
                                                     "Error: 5. Invalid procedure call or argument",
                                                     "Error on launching URL: 0"}));
  EXPECT_EQ(boxes.requests[0].title, "Serenitap");
  EXPECT_EQ(boxes.requests[1].title, "LaunchURL");
}

}  // namespace
}  // namespace serenitap
