#include <windows.h>

#include <string>
#include <string_view>

#include "platform/desktop.h"
#include "platform/input_gate.h"
#include "platform/win32/wide_text.h"

// Windows of other programs, named by their HWND.
namespace hf::desktop {
namespace {

HWND handleOf(WindowId window) {
  return reinterpret_cast<HWND>(window);
}

WindowId idOf(HWND window) {
  return reinterpret_cast<WindowId>(window);
}

}  // namespace

WindowId windowUnderCursor() {
  POINT point{};
  if (!GetCursorPos(&point)) return 0;
  return idOf(WindowFromPoint(point));
}

WindowId topLevelWindowAt(Point screen) {
  const HWND window = WindowFromPoint(POINT{screen.x, screen.y});
  return idOf(window ? GetAncestor(window, GA_ROOT) : nullptr);
}

WindowId foregroundWindow() {
  return idOf(GetForegroundWindow());
}

void makeTopmost(WindowId window) {
  // Without a window manager (Wine on a bare X server) HWND_TOPMOST alone can
  // leave a window mapped later above it; dropping the flag first restacks it.
  constexpr UINT kKeepPlace = SWP_NOSIZE | SWP_NOMOVE;
  SetWindowPos(handleOf(window), HWND_NOTOPMOST, 0, 0, 0, 0, kKeepPlace);
  SetWindowPos(handleOf(window), HWND_TOPMOST, 0, 0, 0, 0, kKeepPlace);
}

// One WM_CHAR per UTF-16 code unit, so a Chinese character arrives whole
// whatever the system's code page is.
void postCharacters(WindowId window, std::string_view gbk) {
  if (simulatedInputEnded()) return;
  for (wchar_t unit : win32::widen(gbk)) PostMessageW(handleOf(window), WM_CHAR, unit, 0);
}

}  // namespace hf::desktop
