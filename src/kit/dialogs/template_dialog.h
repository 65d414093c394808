#pragma once
// frmZTemplate: the dialog pattern with a data-changed flag and a save prompt
// on closing, for dialogs that edit data. Nothing in the program opens it;
// dialogs that edit data derive from it and override ValidateData, SaveWork
// and OkAction.
#include "services/message_box.h"
#include "ui/dialogs/dialog_pattern.h"

class QLabel;
class QPushButton;

namespace serenitap {

class frmZTemplate : public DialogPattern {
  Q_OBJECT

 public:
  explicit frmZTemplate(QWidget* owner = nullptr);
  ~frmZTemplate() override;

  // Shows the window modally; returns when it has closed.
  void ShowUp();

  void SetDataChangedFlag() { mblnDataChanged = true; }
  void CleanDataChangedFlag() { mblnDataChanged = false; }
  bool DataChanged() const { return mblnDataChanged; }

  // "Do you wish to save your changes?" with Yes, No and Cancel.
  MsgAnswer AskSaveChanges();
  // The save prompt; cancel tells whether the window must stay open.
  void QuerySaveBeforeClose(bool& cancel);
  // The dialog's own checks; the template accepts everything.
  virtual bool ValidateData() { return true; }
  // Validates and saves; true when saved.
  bool SaveData();

  void cmdOK_Click();
  void cmdSave_Click();

  // The loaded instance, or null when none is loaded.
  static frmZTemplate* Instance();

 protected:
  // The dialog's own work for OK and for saving; nothing in the template.
  virtual void OkAction() {}
  virtual void SaveWork() {}

  bool QueryClose() override;
  bool PreviewKey(QKeyEvent& event) override;

  bool mblnDataChanged = false;
  QPushButton* cmdOK = nullptr;
  QPushButton* cmdCancel = nullptr;
  QPushButton* cmdSave = nullptr;
  QLabel* lblGen0 = nullptr;
};

}  // namespace serenitap
