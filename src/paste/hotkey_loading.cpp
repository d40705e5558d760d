#include "paste/hotkey_loading.h"

#include "paste/hotkey_text.h"
#include "platform/event_loop.h"
#include "text/numbers.h"

namespace hf::paste {
namespace {

constexpr std::string_view kLoadCaption = "加载热键";
constexpr std::string_view kUnloadCaption = "卸载热键";

}  // namespace

bool HotkeyLoading::loaded() const {
  return c_.加载热键.text() == kUnloadCaption;
}

void HotkeyLoading::reload() {
  if (loaded()) unload();
  load();
}

void HotkeyLoading::toggle() {
  if (loaded())
    unload();
  else
    load();
}

void HotkeyLoading::load() {
  if (!macroPanel_.screenshotBox().text().empty() && loadScreenshotHotkey) {
    loadScreenshotHotkey();
    hints_.show(hints_.气球提示框1, macroPanel_.screenshotBox(), 10, "●已加载截图快捷键！");
  }
  if (table_.cell(0, table::DataTable::kEntry).empty()) {
    hints_.show(hints_.气球提示框2, c_.加载热键, 10, "●文本未导入，无法启用热键！");
    return;
  }
  c_.加载热键.setText(kUnloadCaption);
  loop::pause(30);
  hotkeys_.registerBackQuote();
  loop::pause(30);
  for (int row = 0; row < kCustomSlots; ++row) {
    if (!loaded()) return;  // unloaded by a press during one of the pauses
    const std::string hotkey = table_.cell(row, table::DataTable::kHotkey);
    if (hotkey.empty()) continue;
    const KeyCombination combination = parseHotkey(hotkey);
    // The slot is the row's 序号, not its position.
    const std::string number = table_.cell(row, table::DataTable::kNumber);
    const int slot = text::toInt(number);
    if (slot < 1 || slot > kCustomSlots || number != text::toText(slot)) continue;
    int& id = hotkeys_.custom[slot - 1];
    hotkeys_.release(id);
    id = hotkeys_.registerKey(combination.modifiers, combination.virtualKey);
    loop::pause(10);
    if (id == 0) table_.setCell(row, table::DataTable::kHotkey, "");
  }
  loop::pause(100);
}

void HotkeyLoading::unload() {
  c_.加载热键.setText(kLoadCaption);
  if (macroPanel_.recorderOn()) hotkeys_.release(hotkeys_.backQuote);
  hotkeys_.releaseCustom();
}

}  // namespace hf::paste
