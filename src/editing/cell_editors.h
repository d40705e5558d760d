#pragma once

#include <string>
#include <string_view>

#include "feedback/hints.h"
#include "paste/hotkey_loading.h"
#include "paste/paste_modes.h"
#include "table/data_table.h"

namespace hf::editing {

// The data table has no editing of its own: a double click lays a hidden
// editor over the cell (内容, 跳格, 暂停 and 回车; the hotkey column has its
// own editor), and its text goes back into the cell when the editor is left
// or, for 内容, when the 内容 header is clicked. Rows move by dragging.
class CellEditors {
 public:
  struct Controls {
    ui::Window& window;       // the mouse capture and cursor of a row drag
    ui::DropDown& 组合框4;    // 跳格
    ui::EditBox& 编辑框1008;  // 暂停 and 回车
    ui::EditBox& 编辑框1009;  // 内容
  };
  CellEditors(Controls controls, feedback::Hints& hints, table::DataTable& table,
              const paste::PasteEngine& engine, paste::HotkeyLoading& loading);

  // A double click on a cell of columns 1 to 4.
  void open(ui::ListView::Cell cell);
  // The 内容 header was clicked: the open 内容 editor's text goes into its cell.
  void commitEntry();
  // Hides the 内容 editor without a commit.
  void hideEntryEditor() { c_.编辑框1009.setVisible(false); }
  // Text put at the end of the 内容 editor (the picture paths of dropped files).
  void appendToEntryEditor(std::string_view text);

  // Row drag: started on a row, ended by the button's release anywhere.
  void beginDrag();
  void endDrag(Point client);

 private:
  void openEntryEditor(int row);
  void commitField(ui::Control& editor, bool onlyWhileShown);
  void moveRow(int from, int to);

  Controls c_;
  feedback::Hints& hints_;
  table::DataTable& table_;
  const paste::PasteEngine& engine_;
  paste::HotkeyLoading& loading_;
  // The rows of the open editors follow their entries, so a commit never
  // writes into another row; a row that went takes no commit.
  table::RowStore::FollowedRow entryRow_;    // the 内容 editor's (`编辑框行号`)
  table::RowStore::FollowedRow editingRow_;  // the 跳格, 暂停 and 回车 editors'
  int editingColumn_ = -1;
  bool dragging_ = false;
};

// Where an editor lies over a cell: one pixel below the row's top,
// `extraWidth` wider than the column, kept inside the table; width 0 when the
// cell is out of view.
Rect editorRectOver(const ui::ListView& list, int row, int column, int extraWidth = 0);

// The 内容 editor's text as it goes into the cell: blank lines collapsed, no
// line break at either end.
std::string entryFromEditor(std::string text);

}  // namespace hf::editing
