#include "kit/dialogs/template_dialog.h"

#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>

namespace serenitap {
namespace {

// clang-format off
struct DesignedControls {
  DialogControl cmdOK;
  DialogControl cmdCancel;
  DialogControl cmdSave;
  DialogControl lblGen0;
};
constexpr DesignedControls kControls{
    //            name        caption          left   top  width  height
    .cmdOK =     {"cmdOK",      "&OK",            600,  240,  1185,  390},
    .cmdCancel = {"cmdCancel",  "&Cancel",       1980,  240,  1185,  390},
    .cmdSave =   {"cmdSave",    "&Save",         3360,  240,  1185,  390},
    .lblGen0 =   {"lblGen(0)",  "Sample text",    210,  270,  4245,  435},
};
constexpr DialogDesign kDesign{4680, 3195, 840};
// clang-format on

}  // namespace

frmZTemplate::frmZTemplate(QWidget* owner) : DialogPattern(owner) {
  LoadedWindow<frmZTemplate>::Register(this);
  setObjectName(QStringLiteral("frmZTemplate"));
  setWindowTitle(QStringLiteral("frmZTemplate"));
  PaintWhite(this);
  resize(TwipsToPixels(kDesign.width), TwipsToPixels(kDesign.height));
  CreateBottomStrip(kDesign.bottomHeight);
  cmdOK = AddButton(picBottom, kControls.cmdOK);
  cmdCancel = AddButton(picBottom, kControls.cmdCancel);
  cmdSave = AddButton(picBottom, kControls.cmdSave);
  cmdOK->setDefault(true);
  lblGen0 = AddLabel(this, kControls.lblGen0);
  SetKeyPreview(true);
  connect(cmdOK, &QPushButton::clicked, this, &frmZTemplate::cmdOK_Click);
  connect(cmdSave, &QPushButton::clicked, this, &frmZTemplate::cmdSave_Click);
  connect(cmdCancel, &QPushButton::clicked, this, &QWidget::close);
  CleanDataChangedFlag();
}

frmZTemplate::~frmZTemplate() { LoadedWindow<frmZTemplate>::Forget(this); }

frmZTemplate* frmZTemplate::Instance() { return LoadedWindow<frmZTemplate>::Get(); }

void frmZTemplate::ShowUp() { exec(); }

MsgAnswer frmZTemplate::AskSaveChanges() {
  return MsgBox("Do you wish to save your changes?", MsgButtons::YesNoCancel, MsgIcon::Question);
}

void frmZTemplate::QuerySaveBeforeClose(bool& cancel) {
  cancel = false;
  if (!DataChanged()) return;
  switch (AskSaveChanges()) {
    case MsgAnswer::Cancel: cancel = true; return;
    case MsgAnswer::Yes:
      if (!SaveData()) {
        cancel = true;
        return;
      }
      break;
    default: break;
  }
  CleanDataChangedFlag();
}

bool frmZTemplate::SaveData() {
  if (!ValidateData()) return false;
  SaveWork();
  CleanDataChangedFlag();
  return true;
}

void frmZTemplate::cmdOK_Click() {
  RunCommand([this] { OkAction(); });
}

void frmZTemplate::cmdSave_Click() {
  RunCommand([this] { SaveData(); });
}

bool frmZTemplate::QueryClose() {
  bool cancel = false;
  QuerySaveBeforeClose(cancel);
  return cancel;
}

bool frmZTemplate::PreviewKey(QKeyEvent& event) {
  switch (event.key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter: cmdOK_Click(); return true;
    case Qt::Key_Escape: close(); return true;
    default: return false;
  }
}

}  // namespace serenitap
