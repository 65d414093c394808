#include "app/program_setup.h"

#include <QApplication>
#include <QIcon>
#include <QPixmapCache>

#include "app/program_icon.h"
#include "services/product.h"
#include "ui/dialogs/error_report_dialog.h"
#include "ui/dialogs/message_box_dialog.h"
#include "ui/look.h"
#include "ui/main/notice_strip.h"
#include "ui/qt_text.h"

namespace serenitap {

void SetUpProgram() {
  ApplyDesignedLook();
  // Nothing drawn is kept for the next paint: the style kept the face of each
  // button at each of its sizes and states (70 KB for the toolbar alone), for
  // repaints that are rare and quick here.
  QPixmapCache::setCacheLimit(0);
  QApplication::setApplicationName(ToQString(product::kName));
  QApplication::setWindowIcon(ProgramIcon());  // pixels made at build time from :/serenitap.svg
  QGuiApplication::setDesktopFileName(QStringLiteral("com.quorvex.Serenitap"));
  InstallMessageBoxDialogs();
  InstallErrorReportDialog();
  InstallNoticeDisplay();
}

}  // namespace serenitap
