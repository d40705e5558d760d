#pragma once

#include "app/hidden_fields.h"
#include "app/main_controls.h"
#include "feedback/hints.h"
#include "table/data_table.h"
#include "table/paste_mode_view.h"

namespace hf::table {

// The data table has no editing of its own: a double click lays a hidden
// editor over the cell (内容, 跳格, 暂停 and 回车; the hotkey column has its
// own editor), and its text goes back into the cell when the editor is left
// or, for 内容, when the 内容 header is clicked. Rows move by dragging.
class CellEditors {
 public:
  CellEditors(app::MainControls& controls, app::HiddenFields& fields, feedback::Hints& hints,
              DataTable& table, const PasteModeView& pasteMode);

  // A double click on a cell of columns 1 to 4.
  void open(ui::ListView::Cell cell);
  // The 内容 header was clicked: the open 内容 editor's text goes into its cell.
  void commitEntry();

  // Row drag: started on a row, ended by the button's release anywhere.
  void beginDrag();
  void endDrag(Point client);

 private:
  void openEntryEditor(int row);
  void commitField(ui::Control& editor, bool onlyWhileShown);
  void moveRow(int from, int to);

  app::MainControls& controls_;
  app::HiddenFields& fields_;
  feedback::Hints& hints_;
  DataTable& table_;
  const PasteModeView& pasteMode_;
  // The rows of the open editors follow their entries, so a commit never
  // writes into another row; a row that went takes no commit.
  RowStore::FollowedRow entryRow_;    // the 内容 editor's
  RowStore::FollowedRow editingRow_;  // the 跳格, 暂停 and 回车 editors'
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

}  // namespace hf::table
