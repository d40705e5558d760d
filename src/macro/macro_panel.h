#pragma once

#include <array>
#include <string>

#include "platform/ui.h"

namespace hf::macro {

// The macro panel's state as the rest of the program sees it: the recorder
// switch `按钮5`, the record table `超级列表框2` with its toggle `按钮15`, and
// the macro hotkey boxes with the timed-start time, kept in the settings file.
class MacroPanel {
 public:
  struct Controls {
    ui::Button& 按钮5;
    ui::ListView& 超级列表框2;
    ui::Button& 按钮15;
    ui::EditBox& 记录;
    ui::EditBox& 模拟;
    ui::EditBox& 停止;
    ui::EditBox& 截图;
    ui::EditBox& 模拟1;
  };
  explicit MacroPanel(Controls controls) : c_(controls) {}

  bool recorderOn() const { return c_.按钮5.text() == "关zira"; }
  // Macro mode: the record table covers the data table.
  bool recordTableShown() const { return c_.超级列表框2.isVisible(); }
  // Where hints about the record table point.
  const ui::Control& recordTableToggle() const { return c_.按钮15; }

  // The boxes that take a hotkey: record, replay, stop and screenshot.
  std::array<ui::EditBox*, 4> hotkeyBoxes() const {
    return {&c_.记录, &c_.模拟, &c_.停止, &c_.截图};
  }
  // True when the record, replay or stop box other than `except` holds the hotkey.
  bool macroHotkeyTaken(const std::string& hotkey, const ui::EditBox* except) const;
  const ui::EditBox& screenshotBox() const { return c_.截图; }

  // The boxes' texts from the settings file, and back.
  void loadSettings();
  void saveSettings() const;

 private:
  Controls c_;
};

}  // namespace hf::macro
