#pragma once
// The start-up option of the introduction window ("ShowWhatIsIt" under
// Software\Serenitap\Options): the only two settings calls the dialogs make.
#include <cstdint>

namespace serenitap {

// True exactly when the stored option is 1.
bool ReadShowWhatIsIt();
// Stores the option; the result of the write is not examined.
void SaveShowWhatIsIt(std::int32_t value);

}  // namespace serenitap
