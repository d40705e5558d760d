#include "recorder/macro_hotkeys.h"

#include "paste/hotkey_text.h"
#include "platform/event_loop.h"

namespace hf::recorder {

void MacroHotkeys::hintSetAllThree() {
  hints_.show(hints_.气球提示框2, *panel_.macroHotkeyBoxes()[0], 18,
              "●设置好记录、模拟、停止快捷键！", 26);
}

bool MacroHotkeys::anyBoxEmpty() const {
  for (const ui::EditBox* box : panel_.macroHotkeyBoxes())
    if (box->text().empty()) return true;
  return false;
}

bool MacroHotkeys::registerAll() {
  loop::pause(30);
  const auto boxes = panel_.macroHotkeyBoxes();
  for (int row = 0; row <= paste::kCustomSlots; ++row)
    for (ui::EditBox* box : boxes)
      if (box->text() == table_.cell(row, table::DataTable::kHotkey)) box->setText("");
  if (anyBoxEmpty()) {
    hintSetAllThree();
    return false;
  }
  int* ids[] = {&hotkeys_.record, &hotkeys_.replay, &hotkeys_.stop};
  for (int i = 0; i < 3; ++i) {
    const paste::KeyCombination keys = paste::parseHotkey(boxes[i]->text());
    hotkeys_.release(*ids[i]);
    *ids[i] = hotkeys_.registerKey(keys.modifiers, keys.virtualKey);
    loop::pause(10);
    if (*ids[i] == 0) boxes[i]->setText("");
  }
  // A key another program holds emptied its box: the user types another.
  if (anyBoxEmpty()) {
    releaseAll();
    hintSetAllThree();
    return false;
  }
  return true;
}

void MacroHotkeys::releaseAll() {
  for (int* id : {&hotkeys_.record, &hotkeys_.replay, &hotkeys_.stop}) hotkeys_.release(*id);
}

void MacroHotkeys::boxPressed(int box) {
  releaseAll();
  constexpr const char* kHints[] = {"●记录与停止记录快捷键自定义设置！",
                                    "●模拟数据快捷键自定义设置！", "●停止模拟快捷键自定义设置！"};
  hints_.show(hints_.气球提示框1, *panel_.macroHotkeyBoxes()[box], 10, kHints[box]);
}

}  // namespace hf::recorder
