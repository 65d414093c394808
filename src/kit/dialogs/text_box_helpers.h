#pragma once
// Helpers for the text fields of the dialogs. They work on a single-line
// field (QLineEdit) and, for selecting, on a multi-line one (QPlainTextEdit,
// QTextEdit). They never use the program-wide error report: a failure shows
// "Error: N. description" titled with the helper's own name, and the caller
// carries on.
class QWidget;

namespace serenitap {

// Selects the whole text of the field (nothing when it is empty).
void SelectTextX(QWidget* txt);
// The same as SelectTextX.
void SelectText(QWidget* txt);

// Forces the case of what is typed into a single-line field from now on:
// mode 0 lower case, mode 1 upper case (the two never together); any other
// mode leaves the field as it is.
void SetTextBoxCase(QWidget* txt, int mode);

// The case a field forces: 0 lower, 1 upper, -1 none.
int TextBoxCase(const QWidget* txt);

}  // namespace serenitap
