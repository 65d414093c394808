// The step catalogue and what each step shows and says.
#include <gtest/gtest.h>

#include <algorithm>
#include <ranges>
#include <set>
#include <string>
#include <tuple>
#include <vector>

#include "content/instructions.h"
#include "session/engine.h"
#include "session/key_commands.h"
#include "support/printers.h"
#include "support/recorders.h"

namespace serenitap {

void PrintTo(const StepDisplay& d, std::ostream* out) {
  *out << d.step << ", dot " << d.dot << (d.repaintDots ? (d.dotsGreen ? ", dots green" : ", dots red") : "");
  for (const auto& [shown, what] : {std::pair{d.showIntroLabel, "introduction"},
                                    {d.showPanels, "panes"},
                                    {d.showIssueChoice, "issues"},
                                    {d.showSUDChoice, "SUD scale"},
                                    {d.showThymus, "thymus"},
                                    {d.showHands, "hands"},
                                    {d.showBodyPicture, "body"}})
    if (shown) *out << ", " << what;
}

namespace {

using namespace modSteps;

// Numbers that are no step, as a damaged value could hold.
constexpr enmStep kBeforeNone = StepBefore(stpNone);
constexpr enmStep kPastFinish = StepAfter(stpFinish);

TEST(Steps, RangesHoldBothEndsAndNeighboursAreOneApartAndANumberThatIsNoStepIsTold) {
  testing::MessageBoxRecorder boxes;
  std::vector<enmStep> points;
  for (const enmStep point : TappingPoints()) points.push_back(point);
  ASSERT_EQ(points.size(), 16u);
  EXPECT_EQ(std::make_pair(points.front(), points.back()), std::make_pair(stpTopHead1, stpRightUnderArm));
  EXPECT_TRUE(StepsFromTo(stpFinish, stpIntro).begin() == StepsFromTo(stpFinish, stpIntro).end());
  EXPECT_EQ(std::make_pair(StepAfter(stpChin1), StepBefore(stpChin1)), std::make_pair(stpChin2, stpUnderNose2));
  EXPECT_FALSE(IsTappingPoint(stpRightHand) || IsTappingPoint(stpRelax));
  EXPECT_EQ(std::pair(DecideKey(KeyCommand::Previous, false, false, stpIntro),  // no step before the first
                      DecideKey(KeyCommand::Previous, false, false, stpFinish)),
            std::pair(KeyCommand::Consume, KeyCommand::Previous));
  // A number that is no step (a damaged value) is told, and leads back to the introduction.
  SessionState state;
  bool positive = true;
  EXPECT_EQ((std::vector{GetStepName(kPastFinish), GetStepDescription(kBeforeNone)}), std::vector<std::string>(2));
  EXPECT_EQ((std::vector{GetNextStep(kPastFinish), GetNextStep_Navigation(kPastFinish, state),
                         GetPrevStep(kPastFinish, positive, state), GetPrevStep(stpNone, positive, state)}),
            std::vector<enmStep>(4, stpIntro));
  EXPECT_EQ(boxes.Texts(), (std::vector<std::string>{
                               "GetStepName - wrong parameter passed", "GetStepDescription - wrong parameter passed",
                               "Next step not defined", "Next step not defined", "Previous step not defined"}));
}

TEST(StepDisplay, EachStepShowsItsPanelsItsDotAndItsTime) {
  // In the third round, a positive one; only the affirmation repaints the dots, green.
  const std::pair<const char*, StepDisplay> rows[] = {
      {"introduction", {.step = stpIntro, .dot = -1, .showBodyPicture = true, .showIntroLabel = true}},
      {"issue", {.step = stpSelectIssue, .dot = -1, .showIssueChoice = true, .showPanels = true}},
      {"rating", {.step = stpAssignSUD, .dot = -1, .showSUDChoice = true, .showPanels = true}},
      {"thymus",
       {.step = stpStimulateThymus, .dot = -1, .showThymus = true, .showPanels = true, .showBodyPicture = true}},
      {"left hand",
       {.step = stpLeftHand, .dot = 2, .repaintDots = true, .dotsGreen = true, .showPanels = true, .showHands = true}},
      {"right hand", {.step = stpRightHand, .dot = 3, .showPanels = true, .showHands = true}},
      {"a point", {.step = stpChin1, .dot = 9, .showPanels = true, .showBodyPicture = true}},
      {"relaxation", {.step = stpRelax, .dot = -1, .showPanels = true, .showBodyPicture = true}},
      {"re-assessment", {.step = stpReassessSUD, .dot = -1, .showSUDChoice = true, .showPanels = true}},
      {"closing page", {.step = stpFinish, .dot = -1, .showIntroLabel = true}}};
  for (const auto& [name, shown] : rows) EXPECT_EQ(GetStepDisplay(shown.step, 3, true), shown) << name;
  // The first round after the affirmation turns the dots back; a later one leaves them.
  EXPECT_TRUE(GetStepDisplay(stpTopHead1, 1, false).repaintDots && !GetStepDisplay(stpTopHead1, 2, false).repaintDots);
  EXPECT_TRUE(IsTimedStep(stpRelax) && !IsBlinkingStep(stpRelax));  // timed, with no dot to blink
  // Points met twice in a round share a dot; the right eyebrow has the last one.
  const std::pair<enmStep, std::int32_t> dots[] = {
      {kBeforeNone, 0},   {kPastFinish, 0},      {stpLeftHand, 2},        {stpTopHead2, 4},
      {stpUnderNose2, 8}, {stpRightEyebrow, 16}, {stpRightEyeCorner, 12}, {stpRightUnderArm, 15}};
  for (const auto& [step, dot] : dots) EXPECT_EQ(GetDotIndex(step), dot) << StepNumber(step);
  const std::pair<std::int32_t, const char*> times[] = {{61, "01:01"},       {3600, "00:00"},      {86399, "59:59"},
                                                        {86400, "00:00:00"}, {172799, "23:59:59"}, {-1, "59:59"}};
  for (const auto& [seconds, text] : times) EXPECT_EQ(TimeElapsedText(seconds), text) << seconds;
}

TEST(Guidance, SaysThePointAndItsLineTheAffirmationOrTheStepText) {
  const std::tuple<enmStep, enmIssue, bool, const char*> cases[] = {
      // The left eye corner is the third point of a round, the second top of the head the ninth.
      {stpTopHead1, issNegativeMemory, false, "Top Head.\nI cannot deal with my past..."},
      {stpLeftEyeCorner, issAddictionsObsessions, true, "Left Eye Corner.\nI am calm. I breathe deeply."},
      {stpTopHead2, issGuilt, false,
       "Top Head.\nThe way I feel now is a punishment. How can I carry around this guilt?"},
      // Shorter sequences start again: point 16 says line 3 of 13. A line
      // without closing punctuation gets a full stop.
      {stpRightUnderArm, issAddictionsObsessions, false, "Right Under Arm.\nDay by day it gets more difficult."},
      {stpRightUnderArm, issPTSDTrauma, false, "Right Under Arm.\nI feel so powerless, anxious and vulnerable."},
      // The karate chop: only the affirmation, without the bracketed hint.
      {stpLeftHand, issRageAnger, false, "Even though I have this anger I love and accept myself with all my heart."},
  };
  for (const auto& [step, issue, positive, said] : cases) EXPECT_EQ(GuidanceUtterance(step, issue, positive), said);
  // The user's own words are said where the hint stands.
  EXPECT_EQ(
      GuidanceUtterance(stpRightHand, issPTSDTrauma, false, " in the flood\r\n"),
      "Even though I was exposed to this traumatic event in the flood I love and accept myself with all my heart.");
  EXPECT_EQ(GuidanceUtterance(stpTopHead1, issRageAnger, false, "at my boss"),
            GuidanceUtterance(stpTopHead1, issRageAnger, false));
  // Other steps: the title, then the instructions line by line without their outer blanks.
  const std::string sud = GuidanceUtterance(stpAssignSUD, issNegativeMemory, false);
  EXPECT_EQ(sud.rfind("Assign SUD.\nNow please assess", 0), 0u);
  // A line closed by a colon or by a quoted sentence gets no full stop of its own.
  EXPECT_NE(GuidanceUtterance(stpFinish, issGuilt, true).find("say:\n'I feel you. I understand you. I love you.'\n"),
            std::string::npos);
}

// On each point of a round the statement the guidance says there is the line
// emphasised in the instructions; shorter sequences start again from their top.
TEST(Guidance, TheLineToSayNowIsTheOneSpokenAtThePoint) {
  for (const auto& [issue, positive] : {std::pair{issNegativeMemory, false},
                                        {issAddictionsObsessions, false},
                                        {issHeadaches, false},
                                        {issPTSDTrauma, false},
                                        {issGuilt, true}}) {
    std::set<std::int32_t> emphasised;
    for (enmStep step : TappingPoints()) {
      SCOPED_TRACE(std::to_string(IssueNumber(issue)) + (positive ? "+ " : "- ") + std::to_string(StepNumber(step)));
      const std::string text = GetStepInstructions(step, issue, positive);
      const std::int32_t line = SayNowLine(text, step);
      std::vector<std::string> lines;
      for (const auto part : std::views::split(text, std::string_view("\r\n")))
        lines.emplace_back(part.begin(), part.end());
      ASSERT_GE(line, 2);  // never the lead paragraph or the blank line after it
      ASSERT_LT(line, static_cast<std::int32_t>(lines.size()));
      const std::string said = GuidanceUtterance(step, issue, positive);
      const std::string statement = lines[static_cast<std::size_t>(line)];
      EXPECT_EQ(said.substr(said.find('\n') + 1, statement.find_last_not_of(' ') + 1),
                statement.substr(0, statement.find_last_not_of(' ') + 1));
      emphasised.insert(line);
    }
    // Sixteen points, each its own line where the sequence has sixteen or more.
    const std::string first = GetStepInstructions(stpTopHead1, issue, positive);
    const auto statements = static_cast<std::size_t>(std::count(first.begin(), first.end(), '\n') - 1);
    EXPECT_EQ(emphasised.size(), std::min<std::size_t>(16, statements)) << IssueNumber(issue);
  }
  for (const enmStep step : {stpIntro, stpLeftHand, stpRelax, stpReassessSUD, stpNone, kPastFinish}) {
    EXPECT_EQ(SayNowLine(GetStepInstructions(step, issNegativeMemory, false), step), -1) << StepNumber(step);
  }
}

}  // namespace
}  // namespace serenitap
