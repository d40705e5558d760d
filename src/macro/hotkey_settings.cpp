#include "macro/hotkey_settings.h"

#include <optional>
#include <vector>

#include "platform/files.h"
#include "platform/text_codec.h"
#include "text/gbk_text.h"

namespace hf::macro {
namespace {

std::string_view trimmed(std::string_view s) {
  const auto first = s.find_first_not_of(" \t");
  if (first == std::string_view::npos) return {};
  return s.substr(first, s.find_last_not_of(" \t") - first + 1);
}

bool sameName(std::string_view a, std::string_view b) {
  a = trimmed(a);
  b = trimmed(b);
  return a.size() == b.size() && text::find(a, b, 1, true) == 1;
}

// Lines without their CR LF (or LF) endings.
std::vector<std::string_view> linesOf(std::string_view ini) {
  std::vector<std::string_view> lines;
  while (!ini.empty()) {
    const auto end = ini.find('\n');
    std::string_view line = ini.substr(0, end);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    lines.push_back(line);
    if (end == std::string_view::npos) break;
    ini.remove_prefix(end + 1);
  }
  return lines;
}

std::optional<std::string_view> sectionName(std::string_view line) {
  line = trimmed(line);
  if (line.size() < 2 || line.front() != '[') return std::nullopt;
  const auto close = line.find(']');
  if (close == std::string_view::npos) return std::nullopt;
  return line.substr(1, close - 1);
}

// The key of a "key=value" line, or nothing for other lines.
std::optional<std::string_view> keyOf(std::string_view line) {
  const auto equals = line.find('=');
  if (equals == std::string_view::npos || sectionName(line)) return std::nullopt;
  return line.substr(0, equals);
}

}  // namespace

std::string profileValue(std::string_view ini, std::string_view section, std::string_view key) {
  bool inSection = false;
  for (std::string_view line : linesOf(ini)) {
    if (auto name = sectionName(line)) {
      inSection = sameName(*name, section);
    } else if (auto lineKey = keyOf(line); inSection && lineKey && sameName(*lineKey, key)) {
      return std::string(trimmed(line.substr(line.find('=') + 1)));
    }
  }
  return {};
}

std::string withProfileValue(std::string_view ini, std::string_view section, std::string_view key,
                             std::string_view value) {
  const std::string entry = std::string(key) + "=" + std::string(value);
  std::vector<std::string> lines;
  for (std::string_view line : linesOf(ini)) lines.emplace_back(line);

  int sectionLine = -1;
  int lastInSection = -1;
  bool inSection = false;
  for (int i = 0; i < static_cast<int>(lines.size()); ++i) {
    if (auto name = sectionName(lines[i])) {
      inSection = sameName(*name, section);
      if (inSection && sectionLine < 0) sectionLine = lastInSection = i;
      continue;
    }
    if (!inSection) continue;
    if (auto lineKey = keyOf(lines[i]); lineKey && sameName(*lineKey, key)) {
      lines[i] = entry;
      sectionLine = -2;  // replaced in place
      break;
    }
    if (!trimmed(lines[i]).empty()) lastInSection = i;
  }
  if (sectionLine == -1) {
    lines.push_back("[" + std::string(section) + "]");
    lines.push_back(entry);
  } else if (sectionLine >= 0) {
    lines.insert(lines.begin() + lastInSection + 1, entry);
  }
  std::string out;
  for (const std::string& line : lines) out += line + "\r\n";
  return out;
}

std::filesystem::path settingsFile() {
  return files::programFolder() / codec::pathFromGbk("zira热键配置.ini");
}

std::array<std::string, 5> readHotkeySettings(const std::filesystem::path& file) {
  const std::string ini = files::readWhole(file).value_or(std::string());
  std::array<std::string, 5> texts;
  for (std::size_t i = 0; i < texts.size(); ++i)
    texts[i] = profileValue(ini, kSettingsSection, kSettingsKeys[i]);
  return texts;
}

bool writeHotkeySettings(const std::filesystem::path& file,
                         const std::array<std::string, 5>& texts) {
  std::string ini = files::readWhole(file).value_or(std::string());
  for (std::size_t i = 0; i < texts.size(); ++i)
    ini = withProfileValue(ini, kSettingsSection, kSettingsKeys[i], texts[i]);
  return files::replaceWhole(file, ini);
}

}  // namespace hf::macro
