#include "ui/journal/progress_dialog.h"

#include <QAbstractTableModel>
#include <QComboBox>
#include <QDateTime>
#include <QDir>
#include <QFileDialog>
#include <QGuiApplication>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLabel>
#include <QPushButton>
#include <QSaveFile>
#include <QScreen>
#include <QStandardPaths>
#include <QTableView>
#include <QVBoxLayout>
#include <algorithm>
#include <filesystem>
#include <memory>
#include <set>

#include "content/issues.h"
#include "journal/journal_store.h"
#include "journal/journal_writer.h"
#include "journal/progress_view.h"
#include "journal/set_aside_copies.h"
#include "services/message_box.h"
#include "services/notice.h"
#include "ui/journal/progress_chart.h"
#include "ui/qt_text.h"
#include "ui/twips.h"

namespace serenitap {

using journal::SessionRecord;

namespace {

// "5 Dec 2026, 21:55" in local time; "an unknown time" when the journal's time cannot be read.
QString SessionTime(journal::TimeMs started, const QString& format) {
  if (!journal::KnownTime(started)) return QStringLiteral("unknown");
  return QDateTime::fromMSecsSinceEpoch(started).toString(format);
}

// "Anxiety, 7 → 3" or "Guilt, 7, not re-assessed".
std::string RatingsOf(const SessionRecord& s) {
  std::string text = modIssues::GetIssueName(s.issue) + ", " + journal::RatingText(s.firstRating);
  const auto after = s.AfterRating();
  return text + (after ? " → " + journal::RatingText(after) : std::string(", not re-assessed"));
}

std::string Plural(std::size_t n, const char* one, const char* many) {
  return std::to_string(n) + ' ' + (n == 1 ? one : many);
}

}  // namespace

// The shown sessions as rows, newest first.
class SessionTableModel : public QAbstractTableModel {
 public:
  using QAbstractTableModel::QAbstractTableModel;
  void Show(const std::vector<SessionRecord>* all, const std::vector<std::uint32_t>* rows) {
    beginResetModel();
    all_ = all;
    rows_ = rows;
    endResetModel();
  }
  const SessionRecord& At(int row) const { return (*all_)[(*rows_)[static_cast<std::size_t>(row)]]; }
  int rowCount(const QModelIndex& parent = {}) const override {
    return parent.isValid() || rows_ == nullptr ? 0 : static_cast<int>(rows_->size());
  }
  static constexpr int kColumns = 7;
  static constexpr int kWordsColumn = 6;
  int columnCount(const QModelIndex& parent = {}) const override { return parent.isValid() ? 0 : kColumns; }
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override {
    static const char* const kTitles[] = {"Started", "Issue", "Before", "After", "Rounds", "Ended by", "Words"};
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section < 0 || section >= kColumns) return {};
    return QString::fromLatin1(kTitles[section]);
  }
  QVariant data(const QModelIndex& index, int role) const override {
    if (!index.isValid()) return {};
    const SessionRecord& s = At(index.row());
    // Long words are cut short in their cell; the whole of them shows as its tip.
    if (role == Qt::ToolTipRole && index.column() == kWordsColumn && !s.words.empty()) return ToQString(s.words);
    if (role != Qt::DisplayRole && role != Qt::AccessibleTextRole) return {};
    switch (index.column()) {
      case 0: return SessionTime(s.started, QStringLiteral("yyyy-MM-dd HH:mm"));
      case 1: return ToQString(modIssues::GetIssueName(s.issue));
      case 2: return ToQString(journal::RatingText(s.firstRating));
      case 3: {
        const auto after = s.AfterRating();
        return after ? ToQString(journal::RatingText(after)) : QStringLiteral("not re-assessed");
      }
      case 4: return s.rounds;
      case 5: return s.end == journal::SessionEnd::Open ? QStringLiteral("(open)") : ToQString(EndText(s.end));
      case kWordsColumn: return ToQString(s.words);
    }
    return {};
  }

 private:
  const std::vector<SessionRecord>* all_ = nullptr;
  const std::vector<std::uint32_t>* rows_ = nullptr;
};

// clang-format off
struct DesignedControls {
  DialogControl cmdExport;
  DialogControl cmdDelete;
  DialogControl cmdDeleteAll;
  DialogControl cmdClose;
};
constexpr DesignedControls kControls{
    //               name            caption           left   top  width  height
    .cmdExport =    {"cmdExport",    "&Export…",          240,  165,  1500,  390},
    .cmdDelete =    {"cmdDelete",    "&Delete…",         1860,  165,  1500,  390},
    .cmdDeleteAll = {"cmdDeleteAll", "Delete &All…",     3480,  165,  1500,  390},
    .cmdClose =     {"cmdClose",     "&Close",           5100,  165,  1185,  390},
};
// The window opens at this size, or smaller to fit the screen, and may be
// resized down to its minimum: the buttons are never cut.
constexpr DialogDesign kDesign{11400, 7800, 720};
constexpr double kChartMinHeight = 2250;
constexpr double kTableMinHeight = 1200;
constexpr double kWordsColumnWidth = 3000;
constexpr double kMinWidth = 6600;
// What a window frame with its title bar takes at most, kept free on the screen.
constexpr int kFrameAllowance = 48;
// clang-format on

