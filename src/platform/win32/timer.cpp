
#include <windows.h>

#include "platform/win32/ui_impl.h"

namespace hf::ui {

struct Timer::Impl {
  UINT_PTR id;
};

namespace {

// Above the ids a window procedure might use for its own timers.
UINT_PTR nextTimerId() {
  static UINT_PTR next = 0x4000;
  return next++;
}

}  // namespace

Timer::Timer(Window& parent) : parent_(parent), impl_(std::make_unique<Impl>(Impl{nextTimerId()})) {
  parent_.impl().timers[impl_->id] = this;
}

Timer::~Timer() {
  Window::Impl& window = parent_.impl();
  if (window.hwnd) KillTimer(window.hwnd, impl_->id);
  window.timers.erase(impl_->id);
}

void Timer::setInterval(int ms) {
  interval_ = ms;
  HWND hwnd = parent_.impl().hwnd;
  if (!hwnd) return;  // a timer on a null window would become a thread timer
  if (ms > 0) {
    SetTimer(hwnd, impl_->id, static_cast<UINT>(ms), nullptr);
  } else {
    KillTimer(hwnd, impl_->id);
  }
}

}  // namespace hf::ui
