// A second reference point: the bare window showing the introduction's text
// in the program's type (a word-wrapped label) and one line of its bold type,
// and nothing else. No program that shows the first step can start or live
// in less than this; bench/run reports it beside the bare window.
#include <QApplication>
#include <QFont>
#include <QLabel>
#include <QWidget>

#include "app/bench_hooks.h"

int main(int argc, char* argv[]) {
  QApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("Serenitap"));
  QWidget window;
  window.setWindowTitle(QStringLiteral("Serenitap"));
  window.resize(1152, 733);
  QFont regular(QStringLiteral("Arial"));
  regular.setPointSizeF(14.25);
  QLabel intro(
      QStringLiteral("Please sit up straight in a safe, quiet place and relax.\n\nTake a deep breath.\n\n"
                     "Expand your body - put your chest forward, head up, your feet shoulder-width apart. Keep your "
                     "whole spine straight. Gently place your tongue against the roof of your mouth. Take as much "
                     "space as you can. You have right to be here. You are in charge.\n\nThere is no right or wrong "
                     "way of working towards achiving emotional freedom, there is only your way. As long as you feel "
                     "the emotions you want to clear, you are on the right path. With time you will clear negative "
                     "emotions and you'll achive calmness and piece of mind.\n\nWhenever you are ready, please click "
                     "the Next button or press a spacebar or an Enter key to move to the next step."),
      &window);
  intro.setFont(regular);
  intro.setWordWrap(true);
  intro.setGeometry(258, 140, 637, 413);
  QFont bold = regular;
  bold.setBold(true);
  QLabel line(QStringLiteral("Even though I have this problem, I deeply and completely accept myself."), &window);
  line.setFont(bold);
  line.setGeometry(258, 600, 800, 30);
  serenitap::InstallBenchHooks(window, nullptr);
  window.show();
  return QApplication::exec();
}
