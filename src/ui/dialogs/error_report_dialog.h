#pragma once
// frmErrorReport: tells the user that something went wrong, shows exactly
// what would be reported and lets the user send it to the maker's report page
// (opened in the browser) or decline.
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "services/error_report.h"
#include "ui/dialogs/dialog_pattern.h"

class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;

namespace serenitap {

class frmErrorReport : public DialogPattern {
  Q_OBJECT

 public:
  explicit frmErrorReport(QWidget* owner = nullptr);
  ~frmErrorReport() override;

  // Stores the report, loads the window and shows it modally; returns when
  // it has closed.
  void ShowUp(std::int32_t plngErrNum, std::string_view pstrErrDesc, std::string_view pstrProgVer,
              std::int32_t plngBuildNum, std::string_view pstrModuleName, std::string_view pstrProcName,
              std::string_view pstrExtraDesc = {});
  // Stores the report and loads the window without showing it.
  void Load(const ErrorReport& report);

  // The loaded instance, or null when none is loaded.

  const ErrorReport& Report() const { return report_; }

  void cmdSend_Click();

  // The monotonic clock, in milliseconds, that tells a click on Send too
  // soon after the window showed (ignored for the first half second).
  static void SetMonotonicClock(std::function<std::int64_t()> clock);
  static constexpr std::int64_t kSendGuardMs = 500;

 protected:
  void OnUnload() override;
  void showEvent(QShowEvent* event) override;

 private:
  void Form_Load();
  static std::function<std::int64_t()>& Clock();
  std::int64_t shown_at_ms_ = -1;

  ErrorReport report_;
  std::optional<Qt::CursorShape> saved_pointer_;
  bool pointer_saved_ = false;

  QLabel* lblTitle = nullptr;
  QLabel* Image1 = nullptr;
  QLabel* lblIntro = nullptr;
  QLabel* lblComments = nullptr;
  QPlainTextEdit* txtErrDesc = nullptr;
  QLabel* lblName = nullptr;
  QPlainTextEdit* txtComments = nullptr;
  QLabel* Label1 = nullptr;
  QLabel* lblEmail = nullptr;
  QLineEdit* txtEmail = nullptr;
  QPushButton* cmdSend = nullptr;
  QPushButton* cmdCancel = nullptr;
};

// Shows the report dialog for one report: a fresh window, modal, released
// when it closes.
void ShowErrorReport(const ErrorReport& report);

// Makes ReportError show the report dialog.
void InstallErrorReportDialog();

}  // namespace serenitap
