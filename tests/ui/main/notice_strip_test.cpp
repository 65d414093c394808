// Notices in the main window's status strip: they wait for the window, come
// one at a time, stay a while, never take the focus, and a screen reader
// gets all of a notice even when the strip shows it shortened.
#include <gtest/gtest.h>

#include <QLabel>

#include "services/notice.h"
#include "ui/main/main_window.h"
#include "ui/main/notice_strip.h"

namespace serenitap {
namespace {

class NoticeStripTest : public ::testing::Test {
 protected:
  void SetUp() override { InstallNoticeDisplay(); }
  void TearDown() override { SetNoticeSink({}); }
};

TEST_F(NoticeStripTest, NoticesRaisedBeforeTheWindowShowInItOneAtATime) {
  ShowNotice("The settings could not be read.");
  ShowNotice("The settings were not saved.");
  ShowNotice("The settings could not be read.");  // once is enough
  frmMain window;
  window.show();
  NoticeStrip& strip = window.Notices();
  EXPECT_TRUE(strip.isVisible());
  EXPECT_EQ(strip.text(), "The settings could not be read.");
  EXPECT_EQ(strip.focusPolicy(), Qt::NoFocus);
  EXPECT_TRUE(strip.DisplayTimer().isActive());
  EXPECT_GE(strip.DisplayTimer().interval(), 10000);
  // The strip keeps clear of the time and stays inside the status strip.
  EXPECT_EQ(strip.parentWidget(), window.Control("picStatusBar"));
  EXPECT_LE(strip.geometry().right(), window.Control("lblTime_New")->geometry().left());
  EXPECT_LE(strip.geometry().bottom(), window.Control("picStatusBar")->height());
  ShowNotice("The settings were not saved.");  // already waiting
  strip.Advance();
  EXPECT_EQ(strip.text(), "The settings were not saved.");
  strip.Advance();
  EXPECT_FALSE(strip.isVisible());
  EXPECT_FALSE(strip.DisplayTimer().isActive());
  ShowNotice("Spoken guidance is off.");  // a later notice shows at once
  EXPECT_EQ(strip.text(), "Spoken guidance is off.");
}

TEST_F(NoticeStripTest, ANoticeTooLongForTheStripIsShortenedOnlyOnScreen) {
  frmMain window;
  window.show();
  const QString path = QStringLiteral("/home/someone/") + QString(300, QLatin1Char('x')) + QStringLiteral(".reg");
  const QString notice = QStringLiteral("The settings were not saved to \"") + path + QStringLiteral("\".");
  ShowNotice(notice.toStdString());
  NoticeStrip& strip = window.Notices();
  EXPECT_NE(strip.text(), notice);
  EXPECT_LE(strip.fontMetrics().horizontalAdvance(strip.text()), strip.contentsRect().width());
  EXPECT_EQ(strip.accessibleName(), notice);
  EXPECT_EQ(strip.toolTip(), notice);
}

}  // namespace
}  // namespace serenitap
