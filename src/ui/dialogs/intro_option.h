#pragma once
// The start-up option of the introduction window ("ShowWhatIsIt" under
// Software\Serenitap\Options): the only two settings calls the dialogs make.
#include <cstdint>
#include <functional>

namespace serenitap {

// True exactly when the stored option is 1.
bool ReadShowWhatIsIt();
// Stores the option; the result of the write is not examined.
void SaveShowWhatIsIt(std::int32_t value);

// Where the two calls above go. The program never changes it: they read and
// write the settings store. Tests put their own functions in to make a call
// fail; an empty function stands for the store's own.
struct IntroOptionAccess {
  std::function<bool()> read;
  std::function<void(std::int32_t)> save;
};
// Installs access and returns the one it replaces.
IntroOptionAccess SetIntroOptionAccess(IntroOptionAccess access);

}  // namespace serenitap
