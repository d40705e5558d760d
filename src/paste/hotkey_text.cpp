#include "paste/hotkey_text.h"

#include <array>
#include <utility>

#include "text/gbk_text.h"
#include "text/numbers.h"

namespace hf::paste {
namespace {

constexpr int kShiftKey = 0x10;
constexpr int kCtrlKey = 0x11;
constexpr int kAltKey = 0x12;

// The names outside the regular ranges; a leading blank is part of a name.
constexpr std::array<std::pair<std::string_view, int>, 29> kOtherNames{{
    {"Space", 0x20}, {"PgUp", 0x21},    {"PgDn", 0x22},       {"End", 0x23}, {"Home", 0x24},
    {" ←", 0x25},    {" ↑", 0x26},      {" →", 0x27},         {" ↓", 0x28},  {"Ins", 0x2D},
    {"Del", 0x2E},   {" ×", 0x6A},      {" ＋", 0x6B},        {" －", 0x6D}, {" .", 0x6E},
    {" ÷", 0x6F},    {"NumLock", 0x90}, {"ScrollLock", 0x91}, {" ；", 0xBA}, {" =", 0xBB},
    {" ，", 0xBC},   {" -", 0xBD},      {" 。", 0xBE},        {" /", 0xBF},  {" `", 0xC0},
    {" [", 0xDB},    {" \\", 0xDC},     {" ]", 0xDD},         {" ‘", 0xDE},
}};

bool equalsIgnoringCase(std::string_view a, std::string_view b) {
  return a.size() == b.size() && text::find(a, b, 1, true) == 1;
}

}  // namespace

std::string keyName(int vk) {
  if (vk >= 'A' && vk <= 'Z') return std::string(1, static_cast<char>(vk));
  if (vk >= 0x70 && vk <= 0x7B) return "F" + text::toText(vk - 0x70 + 1);
  if (vk >= 0x30 && vk <= 0x39) return "Num" + text::toText(vk - 0x30);
  if (vk >= 0x60 && vk <= 0x69) return "num" + text::toText(vk - 0x60);
  for (const auto& [name, code] : kOtherNames)
    if (code == vk) return std::string(name);
  return {};
}

int keyCode(std::string_view name) {
  if (name.size() == 1 &&
      ((name[0] >= 'A' && name[0] <= 'Z') || (name[0] >= 'a' && name[0] <= 'z')))
    return name[0] & ~0x20;
  for (int n = 1; n <= 12; ++n)
    if (equalsIgnoringCase(name, "F" + text::toText(n))) return 0x70 + n - 1;
  for (int digit = 0; digit <= 9; ++digit) {
    if (name == "Num" + text::toText(digit)) return 0x30 + digit;
    if (name == "num" + text::toText(digit)) return 0x60 + digit;
  }
  for (const auto& [known, code] : kOtherNames)
    if (known == name) return code;
  return 0;
}

std::string modifierPrefix(unsigned state) {
  std::string prefix;
  if (state & 1) prefix += "Ctrl+";
  if (state & 2) prefix += "Shift+";
  if (state & 4) prefix += "Alt+";
  return prefix;
}

std::string capturePrefix(int pressedKey, unsigned others) {
  if (pressedKey == kCtrlKey && (others & 1) == 0) return modifierPrefix(others | 1);
  if (pressedKey == kShiftKey && (others == 0 || others == 4)) return modifierPrefix(others | 2);
  if (pressedKey == kAltKey && others == 0) return modifierPrefix(4);
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
    combination.modifiers += word == "Alt"     ? 4
                             : word == "Shift" ? 2
                             : word == "Ctrl"  ? 1
                                               : text::toInt(word);
  }
  combination.virtualKey = keyCode(pieces[pluses]);
  return combination;
}

}  // namespace hf::paste
