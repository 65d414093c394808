#pragma once
// Setting aside a file that cannot be read, so that nothing in it is lost and
// a fresh one can take its place: the file is renamed to
// "<file>.unreadable-YYYYMMDD-HHMMSS" (the local time of the computer), with
// "-2", "-3", ... added while that name is taken by anything, also by a
// dangling symbolic link. The settings file and the journal both use it.
#include <string>
#include <system_error>

namespace serenitap {

// The time part of the name: "YYYYMMDD-HHMMSS", local time, from the clock of
// the computer.
std::string SetAsideStamp();

// Renames file aside as above and answers the new name; on failure answers an
// empty text and error says why (file is then left where it was). Gives up
// after 999 taken names.
std::string SetFileAside(const std::string& file, std::error_code& error);

}  // namespace serenitap
