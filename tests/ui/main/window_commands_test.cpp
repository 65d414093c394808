// The main window's commands: access keys, the windows it opens, closing,
// spoken guidance, and failures on the way.
#include <QLibrary>

#include "settings/options.h"
#include "settings/window_position.h"
#include "ui/main/main_window_fixture.h"
#include "ui/speech/speech.h"

namespace serenitap {
namespace {

using namespace window_testing;

// A visible, enabled button answers its access key once; others stay silent.
TEST_F(MainControllerTest, AccessKeysClickOnlyVisibleEnabledButtons) {
  auto clicksOf = [&](QAbstractButton* button, Qt::Key key) {
    QSignalSpy clicks(button, &QAbstractButton::clicked);
    Key(key, Qt::AltModifier);
    return clicks.count();
  };
  KeySpy spy(KeyTarget(), Qt::Key_A);
  EXPECT_EQ(clicksOf(Controls().cmdPause, Qt::Key_A), 0);  // disabled on the introduction: the key goes on
  EXPECT_EQ(spy.presses, 1);
  NextUntil(stpLeftHand);
  Controls().cmdFinish->setEnabled(false);
  Controls().cmdExit->hide();
  EXPECT_EQ(clicksOf(Controls().cmdFinish, Qt::Key_F) + clicksOf(Controls().cmdExit, Qt::Key_X), 0);
  Controls().cmdFinish->setEnabled(true);
  EXPECT_EQ(clicksOf(Controls().cmdPause, Qt::Key_A), 1);
  EXPECT_TRUE(Paused());
  EXPECT_EQ(clicksOf(Controls().cmdFinish, Qt::Key_F), 0);  // while paused, the first key only resumes
  EXPECT_FALSE(Paused());
  EXPECT_EQ(clicksOf(Controls().cmdFinish, Qt::Key_F), 1);
  EXPECT_EQ(step(), stpFinish);
}

// The menu opens from its button, the Menu key, Shift+F10 and F10 and shows
// its items in this order, each with its access key, the separator just
// before Exit. The shortcuts window opens once, modeless, and closes with the
// main window.
TEST_F(MainControllerTest, TheMenuAndTheShortcutsWindow) {
  QStringList captions;  // a separator as "-", an item that can be ticked with "[ ]"
  for (QAction* action : window->PopupMenu().actions())
    if (action->isVisible())
      captions << (action->isSeparator() ? QStringLiteral("-")
                                         : action->text() + (action->isCheckable() ? " [ ]" : ""));
  EXPECT_EQ(captions, (QStringList{"&How Serenitap Works…", "&Keyboard Shortcuts", "&About", "Keep a &Journal [ ]",
                                   "My &Progress…", "Pa&ce", "&Spoken Guidance [ ]", "-", "E&xit"}));
  QTest::mouseClick(Controls().cmdNav, Qt::LeftButton);
  EXPECT_TRUE(window->PopupMenu().isVisible());
  window->PopupMenu().hide();
  for (const auto& [key, modifiers, item] : {std::tuple{Qt::Key_Menu, Qt::KeyboardModifiers(), Qt::Key_A},
                                             {Qt::Key_F10, Qt::ShiftModifier, Qt::Key_P},
                                             {Qt::Key_F10, Qt::KeyboardModifiers(), Qt::Key_H}}) {
    Key(key, modifiers);
    EXPECT_TRUE(window->PopupMenu().isVisible()) << key;
    // From the keyboard it opens with its first item active, for the arrows and the screen reader.
    EXPECT_EQ(window->PopupMenu().activeAction(), controller->Action(CommandId::Introduction));
    QTest::keyClick(&window->PopupMenu(), item);  // the item's access key
  }
  Key(Qt::Key_F1);  // the introduction, at any time
  EXPECT_EQ(modalCalls, (std::vector<std::string>{"About", "My Progress", "Information", "Information"}));
  NextUntil(stpTopHead1);
  Key(Qt::Key_Question, Qt::ControlModifier | Qt::ShiftModifier);  // Ctrl+?, the question mark typed with Shift
  QPointer<QWidget> shortcuts = controller->ShortcutsWindow();
  ASSERT_TRUE(shortcuts && shortcuts->isVisible() && !shortcuts->isModal());
  EXPECT_GT(TicksUntilStepChanges(201), 0);  // the session goes on meanwhile
  controller->Action(CommandId::Shortcuts)->trigger();
  EXPECT_EQ(shortcutsCreated, 1);
  CloseWindow();  // it closes with the main window
  EXPECT_TRUE(shortcuts.isNull() || !shortcuts->isVisible());
  OpenWindow();
  throwInModal = true;  // a failing one is reported under its procedure, as the other windows are
  for (CommandId id : {CommandId::Shortcuts, CommandId::About, CommandId::Introduction, CommandId::Progress})
    controller->Action(id)->trigger();
  std::vector<std::string> procedures;
  for (const auto& report : reports.reports) procedures.push_back(report.procedure);
  EXPECT_EQ(procedures, (std::vector<std::string>{"KeyboardShortcuts", "mnuPopUpAbout_Click", "mnuPopUpInfo_Click",
                                                  "mnuPopUpProgress_Click"}));
  reports.reports.clear();
}

// Notes whether the step timer runs when the main window gets its close
// event, before the controller's own unload sees it.
struct CloseWatcher : QObject {
  explicit CloseWatcher(MainControllerTest& t) : t(t) { qApp->installEventFilter(this); }
  ~CloseWatcher() override { qApp->removeEventFilter(this); }
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (watched == t.window.get() && event->type() == QEvent::Close) timerAtClose.push_back(t.timer().isActive());
    return false;
  }
  MainControllerTest& t;
  std::vector<bool> timerAtClose;
};

// Exit by its button, its menu item, Alt+X or Ctrl+Q; the fourth time with the window
// so far right that its placement cannot be stored, which is reported.
TEST_F(MainControllerTest, ExitStopsTheStepTimerBeforeTheWindowCloses) {
  for (int way = 0; way < 5; ++way) {
    QWidget other;  // other top-level windows close with the main window
    other.show();
    NextUntil(stpLeftHand);
    CloseWatcher watcher(*this);
    if (way == 3) window->move(150'000'000, 0);  // the left edge in twips does not fit in 32 bits
    if (way == 0 || way == 3) QTest::mouseClick(Controls().cmdExit, Qt::LeftButton);
    if (way == 1) controller->Action(CommandId::Exit)->trigger();
    if (way == 2) Key(Qt::Key_X, Qt::AltModifier);
    if (way == 4) Key(Qt::Key_Q, Qt::ControlModifier);
    EXPECT_EQ(watcher.timerAtClose, std::vector<bool>{false}) << way;
    EXPECT_FALSE(window->isVisible() || other.isVisible()) << way;
    Reopen();
  }
  ASSERT_EQ(reports.reports.size(), 1u);
  EXPECT_EQ(reports.reports[0].procedure, "FormPos_Save");
  reports.reports.clear();
}

std::vector<std::int32_t> StoredPlacement() {
  std::vector<std::int32_t> p(5, -1);
  EXPECT_TRUE(FormPos_Read(p[0], p[1], p[2], p[3], p[4]));
  return p;
}

TEST_F(MainControllerTest, ClosingStoresThePlacementThatTheNextWindowTakes) {
  window->move(40, 30);
  window->resize(500, 500);  // on the 800 x 600 offscreen screen; narrower than half the design
  QApplication::processEvents();
  const QRect frame = window->frameGeometry();
  const QSize size = window->size();
  window->close();
  const auto p = StoredPlacement();
  EXPECT_EQ(p[4], kWindowStateNormal);
  Reopen();
  EXPECT_EQ(window->size(), size);
  EXPECT_EQ(window->frameGeometry().topLeft(), frame.topLeft());
  window->move(100, 80);  // minimized, nothing is stored: the placement before stays
  window->showMinimized();
  QApplication::processEvents();
  window->close();
  EXPECT_EQ(StoredPlacement(), p);
  Reopen();
  window->showMaximized();  // maximized, only the state is stored
  QApplication::processEvents();
  window->close();
  EXPECT_EQ(StoredPlacement(), (std::vector<std::int32_t>{p[0], p[1], p[2], p[3], kWindowStateMaximized}));
}

// The "Spoken Guidance" item: above the separator before Exit, off at first; the choice is stored,
// speaks at once and is kept when the voice fails or the machine has none.
TEST_F(MainControllerTest, TheSpokenGuidanceItemStoresTheChoice) {
  auto item = [&]() -> QAction& { return controller->Guidance().Item(); };
  EXPECT_FALSE(item().isChecked());  // (its place in the menu is checked with the menu)
  item().trigger();
  EXPECT_TRUE(modOptions::SpeakGuidance());
  ASSERT_EQ(spoken, std::vector<std::string>{"Say Please sit u"});
  item().trigger();
  EXPECT_FALSE(modOptions::SpeakGuidance());
  EXPECT_EQ(spoken.back(), "Stop");
  item().trigger();
  voiceFailed("the speech service reported an error");
  EXPECT_FALSE(item().isChecked());
  EXPECT_TRUE(modOptions::SpeakGuidance());
  ASSERT_EQ(notices.size(), 1u);
  EXPECT_NE(notices[0].find("reported an error"), std::string::npos);
  // Stored on, it is on at the start and speaks once the event loop runs.
  CloseWindow();
  spoken.clear();
  OpenWindow();
  EXPECT_TRUE(item().isChecked());
  EXPECT_EQ(spoken, std::vector<std::string>{"Say Please sit u"});
  voiceMissing = "No speech engine is installed: the package qt6-speech-speechd-plugin provides one.";
  Reopen();
  EXPECT_FALSE(item().isEnabled() || item().isChecked());
  EXPECT_TRUE(item().toolTip().contains("qt6-speech-speechd-plugin"));
  EXPECT_EQ(notices.size(), 2u);
  EXPECT_TRUE(modOptions::SpeakGuidance());  // the choice stays for a machine that has one
}

// The voice comes from a module, which says whether this desktop can speak;
// where it cannot be loaded (none lies beside this test) the item says why.
TEST(SpeechModule, TheVoiceComesFromItsModuleOrTheItemSaysWhyNot) {
  QLibrary module(QStringLiteral(SERENITAP_SPEECH_MODULE));
  const auto entry = reinterpret_cast<SpeechEntry>(module.resolve(kSpeechEntry));
  ASSERT_NE(entry, nullptr) << module.errorString().toStdString();
  const QString desktop = entry()->missing();
  EXPECT_TRUE(desktop.isEmpty() || desktop.contains(QStringLiteral("the package"))) << desktop.toStdString();
  const QString missing = GuidanceControl::DesktopVoice().missing();
  EXPECT_TRUE(missing.startsWith(
      QStringLiteral("The voice of Serenitap could not be loaded (serenitap_speech.so was found neither in")))
      << missing.toStdString();
}

}  // namespace
}  // namespace serenitap
