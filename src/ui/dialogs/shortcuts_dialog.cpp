#include "ui/dialogs/shortcuts_dialog.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QPushButton>
#include <QTreeWidget>
#include <algorithm>
#include <iterator>

namespace serenitap {
namespace {

struct Column {
  const char* key;
  const char* header;
  double width;
};

constexpr Column kColumns[] = {
    {"col1", "COL 1", 3900},
    {"col2", "COL 2", 6900},
};

// The first row's number; the rows' keys are "row " + number + column.
constexpr int kFirstRow = 5;
// Room between the list and the button strip.
constexpr double kListBottomMargin = 180;

// clang-format off
struct DesignedControls {
  DialogControl ltvShortcuts;
  DialogControl cmdCancel;
};
constexpr DesignedControls kControls{
    //               name           caption     left   top   width  height (the list's grows with its rows)
    .ltvShortcuts = {"ltvShortcuts",  "",          180,  270, 11040,  1785},
    .cmdCancel =    {"cmdCancel",     "&Close",  9915,  240,  1185,   390},
};
constexpr DialogDesign kDesign{11400, 2895, 840};
// clang-format on

}  // namespace

frmShortcuts::frmShortcuts(QList<ShortcutRow> rows, QWidget* owner) : DialogPattern(owner), rows_(std::move(rows)) {
  LoadedWindow<frmShortcuts>::Register(this);
  setObjectName(QStringLiteral("frmShortcuts"));
  setWindowTitle(QStringLiteral("Keboard Shortcuts"));
  MakeFixedDialog(kDesign.width, kDesign.height);
  PaintWhite(this);

  ltvShortcuts = new QTreeWidget(this);
  PlaceControl(ltvShortcuts, kControls.ltvShortcuts);
  ltvShortcuts->setAccessibleName(QStringLiteral("Keyboard shortcuts"));
  ltvShortcuts->setRootIsDecorated(false);
  ltvShortcuts->setItemsExpandable(false);
  ltvShortcuts->setUniformRowHeights(true);
  ltvShortcuts->header()->setStretchLastSection(true);
  ltvShortcuts->setSelectionBehavior(QAbstractItemView::SelectRows);
  ltvShortcuts->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);

  CreateBottomStrip(kDesign.bottomHeight);
  cmdCancel = AddButton(picBottom, kControls.cmdCancel);
  cmdCancel->setToolTip(QStringLiteral("Cancel changes and close dialog (Esc)"));
  cmdCancel->setAutoDefault(false);
  connect(cmdCancel, &QPushButton::clicked, this, &QWidget::close);

  SetKeyPreview(true);
  Form_Load();
  CenterForm(*this);
}

frmShortcuts::~frmShortcuts() { LoadedWindow<frmShortcuts>::Forget(this); }

frmShortcuts* frmShortcuts::Instance() { return LoadedWindow<frmShortcuts>::Get(); }

frmShortcuts* frmShortcuts::Open(const QList<ShortcutRow>& rows) {
  frmShortcuts* window = LoadedWindow<frmShortcuts>::Get();
  if (window == nullptr) {
    window = new frmShortcuts(rows, nullptr);
    window->setAttribute(Qt::WA_DeleteOnClose);
  }
  window->show();
  window->raise();
  window->activateWindow();
  return window;
}

void frmShortcuts::Form_Load() {
  ltvShortcuts->setColumnCount(static_cast<int>(std::size(kColumns)));
  QTreeWidgetItem* header = ltvShortcuts->headerItem();
  for (int c = 0; c < static_cast<int>(std::size(kColumns)); ++c) {
    header->setText(c, QString::fromLatin1(kColumns[c].header));
    header->setData(c, kKeyRole, QString::fromLatin1(kColumns[c].key));
    ltvShortcuts->setColumnWidth(c, TwipsToPixels(kColumns[c].width));
  }
  int number = kFirstRow;
  for (const ShortcutRow& row : rows_) {
    auto* item = new QTreeWidgetItem(ltvShortcuts);
    const QString prefix = QStringLiteral("row ") + QString::number(number++);
    item->setText(0, row.action);
    item->setData(0, kKeyRole, prefix + QLatin1Char('1'));
    item->setText(1, row.keys);
    item->setData(1, kKeyRole, prefix + QLatin1Char('2'));
    item->setToolTip(1, row.keys);
  }
  // The list shows every row at once; the window grows to hold it.
  const int listHeight = ltvShortcuts->header()->sizeHint().height() +
                         static_cast<int>(rows_.size()) * std::max(1, ltvShortcuts->sizeHintForRow(0)) +
                         2 * ltvShortcuts->frameWidth();
  ltvShortcuts->resize(ltvShortcuts->width(), listHeight);
  setFixedSize(width(), ltvShortcuts->y() + listHeight + TwipsToPixels(kListBottomMargin + kDesign.bottomHeight));
}

bool frmShortcuts::PreviewKey(QKeyEvent& event) {
  switch (event.key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter: return true;  // consumed, nothing happens
    case Qt::Key_Escape: close(); return true;
    default: return false;
  }
}

}  // namespace serenitap
