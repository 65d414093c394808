#include <cstdio>
#include <memory>

#include "app/bench_hooks.h"
#include "app/display_check.h"
#include "app/font_warm_up.h"
#include "app/mod_main.h"
#include "app/program_setup.h"
#include "app/safe_application.h"
#include "services/instance_lock.h"
#include "settings/options.h"
#include "ui/dialogs/about_dialog.h"
#include "ui/dialogs/shortcuts_dialog.h"
#include "ui/dialogs/what_is_it_dialog.h"
#include "ui/fonts.h"
#include "ui/journal/progress_dialog.h"
#include "ui/main/commands.h"
#include "ui/main/main_controller.h"
#include "ui/main/main_window.h"

int main(int argc, char* argv[]) {
  using namespace serenitap;
  if (auto reason = MissingDisplayReason()) {
    std::fprintf(stderr, "%s\n", reason->c_str());
    return 1;
  }
  FontConfigurationWarmUp fonts;  // runs while the application connects to the display
  SafeApplication app(argc, argv);
  SetUpProgram();
  FontConfigurationWait() = [&fonts] { fonts.Wait(); };  // the main window's first text waits for it

  InstanceLock instances;
  std::unique_ptr<frmMain> window;
  modMain::StartupSteps steps;
  // Each window waits for the font configuration before it shows text.
  steps.anotherInstanceRunning = [&] {
    const bool others = instances.AcquireAndCheckOthers();
    if (others) fonts.Wait();  // the question comes next
    return others;
  };
  steps.showWhatIsItAtStartup = [] { return modOptions::ShowWhatIsItWindow(); };
  steps.showWhatIsItModal = [&] {
    fonts.Wait();
    frmWhatIsIt::ShowModal(nullptr);
  };
  steps.showMainWindow = [&] {
    window = std::make_unique<frmMain>();
    MainWindowDialogs dialogs;
    dialogs.showAboutModal = [](QWidget* owner) { frmAbout_NEW::ShowModal(owner); };
    dialogs.showWhatIsItModal = [](QWidget* owner) { frmWhatIsIt::ShowModal(owner); };
    dialogs.createShortcuts = []() -> QWidget* { return frmShortcuts::Open(ShortcutRows()); };
    dialogs.showProgressModal = [](QWidget* owner, const std::string& path, bool keeping) {
      frmProgress::ShowModal(owner, path, keeping);
    };
    auto* controller = new MainWindowController(*window, std::move(dialogs));
    controller->Form_Load();
    InstallBenchHooks(*window, &window->StepTimer());  // nothing unless a SERENITAP_BENCH_* variable is set
    InstallProgressBenchHook(*window, [controller] { controller->mnuPopUpProgress_Click(); });
    window->show();
  };
  // A failure reported while the main window was being set up leaves it open.
  const bool started = modMain::Main(steps);
  FontConfigurationWait() = nullptr;
  if (!started && window == nullptr) return 0;
  return QApplication::exec();
}
