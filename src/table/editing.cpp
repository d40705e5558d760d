#include "table/editing.h"

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

namespace hf::table {
namespace {

constexpr std::string_view kPatternFill = "循环";

}  // namespace

void TableEditing::connect() {
  controls_.按钮2.onClick = [this] { clear(); };
  controls_.删除.onClick = [this] { deleteRows(); };
  controls_.插入.onClick = [this] { insertRow(); };
  controls_.打开.onClick = [this] { showProgramFolder(); };
  controls_.编辑框查询.onKeyDown = [this](int key) { searchBoxKeyDown(key); };
  controls_.编辑框查询.onMouseDown = [this] { searchBoxPressed(); };
  controls_.组合框63.onSelectionChanged = [this] { batchChosen(); };
  controls_.组合框63.onMouseDown = [this] {
    hints_.show(hints_.气球提示框1, controls_.组合框63, 18, "●批量设置勾选项\\跳格\\暂停\\");
  };
  ui::ListView& view = table_.view();
  view.onHeaderClick = [this](int column) { headerClicked(column); };
  view.onCellMouseDown = [this](ui::ListView::Cell cell) { cellPressed(cell); };
  view.onCheckClicked = [this](int row) { markClicked(row); };
}

bool TableEditing::dataTableInView() const {
  return controls_.按钮15.text() == "显示";  // "隐藏" while the record table covers it
}

void TableEditing::releaseHotkeysIfLoaded() {
  if (!controls_.customHotkeysLoaded()) return;
  controls_.加载热键.onClick();
  loop::pause(100);
}

void TableEditing::clearPictures() {
  for (ui::PictureBox* picture : {&controls_.图片框4, &controls_.图片框6}) {
    picture->setPicture(Image::None);
    picture->setVisible(false);
  }
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
  if (!dataTableInView()) return;
  clearPictures();
  if (controls_.编辑框25.isVisible()) {  // the same-page editor lies over the table
    controls_.编辑框25.setText("");
    return;
  }
  commands_.按钮14();
  table_.clear();
  releaseHotkeysIfLoaded();
}

void TableEditing::deleteRows() {
  if (!dataTableInView()) return;
  const int current = table_.currentRow();
  if (current >= 0) {
    table_.deleteRow(current);
    table_.renumber();
    return;
  }
  clearPictures();
  commands_.按钮14();
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
  desktop::openFolder(files::programFolder());
}

void TableEditing::sweepEmptyRows() {
  table_.editRows([](RowStore& rows) {
    rows.eraseIf([&](int row) { return rows.entry(row).empty(); });
    rows.renumber();
  });
}

void TableEditing::searchAndMark() {
  table_.setCurrentRow(-1);
  const std::string wanted = controls_.编辑框查询.text();
  if (wanted.empty()) return;
  table_.editRows([&](RowStore& rows) {
    for (int row = 0; row < rows.size(); ++row)
      if (text::find(rows.entry(row), wanted) > 0) rows.setMarked(row, true);
  });
}

void TableEditing::searchBoxKeyDown(int virtualKey) {
  if (virtualKey != keys::kEnter) return;
  if (!controls_.编辑框查询.text().empty()) {
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
  fields_.跳格暂停 = "0";
  loop::pause(10);
  table_.setCurrentRow(-1);
  setEveryMark(false);
  // Marks are about to be set by hand: switch to 有序复制, which pastes marked rows only.
  for (ui::Button* button : {&controls_.按钮word, &controls_.按钮excel, &controls_.按钮1,
                             &controls_.按钮104, &controls_.按钮66, &controls_.按钮6})
    button->setColor(app::kNormalColor);
  controls_.按钮104.setText("同页粘贴");
  controls_.按钮102.setColor(app::kHighlightColor);
  fields_.组合框1 = 1;
  controls_.编辑框查询.focus();
}

void TableEditing::batchChosen() {
  if (controls_.组合框63.selectedIndex() < 0) return;
  const std::string item = controls_.组合框63.text();
  if (item == kPatternFill)
    patternFill();
  else
    batchNumber(text::toInt(item));
}

void TableEditing::batchNumber(int n) {
  commands_.按钮14();
  for (int column = 0; column < int(fields_.编辑框hang.size()); ++column)
    fields_.编辑框hang[column] = std::string(1, char('A' + column)) + "1";
  fields_.选择框1到10.fill(true);
  controls_.编辑框查询.setText("");

  const std::string& target = fields_.跳格暂停;
  if (target == "2") {
    fillColumn(DataTable::kTabs, text::toText(n));
  } else if (target == "3") {
    putIntoEveryNth(DataTable::kPause, n, "暂停");
  } else if (target == "4") {
    if (pasteMode_.countsEnterPresses())
      fillColumn(DataTable::kEnter, text::toText(n));
    else
      putIntoEveryNth(DataTable::kEnter, n, "回车");
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
  const int slot = slots_.currentSlot();
  if (!files::replaceWhole(FileSlots::rowSettingsFile(slot), settings)) {
    hints_.show(hints_.气球提示框2, slots_.saveButton(slot), 10,
                "●跳快数据" + std::string(1, char('A' + slot)) + ".txt 保存失败！");
    return;
  }
  loop::pause(30);
  slots_.reloadRowSettings();
  commands_.按钮14();
}

void TableEditing::headerClicked(int column) {
  switch (column) {
    case DataTable::kNumber:
      setEveryMark(fields_.全选项);
      fields_.全选项 = !fields_.全选项;
      break;
    case DataTable::kEntry:
      if (commitEntryEdit) commitEntryEdit();
      break;
    case DataTable::kTabs:
    case DataTable::kPause:
    case DataTable::kEnter:
    case DataTable::kHotkey:
      if (pasteMode_.pastesAtRandom()) commands_.按钮14();
      emptyColumn(column);
      // Emptied hotkey cells must not stay registered.
      if (column == DataTable::kHotkey) releaseHotkeysIfLoaded();
      break;
  }
}

void TableEditing::prepareBatch(std::string_view target, std::string_view hint) {
  fields_.跳格暂停 = target;
  hints_.show(hints_.气球提示框1, controls_.组合框63, 16, hint);
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
      prepareBatch("2", pasteMode_.pastesAllMarkedAtOnce() ? "●批量设置【列数】！"
                                                           : "●批量设置【跳格数】！");
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
  commands_.保存检查框();
}

}  // namespace hf::table
