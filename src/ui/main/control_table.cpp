#include "ui/main/control_table.h"

#include <array>
#include <tuple>
#include <vector>

#include "content/issues.h"

namespace serenitap::main_window {
namespace {

constexpr FontDesign kSegoe975{"Segoe UI", 9.75, false};
constexpr FontDesign kSegoe1425{"Segoe UI", 14.25, false};
constexpr FontDesign kSansSerif825{"MS Sans Serif", 8.25, false};

constexpr std::string_view kToolBar = "picToolBar";
constexpr std::string_view kStatusBar = "picStatusBar";
constexpr std::string_view kLeftFrame = "picLeftFrame";
constexpr std::string_view kRightFrame = "picRightFrame";
constexpr std::string_view kShape = "picShape";

// The table is data: one control a line, however long.
// clang-format off

// Fills a ControlDesign field by field; unnamed fields keep their defaults.
class Row {
 public:
  Row& name(std::string_view v) { c_.name = v; return *this; }
  Row& index(int v) { c_.index = v; return *this; }
  Row& kind(ControlKind v) { c_.kind = v; return *this; }
  Row& container(std::string_view v) { c_.container = v; return *this; }
  Row& geometry(TwipRect v) { c_.geometry = v; return *this; }
  Row& byLayout(bool v) { c_.byLayout = v; return *this; }
  Row& dock(Dock v) { c_.dock = v; return *this; }
  Row& font(FontDesign v) { c_.font = v; return *this; }
  Row& back(Paint v) { c_.back = v; return *this; }
  Row& backRgb(Rgb v) { c_.backRgb = v; return *this; }
  Row& fore(Paint v) { c_.fore = v; return *this; }
  Row& borderRgb(Rgb v) { c_.borderRgb = v; return *this; }
  Row& caption(std::string_view v) { c_.caption = v; return *this; }
  Row& visibleAtStart(bool v) { c_.visibleAtStart = v; return *this; }
  Row& centred(bool v) { c_.centred = v; return *this; }
  Row& image(std::string_view v) { c_.image = v; return *this; }
  operator ControlDesign() const { return c_; }  // NOLINT: used as a ControlDesign

