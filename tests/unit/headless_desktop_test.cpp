// The simulated desktop's own test control of the single-instance marker.
// Hotkeys and the marker's shared behaviour are tested for both backends in
// contract/desktop_test.cpp.
#include <gtest/gtest.h>

#include "platform/desktop.h"
#include "platform/headless/simulation.h"

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

}  // namespace
