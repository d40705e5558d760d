#include "editing/cell_editors.h"

#include <algorithm>

#include "platform/event_loop.h"
#include "text/gbk_text.h"
#include "text/numbers.h"

namespace hf::editing {

using table::DataTable;

CellEditors::CellEditors(Controls controls, feedback::Hints& hints, DataTable& table,
                         const paste::PasteEngine& engine, paste::HotkeyLoading& loading)
    : c_(controls), hints_(hints), table_(table), engine_(engine), loading_(loading) {
  c_.组合框4.onFocusLost = [this] { commitField(c_.组合框4, false); };
  c_.编辑框1008.onFocusLost = [this] { commitField(c_.编辑框1008, true); };
  c_.编辑框1008.onDoubleClick = [this] { c_.编辑框1008.setText(""); };
  // In the picture modes a new line starts with the "#" that marks a picture
  // path. It is typed straight into the box: the clipboard may hold the very
  // path the user is about to paste after it.
  c_.编辑框1009.onLineBreak = [this] {
    if (engine_.deliversPictures()) c_.编辑框1009.insertAtCaret("#");
  };
}

std::string entryFromEditor(std::string text) {
  while (text::find(text, "\r\n\r\n") > 0) text = text::replaceAll(text, "\r\n\r\n", "\r\n");
  if (text.rfind("\r\n", 0) == 0) text.erase(0, 2);
  if (text.size() >= 2 && text.compare(text.size() - 2, 2, "\r\n") == 0)
    text.resize(text.size() - 2);
  return text;
}

Rect editorRectOver(const ui::ListView& list, int row, int column, int extraWidth) {
  const Rect table = list.rect();
  Rect cell = list.cellRect(row, column);
  if (cell.width <= 0) return cell;
  cell.top += 1;
  cell.width += extraWidth;
  if (cell.left < table.left) {  // scrolled sideways
    cell.width -= table.left - cell.left;
    cell.left = table.left;
  }
  cell.width = std::min(cell.width, table.left + table.width - cell.left);
  return cell;
}

void CellEditors::open(ui::ListView::Cell cell) {
  if (cell.row < 0 || cell.row >= table_.rowCount() || cell.column < 1 || cell.column > 4) return;
  table_.setCurrentRow(-1);
  if (cell.column == DataTable::kEntry) return openEntryEditor(cell.row);

  c_.编辑框1009.setVisible(false);
  loop::pause(30);
  editingRow_ = table_.rows().follow(cell.row);
  editingColumn_ = cell.column;
  ui::Control* editor = &c_.编辑框1008;
  std::string text;
  if (cell.column == DataTable::kTabs) {
    editor = &c_.组合框4;
    text = table_.cell(cell.row, cell.column);
  } else if (cell.column == DataTable::kPause) {
    text = "暂停";
  } else {
    text = engine_.countsEnterPresses() ? table_.cell(cell.row, cell.column) : "回车";
  }
  editor->setRect(editorRectOver(table_.view(), cell.row, cell.column));
  editor->setText(text);
  editor->setVisible(true);
  editor->focus();
}

void CellEditors::openEntryEditor(int row) {
  hints_.show(hints_.气球提示框1, table_.view(), 150, "●修改后，记得点击【内容】处完成确认！");
  loop::pause(30);
  ui::EditBox& editor = c_.编辑框1009;
  editor.setRect(editorRectOver(table_.view(), row, DataTable::kEntry, 80));
  editor.setText(table_.cell(row, DataTable::kEntry) + "\r\n");
  entryRow_ = table_.rows().follow(row);
  editor.setVisible(true);
  editor.focus();
  editor.putCaretAtEnd();  // typing goes on the empty line after the text
}

void CellEditors::commitEntry() {
  ui::EditBox& editor = c_.编辑框1009;
  if (!entryRow_ || !editor.isVisible()) return;
  const std::string entry = entryFromEditor(editor.text());
  loop::pause(30);
  table_.view().focus();
  if (*entryRow_ >= 0) table_.setCell(*entryRow_, DataTable::kEntry, entry);
  editor.setVisible(false);
}

void CellEditors::commitField(ui::Control& editor, bool onlyWhileShown) {
  if (!editor.isVisible() || (onlyWhileShown && !c_.window.isVisible())) return;
  if (editingRow_ && *editingRow_ >= 0) table_.setCell(*editingRow_, editingColumn_, editor.text());
  editor.setVisible(false);
}

void CellEditors::appendToEntryEditor(std::string_view text) {
  c_.编辑框1009.setText(c_.编辑框1009.text() + std::string(text));
}

void CellEditors::beginDrag() {
  dragging_ = true;
  c_.window.captureMouse();
  c_.window.setCursor(Cursor::NotAllowed);
}

void CellEditors::endDrag(Point client) {
  if (!dragging_) return;
  dragging_ = false;
  c_.window.releaseMouse();
  c_.window.setCursor(Cursor::Arrow);
  const Rect area = table_.view().rect();
  const bool overTable = client.x >= area.left && client.x < area.left + area.width &&
                         client.y >= area.top && client.y < area.top + area.height;
  if (!overTable) return;
  const int from = table_.currentRow();
  table_.setCurrentRow(-1);
  moveRow(from, table_.view().hitTest(client).row);
}

// Moves row `from` to `to` (-1: the end), then keeps the hotkeys in step:
// only rows 1 to 50 carry one, and a moved row is registered again.
void CellEditors::moveRow(int from, int to) {
  if (from < 0 || from >= table_.rowCount()) return;
  if (to < 0 || to >= table_.rowCount()) to = table_.rowCount() - 1;
  if (from != to) table_.moveRow(from, to);
  table_.setCurrentRow(to);
  table_.renumber();
  if (to >= 50) {
    table_.setCell(to, DataTable::kHotkey, "");
    loop::pause(100);
  }
  if (!table_.cell(to, DataTable::kEntry).empty()) return loading_.reload();
  table_.deleteRow(to);  // a dragged empty row goes away
  table_.renumber();
  loop::pause(30);
  if (!loading_.loaded()) {
    loop::pause(30);
    loading_.load();
  }
}

}  // namespace hf::editing
