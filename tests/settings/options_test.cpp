// The stored options and window placement, and bringing a placement back onto
// the screens: one that is on a screen is used as stored; one that would lose
// the window is not.
#include <gtest/gtest.h>

#include <climits>

#include "settings/options.h"
#include "settings/registry.h"
#include "settings/settings_test_support.h"
#include "settings/window_position.h"

namespace serenitap::testing {
namespace {

using StoredOptions = StoreTest;

TEST_F(StoredOptions, EachSwitchIsOnOnlyForTheNumberOne) {
  const std::string key(modOptions::kOptionsKey);
  EXPECT_EQ(key, "Software\\Serenitap\\Options");
  const std::tuple<const char*, bool (*)(), std::string (*)(bool)> switches[] = {
      {"ShowWhatIsIt", modOptions::ShowWhatIsItWindow, modOptions::ShowWhatIsItWindow},
      {"SpeakGuidance", modOptions::SpeakGuidance, modOptions::SpeakGuidance},
      {"KeepJournal", modOptions::KeepJournal, modOptions::KeepJournal}};
  for (const auto& [value, get, set] : switches) {
    EXPECT_FALSE(get()) << value << " never saved";
    for (const auto& [stored, on] : {std::pair{1, true}, {0, false}, {2, false}, {-1, false}}) {
      modRegistry::RegSaveNumber(HKCU, key, value, stored);
      EXPECT_EQ(get(), on) << value << " " << stored;
    }
    for (const bool on : {true, false}) {
      EXPECT_EQ(set(on), "Success");
      EXPECT_EQ(modRegistry::RegGetNumber(HKCU, key, value, 9), on ? 1 : 0);
      EXPECT_EQ(get(), on);
    }
  }
}

// The pace of a tapping point: one of the offered choices, anything else the
// designed two seconds.
TEST_F(StoredOptions, PointSecondsIsAnOfferedPaceOrTwo) {
  const std::string key(modOptions::kOptionsKey);
  EXPECT_EQ(modOptions::PointSeconds(), 2) << "never saved";
  for (const auto& [stored, read] :
       {std::pair{3, 3}, {4, 4}, {6, 6}, {2, 2}, {5, 2}, {0, 2}, {-4, 2}, {60, 2}, {1, 2}}) {
    modRegistry::RegSaveNumber(HKCU, key, "PointSeconds", stored);
    EXPECT_EQ(modOptions::PointSeconds(), read) << stored;
  }
  modRegistry::RegSaveString(HKCU, key, "PointSeconds", "4");
  EXPECT_EQ(modOptions::PointSeconds(), 2) << "a text is not a pace";
  EXPECT_EQ(modOptions::PointSeconds(6), "Success");
  EXPECT_EQ(modRegistry::RegGetNumber(HKCU, key, "PointSeconds", 0), 6);
  EXPECT_EQ(modOptions::PointSeconds(7), "Success");
  EXPECT_EQ(modRegistry::RegGetNumber(HKCU, key, "PointSeconds", 0), 2);
}

// An issue's own words are a text value named by the issue's number, kept with
// its terminating zero as every text is and read back exactly, also from the
// file; emptied words leave no value behind, and emptying words never stored
// is no failure.
TEST_F(StoredOptions, OwnWordsAreATextValueUntilEmptied) {
  const std::string key(modOptions::kWordsKey), words = R"(my "boss" said C:\no\ \\ ")"
#ifdef _WIN32
                                                        "\u00e9";  // Windows keeps its code page's characters
#else
                                                        "\U0001F60A";
#endif
  EXPECT_EQ(modOptions::Words(10, ""), "Success");  // no key yet
  EXPECT_EQ(modOptions::Words(10, words), "Success");
  EXPECT_EQ(modOptions::Words(20, ""), "Success");        // the key is there, this value never was
  EXPECT_EQ(modOptions::SpeakGuidance(true), "Success");  // another option leaves the words alone
  EXPECT_EQ(GetRaw(HKCU, key, "10"), (Raw{st::REG_SZ, Store().EncodeText(words) + '\0'}));
#ifndef _WIN32
  st::SetCurrentStore(std::make_shared<st::FileRegistryStore>(temp_.Folder().Path()));  // a new store reads the file
#endif
  EXPECT_EQ(modOptions::Words(10), words);
  EXPECT_EQ(modOptions::Words(10, ""), "Success");
  EXPECT_EQ(GetRaw(HKCU, key, "10"), std::nullopt);
  EXPECT_EQ(modOptions::Words(10), "");
}

using Stored = std::vector<std::int32_t>;

// The placement FormPos_Read gives, its result last.
Stored Read() {
  std::int32_t l = 1, t = 1, w = 1, h = 1, s = 1;
  const bool usable = FormPos_Read(l, t, w, h, s);
  return {l, t, w, h, s, usable};
}

using WindowPosition = StoreTest;

// The main window's limits (design 1152 x 767 pixels) and screens in twips.
const PlacementLimits kMainWindow{5760, 3835, 510, 1440, 120, 17280, 11505};
const ScreenArea kLaptop{{0, 0, 15360, 9000}, {0, 0, 15360, 9000}};                // 1024 x 600
const ScreenArea kDesignScreen{{0, 0, 19200, 12000}, {0, 0, 19200, 12000}};        // 1280 x 800
const ScreenArea kUnderAPanel{{0, 0, 19200, 12000}, {0, 480, 19200, 11520}};       // a 32-pixel top panel
const ScreenArea kLargeRight{{19200, 0, 28800, 16200}, {19200, 0, 28800, 16200}};  // 1920 x 1080, to the right
const std::vector<ScreenArea> kDesignAndLarge{kDesignScreen, kLargeRight};

TEST(PlacementDecision, FitsEveryStartOnItsScreens) {
  constexpr std::int32_t kNormal = kWindowStateNormal, kMax = kWindowStateMaximized;
  const TwipArea kNothing{};
  const TwipArea kCentredOnDesignScreen{960, 247, 17280, 11505};
  // clang-format off
  const std::tuple<const char*, TwipArea, std::int32_t, std::vector<ScreenArea>, PlacementDecision> rows[] = {
      {"first start on a small laptop: maximized over the whole area", kNothing, kNormal, {kLaptop}, {{60, 0, 15240, 9000}, kMax}},
      {"first start under a panel: centred below it", kNothing, kNormal, {kUnderAPanel}, {{960, 480, 17280, 11505}, kNormal}},
      {"first start beside panels right and below: kept above and left of them", kNothing, kNormal, {{{0, 0, 19200, 12000}, {0, 0, 17500, 11600}}}, {{220, 95, 17280, 11505}, kNormal}},
      {"first start opens on the primary screen", kNothing, kNormal, kDesignAndLarge, {kCentredOnDesignScreen, kNormal}},
      {"maximized with its normal placement", {1500, 900, 9000, 6000}, kMax, {kLaptop}, {{1500, 900, 9000, 6000}, kMax}},
      {"a tiny size opens as a first start", {3000, 3000, 15, 15}, kNormal, {kDesignScreen}, {kCentredOnDesignScreen, kNormal}},
      {"larger than the desktop: cut to it", {0, 0, 20000, 15000}, kNormal, {kLaptop}, {{0, 0, 15360, 9000}, kNormal}},
      {"minimized is never restored as such", {1500, 900, 9000, 6000}, kWindowStateMinimized, {kLaptop}, {{1500, 900, 9000, 6000}, kNormal}},
      {"a screen just the design's size: centred", kNothing, kNormal, {{{0, 0, 17280, 11505}, {0, 0, 17280, 11505}}}, {{0, 0, 17280, 11505}, kNormal}},
      {"no screens: the design at the origin", kNothing, kNormal, {}, {{0, 0, 17280, 11505}, kNormal}},
  };
  // clang-format on
  for (const auto& [name, stored, state, screens, expected] : rows) {
    const PlacementDecision got = DecidePlacement(stored, state, screens, kMainWindow);
    const TwipArea& g = got.geometry;
    EXPECT_EQ(got, expected) << name << ": " << g.left << "," << g.top << " " << g.width << "x" << g.height << " state "
                             << got.window_state;
  }
}

TEST_F(WindowPosition, WhatIsStoredIsAPlacementOfUse) {
  // A maximized window stores the normal placement it returns to, on screen.
  FormPos_Save({-450000, -450000, 9000, 6000, kWindowStateMaximized}, {kLaptop}, kMainWindow);
  EXPECT_EQ(Read(), (Stored{0, 0, 9000, 6000, 2, true}));
  // A window shrunk to nothing stores the placement a first start takes.
  FormPos_Save({3000, 3000, 15, 15, kWindowStateNormal}, {kDesignScreen}, kMainWindow);
  EXPECT_EQ(Read(), (Stored{960, 247, 17280, 11505, 0, true}));
  FormPos_Save({1500, 900, 9000, 6000, kWindowStateNormal}, {kLaptop}, kMainWindow);
  EXPECT_EQ(Read(), (Stored{1500, 900, 9000, 6000, 0, true}));
}

TEST(PlacementFit, KeepsUsablePlacementsAndRescuesTheOthers) {
  // Two screens side by side (1920 x 1040 and 1280 x 1024 pixels, in twips).
  const std::vector<TwipArea> screens{{0, 0, 28800, 15600}, {28800, 0, 19200, 15360}};
  const PlacementLimits limits{5760, 3835, 510, 1440};
  const std::tuple<const char*, TwipArea, TwipArea> cases[] = {
      {"OnTheFirstScreen", {1500, 900, 17280, 11505}, {1500, 900, 17280, 11505}},
      {"TitleBarJustGrippable", {-8000, 100, 9440, 6000}, {-8000, 100, 9440, 6000}},
      // Too large: cut to the desktop, moved in as far as it fits.
      {"LargestNumbers", {0, 0, INT_MAX, INT_MAX}, {0, 0, 48000, 15600}},
      {"TallerThanTheDesktop", {1000, 1000, 9000, 40000}, {1000, 0, 9000, 15600}},
      // Too small: raised to the minimum.
      {"NegativeHeight", {3000, 3000, 9000, -500}, {3000, 3000, 9000, 3835}},
      {"SmallInTheCorner", {28000, 15000, 15, 15}, {23040, 11765, 5760, 3835}},
      // Title bar off every screen: moved onto the nearest one.
      {"FarRight", {900000, 1000, 10000, 8000}, {38000, 1000, 10000, 8000}},
      {"BelowEveryScreen", {1000, 20000, 10000, 8000}, {1000, 7600, 10000, 8000}},
      {"TitleBarOnTheBottomEdge", {1000, 15090, 10000, 8000}, {1000, 15090, 10000, 8000}},
      {"TitleBarBelowTheSecondScreen", {30000, 15100, 10000, 8000}, {30000, 7360, 10000, 8000}},
      {"TooLittleOfTheTitleBar", {-9000, 100, 10000, 6000}, {0, 100, 10000, 6000}},
      {"SmallestNumbers", {INT_MIN, INT_MIN, 9000, 6000}, {0, 0, 9000, 6000}}};
  for (const auto& [label, stored, expected] : cases) {
    const TwipArea got = FitPlacementToScreens(stored, screens, limits);
    EXPECT_EQ(got, expected) << label << ": " << got.left << "," << got.top << " " << got.width << "x" << got.height;
  }
  const TwipArea stored{-5, 7, INT_MAX, 1};
  EXPECT_EQ(FitPlacementToScreens(stored, {}, limits), stored);  // no screens
  // Off every screen, it goes to the one nearest its title bar, not its bottom edge.
  const std::vector<TwipArea> staggered{{0, 0, 19200, 12000}, {19200, 20000, 19200, 12000}};
  EXPECT_EQ(FitPlacementToScreens({15000, 13000, 10000, 6000}, staggered, limits), (TwipArea{9200, 6000, 10000, 6000}));
}

}  // namespace
}  // namespace serenitap::testing
