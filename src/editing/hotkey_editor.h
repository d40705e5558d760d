#pragma once

#include "editing/cell_editors.h"
#include "editing/file_slots.h"
#include "editing/hotkey_boxes.h"
#include "feedback/hints.h"
#include "paste/hotkey_loading.h"
#include "table/data_table.h"

namespace hf::editing {

// The hotkey editor `编辑框1007`: a hotkey box laid over a 自定义快捷键 cell
// by a double click; leaving it writes its text into the cell.
class HotkeyEditor {
 public:
  struct Controls {
    ui::Window& window;
    ui::EditBox& 编辑框1007;
  };
  struct Neighbours {
    HotkeyBoxes& boxes;
    CellEditors& cellEditors;
    FileSlots& slots;
    paste::HotkeyLoading& loading;
  };
  HotkeyEditor(Controls controls, feedback::Hints& hints, table::DataTable& table,
               Neighbours neighbours);

  // A double click on row `row` of the 自定义快捷键 column.
  void open(int row);

 private:
  void commit();

  Controls c_;
  feedback::Hints& hints_;
  table::DataTable& table_;
  Neighbours n_;
  int editingRow_ = -1;
  int editingLayout_ = -1;  // the table's layout version when the editor opened
};

}  // namespace hf::editing
