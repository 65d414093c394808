#include "app/mod_main.h"

#include "services/failure.h"
#include "services/message_box.h"
#include "services/product.h"

namespace serenitap::modMain {

std::string SecondInstanceQuestion() {
  return "Another instance of " + std::string(product::kName) + " is already running.\r\n\r\n" +
         "Do you want to run another instance?";
}

bool Main(const StartupSteps& steps) {
  bool started = false;
  Guarded("modMain", "Main", [&] {
    // The bottom button set stays off: the session state starts with it false.
    if (steps.anotherInstanceRunning && steps.anotherInstanceRunning()) {
      if (MsgBox(SecondInstanceQuestion(), MsgButtons::YesNo, MsgIcon::Question) != MsgAnswer::Yes) return;
    }
    if (steps.showWhatIsItAtStartup && steps.showWhatIsItAtStartup() && steps.showWhatIsItModal) {
      steps.showWhatIsItModal();
    }
    if (steps.showMainWindow) steps.showMainWindow();
    started = true;
  });
  return started;
}

}  // namespace serenitap::modMain
