#include "app/program_setup.h"

#include <QApplication>
#include <QIcon>

#include "services/product.h"
#include "ui/dialogs/error_report_dialog.h"
#include "ui/dialogs/message_box_dialog.h"
#include "ui/look.h"
#include "ui/main/notice_strip.h"
#include "ui/qt_text.h"

// The resources of a static library are registered by hand.
static void InitWindowIcon() { Q_INIT_RESOURCE(window_icon); }

namespace serenitap {

QIcon WindowIcon() {
  InitWindowIcon();
  QIcon icon;
  for (const int size : kWindowIconSizes) icon.addFile(QStringLiteral(":/window-icon/%1.png").arg(size), {size, size});
  return icon;
}

void SetUpProgram() {
  ApplyDesignedLook();
  QApplication::setApplicationName(ToQString(product::kName));
  QApplication::setWindowIcon(WindowIcon());
  QGuiApplication::setDesktopFileName(QStringLiteral("com.quorvex.Serenitap"));
  InstallMessageBoxDialogs();
  InstallErrorReportDialog();
  InstallNoticeDisplay();
}

}  // namespace serenitap
