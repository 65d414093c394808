#pragma once
// frmProgress, "My Progress": the journal drawn as the ratings before and after
// tapping over time (each session for a few, the trend for many; falling
// ratings are progress), the same sessions as a table (newest first) for the
// keyboard and screen readers, an issue filter, export to CSV and deleting
// sessions after a question whose default answer is No.
#include <cstdint>
#include <string>
#include <vector>

#include "journal/session_record.h"
#include "ui/dialogs/dialog_pattern.h"

class QComboBox;
class QLabel;
class QPushButton;
class QTableView;

namespace serenitap {

class SessionTableModel;
struct ProgressChartModule;

class frmProgress : public DialogPattern {
  Q_OBJECT

 public:
  // keeping: whether "Keep a Journal" is on, for what an empty journal says.
  frmProgress(std::string journalPath, bool keeping, QWidget* owner = nullptr);
  ~frmProgress() override;

  // Opens a fresh window modally and releases it when it has closed.
  static void ShowModal(QWidget* owner, const std::string& journalPath, bool keeping);

  // The sessions shown (after the issue filter), newest first.
  std::vector<journal::SessionRecord> Shown() const;
  // Shows only the sessions of this issue; 0 shows all.
  void FilterIssue(enmIssue issue);
  // Writes the shown sessions to a CSV file readable by its owner only; says
  // where it went, or why it could not be written.
  bool ExportCsv(const QString& path);
  // Each asks first (No is the default); true when something was deleted.
  bool DeleteSelected();
  bool DeleteAll();

  // The chart's view (a QChartView), or the note saying why there is none.
  QWidget* ChartView() const { return chartView_; }
  QTableView* Table() const { return tblSessions_; }
  // The folder the export dialog starts in: the documents folder, else home.
  static QString ExportFolder();

 protected:
  void resizeEvent(QResizeEvent* event) override;

 private:
  void Reload();
  void ShowFiltered();
  void DrawChart();
  void UpdateButtons();
  void SetStatus(const std::string& text);
  void cmdExport_Click();

  std::string path_;
  bool keeping_ = false;
  std::vector<journal::SessionRecord> all_;  // oldest first, as the journal gives them
  std::vector<std::uint32_t> shown_;         // indexes into all_, newest first
  enmIssue issue_ = issNA;
  QWidget* body_ = nullptr;
  QComboBox* cboIssue_ = nullptr;
  QLabel* lblSummary_ = nullptr;
  QLabel* lblStatus_ = nullptr;
  QWidget* chartView_ = nullptr;
  const ProgressChartModule* chart_ = nullptr;  // null when the chart could not be loaded
  QTableView* tblSessions_ = nullptr;
  SessionTableModel* model_ = nullptr;
  QPushButton* cmdExport_ = nullptr;
  QPushButton* cmdDelete_ = nullptr;
  QPushButton* cmdDeleteAll_ = nullptr;
};

}  // namespace serenitap