 private:
  ControlDesign c_;
};

ControlDesign Button(std::string_view name, int index, std::string_view container, TwipRect geometry,
                   std::string_view caption, bool visible) {
  return Row().name(name).index(index).kind(ControlKind::PushButton).container(container).geometry(geometry).caption(caption).visibleAtStart(visible);
}

// The issue buttons stand in one column, 540 twips apart, so that the shown
// ones read alphabetically: element order from the top.
constexpr std::array<int, 12> kModeOrder{1, 2, 3, 11, 4, 5, 12, 7, 8, 9, 10, 6};
constexpr std::array<double, 11> kSudUnitLefts{150, 720, 1335, 1935, 2520, 3120, 3720, 4350, 4920, 5520, 6015};
constexpr std::array<std::string_view, 11> kSudUnitCaptions{"0", "1", "2", "3", "4", "5",
                                                            "6", "7", "8", "9", "10"};

struct DotPlace {
  std::string_view container;
  double left;
  double top;
  std::string_view point;
};
// Indexed by dot number; element 0 is unused.
constexpr std::array<DotPlace, kDotCount + 1> kDots{{
    {"", 0, 0, ""},
    {"", 1470, 900, "introduction"},
    {"picHandLeft", 1590, 2130, "karate-chop point of the left hand"},
    {"picHandRight", 1980, 2160, "karate-chop point of the right hand"},
    {kShape, 3330, 150, "top of the head"},
    {kShape, 3210, 1650, "start of the left eyebrow"},
    {kShape, 2580, 1830, "side of the left eye"},
    {kShape, 2940, 2100, "under the left eye"},
    {kShape, 3330, 2490, "under the nose"},
    {kShape, 3330, 3120, "chin"},
    {kShape, 2820, 4170, "left collarbone"},
    {kShape, 1530, 8250, "under the left arm"},
    {kShape, 4110, 1860, "side of the right eye"},
    {kShape, 3750, 2100, "under the right eye"},
    {kShape, 3870, 4170, "right collarbone"},
    {kShape, 5130, 8250, "under the right arm"},
    {kShape, 3480, 1650, "start of the right eyebrow"},
}};

std::vector<ControlDesign> BuildTable() {
  std::vector<ControlDesign> t;
  // Toolbar strip and its buttons.
  t.push_back(Row().name(kToolBar).kind(ControlKind::PictureBox).geometry({0, 0, 0, kToolbarHeight}).dock(Dock::Top).back(Paint::Fixed).backRgb(kStripBack));
  t.push_back(Button("cmdExit", -1, kToolBar, {300, 135, 1215, 375}, "E&xit", true));
  t.push_back(Button("cmdNavig", 0, kToolBar, {1620, 135, 1215, 375}, "&Previous", true));
  t.push_back(Button("cmdPause", -1, kToolBar, {2940, 135, 1215, 375}, "P&ause", true));
  t.push_back(Button("cmdNavig", 1, kToolBar, {4260, 135, 1215, 375}, "&Next", true));
  t.push_back(Button("cmdFinish", -1, kToolBar, {5580, 135, 1215, 375}, "&Finish", true));
  // Resume shares Pause's place; the two are shown in turn.
  t.push_back(Button("cmdResume", -1, kToolBar, {2940, 135, 1215, 375}, "R&esume", false));
  ControlDesign web = Button("cmdWeb", -1, kToolBar, {9540, 135, 1215, 375}, "Web", true);
  web.byLayout = true;
  t.push_back(web);
  ControlDesign start = Button("cmdStart", -1, kToolBar, {1920, 360, 1425, 555}, "Start", false);
  start.font = kSegoe975;
  start.image = "icons/start.svg";
  t.push_back(start);
  t.push_back(Button("cmdShare", -1, kToolBar, {17670, 135, 1215, 375}, "Share", false));

  // Status strip.
  t.push_back(Row().name(kStatusBar).kind(ControlKind::PictureBox).geometry({0, 0, 0, kStatusBarHeight}).dock(Dock::Bottom).back(Paint::Fixed).backRgb(kStripBack).fore(Paint::SystemWindowText));
  t.push_back(Row().name("lblRoundPolarity").container(kStatusBar).geometry({5130, 120, 3915, 375}).font(kSansSerif825).back(Paint::Transparent).visibleAtStart(false));
  t.push_back(Row().name("lblRoundCount").container(kStatusBar).geometry({9450, 120, 2775, 375}).font(kSansSerif825).back(Paint::Transparent).visibleAtStart(false));
  t.push_back(Row().name("lblTime_New").container(kStatusBar).geometry({0, -30, 735, 465}).byLayout(true).font(kSegoe975).back(Paint::Transparent));
  ControlDesign nav = Button("cmdNav", -1, kStatusBar, {0, 15, 390, 390}, "", true);
  nav.byLayout = true;
  nav.font = kSegoe975;
  nav.image = "icons/menu.svg";
  t.push_back(nav);
  ControlDesign info = Button("cmdInfo", -1, kStatusBar, {13440, 0, 585, 435}, "", false);
  info.image = "icons/info.svg";
  t.push_back(info);
  t.push_back(Button("cmdAbout", -1, kStatusBar, {510, 30, 1215, 375}, "About", false));

  // Left pane: segment title and instructions.
  t.push_back(Row().name(kLeftFrame).kind(ControlKind::PictureBox).byLayout(true).back(Paint::White).visibleAtStart(false));
  t.push_back(Row().name("lblSegmentTitle").container(kLeftFrame).geometry({0, 0, 0, 555}).byLayout(true).font({"Segoe UI", 14.25, true}).back(Paint::White).centred(true));
  t.push_back(Row().name("lblLeftFrame").container(kLeftFrame).byLayout(true).font(kSegoe1425).back(Paint::SystemWindow).fore(Paint::SystemWindowText));

  // Right pane: body chart, hands, point name, issue list and SUD scale.
  t.push_back(Row().name(kRightFrame).kind(ControlKind::PictureBox).byLayout(true).back(Paint::White).visibleAtStart(false));
  t.push_back(Row().name(kShape).kind(ControlKind::PictureBox).container(kRightFrame).geometry({0, 0, 7140, 8535}).byLayout(true).back(Paint::White).image("pictures/body_chart.svg"));
  t.push_back(Row().name("picHandLeft").kind(ControlKind::PictureBox).container(kRightFrame).geometry({0, 0, 3825, 2415}).byLayout(true).back(Paint::White).visibleAtStart(false).image("pictures/hand_left.svg"));
  t.push_back(Row().name("picHandRight").kind(ControlKind::PictureBox).container(kRightFrame).geometry({0, 0, 3825, 2415}).byLayout(true).back(Paint::White).visibleAtStart(false).image("pictures/hand_right.svg"));
  t.push_back(Row().name("lblCurrentPoint").container(kRightFrame).geometry({0, 0, 0, 495}).byLayout(true).font({"Segoe UI", 12, false}).back(Paint::Transparent).centred(true));
  t.push_back(Row().name("fraMode").kind(ControlKind::Frame).container(kRightFrame).geometry({0, 0, 7140, 8535}).byLayout(true).back(Paint::White).visibleAtStart(false));
  for (std::size_t row = 0; row < kModeOrder.size(); ++row) {
    const int index = kModeOrder[row];
    t.push_back(Row().name("radMode").index(index).kind(ControlKind::OptionButton).container("fraMode").geometry({720, 510 + 540.0 * static_cast<double>(row), 6045, 360}).font(kSegoe1425).back(Paint::White).caption(modIssues::IssueNameAt(index)).visibleAtStart(index != 6 && index != 10));
  }
  // Under the issues (where the hidden ones would stand): the user's own words for the chosen one.
  t.push_back(Row().name("lblWords").container("fraMode").geometry({720, 5850, 6045, 405}).font({"Segoe UI", 12, false}).back(Paint::White).caption("In your own words (optional):"));
  t.push_back(Row().name("txtWords").kind(ControlKind::LineEdit).container("fraMode").geometry({720, 6255, 6045, 465}).font({"Segoe UI", 12, false}));
  t.push_back(Row().name("lblRoundLine").container(kRightFrame).geometry({0, 0, 3600, 375}).byLayout(true).font(kSegoe975).back(Paint::Transparent).visibleAtStart(false));
  t.push_back(Row().name("fraSUD_2").kind(ControlKind::Frame).container(kRightFrame).geometry({0, 0, 6690, 1425}).byLayout(true).back(Paint::White).visibleAtStart(false));
  for (int i = 0; i <= 10; ++i) {
    const auto u = static_cast<std::size_t>(i);
    t.push_back(Row().name("lblSUDUnit").index(i).container("fraSUD_2").geometry({kSudUnitLefts[u], 330, 495, 510}).font(kSegoe1425).back(Paint::White).caption(kSudUnitCaptions[u]));
    t.push_back(Row().name("radSUD").index(i).kind(ControlKind::OptionButton).container("fraSUD_2").geometry({120 + 600.0 * i, 720, 270, 495}).font({"MS Sans Serif", 13.5, true}).back(Paint::White));
  }

  // Divider and the large introduction label.
  t.push_back(Row().name("lblSplit").byLayout(true).back(Paint::Fixed).backRgb(kSplitBack).visibleAtStart(false));
  t.push_back(Row().name("lblIntro").geometry({0, 0, 9555, 6195}).byLayout(true).font(kSegoe1425).back(Paint::SystemWindow).fore(Paint::SystemWindowText));

  // The dots, then the thymus spot; all hidden until a step shows one.
  for (int i = 1; i <= kDotCount; ++i) {
    const DotPlace& d = kDots[static_cast<std::size_t>(i)];
    t.push_back(Row().name("shpStep").index(i).kind(ControlKind::Shape).container(d.container).geometry({d.left, d.top, kDotSize, kDotSize}).back(Paint::Fixed).backRgb(kDotRed).borderRgb(kDotRed).visibleAtStart(false));
  }
  t.push_back(Row().name("shpGreen").kind(ControlKind::Shape).container(kShape).geometry({3330, 4650, kDotSize, kDotSize}).back(Paint::Fixed).backRgb(kDotGreen).borderRgb(kThymusBorder).visibleAtStart(false));

  // The bottom row of picture buttons: placed by the layout, never shown.
  const std::array<std::tuple<std::string_view, int, std::string_view, std::string_view>, 4> bottom{{
      {"cmdNavig_Bottom", 0, "Previous", "icons/previous.svg"},
      {"cmdPause_Bottom", -1, "Pause", "icons/pause.svg"},
      {"cmdNavig_Bottom", 1, "Next", "icons/next.svg"},
      {"cmdResume_Bottom", -1, "Resume", "icons/resume.svg"},
  }};
  for (const auto& [name, index, caption, image] : bottom) {
    ControlDesign b = Button(name, index, "", {0, 0, 945, 945}, caption, false);
    b.byLayout = true;
    b.image = image;
    if (name != "cmdResume_Bottom") b.font = kSegoe975;
    t.push_back(b);
  }

  t.push_back(Row().name("tmrSteps").kind(ControlKind::Timer).visibleAtStart(false));
  // The journal lies beyond the right edge and is never shown.
  t.push_back(Row().name("txtJournal").kind(ControlKind::TextBox).geometry({kDesignClientWidth + 120, 0, 2400, 1200}).font(kSansSerif825).visibleAtStart(false));
  t.push_back(Row().name("mnuPopUp").kind(ControlKind::Menu).caption("PopUp").visibleAtStart(false));
  return t;
}
// clang-format on

}  // namespace

std::span<const ControlDesign> Controls() {
  static const std::vector<ControlDesign> table = BuildTable();
  return table;
}

const ControlDesign* FindControl(std::string_view name, int index) {
  for (const ControlDesign& c : Controls()) {
    if (c.name == name && c.index == index) return &c;
  }
  return nullptr;
}

std::string ObjectNameOf(std::string_view name, int index) {
  std::string result(name);
  if (index >= 0) {
    result += '(';
    result += std::to_string(index);
    result += ')';
  }
  return result;
}

std::string_view DotPointName(int index) {
  if (index < 1 || index > kDotCount) return {};
  return kDots[static_cast<std::size_t>(index)].point;
}

}  // namespace serenitap::main_window
