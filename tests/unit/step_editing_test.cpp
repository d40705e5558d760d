#include "editing/step_editing.h"

#include <gtest/gtest.h>

#include "macro/slot_files.h"
#include "platform/keys.h"
#include "recorder_fixture.h"

namespace hf::editing {
namespace {

using macro::Step;
using Rows = std::vector<int>;

// Slot 1 with six key steps A to F, loaded into the shown record table.
class StepEditingTest : public recorder::RecorderTest {
 protected:
  void SetUp() override {
    RecorderTest::SetUp();
    window_->window().show();  // the delay editor writes only into a shown window
    std::vector<Step> steps;
    for (char name = 'A'; name <= 'F'; ++name)
      steps.push_back({"", "按键", std::string(1, name), std::to_string(int(name)), "", "", "78"});
    loadSlot(steps);
  }
  macro::RecordTable& table() { return window_->recordTable(); }
  ui::ListView& list() { return c().超级列表框2; }
  void tick(int row, bool shift = false) {
    headless::setKeyHeld(keys::kShift, shift);
    list().onCheckClicked(row);
    headless::setKeyHeld(keys::kShift, false);
  }
  Rows marks() {
    Rows out;
    for (int row = 0; row < table().rowCount(); ++row)
      if (table().isChecked(row)) out.push_back(row);
    return out;
  }
  std::string names() {
    std::string out;
    for (const Step& step : table().steps()) out += step[macro::kName];
    return out;
  }
};

TEST_F(StepEditingTest, ShiftMarksEveryStepFromTheOneToggledBefore) {
  tick(2);
  tick(6 - 1, true);
  EXPECT_EQ(marks(), (Rows{2, 3, 4, 5}));
  tick(0, true);  // from row 5 down to row 1 take row 0's new state
  EXPECT_EQ(marks(), (Rows{0, 1, 2, 3, 4, 5}));
  c().超级列表框2.onHeaderClick(macro::kNumber);  // the shared toggle: first click marks all
  c().超级列表框2.onHeaderClick(macro::kNumber);
  EXPECT_EQ(marks(), (Rows{}));
}

TEST_F(StepEditingTest, DeleteRemovesTheMarkedStepsAndSaves) {
  tick(1);
  tick(3);
  c().删除.onClick();
  EXPECT_EQ(names(), "ACEF");
  EXPECT_EQ(table().cell(3, macro::kNumber), "4");
  EXPECT_EQ(read("数据1.txt"), macro::formatSlotFile(table().steps()));

  c().删除.onClick();  // nothing marked: a hint, and the table is still saved
  EXPECT_EQ(window_->hints().气球提示框1.text(), "●勾选删除行！");
  EXPECT_EQ(names(), "ACEF");
}

TEST_F(StepEditingTest, ClearEmptiesTheTableButNotTheSlot) {
  const std::string saved = read("数据1.txt");
  c().按钮2.onClick();
  EXPECT_EQ(table().rowCount(), 0);
  EXPECT_EQ(read("数据1.txt"), saved);
  EXPECT_EQ(window_->table().rowCount(), 0);  // the data table was not touched either way
}

TEST_F(StepEditingTest, ThePressedDelayColumnTakesTheBatchSelectorsNumber) {
  list().onCellMouseDown({2, macro::kDelay});
  EXPECT_EQ(window_->editing().batchTarget(), "6");
  c().组合框63.select(29);  // "30"
  ASSERT_EQ(c().组合框63.text(), "30");
  c().组合框63.onSelectionChanged();
  for (const Step& step : table().steps()) EXPECT_EQ(step[macro::kDelay], "30");
}

TEST_F(StepEditingTest, TheDelayEditorOpensOnTheDelayColumnOnly) {
  ui::EditBox& editor = c().编辑框10;
  list().onCellMouseDown({1, macro::kName});
  list().onDoubleClick();
  EXPECT_FALSE(editor.isVisible());

  list().onCellMouseDown({1, macro::kDelay});
  list().onDoubleClick();
  ASSERT_TRUE(editor.isVisible());
  EXPECT_EQ(editor.text(), "78");
  editor.setText("250");
  editor.onFocusLost();
  EXPECT_FALSE(editor.isVisible());
  EXPECT_EQ(table().cell(1, macro::kDelay), "250");
}

TEST_F(StepEditingTest, ADraggedStepLandsOnTheStepItIsDroppedOn) {
  const auto dragRow = [&](int from, int to) {
    table().selectRow(from);
    list().onBeginDrag(from);
    const Rect cell = list().cellRect(to, macro::kName);
    window_->window().onMouseUp({cell.left + 2, cell.top + cell.height / 2});
  };
  dragRow(0, 2);
  EXPECT_EQ(names(), "BCADEF");
  dragRow(5, 1);
  EXPECT_EQ(names(), "BFCADE");
  EXPECT_EQ(table().cell(5, macro::kNumber), "6");
  EXPECT_EQ(read("数据1.txt"), macro::formatSlotFile(table().steps()));

  c().组合框65.select(1);  // "50": steps stay where they are
  dragRow(0, 3);
  EXPECT_EQ(names(), "BFCADE");
  c().组合框65.select(51);  // "100" again, but the instant preview moves the pointer
  c().选择框16.setChecked(true);
  dragRow(0, 3);
  EXPECT_EQ(names(), "BFCADE");
}

}  // namespace
}  // namespace hf::editing
