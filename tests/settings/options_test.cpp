// The stored options and window placement, on the store of this system.
#include <gtest/gtest.h>

#include <vector>

#include "settings/options.h"
#include "settings/registry.h"
#include "settings/settings_fixture.h"
#include "settings/window_position.h"
#include "support/recorders.h"

namespace serenitap::testing {
namespace {

namespace st = serenitap::settings;
constexpr std::int32_t HKCU = st::HKEY_CURRENT_USER;

using StoredOptions = SettingsStoreTest;

TEST_P(StoredOptions, FirstRunHasNoPlacementAndNoIntroduction) {
  std::int32_t l = 1, t = 1, w = 1, h = 1, s = 1;
  EXPECT_FALSE(FormPos_Read(l, t, w, h, s));
  EXPECT_EQ(std::vector<std::int32_t>({l, t, w, h, s}), std::vector<std::int32_t>({0, 0, 0, 0, 0}));
  EXPECT_FALSE(modOptions::ShowWhatIsItWindow());
}

TEST_P(StoredOptions, ShowWhatIsItIsTrueOnlyForOne) {
  const std::string key(modOptions::kOptionsKey);
  for (const auto& [stored, expected] : std::vector<std::pair<std::int32_t, bool>>{{1, true}, {0, false},
                                                                                   {2, false}, {-1, false}}) {
    modRegistry::RegSaveNumber(HKCU, key, "ShowWhatIsIt", stored);
    EXPECT_EQ(modOptions::ShowWhatIsItWindow(), expected) << stored;
  }
  PutRaw(key, "ShowWhatIsIt", st::REG_SZ, std::string("1\0", 2));
  EXPECT_FALSE(modOptions::ShowWhatIsItWindow());
  EXPECT_EQ(modOptions::ShowWhatIsItWindow(true), "Success");
  EXPECT_TRUE(modOptions::ShowWhatIsItWindow());
  EXPECT_EQ(modRegistry::RegGetNumber(HKCU, "Software\\Serenitap\\Options", "ShowWhatIsIt", 9), 1);
  modOptions::ShowWhatIsItWindow(false);
  EXPECT_EQ(modRegistry::RegGetNumber(HKCU, "Software\\Serenitap\\Options", "ShowWhatIsIt", 9), 0);
}

TEST_P(StoredOptions, PlacementIsRoundedHalvesToEvenAndReadBack) {
  FormPos_Save({100.5, 101.5, 7200.4999, -0.5, kWindowStateNormal});
  std::int32_t l, t, w, h, s;
  EXPECT_TRUE(FormPos_Read(l, t, w, h, s));
  EXPECT_EQ(std::vector<std::int32_t>({l, t, w, h, s}), std::vector<std::int32_t>({100, 102, 7200, 0, 0}));
  const std::string key(modOptions::kWindowPositionKey);
  EXPECT_EQ(key, "Software\\Serenitap\\WindowPosition");
  EXPECT_EQ(modRegistry::RegGetNumber(HKCU, key, "Top", 9), 102);
}

TEST_P(StoredOptions, ClosingMaximizedKeepsTheEarlierNormalPlacement) {
  FormPos_Save({-30000, 50000, 9000, 6000, kWindowStateNormal});  // off every screen: kept as it is
  FormPos_Save({0, 0, 20000, 15000, kWindowStateMaximized});
  std::int32_t l, t, w, h, s;
  EXPECT_TRUE(FormPos_Read(l, t, w, h, s));
  EXPECT_EQ(std::vector<std::int32_t>({l, t, w, h, s}), std::vector<std::int32_t>({-30000, 50000, 9000, 6000, 2}));
}

TEST_P(StoredOptions, AWidthOfZeroOrLessIsNoUsablePlacement) {
  for (const std::int32_t width : {0, -1}) {
    FormPos_Save({10, 20, static_cast<double>(width), 400, kWindowStateNormal});
    std::int32_t l, t, w, h, s;
    EXPECT_FALSE(FormPos_Read(l, t, w, h, s)) << width;
    EXPECT_EQ(std::vector<std::int32_t>({l, t, w, h, s}), std::vector<std::int32_t>({10, 20, width, 400, 0}));
  }
  PutRaw(std::string(modOptions::kWindowPositionKey), "Width", st::REG_SZ, std::string("500\0", 4));
  std::int32_t l, t, w, h, s;
  EXPECT_FALSE(FormPos_Read(l, t, w, h, s));  // a width of another type reads as 0
}

TEST_P(StoredOptions, AnOversizedMeasureIsReportedAndNothingIsWritten) {
  ReportRecorder reports;
  FormPos_Save({1e12, 0, 100, 100, kWindowStateNormal});
  ASSERT_EQ(reports.reports.size(), 1u);
  EXPECT_EQ(reports.reports[0].number, 6);
  EXPECT_EQ(reports.reports[0].module, "frmMain");
  EXPECT_EQ(reports.reports[0].procedure, "FormPos_Save");
  std::int32_t l, t, w, h, s;
  EXPECT_FALSE(FormPos_Read(l, t, w, h, s));
  EXPECT_EQ(modRegistry::RegGetNumber(HKCU, std::string(modOptions::kWindowPositionKey), "State", 9), 9);
}

INSTANTIATE_TEST_SUITE_P(Backends, StoredOptions, ::testing::ValuesIn(AvailableBackends()), BackendName);

}  // namespace
}  // namespace serenitap::testing
