#pragma once

#include <initializer_list>

// The named key actions every delivery, capture and replay is built from.
// Before any key goes out, the modifiers the user still holds are let go of
// (see letGoOfModifiers), so the target receives exactly these keys.
namespace hf::input {

// Waits up to half a second for the user to let go of Shift, Ctrl, Alt and
// the Windows keys, then gives any still held its key-up.
void letGoOfModifiers();

// Each key down in order, then each key up in the same order.
void chord(std::initializer_list<int> virtualKeys);
void press(int virtualKey);
void ctrlV();
void ctrlC();

// Key down then key up as separate events, for programs that read scan codes
// (remote desktops, intranet clients): right Ctrl for the Ctrl chords.
void scanPress(int virtualKey);
void scanCtrlV();
void scanCtrlC();

// The focused program's selection onto the clipboard, by Ctrl+C or by its
// scan-code form, then 50 ms for the program to answer. The clipboard is
// emptied first, so a press with nothing selected yields no text instead of
// passing off what the clipboard held before as the selection. With
// Cut::Yes the selection is then deleted, but only when the copy put text
// on the clipboard: Delete with nothing selected would remove the character
// after the caret.
enum class Cut { No, Yes };
void copySelection(Cut cut);
void scanCopySelection(Cut cut);
// The same by Ctrl+C, over what the clipboard holds: a copy of nothing leaves
// the earlier text there (a drag over a scroll bar must not lose it).
void copySelectionOverClipboard(Cut cut);

// The keys that type one character on a US keyboard: the key and whether
// Shift goes with it; key 0 for characters that no key types.
struct TypedKey {
  int virtualKey = 0;
  bool shift = false;
  friend bool operator==(const TypedKey&, const TypedKey&) = default;
};
TypedKey keyForCharacter(char c);
// Types an ASCII character with its key; Caps Lock does not change its case.
// False, and nothing pressed, for a character without a key.
bool typeCharacter(char c);

}  // namespace hf::input
