// The report list: rows read from a model, the selected row, columns, and
// where cells are. Positions are the parent window's client units, so a cell
// rectangle and a hit test agree whatever the header and the check boxes take.
#include <memory>
#include <string>
#include <tuple>
#include <vector>

#include "contract/backend.h"
#include "platform/event_loop.h"
#include "platform/ui.h"

namespace {

using hf::Point;
using hf::Rect;
using hf::ui::ListView;

struct NumberedRows : hf::ui::ListModel {
  int rowCount() const override { return count; }
  std::string cellText(int row, int column) const override {
    return "行" + std::to_string(row) + "列" + std::to_string(column);
  }
  bool isChecked(int row) const override { return row % 3 == 0; }
  int count = 1000000;
};

constexpr int kRowHeight = 17;

class ListRows : public contract::WindowTest {
 protected:
  void SetUp() override {
    WindowTest::SetUp();
    if (IsSkipped()) return;
    list = std::make_unique<ListView>(
        window(), ListView::Args{{14, 109, 420, 300}, {{"序号", 60}, {"B", 120}, {"C", 120}}});
    list->setRowHeight(kRowHeight);
    list->setModel(&rows);
    hf::loop::processPending();
  }
  void TearDown() override {
    list.reset();
    WindowTest::TearDown();
  }

  ListView::Cell hit(Point point) const { return list->hitTest(point); }
  static Point middleOf(Rect cell) {
    return {cell.left + cell.width / 2, cell.top + cell.height / 2};
  }
  // The last row that a cell rectangle shows fully inside the list.
  int lastFullRow() const {
    const Rect area = list->rect();
    int row = list->topRow();
    while (row + 1 < rows.count) {
      const Rect next = list->cellRect(row + 1, 0);
      if (next.top + next.height > area.top + area.height) break;
      ++row;
    }
    return row;
  }

