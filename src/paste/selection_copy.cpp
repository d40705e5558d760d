#include "paste/selection_copy.h"

#include <cstdlib>

#include "input/key_actions.h"

namespace hf::paste {
namespace {

// Two presses this close in time and place are a double click.
constexpr std::int64_t kDoubleClickMs = 500;
constexpr int kDoubleClickSlop = 4;

}  // namespace

void SelectionCopy::start(std::function<bool()> collecting) {
  collecting_ = std::move(collecting);
  hook_ = hooks::MouseSubscription(
      [this](const hooks::MouseEvent& event) { return mouseEvent(event); });
}

void SelectionCopy::stop() {
  hook_ = {};
  worker_.reset();
}

bool SelectionCopy::mouseEvent(const hooks::MouseEvent& event) {
  using hooks::MouseMessage;
  switch (event.message) {
    case MouseMessage::LeftDown: {
      const bool doubleClick = event.time - lastPressTime_ <= kDoubleClickMs &&
                               std::abs(event.point.x - lastPress_.x) <= kDoubleClickSlop &&
                               std::abs(event.point.y - lastPress_.y) <= kDoubleClickSlop;
      if (!collecting_() || doubleClick) reference_ = event.point;
      lastPress_ = event.point;
      lastPressTime_ = event.time;
      break;
    }
    case MouseMessage::LeftUp: {
      if (event.point == reference_) break;
      // The worker touches no widget: what it needs is read here.
      const int interval = delivery_.interval();
      const auto cut = cutOption_.isChecked() ? input::Cut::Yes : input::Cut::No;
      send([interval, cut] {
        loop::pause(interval);
        input::copySelectionOverClipboard(cut);
      });
      break;
    }
    case MouseMessage::MiddleDown:
      send([] {
        loop::pause(50);
        input::ctrlV();
      });
      break;
    default:
      break;
  }
  return false;
}

void SelectionCopy::send(std::function<void()> keys) {
  if (worker_ && !worker_->finished()) return;
  worker_ = std::make_unique<loop::Worker>(std::move(keys));
}

}  // namespace hf::paste
