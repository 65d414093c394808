#pragma once
// frmProgress, "My Progress": the journal drawn as each session's rating
// before and after tapping over time (falling ratings are progress), the same
// sessions as a table for the keyboard and screen readers, an issue filter,
// export to CSV and deleting sessions after a confirmation.
#include <string>
#include <vector>

#include "journal/session_record.h"
#include "ui/dialogs/dialog_pattern.h"

class QChart;
class QChartView;
class QComboBox;
class QLabel;
class QPushButton;
class QTableView;

namespace serenitap {

class SessionTableModel;

class frmProgress : public DialogPattern {
  Q_OBJECT

 public:
  frmProgress(std::string journalPath, QWidget* owner = nullptr);
  ~frmProgress() override;

  // Opens a fresh window modally and releases it when it has closed.
  static void ShowModal(QWidget* owner, const std::string& journalPath);

  // The sessions shown (after the issue filter), oldest first.
  const std::vector<journal::SessionRecord>& Shown() const { return shown_; }
  // Shows only the sessions of this issue; 0 shows all.
  void FilterIssue(enmIssue issue);
  // Writes the shown sessions to a CSV file; tells the user when it cannot.
  bool ExportCsv(const QString& path);
  // Each asks first; true when sessions were deleted.
  bool DeleteSelected();
  bool DeleteAll();

  QChart* Chart() const { return chart_; }
  QTableView* Table() const { return tblSessions_; }

 protected:
  void resizeEvent(QResizeEvent* event) override;

 private:
  void Reload();
  void ShowFiltered();
  void DrawChart();
  void cmdExport_Click();

  std::string path_;
  std::vector<journal::SessionRecord> all_;
  std::vector<journal::SessionRecord> shown_;
  enmIssue issue_ = 0;
  QWidget* body_ = nullptr;
  QComboBox* cboIssue_ = nullptr;
  QLabel* lblSummary_ = nullptr;
  QChartView* chartView_ = nullptr;
  QChart* chart_ = nullptr;
  QTableView* tblSessions_ = nullptr;
  SessionTableModel* model_ = nullptr;
};

}  // namespace serenitap
