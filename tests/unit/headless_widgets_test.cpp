// Widget state of the headless backend: list view layout and selection,
// focus, drop-down picks, and setters that raise no events.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/headless/simulation.h"
#include "platform/headless/widget_state.h"
#include "platform/ui.h"

namespace {

using hf::ui::ListView;

class Rows : public hf::ui::ListModel {
 public:
  explicit Rows(int count) : count(count) {}
  int rowCount() const override { return count; }
  std::string cellText(int row, int column) const override {
    return std::to_string(row) + ":" + std::to_string(column);
  }
  bool isChecked(int) const override { return false; }
  int count;
};

class Widgets : public ::testing::Test {
 protected:
  void SetUp() override { hf::headless::reset(::testing::TempDir()); }

  hf::ui::Window window{{"main", {460, 480}}};
  // A header, then five rows of 17 px; columns 40, 100 and 60 wide.
  ListView list{window, {{14, 109, 426, 20 + 5 * 17}, {{"a", 40}, {"b", 100}, {"c", 60}}}};
  Rows rows{10};
};

TEST_F(Widgets, SelectionIsClearedWhenItsRowGoes) {
  list.setModel(&rows);
  list.selectRow(8);
  rows.count = 9;
  list.rowsChanged();
  EXPECT_EQ(list.selectedRow(), 8);

  rows.count = 5;
  list.rowsChanged();
  EXPECT_EQ(list.selectedRow(), -1);

  list.selectRow(4);
  list.setModel(nullptr);
  EXPECT_EQ(list.selectedRow(), -1);
  list.setModel(&rows);
  list.selectRow(5);
  EXPECT_EQ(list.selectedRow(), -1);
}

// A point given relative to the list's top left corner, in window client coordinates.
hf::Point inList(hf::Point p) {
  return {14 + p.x, 109 + p.y};
}

TEST_F(Widgets, HitTestFollowsHeaderRowsColumnsAndScrolling) {
  list.setModel(&rows);
  list.setRowHeight(17);
  struct Case {
    hf::Point point;
    ListView::Cell cell;
  };
  const std::vector<Case> unscrolled = {
      {{5, 10}, {-1, -1, false}},    // the header
      {{5, 20}, {0, 0, true}},       // the check box
      {{16, 36}, {0, 0, false}},     // right of it, still column 0
      {{40, 37}, {1, 1, false}},     // first pixel of column 1 and row 1
      {{199, 104}, {4, 2, false}},   // the last visible pixel of a cell
      {{200, 30}, {-1, -1, false}},  // right of every column
  };
  for (const Case& c : unscrolled) {
    SCOPED_TRACE(testing::Message() << c.point.x << "," << c.point.y);
    const ListView::Cell cell = list.hitTest(inList(c.point));
    EXPECT_EQ(cell.row, c.cell.row);
    EXPECT_EQ(cell.column, c.cell.column);
    EXPECT_EQ(cell.onCheckBox, c.cell.onCheckBox);
  }

  list.ensureVisible(7);  // scrolls until row 7 is the last one shown
  EXPECT_EQ(list.topRow(), 3);
  EXPECT_EQ(list.hitTest(inList({50, 20})).row, 3);
  EXPECT_EQ(list.cellRect(7, 1), (hf::Rect{14 + 40, 109 + 20 + 4 * 17, 100, 17}));
  list.ensureVisible(1);
  EXPECT_EQ(list.topRow(), 1);

  rows.count = 2;  // the rows left all fit: back to the top
  list.rowsChanged();
  EXPECT_EQ(list.topRow(), 0);
  EXPECT_EQ(list.hitTest(inList({50, 20 + 2 * 17})).row, -1);
}

TEST_F(Widgets, CellRectanglesHitBackToTheirCell) {
  list.setModel(&rows);
  list.setColumnWidth(1, 30);
  list.ensureVisible(9);
  for (int row = list.topRow(); row < 10; ++row) {
    for (int column = 0; column < list.columnCount(); ++column) {
      const hf::Rect rect = list.cellRect(row, column);
      for (hf::Point corner : {hf::Point{rect.left, rect.top},
                               hf::Point{rect.left + rect.width - 1, rect.top + rect.height - 1}}) {
        const ListView::Cell cell = list.hitTest(corner);
        EXPECT_EQ(cell.row, row);
        EXPECT_EQ(cell.column, column);
      }
    }
  }
}

TEST_F(Widgets, RowsArePaintedOnceAfterABulkRefill) {
  list.setModel(&rows);
  const int before = list.impl().repaints;
  list.setRedraw(false);
  for (int i = 0; i < 3; ++i) list.rowsChanged();
  EXPECT_EQ(list.impl().repaints, before);
  list.setRedraw(true);
  EXPECT_EQ(list.impl().repaints, before + 1);
}

TEST_F(Widgets, OneControlPerWindowHasTheFocus) {
  hf::ui::EditBox first(window, {{0, 0, 50, 20}});
  hf::ui::Window dialog({"dialog", {100, 100}});
  hf::ui::Button inDialog(dialog, {{0, 0, 50, 20}, "OK"});
  {
    hf::ui::EditBox second(window, {{0, 30, 50, 20}});
    first.focus();
    inDialog.focus();
    second.focus();
    EXPECT_FALSE(first.hasFocus());
    EXPECT_TRUE(second.hasFocus());
    EXPECT_TRUE(inDialog.hasFocus());
  }
  EXPECT_EQ(window.impl().focused, nullptr);  // the destroyed control left no focus behind
}

TEST_F(Widgets, DropDownTextIsThePickedItem) {
  hf::ui::DropDown modes(window, {{0, 0, 80, 200}, {"一", "二", "三"}});
  modes.select(1);
  EXPECT_EQ(modes.text(), "二");
  modes.setText("三");
  EXPECT_EQ(modes.selectedIndex(), 2);
  modes.setText("四");
  EXPECT_EQ(modes.selectedIndex(), -1);
  EXPECT_EQ(modes.text(), "");
  modes.select(1);
  modes.setItems({"x"});
  EXPECT_EQ(modes.selectedIndex(), -1);
  modes.select(5);
  EXPECT_EQ(modes.selectedIndex(), -1);
}

TEST_F(Widgets, SettersRaiseNoEvents) {
  int events = 0;
  auto count = [&](auto&&...) { ++events; };
  hf::ui::CheckBox box(window, {{0, 0, 50, 20}, "mark"});
  hf::ui::DropDown modes(window, {{0, 0, 80, 200}, {"a", "b"}});
  hf::ui::EditBox edit(window, {{0, 0, 50, 20}});
  box.onClick = count;
  modes.onSelectionChanged = count;
  edit.onTextChanged = count;
  edit.onFocusLost = count;
  list.onSelectionChanged = count;
  list.setModel(&rows);

  box.setChecked(true);
  modes.select(1);
  modes.setText("a");
  edit.focus();
  edit.setText("typed");
  box.focus();
  list.selectRow(3);

  EXPECT_EQ(events, 0);
  EXPECT_TRUE(box.isChecked());
  EXPECT_EQ(edit.text(), "typed");
}

// Typing goes in at the caret; a new text puts the caret before its first character.
TEST_F(Widgets, TypingGoesInAtTheCaret) {
  hf::ui::EditBox lines(window, {{0, 0, 50, 40}, "", true});
  hf::ui::EditBox line(window, {{0, 0, 50, 20}});
  std::vector<int> keys;
  int changes = 0;
  for (hf::ui::EditBox* box : {&lines, &line}) {
    box->onKeyDown = [&](int key) { keys.push_back(key); };
    box->onTextChanged = [&] { ++changes; };
  }
  lines.setText("ab");
  hf::headless::typeInto(lines, "x");
  lines.putCaretAtEnd();
  hf::headless::typeInto(lines, "\r\n乙");
  EXPECT_EQ(lines.text(), "xab\r\n乙");
  line.setText("ab");
  line.putCaretAtEnd();
  hf::headless::typeInto(line, "c\r\n");
  EXPECT_EQ(line.text(), "abc");  // a one-line box takes no line break
  EXPECT_EQ(keys, (std::vector<int>{0x0D, 0x0D}));
  EXPECT_EQ(changes, 4);
}

}  // namespace
