// Timer ticks and balloon-tip hiding as events on the virtual clock. Each
// object cancels its pending event when it changes or dies, so no event ever
// reaches a destroyed object.
#include <algorithm>

#include "platform/event_loop.h"
#include "platform/headless/widget_state.h"

namespace hf::ui {
namespace {

constexpr int kBalloonShownMs = 4000;

void cancelPending(std::optional<headless::internal::EventKey>& pending) {
  if (pending) headless::internal::cancel(*pending);
  pending.reset();
}

}  // namespace

Timer::Timer(Window& parent) : parent_(parent), impl_(std::make_unique<Impl>()) {}

Timer::~Timer() {
  cancelPending(impl_->nextTick);
}

void Timer::setInterval(int ms) {
  cancelPending(impl_->nextTick);
  interval_ = std::max(ms, 0);
  if (interval_ == 0) return;
  impl_->nextTick = headless::internal::schedule(loop::nowMs() + interval_, [this] {
    impl_->nextTick.reset();
    if (parent_.isDestroyed()) return;  // a window's timers die with it
    // Re-armed first, so a tick that pauses is ticked again like a real
    // timer, and the handler may stop or destroy the timer.
    setInterval(interval_);
    auto tick = onTick;
    if (tick) tick();
  });
}

BalloonTip::BalloonTip(Window& parent) : parent_(parent), impl_(std::make_unique<Impl>()) {}

BalloonTip::~BalloonTip() {
  cancelPending(impl_->autoHide);
}

void BalloonTip::show(Point screen, std::string_view gbk) {
  cancelPending(impl_->autoHide);
  text_ = gbk;
  position_ = screen;
  impl_->autoHide =
      headless::internal::schedule(loop::nowMs() + kBalloonShownMs, [this] { hide(); });
}

void BalloonTip::hide() {
  cancelPending(impl_->autoHide);
}

bool BalloonTip::isShown() const {
  return impl_->autoHide.has_value();
}

}  // namespace hf::ui
