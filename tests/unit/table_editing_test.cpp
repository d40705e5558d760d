#include "editing/table_editing.h"

#include <gtest/gtest.h>

#include <functional>

#include "app_fixture.h"
#include "feedback/button_colors.h"
#include "paste/paste_modes.h"
#include "platform/headless/target_simulation.h"

namespace hf::editing {
namespace {

using Rows = std::vector<int>;  // row numbers counted from 1
using Texts = std::vector<std::string>;
using paste::PasteMode;
using table::DataTable;

constexpr int kShift = 0x10;
constexpr int kEnter = 13;

class EditingTest : public AppTest {
 protected:
  void SetUp() override {
    AppTest::SetUp();
    start();
  }
  app::MainWindow& w() { return *window_; }
  app::MainControls& c() { return w().controls(); }
  DataTable& table() { return w().table(); }
  ui::ListView& list() { return c().超级列表框1; }

  void fill(const Texts& entries) {
    table().clear();
    for (const std::string& entry : entries) table().appendRow(entry);
  }
  // Rows e1 … en.
  void fillNumbered(int n) {
    Texts entries;
    for (int i = 1; i <= n; ++i) entries.push_back("e" + std::to_string(i));
    fill(entries);
  }
  void fillColumn(int column, const std::string& text) {
    for (int row = 0; row < table().rowCount(); ++row) table().setCell(row, column, text);
  }
  void tick(int number) { list().onCheckClicked(number - 1); }
  void shiftTick(int number) {
    headless::setKeyHeld(kShift, true);
    tick(number);
    headless::setKeyHeld(kShift, false);
  }
  void markOnly(const Rows& numbers) {
    for (int row = 0; row < table().rowCount(); ++row) table().setMarked(row, false);
    for (int number : numbers) table().setMarked(number - 1, true);
  }
  Rows marks() {
    Rows out;
    for (int row = 0; row < table().rowCount(); ++row)
      if (table().isMarked(row)) out.push_back(row + 1);
    return out;
  }
  Texts column(int column) {
    Texts out;
    for (int row = 0; row < table().rowCount(); ++row) out.push_back(table().cell(row, column));
    return out;
  }
  void chooseMode(paste::PasteMode mode) {
    c().组合框66.select(static_cast<int>(mode));
    c().组合框66.onSelectionChanged();
  }
  void pressCell(int row, int column) { list().onCellMouseDown({row, column, false}); }
  void chooseBatch(const std::string& item) {
    c().组合框63.select(item == "循环" ? 100 : std::stoi(item) - 1);
    c().组合框63.onSelectionChanged();
  }
  // A press in random order that delivers one row (each row pauses the
  // cycle), so the cycle has begun; the hotkeys are unloaded again after it.
  void beginRandomCycle() {
    if (c().加载热键.text() == "卸载热键") c().加载热键.onClick();
    fillColumn(3, "暂停");
    table().setCell(0, 5, "F1");
    chooseMode(PasteMode::RandomHorizontal);
    c().加载热键.onClick();
    headless::openTarget(5);
    ASSERT_TRUE(headless::pressHotkey(0, 0x70));
    c().加载热键.onClick();
    fillColumn(3, "");
    table().setCell(0, 5, "");
    ASSERT_EQ(w().engine().deliveredThisCycle(), 1);
  }
};

TEST_F(EditingTest, BatchNumberSetsTheColumnOfThePressedCell) {
  struct Case {
    int column;
    PasteMode mode;
    int n;
    int rows;
    Texts expected;
  } cases[] = {
      {3, PasteMode::ManualHorizontal, 3, 7, {"", "", "暂停", "", "", "暂停", ""}},
      {3, PasteMode::ManualHorizontal, 50, 4, {"", "", "", ""}},
      {4, PasteMode::ManualHorizontal, 2, 5, {"", "回车", "", "回车", ""}},
      {4, PasteMode::AutoVerticalEnter, 3, 3, {"3", "3", "3"}},
      {4, PasteMode::ImageTextArrows, 2, 2, {"2", "2"}},
      {4, PasteMode::ImageText, 2, 2, {"", "回车"}},
      {2, PasteMode::ManualHorizontal, 5, 3, {"5", "5", "5"}},
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(testing::Message()
                 << "column " << k.column << " mode " << static_cast<int>(k.mode) << " N " << k.n);
    chooseMode(k.mode);
    fillNumbered(k.rows);
    for (int col : {2, 3, 4}) fillColumn(col, "x");
    pressCell(0, k.column);
    chooseBatch(std::to_string(k.n));
    EXPECT_EQ(column(k.column), k.expected);
    for (int col : {2, 3, 4})
      if (col != k.column) {
        EXPECT_EQ(column(col), Texts(k.rows, "x")) << col;
      }
  }
}

TEST_F(EditingTest, BatchNumberResetsTheRandomCycleColumnAddressesAndSearchBox) {
  fillNumbered(2);
  beginRandomCycle();
  c().编辑框查询.setText("e");
  chooseBatch("4");  // no batch target yet: nothing else changes
  EXPECT_EQ(w().engine().deliveredThisCycle(), 0);
  EXPECT_EQ(w().modes().officeCells().cells[3], "D1");
  EXPECT_EQ(w().modes().officeCells().cells[9], "J1");
  EXPECT_TRUE(w().modes().officeCells().used[9]);
  EXPECT_EQ(c().编辑框查询.text(), "");
  EXPECT_EQ(column(2), Texts(2, ""));
}

TEST_F(EditingTest, BatchMarksFollowN) {
  const std::pair<int, Rows> cases[] = {{1, {1, 3, 5}}, {2, {2, 4}}, {3, {3}}, {50, {}}};
  fillNumbered(5);
  pressCell(2, 0);
  for (const auto& [n, expected] : cases) {
    SCOPED_TRACE(n);
    markOnly({1, 2, 3, 4, 5});
    chooseBatch(std::to_string(n));
    EXPECT_EQ(marks(), expected);
  }
}

TEST_F(EditingTest, PatternFillRepeatsTheMarkedRowsAndWritesTheCurrentSlot) {
  write("保存B.txt", "a★b★c★d★e★");
  c().打开B.onClick();
  beginRandomCycle();
  table().setCell(0, 2, "1");
  table().setCell(0, 5, "F1");
  table().setCell(1, 2, "2");
  table().setCell(1, 4, "回车");
  table().setCell(2, 5, "F3");
  table().setCell(4, 3, "暂停");
  tick(1);
  tick(2);
  chooseBatch("循环");

  EXPECT_EQ(read("跳快数据B.txt"),
            "1★★★F1\r\n2★★回车★\r\n"
            "1★★★\r\n2★★回车★\r\n1★★★\r\n2★★回车★\r\n");
  EXPECT_FALSE(std::filesystem::exists(file("跳快数据A.txt")));
  EXPECT_EQ(column(2), (Texts{"1", "2", "1", "2", "1"}));
  EXPECT_EQ(column(3), Texts(5, ""));
  EXPECT_EQ(column(4), (Texts{"", "回车", "", "回车", ""}));
  EXPECT_EQ(column(5), (Texts{"F1", "", "F3", "", ""}));  // later rows keep theirs
  EXPECT_EQ(marks(), (Rows{1, 2}));
  EXPECT_EQ(w().engine().deliveredThisCycle(), 0);
}

TEST_F(EditingTest, PatternFillWithoutMarksEmptiesTheSettings) {
  write("保存A.txt", "a★b★");
  write("跳快数据A.txt", "3★暂停★回车★F1\r\n");
  c().打开A.onClick();
  chooseBatch("循环");
  EXPECT_EQ(read("跳快数据A.txt"), "");
  for (int col : {2, 3, 4}) EXPECT_EQ(column(col), Texts(2, "")) << col;
  EXPECT_EQ(column(5), (Texts{"F1", ""}));
}

TEST_F(EditingTest, ShiftTickSetsTheRangeFromThePreviousRowAndSavesTheMarks) {
  const std::pair<int, int> orders[] = {{3, 7}, {7, 3}};
  for (const auto& [first, second] : orders) {
    SCOPED_TRACE(testing::Message() << first << " then " << second);
    fillNumbered(9);
    tick(first);
    shiftTick(second);
    EXPECT_EQ(marks(), (Rows{3, 4, 5, 6, 7}));
    EXPECT_EQ(read("选择框.txt"), "3\r\n4\r\n5\r\n6\r\n7\r\n");
  }
  tick(5);  // unmarks 5
  shiftTick(7);
  EXPECT_EQ(marks(), (Rows{3, 4}));
  EXPECT_EQ(read("选择框.txt"), "3\r\n4\r\n");
}

TEST_F(EditingTest, NumberHeaderMarksEveryRowThenClearsEveryMark) {
  fillNumbered(4);
  tick(2);
  list().onHeaderClick(0);
  EXPECT_EQ(marks(), (Rows{1, 2, 3, 4}));
  list().onHeaderClick(0);
  EXPECT_EQ(marks(), Rows{});
  list().onHeaderClick(0);
  EXPECT_EQ(marks(), (Rows{1, 2, 3, 4}));
}

TEST_F(EditingTest, EntryHeaderCommitsTheOpenEntryEditor) {
  fillNumbered(2);
  pressCell(1, 1);
  list().onDoubleClick();
  c().编辑框1009.setText("typed");
  list().onHeaderClick(1);
  EXPECT_EQ(column(1), (Texts{"e1", "typed"}));
  EXPECT_FALSE(c().编辑框1009.isVisible());
}

TEST_F(EditingTest, SettingsHeadersEmptyTheirColumn) {
  for (int col : {2, 3, 4, 5}) {
    SCOPED_TRACE(col);
    fillNumbered(3);
    for (int other : {2, 3, 4, 5}) fillColumn(other, "x");
    list().onHeaderClick(col);
    for (int other : {2, 3, 4, 5})
      EXPECT_EQ(column(other), Texts(3, other == col ? "" : "x")) << other;
  }
}

TEST_F(EditingTest, SettingsHeaderResetsTheRandomCycleOnlyInRandomMode) {
  fillNumbered(2);
  beginRandomCycle();
  chooseMode(PasteMode::ManualHorizontal);
  list().onHeaderClick(2);
  EXPECT_EQ(w().engine().deliveredThisCycle(), 1);
  beginRandomCycle();
  list().onHeaderClick(3);
  EXPECT_EQ(w().engine().deliveredThisCycle(), 0);
}

TEST_F(EditingTest, HotkeyHeaderReleasesLoadedHotkeys) {
  fillNumbered(2);
  table().setCell(0, 5, "F1");
  c().加载热键.onClick();
  ASSERT_EQ(c().加载热键.text(), "卸载热键");
  list().onHeaderClick(5);
  EXPECT_EQ(c().加载热键.text(), "加载热键");
  EXPECT_FALSE(headless::pressHotkey(0, 0x70));
}

TEST_F(EditingTest, DeleteRemovesTheCurrentRowElseTheMarkedRows) {
  fillNumbered(5);
  tick(1);
  tick(4);
  table().setCurrentRow(2);
  c().删除.onClick();
  EXPECT_EQ(column(1), (Texts{"e1", "e2", "e4", "e5"}));
  EXPECT_EQ(column(0), (Texts{"1", "2", "3", "4"}));
  EXPECT_EQ(marks(), (Rows{1, 3}));

  table().setCurrentRow(-1);
  c().图片框4.setPicture(Image::PickerBullseye);
  c().图片框4.setVisible(true);
  c().删除.onClick();
  EXPECT_EQ(column(1), (Texts{"e2", "e5"}));
  EXPECT_EQ(column(0), (Texts{"1", "2"}));
  EXPECT_EQ(c().图片框4.picture(), Image::None);
  EXPECT_FALSE(c().图片框4.isVisible());
}

// The current row is the paste pointer: it stays on its entry while other
// rows go or move, and is gone with its own row.
TEST_F(EditingTest, TheCurrentRowStaysOnItsEntry) {
  struct Case {
    const char* name;
    Texts rows;
    int current;
    std::function<void()> change;
    std::string currentEntry;  // "" for no current row
  } cases[] = {
      {"delete the current row", {"a", "b", "c"}, 1, [&] { c().删除.onClick(); }, ""},
      {"sweep empty rows above",
       {"", "a", "", "b", "c"},
       3,
       [&] { table().removeEmptyRows(); },
       "b"},
      {"sweep empty rows below", {"a", "b", "", "c"}, 1, [&] { table().removeEmptyRows(); }, "b"},
      {"insert above", {"a", "b"}, 1, [&] { table().insertRow(0, "new"); }, "b"},
      {"insert below the current row", {"a", "b"}, 0, [&] { c().插入.onClick(); }, "a"},
      {"move a row from above to below", {"a", "b", "c"}, 1, [&] { table().moveRow(0, 2); }, "b"},
      {"move a row from below to above", {"a", "b", "c"}, 1, [&] { table().moveRow(2, 0); }, "b"},
      {"delete a row above", {"a", "b", "c"}, 2, [&] { table().deleteRow(0); }, "c"},
      {"clear", {"a", "b"}, 1, [&] { c().按钮2.onClick(); }, ""},
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(k.name);
    fill(k.rows);
    table().setCurrentRow(k.current);
    k.change();
    const int current = table().currentRow();
    EXPECT_EQ(current < 0 ? "" : table().cell(current, 1), k.currentEntry);
  }
}

TEST_F(EditingTest, AnImportSweepDoesNotMakeTheNextPasteSkipAnEntry) {
  fill({"", "a", "b"});
  table().setCurrentRow(1);
  c().导入方式.select(5);  // 空格分割录入: the sweep runs after it
  c().导入方式.onSelectionChanged();
  write("more.txt", "c d");
  ASSERT_TRUE(headless::dropFiles(list(), {file("more.txt")}));
  ASSERT_EQ(column(1), (Texts{"a", "b", "c", "d"}));
  EXPECT_EQ(table().currentRow(), 0);
}

TEST_F(EditingTest, ClearEmptiesTheTableAndReleasesLoadedHotkeys) {
  fillNumbered(3);
  beginRandomCycle();
  table().setCell(0, 5, "F1");
  c().加载热键.onClick();
  ASSERT_EQ(c().加载热键.text(), "卸载热键");
  c().图片框6.setVisible(true);
  c().按钮2.onClick();
  EXPECT_EQ(table().rowCount(), 0);
  EXPECT_EQ(c().加载热键.text(), "加载热键");
  EXPECT_FALSE(headless::pressHotkey(0, 0x70));
  EXPECT_EQ(w().engine().deliveredThisCycle(), 0);
  EXPECT_FALSE(c().图片框6.isVisible());
}

TEST_F(EditingTest, ClearWithTheSamePageEditorInViewEmptiesOnlyItsText) {
  fillNumbered(2);
  c().超级列表框1.setVisible(false);
  c().编辑框25.setVisible(true);
  c().编辑框25.setText("note\r\nmore");
  c().按钮2.onClick();
  EXPECT_EQ(c().编辑框25.text(), "");
  EXPECT_EQ(table().rowCount(), 2);
}

TEST_F(EditingTest, ClearAndDeleteLeaveTheDataTableAloneUnderTheRecordTable) {
  for (ui::Button* button : {&c().按钮2, &c().删除}) {
    SCOPED_TRACE(button->text());
    fillNumbered(2);
    tick(1);
    table().setCurrentRow(-1);
    c().超级列表框2.setVisible(true);  // the record table covers the data table
    button->onClick();
    EXPECT_EQ(table().rowCount(), 2);
    c().超级列表框2.setVisible(false);
  }
}

TEST_F(EditingTest, InsertAddsAnEmptyRowBelowTheCurrentRowOrAtTheTop) {
  const std::pair<int, Texts> cases[] = {{1, {"e1", "e2", "", "e3"}}, {-1, {"", "e1", "e2", "e3"}}};
  for (const auto& [current, expected] : cases) {
    SCOPED_TRACE(current);
    fillNumbered(3);
    table().setCurrentRow(current);
    c().插入.onClick();
    EXPECT_EQ(column(1), expected);
    EXPECT_EQ(column(0), (Texts{"1", "2", "3", "4"}));
  }
}

TEST_F(EditingTest, EnterInTheSearchBox) {
  struct Case {
    std::string search;
    Rows marked;
    Rows expected;
  } cases[] = {
      {"", {1}, {1, 3, 5}}, {"", {2, 5}, {2, 4}},
      {"", {3}, {3}},      // neither of the first two rows marked: nothing happens
      {"b", {3}, {1, 4}},  // earlier marks cleared, case-sensitive
      {"乙", {}, {2}},
  };
  fill({"ab", "AB乙", "c", "xb", "d"});
  for (const Case& k : cases) {
    SCOPED_TRACE(k.search);
    markOnly(k.marked);
    c().编辑框查询.setText(k.search);
    c().编辑框查询.onKeyDown(kEnter);
    EXPECT_EQ(marks(), k.expected);
  }
}

// Nothing the search box starts outlives it: after a search with Enter, 删除
// removes the marked row and a row drag moves rows.
TEST_F(EditingTest, DeleteAndRowDragWorkAfterASearch) {
  write("保存A.txt", "r1★r2★r3★r4★");
  c().打开A.onClick();
  w().window().show();
  c().编辑框查询.onMouseDown();
  headless::typeInto(c().编辑框查询, "r2\r\n");
  ASSERT_EQ(marks(), Rows{2});
  c().删除.onClick();
  EXPECT_EQ(column(1), (Texts{"r1", "r3", "r4"}));

  pressCell(2, 1);
  table().setCurrentRow(2);  // the list selects the pressed row
  list().onBeginDrag(2);
  const Rect target = list().cellRect(0, 1);
  w().window().onMouseUp({target.left + 2, target.top + 2});
  EXPECT_EQ(column(1), (Texts{"r4", "r1", "r3"}));
}

TEST_F(EditingTest, SearchAndMarkAddsToTheMarksAndClearsTheCurrentRow) {
  fill({"ab", "c", "xb"});
  markOnly({2});
  table().setCurrentRow(1);
  c().编辑框查询.setText("b");
  w().editing().searchAndMark();
  EXPECT_EQ(marks(), (Rows{1, 2, 3}));
  EXPECT_EQ(table().currentRow(), -1);
}

TEST_F(EditingTest, EmptyRowSweepKeepsTheOtherRowsWithTheirSettings) {
  fill({"", "a", "", "", "b", ""});
  table().setCell(4, 2, "3");
  table().setCell(4, 5, "F2");
  table().setMarked(4, true);
  table().removeEmptyRows();
  EXPECT_EQ(column(1), (Texts{"a", "b"}));
  EXPECT_EQ(column(0), (Texts{"1", "2"}));
  EXPECT_EQ(table().cell(1, 2), "3");
  EXPECT_EQ(table().cell(1, 5), "F2");
  EXPECT_EQ(marks(), (Rows{2}));
}

TEST_F(EditingTest, CellPressPreparesTheBatchSelector) {
  struct Case {
    int column;
    PasteMode mode;
    std::string target;  // "-" when the press leaves it unchanged
    std::string hint;
  } cases[] = {
      {0, PasteMode::ManualHorizontal, "0", "●批量设置【选择项】！"},
      {2, PasteMode::AllMarked, "2", "●批量设置【列数】！"},
      {2, PasteMode::ManualHorizontal, "2", "●批量设置【跳格数】！"},
      {3, PasteMode::ManualHorizontal, "3", "●批量设置【暂停】！"},
      {4, PasteMode::ManualHorizontal, "4", "●批量设置【回车数】！"},
      {1, PasteMode::ManualHorizontal, "-", ""},
      {5, PasteMode::ManualHorizontal, "-", ""},
  };
  fillNumbered(3);
  for (const Case& k : cases) {
    SCOPED_TRACE(k.column);
    chooseMode(k.mode);
    pressCell(2, 3);  // the target before: 暂停
    w().hints().气球提示框1.hide();
    c().导入方式.focus();
    pressCell(2, k.column);
    EXPECT_EQ(w().editing().batchTarget(), k.target == "-" ? "3" : k.target);
    EXPECT_EQ(w().hints().气球提示框1.isShown(), !k.hint.empty());
    if (!k.hint.empty()) {
      EXPECT_EQ(w().hints().气球提示框1.text(), k.hint);
    }
    EXPECT_TRUE(list().hasFocus());
    EXPECT_EQ(w().editing().lastPressedCell().column, k.column);
  }
  list().onCellMouseDown({});  // below the last row
  EXPECT_EQ(w().editing().lastPressedCell().column, 5);
  EXPECT_EQ(w().editing().batchTarget(), "3");

  c().组合框63.onMouseDown();
  EXPECT_EQ(w().hints().气球提示框1.text(), "●批量设置勾选项\\跳格\\暂停\\");
}

TEST_F(EditingTest, SearchBoxPressSwitchesToOrderedCopyWithoutMarks) {
  fillNumbered(3);
  markOnly({1, 3});
  table().setCurrentRow(1);
  c().按钮104.setText("同页保存");
  c().按钮104.setColor(feedback::kHighlightColor);
  c().编辑框查询.onMouseDown();
  EXPECT_EQ(w().editing().batchTarget(), "0");
  EXPECT_EQ(marks(), Rows{});
  EXPECT_EQ(table().currentRow(), -1);
  EXPECT_EQ(c().按钮102.color(), feedback::kHighlightColor);
  for (ui::Button* button : {&c().按钮1, &c().按钮104, &c().按钮word})
    EXPECT_EQ(button->color(), feedback::kNormalColor) << button->text();
  EXPECT_EQ(c().按钮104.text(), "同页粘贴");
  EXPECT_EQ(w().modes().copyMode(), paste::CopyMode::Ordered);
  EXPECT_TRUE(c().编辑框查询.hasFocus());
}

TEST_F(EditingTest, ViewOpensTheProgramFolder) {
  c().打开.onClick();
  EXPECT_EQ(headless::shellOpened(), Texts{folder_.string()});
}

}  // namespace
}  // namespace hf::editing
