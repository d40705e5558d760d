#pragma once

#include <functional>
#include <string_view>

#include "app/hidden_fields.h"
#include "app/main_controls.h"
#include "feedback/hints.h"
#include "platform/ui.h"
#include "table/data_table.h"
#include "table/file_slots.h"
#include "table/paste_mode_view.h"

namespace hf::table {

// The commands that change the data table as a whole or many rows at once:
// clear, delete, insert, the empty-row sweep, search-and-mark, the batch
// selector `组合框63` with its pattern fill, the header clicks and the
// user's mark changes (with Shift ranges).
class TableEditing {
 public:
  TableEditing(app::MainControls& controls, app::HiddenFields& fields,
               app::HiddenCommands& commands, feedback::Hints& hints, DataTable& table,
               FileSlots& slots, const PasteModeView& pasteMode)
      : controls_(controls),
        fields_(fields),
        commands_(commands),
        hints_(hints),
        table_(table),
        slots_(slots),
        pasteMode_(pasteMode) {}

  // Assigns the events of the editing row, the batch selector and the data table.
  void connect();

  // Commits the open 内容 cell editor; a click on the 内容 header runs it when set.
  std::function<void()> commitEntryEdit;

  // The cell the left mouse button was last pressed on.
  ui::ListView::Cell lastPressedCell() const { return lastPressedCell_; }

  void clear();
  void deleteRows();
  void insertRow();
  void showProgramFolder();
  void sweepEmptyRows();
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
  void clearPictures();
  void setEveryMark(bool marked);
  // Marks rows first, first + step, first + 2·step … (indices from 0).
  void markEvery(int first, int step);
  void fillColumn(int column, std::string_view text);
  // Empties the column, then writes the word into rows n, 2n, 3n … (counted from 1).
  void putIntoEveryNth(int column, int n, std::string_view word);
  void batchNumber(int n);
  void emptyColumn(int column);
  void prepareBatch(std::string_view target, std::string_view hint);

  app::MainControls& controls_;
  app::HiddenFields& fields_;
  app::HiddenCommands& commands_;
  feedback::Hints& hints_;
  DataTable& table_;
  FileSlots& slots_;
  const PasteModeView& pasteMode_;
  ui::ListView::Cell lastPressedCell_;
  int previousToggledRow_ = 0;
};

}  // namespace hf::table
