#include "editing/cell_editors.h"

#include <gtest/gtest.h>

#include <functional>

#include "app_fixture.h"
#include "platform/desktop.h"

namespace hf::editing {
namespace {

TEST(EntryEditorText, CollapsesBlankLinesAndTrimsLineBreaks) {
  struct Case {
    std::string in, out;
  } cases[] = {{"a\r\n\r\nb\r\n", "a\r\nb"},
               {"\r\nx\r\n", "x"},
               {"a\r\n\r\n\r\n\r\nb", "a\r\nb"},
               {"plain", "plain"},
               {"\r\n", ""}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.in);
    EXPECT_EQ(entryFromEditor(c.in), c.out);
  }
}

class CellEditorsTest : public AppTest {
 protected:
  void SetUp() override {
    AppTest::SetUp();
    start();
    window_->window().show();
  }
  DataTable& table() { return window_->table(); }
  ui::ListView& list() { return window_->controls().超级列表框1; }
  void doubleClick(int row, int column) {
    list().onCellMouseDown({row, column, false});
    list().onDoubleClick();
  }
  // The user presses on row `from`, drags, and lets go over row `to`'s first column.
  void drag(int from, int to) {
    table().setCurrentRow(from);
    list().onBeginDrag(from);
    const Rect cell = list().cellRect(to, 1);
    window_->window().onMouseUp({cell.left + 2, cell.top + 2});
  }
  std::vector<std::string> entries() {
    std::vector<std::string> out;
    for (int row = 0; row < table().rowCount(); ++row) out.push_back(table().cell(row, 1));
    return out;
  }
};

TEST_F(CellEditorsTest, TheEntryEditorCommitsOnTheHeaderClick) {
  table().appendRow("old");
  list().onHeaderClick(1);  // nothing opened yet: nothing changes
  EXPECT_EQ(table().cell(0, 1), "old");
  doubleClick(0, 1);
  ui::EditBox& editor = window_->controls().编辑框1009;
  ASSERT_TRUE(editor.isVisible());
  EXPECT_EQ(editor.text(), "old\r\n");
  editor.setText("a\r\n\r\nb\r\n");
  list().onHeaderClick(1);
  EXPECT_EQ(table().cell(0, 1), "a\r\nb");
  EXPECT_FALSE(editor.isVisible());
}

// The editor opens with the cell's text and a line break, the caret after them.
TEST_F(CellEditorsTest, TypingInTheEntryEditorAddsToTheEndOfTheCell) {
  const std::pair<std::string, std::string> cases[] = {
      {"NEW", "x1\r\nNEW"},
      {"\r\nNEW\r\n", "x1\r\nNEW"},  // blank lines and the final line break go
      {"", "x1"},
  };
  table().appendRow("x1");
  ui::EditBox& editor = window_->controls().编辑框1009;
  for (const auto& [typed, stored] : cases) {
    SCOPED_TRACE(typed);
    table().setCell(0, 1, "x1");
    doubleClick(0, 1);
    ASSERT_TRUE(editor.hasFocus());
    headless::typeInto(editor, typed);
    list().onHeaderClick(1);
    EXPECT_EQ(table().cell(0, 1), stored);
  }
}

// In the picture modes a new line of the entry editor starts with "#"; the
// clipboard keeps what the user copied, often the path to paste after it.
TEST_F(CellEditorsTest, APictureModeStartsANewEntryLineWithAHash) {
  const std::pair<paste::PasteMode, std::string> cases[] = {
      {paste::PasteMode::ImageText, "x1\r\nC:\\a.bmp\r\n#b"},
      {paste::PasteMode::ImageTextMultiHotkey, "x1\r\nC:\\a.bmp\r\n#b"},
      {paste::PasteMode::ManualHorizontal, "x1\r\nC:\\a.bmp\r\nb"},
  };
  table().appendRow("x1");
  ui::EditBox& editor = window_->controls().编辑框1009;
  for (const auto& [mode, shown] : cases) {
    SCOPED_TRACE(static_cast<int>(mode));
    window_->controls().组合框66.select(static_cast<int>(mode));
    table().setCell(0, 1, "x1");
    ASSERT_TRUE(desktop::setClipboardText("D:\\copied.png"));
    doubleClick(0, 1);
    headless::typeInto(editor, "C:\\a.bmp\r\nb");
    EXPECT_EQ(editor.text(), shown);
    EXPECT_EQ(desktop::clipboardText(), "D:\\copied.png");
    list().onHeaderClick(1);
  }
}

// Changes that keep every row where it is leave an open editor's cell where it was.
TEST_F(CellEditorsTest, AnOpenEditorCommitsAfterChangesThatKeepTheRows) {
  const std::pair<const char*, std::function<void()>> changes[] = {
      {"tick another row", [&] { list().onCheckClicked(0); }},
      {"mark every row", [&] { list().onHeaderClick(0); }},
      {"search with Enter",
       [&] {
         window_->controls().编辑框查询.setText("r");
         window_->controls().编辑框查询.onKeyDown(13);
       }},
      {"batch set",
       [&] {
         list().onCellMouseDown({0, 2});  // the batch selector now fills 跳格
         window_->controls().组合框63.select(4);
         window_->controls().组合框63.onSelectionChanged();
       }},
      {"sweep that removes nothing", [&] { table().removeEmptyRows(); }},
      {"another cell", [&] { table().setCell(0, 1, "changed"); }},
      {"rows appended", [&] { table().appendRow("r4"); }},
  };
  ui::EditBox& entryEditor = window_->controls().编辑框1009;
  ui::EditBox& wordEditor = window_->controls().编辑框1008;
  ui::EditBox& hotkeyEditor = window_->controls().编辑框1007;
  for (const auto& [name, change] : changes) {
    SCOPED_TRACE(name);
    table().clear();
    for (const char* entry : {"r1", "r2", "r3"}) table().appendRow(entry);
    doubleClick(1, 1);
    entryEditor.setText("typed");
    change();
    list().onHeaderClick(1);
    EXPECT_EQ(table().cell(1, 1), "typed");

    doubleClick(2, 3);
    change();
    wordEditor.onFocusLost();
    EXPECT_EQ(table().cell(2, 3), "暂停");

    doubleClick(2, 5);
    hotkeyEditor.setText("F5");
    change();
    hotkeyEditor.onFocusLost();
    EXPECT_EQ(table().cell(2, 5), "F5");
  }
}

// Rows that go or move around an open editor do not send its text to another row.
TEST_F(CellEditorsTest, AnOpenEditorFollowsItsRow) {
  ui::EditBox& editor = window_->controls().编辑框1009;
  for (const char* entry : {"", "a", "b", "c"}) table().appendRow(entry);
  doubleClick(2, 1);  // "b"
  editor.setText("B");
  table().removeEmptyRows();  // the empty row above goes
  table().moveRow(2, 0);      // "c" moves above it
  list().onHeaderClick(1);
  EXPECT_EQ(entries(), (std::vector<std::string>{"c", "a", "B"}));

  doubleClick(1, 1);  // "a"
  editor.setText("A");
  table().deleteRow(1);
  list().onHeaderClick(1);
  EXPECT_EQ(entries(), (std::vector<std::string>{"c", "B"}));
}

TEST_F(CellEditorsTest, WordEditorsWriteTheirWordOrNothing) {
  table().appendRow("x");
  ui::EditBox& editor = window_->controls().编辑框1008;
  doubleClick(0, 3);
  EXPECT_EQ(editor.text(), "暂停");
  editor.onFocusLost();
  EXPECT_EQ(table().cell(0, 3), "暂停");
  doubleClick(0, 3);
  editor.onDoubleClick();
  editor.onFocusLost();
  EXPECT_EQ(table().cell(0, 3), "");
  doubleClick(0, 4);
  editor.onFocusLost();
  EXPECT_EQ(table().cell(0, 4), "回车");

  ui::DropDown& tabs = window_->controls().组合框4;
  doubleClick(0, 2);
  ASSERT_TRUE(tabs.isVisible());
  tabs.select(2);
  tabs.onFocusLost();
  EXPECT_EQ(table().cell(0, 2), "3");
  doubleClick(0, 2);
  EXPECT_EQ(tabs.text(), "3");
  tabs.setText("250");  // typed: the list also takes numbers beyond its items
  tabs.onFocusLost();
  EXPECT_EQ(table().cell(0, 2), "250");
}

TEST_F(CellEditorsTest, DraggedRowsMoveAndAreRenumbered) {
  for (const char* entry : {"r1", "r2", "r3", "r4", "r5"}) table().appendRow(entry);
  table().setMarked(2, true);
  drag(2, 4);
  EXPECT_EQ(entries(), (std::vector<std::string>{"r1", "r2", "r4", "r5", "r3"}));
  EXPECT_TRUE(table().isMarked(4));
  EXPECT_EQ(table().cell(4, 0), "5");
  EXPECT_EQ(table().currentRow(), 4);
  EXPECT_EQ(window_->controls().加载热键.text(), "卸载热键");  // registered again after a drop

  drag(0, 0);  // onto itself: nothing moves
  EXPECT_EQ(entries().front(), "r1");
  window_->table().setCell(1, 1, "");
  drag(1, 3);  // a dragged empty row goes away
  EXPECT_EQ(entries(), (std::vector<std::string>{"r1", "r4", "r5", "r3"}));

  table().setCurrentRow(0);
  list().onBeginDrag(0);
  window_->window().onMouseUp({5, 5});  // let go outside the table: nothing moves
  EXPECT_EQ(entries().front(), "r1");
}

TEST_F(CellEditorsTest, ARowDraggedPastFiftyLosesItsHotkey) {
  for (int i = 1; i <= 56; ++i) table().appendRow("r" + std::to_string(i));
  table().setCell(0, 5, "F3");
  list().ensureVisible(55);
  table().setCurrentRow(0);
  list().onBeginDrag(0);
  window_->window().onMouseUp(
      {list().rect().left + 60, list().rect().top + list().rect().height - 2});
  EXPECT_EQ(table().cell(55, 1), "r1");
  EXPECT_EQ(table().cell(55, 5), "");
}

}  // namespace
}  // namespace hf::editing
