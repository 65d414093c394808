#include "ui/journal/progress_dialog.h"

#include <QAbstractTableModel>
#include <QComboBox>
#include <QDateTime>
#include <QFileDialog>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QSaveFile>
#include <QTableView>
#include <QVBoxLayout>
#include <QtCharts/QChart>
#include <QtCharts/QChartView>
#include <QtCharts/QDateTimeAxis>
#include <QtCharts/QLineSeries>
#include <QtCharts/QValueAxis>
#include <filesystem>
#include <memory>
#include <set>

#include "content/issues.h"
#include "journal/journal_store.h"
#include "services/message_box.h"
#include "ui/qt_text.h"
#include "ui/twips.h"

namespace serenitap {

using journal::SessionRecord;

class SessionTableModel : public QAbstractTableModel {
 public:
  using QAbstractTableModel::QAbstractTableModel;
  void Show(const std::vector<SessionRecord>* sessions) {
    beginResetModel();
    sessions_ = sessions;
    endResetModel();
  }
  int rowCount(const QModelIndex& parent = {}) const override {
    return parent.isValid() || sessions_ == nullptr ? 0 : static_cast<int>(sessions_->size());
  }
  int columnCount(const QModelIndex& parent = {}) const override { return parent.isValid() ? 0 : 6; }
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override {
    static const char* const kTitles[] = {"Started", "Issue", "Before", "After", "Rounds", "Ended by"};
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole) return {};
    return QString::fromLatin1(kTitles[section]);
  }
  QVariant data(const QModelIndex& index, int role) const override {
    if (!index.isValid() || (role != Qt::DisplayRole && role != Qt::AccessibleTextRole)) return {};
    const SessionRecord& s = (*sessions_)[static_cast<std::size_t>(index.row())];
    switch (index.column()) {
      case 0: return QDateTime::fromMSecsSinceEpoch(s.started).toString(QStringLiteral("yyyy-MM-dd HH:mm"));
      case 1: return ToQString(modIssues::GetIssueName(s.issue));
      case 2: return s.firstRating;
      case 3: return s.LastRating();
      case 4: return s.rounds;
      case 5: return s.end == journal::SessionEnd::Open ? QStringLiteral("(open)") : ToQString(EndText(s.end));
    }
    return {};
  }

 private:
  const std::vector<SessionRecord>* sessions_ = nullptr;
};

// clang-format off
constexpr DialogControl kControls[] = {
    // name            caption           left   top  width  height
    {"cmdExport",    "&Export…",          240,  225,  1500,  390},
    {"cmdDelete",    "&Delete…",         1860,  225,  1500,  390},
    {"cmdDeleteAll", "Delete &All…",     3480,  225,  1500,  390},
    {"cmdClose",     "&Close",           5100,  225,  1185,  390},
};
// The window opens at this size and may be resized; the chart keeps at least
// kChartMinHeight of it.
constexpr DialogDesign kDesign{11400, 9000, 840, kControls};
constexpr double kChartMinHeight = 3600;
// clang-format on

