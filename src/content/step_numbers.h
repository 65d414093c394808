#pragma once
// The steps of a session by number, shared by what the steps say (content) and
// how a session moves through them (session).
#include <cstdint>

namespace serenitap {

// A step number. 0 is the position before the introduction; values outside
// 0..25 are invalid, and each function taking a step says what it gives for them.
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

}  // namespace serenitap
