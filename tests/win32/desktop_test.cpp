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
class HeldHotkey : public WindowTest {
 protected:
  void SetUp() override {
    WindowTest::SetUp();
    if (IsSkipped()) return;
    window_->onHotkey = [this](int id) { fired_.push_back(id); };
    ASSERT_TRUE(hf::desktop::registerHotkey(*window_, 3, 0, VK_F10));
  }
  void TearDown() override {
    hf::desktop::unregisterHotkey(*window_, 3);
    WindowTest::TearDown();
  }
  static void send(DWORD flags) {
    INPUT input{INPUT_KEYBOARD};
    input.ki.wVk = VK_F10;
    input.ki.dwFlags = flags;
    SendInput(1, &input, sizeof(INPUT));
  }
  // Waits for the firings, then for any that should not come.
  std::vector<int> firingsAfter(std::size_t expected) {
    EXPECT_TRUE(waitFor([&] { return fired_.size() >= expected; }));
    hf::loop::pause(300);
    return fired_;
  }
  std::vector<int> fired_;
};

TEST_F(HeldHotkey, FiresOnceAndANewPressFiresAgain) {
  // The key goes down and repeats while the program keeps up with its events,
  // then a new press follows.
  for (int repeat = 0; repeat < 4; ++repeat) {
    send(0);
    hf::loop::pause(50);
  }
  send(KEYEVENTF_KEYUP);
  send(0);
  send(KEYEVENTF_KEYUP);
  EXPECT_EQ(firingsAfter(2), (std::vector<int>{3, 3}));
}

// Two quick taps whose firings wait in the queue together: the second came
// before anything watched the key, so it is a press, never a repeat.
TEST_F(HeldHotkey, TwoTapsQueuedTogetherBothFire) {
  for (int tap = 0; tap < 2; ++tap) {
    send(0);
    send(KEYEVENTF_KEYUP);
  }
  EXPECT_EQ(firingsAfter(2), (std::vector<int>{3, 3}));
  // Once the key is up, the next press fires at once.
  send(0);
  send(KEYEVENTF_KEYUP);
  EXPECT_EQ(firingsAfter(3), (std::vector<int>{3, 3, 3}));
}

}  // namespace
