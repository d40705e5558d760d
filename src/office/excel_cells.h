#pragma once

#include <optional>
#include <string_view>

#include "paste/working_modes.h"

// The row cycle of the Excel mode as plain rules over the ten cell addresses
// and their switches: each capture fills the next column of the current row,
// over 1 to 10 columns, and a new row starts below the sheet's used range.
namespace hf::office {

inline constexpr int kMaxColumns = 10;

// The column count of the batch selector's text: "1" … "10"; any other text
// ("11" … "100", "循环") pastes nothing.
std::optional<int> columnCount(std::string_view text);

// Where the next capture goes: column 1 … N, and whether a new row starts
// there (its addresses then follow the sheet's used rows). Column 0: none.
struct NextCell {
  int column = 0;
  bool newRow = false;
  friend bool operator==(const NextCell&, const NextCell&) = default;
};
NextCell nextCell(const paste::OfficeCells& cells, int columns);

// A new row: the addresses of columns 1 … N move to the row below the used
// rows; those beyond N stay as they are.
void startRow(paste::OfficeCells& cells, int columns, int usedRows);

// Column k has received its capture: the switches move on to the next column,
// or after the last one back to a new row.
void columnFilled(paste::OfficeCells& cells, int columns, int column);

}  // namespace hf::office
