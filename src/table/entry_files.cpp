#include "table/entry_files.h"

#include "text/gbk_text.h"
#include "text/numbers.h"

namespace hf::table {

RowStore::Pieces splitEntries(std::string text, const std::function<void()>& afterBatch) {
  RowStore::Pieces pieces;
  text::forEachPiece(text, kStar, [&](std::string_view entry) {
    pieces.offsets.push_back(static_cast<std::uint32_t>(entry.data() - text.data()));
    pieces.lengths.push_back(static_cast<std::uint32_t>(entry.size()));
    if (afterBatch && pieces.offsets.size() % kEntriesPerBatch == 0) afterBatch();
  });
  pieces.text = std::move(text);
  return pieces;
}

std::string formatEntries(const RowStore& rows) {
  std::string out;
  for (int row = 0; row < rows.size(); ++row) {
    out += rows.entry(row);
    out += kStar;
  }
  return out;
}

int firstEntryWithStar(const RowStore& rows) {
  for (int row = 0; row < rows.size(); ++row)
    if (text::find(rows.entry(row), kStar) > 0) return row;
  return -1;
}

std::string rowSettingsLine(const RowStore& rows, int row, bool withHotkey) {
  std::string line;
  for (int column = 2; column <= 4; ++column) {
    line += rows.cell(row, column);
    line += kStar;
  }
  if (withHotkey) line += rows.cell(row, 5);
  line += kCrLf;
  return line;
}

std::string formatRowSettings(const RowStore& rows) {
  std::string out;
  for (int row = 0; row < rows.size(); ++row) out += rowSettingsLine(rows, row);
  return out;
}

void applyRowSettings(std::string_view text, RowStore& rows) {
  const auto lines = text::split(text, kCrLf);
  for (int row = 0; row < rows.size() && row < static_cast<int>(lines.size()); ++row) {
    const auto fields = text::split(lines[row], kStar);
    for (int field = 0; field < static_cast<int>(fields.size()) && field + 2 < RowStore::kColumns;
         ++field)
      rows.setCell(row, field + 2, fields[field]);
  }
}

std::string formatCheckFile(const RowStore& rows) {
  std::string out;
  for (int row = 0; row < rows.size(); ++row) {
    if (!rows.isMarked(row)) continue;
    out += rows.cell(row, 0);
    out += kCrLf;
  }
  return out;
}

void applyCheckFile(std::string_view text, RowStore& rows) {
  for (const std::string& line : text::split(text, kCrLf)) {
    const int number = text::toInt(line);
    if (number >= 1) rows.setMarked(number - 1, true);
  }
}

}  // namespace hf::table
