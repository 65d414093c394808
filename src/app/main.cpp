#include <QScreen>
#include <cstdio>
#include <memory>

#include "app/bench_hooks.h"
#include "app/display_check.h"
#include "app/mod_main.h"
#include "app/safe_application.h"
#include "services/instance_lock.h"
#include "services/os_info.h"
#include "services/product.h"
#include "settings/options.h"
#include "ui/dialogs/about_dialog.h"
#include "ui/dialogs/error_report_dialog.h"
#include "ui/dialogs/message_box_dialog.h"
#include "ui/dialogs/shortcuts_dialog.h"
#include "ui/dialogs/what_is_it_dialog.h"
#include "ui/journal/progress_dialog.h"
#include "ui/main/main_controller.h"
#include "ui/main/main_window.h"
#include "ui/main/notice_strip.h"
#include "ui/qt_text.h"

namespace {

// What the system information reads from the screen.
std::optional<serenitap::ScreenFacts> PrimaryScreenFacts() {
  const QScreen* screen = QGuiApplication::primaryScreen();
  if (screen == nullptr) return std::nullopt;
  serenitap::ScreenFacts facts;
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

int main(int argc, char* argv[]) {
  using namespace serenitap;
  if (auto reason = MissingDisplayReason()) {
    std::fprintf(stderr, "%s\n", reason->c_str());
    return 1;
  }
  SafeApplication app(argc, argv);
  QApplication::setApplicationName(ToQString(product::kName));
  QApplication::setWindowIcon(QIcon(QStringLiteral(":/serenitap.svg")));
  QGuiApplication::setDesktopFileName(QStringLiteral("com.quorvex.Serenitap"));
  InstallMessageBoxDialogs();
  InstallErrorReportDialog();
  InstallNoticeDisplay();
  SetScreenFactsSource(PrimaryScreenFacts);

  InstanceLock instances;
  std::unique_ptr<frmMain> window;
  modMain::StartupSteps steps;
  steps.anotherInstanceRunning = [&] { return instances.AcquireAndCheckOthers(); };
  steps.showWhatIsItAtStartup = [] { return modOptions::ShowWhatIsItWindow(); };
  steps.showWhatIsItModal = [] { frmWhatIsIt::ShowModal(nullptr); };
  steps.showMainWindow = [&] {
    window = std::make_unique<frmMain>();
    MainWindowDialogs dialogs;
    dialogs.showAboutModal = [](QWidget* owner) { frmAbout_NEW::ShowModal(owner); };
    dialogs.showWhatIsItModal = [](QWidget* owner) { frmWhatIsIt::ShowModal(owner); };
    dialogs.createShortcuts = []() -> QWidget* { return frmShortcuts::Open(); };
    dialogs.showProgressModal = [](QWidget* owner, const std::string& path) { frmProgress::ShowModal(owner, path); };
    auto* controller = new MainWindowController(*window, std::move(dialogs));
    controller->Form_Load();
    InstallBenchHooks(*window, &window->StepTimer());  // nothing unless a SERENITAP_BENCH_* variable is set
    window->show();
  };
  // A failure reported while the main window was being set up leaves it open.
  if (!modMain::Main(steps) && window == nullptr) return 0;
  return QApplication::exec();
}
