#include <array>
#include <string>
#include <utility>

#include "platform/keys.h"

namespace hf::keys {
namespace {

// The names outside the regular ranges; a leading blank is part of a name.
// Written as GBK bytes: this folder is compiled as UTF-8.
constexpr std::array<std::pair<std::string_view, int>, 29> kOtherNames{{
    {"Space", 0x20},     {"PgUp", 0x21},       {"PgDn", 0x22},      {"End", 0x23},
    {"Home", 0x24},      {" \xA1\xFB", 0x25},  {" \xA1\xFC", 0x26}, {" \xA1\xFA", 0x27},
    {" \xA1\xFD", 0x28}, {"Ins", 0x2D},        {"Del", 0x2E},       {" \xA1\xC1", 0x6A},
    {" \xA3\xAB", 0x6B}, {" \xA3\xAD", 0x6D},  {" .", 0x6E},        {" \xA1\xC2", 0x6F},
    {"NumLock", 0x90},   {"ScrollLock", 0x91}, {" \xA3\xBB", 0xBA}, {" =", 0xBB},
    {" \xA3\xAC", 0xBC}, {" -", 0xBD},         {" \xA1\xA3", 0xBE}, {" /", 0xBF},
    {" `", 0xC0},        {" [", 0xDB},         {" \\", 0xDC},       {" ]", 0xDD},
    {" \xA1\xAE", 0xDE},
}};  // ← ↑ → ↓ × ＋ － ÷ ； ， 。 ‘

char upper(char c) {
  return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}

bool equalsIgnoringCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i)
    if (upper(a[i]) != upper(b[i])) return false;
  return true;
}

}  // namespace

std::string keyName(int vk) {
  if (vk >= 'A' && vk <= 'Z') return std::string(1, static_cast<char>(vk));
  if (vk >= kF1 && vk <= kF1 + 11) return "F" + std::to_string(vk - kF1 + 1);
  if (vk >= '0' && vk <= '9') return "Num" + std::to_string(vk - '0');
  if (vk >= 0x60 && vk <= 0x69) return "num" + std::to_string(vk - 0x60);
  for (const auto& [name, code] : kOtherNames)
    if (code == vk) return std::string(name);
  return {};
}

int keyCode(std::string_view name) {
  if (name.size() == 1 && upper(name[0]) >= 'A' && upper(name[0]) <= 'Z') return upper(name[0]);
  for (int n = 1; n <= 12; ++n)
    if (equalsIgnoringCase(name, "F" + std::to_string(n))) return kF1 + n - 1;
  for (int digit = 0; digit <= 9; ++digit) {
    if (name == "Num" + std::to_string(digit)) return '0' + digit;
    if (name == "num" + std::to_string(digit)) return 0x60 + digit;
  }
  for (const auto& [known, code] : kOtherNames)
    if (known == name) return code;
  return 0;
}

}  // namespace hf::keys
