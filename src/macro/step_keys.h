#pragma once

#include <string>
#include <string_view>
#include <vector>

// The key names of key steps. They differ from the hotkey texts' names in
// places ("Esc", "Tab", "Enter" have names here; Scroll Lock is "Scr").
namespace hf::macro {

// The recorder's name of a key: "F1", "Num0" (digit row), "num0" (keypad),
// "A", " ↑" …; the decimal code for a key without a name.
std::string recordedKeyName(int virtualKey);

// The code replay sends for a name of a key text; "Shift", "Ctrl" and "Alt"
// give the right-hand keys. Names compare exactly; an unknown name gives 0.
int replayKeyCode(std::string_view name);

struct KeyEvent {
  int virtualKey = 0;
  bool up = false;
  friend bool operator==(const KeyEvent&, const KeyEvent&) = default;
};

// What a key step sends: without "+" the code cell's key down and up; with
// one to three "+" each name's key down in order, then up in reverse; with
// more, nothing.
std::vector<KeyEvent> keyStepEvents(std::string_view keyText, std::string_view codeCell);

}  // namespace hf::macro
