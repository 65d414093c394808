#include "content/own_words.h"

#include <array>

#include "content/issues.h"
#include "content/statements.h"

namespace serenitap::modIssues {
namespace {

constexpr std::array<std::string_view, 2> kPlaceholders = {"[your problem here]", "[your trauma here]"};

// Length of the well-formed UTF-8 sequence at the start of text; 0 when the
// first byte does not start one.
std::size_t SequenceLength(std::string_view text) {
  const auto lead = static_cast<unsigned char>(text[0]);
  std::size_t length = 0;
  char32_t lowest = 0;
  char32_t code = 0;
  if (lead < 0x80) return 1;
  if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2;
    lowest = 0x80;
    code = lead & 0x1F;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3;
    lowest = 0x800;
    code = lead & 0x0F;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4;
    lowest = 0x10000;
    code = lead & 0x07;
  } else {
    return 0;
  }
  if (text.size() < length) return 0;
  for (std::size_t i = 1; i < length; ++i) {
    const auto next = static_cast<unsigned char>(text[i]);
    if ((next & 0xC0) != 0x80) return 0;
    code = (code << 6) | (next & 0x3F);
  }
  const bool surrogate = code >= 0xD800 && code <= 0xDFFF;
  return code < lowest || code > 0x10FFFF || surrogate ? 0 : length;
}

// True for a character that is no text of its own in a one-line field: the
// C0 and C1 controls, DEL, and the Unicode line and paragraph separators.
bool BreaksTheLine(std::string_view character) {
  const auto first = static_cast<unsigned char>(character[0]);
  if (character.size() == 1) return first < 0x20 || first == 0x7F;
  if (character.size() == 2) return first == 0xC2 && static_cast<unsigned char>(character[1]) < 0xA0;
  return character == "\u2028" || character == "\u2029";
}

}  // namespace

std::string CleanOwnWords(std::string_view words) {
  std::string cleaned;
  std::size_t characters = 0;
  while (!words.empty() && characters < kOwnWordsMaxCharacters) {
    if (words.starts_with("\r\n")) words.remove_prefix(1);  // one line break, one blank
    const std::size_t length = SequenceLength(words);
    if (length == 0) {
      words.remove_prefix(1);
      continue;
    }
    const std::string_view character = words.substr(0, length);
    words.remove_prefix(length);
    const bool blank = character == " " || BreaksTheLine(character);
    if (blank && cleaned.empty()) continue;  // no blank at the start
    cleaned += blank ? std::string_view(" ") : character;
    ++characters;
  }
  // No blank at the end either.
  cleaned.erase(cleaned.find_last_not_of(' ') + 1);
  return cleaned;
}

bool TakesOwnWords(enmIssue issue) {
  for (const std::string& text :
       {GetStringForActivationStep(issue), GetStringForNegativeSequence(issue), GetStringForPositiveSequence(issue)}) {
    for (std::string_view placeholder : kPlaceholders) {
      if (text.find(placeholder) != std::string::npos) return true;
    }
  }
  return false;
}

std::string WithOwnWords(std::string_view text, std::string_view words) {
  const std::string cleaned = CleanOwnWords(words);
  if (cleaned.empty()) return std::string(text);
  std::string result;
  result.reserve(text.size() + cleaned.size());
  while (!text.empty()) {
    bool replaced = false;
    for (std::string_view placeholder : kPlaceholders) {
      if (text.starts_with(placeholder)) {
        result += cleaned;
        text.remove_prefix(placeholder.size());
        replaced = true;
        break;
      }
    }
    if (!replaced) {
      result += text.front();
      text.remove_prefix(1);
    }
  }
  return result;
}

}  // namespace serenitap::modIssues
