// The row cycle of the Excel mode over the cell addresses and switches.
#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "office/excel_cells.h"

namespace hf::office {
namespace {

TEST(ExcelCells, OnlyOneToTenIsAColumnCount) {
  const std::vector<std::pair<std::string, std::optional<int>>> cases = {{"1", 1},
                                                                         {"2", 2},
                                                                         {"10", 10},
                                                                         {"11", std::nullopt},
                                                                         {"100", std::nullopt},
                                                                         {"循环", std::nullopt},
                                                                         {"", std::nullopt},
                                                                         {"03", std::nullopt},
                                                                         {"0", std::nullopt},
                                                                         {"2 ", std::nullopt}};
  for (const auto& [text, expected] : cases) EXPECT_EQ(columnCount(text), expected) << text;
}

// Captures one after another while the sheet's used rows grow as Excel's do:
// each address is the one the capture is pasted at.
std::vector<std::string> cycle(int columns, int captures, int usedRows) {
  paste::OfficeCells cells;
  std::vector<std::string> addresses;
  int lowestRow = usedRows;
  for (int i = 0; i < captures; ++i) {
    const NextCell next = nextCell(cells, columns);
    if (next.column == 0) break;
    if (next.newRow) startRow(cells, columns, lowestRow);
    const std::string address = cells.cells[next.column - 1];
    addresses.push_back(address);
    lowestRow = std::max(lowestRow, std::stoi(address.substr(1)));
    columnFilled(cells, columns, next.column);
  }
  return addresses;
}

TEST(ExcelCells, CapturesFillARowThenStartTheNextBelowTheUsedRange) {
  struct Case {
    int columns, captures, usedRows;
    std::vector<std::string> addresses;
  };
  const std::vector<Case> cases = {
      {1, 3, 1, {"A2", "A3", "A4"}},
      {2, 5, 1, {"A2", "B2", "A3", "B3", "A4"}},
      {3, 7, 1, {"A2", "B2", "C2", "A3", "B3", "C3", "A4"}},
      {3, 2, 6, {"A7", "B7"}},
      {10, 11, 1, {"A2", "B2", "C2", "D2", "E2", "F2", "G2", "H2", "I2", "J2", "A3"}},
  };
  for (const Case& k : cases)
    EXPECT_EQ(cycle(k.columns, k.captures, k.usedRows), k.addresses) << k.columns;
}

TEST(ExcelCells, ANewRowMovesOnlyTheChosenColumns) {
  paste::OfficeCells cells;
  startRow(cells, 3, 41);
  EXPECT_EQ(cells.cells[0], "A42");
  EXPECT_EQ(cells.cells[2], "C42");
  EXPECT_EQ(cells.cells[3], "D1");
}

TEST(ExcelCells, TheLastColumnsSwitchStaysOnAndACountOutsideOneToTenPastesNothing) {
  paste::OfficeCells cells;
  for (int column : {1, 2, 3}) columnFilled(cells, 3, column);
  EXPECT_EQ(cells.used, (paste::OfficeCells{}.used));
  EXPECT_EQ(nextCell(cells, 0), NextCell{});
  EXPECT_EQ(nextCell(cells, 11), NextCell{});
  // Every switch off: only a single column still has a cell to go to.
  for (bool& used : cells.used) used = false;
  EXPECT_EQ(nextCell(cells, 4), NextCell{});
  EXPECT_EQ(nextCell(cells, 1), (NextCell{1, true}));
}

}  // namespace
}  // namespace hf::office
