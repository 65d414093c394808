#pragma once
// The program proper is a module, serenitap_program.so, beside the executable
// in the build folder and in lib/serenitap once installed. The executable
// (start.cpp) starts reading the font configuration on a thread of its own,
// then loads the module, which brings the toolkit's libraries: the two
// dearest steps of a start run side by side instead of one after the other.

namespace serenitap {

// The module's entry: runs the program and returns its exit code. waitForFonts
// returns once the font configuration the executable started reading has
// been read (at once when it was not started).
using ProgramEntry = int (*)(int* argc, char** argv, void (*waitForFonts)());

inline constexpr char kProgramModule[] = "serenitap_program.so";
inline constexpr char kProgramEntry[] = "SerenitapProgramMain";

}  // namespace serenitap
