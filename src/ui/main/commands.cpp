#include "ui/main/commands.h"

#include <QKeyEvent>
#include <QPushButton>
#include <QStringList>
#include <vector>

#include "ui/main/main_controller.h"
#include "ui/main/main_window.h"

namespace serenitap {
namespace {

using C = MainWindowController;
using main_window::MainControls;

// A command's button: Button<&MainControls::cmdPause>, Button<&MainControls::cmdNavig, 1>.
template <auto member>
QAbstractButton* Button(const MainControls& controls) {
  return controls.*member;
}
template <auto array, int index>
QAbstractButton* Button(const MainControls& controls) {
  return (controls.*array)[index];
}
constexpr CommandButton kNone = nullptr;

// The table is data: one command a row, however long.
// clang-format off
std::vector<Command> BuildCommands() {
  std::vector<Command> t{
    {CommandId::Next, "&Next", &Button<&MainControls::cmdNavig, 1>, "", "Advance to the next step", "go to the next step",
     {}, {Qt::Key_N, Qt::Key_Space, Qt::Key_Return, Qt::Key_Enter, Qt::Key_Right, Qt::Key_Down, Qt::Key_PageDown},
     "or a left click on the text or the pictures", false, &C::OnNext},
    {CommandId::Previous, "&Previous", &Button<&MainControls::cmdNavig, 0>, "", "Return to the previous step", "go back a step",
     {}, {Qt::Key_P, Qt::Key_Backspace, Qt::Key_Left, Qt::Key_Up, Qt::Key_PageUp}, "", false, &C::OnPrevious},
    {CommandId::Pause, "P&ause", &Button<&MainControls::cmdPause>, "", "Pause tapping", "pause the timer while tapping",
     {}, {Qt::Key_Escape}, "", false, &C::OnPause},
    {CommandId::Resume, "R&esume", &Button<&MainControls::cmdResume>, "", "Resume after a pause", "resume after a pause",
     {}, {}, "or any key but a modifier alone or a Ctrl or Super chord (it only resumes)",
     false, &C::OnResume},
    {CommandId::Finish, "&Finish", &Button<&MainControls::cmdFinish>, "", "Go to Finish", "go to the end of the session",
     {}, {}, "", false, &C::OnFinish},
    {CommandId::ChooseIssue, "Choose the issue", kNone, "", "Choose the issue", "choose the issue",
     {}, {}, "1 to 9 for the issues from the top of the list, 0 for the tenth", false, &C::OnDigit},
    {CommandId::RateIssue, "Rate the issue", kNone, "", "Rate the issue (0 to 10)", "rate the issue (0 to 10)",
     {}, {}, "0 to 9; 1 then 0 within a second for 10", false, &C::OnDigit},
    {CommandId::Menu, "Menu", &Button<&MainControls::cmdNav>, "", "Open the menu", "open the menu",
     {QKeySequence(Qt::Key_Menu), QKeySequence(Qt::SHIFT | Qt::Key_F10), QKeySequence(Qt::Key_F10)}, {},
     "or the button at the bottom right", false, &C::OnMenu},
    {CommandId::Introduction, "&How Serenitap Works…", kNone, "mnuPopUpInfo", "How Serenitap works", "read how Serenitap works",
     {QKeySequence(Qt::Key_F1)}, {}, "", false, &C::OnIntroduction},
    {CommandId::Shortcuts, "&Keyboard Shortcuts", kNone, "mnuPopUpShortcuts", "List the keyboard shortcuts", "list the keyboard shortcuts",
     {QKeySequence(Qt::CTRL | Qt::Key_Question)}, {}, "", false, &C::OnShortcuts},
    {CommandId::About, "&About", kNone, "mnuPopUpAbout", "About Serenitap: version and maker", "show the version and the maker",
     {}, {}, "", false, &C::OnAbout},
    {CommandId::Journal, "Keep a &Journal", kNone, "mnuPopUpJournal", "Keep a journal of the sessions, or stop", "keep a journal of the sessions, or stop",
     {}, {}, "", true, &C::OnJournal},
    {CommandId::Progress, "My &Progress…", kNone, "mnuPopUpProgress", "My Progress: the sessions of the journal", "see your progress",
     {}, {}, "", false, &C::OnProgress},
    {CommandId::Pace, "Pa&ce", kNone, "mnuPopUpPace", "Pace: how long each tapping point lasts", "choose how long each tapping point lasts",
     {}, {}, "", false, &C::OnPace},
    {CommandId::SpokenGuidance, "&Spoken Guidance", kNone, "mnuPopUpSpeakGuidance", "Spoken Guidance: hear the steps, or stop", "hear the steps read aloud, or stop",
     {}, {}, "", true, &C::OnSpokenGuidance},
    {CommandId::Web, "Web", &Button<&MainControls::cmdWeb>, "", "Visit the Serenitap web site", "visit the web site",
     {}, {}, "the Web button", false, &C::OnWeb},
    {CommandId::Exit, "E&xit", &Button<&MainControls::cmdExit>, "mnuPopUpExit", "Quit Serenitap", "quit",
     {QKeySequence(Qt::CTRL | Qt::Key_Q)}, {}, "", false, &C::OnExit},
  };
  // clang-format on
  // A button answers Alt and the letter its caption marks.
  for (Command& command : t) {
    const auto amp = command.caption.find('&');
    if (command.button == nullptr || amp == std::string_view::npos || amp + 1 >= command.caption.size()) continue;
    const QChar letter = QChar::fromLatin1(command.caption[amp + 1]).toUpper();
    command.shortcuts.append(QKeySequence(Qt::ALT | Qt::Key(letter.unicode())));
  }
  return t;
}

QString Text(std::string_view text) { return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())); }

}  // namespace

