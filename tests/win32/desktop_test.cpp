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
  // The key goes down and repeats while the program keeps up with its events,
  // then a new press follows.
  const auto send = [](INPUT input) { SendInput(1, &input, sizeof(INPUT)); };
  for (int repeat = 0; repeat < 4; ++repeat) {
    send(key(0));
    hf::loop::pause(50);
  }
  send(key(KEYEVENTF_KEYUP));
  send(key(0));
  send(key(KEYEVENTF_KEYUP));
  EXPECT_TRUE(waitFor([&] { return fired.size() >= 2; }));
  hf::loop::pause(300);  // time for repeats that were not dropped to arrive
  EXPECT_EQ(fired, (std::vector<int>{3, 3}));
  hf::desktop::unregisterHotkey(*window_, 3);
}

}  // namespace
