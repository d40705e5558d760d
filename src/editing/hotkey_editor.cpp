#include "editing/hotkey_editor.h"

#include "paste/hotkeys.h"
#include "platform/event_loop.h"
#include "text/numbers.h"

namespace hf::editing {

HotkeyEditor::HotkeyEditor(Controls controls, feedback::Hints& hints, table::DataTable& table,
                           Neighbours neighbours)
    : c_(controls), hints_(hints), table_(table), n_(neighbours) {
  n_.boxes.attach(c_.编辑框1007);
  c_.编辑框1007.onFocusLost = [this] { commit(); };
}

void HotkeyEditor::open(int row) {
  n_.cellEditors.hideEntryEditor();
  if (n_.loading.loaded()) {
    n_.loading.unload();
    loop::pause(100);
  }
  if (!n_.loading.loaded())
    hints_.show(hints_.气球提示框1, n_.loading.toggleButton(), 18,
                "●设置完热键，记得点击【加载热键】！");
  if (row < 0 || row >= table_.rowCount()) return;
  // Only rows 1 to 50 can carry a hotkey.
  if (text::toInt(table_.cell(row, table::DataTable::kNumber)) > paste::kCustomSlots) return;
  // The double click selected the row; left selected, it would become where
  // the next paste starts and what 删除 removes.
  table_.setCurrentRow(-1);
  loop::pause(30);
  const Rect cell = editorRectOver(table_.view(), row, table::DataTable::kHotkey);
  if (cell.width <= 0) return;  // the row is scrolled out of view
  editingRow_ = row;
  editingLayout_ = table_.layoutVersion();
  ui::EditBox& editor = c_.编辑框1007;
  editor.setRect(cell);
  editor.setText(table_.cell(row, table::DataTable::kHotkey));
  editor.setVisible(true);
  editor.focus();
}

void HotkeyEditor::commit() {
  ui::EditBox& editor = c_.编辑框1007;
  if (!c_.window.isVisible() || !editor.isVisible()) return;
  if (table_.layoutVersion() == editingLayout_)
    table_.setCell(editingRow_, table::DataTable::kHotkey, editor.text());
  editor.setVisible(false);
  const int slot = n_.slots.currentSlot();
  hints_.show(hints_.气球提示框2, n_.slots.saveButton(slot), 20, "●修改后记得保存！");
}

}  // namespace hf::editing
