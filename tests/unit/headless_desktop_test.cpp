// The simulated desktop's own test control of the single-instance marker,
// the painted screen and the local time. Hotkeys, the marker's shared
// behaviour and grabs of windows are tested for both backends in
// contract/desktop_test.cpp and contract/screen_test.cpp.
#include <gtest/gtest.h>

#include <vector>

#include "platform/desktop.h"
#include "platform/headless/simulation.h"
#include "platform/screen.h"

namespace {

namespace desktop = hf::desktop;
namespace headless = hf::headless;

TEST(SimulatedDesktop, AnInstanceElsewhereHoldsItsMarkerUntilReset) {
  headless::reset(::testing::TempDir());
  EXPECT_TRUE(desktop::claimSingleInstance("hotfill"));
  headless::claimInstanceElsewhere("other");
  EXPECT_FALSE(desktop::claimSingleInstance("other"));

  headless::reset(::testing::TempDir());
  EXPECT_TRUE(desktop::claimSingleInstance("hotfill"));
  EXPECT_TRUE(desktop::claimSingleInstance("other"));
}

TEST(SimulatedScreen, IsBlackUntilPaintedAndWindowsLieAboveThePaint) {
  headless::reset(::testing::TempDir(), {40, 30});
  EXPECT_EQ(hf::screen::grabScreen().pixels, std::vector<std::uint32_t>(40 * 30, 0));

  headless::paintScreen({-2, 28, 4, 10}, {1, 2, 3});  // cut at the screen's edges
  headless::paintScreen({1, 0}, hf::Bitmap(2, 1, 0x445566));
  headless::showWindow(7, {2, 29}, hf::Bitmap(3, 3, 0xABCDEF));
  EXPECT_EQ(hf::screen::grabScreen({0, 28, 4, 2}).pixels,
            (std::vector<std::uint32_t>{0x010203, 0x010203, 0, 0,  //
                                        0x010203, 0x010203, 0xABCDEF, 0xABCDEF}));
  EXPECT_EQ(hf::screen::grabScreen({0, 0, 4, 1}).pixels,
            (std::vector<std::uint32_t>{0, 0x445566, 0x445566, 0}));

  headless::takeWindowOffScreen(7);
  EXPECT_EQ(hf::screen::grabScreen({2, 29, 1, 1}).pixels, std::vector<std::uint32_t>{0});
  headless::reset(::testing::TempDir(), {40, 30});
  EXPECT_EQ(hf::screen::grabScreen({0, 28, 1, 1}).pixels, std::vector<std::uint32_t>{0});
}

TEST(SimulatedLocalTime, MovesOnWithTheVirtualClock) {
  headless::reset(::testing::TempDir());
  EXPECT_EQ(desktop::localTime(), (desktop::LocalTime{2019, 12, 12, 8, 0, 0}));
  struct Case {
    desktop::LocalTime set;
    std::int64_t laterMs;
    desktop::LocalTime expected;
  };
  const std::vector<Case> cases = {
      {{2019, 12, 12, 12, 4, 59}, 999, {2019, 12, 12, 12, 4, 59}},
      {{2019, 12, 12, 12, 4, 59}, 1000, {2019, 12, 12, 12, 5, 0}},
      {{2019, 12, 31, 23, 59, 59}, 1500, {2020, 1, 1, 0, 0, 0}},
      {{2020, 2, 28, 23, 0, 0}, 3'600'000, {2020, 2, 29, 0, 0, 0}},
      {{2021, 2, 28, 23, 0, 0}, 3'600'000, {2021, 3, 1, 0, 0, 0}},
  };
  for (const Case& c : cases) {
    headless::advance(250);  // the time set counts from the moment it is set
    headless::setLocalTime(c.set);
    headless::advance(c.laterMs);
    const desktop::LocalTime now = desktop::localTime();
    EXPECT_EQ(now, c.expected) << now.year << "-" << now.month << "-" << now.day << " " << now.hour
                               << ":" << now.minute << ":" << now.second;
  }
}

}  // namespace
