#include "copying/same_page_names.h"

#include <algorithm>
#include <array>
#include <cctype>

#include "text/gbk_text.h"

namespace hf::copying {
namespace {

bool forbidden(std::string_view character) {
  if (character.size() != 1) return false;  // a double-byte character, whatever its trail byte
  const unsigned char c = static_cast<unsigned char>(character[0]);
  return c < 0x20 || std::string_view("\\/:*?\"<>|").find(char(c)) != std::string_view::npos;
}

// The name before its first dot, as Windows compares device names.
bool reserved(std::string_view name) {
  std::string stem(name.substr(0, name.find('.')));
  while (!stem.empty() && stem.back() == ' ') stem.pop_back();
  for (char& c : stem) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  static constexpr std::array<std::string_view, 4> kDevices{"CON", "PRN", "AUX", "NUL"};
  if (std::find(kDevices.begin(), kDevices.end(), stem) != kDevices.end()) return true;
  return stem.size() == 4 && (stem.starts_with("COM") || stem.starts_with("LPT")) &&
         stem[3] >= '1' && stem[3] <= '9';
}

}  // namespace

std::optional<std::string> samePageFileName(std::string_view firstLine) {
  std::string name;
  for (std::string_view character : text::characters(firstLine))
    name += forbidden(character) ? std::string("_") : std::string(character);
  while (!name.empty() && (name.back() == '.' || name.back() == ' ')) name.pop_back();
  if (name.empty()) return std::nullopt;
  if (reserved(name)) return "_" + name;
  return name;
}

}  // namespace hf::copying
