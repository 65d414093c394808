// The user's own words, pace and place in the round, in the real window: what
// is stored is used from the start, what is chosen is stored.
#include <QInputMethodEvent>
#include <QLineEdit>

#include "content/own_words.h"
#include "settings/options.h"
#include "ui/main/main_window_fixture.h"

namespace serenitap {
namespace {

using namespace window_testing;

// The menu's "Pace": four choices, the stored one checked; a choice holds the
// point on screen at once and is stored, and the stored one holds every point
// of the next start.
TEST_F(MainControllerTest, ThePaceIsChosenInTheMenu) {
  window->PopupMenu();  // made as it first opens, with the pace's choices
  QAction* pace = controller->Action(CommandId::Pace);
  ASSERT_TRUE(pace != nullptr && pace->menu() != nullptr);
  QStringList choices;
  for (QAction* item : pace->menu()->actions()) choices << (item->isChecked() ? "*" : "") + item->text();
  ASSERT_EQ(choices.join('|'), QStringLiteral("*&2 seconds a point (the designed pace)|&3 seconds a point|"
                                              "&4 seconds a point|&6 seconds a point"));
  NextUntil(stpTopHead1);
  pace->menu()->actions()[3]->trigger();
  EXPECT_EQ(modOptions::PointSeconds(), 6);
  EXPECT_TRUE(notices.empty());  // saved: nothing to tell
  EXPECT_EQ(TicksUntilStepChanges(700), 601);
  EXPECT_EQ(TicksUntilStepChanges(700), 600);
  Reopen();
  window->PopupMenu();
  const QList<QAction*> again = controller->Action(CommandId::Pace)->menu()->actions();
  ASSERT_EQ(again.size(), 4);
  EXPECT_TRUE(again[3]->isChecked());
  NextUntil(stpTopHead1);  // the stored pace holds each point from the start
  EXPECT_EQ(TicksUntilStepChanges(700), 601);
  controller->Action(CommandId::Pace)->trigger();  // as a screen reader runs the item: its choices open
  EXPECT_TRUE(controller->Action(CommandId::Pace)->menu()->isVisible());
  // Where the settings cannot be written, the choices hold until the program closes, and say so.
  const auto kept = settings::SetCurrentStore(std::make_shared<settings::FileRegistryStore>("/dev/null/settings"));
  again[1]->trigger();
  controller->Guidance().Item().trigger();
  settings::SetCurrentStore(kept);
  EXPECT_EQ(controller->Engine().PointSeconds(), 3);
  EXPECT_EQ(notices.end()[-2], "The pace could not be saved; it holds until Serenitap closes.");
  EXPECT_EQ(notices.back(), "The Spoken Guidance choice could not be saved; it holds until Serenitap closes.");
}

// Words stored for the default issue stand in its affirmation from the start;
// those of the last issue are loaded as well.
TEST_F(MainControllerTest, StoredWordsStandInTheAffirmation) {
  CloseWindow();
  ASSERT_EQ(modOptions::Words(IssueNumber(issNegativeMemory), "of the \"crash\" \\ on the A7"), "Success");
  ASSERT_EQ(modOptions::Words(IssueNumber(issPTSDTrauma), "of the flood"), "Success");
  OpenWindow();
  EXPECT_EQ(controller->Engine().OwnWords(issPTSDTrauma), "of the flood");
  NextUntil(stpSelectIssue);
  EXPECT_EQ(window->WordsField().text(), QStringLiteral("of the \"crash\" \\ on the A7"));
  NextUntil(stpLeftHand);
  const QString shown = Controls().lblLeftFrame->accessibleDescription();
  EXPECT_TRUE(
      shown.endsWith("Even though I have this negative memory of the \"crash\" \\ on the A7 I love and accept "
                     "myself with all my heart."))
      << shown.toStdString();
}

// In the field keys type, Enter, Esc and Tab leave it; elsewhere the digits
// choose the issue. Each issue shows its own words; they are stored when the
// session moves on, and again at Exit.
TEST_F(MainControllerTest, TheWordsFieldTakesTheKeysAndKeepsEachIssuesWords) {
  NextUntil(stpSelectIssue);
  QLineEdit& field = window->WordsField();
  EXPECT_TRUE(field.isVisible() && field.isEnabled());
  EXPECT_EQ(field.maxLength(), static_cast<int>(modIssues::kOwnWordsMaxCharacters));  // no more than is kept
  field.setFocus();
  QTest::keyClicks(&field, "fear 2 n");
  Key(Qt::Key_Space);
  Key(Qt::Key_P);
  Key(Qt::Key_Right);  // moves the cursor only
  EXPECT_EQ(field.text(), QStringLiteral("fear 2 n p"));
  EXPECT_EQ(std::make_pair(step(), window->SelectedIssueOption()), std::make_pair(stpSelectIssue, 5));
  Key(Qt::Key_Return);
  EXPECT_EQ(window->focusWidget(), Controls().radMode[5]);
  EXPECT_EQ(step(), stpSelectIssue);
  field.setFocus();
  Key(Qt::Key_Escape);
  EXPECT_EQ(window->focusWidget(), Controls().radMode[5]);
  Key(Qt::Key_9);  // the ninth issue from the top: Rage or anger
  EXPECT_EQ(window->SelectedIssueOption(), 8);
  EXPECT_EQ(field.text(), QString());
  field.setFocus();
  QTest::keyClicks(&field, "at my boss");
  Key(Qt::Key_Tab);
  EXPECT_NE(window->focusWidget(), &field);
  ClickOption(Controls().radMode[5]);
  EXPECT_EQ(field.text(), QStringLiteral("fear 2 n p"));
  ClickOption(Controls().radMode[2]);  // Anxiety: its texts hold no place for words
  EXPECT_FALSE(field.isEnabled());
  ClickOption(Controls().radMode[8]);
  EXPECT_EQ(modOptions::Words(IssueNumber(issRageAnger)), "");  // not stored before the session moves on
  NextUntil(stpAssignSUD);
  EXPECT_EQ(modOptions::Words(IssueNumber(issRageAnger)) + "/" + modOptions::Words(IssueNumber(issNegativeMemory)),
            "at my boss/fear 2 n p");
  NextUntil(stpLeftHand);
  EXPECT_TRUE(Controls().lblLeftFrame->accessibleDescription().contains("I have this anger at my boss I love"));
  // Typed and then Exit while the issue step shows (still Rage or anger): stored all the same.
  Controls().cmdFinish->click();
  NextUntil(stpSelectIssue);
  field.setFocus();
  field.selectAll();
  QTest::keyClicks(&field, "of the ");
  QInputMethodEvent typed;  // as an input method types what no key names
  typed.setCommitString(QStringLiteral("\u0645\u0637\u0627\u0631 \U0001F6EB"));
  QApplication::sendEvent(&field, &typed);
  Controls().cmdExit->click();
  EXPECT_EQ(modOptions::Words(IssueNumber(issRageAnger)), "of the \u0645\u0637\u0627\u0631 \U0001F6EB");
}

}  // namespace
}  // namespace serenitap
