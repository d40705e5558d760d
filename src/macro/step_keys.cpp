#include "macro/step_keys.h"

#include <algorithm>
#include <array>
#include <utility>

#include "text/numbers.h"

namespace hf::macro {
namespace {

// Names outside the regular ranges (F keys, digits, letters), with their codes.
constexpr std::array<std::pair<std::string_view, int>, 36> kNamedKeys{{
    {"NumLock", 144}, {"Esc", 27},   {"Prt", 44},   {"Scr", 145}, {"Pau", 19},  {"Ins", 45},
    {"Home", 36},     {"PgUp", 33},  {"Del", 46},   {"End", 35},  {"PgDn", 34}, {"Space", 32},
    {"Tab", 9},       {"CapsL", 20}, {"Enter", 13}, {"BackS", 8}, {" ↑", 38},   {" →", 39},
    {" ↓", 40},       {" ←", 37},    {" ÷", 111},   {" ×", 106},  {" －", 109}, {" ＋", 107},
    {" `", 192},      {" [", 219},   {" ]", 221},   {" ，", 188}, {" 。", 190}, {" /", 191},
    {" =", 187},      {" -", 189},   {" \\", 220},  {" .", 110},  {" ‘", 222},  {" ；", 186},
}};
// The recorder writes modifiers as prefixes; replay presses the right-hand keys.
constexpr std::array<std::pair<std::string_view, int>, 3> kModifiers{
    {{"Shift", 161}, {"Ctrl", 163}, {"Alt", 165}}};

constexpr int kF1 = 112;

}  // namespace

std::string recordedKeyName(int vk) {
  if (vk >= kF1 && vk <= kF1 + 11) return "F" + text::toText(vk - kF1 + 1);
  if (vk >= '0' && vk <= '9') return "Num" + text::toText(vk - '0');
  if (vk >= 96 && vk <= 105) return "num" + text::toText(vk - 96);
  if (vk >= 'A' && vk <= 'Z') return std::string(1, static_cast<char>(vk));
  for (const auto& [name, code] : kNamedKeys)
    if (code == vk) return std::string(name);
  return text::toText(vk);
}

int replayKeyCode(std::string_view name) {
  for (const auto& [known, code] : kModifiers)
    if (known == name) return code;
  for (const auto& [known, code] : kNamedKeys)
    if (known == name) return code;
  for (int n = 1; n <= 12; ++n)
    if (name == "F" + text::toText(n)) return kF1 + n - 1;
  for (int digit = 0; digit <= 9; ++digit) {
    if (name == "Num" + text::toText(digit)) return '0' + digit;
    if (name == "num" + text::toText(digit)) return 96 + digit;
  }
  if (name.size() == 1 && name[0] >= 'A' && name[0] <= 'Z') return name[0];
  return 0;
}

std::vector<KeyEvent> keyStepEvents(std::string_view keyText, std::string_view codeCell) {
  const auto plusCount = std::count(keyText.begin(), keyText.end(), '+');
  if (plusCount == 0) {
    const int code = text::toInt(codeCell);
    return {{code, false}, {code, true}};
  }
  if (plusCount > 3) return {};
  std::vector<int> codes;  // one name more than there are "+"
  for (std::size_t start = 0;;) {
    const std::size_t plus = keyText.find('+', start);
    codes.push_back(replayKeyCode(keyText.substr(start, plus - start)));
    if (plus == std::string_view::npos) break;
    start = plus + 1;
  }
  std::vector<KeyEvent> events;
  for (int code : codes) events.push_back({code, false});
  for (auto it = codes.rbegin(); it != codes.rend(); ++it) events.push_back({*it, true});
  return events;
}

}  // namespace hf::macro
