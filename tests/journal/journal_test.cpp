// The journal: what a session's record holds and when it is written, and the
// SQLite file it goes to (a real file in a temporary folder).
#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "journal/journal_store.h"
#include "journal/journal_writer.h"
#include "journal/session_recorder.h"
#include "session/engine.h"
#include "session/fake_view.h"
#include "support/temp_folder.h"

namespace serenitap::journal {
namespace {

using testing::ReadText;
using testing::TempFolder;
constexpr TimeMs kMonday = 1772409600000;  // 2026-03-02T00:00:00Z

// A clock that moves one minute each time it is read.
Clock MinuteClock() {
  return [t = kMonday]() mutable { return t += 60000; };
}

SessionRecord Session(const std::string& uid, TimeMs started = kMonday, enmIssue issue = 20, std::int16_t first = 8) {
  return {0, uid, started, issue, first, {}, 0, {}, SessionEnd::Open};
}

// The real session engine, walked as a user walks it, recorded to a real file.
TEST(JournalRecording, ScriptedSessionEndsUpInTheFileOnlyItsOwnerMayRead) {
  TempFolder folder;
  const std::string path = folder / "data/Serenitap/journal.sqlite";
  testing::FakeSessionView view;
  SessionEngine engine(view);
  JournalWriter writer(path);
  SessionRecorder recorder(writer, MinuteClock());
  recorder.SetEnabled(true);
  engine.SetObserver(&recorder);
  engine.Form_Load_Prepare();
  engine.Form_Load_Session();
  engine.Form_Activate();
  const std::pair<int, int> walk[] = {{2, 11}, {1, 9}, {5, 6}, {2, 2}};  // Next presses, then a choice
  for (const auto& [presses, choice] : walk) {
    for (int i = 0; i < presses; ++i) engine.cmdNavig_Click(1);
    if (choice == 11) engine.radMode_Click(choice);  // Guilt
    if (choice != 11) engine.radSUD_Click(static_cast<std::int16_t>(choice));
  }
  engine.cmdFinish_Click();
  ASSERT_TRUE(writer.Flush(std::chrono::seconds(10)));

  const auto sessions = JournalStore(path).Sessions();
  ASSERT_EQ(sessions.size(), 1u);
  const SessionRecord& s = sessions[0];
  EXPECT_EQ(std::tie(s.started, s.issue, s.firstRating, s.rounds, s.ended, s.end),
            std::tuple(kMonday + 60000, 110, 9, 3, kMonday + 240000, SessionEnd::Finish));
  EXPECT_EQ(s.reassessments, (std::vector<Reassessment>{{kMonday + 120000, 6}, {kMonday + 180000, 2}}));
  namespace fs = std::filesystem;
  EXPECT_EQ(fs::status(path).permissions(), fs::perms::owner_read | fs::perms::owner_write);
  EXPECT_EQ(fs::status(folder / "data/Serenitap").permissions(), fs::perms::owner_all);
}

// The rules, move by move, against a sink that keeps every write.
struct RecorderRules : ::testing::Test, IJournalSink {
  std::vector<SessionRecord> written;
  SessionRecorder recorder{*this, MinuteClock()};
  void Write(const SessionRecord& record) override { written.push_back(record); }
  void Move(enmStep from, enmStep to, std::int16_t sud = 7) { recorder.StepChanged({from, to, 30, sud}); }
};

TEST_F(RecorderRules, FromTheFirstRatingUntilANewRatingOrTheWindowCloses) {
  Move(stpAssignSUD, stpLeftHand);  // keeping the journal is off
  recorder.SetEnabled(true);
  Move(stpAssignSUD, stpSelectIssue);  // back from the rating step: no rating given
  Move(stpReassessSUD, stpTopHead1);
  EXPECT_TRUE(written.empty());
  Move(stpAssignSUD, stpLeftHand, 8);
  Move(stpReassessSUD, stpRelax, 5);  // back to Relax: no rating
  Move(stpAssignSUD, stpLeftHand, 6);
  recorder.WindowClosing();
  ASSERT_EQ(written.size(), 4u);
  EXPECT_TRUE(written[1].reassessments.empty());
  EXPECT_EQ(written[1].end, SessionEnd::NewSession);
  EXPECT_EQ(written[1].ended, written[2].started);
  EXPECT_NE(written[1].uid, written[3].uid);
  EXPECT_EQ(written[3].end, SessionEnd::Exit);
}

// What is already in the file stands for a journal that cannot be read.
TEST(JournalStoreFile, AnUnreadableFileIsSetAsideAndANewJournalStartedTellingTheUserOnce) {
  for (const std::string damage : {"not a database at all\n", ""}) {
    TempFolder folder;
    const std::string path = folder / "journal.sqlite";
    if (damage.empty()) {
      JournalStore(path).Save(Session("old"));
      std::fstream(path, std::ios::in | std::ios::out | std::ios::binary).seekp(100)
          << std::string(3900, '\xA5');  // the first page's table directory
    } else {
      std::ofstream(path, std::ios::binary) << damage;
    }
    const std::string original = ReadText(path);
    std::vector<std::string> told;
    {
      JournalWriter writer(path, [&](const std::string& text) { told.push_back(text); });
      writer.Write(Session("new"));
      writer.Write(Session("newer"));
      ASSERT_TRUE(writer.Flush(std::chrono::seconds(10)));
    }
    ASSERT_EQ(told.size(), 1u);
    const std::size_t quote = told[0].find('"');
    EXPECT_EQ(ReadText(told[0].substr(quote + 1, told[0].find('"', quote + 1) - quote - 1)), original);
    EXPECT_EQ(JournalStore(path).Sessions().size(), 2u);
  }
}

TEST(JournalStoreFile, AFolderThatCannotBeMadeIsToldOnceAndNothingBlocks) {
  TempFolder folder;
  std::ofstream(folder / "Serenitap") << "a file where the folder should be";
  std::vector<std::string> told;
  JournalWriter writer(folder / "Serenitap/journal.sqlite", [&](const std::string& text) { told.push_back(text); });
  writer.Write(Session("a"));
  EXPECT_FALSE(writer.Flush(std::chrono::milliseconds(300)));
  writer.Write(Session("b"));
  EXPECT_FALSE(writer.Flush(std::chrono::milliseconds(300)));
  EXPECT_EQ(told, std::vector<std::string>{JournalWriter::TroubleText(JournalTrouble::Unwritable)});
}

TEST(JournalProcesses, TwoCopiesRecordingAtOnceLoseNothing) {
  TempFolder folder;
  const std::string path = folder / "journal.sqlite";
  std::vector<pid_t> copies;
  for (char name : {'a', 'b'}) {
    if (copies.emplace_back(fork()) != 0) continue;
    try {
      JournalStore store(path, 10000);
      for (int i = 0; i < 200; ++i) store.Save(Session(name + std::to_string(i), kMonday + i));
    } catch (...) {
      _exit(1);
    }
    _exit(0);
  }
  for (pid_t copy : copies) {
    int status = 1;
    EXPECT_TRUE(waitpid(copy, &status, 0) == copy && status == 0);
  }
  EXPECT_EQ(JournalStore(path).Sessions().size(), 400u);
}

TEST(JournalCsv, HeaderIsoTimesAndQuotedNames) {
  SessionRecord open = Session("a", 951782400000, 20, 9);  // 2000-02-29, an issue with commas in its name
  SessionRecord done = Session("b", kMonday, 110, 7);
  done.reassessments = {{kMonday + 60000, 4}, {kMonday + 120000, 2}};
  done.rounds = 5;
  done.ended = kMonday + 180000;
  done.end = SessionEnd::NewSession;
  EXPECT_EQ(ToCsv({open, done}),
            "Started,Issue,First rating,Last rating,Re-assessments,Rounds,Ended,How it ended\r\n"
            "2000-02-29T00:00:00Z,\"Anxiety, fear, panic, phobia\",9,9,,0,,\r\n"
            "2026-03-02T00:00:00Z,Guilt,7,2,2026-03-02T00:01:00Z=4 2026-03-02T00:02:00Z=2,5,2026-03-02T00:03:00Z,"
            "New session\r\n");
}

}  // namespace
}  // namespace serenitap::journal
