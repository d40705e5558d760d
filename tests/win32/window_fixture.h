#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <vector>

#include "platform/event_loop.h"
#include "platform/ui.h"
#include "platform/win32/ui_impl.h"

namespace win32test {

// Runs events until the condition holds, for at most two seconds.
inline bool waitFor(const std::function<bool()>& condition) {
  for (int waited = 0; waited < 2000; waited += 10) {
    if (condition()) return true;
    hf::loop::pause(10);
  }
  return condition();
}

// Waits up to a second without running events: true once the condition holds.
inline bool waitUnpumped(const std::function<bool()>& condition) {
  const auto deadline = hf::loop::nowMs() + 1000;
  while (!condition()) {
    if (hf::loop::nowMs() >= deadline) return false;
    Sleep(5);
  }
  return true;
}

// The input messages in [first, last] that reach this thread, taken off the
// queue undispatched (mouse moves left out), waiting for up to `expected`.
inline std::vector<MSG> takeInputMessages(UINT first, UINT last, std::size_t expected) {
  std::vector<MSG> messages;
  waitUnpumped([&] {
    MSG message;
    while (PeekMessageW(&message, nullptr, first, last, PM_REMOVE)) {
      if (message.message != WM_MOUSEMOVE) messages.push_back(message);
    }
    return messages.size() >= expected;
  });
  return messages;
}

// Shows the window in front, where simulated input goes; false when the
// system does not let it come to the front.
inline bool bringToFront(hf::ui::Window& window) {
  const HWND hwnd = window.impl().hwnd;
  window.show();
  SetForegroundWindow(hwnd);
  if (!waitFor([&] { return GetForegroundWindow() == hwnd; })) return false;
  // Wine copies the key state from X about 300 ms after the X focus moved,
  // which would undo a simulated key already down.
  hf::loop::preciseWait(400);
  return true;
}

}  // namespace win32test

// A 460 x 627 window, not shown, for tests of the widgets. Skips when Wine
// has no display to create windows on.
class WindowTest : public testing::Test {
 protected:
  void SetUp() override {
    window_ = std::make_unique<hf::ui::Window>(hf::ui::Window::Args{"hotfill test", {460, 627}});
    if (!window_->impl().hwnd) GTEST_SKIP() << "no display to create windows on";
    hf::loop::processPending();
  }

  HWND hwnd() const { return window_->impl().hwnd; }
  static HWND hwndOf(const hf::ui::Control& control) { return control.impl().hwnd; }
  static bool waitFor(const std::function<bool()>& condition) {
    return win32test::waitFor(condition);
  }

  std::unique_ptr<hf::ui::Window> window_;
};
