// The command table: every command carried out by a handler, no key taken by
// two commands, and every command with its keys where people look them up:
// the Keyboard Shortcuts window and the README's key table.
#include <gtest/gtest.h>

#include <QKeyEvent>
#include <QSet>
#include <QTreeWidget>
#include <map>
#include <string>

#include "support/temp_folder.h"
#include "ui/dialogs/shortcuts_dialog.h"
#include "ui/main/commands.h"
#include "ui/qt_text.h"

namespace serenitap {
namespace {

QString Text(std::string_view text) { return ToQString(text); }

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
  frmShortcuts window(ShortcutRows());
  auto* list = window.findChild<QTreeWidget*>(QStringLiteral("ltvShortcuts"));
  ASSERT_NE(list, nullptr);
  const std::string readme = testing::ReadText(SERENITAP_SOURCE_DIR "/README.md");
  std::map<int, std::string_view> takenBy;  // a key press and the command that answers it
  std::map<QChar, std::string_view> menuLetters;
  ASSERT_EQ(list->topLevelItemCount(), static_cast<int>(Commands().size()));
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
    // Listed in its place, with the name of every key, in the window and in the README.
    const QTreeWidgetItem* row = list->topLevelItem(static_cast<int>(i));
    EXPECT_EQ(row->text(0), Text(command.does));
    const std::string help = HelpLine(readme, command.helpRow);
    EXPECT_FALSE(help.empty()) << "no README row \"" << command.helpRow << "\"";
    QStringList names;
    for (int key : command.sessionKeys) names << KeyName(key);
    for (const QKeySequence& shortcut : command.shortcuts) names << ShortcutName(shortcut);
    for (const QString& name : names) {
      EXPECT_TRUE(row->text(1).contains(name))
          << name.toStdString() << " is not in the window: " << row->text(1).toStdString();
      EXPECT_NE(help.find(name.toStdString()), std::string::npos) << name.toStdString() << " is not in the README";
    }
  }
}

}  // namespace
}  // namespace serenitap
