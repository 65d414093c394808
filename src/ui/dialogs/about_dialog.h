#pragma once
// frmAbout_NEW: the product's name, version, maker, copyright and web site.
#include <string>

#include "ui/dialogs/dialog_pattern.h"

class QLabel;
class QPushButton;

namespace serenitap {

class ClickLabel;

// "Version 2.0 Build 201" for major 2, minor 0, revision 201.
std::string VersionLine(int major, int minor, int revision);
// The maker's street, postal code and city, region and country, and e-mail
// address, joined by CR LF.
std::string MakerAddressText();
// The warning under the web address.
std::string CopyrightWarningText();

class frmAbout_NEW : public DialogPattern {
  Q_OBJECT

 public:
  explicit frmAbout_NEW(QWidget* owner = nullptr);
  ~frmAbout_NEW() override;

  // Opens a fresh window modally and releases it when it has closed.
  static void ShowModal(QWidget* owner = nullptr);
  // The loaded instance, or null when none is loaded.

  // Shows the window modally; returns when it has closed.
  void ShowUp();

  void lblWebAddress_Click();

 private:
  void Form_Load();

  QWidget* picCont = nullptr;
  QLabel* picCompanyLogo = nullptr;
  QLabel* picProgLogo = nullptr;
  QLabel* lblTitle = nullptr;
  QLabel* lblVersion = nullptr;
  QLabel* lblAddress = nullptr;
  QLabel* lblDeveloped = nullptr;
  QLabel* lblCopyright = nullptr;
  ClickLabel* lblWebAddress = nullptr;
  QLabel* lblDisclaimer = nullptr;
  QPushButton* cmdOK = nullptr;
};

}  // namespace serenitap
