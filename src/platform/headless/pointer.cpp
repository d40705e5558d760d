// The mouse and the other programs' windows: which one is under the cursor,
// which one is in front, which ones stay on top. Every mouse event passes the
// hooks first.
#include <optional>
#include <vector>

#include "platform/desktop.h"
#include "platform/event_loop.h"
#include "platform/headless/internal.h"
#include "platform/headless/target_simulation.h"
#include "platform/hooks.h"
#include "platform/input_gate.h"

namespace hf::headless::internal {
namespace {

struct Pointer {
  Point cursor;
  bool leftDown = false;
  std::vector<Point> clicks;
  // Set by a test; otherwise the target form while it is open.
  std::optional<desktop::WindowId> underCursor;
  std::optional<desktop::WindowId> foreground;
  std::vector<desktop::WindowId> topmost;
};

Pointer& pointer() {
  static Pointer instance;
  return instance;
}

desktop::WindowId targetOrNone() {
  return targetIsOpen() ? kTargetWindow : 0;
}

hooks::MouseMessage messageOf(desktop::MouseButton button, bool down) {
  using hooks::MouseMessage;
  switch (button) {
    case desktop::MouseButton::Right:
      return down ? MouseMessage::RightDown : MouseMessage::RightUp;
    case desktop::MouseButton::Middle:
      return down ? MouseMessage::MiddleDown : MouseMessage::MiddleUp;
    case desktop::MouseButton::Left:
      break;
  }
  return down ? MouseMessage::LeftDown : MouseMessage::LeftUp;
}

bool swallowed(hooks::MouseMessage message, Point point, bool injected) {
  hooks::MouseEvent event;
  event.message = message;
  event.point = point;
  event.injected = injected;
  event.time = loop::nowMs();
  return swallowedByHooks(event);
}

// The program's and the user's buttons alike. Only left clicks are noted: a
// down followed by an up makes one.
void deliverButton(desktop::MouseButton button, bool down, bool injected) {
  auto& p = pointer();
  if (swallowed(messageOf(button, down), p.cursor, injected)) return;
  if (button != desktop::MouseButton::Left) return;
  if (!down && p.leftDown) p.clicks.push_back(p.cursor);
  p.leftDown = down;
}

}  // namespace

void resetPointer() {
  pointer() = Pointer{};
}

void bringTargetForward() {
  pointer().underCursor.reset();
  pointer().foreground.reset();
}

}  // namespace hf::headless::internal

namespace hf::desktop {

using headless::internal::pointer;
using headless::internal::targetOrNone;

WindowId windowUnderCursor() {
  return pointer().underCursor.value_or(targetOrNone());
}

// A window shown on the simulated screen; elsewhere the one the tests put
// under the cursor, which stands for every other point too.
WindowId topLevelWindowAt(Point screen) {
  return headless::internal::windowShownAt(screen).value_or(windowUnderCursor());
}

WindowId foregroundWindow() {
  return pointer().foreground.value_or(targetOrNone());
}

void makeTopmost(WindowId window) {
  pointer().topmost.push_back(window);
}

Point cursorPos() {
  return pointer().cursor;
}

void setCursorPos(Point screen) {
  pointer().cursor = screen;
}

void mouseButton(MouseButton button, MouseAction action) {
  if (simulatedInputEnded()) return;
  if (action != MouseAction::Up) headless::internal::deliverButton(button, true, true);
  if (action != MouseAction::Down) headless::internal::deliverButton(button, false, true);
}

void clickAt(Point screen) {
  if (simulatedInputEnded()) return;
  setCursorPos(screen);
  mouseButton(MouseButton::Left, MouseAction::Click);
}

}  // namespace hf::desktop

namespace hf::headless {

std::vector<Point> clicks() {
  return internal::pointer().clicks;
}

std::vector<desktop::WindowId> topmostWindows() {
  return internal::pointer().topmost;
}

void setForegroundWindow(desktop::WindowId window) {
  internal::pointer().foreground = window;
}

void setWindowUnderCursor(desktop::WindowId window) {
  internal::pointer().underCursor = window;
}

void userMouseButton(desktop::MouseButton button, bool down) {
  internal::deliverButton(button, down, false);
}

void userMoveMouse(Point screen) {
  if (internal::swallowed(hooks::MouseMessage::Move, screen, false)) return;
  internal::pointer().cursor = screen;
}

}  // namespace hf::headless
