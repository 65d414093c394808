// The keys the window acts on are named where people look them up: in the
// shortcuts window and in the README, each in the row of what it does.
#include <gtest/gtest.h>

#include <QTreeWidget>
#include <string>

#include "session/key_commands.h"
#include "support/temp_folder.h"
#include "ui/dialogs/shortcuts_dialog.h"

namespace serenitap {
namespace {

struct Place {
  KeyCommand command;
  const char* listRow;  // the action column of the shortcuts window
  const char* helpRow;  // the first column of the README's key table
};

constexpr Place kPlaces[] = {
    {KeyCommand::Next, "Advance to the next step", "go to the next step"},
    {KeyCommand::Previous, "Return to the previous step", "go back a step"},
    {KeyCommand::Pause, "Pause tapping", "pause the timer while tapping"},
};

QString ListKeys(QTreeWidget& list, const char* action) {
  for (int i = 0; i < list.topLevelItemCount(); ++i) {
    if (list.topLevelItem(i)->text(0) == QLatin1String(action)) return list.topLevelItem(i)->text(1);
  }
  return {};
}

std::string HelpLine(const std::string& readme, const char* action) {
  const std::string start = std::string("\n| ") + action + " | ";
  const std::size_t at = readme.find(start);
  if (at == std::string::npos) return {};
  return readme.substr(at + start.size(), readme.find('\n', at + 1) - at - start.size());
}

TEST(KeyTable, EveryKeyIsNamedInTheShortcutsWindowAndInTheReadme) {
  frmShortcuts window;
  auto* list = window.findChild<QTreeWidget*>(QStringLiteral("ltvShortcuts"));
  ASSERT_NE(list, nullptr);
  const std::string readme = testing::ReadText(SERENITAP_SOURCE_DIR "/README.md");
  for (const KeyBinding& row : kKeyTable) {
    const Place* place = nullptr;
    for (const Place& p : kPlaces) {
      if (p.command == row.command) place = &p;
    }
    ASSERT_NE(place, nullptr) << row.helpName << ": no row tells what its command does";
    const QString keys = ListKeys(*list, place->listRow);
    EXPECT_TRUE(keys.contains(QString::fromUtf8(row.listName.data(), row.listName.size())))
        << row.helpName << " is not named in the shortcuts window's row \"" << place->listRow
        << "\": " << keys.toStdString();
    EXPECT_NE(HelpLine(readme, place->helpRow).find(row.helpName), std::string::npos)
        << row.helpName << " is not named in the README's row \"" << place->helpRow << "\"";
  }
}

}  // namespace
}  // namespace serenitap
