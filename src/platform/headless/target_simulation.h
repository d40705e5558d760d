#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/desktop.h"
#include "platform/geometry.h"

// Test control of the other program that the system fills: a form with text
// fields in tab order that has the keyboard focus, and the input devices
// around it. It reacts as a plain form does:
//   Ctrl+V (left or right Ctrl) pastes the clipboard text into the focused field;
//   Tab moves to the next field (after the last, back to the first), Shift+Tab
//   to the one before;
//   Enter, Right and Down are noted (they do not move the focus);
//   a letter, digit or symbol key inserts its US-layout character (Shift held:
//   shifted; Caps Lock on: letters the other way round);
//   any other key with Ctrl, Alt or a Windows key held is a shortcut of the
//   form's program: noted, nothing typed;
//   a posted WM_CHAR inserts its character;
//   Ctrl+C copies the selected text to the clipboard; Delete deletes the selection.
// Every reaction is noted with the virtual time at which it happened.
namespace hf::headless {

inline constexpr desktop::WindowId kTargetWindow = 0x20A3C;

// A fresh form with `fields` empty fields gets the focus (field 0); the cursor
// rests over it, so windowUnderCursor() and foregroundWindow() give kTargetWindow.
void openTarget(int fields);
std::vector<std::string> targetFields();  // GBK texts
int targetFocusedField();
// The focused field holds this text, all of it selected.
void selectInTarget(std::string_view gbk);

struct TargetEvent {
  std::int64_t at = 0;
  // "paste <text>", "paste picture <w>x<h>", "tab", "back-tab", "enter", "shift+enter", "right",
  // "down", "type <c>", "char <c>" (one per WM_CHAR), "copy", "delete", and shortcuts as "ctrl+<key
  // code>", "alt+<key code>", "win+<key code>"
  std::string what;
  friend bool operator==(const TargetEvent&, const TargetEvent&) = default;
};
std::vector<TargetEvent> targetEvents();
void clearTargetEvents();

// Every simulated key event, as the system would see it.
struct KeyEvent {
  std::int64_t at = 0;
  int virtualKey = 0;
  int scanCode = 0;
  bool down = true;
  friend bool operator==(const KeyEvent&, const KeyEvent&) = default;
};
std::vector<KeyEvent> keyEvents();

// The user holds a key down (or lets it go). Modifiers are held by their
// side's own code (left Shift 0xA0, ...), as the system reports them.
void setKeyHeld(int virtualKey, bool held);
void setCapsLock(bool on);

// Another program keeps the clipboard open: opening it fails until released.
void holdClipboard(bool held);
int clipboardOpenAttempts();
// Whether the clipboard's text was put there as private (kept out of the
// clipboard history); a text another program copies never is.
bool clipboardIsPrivate();

std::vector<Point> clicks();  // left clicks (down and up) at the cursor, in order
std::vector<desktop::WindowId> topmostWindows();
void setForegroundWindow(desktop::WindowId window);
// The window under the cursor, and under every other point as well.
void setWindowUnderCursor(desktop::WindowId window);

// The user's own input: the hooks see it (not marked injected) and, unless
// one swallows it, it acts as the program's simulated input does (keys are
// held and noted and reach the target; the cursor moves; left clicks are
// noted). Simulated input that the program sends passes the hooks the same
// way, marked injected.
void userKeyDown(int virtualKey);
void userKeyUp(int virtualKey);
void userMouseButton(desktop::MouseButton button, bool down);  // at the cursor
void userMoveMouse(Point screen);
// The system removes the program's hooks without telling it (as Windows does
// with a hook that answers too slowly): no event reaches the subscriptions
// until a subscription reinstalls its hook.
void dropHooks();

}  // namespace hf::headless
