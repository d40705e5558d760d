#pragma once

#include <array>
#include <filesystem>
#include <string>
#include <string_view>

// The settings file "zira热键配置.ini": a private-profile (INI) file in GBK
// with one section "编辑框内容" that keeps the texts of the macro hotkey
// boxes and the timed-start time.
namespace hf::macro {

inline constexpr std::string_view kSettingsSection = "编辑框内容";
inline constexpr std::array<std::string_view, 5> kSettingsKeys{"记录", "模拟", "停止", "截图",
                                                               "自动"};

// The value of key in section, "" when absent. Names compare without ASCII
// case and surrounding blanks, as the system's profile functions do.
std::string profileValue(std::string_view ini, std::string_view section, std::string_view key);

// The INI text with key set to value: the key's line is replaced in place, or
// added at the end of its section, or the section is added at the end. Other
// lines are kept as they are.
std::string withProfileValue(std::string_view ini, std::string_view section, std::string_view key,
                             std::string_view value);

std::filesystem::path settingsFile();

// The five texts in the order of kSettingsKeys.
std::array<std::string, 5> readHotkeySettings(const std::filesystem::path& file);
bool writeHotkeySettings(const std::filesystem::path& file,
                         const std::array<std::string, 5>& texts);

}  // namespace hf::macro
