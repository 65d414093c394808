#include "session/engine.h"

#include <functional>
#include <limits>

#include "content/instructions.h"
#include "content/issues.h"
#include "content/own_words.h"
#include "services/failure.h"
#include "services/message_box.h"

namespace serenitap {
namespace {

constexpr std::string_view kModule = "frmMain";
constexpr std::string_view kNavigateModule = "modNavigate";

[[noreturn]] void SubscriptOutOfRange(std::source_location where = std::source_location::current()) {
  throw RuntimeFailure(errors::kSubscriptRange, "Subscript out of range", where);
}

// The session counters are 32-bit: counting past the top is an overflow
// failure of the counting procedure, never a silent wrap.
void CountOne(std::int32_t& counter, std::source_location where = std::source_location::current()) {
  if (counter == std::numeric_limits<std::int32_t>::max()) throw RuntimeFailure(errors::kOverflow, "Overflow", where);
  ++counter;
}

}  // namespace

SessionEngine::SessionEngine(ISessionView& view) : view_(view) {}

void SessionEngine::StopTimer() { view_.SetStepTimerEnabled(false); }

void SessionEngine::TellObserver(enmStep from) const {
  if (observer_ != nullptr) observer_->StepChanged({from, state_.genmCurrentStep, state_.genmSelectedIssue, sud_});
}

// ---------------------------------------------------------------------------
// Loading and activation

void SessionEngine::Form_Load_Prepare() {
  HideAllDots();
  state_.glngSessionSeconds = 0;
  view_.SetTimeText("");
  SetModesCaptions();
}

void SessionEngine::Form_Load_Session() {
  InitializeVariablesAndControls();
  // Step and length are both 0 now, so this enters step 1 at once.
  ProcessSteps(state_.genmCurrentStep, state_.glngStepLength, false, false);
}

void SessionEngine::Form_Activate() {
  if (!activated_) activated_ = true;
}

// ---------------------------------------------------------------------------
// Step timer and step machine

void SessionEngine::tmrSteps_Timer() {
  Guarded(
      kModule, "tmrSteps_Timer",
      [this] {
        if (guidance_ != nullptr) guidance_->Tick();
        ProcessSteps(state_.genmCurrentStep, state_.glngStepLength, false, false);
        if (IsBlinkingStep(state_.genmCurrentStep)) Blink();
        state_.glngTickMs += 10;
        if (state_.glngTickMs >= 1000) {
          CountOne(state_.glngStepSeconds);
          CountOne(state_.glngSessionSeconds);
          state_.glngTickMs = 0;
          UpdateTimeElapsed(state_.glngSessionSeconds);
        }
      },
      [this] { StopTimer(); });
}

void SessionEngine::ProcessSteps(enmStep step, std::int32_t length, bool force, bool navigation) {
  Guarded(
      kModule, "ProcessSteps",
      [&] {
        SessionState& s = state_;
        if (!force && s.glngStepSeconds < length) return;                      // the step is not over
        if (!force && guidance_ != nullptr && guidance_->HoldsStep()) return;  // its phrase is still being said
        s.glngStepSeconds = 0;                                                 // glngTickMs keeps running

        const enmStep from = s.genmCurrentStep;
        const enmStep next = navigation ? modSteps::GetNextStep_Navigation(step, s) : modSteps::GetNextStep(step);
        s.genmCurrentStep = next > stpReassessSUD ? stpIntro : next;
        s.glngStepLength = StepLength(s.genmCurrentStep);
        Blink_Reset();

        if (s.genmCurrentStep == stpTopHead1) {
          // A new round. Rounds 1 and 2 are negative, the later ones positive.
          CountOne(s.glngRoundCount);
          const bool wasPositive = s.gblnPositiveRound;
          s.gblnPositiveRound = s.glngRoundCount > 2;
          if (s.gblnPositiveRound != wasPositive) PaintDotsGreenOrRed(s.gblnPositiveRound);
        }

        DisplayStep(s.genmCurrentStep);
        if (guidance_ != nullptr) {
          guidance_->StepShown(s.genmCurrentStep, s.genmSelectedIssue, s.gblnPositiveRound,
                               OwnWords(s.genmSelectedIssue));
        }
        EnableDisableTimer();
        TellObserver(from);
      },
      [this] { StopTimer(); });
}

void SessionEngine::Navigate(bool pblnForward, enmStep penmCurrentStep) {
  Guarded(kNavigateModule, "Navigate", [&] {
    SessionState& s = state_;
    enmStep target = penmCurrentStep;
    if (!pblnForward) {
      // ProcessSteps applies the Next successor to the target, so the target
      // is the step before the one to land on.
      switch (penmCurrentStep) {
        case stpNone:
        case stpIntro: return;
        case stpSelectIssue:
        case stpFinish: target = stpIntro; break;
        case stpStimulateThymus: target = stpNone; break;
        case stpReassessSUD: target = stpTopHead1; break;
        default: {
          bool f1 = false;
          bool f2 = false;
          const enmStep p = modSteps::GetPrevStep(penmCurrentStep, f1, s);
          target = modSteps::GetPrevStep(p, f2, s);
          if (f2) target = stpLeftHand;
          break;
        }
      }
      s.gblnPositiveRound = false;
      s.glngRoundCount = 0;
    }
    ProcessSteps(target, s.glngStepLength, true, true);
  });
}

void SessionEngine::EnableDisableTimer() {
  Guarded(kModule, "EnableDisableTimer", [this] {
    const bool timed = IsTimedStep(state_.genmCurrentStep);
    view_.SetStepTimerEnabled(timed);
    view_.SetButtonEnabled(SessionButton::Pause, timed);
    // Any step change also ends a pause.
    view_.SetButtonVisible(SessionButton::Pause, true);
    view_.SetButtonVisible(SessionButton::Resume, false);
    view_.SetButtonEnabled(SessionButton::Resume, false);
  });
}

void SessionEngine::InitializeVariablesAndControls() {
  Guarded(kModule, "InitializeVariablesAndControls", [this] {
    StopTimer();
    view_.SetButtonEnabled(SessionButton::Previous, false);
    view_.SelectSUD(5);
    sud_ = 5;
    ResetSessionState(stpNone);
    PaintDotsGreenOrRed(state_.gblnPositiveRound);  // the polarity is not reset here
    UpdateDisplay_SelectedIssue(state_.genmSelectedIssue);
  });
}

void SessionEngine::ResetSessionState(enmStep step) {
  state_.glngStepSeconds = 0;
  state_.glngTickMs = 0;
  state_.genmCurrentStep = step;
  state_.glngStepLength = 0;
  state_.genmSelectedIssue = modIssues::GetDefaultIssue();
  Blink_Reset();
  // glngSessionSeconds keeps counting from the loading of the window.
}

void SessionEngine::SetOwnWords(enmIssue issue, std::string_view words) {
  std::string kept = modIssues::CleanOwnWords(words);
  if (kept.empty()) {
    ownWords_.erase(issue);
  } else {
    ownWords_[issue] = std::move(kept);
  }
}

const std::string& SessionEngine::OwnWords(enmIssue issue) const {
  static const std::string kNone;
  const auto found = ownWords_.find(issue);
  return found == ownWords_.end() ? kNone : found->second;
}

void SessionEngine::SetPointSeconds(std::int32_t seconds) {
  pointSeconds_ = (seconds == 3 || seconds == 4 || seconds == 6) ? seconds : kDesignedPointSeconds;
  if (PlaceInRound(state_.genmCurrentStep) > 0) state_.glngStepLength = pointSeconds_;
}

std::int32_t SessionEngine::StepLength(enmStep step) const {
  return PlaceInRound(step) > 0 ? pointSeconds_ : modSteps::GetStepLength(step);
}

// ---------------------------------------------------------------------------
// Commands
//
// Four commands hold the busy flag (mblnBusy) while they run: Previous/Next,
// Finish, Share and the choice of an issue. The first three change the step
// and show it, and showing a step lets window events run (a tick pumps them
// to repaint the time, a message box runs its own loop), so a second click or
// key arriving then would start a second move in the middle of the first. The
// issue choice takes the flag too, so that an issue option ticked during such
// a move (by a click or key handled in those events) cannot change the issue
// under the step being shown. Pause, Resume and the ratings only set what they
// are given and are safe to repeat.

void SessionEngine::cmdNavig_Click(std::int16_t index) {
  BusyGuard busy(busy_);
  Guarded(
      kModule, "cmdNavig_Click",
      [&] {
        if (!activated_ || !busy.Take()) return;
        if (index == 1) {
          Navigate(true, state_.genmCurrentStep);
          if (state_.genmCurrentStep == stpStimulateThymus) view_.SetButtonEnabled(SessionButton::Previous, true);
        } else if (index == 0) {
          Navigate(false, state_.genmCurrentStep);
          if (state_.genmCurrentStep == stpIntro) view_.SetButtonEnabled(SessionButton::Previous, false);
        }
      },
      [this] { StopTimer(); });
}

void SessionEngine::cmdPause_Click() {
  Guarded(kModule, "cmdPause_Click", [this] {
    StopTimer();  // glngTickMs keeps its value for the resumption
    if (guidance_ != nullptr) guidance_->Pause();
    view_.SetButtonEnabled(SessionButton::Resume, true);
    view_.SetButtonVisible(SessionButton::Resume, true);
    view_.SetButtonVisible(SessionButton::Pause, false);
  });
}

void SessionEngine::cmdResume_Click() {
  Guarded(kModule, "cmdResume_Click", [this] {
    view_.SetButtonEnabled(SessionButton::Pause, true);
    view_.SetButtonVisible(SessionButton::Pause, true);
    view_.SetButtonEnabled(SessionButton::Resume, false);
    view_.SetButtonVisible(SessionButton::Resume, false);
    if (guidance_ != nullptr) guidance_->Resume();
    EnableDisableTimer();
  });
}

void SessionEngine::cmdFinish_Click() {
  BusyGuard busy(busy_);
  Guarded(
      kModule, "cmdFinish_Click",
      [&] {
        if (!activated_ || !busy.Take()) return;
        SessionState& s = state_;
        const enmStep from = s.genmCurrentStep;
        s.genmCurrentStep = stpFinish;
        s.gblnPositiveRound = false;
        s.glngRoundCount = 0;
        s.glngStepSeconds = 0;
        s.glngStepLength = modSteps::GetStepLength(stpFinish);
        Blink_Reset();
        if (guidance_ != nullptr) guidance_->Stop();  // the session is over: silence
        DisplayStep(stpFinish);                       // the dots keep their colour
        EnableDisableTimer();
        TellObserver(from);
      },
      [this] { StopTimer(); });
}

void SessionEngine::cmdStart_Click() {
  Guarded(kModule, "cmdStart_Click", [this] {
    InitializeVariablesAndControls();
    Navigate(false, stpSelectIssue);  // lands on step 4 with the round state reset
  });
}

void SessionEngine::cmdShare_Click() {
  BusyGuard busy(busy_);
  Guarded(kModule, "cmdShare_Click", [&] {
    if (!activated_ || !busy.Take()) return;
    MsgBox("Share");
  });
}

// ---------------------------------------------------------------------------
// Issue and SUD selection

void SessionEngine::radMode_Click(std::int16_t index) {
  BusyGuard busy(busy_);
  Guarded(kModule, "radMode_Click", [&] {
    if (!busy.Take()) return;  // a click during a navigation command changes nothing
    state_.genmSelectedIssue = modIssues::IssueOptIndexToEnum(index);
  });
}

void SessionEngine::radSUD_Click(std::int16_t index) {
  Guarded(kModule, "radSUD_Click", [&] { sud_ = index; });
}

void SessionEngine::lblSUDUnit_Click(std::int16_t index) {
  Guarded(kModule, "lblSUDUnit_Click", [&] {
    if (index < 0 || index > 10) SubscriptOutOfRange();
    view_.SelectSUD(index);
    sud_ = index;
  });
}

void SessionEngine::SetModesCaptions() {
  Guarded(kModule, "SetModesCaptions", [this] {
    // Elements 10 to 12 keep their design captions, which equal the catalogue names.
    for (std::int32_t i = 1; i <= 9; ++i) {
      view_.SetIssueCaption(i, modIssues::GetIssueName(modIssues::IssueOptIndexToEnum(i)));
    }
  });
}

void SessionEngine::UpdateDisplay_SelectedIssue(enmIssue issue) {
  Guarded(kModule, "UpdateDisplay_SelectedIssue", [&] {
    const std::int32_t index = modIssues::IssueEnumToOptIndex(issue);
    if (index < 1 || index > 12) SubscriptOutOfRange();  // there is no radMode(0)
    view_.SelectIssueOption(index);
  });
}

// ---------------------------------------------------------------------------
// Progress display

void SessionEngine::DisplayStep(enmStep step) {
  Guarded(
      kModule, "DisplayStep",
      [&] {
        const StepDisplay display = GetStepDisplay(step, state_.glngRoundCount, state_.gblnPositiveRound);
        state_.glngCurrentDot = display.dot;
        HideAllDots();
        if (display.repaintDots) PaintDotsGreenOrRed(display.dotsGreen);
        view_.ShowStepLayout(display);
        DisplayStepTexts(step);
      },
      [this] { StopTimer(); });
}

void SessionEngine::DisplayStepTexts(enmStep step) {
  StepTexts texts;
  texts.currentPoint = modSteps::GetStepDescription(step);
  texts.segmentTitle = GetSegmentTitle(step, state_.gblnPositiveRound);
  texts.instructions =
      modIssues::WithOwnWords(GetStepInstructions(step, state_.genmSelectedIssue, state_.gblnPositiveRound),
                              OwnWords(state_.genmSelectedIssue));
  texts.toIntroLabel = step == stpIntro || step == stpFinish;
  texts.sayNowLine = SayNowLine(texts.instructions, step);
  texts.roundLine = RoundLine(step, state_.glngRoundCount, state_.gblnPositiveRound);
  view_.ShowStepTexts(texts);
}

void SessionEngine::HideAllDots() { view_.HideAllDots(); }

void SessionEngine::PaintDotsGreenOrRed(bool green) {
  Guarded(
      kModule, "PaintDotsGreenOrRed", [&] { view_.PaintDots(green ? kDotGreen : kDotRed); }, [this] { StopTimer(); });
}

void SessionEngine::Blink() {
  Guarded(
      kModule, "Blink",
      [this] {
        SessionState& s = state_;
        s.glngBlinkTotal += s.glngBlinkStep;
        if (s.glngBlinkTotal > 500) {
          s.glngBlinkTotal = 0;
          s.glngBlinkStep = 0;
          return;
        }
        if (s.glngBlinkStep == 0) {
          s.gblnBlinkOn = !s.gblnBlinkOn;
          if (s.glngCurrentDot < 1 || s.glngCurrentDot > kDotCount) SubscriptOutOfRange();
          view_.SetDotVisible(s.glngCurrentDot, s.gblnBlinkOn);
        }
        s.glngBlinkStep += 10;
      },
      [this] { StopTimer(); });
}

void SessionEngine::Blink_Reset() {
  state_.glngBlinkStep = 0;
  state_.gblnBlinkOn = false;
  state_.glngBlinkTotal = 0;
}

void SessionEngine::UpdateTimeElapsed(std::int32_t seconds) {
  Guarded(
      kModule, "UpdateTimeElapsed",
      [&] {
        view_.SetTimeText(TimeElapsedText(seconds));
        view_.PumpEvents();
      },
      [this] { StopTimer(); });
}

// ---------------------------------------------------------------------------
// Keyboard focus after a move

FocusTarget FocusAfterNext(enmStep currentStep) {
  return currentStep == stpReassessSUD ? FocusTarget::SUDChoice : FocusTarget::NextButton;
}

FocusTarget FocusAfterPrevious(enmStep currentStep, bool previousEnabled) {
  if (currentStep == stpReassessSUD) return FocusTarget::SUDChoice;
  return previousEnabled ? FocusTarget::PreviousButton : FocusTarget::NextButton;
}

}  // namespace serenitap
