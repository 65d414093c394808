#include "ui/dialogs/message_box_dialog.h"

#include <QApplication>
#include <QMessageBox>

#include "services/message_box.h"
#include "ui/fonts.h"
#include "ui/qt_text.h"

namespace serenitap {
namespace {

QMessageBox::Icon IconOf(MsgIcon icon) {
  switch (icon) {
    case MsgIcon::None: return QMessageBox::NoIcon;
    case MsgIcon::Information: return QMessageBox::Information;
    case MsgIcon::Question: return QMessageBox::Question;
    case MsgIcon::Exclamation: return QMessageBox::Warning;
    case MsgIcon::Critical: return QMessageBox::Critical;
  }
  return QMessageBox::NoIcon;
}

QMessageBox::StandardButtons ButtonsOf(MsgButtons buttons) {
  switch (buttons) {
    case MsgButtons::Ok: return QMessageBox::Ok;
    case MsgButtons::OkCancel: return QMessageBox::Ok | QMessageBox::Cancel;
    case MsgButtons::YesNo: return QMessageBox::Yes | QMessageBox::No;
    case MsgButtons::YesNoCancel: return QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
  }
  return QMessageBox::Ok;
}

MsgAnswer ShowDialog(const MessageBoxRequest& request) {
  WaitForFontConfiguration();  // its text is laid out as it is made
  QMessageBox box(IconOf(request.icon), ToQString(request.title), ToQString(request.text), ButtonsOf(request.buttons),
                  QApplication::activeWindow());
  if (request.defaultButton) {
    const auto button = *request.defaultButton == MsgAnswer::No       ? QMessageBox::No
                        : *request.defaultButton == MsgAnswer::Cancel ? QMessageBox::Cancel
                        : *request.defaultButton == MsgAnswer::Yes    ? QMessageBox::Yes
                                                                      : QMessageBox::Ok;
    box.setDefaultButton(button);
    if (button == QMessageBox::No) box.setEscapeButton(QMessageBox::No);
  }
  switch (box.exec()) {
    case QMessageBox::Ok: return MsgAnswer::Ok;
    case QMessageBox::Yes: return MsgAnswer::Yes;
    case QMessageBox::No: return MsgAnswer::No;
    case QMessageBox::Cancel: return MsgAnswer::Cancel;
    default: return DismissAnswer(request.buttons);
  }
}

}  // namespace

void InstallMessageBoxDialogs() { SetMessageBoxSink(ShowDialog); }

}  // namespace serenitap
