// Events that arrive while a handler waits (every pause processes them) must
// not mix up the user's data.
#include <gtest/gtest.h>

#include "app_fixture.h"
#include "feedback/button_colors.h"
#include "platform/event_loop.h"

namespace hf::app {
namespace {

using feedback::kHighlightColor;
using feedback::kNormalColor;

using ReentryTest = AppTest;

TEST_F(ReentryTest, OpeningAnotherSlotDuringALoadKeepsOnlyThatSlot) {
  std::string big;
  for (int i = 0; i < 25000; ++i) big += "a★";
  write("保存A.txt", big);
  write("保存B.txt", "b1★b2★");
  MainWindow& w = start();
  headless::at(loop::nowMs(), [&] { w.controls().打开B.onClick(); });  // runs inside A's load
  w.controls().打开A.onClick();
  EXPECT_EQ(w.table().rowCount(), 2);
  EXPECT_EQ(w.table().cell(0, 1), "b1");
  EXPECT_EQ(w.controls().打开B.color(), kHighlightColor);
}

TEST_F(ReentryTest, AnOpenEditorDoesNotWriteIntoAnotherTable) {
  write("保存B.txt", "b0★b1★b2★");
  MainWindow& w = start();
  w.window().show();
  for (const char* entry : {"a0", "a1", "a2"}) w.table().appendRow(entry);
  ui::ListView& list = w.controls().超级列表框1;
  list.onCellMouseDown({2, 1, false});
  list.onDoubleClick();
  w.controls().编辑框1009.setText("edited");
  w.controls().打开B.onClick();
  list.onHeaderClick(1);
  EXPECT_EQ(w.table().cell(2, 1), "b2");
  EXPECT_FALSE(w.controls().编辑框1009.isVisible());
}

TEST_F(ReentryTest, UnloadingDuringALoadLeavesNoHotkeyBehind) {
  MainWindow& w = start();
  for (const char* hotkey : {"F3", "F4", "F5", "F6"}) {
    w.table().appendRow("x");
    w.table().setCell(w.table().rowCount() - 1, 5, hotkey);
  }
  headless::at(loop::nowMs() + 45, [&] { w.controls().加载热键.onClick(); });
  w.controls().加载热键.onClick();
  EXPECT_EQ(w.controls().加载热键.text(), "加载热键");
  EXPECT_EQ(headless::registeredHotkeys().size(), 1u);  // the back-quote key only
}

TEST_F(ReentryTest, AFolderDroppedOnTheTableImportsNothing) {
  MainWindow& w = start();
  w.controls().导入方式.select(2);  // 单次录入 reads the one dropped file
  std::filesystem::create_directory(file("folder"));
  ASSERT_TRUE(headless::dropFiles(w.controls().超级列表框1, {file("folder")}));
  EXPECT_EQ(w.table().rowCount(), 1);
  EXPECT_EQ(w.table().cell(0, 1), "");
}

}  // namespace
}  // namespace hf::app
