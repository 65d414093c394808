#include "ui/dialogs/shortcuts_dialog.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QPushButton>
#include <QTreeWidget>
#include <iterator>

namespace serenitap {
namespace {

QPointer<frmShortcuts>& Loaded() {
  static QPointer<frmShortcuts> instance;
  return instance;
}

struct Column {
  const char* key;
  const char* header;
  double width;
};

constexpr Column kColumns[] = {
    {"col1", "COL 1", 2700},
    {"col2", "COL 2", 5100},
};

struct Row {
  int number;
  const char* action;
  const char* keys;
};

constexpr Row kRows[] = {
    {5, "Advance to the next step", "'N', left click, space, right or down arrow, enter, or page down"},
    {6, "Return to the previous step", "'P', backspace, left or up arrow, or page up"},
    {7, "Pause tapping", "Esc or Alt + A"},
    {8, "Go to Finish", "Alt + F"},
    {9, "Choose the issue", "1 to 9, or 0 for the tenth in the list"},
    {10, "Rate the issue", "0 to 9, or 1 then 0 for 10"},
};

// clang-format off
constexpr DialogControl kControls[] = {
    // name           caption     left   top  width  height
    {"ltvShortcuts",  "",          180,  270,  7965,  1785},
    {"cmdCancel",     "&Close",   6750,  240,  1185,   390},
};
constexpr DialogDesign kDesign{8235, 2895, 840, kControls};
// clang-format on

}  // namespace

frmShortcuts::frmShortcuts(QWidget* owner) : DialogPattern(owner) {
  Loaded() = this;
  setObjectName(QStringLiteral("frmShortcuts"));
  setWindowTitle(QStringLiteral("Keboard Shortcuts"));
  MakeFixedDialog(kDesign.width, kDesign.height);
  PaintWhite(this);

  ltvShortcuts = new QTreeWidget(this);
  PlaceControl(ltvShortcuts, kDesign.Control("ltvShortcuts"));
  ltvShortcuts->setAccessibleName(QStringLiteral("Keyboard shortcuts"));
  ltvShortcuts->setRootIsDecorated(false);
  ltvShortcuts->setItemsExpandable(false);
  ltvShortcuts->setUniformRowHeights(true);
  // The installed sans-serif runs wider than the design font: a slightly
  // smaller size keeps the longest row whole in its column.
  QFont listFont = ltvShortcuts->font();
  listFont.setPointSizeF(listFont.pointSizeF() * 0.85);
  ltvShortcuts->setFont(listFont);
  ltvShortcuts->header()->setStretchLastSection(false);  // the columns keep their widths
  ltvShortcuts->setSelectionBehavior(QAbstractItemView::SelectRows);
  ltvShortcuts->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  // The column headers only name the columns; the rows speak for themselves.
  ltvShortcuts->setHeaderHidden(true);

  CreateBottomStrip(kDesign.bottomHeight);
  cmdCancel = AddButton(picBottom, kDesign.Control("cmdCancel"));
  cmdCancel->setToolTip(QStringLiteral("Cancel changes and close dialog (Esc)"));
  cmdCancel->setAutoDefault(false);
  connect(cmdCancel, &QPushButton::clicked, this, &QWidget::close);
  connect(this, &DialogPattern::Unloaded, this, [this] {
    if (Loaded() == this) Loaded() = nullptr;
  });

  SetKeyPreview(true);
  Form_Load();
  CenterForm(*this);
}

frmShortcuts::~frmShortcuts() {
  if (Loaded() == this) Loaded() = nullptr;
}

frmShortcuts* frmShortcuts::Instance() { return Loaded(); }

frmShortcuts* frmShortcuts::Open() {
  frmShortcuts* window = Loaded();
  if (window == nullptr) {
    window = new frmShortcuts(nullptr);
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
  for (const Row& row : kRows) {
    auto* item = new QTreeWidgetItem(ltvShortcuts);
    const QString prefix = QStringLiteral("row ") + QString::number(row.number);
    item->setText(0, QString::fromLatin1(row.action));
    item->setData(0, kKeyRole, prefix + QLatin1Char('1'));
    item->setText(1, QString::fromLatin1(row.keys));
    item->setData(1, kKeyRole, prefix + QLatin1Char('2'));
    item->setToolTip(1, QString::fromLatin1(row.keys));
  }
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