frmProgress::frmProgress(std::string journalPath, bool keeping, QWidget* owner)
    : DialogPattern(owner), path_(std::move(journalPath)), keeping_(keeping) {
  setObjectName(QStringLiteral("frmProgress"));
  setWindowTitle(QStringLiteral("My Progress"));
  PaintWhite(this);

  body_ = new QWidget(this);
  auto* layout = new QVBoxLayout(body_);
  layout->setContentsMargins(TwipsToPixels(120), TwipsToPixels(90), TwipsToPixels(120), TwipsToPixels(60));
  auto* filterRow = new QHBoxLayout();
  auto* filterLabel = new QLabel(QStringLiteral("&Issue:"), body_);
  cboIssue_ = new QComboBox(body_);
  cboIssue_->setObjectName(QStringLiteral("cboIssue"));
  cboIssue_->setAccessibleName(QStringLiteral("Issue"));
  filterLabel->setBuddy(cboIssue_);
  lblSummary_ = new QLabel(body_);
  lblSummary_->setObjectName(QStringLiteral("lblSummary"));
  lblSummary_->setWordWrap(true);
  filterRow->addWidget(filterLabel);
  filterRow->addWidget(cboIssue_);
  filterRow->addWidget(lblSummary_, 1);
  layout->addLayout(filterRow);

  QString chartMissing;
  chart_ = LoadProgressChart(chartMissing);
  if (chart_ != nullptr) {
    chartView_ = chart_->createView(body_);
    chartView_->setAccessibleName(QStringLiteral("Chart of the ratings before and after tapping"));
  } else {
    auto* missing = new QLabel(
        QStringLiteral("The chart cannot be drawn (%1). The table below holds every session.").arg(chartMissing),
        body_);
    missing->setWordWrap(true);
    missing->setAlignment(Qt::AlignCenter);
    chartView_ = missing;
  }
  chartView_->setObjectName(QStringLiteral("chtProgress"));
  // The chart is a picture of the table below it: nothing in it answers a key, so Tab goes
  // from the issue straight to the table, which carries the same data row by row.
  chartView_->setFocusPolicy(Qt::NoFocus);
  chartView_->setMinimumHeight(TwipsToPixels(kChartMinHeight));
  layout->addWidget(chartView_, 3);

  model_ = new SessionTableModel(this);
  tblSessions_ = new QTableView(body_);
  tblSessions_->setObjectName(QStringLiteral("tblSessions"));
  tblSessions_->setAccessibleName(QStringLiteral("Sessions, newest first"));
  tblSessions_->setModel(model_);
  tblSessions_->setSelectionBehavior(QAbstractItemView::SelectRows);
  tblSessions_->setSelectionMode(QAbstractItemView::ExtendedSelection);
  tblSessions_->setTabKeyNavigation(false);
  tblSessions_->setMinimumHeight(TwipsToPixels(kTableMinHeight));
  tblSessions_->verticalHeader()->hide();
  tblSessions_->horizontalHeader()->setStretchLastSection(true);
  layout->addWidget(tblSessions_, 2);

  lblStatus_ = new QLabel(body_);
  lblStatus_->setObjectName(QStringLiteral("lblStatus"));
  lblStatus_->setWordWrap(true);
  lblStatus_->setTextInteractionFlags(Qt::TextSelectableByMouse);
  lblStatus_->hide();
  layout->addWidget(lblStatus_);

  CreateBottomStrip(kDesign.bottomHeight);
  cmdExport_ = AddButton(picBottom, kControls.cmdExport);
  cmdDelete_ = AddButton(picBottom, kControls.cmdDelete);
  cmdDeleteAll_ = AddButton(picBottom, kControls.cmdDeleteAll);
  auto* cmdClose = AddButton(picBottom, kControls.cmdClose);
  connect(cmdExport_, &QPushButton::clicked, this, [this] { RunCommand([this] { cmdExport_Click(); }); });
  connect(cmdDelete_, &QPushButton::clicked, this, [this] { RunCommand([this] { DeleteSelected(); }); });
  connect(cmdDeleteAll_, &QPushButton::clicked, this, [this] { RunCommand([this] { DeleteAll(); }); });
  connect(cmdClose, &QPushButton::clicked, this, &QWidget::close);
  connect(cboIssue_, &QComboBox::activated, this,
          [this](int at) { FilterIssue(StoredIssue(cboIssue_->itemData(at).toInt())); });
  connect(tblSessions_->selectionModel(), &QItemSelectionModel::selectionChanged, this, [this] { UpdateButtons(); });

  // The designed size, or what the screen has room for.
  QSize size(TwipsToPixels(kDesign.width), TwipsToPixels(kDesign.height));
  setMinimumSize(TwipsToPixels(kMinWidth),
                 TwipsToPixels(kChartMinHeight + kTableMinHeight + 1500) + TwipsToPixels(kDesign.bottomHeight));
  if (const QScreen* screen =
          owner != nullptr && owner->screen() != nullptr ? owner->screen() : QGuiApplication::primaryScreen()) {
    const QRect area = screen->availableGeometry();
    size = size.boundedTo(QSize(area.width() - 16, area.height() - kFrameAllowance));
  }
  resize(size.expandedTo(minimumSize()));

  Reload();
  CenterForm(*this);
}

