#pragma once
// modOptions and the layout of the program's stored settings: the base key
// "Software\Serenitap" under HKEY_CURRENT_USER, its "\WindowPosition",
// "\Options" and "\Words" keys, the start-up option of the introduction
// window and the user's choices.
#include <cstdint>
#include <string>
#include <string_view>

namespace serenitap::modOptions {

inline constexpr std::string_view kBaseKey = "Software\\Serenitap";
inline constexpr std::string_view kWindowPositionKey = "Software\\Serenitap\\WindowPosition";
inline constexpr std::string_view kOptionsKey = "Software\\Serenitap\\Options";
inline constexpr std::string_view kShowWhatIsIt = "ShowWhatIsIt";
inline constexpr std::string_view kSpeakGuidance = "SpeakGuidance";
inline constexpr std::string_view kKeepJournal = "KeepJournal";
inline constexpr std::string_view kPointSeconds = "PointSeconds";
// The user's own words, one REG_SZ value per issue, named by the issue's
// number in decimal ("50").
inline constexpr std::string_view kWordsKey = "Software\\Serenitap\\Words";

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

// The paces a tapping point can have, in seconds; the first is the designed one.
inline constexpr std::int32_t kPointSecondsChoices[] = {2, 3, 4, 6};
// Seconds a tapping point lasts: the stored "PointSeconds" when it is one of
// the choices above, otherwise (missing, another number or type) 2.
std::int32_t PointSeconds();
// Stores the pace (a value outside the choices is stored as 2); returns the
// writer's text.
std::string PointSeconds(std::int32_t seconds);

// The words stored for an issue (by its number), "" when there are none.
std::string Words(std::int32_t issue);
// Stores the words for an issue as REG_SZ; empty words remove the value, so
// a store that never had words stays as it was. Returns the writer's text,
// "Success" or "No! Failed to save Value".
std::string Words(std::int32_t issue, std::string_view words);

}  // namespace serenitap::modOptions