  NumberedRows rows;
  std::unique_ptr<ListView> list;
};

// A cell as (row, column, on its check box), so a failure prints all three.
std::tuple<int, int, bool> fields(ListView::Cell cell) {
  return {cell.row, cell.column, cell.onCheckBox};
}

TEST_F(ListRows, CellRectanglesAndHitTestsAgreeFarDownAMillionRows) {
  list->setColumnWidth(1, 30);
  list->ensureVisible(500000);
  hf::loop::processPending();
  const int top = list->topRow();
  EXPECT_LE(top, 500000);
  EXPECT_GT(top, 500000 - 30);

  for (int row : {top, 500000}) {
    for (int column = 0; column < list->columnCount(); ++column) {
      SCOPED_TRACE(testing::Message() << "row " << row << ", column " << column);
      const Rect cell = list->cellRect(row, column);
      EXPECT_EQ(cell.height, kRowHeight);
      EXPECT_EQ(cell.width, list->columnWidth(column));
      const Point corners[] = {{cell.left, cell.top},
                               {cell.left + cell.width - 1, cell.top + cell.height - 1}};
      for (Point corner : corners) {
        EXPECT_EQ(hit(corner).row, row);
        EXPECT_EQ(hit(corner).column, column);
      }
      EXPECT_EQ(fields(hit(middleOf(cell))), std::tuple(row, column, false));
    }
  }
  const Rect first = list->cellRect(500000, 0);
  EXPECT_EQ(fields(hit({first.left + 10, first.top + 8})), std::tuple(500000, 0, true));
}

TEST_F(ListRows, RowsLieBelowEachOtherAndColumnsBesideEachOther) {
  const Rect origin = list->cellRect(0, 0);
  for (int row : {0, 1, 5}) {
    int left = origin.left;
    for (int column = 0; column < list->columnCount(); ++column) {
      SCOPED_TRACE(testing::Message() << "row " << row << ", column " << column);
      const Rect cell = list->cellRect(row, column);
      EXPECT_EQ(cell.top, origin.top + row * kRowHeight);
      EXPECT_EQ(cell.left, left);
      left += list->columnWidth(column);
    }
  }
  EXPECT_EQ(list->cellRect(0, 3), Rect{}) << "no such column";
}

TEST_F(ListRows, PointsBesideTheRowsHitNoRow) {
  rows.count = 5;
  list->rowsChanged();
  hf::loop::processPending();
  const Rect area = list->rect();
  const Rect first = list->cellRect(0, 1);
  const Rect last = list->cellRect(4, 1);
  struct Case {
    const char* where;
    Point point;
  };
  const std::vector<Case> cases = {
      {"the header", {first.left + 5, (area.top + first.top) / 2}},
      {"below the last row", {last.left + 5, last.top + last.height + kRowHeight / 2}},
      {"right of every column", {list->cellRect(0, 0).left + 320, first.top + 5}},
      {"beside the list", {area.left - 5, first.top + 5}},
      {"the window's corner", {1, 1}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.where);
    EXPECT_EQ(hit(c.point).row, -1);
  }
}

TEST_F(ListRows, EnsureVisibleScrollsNoFurtherThanNeeded) {
  rows.count = 100;
  list->rowsChanged();
  const int shown = lastFullRow() + 1;
  ASSERT_GT(shown, 3);

  list->ensureVisible(shown + 4);  // below: it becomes the last row shown
  hf::loop::processPending();
  EXPECT_EQ(list->topRow(), 5);
  EXPECT_EQ(lastFullRow(), shown + 4);
  EXPECT_EQ(hit(middleOf(list->cellRect(shown + 4, 2))).row, shown + 4);

  list->ensureVisible(7);  // already shown: nothing moves
  EXPECT_EQ(list->topRow(), 5);
  list->ensureVisible(1);  // above: it becomes the top row
  hf::loop::processPending();
  EXPECT_EQ(list->topRow(), 1);
  EXPECT_EQ(list->cellRect(1, 0).top, list->cellRect(0, 0).top + kRowHeight);
}

TEST_F(ListRows, RowsThatAllFitScrollBackToTheTop) {
  rows.count = 100;
  list->rowsChanged();
  list->ensureVisible(60);
  hf::loop::processPending();
  ASSERT_GT(list->topRow(), 0);

  rows.count = 2;
  list->rowsChanged();
  hf::loop::processPending();
  EXPECT_EQ(list->topRow(), 0);
  const Rect second = list->cellRect(1, 1);
  EXPECT_EQ(hit(middleOf(second)).row, 1);
  EXPECT_EQ(hit({second.left + 5, second.top + second.height + kRowHeight / 2}).row, -1);
}

TEST_F(ListRows, SelectionGoesWithItsRow) {
  rows.count = 10;
  list->rowsChanged();
  list->selectRow(8);
  EXPECT_EQ(list->selectedRow(), 8);
  rows.count = 9;
  list->rowsChanged();
  EXPECT_EQ(list->selectedRow(), 8);
  rows.count = 5;
  list->rowsChanged();
  EXPECT_EQ(list->selectedRow(), -1);

  list->selectRow(4);
  list->selectRow(-1);
  EXPECT_EQ(list->selectedRow(), -1);
  list->selectRow(5);  // beyond the rows
  EXPECT_EQ(list->selectedRow(), -1);

  list->selectRow(4);
  list->setModel(nullptr);
  EXPECT_EQ(list->selectedRow(), -1);
  list->setModel(&rows);
  EXPECT_EQ(list->selectedRow(), -1);
}

TEST_F(ListRows, ColumnsKeepTheirTitlesAndWidthsInUnits) {
  EXPECT_EQ(list->columnCount(), 3);
  EXPECT_EQ(list->columnTitle(0), "序号");
  list->setColumnTitle(2, "跳格");
  EXPECT_EQ(list->columnTitle(2), "跳格");
  list->setColumnTitle(3, "none");
  EXPECT_EQ(list->columnTitle(3), "");

  EXPECT_EQ(list->columnWidth(1), 120);
  list->setColumnWidth(1, 0);  // a hidden column
  EXPECT_EQ(list->columnWidth(1), 0);
  EXPECT_EQ(list->cellRect(0, 2).left, list->cellRect(0, 0).left + 60);
  list->setColumnWidth(1, 181);
  EXPECT_EQ(list->columnWidth(1), 181);
  list->setColumnWidth(7, 50);
  EXPECT_EQ(list->columnWidth(7), 0);
}

}  // namespace
