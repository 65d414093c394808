// Fills the journal in $XDG_DATA_HOME with a number of made-up sessions
// through the program's own journal store, and optionally turns keeping the
// journal on in the settings under $XDG_CONFIG_HOME, for bench/run.
//
//   journal_fill <sessions> [--keep]
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <iterator>
#include <stdexcept>
#include <string>

#include <sqlite3.h>

#include "journal/journal_store.h"
#include "settings/options.h"

namespace {

using namespace serenitap;

constexpr enmIssue kIssues[] = {issAnxietyFearPanicPhobia, issHeadaches, issNegativeMemory, issSelfEsteem,
                                issRageAnger};
constexpr journal::TimeMs kMinute = 60'000;

// Sessions about eight hours apart up to now, their ratings coming down over
// two or three re-assessments; every fifth never re-assessed.
journal::SessionRecord MadeUpSession(int index, int count, journal::TimeMs now) {
  journal::SessionRecord record;
  record.uid = "bench-" + std::to_string(index);
  record.started = now - static_cast<journal::TimeMs>(count - index) * 480 * kMinute;
  record.issue = kIssues[index % std::size(kIssues)];
  record.firstRating = static_cast<std::int16_t>(5 + index % 6);
  const int reassessments = index % 5 == 4 ? 0 : 2 + index % 2;
  for (int i = 1; i <= reassessments; ++i) {
    record.reassessments.push_back(
        {record.started + i * 4 * kMinute, static_cast<std::int16_t>(record.firstRating - i * (1 + index % 2))});
  }
  record.rounds = reassessments;
  record.ended = record.started + (reassessments + 1) * 4 * kMinute;
  record.end = index % 7 == 0 ? journal::SessionEnd::Exit : journal::SessionEnd::Finish;
  return record;
}

}  // namespace

int main(int argc, char* argv[]) {
  const int count = argc > 1 ? std::atoi(argv[1]) : 0;
  const bool keep = argc > 2 && std::string(argv[2]) == "--keep";
  if (count <= 0) {
    std::fprintf(stderr, "usage: journal_fill <sessions> [--keep]\n");
    return 2;
  }
  try {
    journal::JournalStore store(journal::DefaultJournalPath());
    // A scratch file: the made-up sessions need not survive a power cut.
    sqlite3_exec(store.Handle(), "PRAGMA synchronous=OFF", nullptr, nullptr, nullptr);
    const journal::TimeMs now = journal::SystemNow();
    for (int i = 0; i < count; ++i) store.Save(MadeUpSession(i, count, now));
    if (keep) {
      const std::string said = modOptions::KeepJournal(true);
      if (!modOptions::KeepJournal()) throw std::runtime_error("the settings say: " + said);
    }
    std::printf("%s\n", store.Path().c_str());
  } catch (const std::exception& error) {
    std::fprintf(stderr, "journal_fill: %s\n", error.what());
    return 1;
  }
  return 0;
}
