#pragma once
// Connects the main window to the session engine: the window's timer, clicks,
// keys (seen before the focused control), activation and closing become
// engine calls, and the engine's decisions become widget changes. It also runs
// the window's own commands: Web, Exit, the popup menu, the About and
// introduction windows (with the step timer suspended) and the shortcuts window.
//
// How events flow (docs/HACKING.md tells the same with more context):
//
// A key press. This controller is an event filter on the whole application,
// so eventFilter sees a key meant for the main window before the focused
// control does. PlanKey reads the command table (ui/main/commands.h): a
// session key (N, Space, Esc, the arrows, no Ctrl or Meta held) goes to the
// session's key rules, DecideKey (session/key_commands.h), which weigh the
// window's state (pause or resume available, the step) and return a
// KeyCommand; a shortcut (Ctrl+Q, Shift+F10, a button's Alt+letter) runs its
// command; Space and Enter on a control the user reached with Tab press that
// control; a digit on a choosing step goes to DigitChoice. The command's
// handler runs the engine (cmdNavig_Click, cmdPause_Click, ...). The engine changes its SessionState
// and tells the window what to show through the view interface ISessionView
// (session/session_view.h), which this controller implements with the
// window's setters (ShowStepLayout, ShowStepTexts, SetButtonEnabled, ...).
//
// A timer tick. The window's 10 ms step timer tmrSteps fires and the engine's
// tmrSteps_Timer runs: when the step's time is up it moves to the next step,
// decides what that step shows (GetStepDisplay, session/step_display.h) and
// hands it to the view interface, then blinks the current dot and counts the
// elapsed time. Tests call the tick themselves instead of waiting.
//
// Start-up. main (app/main.cpp) makes the application and calls modMain::Main
// (app/mod_main.h): the second-copy question, the introduction window when
// wanted, then the main window. Showing it builds frmMain from the control
// table, attaches this controller and runs its Form_Load, which restores the
// window placement and starts the session; then the event loop runs.
#include <QObject>
#include <QPointer>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <vector>

#include "session/engine.h"
#include "session/key_commands.h"
#include "session/session_view.h"
#include "settings/window_position.h"
#include "ui/main/commands.h"
#include "ui/main/guidance_control.h"

class QAbstractButton;
class QAction;
class QActionGroup;
class QKeyEvent;
class QMenu;
class QWidget;

namespace serenitap {

class frmMain;
class JournalKeeper;

// The small windows the main window opens. Each opener creates a fresh
// window; the modal ones return when it has closed.
struct MainWindowDialogs {
  std::function<void(QWidget* owner)> showAboutModal;     // frmAbout_NEW
  std::function<void(QWidget* owner)> showWhatIsItModal;  // frmWhatIsIt
  std::function<QWidget*()> createShortcuts;              // frmShortcuts, shown modeless
  std::function<void(QWidget* owner, const std::string& journalPath, bool keeping)> showProgressModal;  // frmProgress
};

class MainWindowController : public QObject, public ISessionView {
  Q_OBJECT
 public:
  MainWindowController(frmMain& window, MainWindowDialogs dialogs = {});
  ~MainWindowController() override;

  // The load sequence of the window, before it is shown.
  void Form_Load();

  SessionEngine& Engine() { return engine_; }
  GuidanceControl& Guidance() { return *guidance_; }
  frmMain& Window() { return window_; }

  // A key press, as the window's key preview runs it. Returns true when the
  // key was consumed.
  bool Form_KeyDown(const QKeyEvent& event);
  // Virtual key code of a Qt key (letters and digits keep their codes).
  static std::int32_t VirtualKeyOf(const QKeyEvent& event);

  // The action of a command of the table (the menu's items are these).
  QAction* Action(CommandId id) const;
  // Whether a command can run now: its button shown and enabled, or its action enabled.
  bool Available(const Command& command) const;
  // Runs a command as its button, item or key does (`key` null for a click).
  void Run(const Command& command, const QKeyEvent* key = nullptr);

  // The handlers of the command table.
  void OnNext(const QKeyEvent* key);
  void OnPrevious(const QKeyEvent* key);
  void OnPause(const QKeyEvent* key);
  void OnResume(const QKeyEvent* key);
  void OnFinish(const QKeyEvent* key);
  void OnDigit(const QKeyEvent* key);
  void OnMenu(const QKeyEvent* key);
  void OnIntroduction(const QKeyEvent* key);
  void OnShortcuts(const QKeyEvent* key);
  void OnAbout(const QKeyEvent* key);
  void OnJournal(const QKeyEvent* key);
  void OnProgress(const QKeyEvent* key);
  void OnSpokenGuidance(const QKeyEvent* key);
  // Opens the pace's own menu: 2 (the designed pace), 3, 4 or 6 seconds a point.
  void OnPace(const QKeyEvent* key);
  // The user's pace, from the pace menu: used at once, then stored.
  void ChoosePace(std::int32_t seconds);
  void OnWeb(const QKeyEvent* key);
  void OnExit(const QKeyEvent* key);

