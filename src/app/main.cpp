#include <QFontDatabase>
#include <cstdio>
#include <memory>
#include <type_traits>

#include "app/bench_hooks.h"
#include "app/display_check.h"
#include "app/mod_main.h"
#include "app/program_entry.h"
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

// The program proper, which the executable loads and runs (program_entry.h);
// the font configuration is being read meanwhile, on the thread fonts names.
extern "C" __attribute__((visibility("default"))) int SerenitapProgramMain(int* argc, char** argv,
                                                                           const serenitap::FontThread* fonts) {
  using namespace serenitap;
  if (auto reason = MissingDisplayReason()) {
    std::fprintf(stderr, "%s\n", reason->c_str());
    return 1;
  }
  std::unique_ptr<DisplayConnection> display;
  if (auto reason = DisplayConnection::Open(display)) {
    std::fprintf(stderr, "%s\n", reason->c_str());
    return 1;
  }
  SafeApplication app(*argc, argv);
  display.reset();  // the application has its own connection now
  // With the application made, the font thread also makes Qt's list of the
  // installed fonts (QFontDatabase's functions may be called from any
  // thread), which the first text would otherwise wait for. It is done before
  // the application goes.
  fonts->then([] { QFontDatabase::families(); });
  const struct FontsDoneFirst {
    void (*wait)();
    ~FontsDoneFirst() { wait(); }
  } fontsDoneFirst{fonts->wait};
  SetUpProgram();
  FontConfigurationWait() = fonts->wait;

  InstanceLock instances;
  std::unique_ptr<frmMain> window;
  modMain::StartupSteps steps;
  // Each window waits for the font configuration before it lays out text: the
  // question (a message box), a failure report, the introduction, the main window.
  steps.anotherInstanceRunning = [&] { return instances.AcquireAndCheckOthers(); };
  steps.showWhatIsItAtStartup = [] { return modOptions::ShowWhatIsItWindow(); };
  steps.showWhatIsItModal = [&] {
    fonts->wait();
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

// The executable calls the entry through this type.
static_assert(std::is_same_v<decltype(&SerenitapProgramMain), serenitap::ProgramEntry>);
