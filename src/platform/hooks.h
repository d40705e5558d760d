#pragma once

#include <cstdint>
#include <functional>

#include "platform/geometry.h"

// Low-level keyboard and mouse hooks of the whole desktop, as subscriptions.
// A subscription's callback sees every key or mouse event of the desktop
// (the user's and the ones programs send, this one's included) before any
// window does, and may swallow it: then no window gets it.
//
// Several subscriptions may be active at once. Each event goes to the newest
// first; the first callback that returns true swallows the event and the
// older ones do not see it. A subscription made during a callback sees the
// next event on; one destroyed during a callback is not called again.
//
// Subscriptions are made, moved and destroyed on the UI thread, and their
// callbacks run on the UI thread too, between its events (so they may edit
// widgets), never inside a pause's wait. Callbacks must return quickly and
// must not throw: while one runs, the whole desktop's input of that kind
// waits for it (up to 50 ms, below).
//
// The system calls the hooks on a thread of their own, which hands every
// event to the UI thread and waits up to 50 ms for its answer, so the system
// never drops the hook for being slow and the user's input never waits for a
// pause to end. An event the UI thread does not take in that time (it is in a
// pause, or a handler is busy) goes on to the windows unswallowed, and so do
// the ones after it until the UI thread catches up; the callbacks see them
// once it processes events again, in order and with their own times.
// Recording never loses an event, but only a UI thread that is free to answer
// can swallow one. (Under the headless backend a worker's event waits for
// the UI thread instead, as a runOnUiThread call does.)
//
// The system may still remove a hook without telling anyone (Windows does
// when a hook answers too slowly). receiving() finds out; reinstall() puts
// the hook back in place for every subscription of its kind.
namespace hf::hooks {

// The message numbers the system gives key events.
enum class KeyMessage {
  Down = 256,        // WM_KEYDOWN
  Up = 257,          // WM_KEYUP
  SystemDown = 260,  // WM_SYSKEYDOWN: Alt held (without Ctrl), or F10
  SystemUp = 261,    // WM_SYSKEYUP
};

struct KeyEvent {
  // The user's Shift, Ctrl and Alt come by side (0xA0 … 0xA5); a program may
  // send the side-less codes.
  int virtualKey = 0;
  int scanCode = 0;
  KeyMessage message = KeyMessage::Down;
  bool extended = false;  // a key told from its keypad twin by the extended flag
  bool injected = false;  // sent by a program (this one included), not typed by the user
  std::int64_t time = 0;  // when it happened, on loop::nowMs()'s clock

  bool down() const { return message == KeyMessage::Down || message == KeyMessage::SystemDown; }
  friend bool operator==(const KeyEvent&, const KeyEvent&) = default;
};

// The message numbers the system gives mouse events (the record table keeps
// button events by these numbers).
enum class MouseMessage {
  Move = 512,
  LeftDown = 513,
  LeftUp = 514,
  RightDown = 516,
  RightUp = 517,
  MiddleDown = 519,
  MiddleUp = 520,
  Wheel = 522,
  XDown = 523,
  XUp = 524,
  HorizontalWheel = 526,
};

struct MouseEvent {
  MouseMessage message = MouseMessage::Move;
  Point point;            // the cursor, in physical screen pixels
  int wheelDelta = 0;     // Wheel, HorizontalWheel: multiples of 120, positive forward or right
  int xButton = 0;        // XDown, XUp: 1 or 2
  bool injected = false;  // sent by a program (this one included), not done by the user
  std::int64_t time = 0;  // when it happened, on loop::nowMs()'s clock

  friend bool operator==(const MouseEvent&, const MouseEvent&) = default;
};

// A callback returns true to swallow the event.
using KeyCallback = std::function<bool(const KeyEvent&)>;
using MouseCallback = std::function<bool(const MouseEvent&)>;

enum class Device { Keyboard, Mouse };

// A subscription to one device's hook: subscribed from construction until it
// is destroyed or moved from. The system hook of a device is in place while
// at least one subscription to it lives.
class Subscription {
 public:
  Subscription() = default;  // subscribed to nothing
  ~Subscription();
  Subscription(Subscription&& other) noexcept;
  Subscription& operator=(Subscription&& other) noexcept;
  Subscription(const Subscription&) = delete;
  Subscription& operator=(const Subscription&) = delete;

  bool subscribed() const { return id_ != 0; }
  // Whether the system accepted the device's hook (when the first
  // subscription came, or at the last reinstall). False when it refused:
  // then no event comes.
  bool installed() const;
  // Whether the system still calls the hook: sends a probe event that only
  // the hook sees (it swallows it) and waits up to about 300 ms for it. Takes
  // a few milliseconds when the hook is there.
  bool receiving() const;
  // Removes the device's hook and installs it again; true when it is in place.
  bool reinstall() const;

 protected:
  Subscription(Device device, std::uint64_t id) : device_(device), id_(id) {}

 private:
  void end();

  Device device_ = Device::Keyboard;
  std::uint64_t id_ = 0;  // 0: none
};

class KeyboardSubscription : public Subscription {
 public:
  KeyboardSubscription() = default;
  explicit KeyboardSubscription(KeyCallback callback);
};

class MouseSubscription : public Subscription {
 public:
  MouseSubscription() = default;
  explicit MouseSubscription(MouseCallback callback);
};

}  // namespace hf::hooks
