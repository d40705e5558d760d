#include "input/delivery.h"

#include "input/key_actions.h"
#include "platform/event_loop.h"
#include "platform/keys.h"
#include "text/numbers.h"

namespace hf::input {

void Delivery::pauseInterval() const {
  loop::pause(interval());
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

void Delivery::characters(desktop::WindowId target, std::string_view entry) {
  pauseInterval();
  desktop::postCharacters(target, entry);
}

// Types the clipboard text key by key, for fields that refuse pasted text.
// The clipboard is read again for every character, so a text that changes
// meanwhile goes on from the same byte position. Only ASCII characters have
// keys: a Chinese character is stepped over whole, since its second byte may
// look like a letter.
bool Delivery::forcedTyping(std::string_view entry) {
  loop::pause(100);
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
    if (typeCharacter(character)) loop::pause(10);
  }
  loop::pause(50);
  return true;
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

}  // namespace hf::input