  // The monotonic clock, in milliseconds, that times a two-digit rating.
  void SetMonotonicClock(std::function<std::int64_t()> clock);

  // Window commands.
  void cmdWeb_Click();
  void cmdExit_Click();
  // Opens the popup menu: at the mouse when the mouse is on the menu button,
  // otherwise at the button with its first item active.
  void cmdNav_Click(bool fromKeyboard = false);
  void mnuPopUpAbout_Click();
  void mnuPopUpInfo_Click();
  void KeyboardShortcuts();
  void mnuPopUpJournal_Click(bool keep);
  void mnuPopUpProgress_Click();
  // The journal of sessions, kept when the user has chosen so.
  JournalKeeper& Journal() { return *journal_; }
  // The open shortcuts window, if any.
  QWidget* ShortcutsWindow() const { return shortcuts_; }

  // ISessionView.
  void SetStepTimerEnabled(bool enabled) override;
  void SetButtonEnabled(SessionButton button, bool enabled) override;
  void SetButtonVisible(SessionButton button, bool visible) override;
  void HideAllDots() override;
  void SetDotVisible(std::int32_t index, bool visible) override;
  void PaintDots(Rgb colour) override;
  void ShowStepLayout(const StepDisplay& display) override;
  void ShowStepTexts(const StepTexts& texts) override;
  void SetTimeText(const std::string& text) override;
  void PumpEvents() override;
  void SelectSUD(std::int16_t index) override;
  void SelectIssueOption(std::int32_t index) override;
  void SetIssueCaption(std::int32_t index, const std::string& caption) override;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void ConnectControls();
  void CreateCommands();
  void FillMenu(QMenu& menu);
  // What a key press does; Kind::None leaves it to the focused control.
  struct KeyPlan {
    enum class Kind { None, Session, Command, FocusedControl, MoveChoice, Digit };
    Kind kind = Kind::None;
    KeyCommand session = KeyCommand::None;
    const Command* command = nullptr;
    int direction = 0;
  };
  KeyPlan PlanKey(const QKeyEvent& event) const;
  // The control that has the focus because the user moved to it with Tab
  // (or the arrows within a choice group), or null.
  QWidget* TabbedFocus() const;
  // Moves the choice of the group the focused option belongs to.
  void MoveChoice(QWidget* option, int direction);
  // Only the chosen option of a group is a Tab stop, so Tab enters the group
  // at the choice and the next Tab leaves it.
  void UpdateChoiceTabStops();
  void SetFormPosition();
  void Form_Unload();
  // Runs a modal window with the step timer suspended, then restores it.
  void ModalWindowCommand(const char* procedure, const std::function<void(QWidget*)>& show);
  void AfterKeyMove(FocusTarget target);
  // A digit on the issue or rating step chooses that issue or rating.
  void ChooseByDigit(std::int32_t keyCode);
  bool BelongsToWindow(QObject* object) const;
  // A key typed into the words field: Enter and Esc leave the field, Tab moves
  // on as anywhere; every other key without Alt is text. True when consumed;
  // nullopt when the key goes on to the window's own keys (an Alt chord).
  std::optional<bool> WordsFieldKey(QKeyEvent& key);
  // The words field shows the chosen issue's words.
  void ShowWordsOfChosenIssue();
  // Stores the words edited since the last save; a failure is told once.
  void SaveWords();

  frmMain& window_;
  MainWindowDialogs dialogs_;
  SessionEngine engine_;
  std::unique_ptr<GuidanceControl> guidance_;  // the "Spoken Guidance" item; goes before the engine
  QPointer<QWidget> shortcuts_;
  std::map<CommandId, QAction*> actions_;
  QPointer<QWidget> tabbedFocus_;
  JournalKeeper* journal_ = nullptr;  // a child of this controller
  std::string introText_;             // the step's own text on lblIntro
  DigitChoice digits_;
  std::function<std::int64_t()> clock_;
  std::vector<QAction*> menuItems_;  // the menu's commands, in the menu's order
  QActionGroup* paces_ = nullptr;    // the items of the pace, one a choice
  QMenu* paceMenu_ = nullptr;        // them, under the menu's "Pace", once the menu is made
  std::set<enmIssue> wordsEdited_;   // issues whose words are not stored yet
  bool issueChoiceShown_ = false;
  bool pumping_ = false;
  bool unloaded_ = false;
  // The outer placement of the window in the normal state, which a maximized
  // window returns to and stores.
  WindowPlacement normalPlacement_;
};

}  // namespace serenitap
