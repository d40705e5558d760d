#include "table/row_store.h"

#include <gtest/gtest.h>

#include "table/entry_files.h"

namespace hf::table {
namespace {

std::vector<std::string> entries(const RowStore& rows) {
  std::vector<std::string> out;
  for (int row = 0; row < rows.size(); ++row) out.emplace_back(rows.entry(row));
  return out;
}

TEST(RowStore, KeepsCellsMarksAndNumbersThroughEdits) {
  RowStore rows;
  rows.append(splitEntries("a★b★c★"));
  rows.insert(1, 9, "new");
  rows.setCell(1, 5, "Ctrl+F1");
  rows.setCell(2, 2, "3");
  rows.setMarked(2, true);
  EXPECT_EQ(entries(rows), (std::vector<std::string>{"a", "new", "b", "c"}));
  EXPECT_EQ(rows.cell(1, 0), "9");  // a row keeps its number until renumbered
  EXPECT_EQ(rows.cell(2, 0), "2");

  rows.move(2, 0);  // "b" with its mark and column 2 goes to the top
  EXPECT_EQ(entries(rows), (std::vector<std::string>{"b", "a", "new", "c"}));
  EXPECT_TRUE(rows.isMarked(0));
  EXPECT_EQ(rows.cell(0, 2), "3");
  EXPECT_EQ(rows.cell(2, 5), "Ctrl+F1");

  rows.erase(1);
  rows.renumber();
  EXPECT_EQ(entries(rows), (std::vector<std::string>{"b", "new", "c"}));
  for (int row = 0; row < rows.size(); ++row) EXPECT_EQ(rows.cell(row, 0), std::to_string(row + 1));
  EXPECT_TRUE(rows.isMarked(0));
  EXPECT_EQ(rows.cell(0, 0), "1");  // the mark does not leak into the number
}

// Each followed row is the entry of the same name; "-" stands for a row that went.
TEST(RowStore, FollowedRowsStayWithTheirEntries) {
  RowStore rows;
  rows.append(splitEntries("a★★b★c★d★"));
  std::vector<RowStore::FollowedRow> followed;
  for (int row = 0; row < rows.size(); ++row) followed.push_back(rows.follow(row));
  const auto where = [&] {
    std::vector<std::string> out;
    for (const auto& row : followed) out.push_back(*row < 0 ? "-" : std::string(rows.entry(*row)));
    return out;
  };
  const int unchanged = rows.layoutVersion();
  rows.append(splitEntries("e★"));
  rows.insert(rows.size(), 0, "f");
  rows.setMarked(0, true);
  rows.eraseIf([](int) { return false; });
  EXPECT_EQ(rows.layoutVersion(), unchanged);  // no index went to another row

  rows.insert(0, 0, "new");
  rows.eraseIf([&](int row) { return rows.entry(row).empty(); });
  rows.move(3, 1);  // "c" above "a"
  rows.erase(4);    // "d"
  EXPECT_EQ(where(), (std::vector<std::string>{"a", "-", "b", "c", "-"}));
  EXPECT_GT(rows.layoutVersion(), unchanged);
  rows.clear();
  EXPECT_EQ(where(), std::vector<std::string>(5, "-"));
}

TEST(RowStore, CellsOutsideTheTableReadEmptyAndIgnoreWrites) {
  RowStore rows;
  rows.insert(0, 1, "x");
  for (auto [row, column] : {std::pair{-1, 1}, {1, 1}, {0, 6}, {0, -1}}) {
    rows.setCell(row, column, "ignored");
    EXPECT_EQ(rows.cell(row, column), "");
  }
  rows.setMarked(5, true);
  EXPECT_FALSE(rows.isMarked(5));
  rows.erase(3);
  rows.move(0, 4);
  EXPECT_EQ(rows.size(), 1);
}

TEST(RowStore, ManyEditsKeepEveryEntryIntact) {
  RowStore rows;
  rows.append(splitEntries(std::string(3000, 'x') + "★tail★"));
  for (int i = 0; i < 2000; ++i) rows.setCell(0, 1, std::string(1000 + i % 7, 'a' + i % 26));
  EXPECT_EQ(rows.entry(1), "tail");
  EXPECT_EQ(rows.entry(0), std::string(1000 + 1999 % 7, 'a' + 1999 % 26));
  EXPECT_LT(rows.memoryBytes(), 8u << 20);  // old texts are reclaimed
}

TEST(RowStore, AppendingAfterExistingRowsNumbersOnward) {
  RowStore rows;
  rows.insert(0, 1, "first");
  rows.append(splitEntries("x★y"));
  EXPECT_EQ(entries(rows), (std::vector<std::string>{"first", "x", "y"}));
  EXPECT_EQ(rows.cell(2, 0), "3");
}

}  // namespace
}  // namespace hf::table
