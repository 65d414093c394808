// Developer tool: opens "My Progress" alone on the journal in the data folder
// ($XDG_DATA_HOME/Serenitap/journal.sqlite), so the window can be looked at
// with journals of any length (bench/journal_fill makes them).
//   ./serenitap_show_progress [--off]     --off: as if "Keep a Journal" were off
#include <QApplication>
#include <cstring>

#include "app/program_setup.h"
#include "journal/journal_store.h"
#include "ui/journal/progress_chart.h"
#include "ui/journal/progress_dialog.h"

int main(int argc, char* argv[]) {
  QApplication app(argc, argv);
  serenitap::SetUpProgram();
  serenitap::UseProgressChart(serenitap::LinkedProgressChart());  // the chart is linked in
  const bool keeping = !(argc > 1 && std::strcmp(argv[1], "--off") == 0);
  serenitap::frmProgress::ShowModal(nullptr, serenitap::journal::DefaultJournalPath(), keeping);
  return 0;
}
