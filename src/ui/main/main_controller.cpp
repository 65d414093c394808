#include "ui/main/main_controller.h"

#include <QAbstractButton>
#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QCursor>
#include <QElapsedTimer>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <QToolTip>
#include <algorithm>
#include <cmath>
#include <vector>

#include "content/own_words.h"
#include "journal/journal_store.h"
#include "services/failure.h"
#include "services/notice.h"
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
    case SessionButton::Previous: return window.Controls().cmdNavig[0];
    case SessionButton::Pause: return window.Controls().cmdPause;
    case SessionButton::Resume: return window.Controls().cmdResume;
  }
  return nullptr;
}

// The options of both choice groups, the issues and the ratings.
std::vector<QRadioButton*> ChoiceOptions(const main_window::MainControls& controls) {
  std::vector<QRadioButton*> options(controls.radMode.begin(), controls.radMode.end());
  options.insert(options.end(), controls.radSUD.begin(), controls.radSUD.end());
  return options;
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
    : QObject(&window), window_(window), dialogs_(std::move(dialogs)), engine_(*this), guidance_(nullptr) {
  CreateCommands();
  guidance_ = std::make_unique<GuidanceControl>(engine_, window_, *Action(CommandId::SpokenGuidance));
  journal_ = new JournalKeeper(engine_, journal::DefaultJournalPath(), this);
  Action(CommandId::Journal)->setChecked(journal_->Keeping());
  // The closing page: the step's own text, then this session in a line of its own.
  journal_->OnSessionFinished(
      [this](const std::string& line) { window_.SetIntroText(introText_ + "\r\n\r\n" + line); });
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
  connect(&window_, &frmMain::issueOptionClicked, this, [this](int index) {
    engine_.radMode_Click(static_cast<std::int16_t>(index));
    ShowWordsOfChosenIssue();
  });
  // The field is made after the window's first paint, or when first asked for.
  window_.WhenWordsFieldMade([this, alive = QPointer<MainWindowController>(this)](QLineEdit& field) {
    if (alive.isNull()) return;
    connect(&field, &QLineEdit::textEdited, this, [this](const QString& text) {
      const enmIssue issue = engine_.State().genmSelectedIssue;
      engine_.SetOwnWords(issue, text.toStdString());
      wordsEdited_.insert(issue);
    });
    ShowWordsOfChosenIssue();
  });
  connect(&window_, &frmMain::sudOptionClicked, this,
          [this](int index) { engine_.radSUD_Click(static_cast<std::int16_t>(index)); });

  // The buttons of the table run their commands; the hidden ones keep their own procedures.
  const main_window::MainControls& controls = window_.Controls();
  for (const Command& command : Commands()) {
    if (command.button == nullptr) continue;
    connect(command.button(controls), &QAbstractButton::clicked, this, [this, &command] { Run(command); });
  }
  auto onClick = [this](QAbstractButton* button, auto handler) {
    connect(button, &QAbstractButton::clicked, this, handler);
  };
  onClick(controls.cmdStart, [this] { engine_.cmdStart_Click(); });
  onClick(controls.cmdShare, [this] { engine_.cmdShare_Click(); });
  onClick(controls.cmdAbout, [this] { ModalWindowCommand("cmdAbout_Click", dialogs_.showAboutModal); });
  onClick(controls.cmdInfo, [this] { ModalWindowCommand("cmdInfo_Click", dialogs_.showWhatIsItModal); });

  // Only the chosen option of each group is a Tab stop.
  for (QRadioButton* option : ChoiceOptions(controls)) {
    connect(option, &QAbstractButton::toggled, this, [this] { UpdateChoiceTabStops(); });
  }
  UpdateChoiceTabStops();
}

void MainWindowController::CreateCommands() {
  for (const Command& command : Commands()) {
    auto* action = new QAction(ToQString(command.caption), this);
    if (!command.menuItem.empty()) {
      action->setObjectName(ToQString(command.menuItem));
      menuItems_.push_back(action);
    }
    action->setCheckable(command.checkable);
    action->setShortcuts(command.shortcuts);
    // The key preview runs the shortcuts, in every window state; the action
    // only shows them.
    action->setShortcutContext(Qt::WidgetShortcut);
    connect(action, &QAction::triggered, this, [this, &command] { Run(command); });
    actions_[command.id] = action;
  }
  // The pace: one item a choice, the one in use checked.
  paces_ = new QActionGroup(this);
  for (const std::int32_t seconds : modOptions::kPointSecondsChoices) {
    QString caption = QStringLiteral("&%1 seconds a point").arg(seconds);
    if (seconds == SessionEngine::kDesignedPointSeconds) caption += QStringLiteral(" (the designed pace)");
    auto* item = new QAction(caption, paces_);
    item->setData(seconds);
    item->setCheckable(true);
    item->setChecked(seconds == engine_.PointSeconds());
    connect(item, &QAction::triggered, this, [this, seconds] { ChoosePace(seconds); });
  }
  // The items (and the commands' states they hold) live here until the menu
  // is first asked for; then they move into it.
  window_.WhenPopupMenuMade([this](QMenu& menu) { FillMenu(menu); });
}

void MainWindowController::FillMenu(QMenu& menu) {
  for (QAction* action : menuItems_) {
    action->setParent(&menu);
    if (action == Action(CommandId::Exit)) menu.addSeparator()->setObjectName(QStringLiteral("mnuPopUpSep"));
    menu.addAction(action);
  }
  paceMenu_ = new QMenu(&menu);
  paceMenu_->setObjectName(QStringLiteral("mnuPopUpPaceChoices"));
  paces_->setParent(paceMenu_);
  for (QAction* item : paces_->actions()) {
    item->setParent(paceMenu_);
    paceMenu_->addAction(item);
  }
  Action(CommandId::Pace)->setMenu(paceMenu_);
  // A tool tip (why an item is off) shows beside the menu, never over an item.
  connect(&menu, &QMenu::hovered, this, [&menu](QAction* action) {
    QString tip = action->toolTip();
    QString caption = action->text();
    caption.remove(QLatin1Char('&')).remove(QStringLiteral("…")).remove(QStringLiteral("..."));
    if (tip.isEmpty() || tip.remove(QStringLiteral("…")).remove(QStringLiteral("...")) == caption) {
      QToolTip::hideText();
      return;
    }
    const QRect item = menu.actionGeometry(action);
    QToolTip::showText(menu.mapToGlobal(QPoint(menu.width() + 4, item.top())), action->toolTip(), &menu);
  });
}

QAction* MainWindowController::Action(CommandId id) const {
  auto it = actions_.find(id);
  return it == actions_.end() ? nullptr : it->second;
}

bool MainWindowController::Available(const Command& command) const {
  if (command.button != nullptr) {
    const QAbstractButton* button = command.button(window_.Controls());
    return button->isVisibleTo(&window_) && button->isEnabled();
  }
  const QAction* action = Action(command.id);
  return action != nullptr && action->isEnabled();
}

void MainWindowController::Run(const Command& command, const QKeyEvent* key) {
  if (command.handler != nullptr) (this->*command.handler)(key);
}

void MainWindowController::OnNext(const QKeyEvent* key) {
  engine_.cmdNavig_Click(1);
  if (key != nullptr) AfterKeyMove(FocusAfterNext(engine_.State().genmCurrentStep));
}

void MainWindowController::OnPrevious(const QKeyEvent* key) {
  engine_.cmdNavig_Click(0);
  if (key == nullptr) return;
  AfterKeyMove(FocusAfterPrevious(engine_.State().genmCurrentStep, window_.Controls().cmdNavig[0]->isEnabled()));
}

void MainWindowController::OnPause(const QKeyEvent*) { engine_.cmdPause_Click(); }
void MainWindowController::OnResume(const QKeyEvent*) { engine_.cmdResume_Click(); }
void MainWindowController::OnFinish(const QKeyEvent*) { engine_.cmdFinish_Click(); }

void MainWindowController::OnDigit(const QKeyEvent* key) {
  if (key != nullptr) ChooseByDigit(VirtualKeyOf(*key));
}

void MainWindowController::OnMenu(const QKeyEvent* key) { cmdNav_Click(key != nullptr); }
void MainWindowController::OnIntroduction(const QKeyEvent*) { mnuPopUpInfo_Click(); }
void MainWindowController::OnShortcuts(const QKeyEvent*) { KeyboardShortcuts(); }
void MainWindowController::OnAbout(const QKeyEvent*) { mnuPopUpAbout_Click(); }

void MainWindowController::OnJournal(const QKeyEvent* key) {
  QAction* item = Action(CommandId::Journal);
  if (key != nullptr) item->toggle();  // a key flips the item as a click on it does
  mnuPopUpJournal_Click(item->isChecked());
}

void MainWindowController::OnProgress(const QKeyEvent*) { mnuPopUpProgress_Click(); }

void MainWindowController::OnPace(const QKeyEvent*) {
  window_.PopupMenu();  // makes the pace's menu
  if (paceMenu_ != nullptr) paceMenu_->popup(QCursor::pos());
}

void MainWindowController::ChoosePace(std::int32_t seconds) {
  engine_.SetPointSeconds(seconds);
  for (QAction* item : paces_->actions()) item->setChecked(item->data().toInt() == engine_.PointSeconds());
  if (modOptions::PointSeconds(seconds) != "Success") {
    ShowNotice("The pace could not be saved; it holds until Serenitap closes.");
  }
}

void MainWindowController::OnSpokenGuidance(const QKeyEvent* key) {
  QAction* item = Action(CommandId::SpokenGuidance);
  if (key != nullptr) item->toggle();
  guidance_->Choose(item->isChecked());
}

void MainWindowController::OnWeb(const QKeyEvent*) { cmdWeb_Click(); }
void MainWindowController::OnExit(const QKeyEvent*) { cmdExit_Click(); }

void MainWindowController::Form_Load() {
  Guarded(kModule, "Form_Load", [&] {
    // The window has built its controls, caption, toolbar and strips.
    engine_.Form_Load_Prepare();
    SetFormPosition();
    window_.ArrangeControls();
    engine_.SetPointSeconds(modOptions::PointSeconds());
    for (QAction* item : paces_->actions()) item->setChecked(item->data().toInt() == engine_.PointSeconds());
    for (std::int32_t index = 1; index <= 12; ++index) {
      const enmIssue issue = modIssues::IssueOptIndexToEnum(index);
      engine_.SetOwnWords(issue, modOptions::Words(IssueNumber(issue)));
    }
    engine_.Form_Load_Session();
    window_.Controls().cmdWeb->setToolTip(ToQString(std::string("Click here to visit the ") +
                                                    std::string(product::kName) + " website at " +
                                                    std::string(product::kWebAddress)));
    window_.SetColors();
    guidance_->Load();
    // The keyboard starts on Next: Space and Enter move on from the first step.
    window_.FocusNavigButton(1);
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
  Attempt([&] { SaveWords(); });
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
  if (event->type() == QEvent::FocusIn && BelongsToWindow(watched)) {
    // Tab and the arrows within a group move the keyboard's focus; a key
    // command or a click that puts the focus somewhere does not.
    const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
    if (reason == Qt::TabFocusReason || reason == Qt::BacktabFocusReason) {
      tabbedFocus_ = static_cast<QWidget*>(watched);
    } else if (reason != Qt::PopupFocusReason && reason != Qt::ActiveWindowFocusReason) {
      tabbedFocus_ = nullptr;
    }
  }
  const bool keyEvent = event->type() == QEvent::KeyPress || event->type() == QEvent::ShortcutOverride;
  if (!keyEvent || unloaded_ || !BelongsToWindow(watched)) return false;
  auto* key = static_cast<QKeyEvent*>(event);
  if (watched != nullptr && watched == window_.WordsFieldIfMade()) {
    if (const std::optional<bool> consumed = WordsFieldKey(*key)) return *consumed;
  }
  if (event->type() == QEvent::ShortcutOverride) {
    // Qt offers every key to the shortcut map before it delivers the press:
    // a button's Alt+letter, a menu item's Ctrl+Q, a field's own editing keys
    // would then run there, past PlanKey, whether or not the command is
    // available at this step. Accepting the override for the keys this window
    // acts on makes Qt deliver them as key presses, so that every key takes
    // the one way through Form_KeyDown; the other keys go on to the shortcuts.
    if (PlanKey(*key).kind == KeyPlan::Kind::None) return false;
    event->accept();
    return true;
  }
  return Form_KeyDown(*key);
}

std::optional<bool> MainWindowController::WordsFieldKey(QKeyEvent& key) {
  if (key.modifiers() & Qt::AltModifier) return std::nullopt;
  const bool leaves = key.key() == Qt::Key_Return || key.key() == Qt::Key_Enter || key.key() == Qt::Key_Escape;
  if (!leaves) return false;  // text, Tab and the field's own keys
  key.accept();
  if (key.type() == QEvent::KeyPress) {
    // Back to the chosen issue, where the digits and the session keys answer again.
    if (QAbstractButton* chosen = window_.Controls().radMode[window_.SelectedIssueOption()]) {
      chosen->setFocus(Qt::OtherFocusReason);
    } else {
      window_.FocusNavigButton(1);
    }
  }
  return true;
}

void MainWindowController::ShowWordsOfChosenIssue() {
  QLineEdit* made = window_.WordsFieldIfMade();
  if (made == nullptr) return;  // filled as it is made
  QLineEdit& field = *made;
  const enmIssue issue = engine_.State().genmSelectedIssue;
  field.setText(ToQString(engine_.OwnWords(issue)));
  const bool takes = modIssues::TakesOwnWords(issue);
  field.setEnabled(takes);
  field.setPlaceholderText(takes ? QStringLiteral("for example: of the accident last winter") : QString());
  field.setToolTip(takes ? QStringLiteral("Your words take the place of the bracketed words in the sentences to say.")
                         : QStringLiteral("The sentences of this issue have no place for words of your own."));
}

void MainWindowController::SaveWords() {
  bool failed = false;
  for (const enmIssue issue : wordsEdited_) {
    failed = modOptions::Words(IssueNumber(issue), engine_.OwnWords(issue)) != "Success" || failed;
  }
  wordsEdited_.clear();
  if (failed) ShowNotice("Your own words could not be saved; they hold until Serenitap closes.");
}

MainWindowController::KeyPlan MainWindowController::PlanKey(const QKeyEvent& event) const {
  using Kind = KeyPlan::Kind;
  const int key = event.key();
  if (key == 0 || key == Qt::Key_unknown || IsModifierKey(key)) return {};
  const Qt::KeyboardModifiers held = event.modifiers() & ~Qt::KeypadModifier;
  // A session key ignores Shift and Alt, but a chord with Ctrl or Meta is a
  // shortcut's, and the window manager's chords are its own.
  const bool sessionKey = !(held & (Qt::ControlModifier | Qt::MetaModifier)) && !IsWindowManagerChord(event);
  const bool pauseAvailable = window_.IsPauseAvailable();
  const bool resumeAvailable = window_.IsResumeAvailable();
  const enmStep step = engine_.State().genmCurrentStep;
  const Command* sessionRow = sessionKey ? CommandOfSessionKey(key) : nullptr;
  const KeyCommand session =
      sessionKey ? DecideKey(sessionRow != nullptr ? SessionCommandOf(sessionRow->id) : KeyCommand::None,
                             pauseAvailable, resumeAvailable, step)
                 : KeyCommand::None;
  // Pausing and resuming come first: while paused, a key only resumes.
  if (session == KeyCommand::Pause || session == KeyCommand::Resume) return {Kind::Session, session};
  if (const Command* command = CommandOfShortcut(event); command != nullptr && Available(*command)) {
    return {Kind::Command, KeyCommand::None, command};
  }
  if (!sessionKey) return {};
  if (QWidget* focused = TabbedFocus(); focused != nullptr && held == Qt::NoModifier) {
    if (key == Qt::Key_Space || key == Qt::Key_Return || key == Qt::Key_Enter) return {Kind::FocusedControl};
    if (qobject_cast<QRadioButton*>(focused) != nullptr) {
      if (key == Qt::Key_Up || key == Qt::Key_Left) return {Kind::MoveChoice, KeyCommand::None, nullptr, -1};
      if (key == Qt::Key_Down || key == Qt::Key_Right) return {Kind::MoveChoice, KeyCommand::None, nullptr, 1};
    }
  }
  if (DigitChoice::Chooses(VirtualKeyOf(event), step)) return {Kind::Digit};
  if (session != KeyCommand::None) return {Kind::Session, session};
  return {};
}

QWidget* MainWindowController::TabbedFocus() const {
  QWidget* focused = QApplication::focusWidget();
  return focused != nullptr && focused == tabbedFocus_ && BelongsToWindow(focused) ? focused : nullptr;
}

bool MainWindowController::Form_KeyDown(const QKeyEvent& event) {
  const KeyPlan plan = PlanKey(event);
  switch (plan.kind) {
    case KeyPlan::Kind::None: return false;
    case KeyPlan::Kind::Command:
      // A button's command runs as a click on it (its access key, Ctrl+Q on Exit).
      if (plan.command->button != nullptr) {
        plan.command->button(window_.Controls())->click();
      } else {
        Run(*plan.command, &event);
      }
      return true;
    case KeyPlan::Kind::Digit: OnDigit(&event); return true;
    case KeyPlan::Kind::FocusedControl:
      if (auto* control = qobject_cast<QAbstractButton*>(TabbedFocus())) control->click();
      return true;
    case KeyPlan::Kind::MoveChoice: MoveChoice(TabbedFocus(), plan.direction); return true;
    case KeyPlan::Kind::Session: break;
  }
  switch (plan.session) {
    case KeyCommand::None:
    case KeyCommand::Consume: break;
    case KeyCommand::Pause: Run(CommandOf(CommandId::Pause), &event); break;
    case KeyCommand::Resume: Run(CommandOf(CommandId::Resume), &event); break;
    case KeyCommand::Next: Run(CommandOf(CommandId::Next), &event); break;
    case KeyCommand::Previous: Run(CommandOf(CommandId::Previous), &event); break;
  }
  return true;
}

void MainWindowController::MoveChoice(QWidget* option, int direction) {
  if (option == nullptr) return;
  std::vector<QRadioButton*> options;  // those of the option's own group
  for (QRadioButton* candidate : ChoiceOptions(window_.Controls())) {
    if (candidate->parentWidget() == option->parentWidget() && candidate->isVisibleTo(&window_) &&
        candidate->isEnabled())
      options.push_back(candidate);
  }
  // In reading order: the issues top to bottom, the ratings left to right.
  std::stable_sort(options.begin(), options.end(), [](const QWidget* a, const QWidget* b) {
    return a->y() != b->y() ? a->y() < b->y() : a->x() < b->x();
  });
  const auto at = std::find(options.begin(), options.end(), option);
  if (at == options.end() || options.empty()) return;
  const auto count = static_cast<std::ptrdiff_t>(options.size());
  const std::ptrdiff_t next = ((at - options.begin()) + direction + count) % count;
  QRadioButton* target = options[static_cast<std::size_t>(next)];
  target->click();
  target->setFocus(direction < 0 ? Qt::BacktabFocusReason : Qt::TabFocusReason);
}

void MainWindowController::UpdateChoiceTabStops() {
  const main_window::MainControls& controls = window_.Controls();
  auto update = [](const auto& group) {
    QAbstractButton* stop = nullptr;
    for (QAbstractButton* option : group) {
      option->setFocusPolicy(Qt::NoFocus);
      if (option->isChecked() || (stop == nullptr && !option->isHidden())) stop = option;
    }
    if (stop != nullptr) stop->setFocusPolicy(Qt::TabFocus);
  };
  update(controls.radMode);
  update(controls.radSUD);
}

void MainWindowController::ChooseByDigit(std::int32_t keyCode) {
  const enmStep step = engine_.State().genmCurrentStep;
  const int choice = digits_.Choose(keyCode, step, clock_());
  if (choice < 0) return;
  if (step == stpSelectIssue)
    window_.ChooseOption(window_.Controls().radMode[window_.VisibleIssueOption(choice)]);
  else
    window_.ChooseOption(window_.Controls().radSUD[choice]);
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

void MainWindowController::cmdNav_Click(bool fromKeyboard) {
  QMenu& menu = window_.PopupMenu();
  const QAbstractButton* nav = window_.Controls().cmdNav;
  const bool mouseOnButton = nav->rect().contains(nav->mapFromGlobal(QCursor::pos()));
  if (!fromKeyboard && mouseOnButton) {
    menu.popup(QCursor::pos());
    return;
  }
  // From the keyboard: above the menu button, with the first item active so
  // that the arrows and a screen reader start there.
  QPoint at = nav->mapToGlobal(QPoint(0, 0));
  at.ry() -= menu.sizeHint().height();
  menu.popup(at);
  for (QAction* item : menu.actions()) {
    if (item->isVisible() && item->isEnabled() && !item->isSeparator()) {
      menu.setActiveAction(item);
      break;
    }
  }
}

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
  // The session moves on from the issue step: its words are kept.
  if (issueChoiceShown_ && !display.showIssueChoice) SaveWords();
  issueChoiceShown_ = display.showIssueChoice;
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
    introText_ = texts.instructions;
    window_.SetIntroText(texts.instructions);
  } else {
    window_.SetInstructionsText(texts.instructions, texts.sayNowLine);
  }
  window_.SetRoundLine(texts.roundLine);
}

void MainWindowController::SetTimeText(const std::string& text) { window_.SetTimeText(text); }

void MainWindowController::PumpEvents() {
  // The engine asks for this once a second, in the tick that sets the new
  // elapsed time. Running the pending events here paints the new time within
  // that tick and lets a key or a click that waits in the queue be handled
  // before the next tick, even when the 10 ms ticks come back to back (a slow
  // step change, a busy machine): the window keeps answering while the
  // session runs. What runs here may call the engine again (a Pause, a Next,
  // a tick of the timer); such a nested call does not pump again, so the
  // nesting never goes deeper than one.
  if (pumping_) return;
  pumping_ = true;
  QCoreApplication::processEvents();
  pumping_ = false;
}

void MainWindowController::SelectSUD(std::int16_t index) { window_.SelectSudOption(index); }

void MainWindowController::SelectIssueOption(std::int32_t index) {
  window_.SelectIssueOption(index);
  ShowWordsOfChosenIssue();
}

void MainWindowController::SetIssueCaption(std::int32_t index, const std::string& caption) {
  if (QRadioButton* option = window_.Controls().radMode[index]) option->setText(ToQString(caption));
}

}  // namespace serenitap
