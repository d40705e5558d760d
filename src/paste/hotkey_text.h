#pragma once

#include <string>
#include <string_view>

// The text form of a hotkey: a modifier prefix ("Ctrl+", "Ctrl+Shift+", ...)
// followed by one of 87 key names. Cells, boxes and the settings file keep
// the text unchanged; it becomes a key combination only at registration.
namespace hf::paste {

struct KeyCombination {
  unsigned modifiers = 0;  // Ctrl 1, Shift 2, Alt 4
  int virtualKey = 0;      // 0: not a known key
  friend bool operator==(const KeyCombination&, const KeyCombination&) = default;
};

// The prefix of a modifier state 0 to 7 ("", "Ctrl+", "Shift+", "Ctrl+Shift+", ...).
std::string modifierPrefix(unsigned state);
// The prefix a hotkey box shows while `pressedKey` goes down with the other
// modifiers in `otherModifiers`: a pressed modifier key adds its own flag.
std::string capturePrefix(int pressedKey, unsigned otherModifiers);

// The combination a hotkey text registers.
KeyCombination parseHotkey(std::string_view text);

}  // namespace hf::paste
