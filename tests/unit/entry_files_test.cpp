#include "table/entry_files.h"

#include <gtest/gtest.h>

namespace hf::table {
namespace {

std::vector<std::string> split(std::string text) {
  RowStore rows;
  rows.append(splitEntries(std::move(text)));
  std::vector<std::string> out;
  for (int row = 0; row < rows.size(); ++row) out.emplace_back(rows.entry(row));
  return out;
}

TEST(EntryFiles, SplitsEntriesAtStars) {
  struct Case {
    std::string text;
    std::vector<std::string> entries;
  } cases[] = {
      {"a★b★c★", {"a", "b", "c"}},
      {"a★★b", {"a", "", "b"}},
      {"", {""}},
      {"★", {""}},
      {"no separator", {"no separator"}},
      {"两行\r\n文本★甲", {"两行\r\n文本", "甲"}},
      // The star's bytes A1 EF straddle two characters here ("\xB0\xA1" and "\xEF\x40").
      {"\xB0\xA1\xEF\x40★z", {"\xB0\xA1\xEF\x40", "z"}},
      {"broken\xA1", {"broken\xA1"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(split(c.text), c.entries);
  }
}

TEST(EntryFiles, BatchesCallBackEveryTenThousandEntries) {
  std::string text;
  for (int i = 0; i < 25000; ++i) text += "e★";
  int batches = 0;
  const auto pieces = splitEntries(text, [&] { ++batches; });
  EXPECT_EQ(pieces.size(), 25000u);
  EXPECT_EQ(batches, 2);
}

TEST(EntryFiles, FormatsEntriesAndRowSettings) {
  RowStore rows;
  rows.append(splitEntries("a★b★c★"));
  rows.setCell(0, 2, "2");
  EXPECT_EQ(formatEntries(rows), "a★b★c★");
  EXPECT_EQ(formatRowSettings(rows), "2★★★\r\n★★★\r\n★★★\r\n");
  rows.setCell(1, 1, "has ★ inside");
  EXPECT_EQ(firstEntryWithStar(rows), 1);
}

TEST(EntryFiles, RowSettingsFillExistingRowsOnly) {
  RowStore rows;
  rows.append(splitEntries("a★b★"));
  rows.setCell(1, 5, "Ctrl+F2");
  applyRowSettings("1★暂停★回车★Alt+A★extra\r\n3★★\r\n9★9★9★9\r\n", rows);
  EXPECT_EQ(rows.cell(0, 2), "1");
  EXPECT_EQ(rows.cell(0, 3), "暂停");
  EXPECT_EQ(rows.cell(0, 4), "回车");
  EXPECT_EQ(rows.cell(0, 5), "Alt+A");
  EXPECT_EQ(rows.cell(1, 2), "3");
  EXPECT_EQ(rows.cell(1, 5), "Ctrl+F2");  // a line without the field keeps the hotkey
  EXPECT_EQ(rows.size(), 2);
}

TEST(EntryFiles, CheckFileListsAndRestoresMarks) {
  RowStore rows;
  rows.append(splitEntries("a★b★c★d★e"));
  rows.setMarked(1, true);
  rows.setMarked(3, true);
  EXPECT_EQ(formatCheckFile(rows), "2\r\n4\r\n");

  RowStore reopened;
  reopened.append(splitEntries("a★b★c★d★e"));
  reopened.setMarked(0, true);
  applyCheckFile("2\r\n4\r\nnot a number\r\n99\r\n0\r\n", reopened);
  for (int row = 0; row < reopened.size(); ++row)
    EXPECT_EQ(reopened.isMarked(row), row == 0 || row == 1 || row == 3) << row;
}

}  // namespace
}  // namespace hf::table
