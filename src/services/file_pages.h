#pragma once
// The program's own memory use, where the operating system lets it choose.
#include <cstddef>

namespace serenitap {

// Gives back the memory of the file pages the process holds unchanged: the
// code and tables of the program and its libraries, its fonts. Starting reads
// many of them once (the libraries' symbol and relocation tables, the code
// that builds the window) and never again; whatever is used afterwards is
// mapped again from the system's file cache, without reading the disk.
// Pages the process has changed (relocated tables, data) are kept. Returns
// the size of the mappings given back; 0 where the system cannot tell them.
std::size_t ReleaseUnchangedFilePages();

// Gives back the first pages of every file the process maps read-only: in a
// library, its symbol and relocation tables, which the dynamic linker reads
// through once as it loads and links it, and which are never written. Reads
// only the list of mappings, so it is quick enough for the moment the
// program's libraries have just been loaded. Returns the size given back.
std::size_t ReleaseLinkTables();

}  // namespace serenitap
