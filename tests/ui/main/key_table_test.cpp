// The command table: every command carried out by a handler, no key taken by
// two commands, and every command with its keys where people look them up:
// the Keyboard Shortcuts window's rows and the README's key table.
#include <gtest/gtest.h>

#include <QKeyEvent>
#include <QSet>
#include <map>
#include <string>

#include "support/temp_folder.h"
#include "ui/dialogs/shortcuts_dialog.h"
#include "ui/main/commands.h"

namespace serenitap {
namespace {

std::string HelpLine(const std::string& readme, std::string_view action) {
  const std::string start = "\n| " + std::string(action) + " | ";
  const std::size_t at = readme.find(start);
  if (at == std::string::npos) return {};
  return readme.substr(at + start.size(), readme.find('\n', at + 1) - at - start.size());
}

// Every key press a command answers: its shortcuts as they are, its session
// keys with Shift, Alt or both.
QSet<int> PressesOf(const Command& command) {
  QSet<int> presses;
  for (const QKeySequence& shortcut : command.shortcuts) presses << shortcut[0].toCombined();
  for (int key : command.sessionKeys) {
    for (Qt::KeyboardModifiers held :
         {Qt::KeyboardModifiers(), Qt::KeyboardModifiers(Qt::ShiftModifier), Qt::KeyboardModifiers(Qt::AltModifier),
          Qt::KeyboardModifiers(Qt::ShiftModifier | Qt::AltModifier)}) {
      presses << QKeyCombination(held, static_cast<Qt::Key>(key)).toCombined();
    }
  }
  return presses;
}

TEST(CommandTable, EveryCommandRunsHasItsOwnKeysAndIsListedInTheShortcutsWindowAndTheReadme) {
  const QList<ShortcutRow> rows = ShortcutRows();
  ASSERT_EQ(rows.size(), static_cast<qsizetype>(Commands().size()));
  const std::string readme = testing::ReadText(SERENITAP_SOURCE_DIR "/README.md");
  std::map<int, std::string_view> takenBy;  // a key press and the command that answers it
  std::map<QChar, std::string_view> menuLetters;
  for (std::size_t i = 0; i < Commands().size(); ++i) {
    const Command& command = Commands()[i];
    SCOPED_TRACE(command.does);
    EXPECT_NE(command.handler, nullptr);
    for (const int press : PressesOf(command)) {
      const auto [at, fresh] = takenBy.emplace(press, command.does);
      EXPECT_TRUE(fresh) << QKeySequence(press).toString().toStdString() << " is also " << at->second;
    }
    if (!command.menuItem.empty()) {
      const auto amp = command.caption.find('&');
      ASSERT_NE(amp, std::string_view::npos) << "a menu item without an access key";
      const QChar letter = QChar::fromLatin1(command.caption[amp + 1]).toUpper();
      EXPECT_TRUE(menuLetters.emplace(letter, command.does).second) << "the menu's " << letter.toLatin1() << " twice";
    }
    // Listed with the name of every key.
    const std::string help = HelpLine(readme, command.helpRow);
    EXPECT_FALSE(help.empty()) << "no README row \"" << command.helpRow << "\"";
    QStringList names;
    for (int key : command.sessionKeys) names << KeyName(key);
    for (const QKeySequence& shortcut : command.shortcuts) names << ShortcutName(shortcut);
    for (const QString& name : names) {
      EXPECT_TRUE(rows[static_cast<qsizetype>(i)].keys.contains(name)) << name.toStdString() << " is not in the window";
      EXPECT_NE(help.find(name.toStdString()), std::string::npos) << name.toStdString() << " is not in the README";
    }
  }
}

}  // namespace
}  // namespace serenitap
