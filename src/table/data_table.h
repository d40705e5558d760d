#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/ui.h"
#include "table/row_store.h"

namespace hf::table {

// The entry table `超级列表框1`: six text columns ("序号", "内容", "跳格",
// "暂停", "回车", "自定义快捷键"), a mark per row and the current row that the
// paste engine uses as its pointer. Rows live here; the list view only shows
// them. A row that is not there reads as empty, so a run that outlives a
// deleted row never fails.
class DataTable : public ui::ListModel {
 public:
  enum Column { kNumber = 0, kEntry = 1, kTabs = 2, kPause = 3, kEnter = 4, kHotkey = 5 };

  explicit DataTable(ui::ListView& view);
  ~DataTable() override;

  ui::ListView& view() const { return view_; }
  const RowStore& rows() const { return rows_; }

  int rowCount() const override { return rows_.size(); }
  std::string cellText(int row, int column) const override { return rows_.cell(row, column); }
  bool isChecked(int row) const override { return rows_.isMarked(row); }

  std::string cell(int row, int column) const { return rows_.cell(row, column); }
  void setCell(int row, int column, std::string_view text);
  bool isMarked(int row) const { return rows_.isMarked(row); }
  void setMarked(int row, bool marked);

  void insertRow(int at, std::string_view entry);  // numbered at + 1
  void appendRow(std::string_view entry);
  // Appends the entries in one step, numbered after the existing rows.
  void appendRows(const std::vector<std::string>& entries);
  void deleteRow(int row);
  // Moves a row with its mark and cells; the rows between shift by one.
  void moveRow(int from, int to);
  void clear();
  void renumber();
  // The empty-row sweep: rows with an empty entry go, the rest are renumbered.
  void removeEmptyRows();

  // The current row is the paste pointer: changes of the rows keep it on its
  // entry, and it is gone (-1) with its row.
  int currentRow() const;
  void setCurrentRow(int row);
  void scrollTo(int row);

  // Changes many rows in one step (rows may go or move, cells and marks change).
  template <typename Edit>
  void editRows(Edit edit) {
    keepingCurrentRow([&] { edit(rows_); });
  }

  // Counts the changes that may give a row index to another row (inserts,
  // removals, moves, emptying); see RowStore::layoutVersion.
  int layoutVersion() const { return rows_.layoutVersion(); }

  // Appends the entries of an entries-file text (split at "★"). Rows are
  // built first, in batches between which pending events are processed, and
  // then added in one step while the view does not repaint.
  struct LoadTimes {
    long long buildMs = 0;
    long long totalMs = 0;
  };
  LoadTimes bulkLoad(std::string text);

  // The default column layout: widths and titles of the text columns.
  void applyDefaultLayout();

 private:
  // Runs a change of the rows, then shows them with the current row still on its entry.
  void keepingCurrentRow(const std::function<void()>& change);

  ui::ListView& view_;
  RowStore rows_;
  int clears_ = 0;  // a bulk load started before an emptying is dropped
};

}  // namespace hf::table
