#pragma once
// The error handling of the service classes (CShellExecute, COSInfo): a member
// that fails at run time shows "Error: <number>. <description>" in a message box
// titled with the member's name, then ends and returns what it had reached.
#include <string_view>

namespace serenitap {

// Shows the failure in flight as the service classes do. Call inside a catch
// block. Never throws.
void ShowMemberFailure(std::string_view member) noexcept;

// Runs body; on a failure shows it (see above) and returns false.
template <class Body>
bool GuardMember(std::string_view member, Body&& body) noexcept {
  try {
    body();
    return true;
  } catch (...) {
    ShowMemberFailure(member);
    return false;
  }
}

}  // namespace serenitap
