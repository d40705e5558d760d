#pragma once

#include <functional>
#include <memory>

#include "input/delivery.h"
#include "platform/event_loop.h"
#include "platform/hooks.h"
#include "platform/ui.h"

namespace hf::paste {

// 反撇号键粘贴: while on, a mouse drag over text anywhere copies it (the
// selection is copied as soon as the button is let go somewhere else than
// where it went down) and the middle button pastes it. The mouse is watched
// through a low-level hook that never holds an event back; the keys go out on
// a worker, so the hook returns at once. While one copy or paste is still
// being sent, a further gesture is ignored.
class SelectionCopy {
 public:
  // `cutOption`: a capture deletes the selected text (read only).
  SelectionCopy(input::Delivery& delivery, const ui::CheckBox& cutOption)
      : delivery_(delivery), cutOption_(cutOption) {}

  bool on() const { return hook_.subscribed(); }
  // `collecting`: while the same-page collection is open, a double click
  // marks where a selection starts, so the word it selects is not copied
  // again by the release that follows.
  void start(std::function<bool()> collecting);
  void stop();

 private:
  bool mouseEvent(const hooks::MouseEvent& event);
  void send(std::function<void()> keys);

  input::Delivery& delivery_;
  const ui::CheckBox& cutOption_;
  std::function<bool()> collecting_;
  hooks::MouseSubscription hook_;
  std::unique_ptr<loop::Worker> worker_;
  Point reference_;
  Point lastPress_;
  std::int64_t lastPressTime_ = -1'000'000;
};

}  // namespace hf::paste
