#pragma once
// The program's start: the second-copy question, the introduction window when
// the user wants it, then the main window. The steps that need the desktop are
// passed in, so the order and the answers can be checked without one.
#include <functional>
#include <string>

namespace serenitap::modMain {

struct StartupSteps {
  std::function<bool()> anotherInstanceRunning;  // joins the running copies; true when one was already there
  std::function<bool()> showWhatIsItAtStartup;   // the "ShowWhatIsIt" option
  std::function<void()> showWhatIsItModal;       // returns when the introduction window has closed
  std::function<void()> showMainWindow;          // creates and shows the main window
};

// The question asked when another copy is running.
std::string SecondInstanceQuestion();

// Runs the start-up. Returns true when the main window was shown (the program
// goes on), false when the user chose not to run a second copy. A failure is
// reported under "modMain" / "Main" and counts as not started.
bool Main(const StartupSteps& steps);

}  // namespace serenitap::modMain
