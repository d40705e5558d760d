#include "paste/hotkey_loading.h"

#include "paste/hotkey_text.h"
#include "platform/event_loop.h"
#include "text/gbk_text.h"
#include "text/numbers.h"

namespace hf::paste {
namespace {

constexpr std::string_view kLoadCaption = "加载热键";
constexpr std::string_view kUnloadCaption = "卸载热键";

}  // namespace

bool HotkeyLoading::loaded() const {
  return controls_.customHotkeysLoaded();
}

void HotkeyLoading::toggle() {
  if (loaded())
    unload();
  else
    load();
}

void HotkeyLoading::load() {
  if (!controls_.截图.text().empty() && loadScreenshotHotkey) {
    loadScreenshotHotkey();
    hints_.show(hints_.气球提示框1, controls_.截图, 10, "●已加载截图快捷键！");
  }
  if (table_.cell(0, table::DataTable::kEntry).empty()) {
    hints_.show(hints_.气球提示框2, controls_.加载热键, 10, "●文本未导入，无法启用热键！");
    return;
  }
  controls_.加载热键.setText(kUnloadCaption);
  loop::pause(30);
  hotkeys_.registerBackQuote();
  loop::pause(30);
  for (int row = 0; row < kCustomSlots; ++row) {
    if (!loaded()) return;  // unloaded by a press during one of the pauses
    for (std::string& field : fields_.编辑框1000到1004) field.clear();
    const std::string hotkey = table_.cell(row, table::DataTable::kHotkey);
    if (hotkey.empty()) continue;
    fields_.编辑框1000到1004[0] = hotkey;
    const auto pieces = text::split(hotkey, "+");
    for (std::size_t i = 0; i + 1 < pieces.size() && i < 3; ++i)
      fields_.编辑框1000到1004[i + 1] = pieces[i];
    fields_.编辑框1000到1004[4] = pieces.back();
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
  controls_.加载热键.setText(kLoadCaption);
  if (controls_.按钮5.text() == "关zira") hotkeys_.release(hotkeys_.backQuote);
  hotkeys_.releaseCustom();
}

}  // namespace hf::paste
