#pragma once

#include <cstdint>
#include <filesystem>
#include <initializer_list>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/geometry.h"
#include "platform/resources.h"

namespace hf::ui {
class Window;
}

// The outside world the system acts on: the screen, global hotkeys, the
// process itself and the shell.
namespace hf::desktop {

Size screenSize();  // physical pixels

// Global hotkeys, with the modifier flags of keys.h. A registered hotkey
// raises owner.onHotkey(id). Registration fails when another program (or
// this one) holds the key, or when the id is in use.
bool registerHotkey(ui::Window& owner, int id, unsigned modifiers, int virtualKey);
void unregisterHotkey(ui::Window& owner, int id);

// Claims the named single-instance marker for the life of the process;
// false when another running instance holds it.
bool claimSingleInstance(std::string_view name);

// Asks the system to trim the process's working set.
void trimWorkingSet();

// Opens a file, folder or web address with its default program.
void openWithShell(std::string_view gbkTarget);
// Opens a file or folder of the file system (any name, not only GBK ones)
// with its default program; a folder opens in the file browser.
void openPath(const std::filesystem::path& path);

void playSound(Sound sound);

// The clipboard. Opening it is retried for about a second while another
// program holds it; setClipboardText returns false when it stayed busy.
// Texts are GBK and travel as Unicode text (CF_UNICODETEXT) marked as Chinese
// (CF_LOCALE 0x0804), so that programs reading ANSI text get GBK.
// A Private text (account data) is kept out of the clipboard history, the
// cloud clipboard and clipboard monitors.
enum class ClipboardPrivacy { Normal, Private };
bool setClipboardText(std::string_view gbk, ClipboardPrivacy privacy = ClipboardPrivacy::Normal);
// The clipboard's text, "" when it holds none, nothing when it stayed busy.
std::optional<std::string> clipboardText();
// Changes with every change of the clipboard's content, by any program: tells
// whether a Ctrl+C copied anything without emptying the clipboard first.
std::uint32_t clipboardSequence();

// Simulated keys, delivered to whatever window has the keyboard focus. Every
// event carries the scan code the system maps the key to.
void keyDown(int virtualKey);
void keyUp(int virtualKey);
// Each key down in the given order, then each key up in the same order.
void keyChord(std::initializer_list<int> virtualKeys);
// Whether the key is held down now (the hotkey boxes read this).
bool isKeyDown(int virtualKey);
// The modifier keys held down at this moment (left and right Shift, Ctrl,
// Alt and the Windows keys), by their side's own virtual-key code.
std::vector<int> heldModifierKeys();
bool isCapsLockOn();

// Ends simulated input for the rest of the process: from then on no key,
// mouse button, posted character, clipboard text or automation call goes
// out. Closing the
// program calls it first, so nothing paused mid-delivery can type into
// whatever has the focus while the program ends.
void endSimulatedInput();

// Another program's window, as a number that fits in a decimal text.
using WindowId = std::uintptr_t;
WindowId windowUnderCursor();
// The top-level window that a click at the screen point would reach.
WindowId topLevelWindowAt(Point screen);
WindowId foregroundWindow();
// Keeps the window above all windows that are not topmost.
void makeTopmost(WindowId window);
// Posts the text to the window as WM_CHAR messages, one per UTF-16 code unit.
void postCharacters(WindowId window, std::string_view gbk);

enum class MouseButton { Left, Right, Middle };
enum class MouseAction { Down, Up, Click };
Point cursorPos();
void setCursorPos(Point screen);
void mouseButton(MouseButton button, MouseAction action);  // where the cursor is
void clickAt(Point screen);  // moves the cursor there, left button down and up

// Whether keyboard or mouse input waits for this thread (GetInputState).
bool hasPendingInput();

// The date and time of the system's clock, in the user's time zone.
struct LocalTime {
  int year = 0;
  int month = 0;  // 1 to 12
  int day = 0;    // 1 to 31
  int hour = 0;
  int minute = 0;
  int second = 0;
  friend bool operator==(const LocalTime&, const LocalTime&) = default;
};
LocalTime localTime();

}  // namespace hf::desktop
