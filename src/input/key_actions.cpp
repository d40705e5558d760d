#include "input/key_actions.h"

#include <cstdint>
#include <string_view>

#include "platform/desktop.h"
#include "platform/event_loop.h"
#include "platform/keys.h"

namespace hf::input {
namespace {

// How long a key action waits for the user to let go of the modifiers of the
// hotkey that started it.
constexpr int kModifierWaitMs = 500;

void scanChord(int modifier, int key) {
  letGoOfModifiers();
  desktop::keyDown(modifier);
  desktop::keyDown(key);
  desktop::keyUp(modifier);
  desktop::keyUp(key);
}

}  // namespace

// A hotkey's own modifiers are often still down when its delivery starts
// (Shift+F8 held a moment longer): Tab would go out as Shift+Tab, Ctrl+V as
// Ctrl+Alt+V, typed letters as shortcuts. Waits for the user to let go, and
// gives whatever is still held after that its key-up, so the target receives
// exactly the keys sent.
void letGoOfModifiers() {
  for (int waited = 0; waited < kModifierWaitMs && !desktop::heldModifierKeys().empty();
       waited += 10)
    loop::pause(10);
  for (const int key : desktop::heldModifierKeys()) desktop::keyUp(key);
}

void chord(std::initializer_list<int> virtualKeys) {
  letGoOfModifiers();
  desktop::keyChord(virtualKeys);
}

void press(int virtualKey) {
  chord({virtualKey});
}

void ctrlV() {
  chord({keys::kCtrl, 'V'});
}

void ctrlC() {
  chord({keys::kCtrl, 'C'});
}

void scanPress(int virtualKey) {
  letGoOfModifiers();
  desktop::keyDown(virtualKey);
  desktop::keyUp(virtualKey);
}

void scanCtrlV() {
  scanChord(keys::kRightCtrl, 'V');
}

void scanCtrlC() {
  scanChord(keys::kRightCtrl, 'C');
}

namespace {

void copyThenCut(void (*chord)(), Cut cut) {
  const std::uint32_t before = desktop::clipboardSequence();
  chord();
  loop::pause(50);
  if (cut == Cut::Yes && desktop::clipboardSequence() != before &&
      !desktop::clipboardText().value_or("").empty())
    press(keys::kDelete);
}

}  // namespace

void copySelection(Cut cut) {
  desktop::setClipboardText("");
  copyThenCut(ctrlC, cut);
}

void scanCopySelection(Cut cut) {
  desktop::setClipboardText("");
  copyThenCut(scanCtrlC, cut);
}

void copySelectionOverClipboard(Cut cut) {
  copyThenCut(ctrlC, cut);
}

TypedKey keyForCharacter(char c) {
  if (c >= 'a' && c <= 'z') return {c - 'a' + 'A', false};
  if (c >= 'A' && c <= 'Z') return {c, true};
  if (c >= '0' && c <= '9') return {c, false};
  constexpr std::string_view kShiftedDigits = ")!@#$%^&*(";
  if (const auto digit = kShiftedDigits.find(c); digit != std::string_view::npos)
    return {static_cast<int>('0' + digit), true};
  struct Symbol {
    int key;
    char plain, shifted;
  };
  constexpr Symbol kSymbols[] = {{0xC0, '`', '~'}, {0xBD, '-', '_'},  {0xBB, '=', '+'},
                                 {0xDB, '[', '{'}, {0xDD, ']', '}'},  {0xDC, '\\', '|'},
                                 {0xBA, ';', ':'}, {0xDE, '\'', '"'}, {0xBC, ',', '<'},
                                 {0xBE, '.', '>'}, {0xBF, '/', '?'}};
  for (const Symbol& symbol : kSymbols) {
    if (c == symbol.plain) return {symbol.key, false};
    if (c == symbol.shifted) return {symbol.key, true};
  }
  return {};
}

// Caps Lock turns the case of typed letters round: Shift turns it back.
bool typeCharacter(char c) {
  const TypedKey key = keyForCharacter(c);
  if (key.virtualKey == 0) return false;
  const bool letter = key.virtualKey >= 'A' && key.virtualKey <= 'Z';
  if (key.shift != (letter && desktop::isCapsLockOn()))
    chord({keys::kShift, key.virtualKey});
  else
    chord({key.virtualKey});
  return true;
}

}  // namespace hf::input
