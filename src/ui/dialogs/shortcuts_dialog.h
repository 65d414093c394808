#pragma once
// frmShortcuts: the list of the main window's commands and the keys and
// clicks that run them, shown beside the main window (modeless).
#include <QList>
#include <QString>

#include "ui/dialogs/dialog_pattern.h"

class QPushButton;
class QTreeWidget;

namespace serenitap {

// One row of the list: what a command does, and its keys.
struct ShortcutRow {
  QString action;
  QString keys;
};

class frmShortcuts : public DialogPattern {
  Q_OBJECT

 public:
  // The item data role that holds the keys of the list's rows and columns.
  static constexpr int kKeyRole = Qt::UserRole;

  explicit frmShortcuts(QList<ShortcutRow> rows, QWidget* owner = nullptr);
  ~frmShortcuts() override;

  // Shows the window without waiting: the open one when there is one,
  // otherwise a fresh one, released when it closes.
  static frmShortcuts* Open(const QList<ShortcutRow>& rows);
  // The loaded instance, or null when none is loaded.
  static frmShortcuts* Instance();

 protected:
  bool PreviewKey(QKeyEvent& event) override;

 private:
  void Form_Load();

  QList<ShortcutRow> rows_;
  QTreeWidget* ltvShortcuts = nullptr;
  QPushButton* cmdCancel = nullptr;
};

}  // namespace serenitap
