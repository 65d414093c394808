// The dialogs, offscreen: the error report, the introduction, shortcuts and
// About windows, and the accessible names of them all.
#include <gtest/gtest.h>

#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSvgRenderer>
#include <QTest>
#include <algorithm>
#include <fstream>
#include <optional>
#include <sstream>
#include <stdexcept>

#include "settings/options.h"
#include "settings/registry.h"
#include "support/recorders.h"
#include "support/temp_store.h"
#include "support/widget_steps.h"
#include "ui/dialogs/about_dialog.h"
#include "ui/dialogs/dialog_pictures.h"
#include "ui/dialogs/error_report_dialog.h"
#include "ui/dialogs/shortcuts_dialog.h"
#include "ui/dialogs/web_link.h"
#include "ui/dialogs/what_is_it_dialog.h"
#include "ui/main/built_pictures.h"
#include "ui/main/commands.h"
#include "ui/svg_drawing.h"

namespace serenitap {
namespace {

using testing::Button;
using testing::MessageBoxRecorder;
using testing::ShowActive;
using testing::WhenModal;

// Records the pages the dialogs open instead of starting a browser: the
// address, and "+marker" when the program's source marker is to be added.
struct WebPageRecorder {
  WebPageRecorder() {
    previous = SetWebPageOpener([this](WindowHandle, std::string_view address, bool as_is) {
      pages.push_back(std::string(address) + (as_is ? "" : "+marker"));
      if (during_open) during_open();
    });
  }
  ~WebPageRecorder() { SetWebPageOpener(previous); }
  std::vector<std::string> pages;
  std::function<void()> during_open;  // runs while a page is being opened
  WebPageOpener previous;
};

// ---- the error report

// The report window's clock, moved by the tests.
std::int64_t nowMs = 0;
[[maybe_unused]] const bool kClockInstalled = [] {
  frmErrorReport::SetMonotonicClock([] { return nowMs; });
  return true;
}();

// A report window, shown; past the first half second, in which Send does nothing, unless new.
struct ShownReport : frmErrorReport {
  explicit ShownReport(bool past_guard = true) {
    Load({-5, "Invalid  call", "2.0", 201, "frmMain", "cmdAbout_Click", "Line: 12"});
    ShowActive(*this);
    if (past_guard) nowMs += kSendGuardMs;
  }
  QPlainTextEdit* Field(const char* name) { return testing::Child<QPlainTextEdit>(*this, name); }
};

TEST(ErrorReportDialog, SendOpensTheReportPageOnceClosesAndGivesTheMousePointerBack) {
  QGuiApplication::setOverrideCursor(Qt::WaitCursor);
  WebPageRecorder pages;
  {
    ShownReport dialog;
    EXPECT_EQ(ScreenMousePointer(), std::nullopt);
    dialog.Field("txtComments")->setPlainText("  clicked About  \nthen #2 ");
    testing::Child<QLineEdit>(dialog, "txtEmail")->setText(" a@b.c ");
    pages.during_open = [&] { Button(dialog, "cmdSend")->click(); };  // a second press meanwhile
    Button(dialog, "cmdSend")->click();
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(ScreenMousePointer(), Qt::WaitCursor);
  }
  EXPECT_EQ(ScreenMousePointer(), Qt::WaitCursor);  // given back once only
  SetScreenMousePointer(std::nullopt);
  EXPECT_EQ(pages.pages,
            std::vector<std::string>{
                "https://www.quorvex.com/errorstp.php?ErrNum=-5&ErrDesc=Invalid++call&ProgVer=2.0&BuildNum="
                "201&ModuleName=frmMain&ProcName=cmdAbout_Click&Comments=clicked+About++\r\nthen+#2&Email="
                "a@b.c&ExtraDesc=Line: 12"});
}

// Enter is the main window's Next key: someone stepping through must not
// send a report with it, nor with a click meant for the window before.
TEST(ErrorReportDialog, OnlyAClickOnSendSendsAndAFailingBrowserStillCloses) {
  WebPageRecorder pages;
  pages.during_open = [] { throw std::runtime_error("no browser"); };
  for (const std::string way : {"cmdCancel", "Esc", "cmdSend"}) {
    nowMs = 0;  // the guard holds from a clock at zero too
    ShownReport dialog(false);
    EXPECT_EQ(dialog.focusWidget(), dialog.Field("txtComments"));
    nowMs += frmErrorReport::kSendGuardMs - 1;
    QTest::mouseClick(Button(dialog, "cmdSend"), Qt::LeftButton);
    nowMs += 1;
    QTest::keyClick(dialog.Field("txtComments"), Qt::Key_Return);
    QTest::keyClick(Button(dialog, "cmdSend"), Qt::Key_Return);
    EXPECT_TRUE(pages.pages.empty() && dialog.isVisible());
    if (way == "Esc") QTest::keyClick(dialog.findChild<QLineEdit*>(QStringLiteral("txtEmail")), Qt::Key_Escape);
    if (way != "Esc") QTest::mouseClick(Button(dialog, way.c_str()), Qt::LeftButton);
    EXPECT_FALSE(dialog.isVisible()) << way;
  }
  EXPECT_EQ(pages.pages.size(), 1U);
}

// ---- the introduction window and its start-up option

// Each opening is a fresh window, released as it closes, that reads the
// option anew. Enter on the option button presses it; Enter or Esc elsewhere
// close the window without writing.
TEST(WhatIsIt, TheOptionButtonTogglesTheStoredOption) {
  // The option stored (-99: none), where Enter or Esc is pressed.
  const std::tuple<const char*, std::int32_t, const char*, Qt::Key> cases[] = {
      {"none stored, the button", -99, "cmdOK", Qt::Key_Return},
      {"off, the button", 0, "cmdOK", Qt::Key_Return},
      {"on, the button", 1, "cmdOK", Qt::Key_Return},
      {"2, the button", 2, "cmdOK", Qt::Key_Return},
      {"on, Enter in the text", 1, "fedText", Qt::Key_Return},
      {"on, Esc", 1, "fedText", Qt::Key_Escape}};
  for (const auto& [name, stored, where, key] : cases) {
    SCOPED_TRACE(name);
    testing::TempStore store;
    if (stored != -99) {
      modRegistry::RegSaveNumber(settings::HKEY_CURRENT_USER, modOptions::kOptionsKey, modOptions::kShowWhatIsIt,
                                 stored);
    }
    WhenModal([where = where, key = key] {  // (its captions either way are in the window snapshots)
      ASSERT_NE(frmWhatIsIt::Instance(), nullptr);
      frmWhatIsIt::Instance()->Form_Activate();
      QWidget* target = testing::Child<QWidget>(*frmWhatIsIt::Instance(), where);
      target->setFocus();
      QTest::keyClick(target, key);
    });
    frmWhatIsIt::ShowModal();
    EXPECT_EQ(frmWhatIsIt::Instance(), nullptr);
    EXPECT_EQ(modOptions::ShowWhatIsItWindow(), (stored == 1) == (where[0] == 'f'));
  }
}

// ---- the shortcuts and About windows

// Every command, in the order of the README's key table (the list, its headers
// and every row without scrolling, above the buttons' strip, and the keys'
// names show in the window's snapshot); Enter does nothing, Esc closes.
TEST(Shortcuts, OneWindowShowingEveryCommandsKeysUnderItsHeadersClosedByEsc) {
  frmShortcuts* window = frmShortcuts::Open(ShortcutRows());
  EXPECT_EQ(frmShortcuts::Open({}), window);
  EXPECT_EQ(window->windowTitle(), "Keboard Shortcuts");
  ShowActive(*window);
  // The README's key table has a row for each command, in the same order.
  std::ostringstream readme;
  readme << std::ifstream(SERENITAP_README).rdbuf();
  std::size_t at = readme.str().find("\n| to | press |");
  for (const Command& command : Commands()) {
    at = readme.str().find("\n| " + std::string(command.helpRow) + " | ", at);
    EXPECT_NE(at, std::string::npos) << command.helpRow;
  }
  QTest::keyClick(window, Qt::Key_Return);
  EXPECT_EQ(frmShortcuts::Instance(), window);
  QTest::keyClick(window, Qt::Key_Escape);
  EXPECT_EQ(frmShortcuts::Instance(), nullptr);  // at once, not only once the window is gone
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

TEST(About, VersionLineAndTheWebAddressLink) {
  EXPECT_EQ(VersionLine(10, 12, 7), "Version 10.12 Build 7");
  WebPageRecorder pages;
  frmAbout_NEW window;
  ShowActive(window);
  QLabel* link = window.findChild<QLabel*>(QStringLiteral("lblWebAddress"));
  QTest::mouseClick(link, Qt::LeftButton);
  QTest::keyClick(link, Qt::Key_Space);  // from the keyboard too
  QTest::mousePress(link, Qt::LeftButton);
  QTest::mouseRelease(link, Qt::LeftButton, {}, QPoint(-10, -10));  // let go outside the link: nothing
  EXPECT_EQ(pages.pages, (std::vector<std::string>{"www.serenitap.com+marker", "www.serenitap.com+marker"}));
}

TEST(Markup, RunsBecomeStyledSpansAndLineBreaksBreaks) {
  EXPECT_EQ(
      MarkupToRichText(QStringLiteral("<TextBlock>a <Run Foreground=\"Red\" FontWeight=\"Bold\">b</Run>"
                                      "<LineBreak/><Run TextDecorations=\"Strikethrough\">c</Run> & d</TextBlock>")),
      QStringLiteral("a <span style=\"color:red;font-weight:bold\">b</span><br>"
                     "<span style=\"text-decoration:line-through\">c</span> &amp; d"));
}

// The program draws its SVG pictures and icons itself, to the pixel as the
// toolkit's SVG renderer (and its icon engine, a plugin) draws the same file.
using IconCase = std::tuple<const char*, const char*, QSize, QIcon::Mode>;  // name, path, size, mode

class SvgIcons : public ::testing::TestWithParam<IconCase> {};

TEST_P(SvgIcons, DrawnAsTheToolkitsSvgEngineDrawsThem) {
  const auto& [name, path, size, mode] = GetParam();
  const QIcon ours = SvgIcon(QString::fromUtf8(path));
  const QIcon toolkits(QString::fromUtf8(path));
  const QImage expected = toolkits.pixmap(size, mode).toImage();
  ASSERT_FALSE(expected.isNull()) << "the toolkit cannot draw " << path;
  EXPECT_EQ(ours.actualSize(size, mode), toolkits.actualSize(size, mode));
  EXPECT_TRUE(ours.pixmap(size, mode).toImage() == expected);
}

INSTANTIATE_TEST_SUITE_P(
    Icons, SvgIcons,
    ::testing::Values(IconCase{"Square", SERENITAP_RESOURCES "/icons/menu.svg", {32, 32}, QIcon::Normal},
                      IconCase{"Greyed", SERENITAP_RESOURCES "/icons/previous.svg", {16, 16}, QIcon::Disabled},
                      IconCase{"Selected", SERENITAP_RESOURCES "/icons/info.svg", {24, 24}, QIcon::Selected},
                      IconCase{"SmallerThanDrawn", SERENITAP_RESOURCES "/icons/pause.svg", {20, 20}, QIcon::Normal},
                      IconCase{"NotSquare", SERENITAP_RESOURCES "/icons/resume.svg", {48, 20}, QIcon::Disabled}),
    [](const ::testing::TestParamInfo<IconCase>& info) { return std::string(std::get<0>(info.param)); });

using PictureCase = std::tuple<const char*, const char*, QRectF>;  // name, path, where it is drawn

class SvgPictures : public ::testing::TestWithParam<PictureCase> {};

TEST_P(SvgPictures, DrawnAsTheToolkitDrawsThem) {
  const auto& [name, path, target] = GetParam();
  QFile file(QString::fromUtf8(path));  // a picture of the program's, or one written here
  const QByteArray data = file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray(path);
  const std::optional<SvgDrawing> ours = SvgDrawing::FromData(data);
  ASSERT_TRUE(ours.has_value()) << path;
  QSvgRenderer toolkits(data);
  ASSERT_TRUE(toolkits.isValid());
  EXPECT_EQ(ours->DefaultSize(), toolkits.defaultSize());
  auto draw = [&](auto&& render) {
    QImage image(target.toAlignedRect().size() + QSize(3, 3), QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    render(painter);
    return image;
  };
  EXPECT_TRUE(draw([&](QPainter& p) { ours->Render(p, target); }) ==
              draw([&](QPainter& p) { toolkits.render(&p, target); }));
}

INSTANTIATE_TEST_SUITE_P(
    Pictures, SvgPictures,
    ::testing::Values(PictureCase{"BodyAsDrawn", SERENITAP_RESOURCES "/pictures/body_chart.svg", {0, 0, 476, 569}},
                      PictureCase{
                          "BodyStretchedAndMoved", SERENITAP_RESOURCES "/pictures/body_chart.svg", {2.5, 1, 390, 610}},
                      PictureCase{"LeftHandSmall", SERENITAP_RESOURCES "/pictures/hand_left.svg", {0, 0, 128, 80}},
                      PictureCase{"RightHandWide", SERENITAP_RESOURCES "/pictures/hand_right.svg", {1, 2, 300, 161}},
                      PictureCase{"IconWithCircles", SERENITAP_RESOURCES "/icons/info.svg", {0, 0, 33, 33}},
                      PictureCase{"IconOfLines", SERENITAP_RESOURCES "/icons/start.svg", {0, 0, 24, 24}},
                      PictureCase{"ViewBoxAside",
                                  R"svg(<svg width="8" height="8" viewBox="-4 -2 8 8"><circle r="3"/></svg>)svg",
                                  {0, 0, 9, 9}},
                      PictureCase{"EveryShapeAndStyle",
                                  R"svg(<svg width="40" height="30">
<g transform="translate(2) scale(2)" stroke="#f00" stroke-width="1.5" stroke-linecap="square"
stroke-linejoin="bevel"><rect x="1" y="1" width="6" height="4"/><path d="M 9 1 H 14 V 6 Q 12 9 9 6 Z" fill="none"
stroke-opacity="2"/></g><path d="M 2,20 5e0,27 8 2.5e+1 L 12 22 C 14 20 16 28 18 22 20 20 21-1e-1 23 22" fill="#0f0"
stroke="#00f" stroke-linecap="butt" stroke-linejoin="miter"/><rect x="22" y="2" width="8" height="6" stroke="#000"
stroke-opacity=".5"/><circle cx="30" cy="20" r="5" stroke="none" stroke-linecap="round" stroke-linejoin="round"/>
</svg>)svg",
                                  {1, 0, 80, 60}}),
    [](const ::testing::TestParamInfo<PictureCase>& info) { return std::string(std::get<0>(info.param)); });

// The main window draws its pictures and icons filled, as the build made
// them (and the outline of any picture's stroke is made as the build makes
// it): they look as their files do, also where a line is thinner than a
// pixel, no colour channel of a pixel more than 12 levels apart (measured:
// 10 at two corners of the resume icon, 3 at most elsewhere, mostly none).
using FilledCase = std::tuple<const char*, const char*, QSize>;  // name, file under resources/ or SVG, size

class FilledPictures : public ::testing::TestWithParam<FilledCase> {};

TEST_P(FilledPictures, LookAsTheirStrokedFiles) {
  const auto& [name, file, size] = GetParam();
  QFile svg(QStringLiteral(SERENITAP_RESOURCES "/") + QString::fromUtf8(file));
  const std::optional<SvgDrawing> stroked =
      SvgDrawing::FromData(svg.open(QIODevice::ReadOnly) ? svg.readAll() : QByteArray(file));
  ASSERT_TRUE(stroked.has_value());
  const FilledPicture made = stroked->Filled();
  const FilledDrawing* built = main_window::BuiltPicture(file);
  auto draw = [&, size = size](const auto& drawing) {
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    drawing.Render(painter, QRectF(image.rect()));
    return image;
  };
  const QImage expected = draw(*stroked);
  const QImage filled = built != nullptr ? draw(*built) : draw(made.View());
  int largest = 0;
  for (int y = 0; y < expected.height(); ++y) {
    for (int x = 0; x < expected.width(); ++x) {
      const QRgb a = expected.pixel(x, y), b = filled.pixel(x, y);
      largest = std::max({largest, std::abs(qRed(a) - qRed(b)), std::abs(qGreen(a) - qGreen(b)),
                          std::abs(qBlue(a) - qBlue(b)), std::abs(qAlpha(a) - qAlpha(b))});
    }
  }
  EXPECT_LE(largest, 12);
}

INSTANTIATE_TEST_SUITE_P(Pictures, FilledPictures,
                         ::testing::Values(FilledCase{"BodyAsDesigned", "pictures/body_chart.svg", {476, 569}},
                                           FilledCase{"BodyOnALaptop", "pictures/body_chart.svg", {312, 373}},
                                           FilledCase{"BodyOnALaptopFullScreen", "pictures/body_chart.svg", {366, 437}},
                                           FilledCase{"BodySmall", "pictures/body_chart.svg", {238, 285}},
                                           FilledCase{"LeftHandAsDesigned", "pictures/hand_left.svg", {255, 161}},
                                           FilledCase{"RightHandOnALaptop", "pictures/hand_right.svg", {225, 142}},
                                           FilledCase{"MenuIcon", "icons/menu.svg", {16, 16}},
                                           FilledCase{"Info", "icons/info.svg", {16, 16}},
                                           FilledCase{"MenuOfHairlines", "icons/menu.svg", {8, 8}},
                                           FilledCase{"InfoOfHairlines", "icons/info.svg", {11, 11}},
                                           FilledCase{"Start", "icons/start.svg", {32, 32}},
                                           FilledCase{"Next", "icons/next.svg", {32, 32}},
                                           FilledCase{"Previous", "icons/previous.svg", {32, 32}},
                                           FilledCase{"Pause", "icons/pause.svg", {32, 32}},
                                           FilledCase{"Resume", "icons/resume.svg", {32, 32}},
                                           FilledCase{"EveryCapAndJoin",
                                                      R"svg(<svg width="40" height="30">
<g transform="translate(2) scale(2)" stroke="#f00" stroke-width="1.5" stroke-linecap="square"
stroke-linejoin="bevel"><rect x="1" y="1" width="6" height="4"/><path d="M 9 1 H 14 V 6 Q 12 9 9 6 Z" fill="none"
stroke-opacity="0.5"/></g><path d="M 2,20 5,27 8 25 L 12 22 C 14 20 16 28 18 22" fill="#0f0" stroke="#00f"
stroke-linecap="butt" stroke-linejoin="miter"/><path d="M 22 12 L 30 22 L 36 12" fill="none" stroke="#000"
stroke-linecap="round" stroke-linejoin="round"/><circle cx="30" cy="20" r="5" stroke="#888"/></svg>)svg",
                                                      {81, 61}}),
                         [](const ::testing::TestParamInfo<FilledCase>& info) {
                           return std::string(std::get<0>(info.param));
                         });

// The dialogs' pictures come from a module; without it (none beside this
// test) a dialog shows an empty space of the picture's size, nothing worse.
TEST(DialogPictures, DrawnByTheModuleAndEmptyWithoutIt) {
  auto opaquePixels = [](const QPixmap& pixmap) {  // 96 pixels wide: no padding at the end of a line
    const QImage alpha = pixmap.toImage().convertToFormat(QImage::Format_Alpha8);
    return std::count_if(alpha.constBits(), alpha.constBits() + alpha.sizeInBytes(), [](uchar a) { return a != 0; });
  };
  const QString logo = QStringLiteral(":/dialogs/product_logo.svg");
  EXPECT_GT(opaquePixels(DialogPicture(logo, {48, 48}, 2.0)), 1000);
  UseDialogPictures(nullptr);
  const QPixmap without = DialogPicture(logo, {48, 48}, 2.0);
  UseDialogPictures(LinkedDialogPictures());
  EXPECT_EQ(without.size(), QSize(96, 96));
  EXPECT_EQ(opaquePixels(without), 0);
}

// What it does not draw it refuses as a whole, rather than drawing part of it.
TEST(SvgPictures, MoreOfSvgThanTheProgramDrawsIsRefused) {
  const char* const refused[] = {
      R"svg(<svg viewBox="0 0 8 8"><text x="1" y="1">a</text></svg>)svg",
      R"svg(<svg viewBox="0 0 8 8"><path d="M 1 1 l 2 2"/></svg>)svg",
      R"svg(<svg viewBox="0 0 8 8"><rect width="4" height="4" rx="1"/></svg>)svg",
      R"svg(<svg viewBox="0 0 8 8"><circle r="2" fill="url(#sky)"/></svg>)svg",
      R"svg(<svg viewBox="0 0 8 8"><path d="M 1 1 C 2 2 3"/></svg>)svg",
      R"svg(<svg viewBox="0 0 8 8"><path d="M 1 1 H"/></svg>)svg",
      R"svg(<svg viewBox="0 0 8 8"><g transform="rotate(45)"/></svg>)svg",
      R"svg(<svg viewBox="0 0 8"/>)svg",
      R"svg(<g/>)svg",
      R"svg(<svg><g>)svg",
  };
  for (const char* data : refused) EXPECT_FALSE(SvgDrawing::FromData(data).has_value()) << data;
}

}  // namespace
}  // namespace serenitap
