// The message-box adapter: each kind of request becomes a dialog with its
// buttons, icon and title, and each button, or closing the box, gives its answer.
#include "ui/dialogs/message_box_dialog.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QKeySequence>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <functional>
#include <tuple>

#include "services/message_box.h"
#include "support/widget_steps.h"

namespace serenitap {
namespace {

using B = QMessageBox;

struct Shown {
  B::StandardButtons buttons;
  B::Icon icon = B::NoIcon;
  QString title, text;
  MsgAnswer answer{};
};

// Asks; once the box shows, notes it and presses the button (NoButton: the key).
Shown Ask(const std::function<MsgAnswer()>& ask, B::StandardButton press, Qt::Key key = Qt::Key_Escape) {
  Shown shown;
  testing::WhenModal([&] {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    if (box == nullptr) return ADD_FAILURE() << "no message box";
    shown = {box->standardButtons(), box->icon(), box->windowTitle(), box->text()};
    if (press == B::NoButton) return QTest::keyClick(box, key);
    if (box->button(press) == nullptr) {
      ADD_FAILURE() << "no such button";
      return box->reject();
    }
    box->button(press)->click();
  });
  shown.answer = ask();
  return shown;
}
Shown Ask(MsgButtons buttons, MsgIcon icon, B::StandardButton press) {
  return Ask([&] { return MsgBox("Save the session?", buttons, icon, "Serenitap"); }, press);
}

TEST(MessageBoxDialog, EachKindShowsItsButtonsAndAnswersAndEnterNeverDeletes) {
  const MessageBoxSink before = SetMessageBoxSink({});
  InstallMessageBoxDialogs();
  const std::tuple<const char*, MsgButtons, B::StandardButtons, MsgAnswer> kinds[] = {
      {"Ok", MsgButtons::Ok, B::Ok, MsgAnswer::Ok},
      {"OkCancel", MsgButtons::OkCancel, B::Ok | B::Cancel, MsgAnswer::Cancel},
      {"YesNo", MsgButtons::YesNo, B::Yes | B::No, MsgAnswer::No},
      {"YesNoCancel", MsgButtons::YesNoCancel, B::Yes | B::No | B::Cancel, MsgAnswer::Cancel}};
  const std::tuple<const char*, B::StandardButton, MsgAnswer> answers[] = {
      {"Ok pressed", B::Ok, MsgAnswer::Ok},
      {"Cancel pressed", B::Cancel, MsgAnswer::Cancel},
      {"Yes pressed", B::Yes, MsgAnswer::Yes},
      {"No pressed", B::No, MsgAnswer::No}};
  for (const auto& [name, buttons, shown_buttons, closed] : kinds) {
    SCOPED_TRACE(name);
    for (const auto& [pressed, button, answer] : answers) {
      if (!shown_buttons.testFlag(button)) continue;
      SCOPED_TRACE(pressed);
      const Shown shown = Ask(buttons, MsgIcon::Question, button);
      EXPECT_EQ(shown.answer, answer);
      EXPECT_EQ(shown.buttons, shown_buttons);
      EXPECT_EQ(shown.title + ": " + shown.text, "Serenitap: Save the session?");
    }
    EXPECT_EQ(Ask(buttons, MsgIcon::None, B::NoButton).answer, closed);
  }
  const std::pair<MsgIcon, B::Icon> icons[] = {{MsgIcon::None, B::NoIcon},
                                               {MsgIcon::Information, B::Information},
                                               {MsgIcon::Question, B::Question},
                                               {MsgIcon::Exclamation, B::Warning},
                                               {MsgIcon::Critical, B::Critical}};
  for (const auto& [icon, shown] : icons) EXPECT_EQ(Ask(MsgButtons::Ok, icon, B::Ok).icon, shown);
  // A question that deletes: Enter and Esc both keep what it would delete.
  const auto deleteAll = [] { return AskNoByDefault("Delete all 3 sessions?"); };
  for (const Qt::Key key : {Qt::Key_Return, Qt::Key_Enter, Qt::Key_Escape})
    EXPECT_EQ(Ask(deleteAll, B::NoButton, key).answer, MsgAnswer::No) << QKeySequence(key).toString().toStdString();
  EXPECT_EQ(Ask(deleteAll, B::Yes).answer, MsgAnswer::Yes);
  SetMessageBoxSink(before);
}

}  // namespace
}  // namespace serenitap
