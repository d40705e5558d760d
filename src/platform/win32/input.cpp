#include <windows.h>

#include <initializer_list>

#include "platform/desktop.h"

// Simulated keys and mouse buttons. They go to the foreground window, as if
// the user pressed them.
namespace hf::desktop {
namespace {

// Each event carries the key's scan code: some programs ignore a key whose
// scan code is 0. Right Ctrl is told apart from left Ctrl by the extended flag.
void sendKey(int virtualKey, DWORD upFlag) {
  const UINT code = static_cast<UINT>(virtualKey);
  const DWORD extended = virtualKey == VK_RCONTROL ? KEYEVENTF_EXTENDEDKEY : 0;
  keybd_event(static_cast<BYTE>(code), static_cast<BYTE>(MapVirtualKeyW(code, MAPVK_VK_TO_VSC)),
              extended | upFlag, 0);
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
  sendKey(virtualKey, 0);
}

void keyUp(int virtualKey) {
  sendKey(virtualKey, KEYEVENTF_KEYUP);
}

void keyChord(std::initializer_list<int> virtualKeys) {
  for (int key : virtualKeys) keyDown(key);
  for (int key : virtualKeys) keyUp(key);
}

// GetKeyState is the state as of the message being handled, which is what a
// key message handler asks about.
bool isKeyDown(int virtualKey) {
  return (GetKeyState(virtualKey) & 0x8000) != 0;
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
  const ButtonFlags flags = flagsOf(button);
  if (action != MouseAction::Up) mouse_event(flags.down, 0, 0, 0, 0);
  if (action != MouseAction::Down) mouse_event(flags.up, 0, 0, 0, 0);
}

void clickAt(Point screen) {
  setCursorPos(screen);
  mouseButton(MouseButton::Left, MouseAction::Click);
}

bool hasPendingInput() {
  return GetInputState() != FALSE;
}

}  // namespace hf::desktop
