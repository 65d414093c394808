// The introduction window: its texts, the start-up option and its link.
#include <gtest/gtest.h>

#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>

#include "dialogs_test_support.h"
#include "settings/options.h"
#include "settings/registry.h"
#include "settings/registry_store.h"
#include "ui/dialogs/what_is_it_dialog.h"

namespace serenitap {
namespace {

using testing::ShowActive;

constexpr std::int32_t kMissing = -99;

void StoreOption(std::int32_t value) {
  modRegistry::RegSaveNumber(settings::HKEY_CURRENT_USER, modOptions::kOptionsKey, modOptions::kShowWhatIsIt, value);
}

std::int32_t StoredOption() {
  return modRegistry::RegGetNumber(settings::HKEY_CURRENT_USER, modOptions::kOptionsKey, modOptions::kShowWhatIsIt,
                                   kMissing);
}

QPushButton* Button(QWidget& window, const char* name) { return window.findChild<QPushButton*>(name); }

struct OptionCase {
  const char* name;
  std::int32_t stored;  // kMissing: no value at all
  bool shows;
};

class WhatIsItOptionTest : public ::testing::TestWithParam<OptionCase> {
 protected:
  testing::TempStore store_;
};

TEST_P(WhatIsItOptionTest, ButtonsFollowTheOptionAndTheOptionButtonTogglesIt) {
  const OptionCase& c = GetParam();
  if (c.stored != kMissing) StoreOption(c.stored);
  frmWhatIsIt window;
  EXPECT_EQ(window.ShowOnStartup(), c.shows);
  QPushButton* ok = Button(window, "cmdOK");
  QPushButton* cancel = Button(window, "cmdCancel");
  if (c.shows) {
    EXPECT_EQ(ok->text(), "&Don't Show This Again");
    EXPECT_EQ(ok->toolTip(), "Don't show this window again on startup of the program");
    EXPECT_EQ(cancel->text(), "&Continue");
    EXPECT_EQ(cancel->toolTip(), "Close this window and proceed to the main window (Esc)");
  } else {
    EXPECT_EQ(ok->text(), "Show On Startup");
    EXPECT_EQ(ok->toolTip(), "Show this window every time the program starts");
    EXPECT_EQ(cancel->text(), "&Close");
    EXPECT_EQ(cancel->toolTip(), "Close this window");
  }
  EXPECT_EQ(ok->accessibleName(), WithoutAccessKey(ok->text()));

  ShowActive(window);
  ok->click();
  EXPECT_FALSE(window.isVisible());
  EXPECT_EQ(StoredOption(), c.shows ? 0 : 1);

  frmWhatIsIt next;  // the next opening reads the new value
  EXPECT_EQ(next.ShowOnStartup(), !c.shows);
}

INSTANTIATE_TEST_SUITE_P(Stored, WhatIsItOptionTest,
                         ::testing::Values(OptionCase{"Missing", kMissing, false}, OptionCase{"Zero", 0, false},
                                           OptionCase{"One", 1, true}, OptionCase{"Two", 2, false},
                                           OptionCase{"MinusOne", -1, false}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(WhatIsIt, CaptionTextAndLinkLine) {
  testing::TempStore store;
  frmWhatIsIt window;
  EXPECT_EQ(window.windowTitle(), "How Serenitap works");
  const std::string text = WhatIsItText();
  EXPECT_EQ(text.rfind("Serenitap helps in dealing with negative emotions by using EFT.\r\n\r\nEFT stands for", 0), 0U);
  EXPECT_NE(text.find("therapy.\r\n\r\nIn the course of EFT session"), std::string::npos);
  EXPECT_NE(text.find("don't be discuraged by this - eventually it should go all the way down to 1 or even to 0."),
            std::string::npos);
  EXPECT_EQ(text.back(), '.');
  std::size_t paragraphs = 1;
  for (std::size_t at = text.find("\r\n\r\n"); at != std::string::npos; at = text.find("\r\n\r\n", at + 4)) ++paragraphs;
  EXPECT_EQ(paragraphs, 6U);
  EXPECT_EQ(window.findChild<QPlainTextEdit*>("fedText")->toPlainText().count(QLatin1Char('\n')), 10);

  auto* link = window.findChild<QLabel*>("lblLearnMore");
  EXPECT_EQ(link->property("markup").toString(),
            "<TextBlock>To learn more about EFT please visit <Run Foreground=\"Blue\"TextDecorations=\"Underline\">"
            "www.serenitap.com.</Run></TextBlock>");
  EXPECT_EQ(link->text(),
            "To learn more about EFT please visit <span style=\"color:blue;text-decoration:underline\">"
            "www.serenitap.com.</span>");
  EXPECT_EQ(link->property("Tag").toString(), "www.serenitap.com");
}

TEST(WhatIsIt, EscAndEnterAwayFromTheOptionButtonCloseWithoutWriting) {
  testing::TempStore store;
  for (int way = 0; way < 3; ++way) {
    frmWhatIsIt window;
    ShowActive(window);
    if (way == 0) QTest::keyClick(window.findChild<QPlainTextEdit*>("fedText"), Qt::Key_Escape);
    if (way == 1) QTest::keyClick(window.findChild<QPlainTextEdit*>("fedText"), Qt::Key_Return);
    if (way == 2) window.close();
    EXPECT_FALSE(window.isVisible()) << way;
  }
  EXPECT_EQ(StoredOption(), kMissing);
}

TEST(WhatIsIt, EnterOnTheOptionButtonPressesIt) {
  testing::TempStore store;
  frmWhatIsIt window;
  ShowActive(window);
  QPushButton* ok = Button(window, "cmdOK");
  ok->setFocus();
  QTest::keyClick(ok, Qt::Key_Return);
  EXPECT_FALSE(window.isVisible());
  EXPECT_EQ(StoredOption(), 1);
}

TEST(WhatIsIt, OptionButtonBeforeActivationDoesNothing) {
  testing::TempStore store;
  frmWhatIsIt window;
  window.show();
  Button(window, "cmdOK")->click();
  EXPECT_TRUE(window.isVisible());
  EXPECT_EQ(StoredOption(), kMissing);
}

TEST(WhatIsIt, LinkOpensTheProductSiteWithTheSourceMarker) {
  testing::TempStore store;
  testing::WebPageRecorder pages;
  frmWhatIsIt window;
  ShowActive(window);
  auto* link = window.findChild<QLabel*>("lblLearnMore");
  link->setProperty("Tag", "  www.serenitap.com  ");
  QTest::mouseClick(link, Qt::LeftButton);
  ASSERT_EQ(pages.pages.size(), 1U);
  EXPECT_EQ(pages.pages[0].address, "www.serenitap.com");
  EXPECT_FALSE(pages.pages[0].as_is);
  EXPECT_EQ(pages.pages[0].window, static_cast<WindowHandle>(window.winId()));
  EXPECT_TRUE(window.isVisible());
}

TEST(WhatIsIt, ModalOpeningsAreFreshAndReleased) {
  testing::TempStore store;
  std::vector<bool> show_on_startup;
  for (int opening = 0; opening < 2; ++opening) {
    testing::WhenModal([&] {
      frmWhatIsIt* loaded = frmWhatIsIt::Instance();
      ASSERT_NE(loaded, nullptr);
      show_on_startup.push_back(loaded->ShowOnStartup());
      loaded->Form_Activate();
      loaded->cmdOK_Click();
    });
    frmWhatIsIt::ShowModal();
    EXPECT_EQ(frmWhatIsIt::Instance(), nullptr);
  }
  EXPECT_EQ(show_on_startup, (std::vector<bool>{false, true}));
}

}  // namespace
}  // namespace serenitap
