#pragma once
// The user's own words for an issue: what takes the place of the bracketed
// placeholders "[your problem here]" and "[your trauma here]" in the texts of a
// session. Pure functions of their arguments.
#include <cstddef>
#include <string>
#include <string_view>

#include "content/issues.h"

namespace serenitap::modIssues {

// The longest words kept, in characters (Unicode code points).
inline constexpr std::size_t kOwnWordsMaxCharacters = 200;

// Words as they are kept and used: every line break (CR LF, CR, LF, and the
// Unicode line and paragraph separators) and every other control character
// becomes one blank, bytes that are not UTF-8 are dropped, at most
// kOwnWordsMaxCharacters characters are kept and blanks at both ends are
// dropped. Any other character (accents, right-to-left scripts, emoji,
// quotes, backslashes, blanks between words) is kept as it is.
std::string CleanOwnWords(std::string_view words);

// True when a text of the issue (its affirmation or its statements) has a
// placeholder for the user's own words.
bool TakesOwnWords(enmIssue issue);

// The text with every placeholder replaced by the words (cleaned as above).
// Words that are empty once cleaned leave the text exactly as it is.
std::string WithOwnWords(std::string_view text, std::string_view words);

}  // namespace serenitap::modIssues
