// The shortcuts and About windows.
#include <gtest/gtest.h>

#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QTreeWidget>

#include "dialogs_test_support.h"
#include "ui/dialogs/about_dialog.h"
#include "ui/dialogs/shortcuts_dialog.h"

namespace serenitap {
namespace {

using testing::ShowActive;

TEST(Shortcuts, FourRowsWithTheirKeysAndTwoColumns) {
  frmShortcuts window;
  EXPECT_EQ(window.windowTitle(), "Keboard Shortcuts");
  auto* list = window.findChild<QTreeWidget*>("ltvShortcuts");
  ASSERT_EQ(list->columnCount(), 2);
  const QTreeWidgetItem* header = list->headerItem();
  EXPECT_EQ(header->text(0), "COL 1");
  EXPECT_EQ(header->text(1), "COL 2");
  EXPECT_EQ(header->data(0, frmShortcuts::kKeyRole).toString(), "col1");
  EXPECT_EQ(header->data(1, frmShortcuts::kKeyRole).toString(), "col2");
  EXPECT_EQ(list->columnWidth(0), 180);
  EXPECT_EQ(list->columnWidth(1), 340);

  const QStringList expected[] = {
      {"row 51", "Advance to the next step", "row 52",
       "'N', left click, space, right or down arrow, enter, or page down"},
      {"row 61", "Return to the previous step", "row 62", "'P', backspace, left or up arrow, or page up"},
      {"row 71", "Pause tapping", "row 72", "Esc or Alt + A"},
      {"row 81", "Go to Finish", "row 82", "Alt + F"},
  };
  ASSERT_EQ(list->topLevelItemCount(), 6);
  for (int r = 0; r < 4; ++r) {
    const QTreeWidgetItem* item = list->topLevelItem(r);
    EXPECT_EQ((QStringList{item->data(0, frmShortcuts::kKeyRole).toString(), item->text(0),
                           item->data(1, frmShortcuts::kKeyRole).toString(), item->text(1)}),
              expected[r]);
  }
  auto* close = window.findChild<QPushButton*>("cmdCancel");
  EXPECT_EQ(close->text(), "&Close");
  EXPECT_EQ(close->toolTip(), "Cancel changes and close dialog (Esc)");
}

TEST(Shortcuts, EnterIsSwallowedAndEscCloses) {
  frmShortcuts window;
  ShowActive(window);
  auto* list = window.findChild<QTreeWidget*>("ltvShortcuts");
  list->setFocus();
  QTest::keyClick(list, Qt::Key_Return);
  QTest::keyClick(window.findChild<QPushButton*>("cmdCancel"), Qt::Key_Enter);
  EXPECT_TRUE(window.isVisible());
  list->setCurrentItem(list->topLevelItem(0));
  QTest::keyClick(list, Qt::Key_Down);  // other keys reach the list
  EXPECT_EQ(list->currentItem(), list->topLevelItem(1));
  QTest::keyClick(list, Qt::Key_Escape);
  EXPECT_FALSE(window.isVisible());
}

TEST(Shortcuts, OpeningAgainBringsUpTheOpenWindowUntilItCloses) {
  frmShortcuts* first = frmShortcuts::Open();
  EXPECT_EQ(frmShortcuts::Open(), first);
  EXPECT_EQ(first->parentWidget(), nullptr);
  EXPECT_TRUE(first->testAttribute(Qt::WA_DeleteOnClose));
  QPointer<frmShortcuts> watch(first);
  first->close();
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  EXPECT_TRUE(watch.isNull());
  EXPECT_EQ(frmShortcuts::Instance(), nullptr);
  frmShortcuts* second = frmShortcuts::Open();
  EXPECT_EQ(second->findChild<QTreeWidget*>("ltvShortcuts")->topLevelItemCount(), 6);
  second->close();
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

struct VersionCase {
  int major, minor, revision;
  const char* line;
};

class VersionLineTest : public ::testing::TestWithParam<VersionCase> {};

TEST_P(VersionLineTest, DecimalNumbersWithoutLeadingZeros) {
  const VersionCase& c = GetParam();
  EXPECT_EQ(VersionLine(c.major, c.minor, c.revision), c.line);
}

INSTANTIATE_TEST_SUITE_P(Numbers, VersionLineTest,
                         ::testing::Values(VersionCase{2, 0, 201, "Version 2.0 Build 201"},
                                           VersionCase{2, 5, 201, "Version 2.5 Build 201"},
                                           VersionCase{10, 12, 7, "Version 10.12 Build 7"},
                                           VersionCase{0, 0, 0, "Version 0.0 Build 0"}));

TEST(About, TextsOfTheWindow) {
  frmAbout_NEW window;
  const auto text = [&](const char* name) { return window.findChild<QLabel*>(name)->text(); };
  EXPECT_EQ(window.windowTitle(), "About Serenitap");
  EXPECT_EQ(text("lblTitle"), "Serenitap");
  EXPECT_EQ(text("lblVersion"), "Version 2.0 Build 201");
  EXPECT_EQ(text("lblAddress"), "14 Linden Court\nHalifax, NS B3H 2Y9\nNova Scotia, Canada\nsupport@quorvex.com");
  EXPECT_EQ(MakerAddressText(), "14 Linden Court\r\nHalifax, NS B3H 2Y9\r\nNova Scotia, Canada\r\nsupport@quorvex.com");
  EXPECT_EQ(text("lblDeveloped"), "Developed By: Quorvex Software");
  EXPECT_EQ(text("lblCopyright"), QString::fromUtf8("Copyright \u00A9 2026 Quorvex Software"));
  EXPECT_EQ(text("lblWebAddress"), "www.serenitap.com");
  const QLabel* link = window.findChild<QLabel*>("lblWebAddress");
  EXPECT_EQ(link->palette().color(QPalette::WindowText), QColor(Qt::blue));
  EXPECT_TRUE(link->font().underline());
  EXPECT_EQ(window.findChild<QPushButton*>("cmdOK")->text(), "&OK");
}

TEST(About, WebAddressOpensWithMarkerAndEscCloses) {
  testing::WebPageRecorder pages;
  frmAbout_NEW window;
  ShowActive(window);
  QTest::mouseClick(window.findChild<QLabel*>("lblWebAddress"), Qt::LeftButton);
  ASSERT_EQ(pages.pages.size(), 1U);
  EXPECT_EQ(pages.pages[0].address, "www.serenitap.com");
  EXPECT_FALSE(pages.pages[0].as_is);
  EXPECT_TRUE(window.isVisible());
  QTest::keyClick(window.findChild<QPushButton*>("cmdOK"), Qt::Key_Escape);
  EXPECT_FALSE(window.isVisible());
}

TEST(About, ModalOpeningIsReleased) {
  testing::WhenModal([] {
    ASSERT_NE(frmAbout_NEW::Instance(), nullptr);
    frmAbout_NEW::Instance()->findChild<QPushButton*>("cmdOK")->click();
  });
  frmAbout_NEW::ShowModal();
  EXPECT_EQ(frmAbout_NEW::Instance(), nullptr);
}

}  // namespace
}  // namespace serenitap
