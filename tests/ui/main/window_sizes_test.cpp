// Every window size from a 1024 x 600 laptop to a large desktop, on every
// step: each control the user sees lies inside its pane or strip, each dot on
// its picture, and the texts of the panes are shown whole.
#include <QFontMetrics>

#include "ui/dialogs/dialog_pattern.h"
#include "ui/main/main_window_fixture.h"
#include "ui/main/widgets.h"

namespace serenitap::window_testing {
namespace {

// Client areas by name.
const std::pair<const char*, QSize> kSizes[] = {
    {"1024 x 600, maximized under a desktop bar and a tall title bar", {1024, 536}},
    {"1024 x 600, maximized under a thin title bar", {1024, 581}},
    {"1024 x 600, full screen", {1024, 600}},
    {"the design", {1152, 733}},
    {"1280 x 800, maximized", {1280, 770}},
    {"1366 x 768, maximized", {1366, 730}},
    {"1920 x 1080, maximized", {1920, 1050}}};

// Where a widget lies in the coordinates of another one.
QRect RectIn(const QWidget* widget, const QWidget* other) {
  return {other->mapFrom(widget->window(), widget->mapTo(widget->window(), QPoint(0, 0))), widget->size()};
}

// The text of a label needs no more room than the label has, in the type it is set in.
bool ShowsWhole(const QLabel* label) {
  if (const auto* bold = dynamic_cast<const main_window::BoldLineLabel*>(label); bold && bold->BoldLine() >= 0) {
    return bold->NeededSize(bold->font(), bold->contentsRect().width()).height() <= bold->contentsRect().height();
  }
  const QRect needed = QFontMetrics(label->font())
                           .boundingRect(QRect(0, 0, label->contentsRect().width(), 1 << 20),
                                         int(label->alignment()) | Qt::TextWordWrap, label->text());
  return needed.height() <= label->contentsRect().height() && needed.width() <= label->contentsRect().width();
}

class WindowSizes : public MainControllerTest {
 public:
  // At each size: the strips along the edges, the panes between them, each
  // visible control inside its pane or strip, each text in a pane whole.
  void ExpectEverythingInside() {
    for (const auto& [what, area] : kSizes) {
      SCOPED_TRACE(::testing::Message() << what << ", step " << step());
      window->resize(area);
      QApplication::processEvents();
      const QRect client = window->rect();
      QWidget *toolbar = Controls().picToolBar, *status = Controls().picStatusBar;
      EXPECT_TRUE(client.contains(toolbar->geometry()) && client.contains(status->geometry()));
      for (const char* name : {"picLeftFrame", "picRightFrame", "lblSplit", "lblIntro"}) {
        const QWidget* pane = Named(name);
        if (!pane->isVisible()) continue;
        EXPECT_GE(pane->y(), toolbar->geometry().bottom()) << name;
        EXPECT_LE(pane->geometry().bottom(), status->y()) << name;
        EXPECT_GE(pane->x(), 0) << name;
      }
      for (QWidget* container :
           std::initializer_list<QWidget*>{toolbar, status, Controls().picLeftFrame, Controls().picRightFrame,
                                           Controls().picShape, Controls().picHandLeft, Controls().picHandRight}) {
        if (!container->isVisible()) continue;
        // The part of it the window shows (the right pane reaches a little past the right edge).
        const QRect shown = container->rect().intersected(RectIn(window.get(), container));
        for (const QWidget* w : container->findChildren<QWidget*>()) {
          // The issue and rating frames have no border or colour of their own: what is in them counts.
          if (!w->isVisible() || qobject_cast<const main_window::ChoiceGroup*>(w) != nullptr) continue;
          // The time stands a little taller than the status strip at design: there, only across counts.
          QRect rect = RectIn(w, container);
          if (container == status) rect = {rect.x(), 0, rect.width(), 1};
          EXPECT_TRUE(shown.contains(rect))
              << w->objectName().toStdString() << " outside " << container->objectName().toStdString();
          const auto* label = qobject_cast<const QLabel*>(w);
          if (label != nullptr && container != status) {
            EXPECT_TRUE(ShowsWhole(label)) << w->objectName().toStdString();
          }
        }
      }
    }
  }
};

TEST_F(WindowSizes, EveryControlOfEveryStepIsInsideItsPane) {
  window->showNormal();
  OnEveryStep([this] { ExpectEverythingInside(); });
}

// A window opened centred stays within the available area of a screen
// smaller than it, its title bar first (the offscreen screen: 800 x 800).
TEST(CenterForm, KeepsTheWindowAndItsTitleBarOnTheScreen) {
  const std::tuple<const char*, QSize, QPoint> rows[] = {
      {"a dialog that fits: centred", {400, 300}, {200, 250}},
      {"a pixel narrower than the screen: flush with its right edge", {799, 300}, {1, 250}},
      {"too tall with its title bar: at the top", {500, 780}, {150, 0}},
      {"larger than the screen: at the top left", {900, 900}, {0, 0}}};
  for (const auto& [name, size, expected] : rows) {
    QWidget window;
    window.resize(size);
    CenterForm(window);
    EXPECT_EQ(window.pos(), expected) << name;
  }
}

}  // namespace
}  // namespace serenitap::window_testing
