// Readable on every desktop: the contrast of two colours, the focus ring, and
// every text of every step measured against what lies behind it while the
// desktop's palette is a dark one; all of it in one family.
#include <QAbstractItemView>
#include <QFontInfo>
#include <QToolButton>

#include "ui/dialogs/focus_ring.h"
#include "ui/look.h"
#include "ui/main/main_window_fixture.h"

namespace serenitap {
namespace {

using window_testing::MainControllerTest;

TEST(Contrast, IsTheRatioOfTheLuminances) {
  const std::tuple<const char*, QColor, QColor, double> rows[] = {
      {"white on black reads the same", Qt::white, Qt::black, 21},
      {"mid grey on white, just under the line", QColor(0x77, 0x77, 0x77), Qt::white, 4.48},
      {"half-transparent black on white is mid grey", QColor(0, 0, 0, 128), Qt::white, 4.0}};
  for (const auto& [name, text, background, ratio] : rows)
    EXPECT_NEAR(ContrastRatio(text, background), ratio, 0.01) << name;
}

// The designed palette's texts stand out from what lies behind them: 4.5 : 1, the selection 3 : 1.
TEST(Contrast, TheDesignedTextsStandOutFromTheirBackgrounds) {
  const QPalette designed = DesignedPalette();
  const std::tuple<const char*, QPalette::ColorRole, QPalette::ColorRole, double> pairs[] = {
      {"text", QPalette::Text, QPalette::Base, 4.5},
      {"window text", QPalette::WindowText, QPalette::Window, 4.5},
      {"button text", QPalette::ButtonText, QPalette::Button, 4.5},
      {"selection", QPalette::HighlightedText, QPalette::Highlight, 3.0},
      {"tool tip", QPalette::ToolTipText, QPalette::ToolTipBase, 4.5}};
  for (const auto& [name, text, back, least] : pairs) {
    for (QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive})
      EXPECT_GE(ContrastRatio(designed.color(group, text), designed.color(group, back)), least) << name;
  }
}

// The focus ring takes the highlight where it stands out (3 : 1), else black or white.
TEST(FocusRing, TakesTheHighlightOnlyWhereItStandsOut) {
  const QColor blue(0x30, 0x8c, 0xc6), faint(0xf0, 0xf0, 0xf0);
  EXPECT_EQ(FocusRingColour(Qt::white, blue), blue);
  EXPECT_EQ(FocusRingColour(Qt::white, faint), QColor(Qt::black));
  EXPECT_EQ(FocusRingColour(QColor(0x20, 0x20, 0x20), QColor(0x30, 0x30, 0x30)), QColor(Qt::white));
}

// Reached with Tab, a control has a ring of two pixels around it that stands out.
TEST_F(MainControllerTest, ARingOfTwoPixelsStandsOutAroundTheFocusedControl) {
  for (int i = 0; i < 30 && KeyTarget() != Controls().cmdFinish; ++i) Key(Qt::Key_Tab);
  ASSERT_EQ(KeyTarget(), Controls().cmdFinish);
  QApplication::processEvents();
  QWidget* finish = Controls().cmdFinish;
  const QRect control(finish->mapTo(window.get(), QPoint(0, 0)), finish->size());
  const QImage shot = window->grab().toImage();
  const QColor around = Controls().picToolBar->palette().color(QPalette::Window);
  // Two pixels of the ring outside the control on each side, each 3:1 against the strip.
  for (const QPoint& at :
       {QPoint(control.center().x(), control.top() - 2), QPoint(control.center().x(), control.top() - 3),
        QPoint(control.left() - 2, control.center().y()), QPoint(control.right() + 3, control.center().y()),
        QPoint(control.center().x(), control.bottom() + 2)}) {
    EXPECT_GE(ContrastRatio(shot.pixelColor(at), around), 3.0) << at.x() << "," << at.y();
  }
  // The focus gone to another window: no ring is left behind here.
  QLineEdit other;
  other.show();
  QApplication::setActiveWindow(&other);
  other.setFocus();
  QApplication::processEvents();
  EXPECT_FALSE(window->findChild<QWidget*>(QStringLiteral("qt_focus_ring"))->isVisible());
}

// What a dark desktop theme hands the program (GTK's Adwaita, dark).
QPalette DarkDesktopPalette() {
  QPalette dark;
  const std::pair<QPalette::ColorRole, QColor> roles[] = {
      {QPalette::Window, QColor(0x32, 0x32, 0x32)},        {QPalette::WindowText, QColor(0xf0, 0xf0, 0xf0)},
      {QPalette::Base, QColor(0x24, 0x24, 0x24)},          {QPalette::Text, QColor(0xf0, 0xf0, 0xf0)},
      {QPalette::Button, QColor(0x32, 0x32, 0x32)},        {QPalette::ButtonText, QColor(0xf0, 0xf0, 0xf0)},
      {QPalette::Midlight, QColor(0x2a, 0x2a, 0x2a)},      {QPalette::Light, QColor(0x4b, 0x4b, 0x4b)},
      {QPalette::AlternateBase, QColor(0x2b, 0x2b, 0x2b)}, {QPalette::HighlightedText, QColor(0xf0, 0xf0, 0xf0)},
  };
  for (const auto& [role, colour] : roles) dark.setColor(role, colour);
  return dark;
}

// The colour a widget's text is drawn on: its own background when it paints
// one, else that of the nearest container that does.
QColor BackgroundBehind(const QWidget& widget) {
  for (const QWidget* at = &widget; at != nullptr; at = at->parentWidget())
    if (at->autoFillBackground() || at->isWindow()) return at->palette().color(at->backgroundRole());
  return {};
}

struct TextOnScreen {
  QString what;
  QColor text, background;
  QFont font;
};

// Every visible text of a window, with the colours it is drawn in. A
// disabled control's greyed text says it cannot be used, and is left out.
std::vector<TextOnScreen> VisibleTexts(QWidget& window) {
  std::vector<TextOnScreen> texts;
  QList<QWidget*> widgets = window.findChildren<QWidget*>();
  widgets.prepend(&window);
  for (QWidget* w : widgets) {
    if (!w->isVisible() || !w->isEnabled()) continue;
    const QPalette& p = w->palette();
    const QString name = w->objectName();
    if (auto* label = qobject_cast<QLabel*>(w); label != nullptr && !label->text().isEmpty()) {
      texts.push_back({name + QStringLiteral(" \"") + label->text().left(30) + QLatin1Char('"'),
                       p.color(label->foregroundRole()), BackgroundBehind(*label), label->font()});
    } else if (auto* button = qobject_cast<QAbstractButton*>(w); button != nullptr && !button->text().isEmpty()) {
      const bool bevelled = qobject_cast<QPushButton*>(w) != nullptr || qobject_cast<QToolButton*>(w) != nullptr;
      texts.push_back({name + QStringLiteral(" \"") + button->text() + QLatin1Char('"'),
                       p.color(bevelled ? QPalette::ButtonText : QPalette::WindowText),
                       bevelled ? p.color(QPalette::Button) : BackgroundBehind(*button), button->font()});
    } else if (auto* view = qobject_cast<QAbstractItemView*>(w); view != nullptr && !view->inherits("QHeaderView")) {
      texts.push_back(
          {name + QStringLiteral(" items"), p.color(QPalette::Text), p.color(QPalette::Base), view->font()});
    }
  }
  return texts;
}

// Every visible text of the window reads at 4.5:1 and is set in the main window's family.
void ExpectReadable(QWidget& window, const std::string& where, const QString& family) {
  SCOPED_TRACE(where);
  const std::vector<TextOnScreen> texts = VisibleTexts(window);
  EXPECT_FALSE(texts.empty());
  for (const TextOnScreen& t : texts) {
    EXPECT_GE(ContrastRatio(t.text, t.background), kReadableContrast)
        << t.what.toStdString() << ": " << t.text.name().toStdString() << " on " << t.background.name().toStdString();
    EXPECT_EQ(QFontInfo(t.font).family(), family) << t.what.toStdString();
  }
}

// The program started on a dark desktop: the desktop's palette and font are
// the application's until the program sets up its look, as it does at start.
class DarkDesktop : public window_testing::MainControllerTest {
 public:
  void SetUp() override {
    QApplication::setPalette(DarkDesktopPalette());
    QApplication::setFont(QFont(QStringLiteral("DejaVu Serif"), 11));
    ApplyDesignedLook();
    MainControllerTest::SetUp();
    family = QFontInfo(window->font()).family();
  }
  QString family;

 private:
  window_testing::KeepsDesktopLook desktop_;
};

TEST_F(DarkDesktop, EveryStepReadsInTheDesignedColoursAndFamily) {
  OnEveryStep([this] { ExpectReadable(*window, "step " + std::to_string(StepNumber(step())), family); });
  window->PopupMenu().popup(window->mapToGlobal(QPoint(10, 10)));
  EXPECT_EQ(QFontInfo(window->PopupMenu().font()).family(), family);
  window->PopupMenu().close();
}

}  // namespace
}  // namespace serenitap
