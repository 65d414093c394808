// Notices in the main window's status strip: they wait for the window, come
// one at a time, stay a while, never take the focus, and a screen reader
// gets all of a notice even when the strip shows it shortened.
#include <gtest/gtest.h>

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
  EXPECT_EQ(strip.text(), "The settings could not be read.");
  EXPECT_EQ(strip.focusPolicy(), Qt::NoFocus);
  EXPECT_GE(strip.DisplayTimer().interval(), 10000);
  // The strip keeps clear of the time and stays inside the status strip.
  EXPECT_EQ(strip.parentWidget(), window.Control("picStatusBar"));
  EXPECT_LE(strip.geometry().right(), window.Control("lblTime_New")->geometry().left());
  strip.Advance();
  EXPECT_EQ(strip.text(), "The settings were not saved.");
  strip.Advance();
  EXPECT_FALSE(strip.isVisible() || strip.DisplayTimer().isActive());
  ShowNotice("Spoken guidance is off.");  // a later notice shows at once
  EXPECT_TRUE(strip.isVisible() && strip.DisplayTimer().isActive());
  // Too long for the strip, it is shortened only on screen.
  const QString notice = QStringLiteral("The settings were not saved to \"/home/") + QString(300, 'x') + "\".";
  ShowNotice(notice.toStdString());
  strip.Advance();
  EXPECT_LE(strip.fontMetrics().horizontalAdvance(strip.text()), strip.contentsRect().width());
  EXPECT_TRUE(strip.text().startsWith(QStringLiteral("The settings were not saved")));
  EXPECT_EQ(strip.accessibleName(), notice);
  EXPECT_EQ(strip.toolTip(), notice);
}

}  // namespace
}  // namespace serenitap
