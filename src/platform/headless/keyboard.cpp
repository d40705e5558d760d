// Simulated keys: every event passes the hooks first; unless one swallows
// it, it is noted with its scan code, and a key going down reaches the target
// form when it has the keyboard focus.
#include <set>
#include <vector>

#include "platform/desktop.h"
#include "platform/event_loop.h"
#include "platform/headless/internal.h"
#include "platform/headless/target_simulation.h"
#include "platform/headless/us_keyboard.h"
#include "platform/hooks.h"
#include "platform/input_gate.h"
#include "platform/keys.h"

namespace hf::headless::internal {
namespace {

struct Keyboard {
  std::set<int> held;
  bool capsLock = false;
  std::vector<KeyEvent> events;
  // Alt went down and no other key since: letting it go is then a system key.
  bool altAlone = false;
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

bool isAlt(int virtualKey) {
  return virtualKey == keys::kAlt || virtualKey == keys::kLeftAlt || virtualKey == keys::kRightAlt;
}

// The event as the hooks see it. Keys pressed or let go while Alt is held
// (without Ctrl) are system keys, and so is F10; Alt let go is one only when
// no other key went down since it did.
hooks::KeyEvent hookEventOf(int virtualKey, bool down, bool injected) {
  const bool alt = desktop::isKeyDown(keys::kAlt) || (down && isAlt(virtualKey));
  const bool ctrl = desktop::isKeyDown(keys::kCtrl);
  const bool f10 = virtualKey == keys::kF1 + 9;
  bool system = f10 || (alt && !ctrl);
  if (!down && isAlt(virtualKey)) system = !ctrl && keyboard().altAlone;
  hooks::KeyEvent event;
  event.virtualKey = virtualKey;
  event.scanCode = scanCodeOf(virtualKey);
  event.extended = keys::isExtendedKey(virtualKey);
  event.injected = injected;
  event.time = loop::nowMs();
  if (down) {
    event.message = system ? hooks::KeyMessage::SystemDown : hooks::KeyMessage::Down;
  } else {
    event.message = system ? hooks::KeyMessage::SystemUp : hooks::KeyMessage::Up;
  }
  return event;
}

// The program's and the user's keys alike.
void deliverKey(int virtualKey, bool down, bool injected) {
  if (swallowedByHooks(hookEventOf(virtualKey, down, injected))) return;
  note(virtualKey, down);
  if (down) keyboard().altAlone = isAlt(virtualKey);
  if (down) {
    keyboard().held.insert(heldKeyOf(virtualKey));
    targetKeyDown(virtualKey);
  } else {
    keyboard().held.erase(heldKeyOf(virtualKey));
  }
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
  headless::internal::deliverKey(virtualKey, true, true);
}

void keyUp(int virtualKey) {
  if (simulatedInputEnded()) return;
  headless::internal::deliverKey(virtualKey, false, true);
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

void userKeyDown(int virtualKey) {
  internal::deliverKey(virtualKey, true, false);
}

void userKeyUp(int virtualKey) {
  internal::deliverKey(virtualKey, false, false);
}

}  // namespace hf::headless
