// The message-box adapter: each kind of request becomes a dialog with its
// buttons, icon and title, and each button, or closing the box, gives its answer.
#include "ui/dialogs/message_box_dialog.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <functional>
#include <vector>

#include "services/message_box.h"

namespace serenitap {
namespace {

struct Kind {
  MsgButtons buttons;
  std::vector<std::pair<QMessageBox::StandardButton, MsgAnswer>> answers;  // in the dialog's order
  MsgAnswer closed;
};

struct Shown {
  QMessageBox::StandardButtons buttons;
  QMessageBox::Icon icon = QMessageBox::NoIcon;
  QString title, text;
};

// Asks through MsgBox and, once the dialog shows, notes it and acts on it.
MsgAnswer Ask(const MessageBoxRequest& r, Shown& shown, const std::function<void(QMessageBox&)>& act) {
  QTimer::singleShot(0, [&] {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    if (box == nullptr) return ADD_FAILURE() << "no message box";
    shown = {box->standardButtons(), box->icon(), box->windowTitle(), box->text()};
    act(*box);
  });
  return MsgBox(r.text, r.buttons, r.icon, r.title);
}

TEST(MessageBoxDialog, EachKindShowsItsButtonsAndAnswersForEachAndForClosing) {
  const MessageBoxSink before = SetMessageBoxSink({});
  InstallMessageBoxDialogs();
  using B = QMessageBox;
  const Kind kinds[] = {
      {MsgButtons::Ok, {{B::Ok, MsgAnswer::Ok}}, MsgAnswer::Ok},
      {MsgButtons::OkCancel, {{B::Ok, MsgAnswer::Ok}, {B::Cancel, MsgAnswer::Cancel}}, MsgAnswer::Cancel},
      {MsgButtons::YesNo, {{B::Yes, MsgAnswer::Yes}, {B::No, MsgAnswer::No}}, MsgAnswer::No},
      {MsgButtons::YesNoCancel,
       {{B::Yes, MsgAnswer::Yes}, {B::No, MsgAnswer::No}, {B::Cancel, MsgAnswer::Cancel}},
       MsgAnswer::Cancel}};
  for (const Kind& kind : kinds) {
    QMessageBox::StandardButtons all;
    for (const auto& [button, answer] : kind.answers) all |= button;
    for (const auto& [button, answer] : kind.answers) {
      Shown shown;
      const MessageBoxRequest r{"Save the session?", kind.buttons, MsgIcon::Question, "Serenitap"};
      EXPECT_EQ(Ask(r, shown, [b = button](QMessageBox& box) { box.button(b)->click(); }), answer);
      EXPECT_EQ(shown.buttons, all);
      EXPECT_EQ(shown.text, QStringLiteral("Save the session?"));
      EXPECT_EQ(shown.title, QStringLiteral("Serenitap"));
    }
    Shown shown;
    EXPECT_EQ(Ask({"x", kind.buttons, MsgIcon::None, "t"}, shown,
                  [](QMessageBox& box) { QTest::keyClick(&box, Qt::Key_Escape); }),
              kind.closed);
  }
  const std::pair<MsgIcon, QMessageBox::Icon> icons[] = {{MsgIcon::None, QMessageBox::NoIcon},
                                                         {MsgIcon::Information, QMessageBox::Information},
                                                         {MsgIcon::Question, QMessageBox::Question},
                                                         {MsgIcon::Exclamation, QMessageBox::Warning},
                                                         {MsgIcon::Critical, QMessageBox::Critical}};
  for (const auto& [icon, shownIcon] : icons) {
    Shown shown;
    Ask({"x", MsgButtons::Ok, icon, "LaunchURL"}, shown, [](QMessageBox& box) { box.button(QMessageBox::Ok)->click(); });
    EXPECT_EQ(shown.icon, shownIcon);
    EXPECT_EQ(shown.title, QStringLiteral("LaunchURL"));
  }
  SetMessageBoxSink(before);
}

}  // namespace
}  // namespace serenitap