frmProgress::frmProgress(std::string journalPath, QWidget* owner)
    : DialogPattern(owner), path_(std::move(journalPath)) {
  setObjectName(QStringLiteral("frmProgress"));
  setWindowTitle(QStringLiteral("My Progress"));
  resize(TwipsToPixels(kDesign.width), TwipsToPixels(kDesign.height));
  PaintWhite(this);

  body_ = new QWidget(this);
  auto* layout = new QVBoxLayout(body_);
  auto* filterRow = new QHBoxLayout();
  auto* filterLabel = new QLabel(QStringLiteral("&Issue:"), body_);
  cboIssue_ = new QComboBox(body_);
  cboIssue_->setObjectName(QStringLiteral("cboIssue"));
  cboIssue_->setAccessibleName(QStringLiteral("Issue"));
  filterLabel->setBuddy(cboIssue_);
  lblSummary_ = new QLabel(body_);
  lblSummary_->setObjectName(QStringLiteral("lblSummary"));
  filterRow->addWidget(filterLabel);
  filterRow->addWidget(cboIssue_);
  filterRow->addWidget(lblSummary_, 1);
  layout->addLayout(filterRow);

  chart_ = new QChart();
  chart_->setTitle(QStringLiteral("Distress before and after tapping (lower is better)"));
  chartView_ = new QChartView(chart_, body_);
  chartView_->setObjectName(QStringLiteral("chtProgress"));
  chartView_->setAccessibleName(QStringLiteral("Chart of the ratings before and after tapping"));
  chartView_->setRenderHint(QPainter::Antialiasing);
  chartView_->setMinimumHeight(TwipsToPixels(kChartMinHeight));
  layout->addWidget(chartView_, 3);

  model_ = new SessionTableModel(this);
  tblSessions_ = new QTableView(body_);
  tblSessions_->setObjectName(QStringLiteral("tblSessions"));
  tblSessions_->setAccessibleName(QStringLiteral("Sessions"));
  tblSessions_->setModel(model_);
  tblSessions_->setSelectionBehavior(QAbstractItemView::SelectRows);
  tblSessions_->setSelectionMode(QAbstractItemView::ExtendedSelection);
  tblSessions_->setTabKeyNavigation(false);
  tblSessions_->verticalHeader()->hide();
  tblSessions_->horizontalHeader()->setStretchLastSection(true);
  layout->addWidget(tblSessions_, 2);

  CreateBottomStrip(kDesign.bottomHeight);
  auto* cmdExport = AddButton(picBottom, kDesign.Control("cmdExport"));
  auto* cmdDelete = AddButton(picBottom, kDesign.Control("cmdDelete"));
  auto* cmdDeleteAll = AddButton(picBottom, kDesign.Control("cmdDeleteAll"));
  auto* cmdClose = AddButton(picBottom, kDesign.Control("cmdClose"));
  connect(cmdExport, &QPushButton::clicked, this, [this] { RunCommand([this] { cmdExport_Click(); }); });
  connect(cmdDelete, &QPushButton::clicked, this, [this] { RunCommand([this] { DeleteSelected(); }); });
  connect(cmdDeleteAll, &QPushButton::clicked, this, [this] { RunCommand([this] { DeleteAll(); }); });
  connect(cmdClose, &QPushButton::clicked, this, &QWidget::close);
  connect(cboIssue_, &QComboBox::activated, this,
          [this](int at) { FilterIssue(static_cast<enmIssue>(cboIssue_->itemData(at).toInt())); });

  Reload();
  CenterForm(*this);
}

frmProgress::~frmProgress() = default;

void frmProgress::ShowModal(QWidget* owner, const std::string& journalPath) {
  auto window = std::make_unique<frmProgress>(journalPath, owner);
  window->exec();
}

void frmProgress::resizeEvent(QResizeEvent* event) {
  DialogPattern::resizeEvent(event);
  if (body_ != nullptr) body_->setGeometry(0, 0, width(), height() - (picBottom != nullptr ? picBottom->height() : 0));
}

void frmProgress::Reload() {
  all_.clear();
  std::error_code missing;
  if (std::filesystem::exists(path_, missing)) {
    try {
      // Reading never waits long for another copy's writing.
      journal::JournalStore store(path_, 250);
      all_ = store.Sessions();
    } catch (const std::exception& error) {
      MsgBox(std::string("The journal cannot be read: ") + error.what(), MsgButtons::Ok, MsgIcon::Exclamation);
    }
  }
  std::set<enmIssue> issues;
  for (const SessionRecord& s : all_) issues.insert(s.issue);
  cboIssue_->clear();
  cboIssue_->addItem(QStringLiteral("All issues"), 0);
  for (enmIssue issue : issues) cboIssue_->addItem(ToQString(modIssues::GetIssueName(issue)), issue);
  const int at = cboIssue_->findData(issue_);
  if (at < 0) issue_ = 0;
  cboIssue_->setCurrentIndex(at < 0 ? 0 : at);
  ShowFiltered();
}

void frmProgress::FilterIssue(enmIssue issue) {
  issue_ = issue;
  const int at = cboIssue_->findData(issue);
  if (at >= 0) cboIssue_->setCurrentIndex(at);
  ShowFiltered();
}

void frmProgress::ShowFiltered() {
  shown_.clear();
  for (const SessionRecord& s : all_) {
    if (issue_ == 0 || s.issue == issue_) shown_.push_back(s);
  }
  model_->Show(&shown_);
  tblSessions_->resizeColumnsToContents();
  if (shown_.empty()) {
    lblSummary_->setText(QStringLiteral("No sessions recorded yet. Turn on \"Keep a Journal\" in the menu."));
  } else {
    double drop = 0;
    for (const SessionRecord& s : shown_) drop += s.firstRating - s.LastRating();
    lblSummary_->setText(QStringLiteral("%1 sessions; the rating fell by %2 points a session on average.")
                             .arg(shown_.size())
                             .arg(drop / static_cast<double>(shown_.size()), 0, 'f', 1));
  }
  DrawChart();
}

