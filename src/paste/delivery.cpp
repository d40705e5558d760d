#include "paste/delivery.h"

#include <cstdint>
#include <initializer_list>

#include "platform/desktop.h"
#include "platform/event_loop.h"
#include "platform/keys.h"
#include "text/numbers.h"

namespace hf::paste {

namespace {

// How long a delivery waits for the user to let go of the modifiers of the
// hotkey that started it.
constexpr int kModifierWaitMs = 500;

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

void chord(std::initializer_list<int> keys) {
  letGoOfModifiers();
  desktop::keyChord(keys);
}

}  // namespace

int Delivery::interval() const {
  return text::toInt(intervalSelector_.text());
}

void Delivery::pauseInterval() const {
  loop::pause(interval());
}

void Delivery::ctrlV() {
  chord({keys::kCtrl, 'V'});
}

void Delivery::ctrlC() {
  chord({keys::kCtrl, 'C'});
}

void Delivery::scanCtrlV() {
  letGoOfModifiers();
  desktop::keyDown(keys::kRightCtrl);
  desktop::keyDown('V');
  desktop::keyUp(keys::kRightCtrl);
  desktop::keyUp('V');
}

void Delivery::press(int key) {
  chord({key});
}

void Delivery::scanPress(int key) {
  letGoOfModifiers();
  desktop::keyDown(key);
  desktop::keyUp(key);
}

bool Delivery::pasteText(std::string_view text) {
  if (!desktop::setClipboardText(text)) return false;
  pauseInterval();
  ctrlV();
  return true;
}

bool Delivery::clipboard(std::string_view entry) {
  pauseInterval();
  return pasteText(entry);
}

bool Delivery::scanClipboard(std::string_view entry) {
  pauseInterval();
  if (!desktop::setClipboardText(entry)) return false;
  pauseInterval();
  scanCtrlV();
  return true;
}

void Delivery::captureTarget() {
  fields_.句柄1 = text::toText(static_cast<long long>(desktop::windowUnderCursor()));
}

bool Delivery::characters(std::string_view entry) {
  pauseInterval();
  const auto target = static_cast<desktop::WindowId>(text::toNumber(fields_.句柄1));
  desktop::postCharacters(target, entry);
  return true;
}

// Types the clipboard text key by key, for fields that refuse pasted text.
// The clipboard is read again for every character, so a text that changes
// meanwhile goes on from the same byte position. Only ASCII characters have
// keys: a Chinese character is stepped over whole, since its second byte may
// look like a letter.
bool Delivery::forcedTyping(std::string_view entry) {
  loop::pause(100);
  // Account texts and passwords stay out of the clipboard history.
  if (!desktop::setClipboardText(entry, desktop::ClipboardPrivacy::Private)) return false;
  loop::pause(50);
  const std::size_t length = trimBlanks(desktop::clipboardText().value_or("")).size();
  for (std::size_t index = 0; index < length; ++index) {
    loop::pause(10);
    const std::string text = trimBlanks(desktop::clipboardText().value_or(""));
    const char character = index < text.size() ? text[index] : '\0';
    loop::pause(10);
    if (static_cast<unsigned char>(character) >= 0x80) {
      ++index;
      continue;
    }
    typeCharacter(character);
  }
  loop::pause(50);
  return true;
}

// Caps Lock turns the case of typed letters round: Shift turns it back.
void Delivery::typeCharacter(char character) {
  const TypedKey key = keyForCharacter(character);
  if (key.virtualKey == 0) return;
  const bool letter = key.virtualKey >= 'A' && key.virtualKey <= 'Z';
  if (key.shift != (letter && desktop::isCapsLockOn()))
    chord({keys::kShift, key.virtualKey});
  else
    chord({key.virtualKey});
  loop::pause(10);
}

void Delivery::repeat(std::string_view cell, void (*step)(int), int key) {
  for (int n = text::toInt(cell); n > 0; --n) {
    pauseInterval();
    step(key);
  }
}

void Delivery::tabRun(std::string_view cell) {
  repeat(cell, press, keys::kTab);
}
void Delivery::scanTabRun(std::string_view cell) {
  repeat(cell, scanPress, keys::kTab);
}
void Delivery::enterRun(std::string_view cell) {
  repeat(cell, press, keys::kEnter);
}
void Delivery::rightRun(std::string_view cell) {
  repeat(cell, press, keys::kRight);
}
void Delivery::downRun(std::string_view cell) {
  repeat(cell, press, keys::kDown);
}

void Delivery::enterFlag(std::string_view cell) {
  if (cell != "回车") return;
  pauseInterval();
  press(keys::kEnter);
}

void Delivery::scanEnterFlag(std::string_view cell) {
  if (cell != "回车") return;
  pauseInterval();
  scanPress(keys::kEnter);
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

std::string trimBlanks(std::string_view text) {
  constexpr std::string_view kFullWidthBlank = "\xA1\xA1";
  while (true) {
    if (!text.empty() && text.front() == ' ') {
      text.remove_prefix(1);
    } else if (text.substr(0, 2) == kFullWidthBlank) {
      text.remove_prefix(2);
    } else if (!text.empty() && text.back() == ' ') {
      text.remove_suffix(1);
    } else if (text.size() >= 2 && text.substr(text.size() - 2) == kFullWidthBlank) {
      text.remove_suffix(2);
    } else {
      break;
    }
  }
  return std::string(text);
}

}  // namespace hf::paste
