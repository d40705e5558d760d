#include <windows.h>

#include <commctrl.h>

#include <string>
#include <vector>

#include "platform/text_codec.h"
#include "window_fixture.h"

namespace {

using hf::ui::ListView;

class NumberedRows : public hf::ui::ListModel {
 public:
  int rowCount() const override { return rows; }
  std::string cellText(int row, int column) const override {
    return "\xD0\xD0" + std::to_string(row) + "\xC1\xD0" + std::to_string(column);  // 行 r 列 c
  }
  bool isChecked(int row) const override { return row % 3 == 0; }
  int rows = 1000000;
};

class ListViewTest : public WindowTest {
 protected:
  void SetUp() override {
    WindowTest::SetUp();
    if (IsSkipped()) return;
    list_ = std::make_unique<ListView>(
        *window_,
        ListView::Args{{10, 10, 420, 300}, {{"\xD0\xF2\xBA\xC5", 60}, {"B", 120}, {"C", 120}}});
    list_->setRowHeight(17);
    list_->setModel(&rows_);
    hf::loop::processPending();
  }

  std::string itemText(int row, int column) const {
    wchar_t buffer[64] = {};
    ListView_GetItemText(hwndOf(*list_), row, column, buffer, 64);
    std::wstring wide(buffer);
    return hf::codec::utf16ToGbk(std::u16string(wide.begin(), wide.end()));
  }

  // The middle of a cell, in the window's client pixels.
  POINT pixelsIn(hf::Rect cell, int dx) const {
    return {window_->scaled(cell.left + dx), window_->scaled(cell.top + cell.height / 2)};
  }

  void click(POINT windowClient) {
    POINT point = windowClient;
    MapWindowPoints(hwnd(), hwndOf(*list_), &point, 1);
    PostMessageW(hwndOf(*list_), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(point.x, point.y));
    PostMessageW(hwndOf(*list_), WM_LBUTTONUP, 0, MAKELPARAM(point.x, point.y));
    hf::loop::pause(50);
  }

  NumberedRows rows_;
  std::unique_ptr<ListView> list_;
};

TEST_F(ListViewTest, ShowsAMillionModelRowsThroughTheControl) {
  HWND list = hwndOf(*list_);
  EXPECT_EQ(ListView_GetItemCount(list), 1000000);
  EXPECT_EQ(itemText(999999, 2), rows_.cellText(999999, 2));
  EXPECT_EQ(itemText(0, 0), rows_.cellText(0, 0));
  EXPECT_EQ(ListView_GetItemState(list, 3, LVIS_STATEIMAGEMASK), INDEXTOSTATEIMAGEMASK(2u));
  EXPECT_EQ(ListView_GetItemState(list, 4, LVIS_STATEIMAGEMASK), INDEXTOSTATEIMAGEMASK(1u));

  rows_.rows = 10;
  list_->rowsChanged();
  EXPECT_EQ(ListView_GetItemCount(list), 10);
}

TEST_F(ListViewTest, RaisesEventsForUserClicksOnly) {
  std::vector<int> checkClicks;
  std::vector<ListView::Cell> pressed;
  int selectionChanges = 0;
  list_->onCheckClicked = [&](int row) { checkClicks.push_back(row); };
  list_->onCellMouseDown = [&](ListView::Cell cell) { pressed.push_back(cell); };
  list_->onSelectionChanged = [&] { ++selectionChanges; };

  hf::Rect text = list_->cellRect(2, 1);
  click(pixelsIn(text, text.width / 2));
  EXPECT_EQ(list_->selectedRow(), 2);
  EXPECT_EQ(selectionChanges, 1);
  ASSERT_EQ(pressed.size(), 1u);
  EXPECT_EQ(pressed[0].row, 2);
  EXPECT_EQ(pressed[0].column, 1);
  EXPECT_TRUE(checkClicks.empty());

  click(pixelsIn(list_->cellRect(4, 0), 10));
  EXPECT_EQ(checkClicks, std::vector<int>{4});
  ASSERT_EQ(pressed.size(), 2u);
  EXPECT_TRUE(pressed[1].onCheckBox);

  // A press below the rows keeps the selected row, the paste pointer.
  rows_.rows = 5;
  list_->rowsChanged();
  const int selected = list_->selectedRow();
  const int changes = selectionChanges;
  const hf::Rect last = list_->cellRect(4, 1);
  click({window_->scaled(last.left + 10), window_->scaled(last.top + 3 * last.height)});
  ASSERT_EQ(pressed.size(), 3u);
  EXPECT_EQ(pressed[2].row, -1);
  EXPECT_EQ(list_->selectedRow(), selected);
  EXPECT_EQ(selectionChanges, changes);
}

TEST_F(ListViewTest, ColumnsShowTheirTitlesAndScaledWidths) {
  list_->setColumnTitle(2, "\xCC\xF8\xB8\xF1");  // 跳格
  wchar_t title[16] = {};
  LVCOLUMNW column{};
  column.mask = LVCF_TEXT;
  column.pszText = title;
  column.cchTextMax = 16;
  ListView_GetColumn(hwndOf(*list_), 2, &column);
  EXPECT_STREQ(title, L"\u8DF3\u683C");

  list_->setColumnWidth(1, 181);
  EXPECT_EQ(ListView_GetColumnWidth(hwndOf(*list_), 1), window_->scaled(181));
}

}  // namespace
