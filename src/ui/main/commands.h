#pragma once
// Every command a user can give in the main window, declared once: what it
// is called (with its access key), which toolbar button or menu item shows
// it, the keys that run it and the procedure that carries it out. The window's
// actions and popup menu are made from this table, the key preview reads it,
// and the Keyboard Shortcuts window and the README list it.
//
// Two kinds of keys: `shortcuts` are matched with their modifiers (Ctrl+Q is
// not Q); `sessionKeys` run the command whatever Shift or Alt is held, but
// never with Ctrl or Meta, so that those chords stay free for shortcuts.
#include <QKeySequence>
#include <QList>
#include <QString>
#include <span>
#include <string_view>

#include "session/key_commands.h"
#include "ui/dialogs/shortcuts_dialog.h"

class QAbstractButton;
class QKeyEvent;

namespace serenitap {

class MainWindowController;
namespace main_window {
struct MainControls;
}

// The window's button that shows a command, picked from its controls.
using CommandButton = QAbstractButton* (*)(const main_window::MainControls& controls);

enum class CommandId {
  Next,
  Previous,
  Pause,
  Resume,
  Finish,
  ChooseIssue,
  RateIssue,
  Menu,
  Introduction,
  Shortcuts,
  About,
  Journal,
  Progress,
  Pace,
  SpokenGuidance,
  Web,
  Exit,
};

struct Command {
  CommandId id;
  std::string_view caption;       // "&" marks the access key
  CommandButton button;           // the toolbar or status-strip button that runs it, or nullptr
  std::string_view menuItem;      // the popup menu's item, or empty
  std::string_view does;          // what it does, as the Keyboard Shortcuts window says it
  std::string_view helpRow;       // the first column of the README's key table
  QList<QKeySequence> shortcuts;  // a button's access key (Alt+letter) is added from its caption
  QList<int> sessionKeys;         // Qt::Key values  // Qt::Key values
  std::string_view more;          // what else runs it, in words ("a left click on the text")
  bool checkable = false;
  // Carries the command out; `key` is the key press that asked for it, or
  // null for a click, a menu choice or a screen reader's action.
  void (MainWindowController::*handler)(const QKeyEvent* key) = nullptr;
};

// The table, in the order of the Keyboard Shortcuts window; the menu's items
// follow it too.
std::span<const Command> Commands();
const Command& CommandOf(CommandId id);

// What a session key does in the session's own key rules (Next, Previous,
// Pause); None for every other command.
KeyCommand SessionCommandOf(CommandId id);

// The command whose session key this is (modifiers aside), or nullptr.
const Command* CommandOfSessionKey(int key);
// The command one of whose shortcuts is this key with these modifiers, or nullptr.
const Command* CommandOfShortcut(const QKeyEvent& event);

// A key's name as the program tells people about it: "N", "Space", "→",
// "Page Down", "Shift+F10", "Ctrl+Q".
QString KeyName(int key);
QString ShortcutName(const QKeySequence& shortcut);
// Every key of a command, named and joined: "N, Space, Enter, → … or Alt+N",
// followed by what else runs it.
QString KeysOf(const Command& command);

// The rows of the Keyboard Shortcuts window: every command with its keys.
QList<ShortcutRow> ShortcutRows();

// A key that only changes the next one: Shift, Ctrl, Alt, AltGr, Meta, Super,
// Caps Lock, Num Lock.
bool IsModifierKey(int key);
// A chord the window manager keeps for itself (Alt+Tab, Alt+F4, any Meta or
// Super chord): it neither resumes a session nor runs a session key.
bool IsWindowManagerChord(const QKeyEvent& event);

}  // namespace serenitap
