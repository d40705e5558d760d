#pragma once

#include <string>
#include <string_view>

#include "editing/cell_editors.h"
#include "editing/file_slots.h"
#include "editing/step_editing.h"
#include "feedback/hints.h"
#include "feedback/picture_previews.h"
#include "macro/macro_panel.h"
#include "paste/hotkey_loading.h"
#include "paste/paste_modes.h"
#include "paste/working_modes.h"
#include "platform/ui.h"
#include "table/check_file.h"
#include "table/data_table.h"

namespace hf::editing {

using table::DataTable;
using table::RowStore;

// The commands that change the data table as a whole or many rows at once:
// clear, delete, insert, the empty-row sweep, search-and-mark, the batch
// selector `组合框63` with its pattern fill, the header clicks and the
// user's mark changes (with Shift ranges).
class TableEditing {
 public:
  struct Controls {
    ui::Button& 清空;  // `按钮2`
    ui::Button& 删除;
    ui::Button& 插入;
    ui::Button& 打开;
    ui::EditBox& 编辑框查询;
    ui::DropDown& 组合框63;  // the batch selector
  };
  // The concerns whose state a table-wide change touches.
  struct Neighbours {
    FileSlots& slots;
    CellEditors& cellEditors;
    table::CheckFile& checkFile;
    paste::PasteEngine& engine;
    paste::WorkingModes& modes;
    paste::HotkeyLoading& loading;
    feedback::PicturePreviews& previews;
    const macro::MacroPanel& macroPanel;
    StepEditing& steps;  // 清空, 删除 and the batch of delays while macro mode shows the steps
  };
  TableEditing(Controls controls, feedback::Hints& hints, DataTable& table, Neighbours neighbours);

  // The column the batch selector fills next (`跳格暂停`): "0" marks, "2"
  // 跳格, "3" 暂停, "4" 回车, "6" the record table's delays.
  const std::string& batchTarget() const { return batchTarget_; }
  // The batch selector's text, which is also the Excel mode's column count.
  std::string batchText() const { return c_.组合框63.text(); }
  const ui::Control& batchSelector() const { return c_.组合框63; }
  // Shows an item without the effects of a user's choice.
  void showBatchItem(int index) { c_.组合框63.select(index); }

  // The cell the left mouse button was last pressed on.
  ui::ListView::Cell lastPressedCell() const { return lastPressedCell_; }
  // A press on the record table's 时间 column: the batch selector sets every delay.
  void stepDelaysPressed();
  // A click on the 序号 header of either table: marks every row, or none,
  // by turns shared by both tables.
  bool takeMarkAllNext();

  void clear();
  void deleteRows();
  void insertRow();
  void showProgramFolder();
  void searchAndMark();
  void searchBoxKeyDown(int virtualKey);
  void searchBoxPressed();
  void batchChosen();
  // "循环": the marked rows' settings repeated down the table, saved at once.
  void patternFill();
  void headerClicked(int column);
  void cellPressed(ui::ListView::Cell cell);
  void markClicked(int row);

 private:
  bool dataTableInView() const;
  void releaseHotkeysIfLoaded();
  void setEveryMark(bool marked);
  // Marks rows first, first + step, first + 2·step … (indices from 0).
  void markEvery(int first, int step);
  void fillColumn(int column, std::string_view text);
  // Empties the column, then writes the word into rows n, 2n, 3n … (counted from 1).
  void putIntoEveryNth(int column, int n, std::string_view word);
  void batchNumber(int n);
  void emptyColumn(int column);
  void prepareBatch(std::string_view target, std::string_view hint);

  Controls c_;
  feedback::Hints& hints_;
  DataTable& table_;
  Neighbours n_;
  std::string batchTarget_;
  bool markAllNext_ = true;  // `全选项`: the next click on the 序号 header marks every row
  ui::ListView::Cell lastPressedCell_;
  int previousToggledRow_ = 0;
};

}  // namespace hf::editing