frmProgress::~frmProgress() = default;

void frmProgress::ShowModal(QWidget* owner, const std::string& journalPath, bool keeping) {
  auto window = std::make_unique<frmProgress>(journalPath, keeping, owner);
  window->exec();
}

std::vector<SessionRecord> frmProgress::Shown() const {
  std::vector<SessionRecord> shown;
  shown.reserve(shown_.size());
  for (std::uint32_t i : shown_) shown.push_back(all_[i]);
  return shown;
}

QString frmProgress::ExportFolder() {
  const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
  return !documents.isEmpty() && QDir(documents).exists() ? documents : QDir::homePath();
}

void frmProgress::resizeEvent(QResizeEvent* event) {
  DialogPattern::resizeEvent(event);
  if (body_ != nullptr) body_->setGeometry(0, 0, width(), height() - (picBottom != nullptr ? picBottom->height() : 0));
}

void frmProgress::SetStatus(const std::string& text) {
  lblStatus_->setText(ToQString(text));
  lblStatus_->setVisible(!text.empty());
}

void frmProgress::Reload() {
  all_.clear();
  shown_.clear();
  model_->Show(&all_, &shown_);
  std::error_code missing;
  if (std::filesystem::exists(path_, missing)) {
    try {
      // Reading never waits long for another copy's writing.
      journal::JournalStore store(path_, 250);
      if (!store.SetAsideAs().empty()) {
        const std::string told = journal::JournalWriter::SetAsideText(path_, store.SetAsideAs());
        ShowNotice(told);
        SetStatus(told);
      }
      all_ = store.Sessions();
    } catch (const std::exception& error) {
      MsgBox(std::string("The journal cannot be read: ") + error.what(), MsgButtons::Ok, MsgIcon::Exclamation);
    }
  }
  std::set<enmIssue> issues;
  for (const SessionRecord& s : all_) issues.insert(s.issue);
  cboIssue_->clear();
  cboIssue_->addItem(QStringLiteral("All issues"), IssueNumber(issNA));
  for (enmIssue issue : issues) cboIssue_->addItem(ToQString(modIssues::GetIssueName(issue)), IssueNumber(issue));
  const int at = cboIssue_->findData(IssueNumber(issue_));
  if (at < 0) issue_ = issNA;
  cboIssue_->setCurrentIndex(at < 0 ? 0 : at);
  ShowFiltered();
}

void frmProgress::FilterIssue(enmIssue issue) {
  issue_ = issue;
  const int at = cboIssue_->findData(IssueNumber(issue));
  if (at >= 0) cboIssue_->setCurrentIndex(at);
  ShowFiltered();
}

void frmProgress::ShowFiltered() {
  shown_ = journal::ShownSessions(all_, issue_);
  model_->Show(&all_, &shown_);
  tblSessions_->resizeColumnsToContents();
  // The words take what room is left: long ones do not push the table wider.
  QHeaderView* header = tblSessions_->horizontalHeader();
  const int wordsWidth = TwipsToPixels(kWordsColumnWidth);
  if (header->sectionSize(SessionTableModel::kWordsColumn) > wordsWidth) {
    header->resizeSection(SessionTableModel::kWordsColumn, wordsWidth);
  }
  if (shown_.empty()) {
    lblSummary_->setText(keeping_
                             ? QStringLiteral("No sessions recorded yet. A session is recorded from its first rating.")
                             : QStringLiteral("No sessions recorded yet. Turn on \"Keep a Journal\" in the menu."));
  } else {
    lblSummary_->setText(ToQString(journal::SummaryText(journal::Summarise(all_, shown_))));
  }
  DrawChart();
  UpdateButtons();
}

