#include "office/excel_cells.h"

#include <string>

#include "text/numbers.h"

namespace hf::office {

std::optional<int> columnCount(std::string_view text) {
  for (int n = 1; n <= kMaxColumns; ++n)
    if (text == std::to_string(n)) return n;
  return std::nullopt;
}

NextCell nextCell(const paste::OfficeCells& cells, int columns) {
  if (columns < 1 || columns > kMaxColumns) return {};
  if (columns == 1 || cells.used[0]) return {1, true};
  for (int k = 2; k < columns; ++k)
    if (cells.used[k - 1]) return {k, false};
  if (cells.used[columns - 1]) return {columns, false};
  return {};
}

void startRow(paste::OfficeCells& cells, int columns, int usedRows) {
  for (int k = 1; k <= columns && k <= kMaxColumns; ++k)
    cells.cells[k - 1] =
        std::string(1, static_cast<char>('A' + k - 1)) + text::toText(usedRows + 1);
}

void columnFilled(paste::OfficeCells& cells, int columns, int column) {
  if (columns <= 1) return;
  if (column < columns) {
    cells.used[column - 1] = false;
    return;
  }
  for (int k = 1; k < columns; ++k) cells.used[k - 1] = true;
}

}  // namespace hf::office
