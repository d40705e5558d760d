#include "macro/record_table.h"

#include <algorithm>

#include "text/numbers.h"

namespace hf::macro {

RecordTable::RecordTable(ui::ListView& view) : view_(view) {
  view_.setModel(this);
}

RecordTable::~RecordTable() {
  view_.setModel(nullptr);
}

std::string RecordTable::cellText(int row, int column) const {
  if (row < 0 || row >= rowCount() || column < 0 || column >= kStepColumns) return {};
  return steps_[row][column];
}

bool RecordTable::isChecked(int row) const {
  return row >= 0 && row < rowCount() && marks_[row];
}

void RecordTable::setCell(int row, int column, std::string_view text) {
  if (row < 0 || row >= rowCount() || column < 0 || column >= kStepColumns) return;
  steps_[row][column] = text;
  view_.rowsChanged();
}

void RecordTable::setMarked(int row, bool marked) {
  if (row < 0 || row >= rowCount()) return;
  marks_[row] = marked;
  view_.rowsChanged();
}

void RecordTable::selectRow(int row) {
  view_.selectRow(row >= 0 && row < rowCount() ? row : -1);
}

void RecordTable::insertStep(int at, Step step, bool marked) {
  at = std::clamp(at, 0, rowCount());
  steps_.insert(steps_.begin() + at, std::move(step));
  marks_.insert(marks_.begin() + at, marked);
  view_.rowsChanged();
}

void RecordTable::addStep(Step step) {
  const int selected = selectedRow();
  if (selected >= 0 && !cell(selected, kKind).empty()) {
    insertStep(selected + 1, std::move(step));
    selectRow(selected + 1);
    view_.ensureVisible(selected + 1);
    renumber();
    return;
  }
  const bool keyStep = step[kKind] == kKeyStep;
  step[kNumber] = text::toText(rowCount() + 1);
  insertStep(rowCount(), std::move(step));
  if (!keyStep) return;
  selectRow(rowCount() - 1);
  view_.ensureVisible(rowCount() - 1);
}

void RecordTable::deleteStep(int row) {
  if (row < 0 || row >= rowCount()) return;
  const int selected = selectedRow();
  steps_.erase(steps_.begin() + row);
  marks_.erase(marks_.begin() + row);
  view_.rowsChanged();
  if (selected == row)
    selectRow(-1);
  else if (selected > row)
    selectRow(selected - 1);
}

void RecordTable::moveStep(int from, int to) {
  if (from < 0 || from >= rowCount()) return;
  if (to < 0 || to >= rowCount()) to = rowCount() - 1;
  if (from == to) return;
  Step step = std::move(steps_[from]);
  const bool marked = marks_[from];
  steps_.erase(steps_.begin() + from);
  marks_.erase(marks_.begin() + from);
  insertStep(to, std::move(step), marked);
  selectRow(to);
}

void RecordTable::replaceAll(std::vector<Step> steps) {
  steps_ = std::move(steps);
  marks_.assign(steps_.size(), false);
  view_.rowsChanged();
  selectRow(-1);
}

void RecordTable::renumber() {
  for (int row = 0; row < rowCount(); ++row) steps_[row][kNumber] = text::toText(row + 1);
  view_.rowsChanged();
}

}  // namespace hf::macro
