#pragma once
// The session engine of the main window: the step machine driven by the 10 ms
// step timer, the session commands (Next, Previous, Pause, Resume, Finish,
// Start), the issue and SUD selection, and the progress display (which step
// shows what, the blinking dot, the dot colours, the elapsed time).
//
// The engine owns the session state and the window variables mblnActivated,
// mblnBusy and mintSUD. It drives the window through ISessionView; the window
// forwards its events (timer ticks, clicks, activation) to the procedures of
// the same names here. Every procedure runs on the user-interface thread.
#include <cstdint>
#include <map>
#include <string>
#include <string_view>

#include "session/guidance.h"
#include "session/session_observer.h"
#include "session/session_state.h"
#include "session/session_view.h"
#include "session/step_display.h"
#include "session/steps.h"

namespace serenitap {

class SessionEngine {
 public:
  static constexpr std::int32_t kDesignedPointSeconds = 2;

  explicit SessionEngine(ISessionView& view);
  SessionEngine(const SessionEngine&) = delete;
  SessionEngine& operator=(const SessionEngine&) = delete;

  // --- Loading and activation of the window ---------------------------------
  // Form_Load in two parts, to be called from the window's own guarded
  // Form_Load. Form_Load_Prepare: HideAllDots, zero the session seconds,
  // empty time label, SetModesCaptions. Form_Load_Session, after the window
  // has been placed and laid out: InitializeVariablesAndControls, then
  // ProcessSteps, which enters step 1 with the timer off.
  void Form_Load_Prepare();
  void Form_Load_Session();
  // The window's activation event: from now on the commands are accepted.
  void Form_Activate();

  // --- Step timer and the step machine --------------------------------------
  // One tick of tmrSteps (10 ms of step time).
  void tmrSteps_Timer();
  // Leaves step if its time (length seconds) is up or force is set, and shows
  // the new step: the Next successor when navigation is set, else the timer one.
  void ProcessSteps(enmStep step, std::int32_t length, bool force, bool navigation);
  // One step forward or back from penmCurrentStep.
  void Navigate(bool pblnForward, enmStep penmCurrentStep);
  // Timer and Pause/Resume buttons for the current step.
  void EnableDisableTimer();
  // The window's state before a session.
  void InitializeVariablesAndControls();
  // Zeroes the step counters, sets the current step, restores the default issue.
  void ResetSessionState(enmStep step);

  // --- Commands ---------------------------------------------------------------
  // Previous (0) or Next (1). Dropped before activation and while busy.
  void cmdNavig_Click(std::int16_t index);
  void cmdPause_Click();
  void cmdResume_Click();
  // Shows step 25. Dropped before activation and while busy.
  void cmdFinish_Click();
  // Resets the session and lands on step 4.
  void cmdStart_Click();
  // The hidden Share button: a "Share" message, guarded like the navigation.
  void cmdShare_Click();

  // --- Issue and SUD selection ------------------------------------------------
  void radMode_Click(std::int16_t index);
  void radSUD_Click(std::int16_t index);
  void lblSUDUnit_Click(std::int16_t index);
  void SetModesCaptions();
  void UpdateDisplay_SelectedIssue(enmIssue issue);

  // --- Progress display ---------------------------------------------------------
  void DisplayStep(enmStep step);
  void DisplayStepTexts(enmStep step);
  void HideAllDots();
  void PaintDotsGreenOrRed(bool green);
  void Blink();
  void Blink_Reset();
  void UpdateTimeElapsed(std::int32_t seconds);

  // --- Spoken guidance ----------------------------------------------------------
  // The guidance told of every step change, pause, resume and finish; while it
  // holds a tapping point the step timer does not leave the point. None: the
  // session runs without a voice.
  void SetGuidance(SpokenGuidance* guidance) { guidance_ = guidance; }

  // --- The user's own words ------------------------------------------------------
  // The words that take the place of the placeholders in the texts of an
  // issue (kept as content/own_words.h cleans them); "" when there are none.
  void SetOwnWords(enmIssue issue, std::string_view words);
  const std::string& OwnWords(enmIssue issue) const;

  // --- The user's pace ----------------------------------------------------------
  // Seconds each tapping point lasts: 2 (the designed pace), 3, 4 or 6; any
  // other value means 2. The karate chop and the relaxation keep their lengths.
  // A point already on screen takes the new length at once.
  void SetPointSeconds(std::int32_t seconds);
  std::int32_t PointSeconds() const { return pointSeconds_; }
  // The length of a step at the chosen pace, in seconds.
  std::int32_t StepLength(enmStep step) const;

  // --- State ------------------------------------------------------------------
  const SessionState& State() const { return state_; }
  // Direct access for the rare caller that must set up a situation by hand.
  SessionState& MutableState() { return state_; }
  bool mblnActivated() const { return activated_; }
  // Who is told of every change of step (nullptr: nobody).
  void SetObserver(ISessionObserver* observer) { observer_ = observer; }
  bool mblnBusy() const { return busy_; }
  std::int16_t mintSUD() const { return sud_; }

 private:
  void StopTimer();
  void TellObserver(enmStep from) const;

  ISessionView& view_;
  SpokenGuidance* guidance_ = nullptr;
  SessionState state_;
  bool activated_ = false;  // mblnActivated
  bool busy_ = false;       // mblnBusy
  std::int16_t sud_ = 0;    // mintSUD
  std::int32_t pointSeconds_ = kDesignedPointSeconds;
  std::map<enmIssue, std::string> ownWords_;
  ISessionObserver* observer_ = nullptr;
};

// Where the keyboard focus goes after a key has moved the session.
enum class FocusTarget {
  NextButton,      // cmdNavig(1)
  PreviousButton,  // cmdNavig(0)
  SUDChoice,       // radSUD(mintSUD)
};

// After a Next key: the SUD choice on step 24, else the Next button.
FocusTarget FocusAfterNext(enmStep currentStep);
// After a Previous key: the SUD choice on step 24, else the Previous button
// when it is enabled, else the Next button.
FocusTarget FocusAfterPrevious(enmStep currentStep, bool previousEnabled);

}  // namespace serenitap
