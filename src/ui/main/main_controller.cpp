#include "ui/main/main_controller.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QCursor>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QMenu>
#include <QTimer>
#include <cmath>

#include "services/failure.h"
#include "services/product.h"
#include "services/shell.h"
#include "settings/options.h"
#include "settings/window_position.h"
#include "ui/journal/journal_keeper.h"
#include "ui/main/layout.h"
#include "ui/main/main_window.h"
#include "ui/main/window_placement.h"
#include "ui/qt_text.h"

namespace serenitap {
namespace {

constexpr std::string_view kModule = "frmMain";

QAbstractButton* SessionButtonOf(frmMain& window, SessionButton button) {
  switch (button) {
    case SessionButton::Previous: return window.Button("cmdNavig", 0);
    case SessionButton::Pause: return window.Button("cmdPause");
    case SessionButton::Resume: return window.Button("cmdResume");
  }
  return nullptr;
}

// Runs one statement of a procedure that skips failing statements.
template <class F>
void Attempt(F&& statement) noexcept {
  try {
    statement();
  } catch (...) {
    // Unloading must run to its end: a statement that fails is skipped, as its caller asks.
  }
}

}  // namespace

MainWindowController::MainWindowController(frmMain& window, MainWindowDialogs dialogs)
    : QObject(&window),
      window_(window),
      dialogs_(std::move(dialogs)),
      engine_(*this),
      guidance_(std::make_unique<GuidanceControl>(engine_, window_)) {
  journal_ = new JournalKeeper(engine_, JournalPath(), this);
  if (auto* item = window_.PopupMenu().findChild<QAction*>(QStringLiteral("mnuPopUpJournal"))) {
    item->setChecked(journal_->Keeping());
  }
  clock_ = [] {
    static QElapsedTimer started;
    if (!started.isValid()) started.start();
    return static_cast<std::int64_t>(started.elapsed());
  };
  ConnectControls();
  window_.installEventFilter(this);
  qApp->installEventFilter(this);
}

MainWindowController::~MainWindowController() {
  if (qApp != nullptr) qApp->removeEventFilter(this);
}

void MainWindowController::ConnectControls() {
  connect(&window_.StepTimer(), &QTimer::timeout, this, [this] { engine_.tmrSteps_Timer(); });
  connect(&window_, &frmMain::surfaceClicked, this, [this] { engine_.cmdNavig_Click(1); });
  connect(&window_, &frmMain::issueOptionClicked, this,
          [this](int index) { engine_.radMode_Click(static_cast<std::int16_t>(index)); });
  connect(&window_, &frmMain::sudOptionClicked, this,
          [this](int index) { engine_.radSUD_Click(static_cast<std::int16_t>(index)); });

  auto onClick = [this](QAbstractButton* button, auto handler) {
    if (button != nullptr) connect(button, &QAbstractButton::clicked, this, handler);
  };
  onClick(window_.Button("cmdNavig", 0), [this] { engine_.cmdNavig_Click(0); });
  onClick(window_.Button("cmdNavig", 1), [this] { engine_.cmdNavig_Click(1); });
  onClick(window_.Button("cmdPause"), [this] { engine_.cmdPause_Click(); });
  onClick(window_.Button("cmdResume"), [this] { engine_.cmdResume_Click(); });
  onClick(window_.Button("cmdFinish"), [this] { engine_.cmdFinish_Click(); });
  onClick(window_.Button("cmdStart"), [this] { engine_.cmdStart_Click(); });
  onClick(window_.Button("cmdShare"), [this] { engine_.cmdShare_Click(); });
  onClick(window_.Button("cmdExit"), [this] { cmdExit_Click(); });
  onClick(window_.Button("cmdWeb"), [this] { cmdWeb_Click(); });
  onClick(window_.Button("cmdNav"), [this] { cmdNav_Click(); });
  onClick(window_.Button("cmdAbout"), [this] { ModalWindowCommand("cmdAbout_Click", dialogs_.showAboutModal); });
  onClick(window_.Button("cmdInfo"), [this] { ModalWindowCommand("cmdInfo_Click", dialogs_.showWhatIsItModal); });

  auto onItem = [this](const char* name, auto handler) {
    if (auto* action = window_.PopupMenu().findChild<QAction*>(QString::fromLatin1(name))) {
      connect(action, &QAction::triggered, this, handler);
    }
  };
  onItem("mnuPopUpInfo", [this] { mnuPopUpInfo_Click(); });
  onItem("mnuPopUpShortcuts", [this] { KeyboardShortcuts(); });
  onItem("mnuPopUpAbout", [this] { mnuPopUpAbout_Click(); });
  onItem("mnuPopUpExit", [this] { cmdExit_Click(); });
  onItem("mnuPopUpJournal", [this](bool keep) { mnuPopUpJournal_Click(keep); });
  onItem("mnuPopUpProgress", [this] { mnuPopUpProgress_Click(); });
}

void MainWindowController::Form_Load() {
  Guarded(kModule, "Form_Load", [&] {
    // The window has built its controls, caption, toolbar and strips.
    engine_.Form_Load_Prepare();
    SetFormPosition();
    window_.ArrangeControls();
    engine_.SetPointSeconds(modOptions::PointSeconds());
    engine_.Form_Load_Session();
    if (QAbstractButton* web = window_.Button("cmdWeb")) {
      web->setToolTip(ToQString(std::string("Click here to visit the ") + std::string(product::kName) + " website at " +
                                std::string(product::kWebAddress)));
    }
    window_.SetColors();
    guidance_->Load();
  });
}

void MainWindowController::SetFormPosition() {
  Guarded(kModule, "SetFormPosition", [&] {
    // The stored placement, fitted to the screens; without a usable one the
    // design size, centred, or maximized where the design does not fit.
    std::int32_t left = 0, top = 0, width = 0, height = 0, state = 0;
    FormPos_Read(left, top, width, height, state);
    const PlacementDecision decision = DecidePlacement({left, top, width, height}, state, main_window::ScreensInTwips(),
                                                       main_window::MainWindowLimits());
    main_window::ApplyPlacement(window_, decision);
    const TwipArea& g = decision.geometry;
    normalPlacement_ = {double(g.left), double(g.top), double(g.width), double(g.height), kWindowStateNormal};
  });
}

void MainWindowController::Form_Unload() {
  if (unloaded_) return;
  unloaded_ = true;
  // Every statement is attempted; a failing one is skipped.
  Attempt([&] { window_.StepTimer().stop(); });
  Attempt([&] { guidance_->Unload(); });
  Attempt([&] { journal_->WindowClosing(); });
  Attempt([&] {
    if (window_.isMinimized()) return;
    WindowPlacement placement = main_window::CurrentPlacement(window_);
    if (placement.window_state == kWindowStateMaximized) {
      placement = normalPlacement_;  // the placement it returns to
      placement.window_state = kWindowStateMaximized;
    }
    FormPos_Save(placement, main_window::ScreensInTwips(), main_window::MainWindowLimits());
  });
  Attempt([&] {
    const auto windows = QApplication::topLevelWidgets();
    for (auto it = windows.rbegin(); it != windows.rend(); ++it) {
      if (*it != &window_ && (*it)->isVisible()) (*it)->close();
    }
  });
}

bool MainWindowController::BelongsToWindow(QObject* object) const {
  auto* widget = qobject_cast<QWidget*>(object);
  return widget != nullptr && widget->window() == &window_;
}

bool MainWindowController::eventFilter(QObject* watched, QEvent* event) {
  if (watched == &window_) {
    // The first showing activates the window even where no window manager
    // hands out activation (a bare X server, a kiosk session).
    if (event->type() == QEvent::WindowActivate || event->type() == QEvent::Show) engine_.Form_Activate();
    if (event->type() == QEvent::Close) Form_Unload();
    const bool normal = !(window_.windowState() & (Qt::WindowMaximized | Qt::WindowMinimized | Qt::WindowFullScreen));
    if ((event->type() == QEvent::Move || event->type() == QEvent::Resize) && normal && window_.isVisible()) {
      normalPlacement_ = main_window::CurrentPlacement(window_);
    }
  }
  const bool keyEvent = event->type() == QEvent::KeyPress || event->type() == QEvent::ShortcutOverride;
  if (!keyEvent || unloaded_ || !BelongsToWindow(watched)) return false;
  auto* key = static_cast<QKeyEvent*>(event);
  const std::int32_t code = VirtualKeyOf(*key);
  const KeyCommand command =
      DecideKey(code, window_.IsPauseAvailable(), window_.IsResumeAvailable(), engine_.State().genmCurrentStep);
  const bool digitChooses = command == KeyCommand::None && DigitChoice::Chooses(code, engine_.State().genmCurrentStep);
  QAbstractButton* accessKeyButton =
      command == KeyCommand::None && !digitChooses && (key->modifiers() & Qt::AltModifier) ? AccessKeyButton(*key)
                                                                                           : nullptr;
  if (event->type() == QEvent::ShortcutOverride) {
    // Keys of the key table, the choosing digits and the window's access keys
    // are handled here, as key presses, before any shortcut.
    if (command == KeyCommand::None && !digitChooses && accessKeyButton == nullptr) return false;
    event->accept();
    return true;
  }
  if (accessKeyButton != nullptr) {
    accessKeyButton->click();
    return true;
  }
  if (digitChooses) {
    ChooseByDigit(code);
    return true;
  }
  return Form_KeyDown(code);
}

QAbstractButton* MainWindowController::AccessKeyButton(const QKeyEvent& event) const {
  const std::int32_t code = VirtualKeyOf(event);
  if (code < Qt::Key_A || code > Qt::Key_Z) return nullptr;
  const QString mnemonic = QStringLiteral("&") + QChar(code);
  for (QAbstractButton* button : window_.findChildren<QAbstractButton*>()) {
    // A hidden or disabled button does not answer its access key.
    if (!button->isVisibleTo(&window_) || !button->isEnabled()) continue;
    if (button->text().contains(mnemonic, Qt::CaseInsensitive)) return button;
  }
  return nullptr;
}

bool MainWindowController::Form_KeyDown(std::int32_t keyCode) {
  const KeyCommand command =
      DecideKey(keyCode, window_.IsPauseAvailable(), window_.IsResumeAvailable(), engine_.State().genmCurrentStep);
  switch (command) {
    case KeyCommand::None: return false;
    case KeyCommand::Consume: return true;
    case KeyCommand::Pause: engine_.cmdPause_Click(); return true;
    case KeyCommand::Resume: engine_.cmdResume_Click(); return true;
    case KeyCommand::Next:
      engine_.cmdNavig_Click(1);
      AfterKeyMove(FocusAfterNext(engine_.State().genmCurrentStep));
      return true;
    case KeyCommand::Previous: {
      engine_.cmdNavig_Click(0);
      QAbstractButton* previous = window_.Button("cmdNavig", 0);
      AfterKeyMove(FocusAfterPrevious(engine_.State().genmCurrentStep, previous != nullptr && previous->isEnabled()));
      return true;
    }
  }
  return false;
}

void MainWindowController::ChooseByDigit(std::int32_t keyCode) {
  const enmStep step = engine_.State().genmCurrentStep;
  const int choice = digits_.Choose(keyCode, step, clock_());
  if (choice < 0) return;
  if (step == stpSelectIssue)
    window_.ChooseOption("radMode", window_.VisibleIssueOption(choice));
  else
    window_.ChooseOption("radSUD", choice);
}

void MainWindowController::SetMonotonicClock(std::function<std::int64_t()> clock) { clock_ = std::move(clock); }

void MainWindowController::AfterKeyMove(FocusTarget target) {
  switch (target) {
    case FocusTarget::SUDChoice: window_.FocusSudOption(engine_.mintSUD()); break;
    case FocusTarget::NextButton: window_.FocusNavigButton(1); break;
    case FocusTarget::PreviousButton: window_.FocusNavigButton(0); break;
  }
}

std::int32_t MainWindowController::VirtualKeyOf(const QKeyEvent& event) {
  const int key = event.key();
  if ((key >= Qt::Key_0 && key <= Qt::Key_9) || (key >= Qt::Key_A && key <= Qt::Key_Z)) return key;
  if (key >= Qt::Key_F1 && key <= Qt::Key_F24) return 112 + (key - Qt::Key_F1);
  switch (key) {
    case Qt::Key_Backspace: return 8;
    case Qt::Key_Tab:
    case Qt::Key_Backtab: return 9;
    case Qt::Key_Return:
    case Qt::Key_Enter: return 13;
    case Qt::Key_Shift: return 16;
    case Qt::Key_Control: return 17;
    case Qt::Key_Alt:
    case Qt::Key_AltGr: return 18;
    case Qt::Key_Pause: return 19;
    case Qt::Key_CapsLock: return 20;
    case Qt::Key_Escape: return 27;
    case Qt::Key_Space: return 32;
    case Qt::Key_PageUp: return 33;
    case Qt::Key_PageDown: return 34;
    case Qt::Key_End: return 35;
    case Qt::Key_Home: return 36;
    case Qt::Key_Left: return 37;
    case Qt::Key_Up: return 38;
    case Qt::Key_Right: return 39;
    case Qt::Key_Down: return 40;
    case Qt::Key_Insert: return 45;
    case Qt::Key_Delete: return 46;
    case Qt::Key_Meta: return 91;
    default: return 255;  // a key the table does not name
  }
}

void MainWindowController::cmdWeb_Click() {
  OpenWebPage(static_cast<WindowHandle>(window_.winId()), product::kWebAddress, false);
}

void MainWindowController::cmdExit_Click() {
  window_.StepTimer().stop();
  window_.close();
}

void MainWindowController::cmdNav_Click() { window_.PopupMenu().popup(QCursor::pos()); }

void MainWindowController::mnuPopUpAbout_Click() { ModalWindowCommand("mnuPopUpAbout_Click", dialogs_.showAboutModal); }

void MainWindowController::mnuPopUpInfo_Click() {
  ModalWindowCommand("mnuPopUpInfo_Click", dialogs_.showWhatIsItModal);
}

void MainWindowController::mnuPopUpJournal_Click(bool keep) {
  Guarded(kModule, "mnuPopUpJournal_Click", [&] { journal_->SetKeeping(keep); });
}

void MainWindowController::mnuPopUpProgress_Click() {
  if (!dialogs_.showProgressModal) return;
  ModalWindowCommand("mnuPopUpProgress_Click", [this](QWidget* owner) {
    dialogs_.showProgressModal(owner, journal_->Path(), journal_->Keeping());
  });
}

void MainWindowController::ModalWindowCommand(const char* procedure, const std::function<void(QWidget*)>& show) {
  Guarded(kModule, procedure, [&] {
    QTimer& timer = window_.StepTimer();
    const bool wasRunning = timer.isActive();
    timer.stop();
    if (show) show(&window_);
    if (wasRunning) timer.start();
  });
}

void MainWindowController::KeyboardShortcuts() {
  Guarded(kModule, "KeyboardShortcuts", [&] {
    if (shortcuts_ == nullptr && dialogs_.createShortcuts) shortcuts_ = dialogs_.createShortcuts();
    if (shortcuts_ == nullptr) return;
    shortcuts_->show();
    shortcuts_->raise();
    shortcuts_->activateWindow();
  });
}

// --- ISessionView -------------------------------------------------------------

void MainWindowController::SetStepTimerEnabled(bool enabled) {
  QTimer& timer = window_.StepTimer();
  if (enabled) {
    timer.start();
  } else {
    timer.stop();
  }
}

void MainWindowController::SetButtonEnabled(SessionButton button, bool enabled) {
  if (QAbstractButton* b = SessionButtonOf(window_, button)) b->setEnabled(enabled);
}

void MainWindowController::SetButtonVisible(SessionButton button, bool visible) {
  if (QAbstractButton* b = SessionButtonOf(window_, button)) b->setVisible(visible);
}

void MainWindowController::HideAllDots() { window_.HideAllDots(); }

void MainWindowController::SetDotVisible(std::int32_t index, bool visible) { window_.SetDotVisible(index, visible); }

void MainWindowController::PaintDots(Rgb colour) { window_.PaintAllDots(colour); }

void MainWindowController::ShowStepLayout(const StepDisplay& display) {
  window_.SetIssueChoiceVisible(display.showIssueChoice);
  window_.SetSudChoiceVisible(display.showSUDChoice);
  window_.SetThymusVisible(display.showThymus);
  window_.SetPanesVisible(display.showPanels);
  window_.SetHandsVisible(display.showHands);
  window_.SetBodyChartVisible(display.showBodyPicture);
  window_.SetIntroVisible(display.showIntroLabel);
}

void MainWindowController::ShowStepTexts(const StepTexts& texts) {
  window_.SetCurrentPointText(texts.currentPoint);
  window_.SetSegmentTitleText(texts.segmentTitle);
  if (texts.toIntroLabel) {
    window_.SetIntroText(texts.instructions);
  } else {
    window_.SetInstructionsText(texts.instructions);
  }
}

void MainWindowController::SetTimeText(const std::string& text) { window_.SetTimeText(text); }

void MainWindowController::PumpEvents() {
  // Pending events run in the tail of a tick; a nested tick does not pump again.
  if (pumping_) return;
  pumping_ = true;
  QCoreApplication::processEvents();
  pumping_ = false;
}

void MainWindowController::SelectSUD(std::int16_t index) { window_.SelectSudOption(index); }

void MainWindowController::SelectIssueOption(std::int32_t index) { window_.SelectIssueOption(index); }

void MainWindowController::SetIssueCaption(std::int32_t index, const std::string& caption) {
  if (auto* option = window_.Button("radMode", index)) option->setText(ToQString(caption));
}

}  // namespace serenitap
