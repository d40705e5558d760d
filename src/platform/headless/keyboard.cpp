// Simulated keys: every event is noted with its scan code, and a key going
// down reaches the target form when it has the keyboard focus.
#include <set>
#include <vector>

#include "platform/desktop.h"
#include "platform/event_loop.h"
#include "platform/headless/internal.h"
#include "platform/headless/target_simulation.h"
#include "platform/headless/us_keyboard.h"
#include "platform/input_gate.h"
#include "platform/keys.h"

namespace hf::headless::internal {
namespace {

struct Keyboard {
  std::set<int> held;
  bool capsLock = false;
  std::vector<KeyEvent> events;
};

Keyboard& keyboard() {
  static Keyboard instance;
  return instance;
}

void note(int virtualKey, bool down) {
  keyboard().events.push_back({loop::nowMs(), virtualKey, scanCodeOf(virtualKey), down});
}

// The key held for a key sent: Windows holds a side-less modifier sent as a
// key by its left-hand key.
int heldKeyOf(int virtualKey) {
  switch (virtualKey) {
    case keys::kShift:
      return keys::kLeftShift;
    case keys::kCtrl:
      return keys::kLeftCtrl;
    case keys::kAlt:
      return keys::kLeftAlt;
  }
  return virtualKey;
}

}  // namespace

void resetKeyboard() {
  keyboard() = Keyboard{};
}

void setCapsLock(bool on) {
  internal::keyboard().capsLock = on;
}

}  // namespace hf::headless::internal

namespace hf::desktop {

using headless::internal::keyboard;

void keyDown(int virtualKey) {
  if (simulatedInputEnded()) return;
  headless::internal::note(virtualKey, true);
  keyboard().held.insert(headless::internal::heldKeyOf(virtualKey));
  headless::internal::targetKeyDown(virtualKey);
}

void keyUp(int virtualKey) {
  if (simulatedInputEnded()) return;
  headless::internal::note(virtualKey, false);
  keyboard().held.erase(headless::internal::heldKeyOf(virtualKey));
}

void keyChord(std::initializer_list<int> virtualKeys) {
  for (int key : virtualKeys) keyDown(key);
  for (int key : virtualKeys) keyUp(key);
}

// Shift, Ctrl and Alt read as down while either their left or right key is.
bool isKeyDown(int virtualKey) {
  struct Sides {
    int either, left, right;
  };
  constexpr Sides kModifiers[] = {{keys::kShift, keys::kLeftShift, keys::kRightShift},
                                  {keys::kCtrl, keys::kLeftCtrl, keys::kRightCtrl},
                                  {keys::kAlt, keys::kLeftAlt, keys::kRightAlt}};
  const auto& held = keyboard().held;
  if (held.contains(virtualKey)) return true;
  for (const Sides& sides : kModifiers) {
    if (virtualKey == sides.either) return held.contains(sides.left) || held.contains(sides.right);
  }
  return false;
}

std::vector<int> heldModifierKeys() {
  std::vector<int> held;
  for (const int key : keys::kSidedModifierKeys)
    if (keyboard().held.contains(key)) held.push_back(key);
  return held;
}

bool isCapsLockOn() {
  return keyboard().capsLock;
}

}  // namespace hf::desktop

namespace hf::headless {

std::vector<KeyEvent> keyEvents() {
  return internal::keyboard().events;
}

void setKeyHeld(int virtualKey, bool held) {
  if (held) {
    internal::keyboard().held.insert(virtualKey);
  } else {
    internal::keyboard().held.erase(virtualKey);
  }
}

void setCapsLock(bool on) {
  internal::keyboard().capsLock = on;
}

}  // namespace hf::headless
