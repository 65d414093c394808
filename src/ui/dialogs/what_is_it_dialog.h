#pragma once
// frmWhatIsIt: the introduction window. It explains what the program does,
// links to the product's web site and switches the start-up option
// "ShowWhatIsIt" (shown at every start or not).
#include <string>
#include <string_view>

#include "services/product.h"
#include "ui/dialogs/dialog_pattern.h"

class QPlainTextEdit;
class QPushButton;

namespace serenitap {

class ClickLabel;

// "How Serenitap works".
std::string WhatIsItCaption(std::string_view productName = product::kName);
// The six paragraphs of the explanation, joined by CR LF CR LF.
std::string WhatIsItText(std::string_view productName = product::kName);
// The link line in the labels' markup, ending in the address and a full stop.
std::string LearnMoreMarkup(std::string_view webAddress = product::kWebAddress);

class frmWhatIsIt : public DialogPattern {
  Q_OBJECT

 public:
  explicit frmWhatIsIt(QWidget* owner = nullptr);
  ~frmWhatIsIt() override;

  // Opens a fresh window modally and releases it when it has closed.
  static void ShowModal(QWidget* owner = nullptr);
  // The loaded instance, or null when none is loaded.
  static frmWhatIsIt* Instance();

  // Shows the window modally; returns when it has closed.
  void ShowUp();

  bool ShowOnStartup() const { return mblnShowOnStartup; }

  void cmdOK_Click();
  void lblLearnMore_Click();

 private:
  void Form_Load();
  void FitExplanation();

  bool mblnShowOnStartup = false;
  QPlainTextEdit* fedText = nullptr;
  ClickLabel* lblLearnMore = nullptr;
  QPushButton* cmdOK = nullptr;
  QPushButton* cmdCancel = nullptr;
};

}  // namespace serenitap
