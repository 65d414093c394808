#include "kit/dialogs/text_box_helpers.h"

#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTextEdit>
#include <QValidator>
#include <string>

#include "services/failure.h"
#include "services/message_box.h"

namespace serenitap {
namespace {

constexpr std::int32_t kObjectNotSet = 91;
constexpr std::int32_t kNotSupported = 438;

// Accepts every text, turning it into one case as it is typed.
class CaseValidator : public QValidator {
 public:
  CaseValidator(bool upper, QObject* parent) : QValidator(parent), upper_(upper) {}
  bool Upper() const { return upper_; }
  State validate(QString& input, int& /*pos*/) const override {
    input = upper_ ? input.toUpper() : input.toLower();
    return Acceptable;
  }
  void fixup(QString& input) const override { input = upper_ ? input.toUpper() : input.toLower(); }

 private:
  bool upper_;
};

// Runs body; a failure is shown as "Error: N. description" titled with the
// procedure's name.
template <class Body>
void WithOwnMessage(const char* procedure, Body&& body) {
  try {
    body();
  } catch (...) {
    const FailureDetails failure = DescribeFailure(std::current_exception());
    MsgBox("Error: " + std::to_string(failure.number) + ". " + failure.description, MsgButtons::Ok, MsgIcon::None,
           procedure);
  }
}

void Require(const QWidget* txt) {
  if (txt == nullptr) throw RuntimeFailure(kObjectNotSet, "Object variable or With block variable not set");
}

[[noreturn]] void Unsupported() {
  throw RuntimeFailure(kNotSupported, "Object doesn't support this property or method");
}

void SelectAll(QWidget* txt) {
  Require(txt);
  if (auto* line = qobject_cast<QLineEdit*>(txt)) {
    line->setSelection(0, static_cast<int>(line->text().size()));
    return;
  }
  if (auto* plain = qobject_cast<QPlainTextEdit*>(txt)) {
    plain->selectAll();
    return;
  }
  if (auto* rich = qobject_cast<QTextEdit*>(txt)) {
    rich->selectAll();
    return;
  }
  Unsupported();
}

}  // namespace

void SelectTextX(QWidget* txt) {
  WithOwnMessage("SelectTextX", [&] { SelectAll(txt); });
}

void SelectText(QWidget* txt) {
  WithOwnMessage("SelectText", [&] { SelectAll(txt); });
}

void SetTextBoxCase(QWidget* txt, int mode) {
  WithOwnMessage("SetTextBoxCase", [&] {
    Require(txt);
    auto* line = qobject_cast<QLineEdit*>(txt);
    if (line == nullptr) Unsupported();
    if (mode != 0 && mode != 1) return;  // the field keeps what it had
    const QValidator* current = line->validator();
    if (current != nullptr && dynamic_cast<const CaseValidator*>(current) == nullptr) Unsupported();
    line->setValidator(new CaseValidator(mode == 1, line));
    if (current != nullptr) delete current;
  });
}

int TextBoxCase(const QWidget* txt) {
  const auto* line = qobject_cast<const QLineEdit*>(txt);
  if (line == nullptr) return -1;
  const auto* validator = dynamic_cast<const CaseValidator*>(line->validator());
  if (validator == nullptr) return -1;
  return validator->Upper() ? 1 : 0;
}

}  // namespace serenitap