void frmProgress::UpdateButtons() {
  cmdExport_->setEnabled(!shown_.empty());
  cmdDelete_->setEnabled(tblSessions_->selectionModel()->hasSelection());
  cmdDeleteAll_->setEnabled(!all_.empty() || !journal::SetAsideCopies(path_).empty());
}

void frmProgress::DrawChart() {
  if (chart_ == nullptr) return;  // the chart could not be loaded: its place says why
  const QDateTime now = QDateTime::currentDateTime();
  const journal::ChartPlan plan = journal::PlanChart(all_, shown_, now.offsetFromUtc() * 1000LL);
  chart_->draw(chartView_, plan, ToQString(journal::PeriodAdjective(plan.period)));
}

bool frmProgress::ExportCsv(const QString& path) {
  QSaveFile file(path);
  const std::string csv = journal::ToCsv(Shown());
  // Owner-only from the start, as the journal is: set on the new file before anything is written.
  if (file.open(QIODevice::WriteOnly) && file.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner) &&
      file.write(csv.data(), static_cast<qint64>(csv.size())) == static_cast<qint64>(csv.size()) && file.commit()) {
    const std::string told = "The journal was exported to \"" + ToStdString(QDir::toNativeSeparators(path)) + "\".";
    SetStatus(told);
    ShowNotice(told);
    return true;
  }
  file.cancelWriting();
  MsgBox("The journal could not be exported to " + ToStdString(path) + ": " + ToStdString(file.errorString()),
         MsgButtons::Ok, MsgIcon::Exclamation);
  return false;
}

void frmProgress::cmdExport_Click() {
  const QString path = QFileDialog::getSaveFileName(
      this, QStringLiteral("Export the Journal"),
      QDir(ExportFolder()).filePath(QStringLiteral("serenitap-journal.csv")), QStringLiteral("CSV files (*.csv)"));
  if (!path.isEmpty()) ExportCsv(path);
}

bool frmProgress::DeleteSelected() {
  std::vector<std::int64_t> ids;
  const QModelIndexList rows = tblSessions_->selectionModel()->selectedRows();
  for (const QModelIndex& row : rows) ids.push_back(model_->At(row.row()).id);
  if (ids.empty()) return false;
  std::string question;
  if (ids.size() == 1) {
    const SessionRecord& s = model_->At(rows.front().row());
    question = "Delete the session of " + ToStdString(SessionTime(s.started, QStringLiteral("d MMM yyyy, HH:mm"))) +
               " (" + RatingsOf(s) + ")?";
  } else {
    question = "Delete the " + std::to_string(ids.size()) + " selected sessions? This cannot be undone.";
  }
  if (AskNoByDefault(question) != MsgAnswer::Yes) return false;
  try {
    journal::JournalStore(path_, 250).Delete(ids);
  } catch (const std::exception& error) {
    MsgBox(std::string("The sessions could not be deleted: ") + error.what(), MsgButtons::Ok, MsgIcon::Exclamation);
    return false;
  }
  Reload();
  return true;
}

bool frmProgress::DeleteAll() {
  const std::vector<std::string> copies = journal::SetAsideCopies(path_);
  const std::size_t copyCount = journal::SetAsideJournalCount(copies);
  if (all_.empty() && copies.empty()) return false;
  std::string question;
  if (!all_.empty()) {
    question = all_.size() == 1 ? std::string("Delete the only session?")
                                : "Delete all " + std::to_string(all_.size()) + " sessions?";
    if (copyCount > 0) {
      question += " The " + Plural(copyCount, "unreadable copy", "unreadable copies") +
                  " of the journal set aside earlier will be deleted too.";
    }
  } else {
    question = "Delete the " + Plural(copyCount, "unreadable copy", "unreadable copies") +
               " of the journal set aside earlier?";
  }
  question += " This cannot be undone.";
  if (AskNoByDefault(question) != MsgAnswer::Yes) return false;
  try {
    if (!all_.empty()) journal::JournalStore(path_, 250).DeleteAll();
  } catch (const std::exception& error) {
    MsgBox(std::string("The journal could not be emptied: ") + error.what(), MsgButtons::Ok, MsgIcon::Exclamation);
    return false;
  }
  const std::vector<std::string> kept = journal::DeleteFiles(copies);
  Reload();
  if (!kept.empty()) {
    MsgBox("These set-aside copies of the journal could not be deleted: " + kept.front() +
               (kept.size() > 1 ? " and " + Plural(kept.size() - 1, "other", "others") : std::string()) + ".",
           MsgButtons::Ok, MsgIcon::Exclamation);
  }
  return true;
}

}  // namespace serenitap
