// Every text the session shows fits its label at the window's design size
// and larger, in type of the design size; smaller windows get smaller type,
// never below the readable minimum. The introduction window shows its whole
// explanation without scrolling.
#include <gtest/gtest.h>

#include <QApplication>
#include <QFontMetrics>
#include <QLabel>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <climits>

#include "content/instructions.h"
#include "support/temp_store.h"
#include "ui/dialogs/what_is_it_dialog.h"
#include "ui/main/control_table.h"
#include "ui/main/layout.h"
#include "ui/main/main_window.h"

namespace serenitap {
namespace {

using main_window::kSmallestTextPixels;

// Whether the label shows all of its text.
::testing::AssertionResult Fits(const QLabel* label) {
  const QRect room = label->contentsRect();
  const QRect needed = QFontMetrics(label->font()).boundingRect(QRect(0, 0, room.width(), INT_MAX / 2),
                                                                int(label->alignment()) | Qt::TextWordWrap, label->text());
  if (needed.height() <= room.height() && needed.width() <= room.width()) return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure() << label->objectName().toStdString() << " needs " << needed.width() << "x"
                                       << needed.height() << " in " << room.width() << "x" << room.height();
}

int DesignSize(const QLabel* label) { return label->property("designPixelSize").toInt(); }

void Resize(frmMain& window, double scale) {
  window.resize(main_window::TwipsToPixels(main_window::kDesignClientWidth * scale),
                main_window::TwipsToPixels(main_window::kDesignClientHeight * scale));
}

TEST(TextFit, EveryStepTextFitsAtTheDesignSizeAndLarger) {
  for (double scale : {1.0, 1.25, 0.8, 0.6}) {
    SCOPED_TRACE(scale);
    frmMain window;
    Resize(window, scale);
    auto* title = window.findChild<QLabel*>("lblSegmentTitle");
    for (enmStep step = stpIntro; step <= stpFinish; ++step) {
      for (enmIssue issue = issAddictionsObsessions; issue <= issPTSDTrauma; issue += 10) {
        for (bool positive : {false, true}) {
          const std::string text = GetStepInstructions(step, issue, positive);
          const bool intro = step == stpIntro || step == stpFinish;
          intro ? window.SetIntroText(text) : window.SetInstructionsText(text);
          window.SetSegmentTitleText(GetSegmentTitle(step, positive));
          SCOPED_TRACE(::testing::Message() << "step " << step << ", issue " << issue << ", positive " << positive);
          for (const QLabel* shown : {window.findChild<QLabel*>(intro ? "lblIntro" : "lblLeftFrame"), title}) {
            EXPECT_TRUE(Fits(shown));
            if (scale >= 1) {
              EXPECT_EQ(shown->font().pixelSize(), DesignSize(shown));
            }
            EXPECT_GE(shown->font().pixelSize(), kSmallestTextPixels);
          }
        }
      }
    }
    window.SetTimeText("99:59:59");
    EXPECT_TRUE(Fits(window.findChild<QLabel*>("lblTime_New")));
  }
}

// The type follows the room every time the window is resized, it does not
// keep the size of an earlier layout.
TEST(TextFit, TheTypeFollowsTheRoomWhenTheWindowIsResizedBackAndForth) {
  frmMain window;
  auto* label = window.findChild<QLabel*>("lblLeftFrame");
  window.show();
  std::string longest;
  for (enmStep step = stpIntro + 1; step < stpFinish; ++step) {
    const std::string text = GetStepInstructions(step, issAddictionsObsessions, false);
    if (text.size() > longest.size()) longest = text;
  }
  window.SetInstructionsText(longest);
  Resize(window, 0.6);
  const int smallSize = label->font().pixelSize();
  EXPECT_LT(smallSize, DesignSize(label));
  EXPECT_TRUE(Fits(label));
  Resize(window, 1.0);
  EXPECT_EQ(label->font().pixelSize(), DesignSize(label));
  Resize(window, 0.6);
  EXPECT_EQ(label->font().pixelSize(), smallSize);
  window.SetInstructionsText("Breathe.");  // a short text takes back the design size
  EXPECT_EQ(label->font().pixelSize(), DesignSize(label));
}

TEST(TextFit, TheIntroductionWindowShowsItsWholeText) {
  testing::TempStore store;
  frmWhatIsIt window;
  window.show();
  QApplication::processEvents();
  auto* text = window.findChild<QPlainTextEdit*>("fedText");
  EXPECT_EQ(text->verticalScrollBar()->maximum(), 0);
  EXPECT_TRUE(text->toPlainText().endsWith(QStringLiteral("even to 0.")));
}

}  // namespace
}  // namespace serenitap
