// The mouse and the other programs' windows: which one is under the cursor,
// which one is in front, which ones stay on top.
#include <optional>
#include <vector>

#include "platform/desktop.h"
#include "platform/headless/internal.h"
#include "platform/headless/target_simulation.h"
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

// Only left clicks are noted: a down followed by an up makes one.
void mouseButton(MouseButton button, MouseAction action) {
  if (simulatedInputEnded()) return;
  if (button != MouseButton::Left) return;
  auto& p = pointer();
  if (action == MouseAction::Down) {
    p.leftDown = true;
    return;
  }
  if (action == MouseAction::Click || p.leftDown) p.clicks.push_back(p.cursor);
  p.leftDown = false;
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

}  // namespace hf::headless
