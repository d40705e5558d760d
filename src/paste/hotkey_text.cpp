#include "paste/hotkey_text.h"

#include "platform/keys.h"
#include "text/gbk_text.h"
#include "text/numbers.h"

namespace hf::paste {

std::string modifierPrefix(unsigned state) {
  std::string prefix;
  if (state & keys::kCtrlFlag) prefix += "Ctrl+";
  if (state & keys::kShiftFlag) prefix += "Shift+";
  if (state & keys::kAltFlag) prefix += "Alt+";
  return prefix;
}

std::string capturePrefix(int pressedKey, unsigned others) {
  using namespace keys;
  if (pressedKey == kCtrl && (others & kCtrlFlag) == 0) return modifierPrefix(others | kCtrlFlag);
  if (pressedKey == kShift && (others == 0 || others == kAltFlag))
    return modifierPrefix(others | kShiftFlag);
  if (pressedKey == kAlt && others == 0) return modifierPrefix(kAltFlag);
  return modifierPrefix(others);
}

KeyCombination parseHotkey(std::string_view hotkey) {
  const auto pieces = text::split(hotkey, "+");
  std::size_t pluses = 0;
  for (char c : hotkey) pluses += c == '+';
  // n pluses need n + 1 pieces: the modifier words, then the key name.
  if (pluses > 3 || pieces.size() < pluses + 1) return {};
  KeyCombination combination;
  for (std::size_t i = 0; i < pluses; ++i) {
    const std::string& word = pieces[i];
    combination.modifiers += word == "Alt"     ? keys::kAltFlag
                             : word == "Shift" ? keys::kShiftFlag
                             : word == "Ctrl"  ? keys::kCtrlFlag
                                               : text::toInt(word);
  }
  combination.virtualKey = keys::keyCode(pieces[pluses]);
  return combination;
}

}  // namespace hf::paste
