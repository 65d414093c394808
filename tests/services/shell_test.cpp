// CShellExecute and OpenWebPage with the shell replaced by a scripted fake.
#include <gtest/gtest.h>

#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include "services/failure.h"
#include "services/product.h"
#include "services/shell.h"
#include "support/recorders.h"

namespace serenitap {
namespace {

using testing::MessageBoxRecorder;

struct ShellCall {
  bool extended = false;
  WindowHandle window = 0;
  std::uint32_t mask = 0;
  std::string verb, file, parameters, directory;
  std::int32_t show = -99;
};

class FakeShell : public ShellBackend {
 public:
  std::intptr_t Execute(WindowHandle window, std::string_view verb, std::string_view file,
                        std::int32_t show) override {
    calls.push_back({false, window, 0, std::string(verb), std::string(file), {}, {}, show});
    if (fail_with) throw RuntimeFailure(fail_with, "Invalid procedure call or argument");
    return simple_value;
  }
  ShellExResult ExecuteEx(WindowHandle window, std::uint32_t mask, std::string_view verb, std::string_view file,
                          std::string_view parameters, std::string_view directory, std::int32_t show) override {
    calls.push_back({true, window, mask, std::string(verb), std::string(file), std::string(parameters),
                     std::string(directory), show});
    if (fail_with) throw RuntimeFailure(fail_with, "Invalid procedure call or argument");
    return extended_value;
  }
  bool ExitCode(ProcessHandle process, std::uint32_t& code) override {
    asked.push_back(process);
    if (!exit_code_answers) return false;
    code = exit_code;
    return true;
  }
  void Release(ProcessHandle process) override { released.push_back(process); }

  std::intptr_t simple_value = 42;
  ShellExResult extended_value{42, 7001};
  bool exit_code_answers = true;
  std::uint32_t exit_code = shell_codes::kStillActive;
  std::int32_t fail_with = 0;
  std::vector<ShellCall> calls;
  std::vector<ProcessHandle> asked;
  std::vector<ProcessHandle> released;
};

// Installs a fake as the shell for the test's lifetime.
class InstalledFake {
 public:
  InstalledFake() : fake(std::make_shared<FakeShell>()), previous_(SetShellBackend(fake)) {}
  ~InstalledFake() { SetShellBackend(previous_); }
  std::shared_ptr<FakeShell> fake;

