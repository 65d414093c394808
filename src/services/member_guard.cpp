#include "services/member_guard.h"

#include <exception>
#include <string>

#include "services/failure.h"
#include "services/message_box.h"

namespace serenitap {

void ShowMemberFailure(std::string_view member) noexcept {
  try {
    const FailureDetails d = DescribeFailure(std::current_exception());
    MsgBox("Error: " + std::to_string(d.number) + ". " + d.description, MsgButtons::Ok, MsgIcon::None, member);
  } catch (...) {
    // Not even the message could be shown; the member still ends normally.
  }
}

}  // namespace serenitap
