// The simulated desktop: global hotkeys shared with other programs and the
// single-instance marker.
#include <gtest/gtest.h>

#include <functional>
#include <vector>

#include "platform/desktop.h"
#include "platform/headless/simulation.h"
#include "platform/keys.h"
#include "platform/ui.h"

namespace {

namespace desktop = hf::desktop;
namespace headless = hf::headless;
namespace keys = hf::keys;

constexpr int kF1 = 0x70;
constexpr int kF2 = 0x71;

class SimulatedDesktop : public ::testing::Test {
 protected:
  void SetUp() override { headless::reset(::testing::TempDir()); }

  hf::ui::Window main{{"main", {300, 200}}};
  hf::ui::Window other{{"other", {300, 200}}};
};

TEST_F(SimulatedDesktop, HotkeyRegistrationFailsOnATakenIdOrChord) {
  struct Case {
    const char* what;
    std::function<bool(hf::ui::Window& main, hf::ui::Window& other)> registerSecond;
    bool registered;
  };
  const std::vector<Case> cases = {
      {"same window, same id", [](auto& m, auto&) { return desktop::registerHotkey(m, 1, 0, kF2); },
       false},
      {"other window, same id",
       [](auto&, auto& o) { return desktop::registerHotkey(o, 1, 0, kF2); }, true},
      {"same chord, new id",
       [](auto& m, auto&) { return desktop::registerHotkey(m, 2, keys::kCtrlFlag, kF1); }, false},
      {"same chord, other window",
       [](auto&, auto& o) { return desktop::registerHotkey(o, 2, keys::kCtrlFlag, kF1); }, false},
      {"same key, other modifiers",
       [](auto& m, auto&) {
         return desktop::registerHotkey(m, 2, keys::kCtrlFlag | keys::kShiftFlag, kF1);
       },
       true},
      {"chord held by another program",
       [](auto& m, auto&) {
         headless::holdHotkeyElsewhere(keys::kAltFlag, kF2);
         return desktop::registerHotkey(m, 2, keys::kAltFlag, kF2);
       },
       false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    headless::reset(::testing::TempDir());
    ASSERT_TRUE(desktop::registerHotkey(main, 1, keys::kCtrlFlag, kF1));
    EXPECT_EQ(c.registerSecond(main, other), c.registered);
    EXPECT_EQ(headless::registeredHotkeys().size(), c.registered ? 2u : 1u);
  }
}

TEST_F(SimulatedDesktop, PressedHotkeyReachesItsOwnerWithItsId) {
  std::vector<int> mainIds, otherIds;
  main.onHotkey = [&](int id) { mainIds.push_back(id); };
  other.onHotkey = [&](int id) { otherIds.push_back(id); };
  ASSERT_TRUE(desktop::registerHotkey(main, 7, keys::kCtrlFlag, kF1));
  ASSERT_TRUE(desktop::registerHotkey(other, 7, 0, kF1));

  EXPECT_TRUE(headless::pressHotkey(0, kF1));
  EXPECT_TRUE(headless::pressHotkey(keys::kCtrlFlag, kF1));
  EXPECT_FALSE(headless::pressHotkey(keys::kShiftFlag, kF1));
  EXPECT_EQ(mainIds, std::vector<int>{7});
  EXPECT_EQ(otherIds, std::vector<int>{7});

  desktop::unregisterHotkey(main, 7);
  EXPECT_FALSE(headless::pressHotkey(keys::kCtrlFlag, kF1));
  EXPECT_TRUE(desktop::registerHotkey(other, 8, keys::kCtrlFlag, kF1));  // the chord is free again
}

TEST_F(SimulatedDesktop, WindowReleasesItsHotkeysWhenItGoes) {
  ASSERT_TRUE(desktop::registerHotkey(main, 1, 0, kF1));
  main.close();
  EXPECT_FALSE(headless::pressHotkey(0, kF1));
  {
    hf::ui::Window shortLived({"short", {10, 10}});
    ASSERT_TRUE(desktop::registerHotkey(shortLived, 1, 0, kF2));
  }
  EXPECT_FALSE(headless::pressHotkey(0, kF2));
  EXPECT_TRUE(headless::registeredHotkeys().empty());
}

TEST_F(SimulatedDesktop, SingleInstanceMarkerIsHeldUntilReset) {
  EXPECT_TRUE(desktop::claimSingleInstance("hotfill"));
  EXPECT_FALSE(desktop::claimSingleInstance("hotfill"));
  headless::claimInstanceElsewhere("other");
  EXPECT_FALSE(desktop::claimSingleInstance("other"));

  headless::reset(::testing::TempDir());
  EXPECT_TRUE(desktop::claimSingleInstance("hotfill"));
}

}  // namespace
