#include "content/instructions.h"

#include <initializer_list>
#include <string_view>

#include "content/statements.h"
#include "services/failure.h"
#include "services/message_box.h"

namespace serenitap {
namespace {

constexpr std::string_view kModule = "frmMain";
constexpr std::string_view kCrLf = "\r\n";

// Paragraphs separated by a blank line.
std::string Paragraphs(std::initializer_list<std::string_view> paragraphs) {
  std::string text;
  bool first = true;
  for (std::string_view p : paragraphs) {
    if (!first) text += "\r\n\r\n";
    text += p;
    first = false;
  }
  return text;
}

std::string Joined(std::initializer_list<std::string_view> pieces) {
  std::string text;
  for (std::string_view p : pieces) text += p;
  return text;
}

std::string TappingInstructions(enmIssue issue, bool positiveRound) {
  if (positiveRound) {
    return Paragraphs(
        {"Continue tapping. Relax and remember to breathe slowly. Repeat (or use your own words to "
         "reframe the issue): ",
         modIssues::GetStringForPositiveSequence(issue)});
  }
  return Paragraphs(
      {"Tune in into the emotion associated with the issue. Feel related experience and sensations. "
       "Gently tap the indicated points with the index finger and middle finger. Repeat (you can "
       "also use your own words): ",
       modIssues::GetStringForNegativeSequence(issue)});
}

}  // namespace

std::string GetSegmentTitle(enmStep step, bool positiveRound) {
  std::string result;
  Guarded(kModule, "GetSegmentTitle", [&] {
    switch (step) {
      case stpIntro:
      case stpFinish: break;
      case stpSelectIssue: result = "Select Issue"; break;
      case stpAssignSUD: result = "Assign SUD"; break;
      case stpStimulateThymus: result = "Stimulate Thymus"; break;
      case stpLeftHand:
      case stpRightHand: result = "Affirmation Statement"; break;
      case stpRelax: result = "Relax"; break;
      case stpReassessSUD: result = "Reasses SUD"; break;
      default:
        if (IsTappingPoint(step)) {
          result = positiveRound ? "Positive Sequence" : "Negative Sequence";
        } else {
          MsgBox("GetSegmentTitle - wrong parameter passed");
        }
    }
  });
  return result;
}

std::string GetStepInstructions(enmStep step, enmIssue selectedIssue, bool positiveRound) {
  std::string result;
  Guarded(kModule, "GetStepInstructions", [&] {
    switch (step) {
      case stpIntro: result = modSteps::GetIntroText(); break;
      case stpSelectIssue:
        result = Paragraphs({
            "Please select an emotional issue you want to clear.",
            "It should be an issue which triggers negative emotions in you - whenever you think about it you "
            "start sweating, your heart starts pounding, your blood circulates faster, your pulse accelerates, "
            "you are upset.",
            "Click button Next when you are ready.",
        });
        break;
      case stpAssignSUD:
        result = Paragraphs({
            "Now please assess the intensity of the issue - the level of discomfort it causes. Assign to this "
            "issue a SUD number (a unit on so called 'Subjective Unit of Distress' scale). ",
            "It is number from 0 to 10, where 0 means that the issue is not bothering you at all, and 10 "
            "indicates the highest level of distress.",
            "Go to the next step when you are ready.",
        });
        break;
      case stpStimulateThymus:
        result = Paragraphs({
            "Breath deeply and slowly - inhaling through the nose and out through the mouth. Slowly inhale, stop "
            "for 3-4 seconds and then slowly exhale and stop for 3-4 seconds.",
            "Massage your thymus with two or more fingers by doing circular moves around it for about half a "
            "minute.",
            "Thymus gland regulates human's body and is its energetic battery. It is located behind your sternum "
            "and between your lungs, about 2 inches below the collarbone.",
            "(When stimulating thymus, the will to heal - life's energy - is activated.)",
            "Click button Next when you are ready.",
        });
        break;
      case stpLeftHand:
      case stpRightHand: result = modIssues::GetStringForActivationStep(selectedIssue); break;
      case stpRelax:
        result = Paragraphs({
            "Say 'Peace' and take couple of deep breaths.",
            "Detach yourself from the issue. This issue is not you. It doesn't define you.",
            "If this issue was triggered by a situation in the past, re-live this situation, but this time "
            "separate yourself from it.",
            "Watch it through the lenses of a camera. Camera doesn't judge or assign emotions.",
            "Observe as this would happen to someone else. You can modify the situation - you can bring other "
            "people of beings, real of imaginary. You are in control. You can change your behavior but you "
            "cannot change behavior of people who caused harm to you.",
            "This will re-frame this event for you. You will remember it but the negative emotions will go away.",
        });
        break;
      case stpReassessSUD:
        result = Paragraphs({
            "Say 'Peace' and take a deep breath.",
            "Reasses SUD - the intensity of the emotion or stress related to given issue.",
            "If it decreased but it is still > 0, you may click the button 'Next' and continue tapping till it "
            "reaches zero, or you may stop the session and continue it at other time.",
            "If SUD = 0, either end the session or click the button 'Previous' couple of times to go back to the "
            "beginning of the process and move on to the next issue.",
            Joined({"Sometimes (though very rarely) it happens that the level of the stress increases.", kCrLf,
                    "If that's the case, stop working on that issue and try to clear some other, less intense "
                    "issue. ",
                    "Come back to the original issue after the lighter issues are cleared."}),
            "To stop the session plese click the button 'Finish.",
        });
        break;
      case stpFinish:
        result = Paragraphs({
            "Take a deep breath. Place one hand on your hearth and the other one abount one inch below your belly "
            "button - this spot is called 'dan tien'.",
            Joined({"Concentrate on your heart and say:", kCrLf, "'I feel you. I understand you. I love you.'"}),
            "Imagine energy flowing between your heart and your dan tien. As you breathe in, the energy goes up "
            "to your heart. As you breath out, the energy goes down to your dan tien.",
            "Send your love to the outside world, to everyone and everything.",
            Joined({"Say:", kCrLf, "'I am greatful for this healing.'"}),
            "The issue is gone. You are safe. Somebody loves you.",
        });
        break;
      default:
        if (IsTappingPoint(step)) result = TappingInstructions(selectedIssue, positiveRound);
    }
  });
  return result;
}

namespace modSteps {

std::string GetIntroText() {
  std::string result;
  Guarded("modSteps", "GetIntroText", [&] {
    constexpr std::string_view kBreak = "\r\n\r\n";
    result = "Please sit up straight in a safe, quiet place and relax.";
    result += kBreak;
    result += "Take a deep breath.";
    result += kBreak;
    result +=
        "Expand your body - put your chest forward, head up, your feet shoulder-width apart. Keep your whole "
        "spine straight. Gently place your tongue against the roof of your mouth.";
    result += " ";
    result += "Take as much space as you can. You have right to be here. You are in charge.";
    result += kBreak;
    result +=
        "There is no right or wrong way of working towards achiving emotional freedom, there is only your way. "
        "As long as you feel the emotions you want to clear, you are on the right path. With time you will "
        "clear negative emotions and you'll achive calmness and piece of mind.";
    result += kBreak;
    result +=
        "Whenever you are ready, please click the Next button or press a spacebar or an Enter key to move to "
        "the next step.";
  });
  return result;
}

}  // namespace modSteps
}  // namespace serenitap
