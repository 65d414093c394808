// Failures shown through the real report dialog: the dialog comes up modally
// with the report's contents while the failing procedure waits, several
// failures give one dialog after another, and the program answers afterwards.
// The dialogs are answered from a zero-delay timer inside their modal loop.
#include <gtest/gtest.h>

#include <QApplication>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QTimer>
#include <functional>
#include <limits>
#include <string>
#include <vector>

#include "injection.h"
#include "services/product.h"
#include "session/engine.h"
#include "tests/session/fake_view.h"
#include "ui/dialogs/error_report_dialog.h"
#include "window_harness.h"

namespace serenitap {
namespace {

using testing::Injected;

// The real report dialog for the scope, the previous sink afterwards.
class RealReportDialog {
 public:
  RealReportDialog() {
    previous_ = SetReportErrorSink({});
    InstallErrorReportDialog();
  }
  ~RealReportDialog() { SetReportErrorSink(previous_); }
  RealReportDialog(const RealReportDialog&) = delete;
  RealReportDialog& operator=(const RealReportDialog&) = delete;

 private:
  ReportSink previous_;
};

struct ShownDialog {
  QString title;
  QString contents;
  int reportDialogsVisible = 0;
  bool stepTimerOn = false;
};

// Answers every report dialog with "Do Not Send" as soon as its modal loop
// runs, noting what it showed. Arm it just before the failure.
class DialogAnswerer : public QObject {
 public:
  explicit DialogAnswerer(std::function<bool()> stepTimerOn = [] { return false; })
      : stepTimerOn_(std::move(stepTimerOn)) {}

  void Arm() {
    QTimer::singleShot(0, this, [this] { Answer(); });
  }

  std::vector<ShownDialog> shown;

 private:
  void Answer() {
    QWidget* modal = QApplication::activeModalWidget();
    auto* dialog = qobject_cast<frmErrorReport*>(modal);
    if (dialog == nullptr) {
      if (modal != nullptr) modal->close();  // not ours: never leave a test waiting
      return;
    }
    ShownDialog seen;
    seen.title = dialog->windowTitle();
    seen.contents = dialog->findChild<QPlainTextEdit*>("txtErrDesc")->toPlainText();
    for (QWidget* w : QApplication::topLevelWidgets()) {
      if (qobject_cast<frmErrorReport*>(w) != nullptr && w->isVisible()) ++seen.reportDialogsVisible;
    }
    seen.stepTimerOn = stepTimerOn_();
    shown.push_back(seen);
    QEvent activate(QEvent::WindowActivate);
    QApplication::sendEvent(dialog, &activate);
    dialog->findChild<QPushButton*>("cmdCancel")->click();
    Arm();  // for the next report, if one comes
  }

  std::function<bool()> stepTimerOn_;
};

QString Heading(const char* procedure, int number) {
  return QString::fromStdString(VersionText(product::kVersionMajor, product::kVersionMinor)) + " " +
         QString::number(product::kVersionRevision) + " Error " + QString::number(number) + " (frmMain:" + procedure +
         ")";
}

TEST(ReportDialog, AFailingTickShowsOneDialogWithTheTimerStoppedAndTheSessionGoesOn) {
  RealReportDialog real;
  testing::WindowHarness h;
  h.NextTo(stpLeftHand);
  h.controller->Engine().MutableState().glngSessionSeconds = std::numeric_limits<std::int32_t>::max();
  DialogAnswerer answerer([&] { return h.timer().isActive(); });
  answerer.Arm();
  for (int i = 0; i < 100 && h.timer().isActive(); ++i) h.controller->Engine().tmrSteps_Timer();

  ASSERT_EQ(answerer.shown.size(), 1u);
  const ShownDialog& seen = answerer.shown[0];
  EXPECT_EQ(seen.title, "Uh Oh... an error occurred in Serenitap");
  const QRegularExpression contents("^" + QRegularExpression::escape(Heading("tmrSteps_Timer", 6)) +
                                    "\n\nOverflow\n\nLine: [1-9][0-9]*$");
  EXPECT_TRUE(contents.match(seen.contents).hasMatch()) << seen.contents.toStdString();
  EXPECT_FALSE(seen.stepTimerOn) << "the timer stops before the dialog, so no tick reports again meanwhile";
  EXPECT_EQ(frmErrorReport::Instance(), nullptr) << "the dialog is released when it closes";

  h.controller->Engine().MutableState().glngSessionSeconds = 0;
  h.Next();
  EXPECT_EQ(h.step(), stpTopHead1);
  EXPECT_TRUE(h.timer().isActive());
  EXPECT_EQ(answerer.shown.size(), 1u);
}

TEST(ReportDialog, FailuresInARowGiveOneDialogAfterAnother) {
  RealReportDialog real;
  testing::FakeSessionView view;
  SessionEngine engine(view);
  engine.Form_Load_Prepare();
  engine.Form_Load_Session();
  engine.Form_Activate();
  // Every button change fails: EnableDisableTimer, then the Next command itself.
  view.hook = [](const std::string& entry) {
    if (entry.rfind("Enabled(", 0) == 0) throw Injected();
  };
  DialogAnswerer answerer;
  answerer.Arm();
  engine.cmdNavig_Click(1);

  const QString tail = "\n\n" + QString::fromStdString(Injected().Description()) + "\n\nLine: " +
                       QString::number(Injected().Line());
  ASSERT_EQ(answerer.shown.size(), 2u);
  EXPECT_EQ(answerer.shown[0].contents, Heading("EnableDisableTimer", 91) + tail);
  EXPECT_EQ(answerer.shown[1].contents, Heading("cmdNavig_Click", 91) + tail);
  for (const ShownDialog& seen : answerer.shown) EXPECT_EQ(seen.reportDialogsVisible, 1) << "one at a time";
  EXPECT_FALSE(engine.mblnBusy());
  EXPECT_EQ(engine.State().genmCurrentStep, stpStimulateThymus);

  view.hook = nullptr;
  engine.cmdNavig_Click(1);
  EXPECT_EQ(engine.State().genmCurrentStep, stpSelectIssue);
  EXPECT_EQ(answerer.shown.size(), 2u);
}

}  // namespace
}  // namespace serenitap
