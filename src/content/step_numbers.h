#pragma once
// The steps of a session by number, shared by what the steps say (content) and
// how a session moves through them (session).
#include <cstdint>

namespace serenitap {

// A step of a session. stpNone is the position before the introduction. Its
// number (0..25) is what tables of steps are indexed by and what a test
// reports; StepNumber gives it, and the helpers below are the only arithmetic
// on steps. No step is read back from a number.
enum class enmStep : std::int32_t {
  stpNone = 0,
  stpIntro = 1,
  stpSelectIssue = 2,
  stpAssignSUD = 3,
  stpStimulateThymus = 4,
  stpLeftHand = 5,
  stpRightHand = 6,
  stpTopHead1 = 7,
  stpTopHead2 = 8,
  stpLeftEyebrow = 9,
  stpLeftEyeCorner = 10,
  stpLeftUnderEye = 11,
  stpUnderNose1 = 12,
  stpUnderNose2 = 13,
  stpChin1 = 14,
  stpChin2 = 15,
  stpLeftCollarbone = 16,
  stpLeftUnderArm = 17,
  stpRightEyebrow = 18,
  stpRightEyeCorner = 19,
  stpRightUnderEye = 20,
  stpRightCollarbone = 21,
  stpRightUnderArm = 22,
  stpRelax = 23,
  stpReassessSUD = 24,
  stpFinish = 25,
};
using enum enmStep;

// The number a step is reported and indexed by.
constexpr std::int32_t StepNumber(enmStep step) noexcept { return static_cast<std::int32_t>(step); }

// The step that follows in the numbering, and the one before it. Past stpFinish
// or before stpNone the result is no step (each function taking a step says
// what it gives for one).
constexpr enmStep StepAfter(enmStep step) noexcept { return static_cast<enmStep>(StepNumber(step) + 1); }
constexpr enmStep StepBefore(enmStep step) noexcept { return static_cast<enmStep>(StepNumber(step) - 1); }

// The steps from first to last, both included, in their numbering: for
// (enmStep step : StepsFromTo(stpIntro, stpFinish)).
class StepRange {
 public:
  class Iterator {
   public:
    constexpr explicit Iterator(enmStep at) noexcept : at_(at) {}
    constexpr enmStep operator*() const noexcept { return at_; }
    constexpr Iterator& operator++() noexcept {
      at_ = StepAfter(at_);
      return *this;
    }
    constexpr bool operator==(const Iterator&) const noexcept = default;

   private:
    enmStep at_;
  };
  constexpr StepRange(enmStep first, enmStep last) noexcept : first_(first), last_(last) {}
  constexpr Iterator begin() const noexcept { return Iterator(first_); }
  constexpr Iterator end() const noexcept { return Iterator(first_ > last_ ? first_ : StepAfter(last_)); }

 private:
  enmStep first_;
  enmStep last_;
};
constexpr StepRange StepsFromTo(enmStep first, enmStep last) noexcept { return {first, last}; }

// The tapping points of a round: the steps stpTopHead1 to stpRightUnderArm.
// Their numbering is not the order they are tapped in (see
// modSteps::GetNextStep): TappingPoints() gives each point once.
inline constexpr enmStep kFirstPoint = stpTopHead1;
inline constexpr enmStep kLastPoint = stpRightUnderArm;
constexpr bool IsTappingPoint(enmStep step) noexcept { return step >= kFirstPoint && step <= kLastPoint; }
constexpr StepRange TappingPoints() noexcept { return {kFirstPoint, kLastPoint}; }

}  // namespace serenitap
