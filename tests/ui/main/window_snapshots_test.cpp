// Every step of a session with every issue, and the dialogs, look pixel for
// pixel as when a person last looked at them: a changed text, place, size or
// colour fails here even where no other test looks. tests/ui/snapshots.txt
// keeps a line of fingerprints per walk through the windows, each of a picture
// and of what a screen reader reads out. A failure saves the pictures and the
// texts that changed; after a change meant to be seen, look at them,
// then run the tests with SERENITAP_UPDATE_SNAPSHOTS=1 to write the list anew.
#include <QAccessible>
#include <QCryptographicHash>
#include <QDir>
#include <fstream>

#include "journal/journal_store.h"
#include "settings/options.h"
#include "ui/dialogs/about_dialog.h"
#include "ui/dialogs/error_report_dialog.h"
#include "ui/dialogs/shortcuts_dialog.h"
#include "ui/dialogs/what_is_it_dialog.h"
#include "ui/journal/progress_dialog.h"
#include "ui/look.h"
#include "ui/main/commands.h"
#include "ui/main/main_window_fixture.h"

namespace serenitap {
namespace {

using namespace window_testing;

// What a window shows, and what a screen reader reads out of it: each shown
// control's role, name and description.
struct Look {
  explicit Look(QWidget& window) : picture(window.grab().toImage().convertToFormat(QImage::Format_ARGB32)) {
    for (QWidget* control : window.findChildren<QWidget*>()) {
      QAccessibleInterface* read = QAccessible::queryAccessibleInterface(control);
      if (control->isVisible() && read != nullptr)
        spoken += QStringLiteral("%1 %2: %3; %4\n")
                      .arg(control->objectName(), QString::number(read->role()), read->text(QAccessible::Name),
                           read->text(QAccessible::Description));
    }
  }
  QImage picture;
  QString spoken;
};
using Pictures = std::vector<std::pair<std::string, Look>>;  // what each shows, in turn

void ExpectLookAsLastSeen(const std::string& walk, const Pictures& pictures) {
  static std::map<std::string, std::string> list = [] {
    std::map<std::string, std::string> read;
    std::ifstream in(SERENITAP_SNAPSHOTS);
    for (std::string name, fingerprints; std::getline(in, name, '\t') && std::getline(in, fingerprints);)
      read[name] = fingerprints;
    return read;
  }();
  std::string seen, changed;
  for (const auto& [what, look] : pictures) {
    const QByteArray bits =
        QByteArray(reinterpret_cast<const char*>(look.picture.constBits()), look.picture.sizeInBytes()) +
        look.spoken.toUtf8();
    seen += QCryptographicHash::hash(bits, QCryptographicHash::Sha1).toHex().left(8).toStdString() + ' ';
    if (list[walk].substr(std::min(list[walk].size(), seen.size() - 9), 9) == seen.substr(seen.size() - 9)) continue;
    const QString path = QDir::temp().filePath(QString::fromStdString("serenitap-snapshots/" + walk + ", " + what));
    QDir().mkpath(QFileInfo(path).path());
    look.picture.save(path + ".png");
    QFile text(path + ".txt");
    if (text.open(QIODevice::WriteOnly)) text.write(look.spoken.toUtf8());
    changed += "\n  " + what + ", now like " + path.toStdString() + ".png and .txt (what is read out)";
  }
  if (qEnvironmentVariableIsSet("SERENITAP_UPDATE_SNAPSHOTS")) {
    list[walk] = seen;
    std::ofstream out(SERENITAP_SNAPSHOTS);
    for (const auto& [name, fingerprints] : list) out << name << '\t' << fingerprints << '\n';
  }
  EXPECT_EQ(seen, list[walk]) << walk << " looks different from when last seen:" << changed;
}

// The windows in the look the program sets up at every start.
class Snapshots : public MainControllerTest {
 public:
  void SetUp() override {
    ApplyDesignedLook();
    MainControllerTest::SetUp();
  }

 private:
  KeepsDesktopLook desktop_;
};

// Every step of a session with each issue: its instructions, statements,
// pictures and dots, in turn; then the first point of the second round and of
// the first positive one (its statements), paused.
TEST_F(Snapshots, EveryStepWithEachIssueLooksAsLastSeen) {
  for (QRadioButton* issue : Controls().radMode) {
    if (issue->isHidden()) continue;
    NextUntil(stpSelectIssue);
    ClickOption(issue);
    Restart();
    Pictures pictures;
    OnEveryStep([&] { pictures.emplace_back(modSteps::GetStepName(step()), Look(*window)); });
    Restart();
    NextUntil(stpLeftHand);
    for (int i = 0; i < 20000 && state().glngRoundCount < 2; ++i) Tick();
    pictures.emplace_back("the second round", Look(*window));
    for (int i = 0; i < 40000 && !state().gblnPositiveRound; ++i) Tick();
    pictures.emplace_back("the first positive round", Look(*window));
    Key(Qt::Key_Escape), pictures.emplace_back("paused", Look(*window));
    ExpectLookAsLastSeen(issue->text().remove('&').toStdString(), pictures);
    Restart();
  }
}

TEST_F(Snapshots, DialogsLookAsLastSeen) {
  frmAbout_NEW about;
  frmWhatIsIt information;
  frmErrorReport report;
  report.Load({-5, "Invalid  call", "2.0", 201, "frmMain", "cmdAbout_Click", "Line: 12"});
  modOptions::ShowWhatIsItWindow(true);
  frmWhatIsIt shownAtStart;  // as it opens at start, with its choice to stop that
  Pictures pictures;
  for (auto [what, window] : {std::pair<const char*, QWidget*>{"About", &about},
                              {"Information", &information},
                              {"Error report", &report},
                              {"Keyboard shortcuts", frmShortcuts::Open(ShortcutRows())},
                              {"Information at start", &shownAtStart}}) {
    testing::ShowActive(*window);
    pictures.emplace_back(what, Look(*window));
    window->close();
  }
  ExpectLookAsLastSeen("dialogs", pictures);
}

// My Progress: empty, with a few sessions drawn one by one, with one issue
// chosen, and with more sessions than are drawn one by one (their trend).
TEST_F(Snapshots, MyProgressLooksAsLastSeen) {
  testing::TempFolder folder;
  const std::string path = folder / "journal.sqlite";
  Pictures pictures;
  const auto look = [&](const char* what, enmIssue issue) {
    frmProgress progress(path, true, window.get());
    progress.FilterIssue(issue);
    testing::ShowActive(progress), pictures.emplace_back(what, Look(progress));
  };
  look("empty", issNA);
  for (std::int16_t i = 0; i < 61; ++i) {
    journal::SessionRecord s;
    s.uid = std::to_string(i), s.started = 1772438400000 + i * 25200000LL;  // every seven hours from 2 March 2026
    s.issue = i % 3 ? issGuilt : issHeadaches, s.firstRating = std::int16_t(4 + i % 7), s.rounds = i % 4;
    s.ended = s.started + 120000, s.end = journal::SessionEnd(i % 4), s.words = i % 2 ? "of\u00a0what I said" : "";
    if (i % 5) s.reassessments = {{s.started + 60000, static_cast<std::int16_t>(i % 5)}};
    journal::JournalStore(path).Save(s);
    if (i == 4) look("five sessions", issNA), look("five sessions, one issue", issHeadaches);
  }
  look("the trend of 61 sessions", issNA);
  ExpectLookAsLastSeen("My Progress", pictures);
}

}  // namespace
}  // namespace serenitap
