#pragma once

#include <windows.h>

// Tells a hotkey's auto-repeat from a new press. Windows drops the repeats of
// hotkeys registered with MOD_NOREPEAT, but Wine fires the hotkey again for
// every repeat of a held key: a held hotkey would paste once per repeat, or
// start and stop an automatic run over and over. A low-level keyboard hook on
// a thread of its own counts the fresh presses (not repeats) of each
// registered combination; a firing beyond that count while the key is held
// is a repeat.
namespace hf::win32 {

// A hotkey is its window's id: two windows may use the same id.
void noteHotkeyRegistered(HWND window, int id, unsigned modifiers,
                          int virtualKey);  // modifiers: keys::kCtrlFlag ...
void noteHotkeyReleased(HWND window, int id);
// Whether this firing of the window's hotkey `id` is the repeat of a key held
// down. Without the hook (the system refused it) every firing counts as a press.
bool isHotkeyRepeat(HWND window, int id);

}  // namespace hf::win32
