#pragma once
// modOptions and the layout of the program's stored settings: the base key
// "Software\Serenitap" under HKEY_CURRENT_USER, its "\WindowPosition" and
// "\Options" keys, and the start-up option of the introduction window.
#include <string>
#include <string_view>

namespace serenitap::modOptions {

inline constexpr std::string_view kBaseKey = "Software\\Serenitap";
inline constexpr std::string_view kWindowPositionKey = "Software\\Serenitap\\WindowPosition";
inline constexpr std::string_view kOptionsKey = "Software\\Serenitap\\Options";
inline constexpr std::string_view kShowWhatIsIt = "ShowWhatIsIt";
inline constexpr std::string_view kSpeakGuidance = "SpeakGuidance";
inline constexpr std::string_view kKeepJournal = "KeepJournal";

// True when the introduction window is to be shown at start-up: the stored
// "ShowWhatIsIt" is 1 (missing, another number or another type: false).
// Failures are reported under "modOptions" / "ShowWhatIsItWindow".
bool ShowWhatIsItWindow();

// Stores the option: 1 when show is true, 0 otherwise. Returns the writer's
// text, "Success" or "No! Failed to save Value".
std::string ShowWhatIsItWindow(bool show);

// True when the steps are to be spoken: the stored "SpeakGuidance" is 1
// (missing, another number or another type: false). Failures are reported
// under "modOptions" / "SpeakGuidance".
bool SpeakGuidance();

// Stores the option: 1 when on, 0 otherwise. Returns the writer's text,
// "Success" or "No! Failed to save Value".
std::string SpeakGuidance(bool on);

// Whether sessions are recorded in the journal: the stored "KeepJournal" is 1
// (missing, another number or another type: false).
bool KeepJournal();
// Stores the choice as 1 or 0; returns the writer's text.
std::string KeepJournal(bool keep);

}  // namespace serenitap::modOptions
