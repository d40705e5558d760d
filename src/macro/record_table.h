#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "macro/steps.h"
#include "platform/ui.h"

namespace hf::macro {

// The record table `超级列表框2`: the steps of the macro being recorded or
// replayed, a mark per step, and the selected step after which new steps go.
// Steps live here; the list view only shows them. A step that is not there
// reads as empty, so a replay that outlives a deleted step never fails.
class RecordTable : public ui::ListModel {
 public:
  explicit RecordTable(ui::ListView& view);
  ~RecordTable() override;

  ui::ListView& view() const { return view_; }
  // Macro mode: the record table lies over the data table.
  bool shown() const { return view_.isVisible(); }
  void show(bool shown) { view_.setVisible(shown); }
  const std::vector<Step>& steps() const { return steps_; }

  int rowCount() const override { return static_cast<int>(steps_.size()); }
  std::string cellText(int row, int column) const override;
  bool isChecked(int row) const override;

  std::string cell(int row, int column) const { return cellText(row, column); }
  void setCell(int row, int column, std::string_view text);
  void setMarked(int row, bool marked);

  // A new step goes directly after the selected step when that one has a
  // kind, and becomes the selected step; otherwise it goes at the end, where
  // a key step becomes the selected one and a mouse step leaves the selection.
  void addStep(Step step);
  void insertStep(int at, Step step, bool marked = false);
  void deleteStep(int row);
  // Moves a step with its mark; a target of -1 or past the end means the last row.
  void moveStep(int from, int to);
  void replaceAll(std::vector<Step> steps);
  void clear() { replaceAll({}); }
  // Column 0 becomes the 1-based position of every step.
  void renumber();

  int selectedRow() const { return view_.selectedRow(); }
  void selectRow(int row);

 private:
  ui::ListView& view_;
  std::vector<Step> steps_;
  std::vector<bool> marks_;
};

}  // namespace hf::macro
