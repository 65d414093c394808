// The dialogs, offscreen: the dialog pattern on the template window, the
// text-box helpers, the password prompt, the error report, the introduction,
// shortcuts and About windows, and the accessible names of them all.
#include <gtest/gtest.h>

#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>
#include <stdexcept>

#include "settings/options.h"
#include "settings/registry.h"
#include "support/recorders.h"
#include "support/temp_store.h"
#include "ui/dialogs/about_dialog.h"
#include "ui/dialogs/error_report_dialog.h"
#include "ui/dialogs/password_dialog.h"
#include "ui/dialogs/shortcuts_dialog.h"
#include "ui/dialogs/template_dialog.h"
#include "ui/dialogs/text_box_helpers.h"
#include "ui/dialogs/web_link.h"
#include "ui/dialogs/what_is_it_dialog.h"

namespace serenitap {
namespace {

using testing::MessageBoxRecorder;

// Records the pages the dialogs open instead of starting a browser.
struct WebPageRecorder {
  WebPageRecorder() {
    previous = SetWebPageOpener([this](WindowHandle, std::string_view address, bool as_is) {
      pages.emplace_back(address, as_is);
      if (during_open) during_open();
    });
  }
  ~WebPageRecorder() { SetWebPageOpener(previous); }
  WebPageRecorder(const WebPageRecorder&) = delete;
  std::vector<std::pair<std::string, bool>> pages;  // address, opened as is
  std::function<void()> during_open;                // runs while a page is being opened
  WebPageOpener previous;
};

// Shows a window and activates it, as the window system does when it opens.
void ShowActive(QWidget& window) {
  window.show();
  QEvent activate(QEvent::WindowActivate);
  QApplication::sendEvent(&window, &activate);
}

// Runs step once the next modal loop is running.
void WhenModal(std::function<void()> step) { QTimer::singleShot(0, qApp, std::move(step)); }

QPushButton* Button(QWidget& window, const char* name) { return window.findChild<QPushButton*>(name); }

// ---- the dialog pattern, on a template dialog that edits something

struct EditingDialog : frmZTemplate {
  bool valid = true;
  int ok_actions = 0, saves = 0;
  std::function<void()> during_ok;
  bool ValidateData() override { return valid; }
  void OkAction() override {
    ++ok_actions;
    if (during_ok) during_ok();
  }
  void SaveWork() override { ++saves; }
};

TEST(TemplateDialog, ClosingChangedDataAsksFirstWhicheverWayItCloses) {
  const struct {
    bool changed;
    MsgAnswer answer;
    bool valid, stays_open;
    int saves;
  } cases[] = {{false, MsgAnswer::Yes, true, false, 0}, {true, MsgAnswer::Cancel, true, true, 0},
               {true, MsgAnswer::No, true, false, 0},   {true, MsgAnswer::Yes, false, true, 0},
               {true, MsgAnswer::Yes, true, false, 1},  {true, MsgAnswer::Cancel, true, true, 0}};
  int way = 0;
  for (const auto& c : cases) {
    MessageBoxRecorder boxes;
    boxes.answers = {c.answer};
    EditingDialog dialog;
    dialog.valid = c.valid;
    ShowActive(dialog);
    if (c.changed) dialog.SetDataChangedFlag();
    if (way % 3 == 0) Button(dialog, "cmdCancel")->click();
    if (way % 3 == 1) QTest::keyClick(Button(dialog, "cmdSave"), Qt::Key_Escape);
    if (way++ % 3 == 2) dialog.close();
    EXPECT_EQ(boxes.Texts(), std::vector<std::string>(c.changed, "Do you wish to save your changes?")) << way;
    EXPECT_EQ(dialog.isVisible(), c.stays_open) << way;
    EXPECT_EQ(dialog.DataChanged(), c.stays_open) << way;
    EXPECT_EQ(dialog.saves, c.saves) << way;
    for (const auto& asked : boxes.requests) EXPECT_EQ(asked.buttons, MsgButtons::YesNoCancel);
  }
}

TEST(TemplateDialog, CommandsOnlyOnceActivatedAndNeverOverlapping) {
  QGuiApplication::setOverrideCursor(Qt::WaitCursor);
  EditingDialog dialog;
  dialog.show();
  Button(dialog, "cmdOK")->click();
  QTest::keyClick(&dialog, Qt::Key_Return);
  EXPECT_EQ(dialog.ok_actions, 0);  // not activated yet
  ShowActive(dialog);
  EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);         // the arrow is back
  QTest::keyClick(Button(dialog, "cmdCancel"), Qt::Key_Return);  // the key preview wins over the focused button
  QTest::keyClick(Button(dialog, "cmdSave"), Qt::Key_Enter);
  EXPECT_EQ(dialog.ok_actions, 2);
  dialog.SetDataChangedFlag();
  dialog.during_ok = [&] {
    Button(dialog, "cmdOK")->click();
    Button(dialog, "cmdSave")->click();
  };
  Button(dialog, "cmdOK")->click();
  EXPECT_EQ(dialog.ok_actions, 3);
  EXPECT_EQ(dialog.saves, 0);
  Button(dialog, "cmdSave")->click();  // now free: saves and stays open
  EXPECT_EQ(dialog.saves, 1);
  EXPECT_FALSE(dialog.DataChanged());
  EXPECT_TRUE(dialog.isVisible());
  dialog.resize(500, 400);
  EXPECT_EQ(dialog.BottomStrip()->geometry(), QRect(0, 400 - 56, 500, 56));
}

TEST(TextBoxHelpers, SelectAndForceCaseAndReportFailuresUnderTheirOwnName) {
  MessageBoxRecorder boxes;
  QLineEdit line(QStringLiteral("hello")), empty;
  QPlainTextEdit plain(QStringLiteral("one\ntwo"));
  SelectTextX(&line);
  SelectText(&plain);
  SelectTextX(&empty);
  EXPECT_EQ(line.selectedText(), "hello");
  EXPECT_EQ(plain.textCursor().selectedText(), QStringLiteral("one\u2029two"));
  EXPECT_FALSE(empty.hasSelectedText());
  SetTextBoxCase(&empty, 1);
  QTest::keyClicks(&empty, "MiXed");
  SetTextBoxCase(&empty, 0);  // upper was forced: now only lower
  QTest::keyClicks(&empty, "AbC");
  SetTextBoxCase(&empty, 2);  // other modes change nothing
  EXPECT_EQ(empty.text(), "mixedabc");
  EXPECT_EQ(TextBoxCase(&empty), 0);
  EXPECT_EQ(TextBoxCase(&line), -1);
  EXPECT_TRUE(boxes.requests.empty());
  QPushButton not_a_field;
  SelectTextX(nullptr);
  SelectText(&not_a_field);
  SetTextBoxCase(&not_a_field, 1);
  ASSERT_EQ(boxes.requests.size(), 3U);
  EXPECT_EQ(boxes.requests[0].text, "Error: 91. Object variable or With block variable not set");
  EXPECT_EQ(boxes.requests[1].text, "Error: 438. Object doesn't support this property or method");
  EXPECT_EQ(boxes.requests[1].title, "SelectText");
  EXPECT_EQ(boxes.requests[2].title, "SetTextBoxCase");
}

// ---- the password prompt

TEST(Password, HandsBackWhatWasTypedOnlyWhenConfirmed) {
  enum Way { Ok, Enter, Cancel, Esc };
  const std::pair<Way, const char*> cases[] = {{Ok, "s3cret pw"}, {Enter, "abc"}, {Cancel, "abc"}, {Esc, "abc"}};
  for (const auto& [way, typed] : cases) {
    WhenModal([way = way, typed = typed] {
      frmPassword* dialog = frmPassword::Instance();
      dialog->Form_Activate();
      auto* field = dialog->findChild<QLineEdit*>("txtPassword");
      QTest::keyClicks(field, typed);
      if (way == Ok || way == Cancel) Button(*dialog, way == Ok ? "cmdOK" : "cmdCancel")->click();
      if (way == Enter || way == Esc) QTest::keyClick(field, way == Enter ? Qt::Key_Return : Qt::Key_Escape);
    });
    QString password = QStringLiteral("left over");
    EXPECT_EQ(frmPassword::Ask(password), way <= Enter) << way;
    EXPECT_EQ(password, way <= Enter ? typed : "") << way;
    EXPECT_EQ(frmPassword::Instance(), nullptr);
  }
}

TEST(Password, MaskedOkOnlyOnceActiveAndFocusMovesToOkAtTheMaximumLength) {
  frmPassword dialog;
  dialog.show();
  Button(dialog, "cmdOK")->click();
  EXPECT_TRUE(dialog.isVisible());  // not activated yet
  ShowActive(dialog);
  auto* field = dialog.findChild<QLineEdit*>("txtPassword");
  EXPECT_EQ(field->echoMode(), QLineEdit::Password);
  field->setFocus();
  QTest::keyClicks(field, QString(frmPassword::kMaxPasswordLength - 1, QLatin1Char('x')));
  EXPECT_EQ(dialog.focusWidget(), field);
  QTest::keyClicks(field, "yz");
  EXPECT_EQ(dialog.focusWidget(), Button(dialog, "cmdOK"));
  EXPECT_EQ(field->text().size(), frmPassword::kMaxPasswordLength);
}

// ---- the error report

const ErrorReport kReport{-5, "Invalid  call", "2.0", 201, "frmMain", "cmdAbout_Click", "Line: 12"};

// The report window's clock, moved by the tests.
std::int64_t nowMs = 0;
[[maybe_unused]] const bool kClockInstalled = [] {
  frmErrorReport::SetMonotonicClock([] { return nowMs; });
  return true;
}();

// A loaded report window, shown and past the first half second in which Send does nothing.
struct ShownReport : frmErrorReport {
  ShownReport() {
    Load(kReport);
    ShowActive(*this);
    nowMs += kSendGuardMs;
  }
  QPlainTextEdit* Field(const char* name) { return findChild<QPlainTextEdit*>(name); }
};

TEST(ErrorReportDialog, ShowsTheReportAndGivesTheMousePointerBackOnce) {
  QGuiApplication::setOverrideCursor(Qt::WaitCursor);
  {
    ShownReport dialog;
    EXPECT_EQ(ScreenMousePointer(), std::nullopt);
    EXPECT_EQ(dialog.Field("txtErrDesc")->toPlainText(),
              "2.0 201 Error -5 (frmMain:cmdAbout_Click)\n\nInvalid  call\n\nLine: 12");
    EXPECT_EQ(dialog.Field("txtErrDesc")->palette().color(QPalette::Base), QColor(244, 244, 244));
    EXPECT_EQ(Button(dialog, "cmdCancel")->text(), "&Do Not Send");
    Button(dialog, "cmdCancel")->click();
    EXPECT_EQ(ScreenMousePointer(), Qt::WaitCursor);
  }
  EXPECT_EQ(ScreenMousePointer(), Qt::WaitCursor);
  SetScreenMousePointer(std::nullopt);
}

TEST(ErrorReportDialog, SendOpensTheReportPageOnceAndCloses) {
  WebPageRecorder pages;
  ShownReport dialog;
  QTest::keyClicks(dialog.Field("txtComments"), "  clicked About  ");
  QTest::keyClick(dialog.Field("txtComments"), Qt::Key_Return);
  QTest::keyClicks(dialog.Field("txtComments"), "then #2 ");
  QTest::keyClicks(dialog.findChild<QLineEdit*>("txtEmail"), " a@b.c ");
  pages.during_open = [&] { Button(dialog, "cmdSend")->click(); };  // a second press meanwhile
  Button(dialog, "cmdSend")->click();
  EXPECT_EQ(pages.pages, (std::vector<std::pair<std::string, bool>>{
                             {"https://www.quorvex.com/errorstp.php?ErrNum=-5&ErrDesc=Invalid++call&ProgVer=2.0"
                              "&BuildNum=201&ModuleName=frmMain&ProcName=cmdAbout_Click&Comments=clicked+About++"
                              "\r\nthen+#2&Email=a@b.c&ExtraDesc=Line: 12",
                              true}}));
  EXPECT_FALSE(dialog.isVisible());
  EXPECT_FALSE(dialog.Busy());
}

TEST(ErrorReportDialog, DoNotSendAndEscSendNothingAndAFailingBrowserStillCloses) {
  WebPageRecorder pages;
  pages.during_open = [] { throw std::runtime_error("no browser"); };
  for (const char* way : {"cmdCancel", "Esc", "cmdSend"}) {
    ShownReport dialog;
    if (Button(dialog, way) == nullptr) QTest::keyClick(dialog.findChild<QLineEdit*>("txtEmail"), Qt::Key_Escape);
    if (Button(dialog, way) != nullptr) Button(dialog, way)->click();
    EXPECT_FALSE(dialog.isVisible()) << way;
  }
  EXPECT_EQ(pages.pages.size(), 1U);
}

// Enter is the main window's Next key: someone stepping through must not
// send a report with it, nor with a click meant for the window before.
TEST(ErrorReportDialog, EnterNeverSendsAndAnEarlyClickDoesNothing) {
  WebPageRecorder pages;
  ShownReport dialog;
  nowMs -= frmErrorReport::kSendGuardMs;  // just shown
  EXPECT_EQ(dialog.focusWidget(), dialog.Field("txtComments"));
  QTest::mouseClick(Button(dialog, "cmdSend"), Qt::LeftButton);
  nowMs += frmErrorReport::kSendGuardMs - 1;
  QTest::keyClick(Button(dialog, "cmdSend"), Qt::Key_S, Qt::AltModifier);
  EXPECT_TRUE(pages.pages.empty());
  nowMs += 1;
  for (const char* name : {"txtErrDesc", "txtComments", "txtEmail", "cmdSend", "cmdCancel"}) {
    auto* field = dialog.findChild<QWidget*>(name);
    field->setFocus();
    QTest::keyClick(field, Qt::Key_Return);
    QTest::keyClick(field, Qt::Key_Enter);
    EXPECT_TRUE(pages.pages.empty() && dialog.isVisible()) << name;
  }
  EXPECT_EQ(dialog.Field("txtComments")->toPlainText(), "\n\n");  // new lines in the comments
  QTest::mouseClick(Button(dialog, "cmdSend"), Qt::LeftButton);
  EXPECT_EQ(pages.pages.size(), 1U);
}

TEST(ErrorReportDialog, ReportErrorShowsAFreshWindowReleasedAsItCloses) {
  const ReportSink previous = SetReportErrorSink({});
  InstallErrorReportDialog();
  WhenModal([] {
    EXPECT_EQ(frmErrorReport::Instance()->Report().module, "modSteps");
    frmErrorReport::Instance()->close();
  });
  ReportError(7, "Failure", "modSteps", "GetNextStep", "");
  EXPECT_EQ(frmErrorReport::Instance(), nullptr);
  SetReportErrorSink(previous);
}

// ---- the introduction window and its start-up option

std::int32_t StoredShowOption() {
  return modRegistry::RegGetNumber(settings::HKEY_CURRENT_USER, modOptions::kOptionsKey, modOptions::kShowWhatIsIt,
                                   -99);
}

TEST(WhatIsIt, TheOptionButtonTogglesTheStoredOption) {
  for (std::int32_t stored : {-99, 0, 1, 2}) {  // -99: no value stored
    testing::TempStore store;
    if (stored != -99) {
      modRegistry::RegSaveNumber(settings::HKEY_CURRENT_USER, modOptions::kOptionsKey, modOptions::kShowWhatIsIt,
                                 stored);
    }
    frmWhatIsIt window;
    EXPECT_EQ(Button(window, "cmdOK")->text(), stored == 1 ? "&Don't Show This Again" : "Show On Startup");
    ShowActive(window);
    Button(window, "cmdOK")->setFocus();
    QTest::keyClick(Button(window, "cmdOK"), Qt::Key_Return);
    EXPECT_FALSE(window.isVisible());
    EXPECT_EQ(StoredShowOption(), stored == 1 ? 0 : 1) << stored;
    EXPECT_EQ(frmWhatIsIt().ShowOnStartup(), stored != 1);  // the next opening reads the new value
  }
}

TEST(WhatIsIt, ClosingOtherwiseWritesNothingAndTheLinkOpensTheSite) {
  testing::TempStore store;
  WebPageRecorder pages;
  for (auto key : {Qt::Key_Escape, Qt::Key_Return}) {
    frmWhatIsIt window;
    window.show();
    Button(window, "cmdOK")->click();  // not activated yet
    EXPECT_TRUE(window.isVisible());
    ShowActive(window);
    auto* link = window.findChild<QLabel*>("lblLearnMore");
    EXPECT_TRUE(link->text().endsWith("<span style=\"color:blue;text-decoration:underline\">www.serenitap.com.</span>"));
    link->setProperty("Tag", "  www.serenitap.com  ");
    QTest::mouseClick(link, Qt::LeftButton);
    QTest::keyClick(window.findChild<QPlainTextEdit*>("fedText"), key);
    EXPECT_FALSE(window.isVisible());
  }
  EXPECT_EQ(StoredShowOption(), -99);
  EXPECT_EQ(pages.pages, (std::vector<std::pair<std::string, bool>>(2, {"www.serenitap.com", false})));
}

TEST(WhatIsIt, TextAndAFreshModalWindowEachTime) {
  const std::string text = WhatIsItText();
  EXPECT_EQ(text.rfind("Serenitap helps in dealing with negative emotions by using EFT.\r\n\r\nEFT stands for", 0), 0U);
  EXPECT_NE(text.find("therapy.\r\n\r\nIn the course of EFT session"), std::string::npos);
  testing::TempStore store;
  for (int opening = 0; opening < 2; ++opening) {
    WhenModal([opening] {
      EXPECT_EQ(frmWhatIsIt::Instance()->ShowOnStartup(), opening == 1);
      frmWhatIsIt::Instance()->Form_Activate();
      frmWhatIsIt::Instance()->cmdOK_Click();
    });
    frmWhatIsIt::ShowModal();
    EXPECT_EQ(frmWhatIsIt::Instance(), nullptr);
  }
}

// ---- the shortcuts and About windows

TEST(Shortcuts, OneWindowThatSwallowsEnterAndClosesWithEsc) {
  frmShortcuts* window = frmShortcuts::Open();
  EXPECT_EQ(frmShortcuts::Open(), window);
  EXPECT_EQ(window->windowTitle(), "Keboard Shortcuts");
  auto* list = window->findChild<QTreeWidget*>("ltvShortcuts");
  ASSERT_EQ(list->topLevelItemCount(), 6);
  EXPECT_EQ(list->topLevelItem(2)->text(0), "Pause tapping");
  EXPECT_EQ(list->topLevelItem(2)->text(1), "Esc or Alt + A");
  ShowActive(*window);
  list->setFocus();
  list->setCurrentItem(list->topLevelItem(0));
  QTest::keyClick(list, Qt::Key_Return);
  QTest::keyClick(Button(*window, "cmdCancel"), Qt::Key_Enter);
  QTest::keyClick(list, Qt::Key_Down);  // other keys reach the list
  EXPECT_EQ(list->currentItem(), list->topLevelItem(1));
  QPointer<frmShortcuts> watch(window);
  QTest::keyClick(list, Qt::Key_Escape);
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  EXPECT_TRUE(watch.isNull());
  EXPECT_EQ(frmShortcuts::Instance(), nullptr);
}

TEST(About, VersionLineTextsAndTheWebAddress) {
  for (auto [major, minor, revision, line] : {std::tuple{2, 0, 201, "Version 2.0 Build 201"},
                                              std::tuple{10, 12, 7, "Version 10.12 Build 7"}}) {
    EXPECT_EQ(VersionLine(major, minor, revision), line);
  }
  EXPECT_EQ(MakerAddressText().rfind("14 Linden Court\r\nHalifax", 0), 0U);
  WebPageRecorder pages;
  WhenModal([&] {
    frmAbout_NEW& window = *frmAbout_NEW::Instance();
    QLabel* link = window.findChild<QLabel*>("lblWebAddress");
    EXPECT_EQ(window.findChild<QLabel*>("lblVersion")->text(), "Version 2.0 Build 201");
    EXPECT_EQ(link->palette().color(QPalette::WindowText), QColor(Qt::blue));
    EXPECT_TRUE(link->font().underline());
    QTest::mouseClick(link, Qt::LeftButton);
    EXPECT_TRUE(window.isVisible());
    QTest::keyClick(Button(window, "cmdOK"), Qt::Key_Escape);
  });
  frmAbout_NEW::ShowModal();
  EXPECT_EQ(frmAbout_NEW::Instance(), nullptr);
  EXPECT_EQ(pages.pages, (std::vector<std::pair<std::string, bool>>{{"www.serenitap.com", false}}));
}

// Every named control of every dialog can be told apart by a screen reader;
// a button is known by its caption without the access-key marker.
TEST(DialogAccessibility, EveryNamedControlHasAnAccessibleName) {
  testing::TempStore store;
  std::unique_ptr<QWidget> windows[] = {std::make_unique<frmZTemplate>(), std::make_unique<frmWhatIsIt>(),
                                        std::make_unique<frmShortcuts>(), std::make_unique<frmAbout_NEW>(),
                                        std::make_unique<frmPassword>(),  std::make_unique<ShownReport>()};
  for (auto& window : windows) {
    window->show();
    for (QWidget* control : window->findChildren<QWidget*>()) {
      const QString name = control->objectName();
      if (name.isEmpty() || name.startsWith(QLatin1String("qt_")) || !control->isVisible()) continue;
      SCOPED_TRACE(window->objectName().toStdString() + "/" + name.toStdString());
      EXPECT_FALSE(control->accessibleName().isEmpty());
      if (auto* button = qobject_cast<QPushButton*>(control)) {
        EXPECT_EQ(button->accessibleName(), WithoutAccessKey(button->text()));
      }
    }
  }
}

}  // namespace
}  // namespace serenitap
