#include "app/program_setup.h"

#include <QApplication>
#include <QIcon>
#include <QScreen>
#include <optional>

#include "services/os_info.h"
#include "services/product.h"
#include "ui/dialogs/error_report_dialog.h"
#include "ui/dialogs/message_box_dialog.h"
#include "ui/look.h"
#include "ui/main/notice_strip.h"
#include "ui/qt_text.h"

namespace serenitap {
namespace {

std::optional<ScreenFacts> PrimaryScreenFacts() {
  const QScreen* screen = QGuiApplication::primaryScreen();
  if (screen == nullptr) return std::nullopt;
  ScreenFacts facts;
  facts.bitsPerPixel = screen->depth();
  facts.logicalDpiX = static_cast<std::int32_t>(screen->logicalDotsPerInchX() + 0.5);
  const QRect area = screen->availableGeometry();
  facts.workLeft = area.left();
  facts.workTop = area.top();
  facts.workRight = area.left() + area.width();
  facts.workBottom = area.top() + area.height();
  return facts;
}

}  // namespace

void SetUpProgram() {
  ApplyDesignedLook();
  QApplication::setApplicationName(ToQString(product::kName));
  QApplication::setWindowIcon(QIcon(QStringLiteral(":/serenitap.svg")));
  QGuiApplication::setDesktopFileName(QStringLiteral("com.quorvex.Serenitap"));
  InstallMessageBoxDialogs();
  InstallErrorReportDialog();
  InstallNoticeDisplay();
  SetScreenFactsSource(PrimaryScreenFacts);
}

}  // namespace serenitap
