// Hotkeys as only the system's own keyboard can press them: held down, the
// key repeats. Registration and presses are tested for both backends in
// contract/desktop_test.cpp.
#include "platform/desktop.h"

#include <windows.h>

#include <vector>

#include "window_fixture.h"

namespace {

// A hotkey held down fires once, however often the key repeats (Windows drops
// the repeats by itself; Wine does not).
using HeldHotkey = WindowTest;

TEST_F(HeldHotkey, FiresOnceAndANewPressFiresAgain) {
  std::vector<int> fired;
  window_->onHotkey = [&](int id) { fired.push_back(id); };
  ASSERT_TRUE(hf::desktop::registerHotkey(*window_, 3, 0, VK_F10));
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
  hf::desktop::unregisterHotkey(*window_, 3);
}

}  // namespace