void frmProgress::DrawChart() {
  chart_->removeAllSeries();
  for (QAbstractAxis* axis : chart_->axes()) {
    chart_->removeAxis(axis);
    delete axis;
  }
  auto* before = new QLineSeries();
  before->setName(QStringLiteral("Before tapping"));
  before->setColor(QColor(0xC0, 0x39, 0x2B));
  auto* after = new QLineSeries();
  after->setName(QStringLiteral("After tapping"));
  after->setColor(QColor(0x1E, 0x8E, 0x3E));
  QList<QPointF> first, last;
  first.reserve(static_cast<qsizetype>(shown_.size()));
  last.reserve(static_cast<qsizetype>(shown_.size()));
  for (const SessionRecord& s : shown_) {
    first.append(QPointF(static_cast<qreal>(s.started), s.firstRating));
    last.append(QPointF(static_cast<qreal>(s.started), s.LastRating()));
  }
  before->replace(first);
  after->replace(last);
  const bool few = shown_.size() <= 200;
  before->setPointsVisible(few);
  after->setPointsVisible(few);
  chart_->addSeries(before);
  chart_->addSeries(after);

  auto* time = new QDateTimeAxis();
  time->setFormat(QStringLiteral("d MMM yyyy"));
  time->setTitleText(QStringLiteral("Session"));
  const qint64 from = shown_.empty() ? QDateTime::currentMSecsSinceEpoch() - 86400000 : shown_.front().started;
  const qint64 to = shown_.empty() ? QDateTime::currentMSecsSinceEpoch() : shown_.back().started;
  const qint64 margin = std::max<qint64>((to - from) / 20, 3600000);
  time->setRange(QDateTime::fromMSecsSinceEpoch(from - margin), QDateTime::fromMSecsSinceEpoch(to + margin));
  auto* rating = new QValueAxis();
  rating->setRange(0, 10);
  rating->setTickCount(11);
  rating->setLabelFormat(QStringLiteral("%d"));
  rating->setTitleText(QStringLiteral("Distress (SUD)"));
  chart_->addAxis(time, Qt::AlignBottom);
  chart_->addAxis(rating, Qt::AlignLeft);
  for (QLineSeries* series : {before, after}) {
    series->attachAxis(time);
    series->attachAxis(rating);
  }
}

bool frmProgress::ExportCsv(const QString& path) {
  QSaveFile file(path);
  const std::string csv = journal::ToCsv(shown_);
  if (file.open(QIODevice::WriteOnly) &&
      file.write(csv.data(), static_cast<qint64>(csv.size())) == static_cast<qint64>(csv.size()) && file.commit()) {
    return true;
  }
  MsgBox("The journal could not be exported to " + ToStdString(path) + ": " + ToStdString(file.errorString()),
         MsgButtons::Ok, MsgIcon::Exclamation);
  return false;
}

void frmProgress::cmdExport_Click() {
  const QString path =
      QFileDialog::getSaveFileName(this, QStringLiteral("Export the Journal"), QStringLiteral("serenitap-journal.csv"),
                                   QStringLiteral("CSV files (*.csv)"));
  if (!path.isEmpty()) ExportCsv(path);
}

bool frmProgress::DeleteSelected() {
  std::vector<std::int64_t> ids;
  for (const QModelIndex& row : tblSessions_->selectionModel()->selectedRows()) {
    ids.push_back(shown_[static_cast<std::size_t>(row.row())].id);
  }
  if (ids.empty()) {
    MsgBox("Select the sessions to delete in the table first.", MsgButtons::Ok, MsgIcon::Information);
    return false;
  }
  const std::string question =
      ids.size() == 1 ? std::string("Delete the selected session from the journal?")
                      : "Delete the " + std::to_string(ids.size()) + " selected sessions from the journal?";
  if (MsgBox(question, MsgButtons::YesNo, MsgIcon::Question) != MsgAnswer::Yes) return false;
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
  if (all_.empty()) return false;
  if (MsgBox("Delete all " + std::to_string(all_.size()) + " sessions from the journal? This cannot be undone.",
             MsgButtons::YesNo, MsgIcon::Question) != MsgAnswer::Yes) {
    return false;
  }
  try {
    journal::JournalStore(path_, 250).DeleteAll();
  } catch (const std::exception& error) {
    MsgBox(std::string("The journal could not be emptied: ") + error.what(), MsgButtons::Ok, MsgIcon::Exclamation);
    return false;
  }
  Reload();
  return true;
}

}  // namespace serenitap
