#include "editing/step_editing.h"

#include <algorithm>

#include "editing/cell_editors.h"
#include "platform/desktop.h"
#include "platform/event_loop.h"
#include "platform/keys.h"
#include "text/numbers.h"

namespace hf::editing {

StepEditing::StepEditing(Controls controls, feedback::Hints& hints, Neighbours neighbours)
    : c_(controls), hints_(hints), n_(neighbours) {
  ui::ListView& view = n_.table.view();
  view.onCellMouseDown = [this](ui::ListView::Cell cell) { cellPressed(cell); };
  view.onCheckClicked = [this](int row) { markClicked(row); };
  view.onDoubleClick = [this] { openDelayEditor(); };
  view.onBeginDrag = [this](int) { beginDrag(); };
  c_.编辑框10.onFocusLost = [this] { commitDelay(); };
}

void StepEditing::clear() {
  n_.previews.hideAll();
  n_.table.clear();
}

void StepEditing::deleteMarked() {
  n_.previews.hideAll();
  if (!n_.speed.requireFullSpeed() || !n_.table.shown()) return;
  bool deleted = false;
  for (int row = n_.table.rowCount() - 1; row >= 0; --row) {
    if (!n_.table.isChecked(row)) continue;
    n_.table.deleteStep(row);
    deleted = true;
  }
  n_.table.renumber();
  n_.slots.save();
  if (!deleted) hints_.show(hints_.气球提示框1, n_.table.view(), 30, "●勾选删除行！", 150);
}

void StepEditing::setEveryMark(bool marked) {
  for (int row = 0; row < n_.table.rowCount(); ++row) n_.table.setMarked(row, marked);
}

void StepEditing::setEveryDelay(int ms) {
  for (int row = 0; row < n_.table.rowCount(); ++row)
    n_.table.setCell(row, macro::kDelay, text::toText(ms));
}

void StepEditing::cellPressed(ui::ListView::Cell cell) {
  lastPressed_ = cell;
  if (cell.row >= 0 && cell.column == macro::kDelay && onDelaysPressed) onDelaysPressed();
  n_.table.view().focus();
}

// With Shift, every step from the one toggled before up to this one (that
// one included, this one excluded) takes the new mark too.
void StepEditing::markClicked(int row) {
  if (row < 0 || row >= n_.table.rowCount()) return;
  const bool marked = !n_.table.isChecked(row);
  n_.table.setMarked(row, marked);
  if (desktop::isKeyDown(keys::kShift)) {
    const int from = std::min(previousToggledRow_, n_.table.rowCount() - 1);
    const int step = from < row ? 1 : -1;
    for (int other = from; other != row; other += step) n_.table.setMarked(other, marked);
  }
  previousToggledRow_ = row;
}

void StepEditing::openDelayEditor() {
  loop::pause(30);
  const ui::ListView::Cell cell = lastPressed_;
  n_.table.selectRow(-1);
  if (cell.row < 0 || cell.row >= n_.table.rowCount() || cell.column != macro::kDelay) return;
  editingRow_ = cell.row;
  ui::EditBox& editor = c_.编辑框10;
  editor.setRect(editorRectOver(n_.table.view(), cell.row, cell.column));
  editor.setText(n_.table.cell(cell.row, cell.column));
  editor.setVisible(true);
  editor.focus();
  if (!n_.speed.atFullSpeed()) {
    n_.table.view().focus();  // closes the editor unchanged
    return;
  }
  hints_.show(hints_.气球提示框1, c_.按钮59, 15, "●修改后记得保存数据！");
}

// The table is not saved here: the user saves with 保存.
void StepEditing::commitDelay() {
  ui::EditBox& editor = c_.编辑框10;
  if (!editor.isVisible()) return;
  if (editingRow_ >= 0 && c_.window.isVisible() && n_.speed.atFullSpeed())
    n_.table.setCell(editingRow_, macro::kDelay, editor.text());
  editor.setVisible(false);
  editingRow_ = -1;
}

void StepEditing::beginDrag() {
  if (n_.findSteps.instantPreviewOn()) return;
  if (!n_.speed.atFullSpeed()) {
    hints_.show(hints_.气球提示框1, n_.speed.box(), 15, "●如需移动修改，请设置为100！");
    return;
  }
  dragging_ = true;
  c_.window.captureMouse();
}

// A step dragged down lands after the step it is dropped on, one dragged up
// before it; below the last step means the end. The table is saved.
void StepEditing::endDrag(Point client) {
  if (!dragging_) return;
  dragging_ = false;
  c_.window.releaseMouse();
  const int from = n_.table.selectedRow();
  if (from < 0) return;
  const Rect area = n_.table.view().rect();
  if (client.x < area.left || client.x >= area.left + area.width || client.y < area.top ||
      client.y >= area.top + area.height)
    return;
  n_.table.selectRow(-1);
  const int to = n_.table.view().hitTest(client).row;
  n_.table.moveStep(from, to);
  n_.table.renumber();
  loop::pause(100);
  n_.slots.save();
}

}  // namespace hf::editing
