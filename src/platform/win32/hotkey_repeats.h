#pragma once

#include <windows.h>

// Tells a hotkey's auto-repeat from a new press. Windows drops the repeats of
// hotkeys registered with MOD_NOREPEAT, but Wine fires the hotkey again for
// every repeat of a held key: a held hotkey would paste once per repeat, or
// start and stop an automatic run over and over. A firing taken as a press
// starts a watch of its key, kept by a low-level keyboard hook on a thread of
// its own until the key goes up; a firing during the watch is a repeat. The
// hook is there only while a hotkey's key is held, so the keys the program
// sends and the user types otherwise never wait for it.
namespace hf::win32 {

// A hotkey is its window's id: two windows may use the same id.
void noteHotkeyRegistered(HWND window, int id, int virtualKey);
void noteHotkeyReleased(HWND window, int id);
// Whether this firing of the window's hotkey `id` is the repeat of a key held
// down since a firing taken as a press. Without the hook (the system refused
// it) every firing counts as a press.
bool isHotkeyRepeat(HWND window, int id);

}  // namespace hf::win32
