#pragma once
// frmShortcuts: the list of the session's keyboard and mouse shortcuts, shown
// beside the main window (modeless).
#include "ui/dialogs/dialog_pattern.h"

class QPushButton;
class QTreeWidget;

namespace serenitap {

class frmShortcuts : public DialogPattern {
  Q_OBJECT

 public:
  // The item data role that holds the keys of the list's rows and columns.
  static constexpr int kKeyRole = Qt::UserRole;

  explicit frmShortcuts(QWidget* owner = nullptr);
  ~frmShortcuts() override;

  // Shows the window without waiting: the open one when there is one,
  // otherwise a fresh one, released when it closes.
  static frmShortcuts* Open();
  // The loaded instance, or null when none is loaded.
  static frmShortcuts* Instance();

 protected:
  bool PreviewKey(QKeyEvent& event) override;

 private:
  void Form_Load();

  QTreeWidget* ltvShortcuts = nullptr;
  QPushButton* cmdCancel = nullptr;
};

}  // namespace serenitap
