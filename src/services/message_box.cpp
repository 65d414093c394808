#include "services/message_box.h"

#include <utility>

#include "services/error_line.h"

namespace serenitap {
namespace {

MsgAnswer FirstAnswer(MsgButtons buttons) {
  return (buttons == MsgButtons::YesNo || buttons == MsgButtons::YesNoCancel) ? MsgAnswer::Yes : MsgAnswer::Ok;
}

MsgAnswer DefaultSink(const MessageBoxRequest& request) {
  WriteErrorLine(request.title + ": " + request.text);
  return request.defaultButton.value_or(FirstAnswer(request.buttons));
}

MessageBoxSink& Sink() {
  static MessageBoxSink sink = DefaultSink;
  return sink;
}

}  // namespace

MsgAnswer DismissAnswer(MsgButtons buttons) {
  switch (buttons) {
    case MsgButtons::Ok: return MsgAnswer::Ok;
    case MsgButtons::YesNo: return MsgAnswer::No;
    case MsgButtons::OkCancel:
    case MsgButtons::YesNoCancel: return MsgAnswer::Cancel;
  }
  return MsgAnswer::Cancel;
}

MsgAnswer MsgBox(std::string_view text, MsgButtons buttons, MsgIcon icon, std::string_view title) {
  try {
    MessageBoxRequest request{std::string(text), buttons, icon, std::string(title), std::nullopt};
    return Sink()(request);
  } catch (...) {
    // A message that cannot be shown is answered as if the user closed it.
    return DismissAnswer(buttons);
  }
}

MsgAnswer AskNoByDefault(std::string_view text, MsgIcon icon) {
  try {
    MessageBoxRequest request{std::string(text), MsgButtons::YesNo, icon, std::string(product::kAppTitle),
                              MsgAnswer::No};
    return Sink()(request);
  } catch (...) {
    return MsgAnswer::No;
  }
}

MessageBoxSink SetMessageBoxSink(MessageBoxSink sink) {
  MessageBoxSink previous = std::move(Sink());
  Sink() = sink ? std::move(sink) : MessageBoxSink(DefaultSink);
  return previous;
}

}  // namespace serenitap
