// Developer tool: renders the main window at every step to PNG files, so the
// pictures, the dots and the texts can be looked at without a display.
//   QT_QPA_PLATFORM=offscreen ./serenitap_render_steps OUTPUT_FOLDER
#include <QApplication>
#include <QDir>
#include <QPixmap>
#include <cstdio>

#include "content/instructions.h"
#include "content/issues.h"
#include "session/steps.h"
#include "ui/main/main_window.h"

namespace {

using namespace serenitap;

// The dot a step blinks; -1 for none.
int DotOf(enmStep step) {
  static const int dots[] = {-1, -1, -1, -1, -1, 2,  3,  4,  4,  5,  6,  7,  8,
                             8,  9,  9,  10, 11, 16, 12, 13, 14, 15, -1, -1, -1};
  const std::int32_t number = StepNumber(step);
  return number >= 0 && number <= 25 ? dots[number] : 0;
}

void Show(frmMain& w, enmStep step, bool positive) {
  const bool introOrFinish = step == stpIntro || step == stpFinish;
  w.HideAllDots();
  w.PaintAllDots(step == stpLeftHand || step == stpRightHand || positive ? kDotGreen : kDotRed);
  w.SetIssueChoiceVisible(step == stpSelectIssue);
  w.SetSudChoiceVisible(step == stpAssignSUD || step == stpReassessSUD);
  w.SetThymusVisible(step == stpStimulateThymus);
  w.SetPanesVisible(!introOrFinish);
  const bool hands = step == stpLeftHand || step == stpRightHand;
  w.SetHandsVisible(hands);
  w.SetBodyChartVisible(!hands && step != stpSelectIssue && step != stpAssignSUD && step != stpReassessSUD &&
                        step != stpFinish);
  w.SetIntroVisible(introOrFinish);
  w.SetCurrentPointText(modSteps::GetStepDescription(step));
  w.SetSegmentTitleText(GetSegmentTitle(step, positive));
  const std::string text = GetStepInstructions(step, issNegativeMemory, positive);
  if (introOrFinish)
    w.SetIntroText(text);
  else
    w.SetInstructionsText(text);
  if (DotOf(step) > 0) w.SetDotVisible(DotOf(step), true);
  w.SetTimeText(step >= stpLeftHand ? "01:23" : "");
}

}  // namespace

int main(int argc, char* argv[]) {
  QApplication app(argc, argv);
  if (argc < 2) {
    std::fprintf(stderr, "usage: %s OUTPUT_FOLDER\n", argv[0]);
    return 2;
  }
  const QDir out(QString::fromLocal8Bit(argv[1]));
  QDir().mkpath(out.path());
  frmMain w;
  w.SelectIssueOption(modIssues::IssueEnumToOptIndex(modIssues::GetDefaultIssue()));
  w.SelectSudOption(5);
  w.show();
  for (enmStep step : StepsFromTo(stpIntro, stpFinish)) {
    Show(w, step, false);
    w.grab().save(out.filePath(QStringLiteral("step_%1.png").arg(StepNumber(step), 2, 10, QLatin1Char('0'))));
  }
  Show(w, stpTopHead1, true);
  w.grab().save(out.filePath(QStringLiteral("step_07_positive.png")));
  // Every dot at once, to check that each sits on its point.
  Show(w, stpTopHead1, false);
  for (int i = 4; i <= main_window::kDotCount; ++i) w.SetDotVisible(i, true);
  w.SetThymusVisible(true);
  w.grab().save(out.filePath(QStringLiteral("all_dots_chart.png")));
  Show(w, stpLeftHand, false);
  w.SetDotVisible(3, true);
  w.grab().save(out.filePath(QStringLiteral("all_dots_hands.png")));
  // A small and a wide window.
  w.resize(640, 420);
  Show(w, stpLeftUnderEye, false);
  w.grab().save(out.filePath(QStringLiteral("small_window.png")));
  w.resize(1500, 900);
  w.grab().save(out.filePath(QStringLiteral("wide_window.png")));
  return 0;
}
