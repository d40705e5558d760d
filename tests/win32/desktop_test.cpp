#include "platform/desktop.h"
#include "platform/keys.h"

#include <windows.h>

#include <string>
#include <vector>

#include "window_fixture.h"

namespace {

using namespace hf::desktop;
using hf::keys::kAltFlag;
using hf::keys::kCtrlFlag;
using hf::keys::kShiftFlag;

class HotkeyTest : public WindowTest {
 protected:
  void TearDown() override {
    if (window_) {
      for (int id : {1, 2}) unregisterHotkey(*window_, id);
    }
  }
};

TEST_F(HotkeyTest, RefusesAKeyOrAnIdAlreadyInUse) {
  ASSERT_TRUE(registerHotkey(*window_, 1, kCtrlFlag | kAltFlag, VK_F9));
  EXPECT_FALSE(registerHotkey(*window_, 2, kCtrlFlag | kAltFlag, VK_F9)) << "same key twice";
  EXPECT_FALSE(registerHotkey(*window_, 1, kCtrlFlag | kAltFlag, VK_F10)) << "same id twice";
  EXPECT_TRUE(registerHotkey(*window_, 2, kCtrlFlag | kShiftFlag, VK_F9)) << "other modifiers";
  unregisterHotkey(*window_, 1);
  EXPECT_TRUE(registerHotkey(*window_, 1, kCtrlFlag | kAltFlag, VK_F9));
}

TEST_F(HotkeyTest, PressingTheKeyRaisesOnHotkeyWithItsId) {
  std::vector<int> fired;
  window_->onHotkey = [&](int id) { fired.push_back(id); };
  ASSERT_TRUE(registerHotkey(*window_, 2, kCtrlFlag | kShiftFlag, VK_F11));

  std::vector<INPUT> chord;
  for (WORD key : {VK_CONTROL, VK_SHIFT, VK_F11}) {
    INPUT down{INPUT_KEYBOARD};
    down.ki.wVk = key;
    chord.push_back(down);
  }
  for (WORD key : {VK_F11, VK_SHIFT, VK_CONTROL}) {
    INPUT up{INPUT_KEYBOARD};
    up.ki.wVk = key;
    up.ki.dwFlags = KEYEVENTF_KEYUP;
    chord.push_back(up);
  }
  SendInput(static_cast<UINT>(chord.size()), chord.data(), sizeof(INPUT));
  EXPECT_TRUE(waitFor([&] { return !fired.empty(); }));
  EXPECT_EQ(fired, std::vector<int>{2});
}

// A hotkey held down fires once, however often the key repeats (Windows drops
// the repeats by itself; Wine does not).
TEST_F(HotkeyTest, AHeldKeyFiresOnceAndANewPressFiresAgain) {
  std::vector<int> fired;
  window_->onHotkey = [&](int id) { fired.push_back(id); };
  ASSERT_TRUE(registerHotkey(*window_, 3, 0, VK_F10));
  const auto key = [](DWORD flags) {
    INPUT input{INPUT_KEYBOARD};
    input.ki.wVk = VK_F10;
    input.ki.dwFlags = flags;
    return input;
  };
  std::vector<INPUT> heldThenPressedAgain{
      key(0), key(0), key(0), key(0), key(KEYEVENTF_KEYUP), key(0), key(KEYEVENTF_KEYUP)};
  SendInput(static_cast<UINT>(heldThenPressedAgain.size()), heldThenPressedAgain.data(),
            sizeof(INPUT));
  EXPECT_TRUE(waitFor([&] { return fired.size() >= 2; }));
  hf::loop::pause(300);  // time for repeats that were not dropped to arrive
  EXPECT_EQ(fired, (std::vector<int>{3, 3}));
}

TEST(SingleInstance, OnlyTheFirstClaimOfANameSucceeds) {
  std::string name = "hotfill-test-" + std::to_string(GetCurrentProcessId());
  EXPECT_TRUE(claimSingleInstance(name));
  EXPECT_FALSE(claimSingleInstance(name));
  EXPECT_TRUE(claimSingleInstance(name + "-other"));
}

}  // namespace
