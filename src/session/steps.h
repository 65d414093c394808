#pragma once
// The step catalogue: the 25 steps of a session, their names, lengths and kind,
// the successor when the step timer runs out, the successor for Next and the
// predecessor for Previous.
#include <cstdint>
#include <string>

namespace serenitap {

struct SessionState;

// A step number. 0 is the position before the introduction; values outside
// 0..25 are invalid and get the documented fallbacks.
using enmStep = std::int32_t;

inline constexpr enmStep stpNone = 0;
inline constexpr enmStep stpIntro = 1;
inline constexpr enmStep stpSelectIssue = 2;
inline constexpr enmStep stpAssignSUD = 3;
inline constexpr enmStep stpStimulateThymus = 4;
inline constexpr enmStep stpLeftHand = 5;
inline constexpr enmStep stpRightHand = 6;
inline constexpr enmStep stpTopHead1 = 7;
inline constexpr enmStep stpTopHead2 = 8;
inline constexpr enmStep stpLeftEyebrow = 9;
inline constexpr enmStep stpLeftEyeCorner = 10;
inline constexpr enmStep stpLeftUnderEye = 11;
inline constexpr enmStep stpUnderNose1 = 12;
inline constexpr enmStep stpUnderNose2 = 13;
inline constexpr enmStep stpChin1 = 14;
inline constexpr enmStep stpChin2 = 15;
inline constexpr enmStep stpLeftCollarbone = 16;
inline constexpr enmStep stpLeftUnderArm = 17;
inline constexpr enmStep stpRightEyebrow = 18;
inline constexpr enmStep stpRightEyeCorner = 19;
inline constexpr enmStep stpRightUnderEye = 20;
inline constexpr enmStep stpRightCollarbone = 21;
inline constexpr enmStep stpRightUnderArm = 22;
inline constexpr enmStep stpRelax = 23;
inline constexpr enmStep stpReassessSUD = 24;
inline constexpr enmStep stpFinish = 25;

namespace modSteps {

// Name of a step 1..25; otherwise a message and "".
std::string GetStepName(enmStep step);
// Description of a step 1..25; otherwise a message and "".
std::string GetStepDescription(enmStep step);
// Length in seconds of step time; 2 for every value outside 1..25.
std::int32_t GetStepLength(enmStep step);
// True exactly for 7..22 and 24.
bool IsThisTappingStep(enmStep step);
// Successor when the step timer runs out; invalid step: message and 1.
enmStep GetNextStep(enmStep step);
// Successor for Next. In a negative round, a tapping step (or 24) sets the
// round counter to 2 so that the next round is positive. Invalid: message, 1.
enmStep GetNextStep_Navigation(enmStep step, SessionState& state);
// Predecessor for Previous. pblnPositiveRound is always written; a tapping
// step (or 24) resets the round counter. Invalid: message, 1.
enmStep GetPrevStep(enmStep step, bool& pblnPositiveRound, SessionState& state);
// The introduction text shown on the first step.
std::string GetIntroText();

}  // namespace modSteps
}  // namespace serenitap
