// The main window built from its control table, without a session: where its
// controls sit, looks, accessibility, the dots, the notices in its status
// strip, and texts that fit their labels.
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTextDocument>
#include <climits>

#include "content/instructions.h"
#include "ui/fonts.h"
#include "ui/look.h"
#include "ui/main/after_first_paint.h"
#include "ui/main/main_window_fixture.h"
#include "ui/main/notice_strip.h"

namespace serenitap {
namespace {

using main_window::kDotCount;

class MainWindowTest : public ::testing::Test {
 protected:
  const main_window::MainControls& Controls() const { return window.Controls(); }
  frmMain window;
};

// The step timer beats every 10 ms; the dots are 1 to 16; a step without a
// point still names the place. (What every control reads out at each step is
// in the window snapshots; that one dot at most shows, in the random use.)
TEST_F(MainWindowTest, TheTimersBeatTheDotsAndTheCurrentPointsName) {
  EXPECT_EQ(window.StepTimer().interval(), 10);
  for (int i = 0; i <= kDotCount + 1; ++i) window.SetDotVisible(i, true);
  for (int i = 0; i <= kDotCount + 1; ++i) EXPECT_EQ(window.IsDotVisible(i), i >= 1 && i <= kDotCount) << i;
  window.SetCurrentPointText("");
  EXPECT_EQ(Controls().lblCurrentPoint->accessibleName(), QStringLiteral("Current point"));
}

// Notices wait for the window, come one at a time, stay a while, never take
// the focus, and a screen reader gets all of one the strip shows shortened.
TEST(NoticeStrip, ShowsNoticesOneAtATimeAndShortensOnlyOnScreen) {
  InstallNoticeDisplay();
  ShowNotice("The settings could not be read.");
  ShowNotice("The settings were not saved.");
  ShowNotice("The settings could not be read.");  // once is enough
  frmMain window;
  window.show();
  NoticeStrip& strip = window.Notices();
  EXPECT_EQ(strip.text(), "The settings could not be read.");
  EXPECT_GE(strip.DisplayTimer().interval(), 10000);
  EXPECT_EQ(strip.focusPolicy(), Qt::NoFocus);
  EXPECT_LE(strip.geometry().right(), window.Controls().lblTime_New->geometry().left());
  strip.Advance();
  EXPECT_EQ(strip.text(), "The settings were not saved.");
  strip.Advance();
  EXPECT_FALSE(strip.isVisible() || strip.DisplayTimer().isActive());
  const QString notice = QStringLiteral("The settings were not saved to \"/home/") + QString(300, 'x') + "\".";
  ShowNotice(notice.toStdString());  // a later notice shows at once
  EXPECT_TRUE(strip.isVisible() && strip.DisplayTimer().isActive());
  EXPECT_LE(strip.fontMetrics().horizontalAdvance(strip.text()), strip.contentsRect().width());
  EXPECT_EQ(strip.accessibleName(), notice);
  SetNoticeSink({});
}

// Whether the label shows all of its text.
bool Fits(const QLabel* label) {
  const QSize room = label->contentsRect().size();
  const int flags = int(label->alignment()) | Qt::TextWordWrap;
  const QSize needed =
      QFontMetrics(label->font()).boundingRect(0, 0, room.width(), INT_MAX / 2, flags, label->text()).size();
  return needed.boundedTo(room) == needed;
}

int DesignSize(const QLabel* label) { return label->property("designPixelSize").toInt(); }

// The window at a scale of its design size, 1152 x 733 pixels.
void Resize(frmMain& window, double scale) { window.resize((QSizeF(1152, 733) * scale).toSize()); }

// At the design size every step's text fits in type of the design size. A
// smaller window sets a long text in smaller type, never below the readable
// minimum, and the type follows the room each time the window is resized.
TEST(TextFit, TheTypeFollowsTheRoom) {
  frmMain window;
  window.show();
  window.SetPanesVisible(true);
  auto* label = window.findChild<QLabel*>("lblLeftFrame");
  std::string longest;
  for (enmStep step : StepsFromTo(stpSelectIssue, stpReassessSUD)) {
    for (const enmIssue issue : {issAddictionsObsessions, issPTSDTrauma}) {
      const std::string text = GetStepInstructions(step, issue, StepNumber(step) % 2 == 0);
      window.SetInstructionsText(text);
      EXPECT_TRUE(Fits(label)) << text;
      EXPECT_EQ(label->font().pixelSize(), DesignSize(label));
      if (text.size() > longest.size()) longest = text;
    }
  }
  Resize(window, 0.6);
  window.SetInstructionsText(longest);
  const int smallSize = label->font().pixelSize();
  EXPECT_LT(smallSize, DesignSize(label));
  EXPECT_GE(smallSize, main_window::kSmallestTextPixels);
  Resize(window, 1.0);
  EXPECT_EQ(label->font().pixelSize(), DesignSize(label));
  Resize(window, 0.6);
  EXPECT_EQ(label->font().pixelSize(), smallSize);
  window.SetInstructionsText("Breathe.");  // a short text takes back the design size
  EXPECT_EQ(label->font().pixelSize(), DesignSize(label));

  // A text given while its pane is hidden is fitted when the pane is shown,
  // whether the step shows it or the pane is shown directly.
  for (const bool bySteps : {true, false}) {
    SCOPED_TRACE(bySteps ? "shown by the step" : "shown directly");
    window.SetPanesVisible(false);
    window.SetInstructionsText(longest);
    bySteps ? window.SetPanesVisible(true) : testing::Child<QWidget>(window, "picLeftFrame")->show();
    EXPECT_EQ(label->font().pixelSize(), smallSize);
    window.SetInstructionsText("Breathe.");
  }
}

// The instructions with the statement to say now in bold look as Qt's rich
// text shows them in bold tags, pixel for pixel, and take the room it takes.
TEST(BoldLineLabel, LooksAndMeasuresAsRichText) {
  const QString text = QStringLiteral(
      "Even though I have this memory of the car crash that keeps coming back,\nI deeply accept myself.\n\n  Two "
      "blanks   kept\nIt\u2019s <b> & a\u00a0no-break space, and averyveryverylongwordwithoutablank\nThe last");
  for (const auto& [what, line] : std::initializer_list<std::pair<const char*, int>>{
           {"the first line, wrapped", 0}, {"the second", 1}, {"an empty one", 2}, {"marks", 4}, {"the last", 5}}) {
    QStringList lines = text.split(u'\n');
    for (QString& each : lines) each = each.toHtmlEscaped();
    lines[line] = "<b>" + lines[line] + "</b>";
    QLabel rich("<div style=\"white-space: pre-wrap\">" + lines.join(u'\n') + "</div>");
    main_window::BoldLineLabel bold;
    bold.setText(text);
    bold.SetBoldLine(line);
    for (const int width : {150, 420}) {
      SCOPED_TRACE(::testing::Message() << what << " at " << width);
      for (QLabel* label : {&rich, static_cast<QLabel*>(&bold)}) {
        label->setFont(DesignedTextFont(14.25));
        label->setWordWrap(true);
        label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        label->resize(width, 400);
      }
      EXPECT_EQ(bold.grab().toImage(), rich.grab().toImage());
      QTextDocument document;  // how the window measured the text it showed in rich text
      document.setDocumentMargin(0);
      document.setDefaultFont(bold.font());
      document.setHtml(rich.text());
      document.setTextWidth(width);
      EXPECT_EQ(bold.NeededSize(bold.font(), width), document.size().toSize());
    }
  }
}

// The program may still be reading the font configuration when the window is
// built: the window makes its controls meanwhile (none lays out its text as it
// is made) and waits once, before it lays out its first text, the
// introduction's (two threads must not read the configuration at once). The
// introduction is fitted before the window is painted. What the first look
// does not show is made later: the words field once the window has been
// painted, in its place after the issues; the journal text box, hidden, when
// it is asked for.
TEST(FirstPaint, TheWindowWaitsOnceForTheFontConfigurationAndMakesWhatItDoesNotShowLater) {
  int waits = 0;
  QStringList introsAtTheWait;
  FontConfigurationWait() = [&] {
    ++waits;
    for (QWidget* widget : QApplication::allWidgets())
      if (auto* label = qobject_cast<QLabel*>(widget); label != nullptr && label->objectName() == "lblIntro")
        introsAtTheWait << label->text();
  };
  frmMain window;
  EXPECT_EQ(waits, 1);
  EXPECT_EQ(introsAtTheWait, QStringList{QString()});  // made, and not yet given its text
  EXPECT_FALSE(FontConfigurationWait());
  frmMain second;
  EXPECT_EQ(waits, 1);
  auto* intro = window.findChild<QLabel*>("lblIntro");
  EXPECT_EQ(intro->font().pixelSize(), DesignSize(intro));
  EXPECT_EQ(window.WordsFieldIfMade(), nullptr);
  EXPECT_EQ(window.findChild<QWidget*>("txtJournal"), nullptr);
  window.show();
  for (int i = 0; i < 50 && !FirstPaintDone(window); ++i) QApplication::processEvents(QEventLoop::AllEvents, 20);
  QLineEdit* field = window.WordsFieldIfMade();
  ASSERT_NE(field, nullptr);
  EXPECT_EQ(field, window.findChild<QLineEdit*>("txtWords"));
  const auto& issues = window.Controls().radMode;
  EXPECT_EQ(issues[issues.kLast]->nextInFocusChain(), field);
  EXPECT_EQ(window.Controls().lblWords->buddy(), field);
  QPlainTextEdit* box = &window.JournalBox();
  EXPECT_EQ(box, window.findChild<QWidget*>("txtJournal"));
  EXPECT_EQ(box, &window.JournalBox());  // made once
  EXPECT_TRUE(box->isHidden());
  EXPECT_EQ(box->accessibleName(), "Session journal");
}

}  // namespace
}  // namespace serenitap
