#pragma once
// Spoken guidance: what is said when a step is shown, and the pacing rule that
// lets a tapping point end only once its phrase has been spoken. The voice
// itself is an ISpeaker that the window supplies (the desktop's speech
// service); everything here is plain C++ and runs on the user-interface thread.
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "content/issues.h"
#include "session/steps.h"

namespace serenitap {

// The place of a tapping point in its round, in the order the step timer walks
// the points: 1 for step 7 up to 16 for step 22; 0 for every other step.
std::int32_t PlaceInRound(enmStep step);

// What is said when a step is shown, as one text whose parts are separated by
// line breaks; "" when there is nothing to say.
// - A tapping point: its name, then line k of the round's statements at the
//   k-th point of the round (starting again at line 1 when the lines run out).
// - The karate-chop steps: the affirmation sentence of the issue.
// - Any other step 1..25: its title (when it has one), then its instructions.
// Bracketed hints such as "[your problem here]" are not read out, and a name
// or line without closing punctuation gets a full stop so the voice pauses.
// With the user's own words (see content/own_words.h) in place of the hints.
std::string GuidanceUtterance(enmStep step, enmIssue issue, bool positiveRound, std::string_view ownWords = {});

// The line of a tapping point's instructions that holds the statement to say
// at that point (the line the guidance reads there), counted from 0 over the
// CR LF separated lines of the instructions; -1 on every other step.
std::int32_t SayNowLine(std::string_view instructions, enmStep step);

// Where the session is while tapping: "Round 2 of the negative rounds",
// "Round 3: positive"; "" on every step that is not a tapping point.
std::string RoundLine(enmStep step, std::int32_t roundCount, bool positiveRound);

// The voice. Calls return at once; the speaker reports back through
// SpokenGuidance::PhraseFinished and SpokenGuidance::SpeakerFailed.
class ISpeaker {
 public:
  virtual ~ISpeaker() = default;
  // Starts saying text, cutting off whatever is still being said.
  virtual void Say(std::uint32_t phrase, const std::string& text) = 0;
  virtual void Pause() = 0;
  virtual void Resume() = 0;
  // Silence: drops what is being said and what is paused.
  virtual void Stop() = 0;
};

// The guidance of one session window. Off until TurnOn; while off it calls
// nothing and holds nothing, so the session runs exactly as without it.
class SpokenGuidance {
 public:
  explicit SpokenGuidance(ISpeaker& speaker);
  SpokenGuidance(const SpokenGuidance&) = delete;
  SpokenGuidance& operator=(const SpokenGuidance&) = delete;

  bool IsOn() const { return on_; }

  // The user's choice. Turning on says the step now shown (and keeps it
  // paused when the session is paused); turning off silences the voice.
  void TurnOn(enmStep step, enmIssue issue, bool positiveRound, bool paused, std::string_view ownWords = {});
  void TurnOff();

  // The session's events.
  void StepShown(enmStep step, enmIssue issue, bool positiveRound, std::string_view ownWords = {});
  void Pause();
  void Resume();
  void Stop();  // Finish and closing the window
  // One tick of the step timer: a phrase that has not finished long after it
  // should have counts as a failure of the speech service.
  void Tick();

  // True while a tapping point's phrase is still being spoken: the step timer
  // must not leave the point yet (its time keeps counting).
  bool HoldsStep() const;

  // The speaker's reports. A report about an earlier phrase is ignored.
  void PhraseFinished(std::uint32_t phrase);
  // Turns the guidance off for good (until the user turns it on again) and
  // tells the user once, without waiting for an answer.
  void SpeakerFailed(const std::string& reason);

  // Called after the guidance has turned itself off because of a failure.
  std::function<void()> onTurnedOff;

  // The longest wait for a phrase, in ticks of 10 ms, before it counts as failed.
  static std::int32_t PhraseTimeLimit(const std::string& text);

 private:
  void Say(enmStep step, enmIssue issue, bool positiveRound, std::string_view ownWords);
  // Runs a speaker call; a speaker that throws has failed.
  template <class Call>
  void Use(Call&& call);

  ISpeaker& speaker_;
  bool on_ = false;
  bool paused_ = false;
  std::uint32_t phrase_ = 0;  // the latest phrase handed to the speaker
  bool waiting_ = false;      // ...and it has not finished yet
  bool holdsPoint_ = false;   // ...and it belongs to a tapping point
  std::int32_t waitedTicks_ = 0;
  std::int32_t limitTicks_ = 0;
};

}  // namespace serenitap
