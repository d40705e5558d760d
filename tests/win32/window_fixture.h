#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <memory>

#include "platform/event_loop.h"
#include "platform/ui.h"
#include "platform/win32/ui_impl.h"

// A shown 460 x 627 window for tests of the widgets. Skips when Wine has no
// display to create windows on.
class WindowTest : public testing::Test {
 protected:
  void SetUp() override {
    window_ = std::make_unique<hf::ui::Window>(hf::ui::Window::Args{"hotfill test", {460, 627}});
    if (!window_->impl().hwnd) GTEST_SKIP() << "no display to create windows on";
    hf::loop::processPending();
  }

  HWND hwnd() const { return window_->impl().hwnd; }
  static HWND hwndOf(const hf::ui::Control& control) { return control.impl().hwnd; }

  // Runs events until the condition holds, for at most two seconds.
  static bool waitFor(const std::function<bool()>& condition) {
    for (int waited = 0; waited < 2000; waited += 10) {
      if (condition()) return true;
      hf::loop::pause(10);
    }
    return condition();
  }

  std::unique_ptr<hf::ui::Window> window_;
};
