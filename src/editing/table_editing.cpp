#include "editing/table_editing.h"

#include <algorithm>
#include <cstdint>
#include <string>

#include "platform/desktop.h"
#include "platform/event_loop.h"
#include "platform/files.h"
#include "platform/keys.h"
#include "table/entry_files.h"
#include "text/gbk_text.h"
#include "text/numbers.h"

namespace hf::editing {
namespace {

constexpr std::string_view kPatternFill = "循环";

}  // namespace

TableEditing::TableEditing(Controls controls, feedback::Hints& hints, DataTable& table,
                           Neighbours neighbours)
    : c_(controls), hints_(hints), table_(table), n_(neighbours) {
  c_.清空.onClick = [this] { clear(); };
  c_.删除.onClick = [this] { deleteRows(); };
  c_.插入.onClick = [this] { insertRow(); };
  c_.打开.onClick = [this] { showProgramFolder(); };
  c_.编辑框查询.onKeyDown = [this](int key) { searchBoxKeyDown(key); };
  c_.编辑框查询.onMouseDown = [this] { searchBoxPressed(); };
  c_.组合框63.onSelectionChanged = [this] { batchChosen(); };
  c_.组合框63.onMouseDown = [this] {
    hints_.show(hints_.气球提示框1, c_.组合框63, 18, "●批量设置勾选项\\跳格\\暂停\\");
  };
  ui::ListView& view = table_.view();
  view.onHeaderClick = [this](int column) { headerClicked(column); };
  view.onCellMouseDown = [this](ui::ListView::Cell cell) { cellPressed(cell); };
  view.onCheckClicked = [this](int row) { markClicked(row); };
}

bool TableEditing::dataTableInView() const {
  return !n_.macroPanel.recordTableShown();
}

void TableEditing::releaseHotkeysIfLoaded() {
  if (!n_.loading.loaded()) return;
  n_.loading.unload();
  loop::pause(100);
}

void TableEditing::setEveryMark(bool marked) {
  table_.editRows([&](RowStore& rows) {
    for (int row = 0; row < rows.size(); ++row) rows.setMarked(row, marked);
  });
}

void TableEditing::markEvery(int first, int step) {
  table_.editRows([&](RowStore& rows) {
    for (int row = first; row < rows.size(); row += step) rows.setMarked(row, true);
  });
}

void TableEditing::fillColumn(int column, std::string_view text) {
  table_.editRows([&](RowStore& rows) {
    for (int row = 0; row < rows.size(); ++row) rows.setCell(row, column, text);
  });
}

void TableEditing::emptyColumn(int column) {
  fillColumn(column, "");
}

void TableEditing::putIntoEveryNth(int column, int n, std::string_view word) {
  emptyColumn(column);
  table_.editRows([&](RowStore& rows) {
    for (int row = n - 1; row < rows.size(); row += n) rows.setCell(row, column, word);
  });
}

void TableEditing::clear() {
  if (!dataTableInView()) return n_.steps.clear();
  n_.previews.hideAll();
  if (n_.modes.samePageEditorShown()) {
    n_.modes.clearSamePageEditor();
    return;
  }
  n_.engine.resetRandomCycle();
  table_.clear();
  releaseHotkeysIfLoaded();
}

void TableEditing::deleteRows() {
  if (!dataTableInView()) return n_.steps.deleteMarked();
  const int current = table_.currentRow();
  if (current >= 0) {
    table_.deleteRow(current);
    table_.renumber();
    return;
  }
  n_.previews.hideAll();
  n_.engine.resetRandomCycle();
  table_.editRows([](RowStore& rows) {
    rows.eraseIf([&](int row) { return rows.isMarked(row); });
    rows.renumber();
  });
}

void TableEditing::insertRow() {
  if (!dataTableInView()) return;
  const int current = table_.currentRow();
  // The current row's 序号 is the index just below it; no current row reads as 0, the top.
  table_.insertRow(text::toInt(table_.cell(current, DataTable::kNumber)), "");
  table_.scrollTo(current);
  table_.renumber();
}

void TableEditing::showProgramFolder() {
  desktop::openPath(files::programFolder());
}

void TableEditing::searchAndMark() {
  table_.setCurrentRow(-1);
  const std::string wanted = c_.编辑框查询.text();
  if (wanted.empty()) return;
  table_.editRows([&](RowStore& rows) {
    for (int row = 0; row < rows.size(); ++row)
      if (text::find(rows.entry(row), wanted) > 0) rows.setMarked(row, true);
  });
}

void TableEditing::searchBoxKeyDown(int virtualKey) {
  if (virtualKey != keys::kEnter) return;
  if (!c_.编辑框查询.text().empty()) {
    setEveryMark(false);
    loop::pause(100);
    searchAndMark();
    loop::pause(100);
  } else if (table_.isMarked(0)) {
    setEveryMark(false);
    markEvery(0, 2);
  } else if (table_.isMarked(1)) {
    setEveryMark(false);
    markEvery(1, 2);
  }
}

void TableEditing::searchBoxPressed() {
  if (!dataTableInView()) return;
  batchTarget_ = "0";
  loop::pause(10);
  table_.setCurrentRow(-1);
  setEveryMark(false);
  // Marks are about to be set by hand: 有序复制 pastes marked rows only.
  n_.modes.chooseOrderedCopyForMarking();
  c_.编辑框查询.focus();
}

void TableEditing::batchChosen() {
  if (c_.组合框63.selectedIndex() < 0) return;
  const std::string item = c_.组合框63.text();
  if (item == kPatternFill)
    patternFill();
  else
    batchNumber(text::toInt(item));
}

void TableEditing::batchNumber(int n) {
  n_.engine.resetRandomCycle();
  n_.modes.resetOfficeCells();
  c_.编辑框查询.setText("");

  const std::string& target = batchTarget_;
  if (target == "2") {
    fillColumn(DataTable::kTabs, text::toText(n));
  } else if (target == "3") {
    putIntoEveryNth(DataTable::kPause, n, "暂停");
  } else if (target == "4") {
    if (n_.engine.countsEnterPresses())
      fillColumn(DataTable::kEnter, text::toText(n));
    else
      putIntoEveryNth(DataTable::kEnter, n, "回车");
  } else if (target == "6") {
    n_.steps.setEveryDelay(n);
  } else if (target == "0") {
    setEveryMark(false);
    if (n == 1)
      markEvery(0, 2);
    else
      markEvery(n - 1, n);
  }
}

// The settings of the marked rows go first, whole; after them their columns
// 2 to 4 repeat down the table. The text goes to the current slot's
// row-settings file, which is then reloaded into the table.
void TableEditing::patternFill() {
  std::string settings;  // the marked rows' columns 2 to 5
  std::string pattern;   // the marked rows' columns 2 to 4
  int markedCount = 0;
  const RowStore& rows = table_.rows();
  for (int row = 0; row < rows.size(); ++row) {
    if (!rows.isMarked(row)) continue;
    ++markedCount;
    settings += rowSettingsLine(rows, row);
    pattern += rowSettingsLine(rows, row, false);
  }
  loop::pause(30);
  const int repeats = markedCount == 0 ? 0 : table_.rowCount() / markedCount;
  settings.reserve(settings.size() + pattern.size() * repeats);
  for (int i = 0; i < repeats; ++i) settings += pattern;
  loop::pause(30);
  const int slot = n_.slots.currentSlot();
  if (!files::replaceWhole(FileSlots::rowSettingsFile(slot), settings)) {
    hints_.show(hints_.气球提示框2, n_.slots.saveButton(slot), 10,
                "●跳快数据" + std::string(1, char('A' + slot)) + ".txt 保存失败！");
    return;
  }
  loop::pause(30);
  n_.slots.reloadRowSettings();
  n_.engine.resetRandomCycle();
}

void TableEditing::headerClicked(int column) {
  switch (column) {
    case DataTable::kNumber:
      setEveryMark(takeMarkAllNext());
      break;
    case DataTable::kEntry:
      n_.cellEditors.commitEntry();
      break;
    case DataTable::kTabs:
    case DataTable::kPause:
    case DataTable::kEnter:
    case DataTable::kHotkey:
      if (n_.engine.pastesAtRandom()) n_.engine.resetRandomCycle();
      emptyColumn(column);
      // Emptied hotkey cells must not stay registered.
      if (column == DataTable::kHotkey) releaseHotkeysIfLoaded();
      break;
  }
}

void TableEditing::prepareBatch(std::string_view target, std::string_view hint) {
  batchTarget_ = target;
  hints_.show(hints_.气球提示框1, c_.组合框63, 16, hint);
}

bool TableEditing::takeMarkAllNext() {
  markAllNext_ = !markAllNext_;
  return !markAllNext_;
}

void TableEditing::stepDelaysPressed() {
  prepareBatch("6", "●批量设置【间隔时间】！");
}

void TableEditing::cellPressed(ui::ListView::Cell cell) {
  if (cell.row < 0 || cell.column < 0) return;  // not on a cell
  lastPressedCell_ = cell;
  table_.view().focus();
  switch (cell.column) {
    case DataTable::kNumber:
      prepareBatch("0", "●批量设置【选择项】！");
      break;
    case DataTable::kTabs:
      prepareBatch(
          "2", n_.engine.pastesAllMarkedAtOnce() ? "●批量设置【列数】！" : "●批量设置【跳格数】！");
      break;
    case DataTable::kPause:
      prepareBatch("3", "●批量设置【暂停】！");
      break;
    case DataTable::kEnter:
      prepareBatch("4", "●批量设置【回车数】！");
      break;
  }
}

void TableEditing::markClicked(int row) {
  const bool marked = !table_.isMarked(row);
  const bool range = desktop::isKeyDown(keys::kShift);
  table_.editRows([&](RowStore& rows) {
    rows.setMarked(row, marked);
    if (!range) return;
    // From the previous toggled row towards this one, the previous included.
    const int from = std::min(previousToggledRow_, rows.size() - 1);
    const int step = from < row ? 1 : -1;
    for (int other = from; other != row; other += step) rows.setMarked(other, marked);
  });
  previousToggledRow_ = row;
  n_.checkFile.write();
}

}  // namespace hf::editing
