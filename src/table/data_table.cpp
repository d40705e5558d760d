#include "table/data_table.h"

#include "platform/event_loop.h"
#include "table/entry_files.h"

namespace hf::table {

DataTable::DataTable(ui::ListView& view) : view_(view) {
  view_.setModel(this);
}

DataTable::~DataTable() {
  view_.setModel(nullptr);
}

void DataTable::setCell(int row, int column, std::string_view text) {
  rows_.setCell(row, column, text);
  view_.rowsChanged();
}

void DataTable::setMarked(int row, bool marked) {
  rows_.setMarked(row, marked);
  view_.rowsChanged();
}

void DataTable::keepingCurrentRow(const std::function<void()>& change) {
  const RowStore::FollowedRow current = rows_.follow(view_.selectedRow());
  change();
  view_.rowsChanged();
  if (*current != view_.selectedRow()) view_.selectRow(*current);
}

void DataTable::insertRow(int at, std::string_view entry) {
  keepingCurrentRow([&] { rows_.insert(at, static_cast<std::uint32_t>(at + 1), entry); });
}

void DataTable::appendRow(std::string_view entry) {
  insertRow(rows_.size(), entry);
}

void DataTable::appendRows(const std::vector<std::string>& entries) {
  RowStore::Pieces pieces;
  for (const std::string& entry : entries) {
    pieces.offsets.push_back(static_cast<std::uint32_t>(pieces.text.size()));
    pieces.lengths.push_back(static_cast<std::uint32_t>(entry.size()));
    pieces.text += entry;
  }
  rows_.append(std::move(pieces));
  view_.rowsChanged();
}

void DataTable::deleteRow(int row) {
  keepingCurrentRow([&] { rows_.erase(row); });
}

void DataTable::moveRow(int from, int to) {
  keepingCurrentRow([&] { rows_.move(from, to); });
}

void DataTable::clear() {
  ++clears_;
  keepingCurrentRow([&] { rows_.clear(); });
}

void DataTable::renumber() {
  rows_.renumber();
  view_.rowsChanged();
}

void DataTable::removeEmptyRows() {
  editRows([](RowStore& rows) {
    rows.eraseIf([&](int row) { return rows.entry(row).empty(); });
    rows.renumber();
  });
}

int DataTable::currentRow() const {
  return view_.selectedRow();
}

void DataTable::setCurrentRow(int row) {
  view_.selectRow(rows_.contains(row) ? row : -1);
}

void DataTable::scrollTo(int row) {
  if (rows_.contains(row)) view_.ensureVisible(row);
}

DataTable::LoadTimes DataTable::bulkLoad(std::string text) {
  const long long start = loop::nowMs();
  const int clearsBefore = clears_;
  RowStore::Pieces pieces = splitEntries(std::move(text), [] { loop::processPending(); });
  LoadTimes times;
  times.buildMs = loop::nowMs() - start;
  // Emptied meanwhile (another slot opened, 清空): these rows belong to no table.
  if (clears_ != clearsBefore) return times;
  view_.setVisible(false);
  view_.setRedraw(false);
  rows_.append(std::move(pieces));
  view_.rowsChanged();
  view_.setVisible(true);
  view_.setRedraw(true);
  times.totalMs = loop::nowMs() - start;
  return times;
}

void DataTable::applyDefaultLayout() {
  view_.setColumnWidth(kEntry, 181);
  view_.setColumnTitle(kTabs, "跳格");
  view_.setColumnWidth(kTabs, 40);
  view_.setColumnWidth(kPause, 0);
  view_.setColumnTitle(kEnter, "回车");
  view_.setColumnWidth(kEnter, 40);
}

}  // namespace hf::table
