#include "macro/macro_panel.h"

#include "macro/hotkey_settings.h"

namespace hf::macro {

bool MacroPanel::macroHotkeyTaken(const std::string& hotkey, const ui::EditBox* except) const {
  for (const ui::EditBox* box : {&c_.记录, &c_.模拟, &c_.停止})
    if (box != except && box->text() == hotkey) return true;
  return false;
}

void MacroPanel::loadSettings() {
  const auto texts = readHotkeySettings(settingsFile());
  ui::EditBox* boxes[] = {&c_.记录, &c_.模拟, &c_.停止, &c_.截图, &c_.模拟1};
  for (std::size_t i = 0; i < texts.size(); ++i) boxes[i]->setText(texts[i]);
}

void MacroPanel::saveSettings() const {
  writeHotkeySettings(settingsFile(), {c_.记录.text(), c_.模拟.text(), c_.停止.text(),
                                       c_.截图.text(), c_.模拟1.text()});
}

}  // namespace hf::macro
