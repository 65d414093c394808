#include "session/guidance.h"

#include <string_view>
#include <vector>

#include "content/instructions.h"
#include "content/own_words.h"
#include "content/statements.h"
#include "services/notice.h"
#include "services/trim.h"

namespace serenitap {
namespace {

constexpr std::string_view kLineBreak = "\r\n";
constexpr std::string_view kParagraphBreak = "\r\n\r\n";

// The text without its bracketed hints, with the blanks they leave behind
// folded into one.
std::string WithoutHints(std::string_view text) {
  std::string out;
  int depth = 0;
  for (char c : text) {
    if (c == '[') {
      ++depth;
    } else if (c == ']' && depth > 0) {
      --depth;
    } else if (depth == 0 && !(c == ' ' && (out.empty() || out.back() == ' '))) {
      out += c;
    }
  }
  return out;
}

// A part as it is said: no hints, no outer blanks, and a closing full stop
// when it has no closing punctuation of its own (so the voice pauses there).
std::string AsSaid(std::string_view part) {
  std::string said(TrimBlanks(WithoutHints(part)));
  if (said.empty()) return said;
  std::string_view core = said;
  while (!core.empty() && (core.back() == '\'' || core.back() == '"' || core.back() == ')')) core.remove_suffix(1);
  const bool closed = (!core.empty() && std::string_view(".!?:;").find(core.back()) != std::string_view::npos) ||
                      core.ends_with("\u2026");
  if (!closed) said += '.';
  return said;
}

std::vector<std::string_view> Lines(std::string_view text) {
  std::vector<std::string_view> lines;
  while (true) {
    const auto end = text.find(kLineBreak);
    if (!TrimBlanks(text.substr(0, end)).empty()) lines.push_back(text.substr(0, end));
    if (end == std::string_view::npos) return lines;
    text.remove_prefix(end + kLineBreak.size());
  }
}

void AddPart(std::string& utterance, std::string_view part) {
  const std::string said = AsSaid(part);
  if (said.empty()) return;
  if (!utterance.empty()) utterance += '\n';
  utterance += said;
}

}  // namespace

std::int32_t PlaceInRound(enmStep step) {
  if (!IsTappingPoint(step)) return 0;
  enmStep point = stpTopHead1;
  for (std::int32_t place = 1; place <= 16; ++place) {
    if (point == step) return place;
    point = modSteps::GetNextStep(point);
  }
  return 0;
}

std::string GuidanceUtterance(enmStep step, enmIssue issue, bool positiveRound, std::string_view ownWords) {
  std::string utterance;
  if (const std::int32_t place = PlaceInRound(step); place > 0) {
    AddPart(utterance, modSteps::GetStepName(step));
    const std::string sequence = modIssues::WithOwnWords(
        positiveRound ? modIssues::GetStringForPositiveSequence(issue) : modIssues::GetStringForNegativeSequence(issue),
        ownWords);
    const auto lines = Lines(sequence);
    if (!lines.empty()) AddPart(utterance, lines[static_cast<std::size_t>(place - 1) % lines.size()]);
  } else if (step == stpLeftHand || step == stpRightHand) {
    // The affirmation sentence is the last paragraph of the karate-chop text.
    const std::string text = modIssues::WithOwnWords(modIssues::GetStringForActivationStep(issue), ownWords);
    const auto start = text.rfind(kParagraphBreak);
    AddPart(utterance, start == std::string::npos ? std::string_view(text)
                                                  : std::string_view(text).substr(start + kParagraphBreak.size()));
  } else if (step >= stpIntro && step <= stpFinish) {
    AddPart(utterance, GetSegmentTitle(step, positiveRound));
    const std::string instructions = modIssues::WithOwnWords(GetStepInstructions(step, issue, positiveRound), ownWords);
    for (std::string_view line : Lines(instructions)) AddPart(utterance, line);
  }
  return utterance;
}

std::int32_t SayNowLine(std::string_view instructions, enmStep step) {
  const std::int32_t place = PlaceInRound(step);
  if (place == 0) return -1;
  // The statements follow the lead paragraph, one a line; blank lines hold none.
  std::vector<std::int32_t> statements;
  bool pastLead = false;
  std::int32_t index = 0;
  while (true) {
    const auto end = instructions.find(kLineBreak);
    const std::string_view line = instructions.substr(0, end);
    if (TrimBlanks(line).empty()) {
      pastLead = true;
    } else if (pastLead) {
      statements.push_back(index);
    }
    if (end == std::string_view::npos) break;
    instructions.remove_prefix(end + kLineBreak.size());
    ++index;
  }
  if (statements.empty()) return -1;
  return statements[static_cast<std::size_t>(place - 1) % statements.size()];
}

std::string RoundLine(enmStep step, std::int32_t roundCount, bool positiveRound) {
  if (PlaceInRound(step) == 0) return {};
  const std::string round = "Round " + std::to_string(roundCount);
  return positiveRound ? round + ": positive" : round + " of the negative rounds";
}

// ---------------------------------------------------------------------------

SpokenGuidance::SpokenGuidance(ISpeaker& speaker) : speaker_(speaker) {}

std::int32_t SpokenGuidance::PhraseTimeLimit(const std::string& text) {
  // Five seconds to get going, then a fifth of a second a character: about
  // half the pace of the slowest voice setting.
  std::int32_t characters = 0;
  for (unsigned char c : text) characters += (c & 0xC0) != 0x80 ? 1 : 0;
  return 500 + 20 * characters;
}

template <class Call>
void SpokenGuidance::Use(Call&& call) {
  try {
    call();
  } catch (...) {
    SpeakerFailed("the speech service could not be reached");
  }
}

void SpokenGuidance::TurnOn(enmStep step, enmIssue issue, bool positiveRound, bool paused, std::string_view ownWords) {
  if (on_) return;
  on_ = true;
  Say(step, issue, positiveRound, ownWords);
  if (paused) Pause();
}

void SpokenGuidance::TurnOff() {
  if (!on_) return;
  on_ = false;
  waiting_ = false;
  holdsPoint_ = false;
  paused_ = false;
  Use([&] { speaker_.Stop(); });
}

void SpokenGuidance::StepShown(enmStep step, enmIssue issue, bool positiveRound, std::string_view ownWords) {
  if (!on_) return;
  paused_ = false;  // a step change ends a pause
  Say(step, issue, positiveRound, ownWords);
}

void SpokenGuidance::Say(enmStep step, enmIssue issue, bool positiveRound, std::string_view ownWords) {
  const std::string text = GuidanceUtterance(step, issue, positiveRound, ownWords);
  ++phrase_;
  waitedTicks_ = 0;
  if (text.empty()) {
    waiting_ = false;
    holdsPoint_ = false;
    Use([&] { speaker_.Stop(); });
    return;
  }
  waiting_ = true;
  holdsPoint_ = PlaceInRound(step) > 0;
  limitTicks_ = PhraseTimeLimit(text);
  const std::uint32_t phrase = phrase_;
  Use([&] { speaker_.Say(phrase, text); });
}

void SpokenGuidance::Pause() {
  if (!on_ || paused_) return;
  paused_ = true;
  Use([&] { speaker_.Pause(); });
}

void SpokenGuidance::Resume() {
  if (!on_ || !paused_) return;
  paused_ = false;
  Use([&] { speaker_.Resume(); });
}

void SpokenGuidance::Stop() {
  if (!on_) return;
  ++phrase_;  // whatever the speaker still reports belongs to the past
  waiting_ = false;
  holdsPoint_ = false;
  paused_ = false;
  Use([&] { speaker_.Stop(); });
}

void SpokenGuidance::Tick() {
  if (!on_ || !waiting_) return;
  if (++waitedTicks_ > limitTicks_) SpeakerFailed("the speech service stopped answering");
}

bool SpokenGuidance::HoldsStep() const { return on_ && waiting_ && holdsPoint_; }

void SpokenGuidance::PhraseFinished(std::uint32_t phrase) {
  if (phrase != phrase_) return;
  waiting_ = false;
  holdsPoint_ = false;
}

void SpokenGuidance::SpeakerFailed(const std::string& reason) {
  if (!on_) return;
  TurnOff();
  ShowNotice("Spoken Guidance has been turned off: " + reason + ".");
  if (onTurnedOff) onTurnedOff();
}

}  // namespace serenitap
