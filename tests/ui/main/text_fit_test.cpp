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

using main_window::TwipsToPixels;

// Whether the label shows all of its text; the type size it uses.
::testing::AssertionResult Fits(const QLabel& label) {
  const QRect room = label.contentsRect();
  const QRect needed = QFontMetrics(label.font()).boundingRect(QRect(0, 0, room.width(), INT_MAX / 2),
                                                               int(label.alignment()) | Qt::TextWordWrap, label.text());
  if (needed.height() <= room.height() && needed.width() <= room.width()) return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure() << label.objectName().toStdString() << " needs " << needed.width() << "x"
                                       << needed.height() << " in " << room.width() << "x" << room.height() << ": "
                                       << label.text().toStdString();
}

// Shows every step's texts for every issue and polarity, checking each.
void CheckEveryText(frmMain& window, double scale) {
  auto* instructions = window.findChild<QLabel*>("lblLeftFrame");
  auto* intro = window.findChild<QLabel*>("lblIntro");
  auto* title = window.findChild<QLabel*>("lblSegmentTitle");
  auto* time = window.findChild<QLabel*>("lblTime_New");
  const int designSize = instructions->property("designPixelSize").toInt();
  ASSERT_GT(designSize, main_window::kSmallestTextPixels);
  for (enmStep step = stpIntro; step <= stpFinish; ++step) {
    for (enmIssue issue = issAddictionsObsessions; issue <= issPTSDTrauma; issue += 10) {
      for (bool positive : {false, true}) {
        const std::string text = GetStepInstructions(step, issue, positive);
        QLabel* label = step == stpIntro || step == stpFinish ? intro : instructions;
        if (label == intro) window.SetIntroText(text);
        else window.SetInstructionsText(text);
        window.SetSegmentTitleText(GetSegmentTitle(step, positive));
        SCOPED_TRACE(::testing::Message() << "step " << step << ", issue " << issue << ", positive " << positive);
        for (QLabel* shown : {label, title}) {
          EXPECT_TRUE(Fits(*shown));
          if (scale >= 1) {
            EXPECT_EQ(shown->font().pixelSize(), shown->property("designPixelSize").toInt());
          }
          EXPECT_GE(shown->font().pixelSize(), main_window::kSmallestTextPixels);
        }
      }
    }
  }
  window.SetTimeText("99:59:59");
  EXPECT_TRUE(Fits(*time));
  EXPECT_GE(time->font().pixelSize(), main_window::kSmallestTextPixels);
}

TEST(TextFit, EveryStepTextFitsAtTheDesignSizeAndLarger) {
  for (double scale : {1.0, 1.25, 0.8, 0.6}) {
    SCOPED_TRACE(scale);
    frmMain window;
    window.resize(TwipsToPixels(main_window::kDesignClientWidth * scale),
                  TwipsToPixels(main_window::kDesignClientHeight * scale));
    CheckEveryText(window, scale);
  }
}

// One window resized back and forth with the same text: the type follows the
// room every time, it does not keep the size of an earlier layout.
TEST(TextFit, TheTypeFollowsTheRoomWhenTheWindowIsResizedBackAndForth) {
  frmMain window;
  auto* label = window.findChild<QLabel*>("lblLeftFrame");
  const int designSize = label->property("designPixelSize").toInt();
  window.show();
  auto resize = [&](double scale) {
    window.resize(TwipsToPixels(main_window::kDesignClientWidth * scale),
                  TwipsToPixels(main_window::kDesignClientHeight * scale));
  };
  std::string longest;
  for (enmStep step = stpIntro + 1; step < stpFinish; ++step) {
    const std::string text = GetStepInstructions(step, issAddictionsObsessions, false);
    if (text.size() > longest.size()) longest = text;
  }
  window.SetInstructionsText(longest);
  resize(0.6);
  const int smallSize = label->font().pixelSize();
  EXPECT_LT(smallSize, designSize);
  EXPECT_TRUE(Fits(*label));
  resize(1.0);
  EXPECT_EQ(label->font().pixelSize(), designSize);
  resize(0.6);
  EXPECT_EQ(label->font().pixelSize(), smallSize);
  EXPECT_TRUE(Fits(*label));
  // A short text in the small window takes back the design size.
  window.SetInstructionsText("Breathe.");
  EXPECT_EQ(label->font().pixelSize(), designSize);
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