 private:
  std::shared_ptr<ShellBackend> previous_;
};

// --- the result convention -------------------------------------------------

struct ResultCase {
  std::intptr_t shell_value;
  std::int32_t expected;
};

void PrintTo(const ResultCase& c, std::ostream* os) { *os << c.shell_value << " -> " << c.expected; }

class ShellResultConvention : public ::testing::TestWithParam<ResultCase> {};

TEST_P(ShellResultConvention, SimpleAndExtendedLaunchesReturnTheConvention) {
  auto fake = std::make_shared<FakeShell>();
  fake->simple_value = GetParam().shell_value;
  fake->extended_value = {GetParam().shell_value, 0};
  CShellExecute shell(fake);
  EXPECT_EQ(shell.LaunchURL(0, "https://example.org/"), GetParam().expected);
  EXPECT_EQ(shell.LaunchProgram(0, "tool"), GetParam().expected);
  EXPECT_EQ(ShellResult(GetParam().shell_value), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(ShellValues, ShellResultConvention,
                         ::testing::Values(ResultCase{0, 0}, ResultCase{2, 2}, ResultCase{31, 31},
                                           ResultCase{32, 32}, ResultCase{33, -1}, ResultCase{42, -1},
                                           ResultCase{0x7FFF0000, -1}));

// --- what each member hands to the shell ---------------------------------------

struct MemberCase {
  std::string member;
  bool extended;
  std::string verb, file, parameters, directory;
  std::int32_t show;
};

void CallMember(const std::string& member, CShellExecute& shell) {
  if (member == "Explore") shell.Explore(5, "/home/ann/Music");
  if (member == "LaunchDocument") shell.LaunchDocument(5, "notes.txt", "/home/ann", ssShowMaximized);
  if (member == "LaunchEmail") shell.LaunchEmail(5, "ann@example.org");
  if (member == "LaunchFolder") shell.LaunchFolder(5, "/home/ann", ssShowMinimized);
  if (member == "LaunchProgram") shell.LaunchProgram(5, "tool", "-x \"a b\"", "/opt");
  if (member == "LaunchURL") shell.LaunchURL(5, "www.serenitap.com");
  if (member == "PrintDocument") shell.PrintDocument(5, "notes.txt");
}

void PrintTo(const MemberCase& c, std::ostream* os) { *os << c.member; }

class ShellMember : public ::testing::TestWithParam<MemberCase> {};

TEST_P(ShellMember, PassesVerbFileAndShowStyle) {
  const MemberCase& c = GetParam();
  auto fake = std::make_shared<FakeShell>();
  CShellExecute shell(fake);
  CallMember(c.member, shell);
  ASSERT_EQ(fake->calls.size(), 1u);
  const ShellCall& call = fake->calls[0];
  EXPECT_EQ(call.extended, c.extended);
  EXPECT_EQ(call.window, 5);
  EXPECT_EQ(call.verb, c.verb);
  EXPECT_EQ(call.file, c.file);
  EXPECT_EQ(call.parameters, c.parameters);
  EXPECT_EQ(call.directory, c.directory);
  EXPECT_EQ(call.show, c.show);
  EXPECT_EQ(call.mask, c.extended ? 0x240u : 0u);
}

INSTANTIATE_TEST_SUITE_P(ShellMembers, ShellMember,
    ::testing::Values(MemberCase{"Explore", false, "explore", "/home/ann/Music", "", "", 1},
                      MemberCase{"LaunchDocument", true, "Open", "notes.txt", "", "/home/ann", 3},
                      MemberCase{"LaunchEmail", false, "", "mailto:ann@example.org", "", "", 1},
                      MemberCase{"LaunchFolder", false, "open", "/home/ann", "", "", 2},
                      MemberCase{"LaunchProgram", true, "Open", "tool", "-x \"a b\"", "/opt", 1},
                      MemberCase{"LaunchURL", false, "", "www.serenitap.com", "", "", 10},
                      MemberCase{"PrintDocument", false, "print", "notes.txt", "", "", 0}),
    [](const auto& info) { return info.param.member; });

TEST_P(ShellMember, RunTimeFailureIsShownUnderTheMembersName) {
  MessageBoxRecorder boxes;
  auto fake = std::make_shared<FakeShell>();
  fake->fail_with = errors::kInvalidCall;
  CShellExecute shell(fake);
  CallMember(GetParam().member, shell);
  ASSERT_EQ(boxes.requests.size(), 1u);
  EXPECT_EQ(boxes.requests[0].text, "Error: 5. Invalid procedure call or argument");
  EXPECT_EQ(boxes.requests[0].title, GetParam().member);
  EXPECT_EQ(boxes.requests[0].buttons, MsgButtons::Ok);
}

TEST(ShellFailure, MemberReturnsZeroWhenTheShellWasNotReached) {
  MessageBoxRecorder boxes;
  auto fake = std::make_shared<FakeShell>();
  fake->fail_with = errors::kInvalidCall;
  CShellExecute shell(fake);
  EXPECT_EQ(shell.LaunchURL(0, "www.serenitap.com"), 0);
  EXPECT_EQ(shell.LaunchDocument(0, "a.txt", ""), 0);
  EXPECT_FALSE(shell.StillExecuting());
}

// --- the process of the last extended launch -------------------------------

TEST(ShellStillExecuting, FollowsTheExitCodeOfTheExtendedLaunch) {
  auto fake = std::make_shared<FakeShell>();
  CShellExecute shell(fake);
  shell.LaunchProgram(0, "tool");
  EXPECT_TRUE(shell.StillExecuting());
  fake->exit_code = 0;
  EXPECT_FALSE(shell.StillExecuting());
  fake->exit_code = shell_codes::kStillActive;
  fake->exit_code_answers = false;  // the exit-code call fails
  EXPECT_FALSE(shell.StillExecuting());
  EXPECT_EQ(fake->asked, (std::vector<ProcessHandle>{7001, 7001, 7001}));
}

TEST(ShellStillExecuting, AFailedExtendedLaunchStillAsksButFindsNoProcess) {
  auto fake = std::make_shared<FakeShell>();
  fake->extended_value = {2, 0};
  fake->exit_code_answers = false;
  CShellExecute shell(fake);
  EXPECT_EQ(shell.LaunchDocument(0, "missing.txt", ""), 2);
  EXPECT_FALSE(shell.StillExecuting());
  EXPECT_EQ(fake->asked, std::vector<ProcessHandle>{0});
}

TEST(ShellProcessHandle, ReleasedByTheNextLaunchAndByTheObjectsEnd) {
  auto fake = std::make_shared<FakeShell>();
  {
    CShellExecute shell(fake);
    shell.LaunchProgram(0, "first");
    EXPECT_TRUE(fake->released.empty());
    fake->extended_value = {42, 7002};
    shell.LaunchDocument(0, "second.txt", "");
    EXPECT_EQ(fake->released, std::vector<ProcessHandle>{7001});
    shell.LaunchURL(0, "www.serenitap.com");  // a simple launch clears it too
    EXPECT_EQ(fake->released, (std::vector<ProcessHandle>{7001, 7002}));
    EXPECT_FALSE(shell.StillExecuting());
    fake->extended_value = {42, 7003};
    shell.LaunchProgram(0, "third");
  }
  EXPECT_EQ(fake->released, (std::vector<ProcessHandle>{7001, 7002, 7003}));
}

// --- OpenWebPage -------------------------------------------------------------

struct AddressCase {
  std::string address;
  bool as_is;
  std::string expected;
};

void PrintTo(const AddressCase& c, std::ostream* os) { *os << '"' << c.address << '"' << (c.as_is ? " as is" : ""); }

class ShellOpenWebPageAddress : public ::testing::TestWithParam<AddressCase> {};

TEST_P(ShellOpenWebPageAddress, HandsTheAddressToLaunchUrlWithDefaultShowStyle) {
  InstalledFake shell;
  MessageBoxRecorder boxes;
  OpenWebPage(77, GetParam().address, GetParam().as_is);
  ASSERT_EQ(shell.fake->calls.size(), 1u);
  const ShellCall& call = shell.fake->calls[0];
  EXPECT_FALSE(call.extended);
  EXPECT_EQ(call.verb, "");
  EXPECT_EQ(call.file, GetParam().expected);
  EXPECT_EQ(call.window, 77);
  EXPECT_EQ(call.show, 10);
  EXPECT_TRUE(boxes.requests.empty());
  EXPECT_EQ(WebPageAddress(GetParam().address, GetParam().as_is), GetParam().expected);
}

const std::string kMarked = std::string(product::kLinkSourceMarker) + std::string(product::kLinkSourceTag);

INSTANTIATE_TEST_SUITE_P(ShellAddresses, ShellOpenWebPageAddress,
    ::testing::Values(AddressCase{"www.serenitap.com", false, "www.serenitap.com?src=stp#desktop"},
                      AddressCase{"https://www.quorvex.com/page.php?a=1", false,
                                  "https://www.quorvex.com/page.php?a=1" + kMarked},
                      AddressCase{"https://www.quorvex.com/errorstp.php?a=1&b=2", true,
                                  "https://www.quorvex.com/errorstp.php?a=1&b=2"},
                      AddressCase{"", true, ""}));

struct FailureCase {
  std::intptr_t shell_value;
  std::string message;
};

void PrintTo(const FailureCase& c, std::ostream* os) { *os << c.shell_value; }

class ShellOpenWebPageFailure : public ::testing::TestWithParam<FailureCase> {};

TEST_P(ShellOpenWebPageFailure, TellsTheUserTheShellsCode) {
  InstalledFake shell;
  shell.fake->simple_value = GetParam().shell_value;
  MessageBoxRecorder boxes;
  OpenWebPage(0, "www.serenitap.com", false);
  ASSERT_EQ(boxes.requests.size(), 1u);
  EXPECT_EQ(boxes.requests[0].text, GetParam().message);
  EXPECT_EQ(boxes.requests[0].title, "Serenitap");
  EXPECT_EQ(boxes.requests[0].buttons, MsgButtons::Ok);
}

INSTANTIATE_TEST_SUITE_P(ShellCodes, ShellOpenWebPageFailure,
                         ::testing::Values(FailureCase{0, "Error on launching URL: 0"},
                                           FailureCase{32, "Error on launching URL: 32"}));

TEST(ShellOpenWebPage, RunTimeFailureShowsTheMembersBoxThenTheLaunchError) {
  InstalledFake shell;
  shell.fake->fail_with = errors::kInvalidCall;
  MessageBoxRecorder boxes;
  OpenWebPage(0, "www.serenitap.com", false);
  EXPECT_EQ(boxes.Texts(), (std::vector<std::string>{"Error: 5. Invalid procedure call or argument",
                                                     "Error on launching URL: 0"}));
  EXPECT_EQ(boxes.requests[0].title, "LaunchURL");
}

}  // namespace
}  // namespace serenitap
