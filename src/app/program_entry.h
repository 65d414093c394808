#pragma once
// The program proper is a module, serenitap_program.so, beside the executable
// in the build folder and in lib/serenitap once installed. The executable
// (start.cpp) starts reading the font configuration on a thread of its own,
// then loads the module, which brings the toolkit's libraries: the two
// dearest steps of a start run side by side instead of one after the other.

namespace serenitap {

// The thread the executable reads the font configuration on.
struct FontThread {
  // Hands it one more job, run once the configuration has been read; false
  // when there is no thread to take it (the caller goes on without).
  bool (*then)(void (*job)());
  // Returns once the configuration has been read and the job run (at once
  // when there was no thread).
  void (*wait)();
};

// The module's entry: runs the program and returns its exit code.
using ProgramEntry = int (*)(int* argc, char** argv, const FontThread* fonts);

inline constexpr char kProgramModule[] = "serenitap_program.so";
inline constexpr char kProgramEntry[] = "SerenitapProgramMain";

}  // namespace serenitap
