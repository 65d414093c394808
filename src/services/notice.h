#pragma once
// Notices: things the user should know that need no answer (settings that could
// not be read or saved, spoken guidance or the journal turning themselves off).
// A notice never blocks: the program shows it in the main window's status strip
// for a while; until a sink is installed (and in tests) it goes to standard error.
#include <functional>
#include <string>
#include <string_view>

namespace serenitap {

using NoticeSink = std::function<void(const std::string&)>;

// Hands the text to the installed sink. Never throws.
void ShowNotice(std::string_view text);

// Installs a sink and returns the one it replaces; an empty sink restores the default.
NoticeSink SetNoticeSink(NoticeSink sink);

}  // namespace serenitap
