#include "macro/hotkey_settings.h"

#include <gtest/gtest.h>

namespace hf::macro {
namespace {

TEST(HotkeySettings, ReadsValuesOfTheSection) {
  const std::string ini =
      "[other]\r\n记录=wrong\r\n[编辑框内容]\r\n记录=Ctrl+F1\r\n 模拟 = Alt+A \r\n停止=\r\n";
  struct Case {
    std::string key, value;
  } cases[] = {{"记录", "Ctrl+F1"}, {"模拟", "Alt+A"}, {"停止", ""}, {"截图", ""}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.key);
    EXPECT_EQ(profileValue(ini, kSettingsSection, c.key), c.value);
  }
  EXPECT_EQ(profileValue("", kSettingsSection, "记录"), "");
}

TEST(HotkeySettings, WritesInPlaceAppendsOrAddsTheSection) {
  struct Case {
    std::string before, after;
  } cases[] = {
      {"", "[编辑框内容]\r\n记录=F2\r\n"},
      {"[编辑框内容]\r\n记录=F1\r\n模拟=F3\r\n", "[编辑框内容]\r\n记录=F2\r\n模拟=F3\r\n"},
      {"[编辑框内容]\r\n模拟=F3\r\n\r\n[x]\r\na=1\r\n",
       "[编辑框内容]\r\n模拟=F3\r\n记录=F2\r\n\r\n[x]\r\na=1\r\n"},
      {"[x]\na=1\n", "[x]\r\na=1\r\n[编辑框内容]\r\n记录=F2\r\n"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.before);
    EXPECT_EQ(withProfileValue(c.before, kSettingsSection, "记录", "F2"), c.after);
  }
}

}  // namespace
}  // namespace hf::macro
