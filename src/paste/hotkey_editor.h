#pragma once

#include "app/main_controls.h"
#include "feedback/hints.h"
#include "paste/hotkey_boxes.h"
#include "table/data_table.h"
#include "table/file_slots.h"

namespace hf::paste {

// The hotkey editor `编辑框1007`: a hotkey box laid over a 自定义快捷键 cell
// by a double click; leaving it writes its text into the cell.
class HotkeyEditor {
 public:
  HotkeyEditor(app::MainControls& controls, feedback::Hints& hints, table::DataTable& table,
               table::FileSlots& slots, HotkeyBoxes& boxes);

  // A double click on row `row` of the 自定义快捷键 column.
  void open(int row);

 private:
  void commit();

  app::MainControls& controls_;
  feedback::Hints& hints_;
  table::DataTable& table_;
  table::FileSlots& slots_;
  int editingRow_ = -1;
  int editingLayout_ = -1;  // the table's layout version when the editor opened
};

}  // namespace hf::paste
