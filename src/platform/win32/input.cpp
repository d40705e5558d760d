#include <windows.h>

#include <initializer_list>
#include <vector>

#include "platform/desktop.h"
#include "platform/input_gate.h"
#include "platform/keys.h"

// Simulated keys and mouse buttons. They go to the foreground window, as if
// the user pressed them.
namespace hf::desktop {
namespace {

// Each event carries the key's scan code: some programs ignore a key whose
// scan code is 0.
INPUT keyInput(int virtualKey, DWORD upFlag) {
  INPUT input{};
  input.type = INPUT_KEYBOARD;
  input.ki.wVk = static_cast<WORD>(virtualKey);
  input.ki.wScan =
      static_cast<WORD>(MapVirtualKeyW(static_cast<UINT>(virtualKey), MAPVK_VK_TO_VSC));
  input.ki.dwFlags = (keys::isExtendedKey(virtualKey) ? KEYEVENTF_EXTENDEDKEY : 0) | upFlag;
  return input;
}

void send(std::vector<INPUT> inputs) {
  if (simulatedInputEnded()) return;
  SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
}

struct ButtonFlags {
  DWORD down;
  DWORD up;
};

ButtonFlags flagsOf(MouseButton button) {
  switch (button) {
    case MouseButton::Right:
      return {MOUSEEVENTF_RIGHTDOWN, MOUSEEVENTF_RIGHTUP};
    case MouseButton::Middle:
      return {MOUSEEVENTF_MIDDLEDOWN, MOUSEEVENTF_MIDDLEUP};
    case MouseButton::Left:
      break;
  }
  return {MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP};
}

}  // namespace

void keyDown(int virtualKey) {
  send({keyInput(virtualKey, 0)});
}

void keyUp(int virtualKey) {
  send({keyInput(virtualKey, KEYEVENTF_KEYUP)});
}

// One SendInput call, so no key of the user's can land inside the chord.
void keyChord(std::initializer_list<int> virtualKeys) {
  std::vector<INPUT> inputs;
  for (int key : virtualKeys) inputs.push_back(keyInput(key, 0));
  for (int key : virtualKeys) inputs.push_back(keyInput(key, KEYEVENTF_KEYUP));
  send(std::move(inputs));
}

// GetKeyState is the state as of the message being handled, which is what a
// key message handler asks about.
bool isKeyDown(int virtualKey) {
  return (GetKeyState(virtualKey) & 0x8000) != 0;
}

// GetAsyncKeyState: the keys as they are now, not as of the last message.
std::vector<int> heldModifierKeys() {
  std::vector<int> held;
  for (const int key : keys::kSidedModifierKeys)
    if (GetAsyncKeyState(key) & 0x8000) held.push_back(key);
  return held;
}

bool isCapsLockOn() {
  return (GetKeyState(VK_CAPITAL) & 1) != 0;
}

Point cursorPos() {
  POINT point{};
  GetCursorPos(&point);
  return {point.x, point.y};
}

void setCursorPos(Point screen) {
  SetCursorPos(screen.x, screen.y);
}

void mouseButton(MouseButton button, MouseAction action) {
  if (simulatedInputEnded()) return;
  const ButtonFlags flags = flagsOf(button);
  if (action != MouseAction::Up) mouse_event(flags.down, 0, 0, 0, 0);
  if (action != MouseAction::Down) mouse_event(flags.up, 0, 0, 0, 0);
}

void clickAt(Point screen) {
  if (simulatedInputEnded()) return;
  setCursorPos(screen);
  mouseButton(MouseButton::Left, MouseAction::Click);
}

bool hasPendingInput() {
  return GetInputState() != FALSE;
}

}  // namespace hf::desktop
