#include "platform/headless/us_keyboard.h"

#include <map>
#include <string_view>

namespace hf::headless::internal {
namespace {

struct KeyCap {
  int scanCode = 0;
  char plain = 0;  // 0 for a key that types nothing
  char shifted = 0;
};

// The character keys row by row: scan codes run up from the row's first key.
struct CharacterRow {
  int firstScanCode;
  std::string_view plain;
  std::string_view shifted;
};
constexpr CharacterRow kCharacterRows[] = {
    {0x02, "1234567890-=", "!@#$%^&*()_+"},
    {0x10, "qwertyuiop[]", "QWERTYUIOP{}"},
    {0x1E, "asdfghjkl;'`", "ASDFGHJKL:\"~"},
    {0x2B, "\\zxcvbnm,./", "|ZXCVBNM<>?"},
    {0x39, " ", " "},
};

// Letters use their capital's code, digits and space their own; the symbol
// keys have codes of their own.
int virtualKeyOf(char plain) {
  if (plain >= 'a' && plain <= 'z') return plain - 'a' + 'A';
  constexpr std::string_view kFromBA = ";=,-./`";  // 0xBA, 0xBB, ...
  constexpr std::string_view kFromDB = "[\\]'";    // 0xDB, 0xDC, ...
  if (const auto at = kFromBA.find(plain); at != std::string_view::npos) return 0xBA + int(at);
  if (const auto at = kFromDB.find(plain); at != std::string_view::npos) return 0xDB + int(at);
  return plain;
}

std::map<int, KeyCap> buildKeyboard() {
  std::map<int, KeyCap> keys = {
      {0x08, {0x0E}},  // Backspace
      {0x09, {0x0F}},  // Tab
      {0x0D, {0x1C}},  // Enter
      {0x10, {0x2A}},  // Shift
      {0x11, {0x1D}},  // Ctrl
      {0x12, {0x38}},  // Alt
      {0x14, {0x3A}},  // Caps Lock
      {0x1B, {0x01}},  // Esc
      {0x21, {0x49}},  // Page Up
      {0x22, {0x51}},  // Page Down
      {0x23, {0x4F}},  // End
      {0x24, {0x47}},  // Home
      {0x25, {0x4B}},  // Left
      {0x26, {0x48}},  // Up
      {0x27, {0x4D}},  // Right
      {0x28, {0x50}},  // Down
      {0x2D, {0x52}},  // Insert
      {0x2E, {0x53}},  // Delete
      {0x7A, {0x57}},  // F11
      {0x7B, {0x58}},  // F12
      {0xA0, {0x2A}},  // left Shift
      {0xA1, {0x36}},  // right Shift
      {0xA2, {0x1D}},  // left Ctrl
      {0xA3, {0x1D}},  // right Ctrl
      {0xA4, {0x38}},  // left Alt
      {0xA5, {0x38}},  // right Alt
  };
  for (int f = 0; f < 10; ++f) keys[0x70 + f] = {0x3B + f};  // F1-F10
  for (const CharacterRow& row : kCharacterRows) {
    for (std::size_t i = 0; i < row.plain.size(); ++i) {
      keys[virtualKeyOf(row.plain[i])] = {row.firstScanCode + int(i), row.plain[i], row.shifted[i]};
    }
  }
  return keys;
}

const KeyCap* find(int virtualKey) {
  static const std::map<int, KeyCap> keyboard = buildKeyboard();
  const auto key = keyboard.find(virtualKey);
  return key == keyboard.end() ? nullptr : &key->second;
}

}  // namespace

int scanCodeOf(int virtualKey) {
  const KeyCap* key = find(virtualKey);
  return key ? key->scanCode : 0;
}

std::optional<char> characterOf(int virtualKey, bool shift) {
  const KeyCap* key = find(virtualKey);
  if (!key || key->plain == 0) return std::nullopt;
  return shift ? key->shifted : key->plain;
}

}  // namespace hf::headless::internal
