#include "session/steps.h"

#include <array>
#include <string_view>

#include "services/failure.h"
#include "services/message_box.h"
#include "session/session_state.h"

namespace serenitap::modSteps {
namespace {

constexpr std::string_view kModule = "modSteps";

struct StepRow {
  std::string_view name;
  std::string_view description;
  std::int32_t length;
  enmStep next;  // timer successor
};

// Indexed by step number 0..25. Row 0 is the position before the introduction.
constexpr std::array<StepRow, 26> kSteps{{
    {"", "", 2, stpIntro},
    {"Intro", "Intro", 0, stpStimulateThymus},
    {"Select Issue", "", 0, stpAssignSUD},
    {"Assign SUD", "", 0, stpLeftHand},
    {"Stimulate Thymus", "", 0, stpSelectIssue},
    {"Left Hand", "Karate chop - Left Hand", 10, stpRightHand},
    {"Right Hand", "Karate chop - Right Hand", 10, stpTopHead1},
    {"Top Head", "Top Head", 2, stpLeftEyebrow},
    {"Top Head", "Top Head", 2, stpRightEyebrow},
    {"Left Eyebrow", "Left Eyebrow", 2, stpLeftEyeCorner},
    {"Left Eye Corner", "Left Eye Corner", 2, stpLeftUnderEye},
    {"Left Under Eye", "Left Under Eye", 2, stpUnderNose1},
    {"Under Nose", "Under Nose", 2, stpChin1},
    {"Under Nose", "Under Nose", 2, stpChin2},
    {"Chin", "Chin", 2, stpLeftCollarbone},
    {"Chin", "Chin", 2, stpRightCollarbone},
    {"Left Collarbone", "Left Collarbone", 2, stpLeftUnderArm},
    {"Left Under Arm", "Left Under Arm", 2, stpTopHead2},
    {"Right Eyebrow", "Right Eyebrow", 2, stpRightEyeCorner},
    {"Right Eye Corner", "Right Eye Corner", 2, stpRightUnderEye},
    {"Right Under Eye", "Right Under Eye", 2, stpUnderNose2},
    {"Right Collarbone", "Right Collarbone", 2, stpRightUnderArm},
    {"Right Under Arm", "Right Under Arm", 2, stpTopHead1},
    {"Relax", "Relax - Description", 15, stpTopHead1},
    {"Reasses SUD", "", 0, stpTopHead1},
    {"Finish", "Finish", 0, stpIntro},
}};

bool IsCatalogued(enmStep step) { return step >= stpNone && step <= stpFinish; }
bool IsShownStep(enmStep step) { return step >= stpIntro && step <= stpFinish; }
const StepRow& Row(enmStep step) { return kSteps.at(static_cast<std::size_t>(StepNumber(step))); }

}  // namespace

std::string GetStepName(enmStep step) {
  std::string result;
  Guarded(kModule, "GetStepName", [&] {
    if (!IsShownStep(step)) {
      MsgBox("GetStepName - wrong parameter passed");
      return;
    }
    result = Row(step).name;
  });
  return result;
}

std::string GetStepDescription(enmStep step) {
  std::string result;
  Guarded(kModule, "GetStepDescription", [&] {
    if (!IsShownStep(step)) {
      MsgBox("GetStepDescription - wrong parameter passed");
      return;
    }
    result = Row(step).description;
  });
  return result;
}

std::int32_t GetStepLength(enmStep step) {
  std::int32_t result = 0;
  Guarded(kModule, "GetStepLength", [&] { result = IsShownStep(step) ? Row(step).length : 2; });
  return result;
}

bool IsThisTappingStep(enmStep step) { return IsTappingPoint(step) || step == stpReassessSUD; }

enmStep GetNextStep(enmStep step) {
  enmStep result = stpNone;
  Guarded(kModule, "GetNextStep", [&] {
    if (!IsCatalogued(step)) {
      MsgBox("Next step not defined");
      result = stpIntro;
      return;
    }
    result = Row(step).next;
  });
  return result;
}

enmStep GetNextStep_Navigation(enmStep step, SessionState& state) {
  enmStep result = stpNone;
  Guarded(kModule, "GetNextStep_Navigation", [&] {
    // Next in a negative round makes the following round positive.
    if (IsThisTappingStep(step) && !state.gblnPositiveRound) state.glngRoundCount = 2;
    switch (step) {
      case stpNone:
      case stpFinish: result = stpIntro; break;
      case stpIntro: result = stpStimulateThymus; break;
      case stpSelectIssue: result = stpAssignSUD; break;
      case stpAssignSUD: result = stpLeftHand; break;
      case stpStimulateThymus: result = stpSelectIssue; break;
      case stpLeftHand:
      case stpRightHand:
      case stpRelax:
      case stpReassessSUD: result = stpTopHead1; break;
      default:
        if (IsTappingPoint(step)) {
          result = state.gblnPositiveRound ? stpReassessSUD : stpRelax;
        } else {
          MsgBox("Next step not defined");
          result = stpIntro;
        }
    }
  });
  return result;
}

enmStep GetPrevStep(enmStep step, bool& pblnPositiveRound, SessionState& state) {
  enmStep result = stpNone;
  Guarded(kModule, "GetPrevStep", [&] {
    pblnPositiveRound = false;
    enmStep candidate = stpNone;
    if (IsThisTappingStep(step)) {
      state.glngRoundCount = 0;
      if (state.gblnPositiveRound) {
        candidate = stpRelax;
        pblnPositiveRound = true;
      } else {
        candidate = stpLeftHand;
      }
    }
    switch (step) {
      case stpNone:
      case stpIntro:
      case stpStimulateThymus: result = stpIntro; break;
      case stpSelectIssue: result = stpStimulateThymus; break;
      case stpAssignSUD: result = stpSelectIssue; break;
      case stpLeftHand:
      case stpRightHand: result = stpAssignSUD; break;
      case stpRelax:
      case stpFinish: result = stpTopHead1; break;
      default:
        if (IsThisTappingStep(step)) {
          result = candidate;
        } else {
          MsgBox("Previous step not defined");
          result = stpIntro;
        }
    }
  });
  return result;
}

}  // namespace serenitap::modSteps
