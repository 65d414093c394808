// The reference point of the benchmark: a bare Qt window with the program's
// title and size and nothing else. bench/run measures it next to the program.
#include <QApplication>
#include <QWidget>

#include "app/bench_hooks.h"

int main(int argc, char* argv[]) {
  QApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("Serenitap"));
  QWidget window;
  window.setWindowTitle(QStringLiteral("Serenitap"));
  window.resize(1152, 733);
  serenitap::InstallBenchHooks(window, nullptr);  // SERENITAP_BENCH_FIRST_PAINT, as in the program
  window.show();
  return QApplication::exec();
}
