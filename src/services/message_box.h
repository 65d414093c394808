#pragma once
// Message boxes. Every message of the program goes through MsgBox, which hands
// the request to the installed sink: the program installs a real dialog, tests
// install a recorder that scripts the user's answer.
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "services/product.h"

namespace serenitap {

enum class MsgButtons { Ok, OkCancel, YesNo, YesNoCancel };
enum class MsgIcon { None, Information, Question, Exclamation, Critical };
enum class MsgAnswer { Ok, Cancel, Yes, No };

struct MessageBoxRequest {
  std::string text;
  MsgButtons buttons = MsgButtons::Ok;
  MsgIcon icon = MsgIcon::None;
  std::string title;
  // The button Enter presses; none: the first (Ok or Yes).
  std::optional<MsgAnswer> defaultButton;
};

using MessageBoxSink = std::function<MsgAnswer(const MessageBoxRequest&)>;

// Shows a message and returns the user's answer. The title defaults to the
// application title. Never throws: a failing sink answers as a Cancel would
// (or No, for Yes/No).
MsgAnswer MsgBox(std::string_view text, MsgButtons buttons = MsgButtons::Ok, MsgIcon icon = MsgIcon::None,
                 std::string_view title = product::kAppTitle);

// A Yes/No question that nothing is lost by: No is the default button, and
// closing the question (Esc) answers No. For questions that delete.
MsgAnswer AskNoByDefault(std::string_view text, MsgIcon icon = MsgIcon::Question);

// Installs a sink and returns the one it replaces. An empty sink restores the
// default, which writes the message to standard error and answers the first
// button (Ok or Yes).
MessageBoxSink SetMessageBoxSink(MessageBoxSink sink);

// The answer a dialog gives when it is closed without a choice.
MsgAnswer DismissAnswer(MsgButtons buttons);

}  // namespace serenitap