std::span<const Command> Commands() {
  static const std::vector<Command> table = BuildCommands();
  return table;
}

const Command& CommandOf(CommandId id) {
  for (const Command& command : Commands()) {
    if (command.id == id) return command;
  }
  return Commands().front();  // every id has its row
}

KeyCommand SessionCommandOf(CommandId id) {
  switch (id) {
    case CommandId::Next: return KeyCommand::Next;
    case CommandId::Previous: return KeyCommand::Previous;
    case CommandId::Pause: return KeyCommand::Pause;
    default: return KeyCommand::None;
  }
}

const Command* CommandOfSessionKey(int key) {
  for (const Command& command : Commands()) {
    if (command.sessionKeys.contains(key)) return &command;
  }
  return nullptr;
}

const Command* CommandOfShortcut(const QKeyEvent& event) {
  const Qt::KeyboardModifiers held = event.modifiers() & ~Qt::KeypadModifier;
  auto find = [](QKeyCombination combination) -> const Command* {
    for (const Command& command : Commands()) {
      for (const QKeySequence& shortcut : command.shortcuts) {
        if (shortcut.count() == 1 && shortcut[0] == combination) return &command;
      }
    }
    return nullptr;
  };
  const auto key = static_cast<Qt::Key>(event.key());
  if (const Command* command = find(QKeyCombination(held, key))) return command;
  // A sign typed with Shift (the question mark of Ctrl+?) is named without it.
  const bool letter = key >= Qt::Key_A && key <= Qt::Key_Z;
  if ((held & Qt::ShiftModifier) && !letter && key < Qt::Key_Escape) {
    return find(QKeyCombination(held & ~Qt::ShiftModifier, key));
  }
  return nullptr;
}

QString KeyName(int key) {
  switch (key) {
    case Qt::Key_Right: return QStringLiteral("→");
    case Qt::Key_Left: return QStringLiteral("←");
    case Qt::Key_Up: return QStringLiteral("↑");
    case Qt::Key_Down: return QStringLiteral("↓");
    case Qt::Key_Return:
    case Qt::Key_Enter: return QStringLiteral("Enter");
    case Qt::Key_PageDown: return QStringLiteral("Page Down");
    case Qt::Key_PageUp: return QStringLiteral("Page Up");
    default: return QKeySequence(key).toString(QKeySequence::PortableText);
  }
}

QString ShortcutName(const QKeySequence& shortcut) {
  if (shortcut.count() == 1 && shortcut[0].keyboardModifiers() == Qt::NoModifier) return KeyName(shortcut[0].key());
  return shortcut.toString(QKeySequence::PortableText);
}

QString KeysOf(const Command& command) {
  QStringList names;
  for (int key : command.sessionKeys) {
    if (!names.contains(KeyName(key))) names << KeyName(key);
  }
  for (const QKeySequence& shortcut : command.shortcuts) names << ShortcutName(shortcut);
  QString text = names.join(QStringLiteral(", "));
  const auto amp = command.caption.find('&');
  if (!command.menuItem.empty() && amp != std::string_view::npos) {
    if (!text.isEmpty()) text += QStringLiteral("; ");
    text += QStringLiteral("in the menu, ") + QChar::fromLatin1(command.caption[amp + 1]).toUpper();
  }
  if (!command.more.empty()) {
    if (!text.isEmpty()) text += QLatin1Char(' ');
    text += Text(command.more);
  }
  return text;
}

QList<ShortcutRow> ShortcutRows() {
  QList<ShortcutRow> rows;
  for (const Command& command : Commands()) rows.append({Text(command.does), KeysOf(command)});
  return rows;
}

bool IsModifierKey(int key) {
  switch (key) {
    case Qt::Key_Shift:
    case Qt::Key_Control:
    case Qt::Key_Alt:
    case Qt::Key_AltGr:
    case Qt::Key_Meta:
    case Qt::Key_Super_L:
    case Qt::Key_Super_R:
    case Qt::Key_Hyper_L:
    case Qt::Key_Hyper_R:
    case Qt::Key_CapsLock:
    case Qt::Key_NumLock:
    case Qt::Key_ScrollLock:
    case Qt::Key_Mode_switch: return true;
    default: return false;
  }
}

bool IsWindowManagerChord(const QKeyEvent& event) {
  if (event.modifiers() & Qt::MetaModifier) return true;
  if (!(event.modifiers() & Qt::AltModifier)) return false;
  switch (event.key()) {
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
    case Qt::Key_Escape:
    case Qt::Key_Space:
    case Qt::Key_F4:
    case Qt::Key_F7:
    case Qt::Key_F8: return true;
    default: return false;
  }
}

}  // namespace serenitap
