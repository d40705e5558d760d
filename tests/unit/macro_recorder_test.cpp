#include "recorder/macro_recorder.h"

#include <gtest/gtest.h>

#include "macro/slot_files.h"
#include "platform/event_loop.h"
#include "recorder_fixture.h"

namespace hf::recorder {
namespace {

using desktop::MouseButton;
using macro::Step;

constexpr int kCtrl = 0xA2, kC = 0x43, kA = 0x41;

class MacroRecorderTest : public RecorderTest {
 protected:
  void SetUp() override {
    RecorderTest::SetUp();
    c().选择框94.setChecked(true);  // slot 1
  }
  // The record hotkey as the user presses it: the hooks see its keys too.
  void pressRecordHotkey() {
    headless::userKeyDown(kF9);
    ASSERT_TRUE(headless::pressHotkey(0, kF9));
    headless::userKeyUp(kF9);
    loop::preciseWait(20);
  }
  void tap(int key) {
    headless::userKeyDown(key);
    loop::preciseWait(40);
    headless::userKeyUp(key);
    loop::preciseWait(40);
  }
  void click(Point at) {
    headless::userMoveMouse(at);
    headless::userMouseButton(MouseButton::Left, true);
    loop::preciseWait(30);
    headless::userMouseButton(MouseButton::Left, false);
    loop::preciseWait(30);
  }
  std::vector<std::string> column(int column) {
    std::vector<std::string> out;
    for (const Step& step : window_->recordTable().steps()) out.push_back(step[column]);
    return out;
  }
};

TEST_F(MacroRecorderTest, RecordsKeysAndClicksButNeverItsOwnHotkey) {
  pressRecordHotkey();
  ASSERT_EQ(window_->macroPanel().state(), macro::RecorderState::Recording);
  headless::userKeyDown(kCtrl);
  tap(kC);
  headless::userKeyUp(kCtrl);  // records nothing more
  headless::userMoveMouse({5, 5});
  click({300, 200});
  pressRecordHotkey();

  EXPECT_EQ(window_->macroPanel().state(), macro::RecorderState::RecordingStopped);
  EXPECT_EQ(column(macro::kName), (std::vector<std::string>{"Ctrl+C", "左键按下", "左键放开"}));
  EXPECT_EQ(column(macro::kCode), (std::vector<std::string>{"67", "513", "514"}));
  EXPECT_EQ(column(macro::kX), (std::vector<std::string>{"", "300", "300"}));
  EXPECT_EQ(column(macro::kDelay)[2], "30");
  // The stop saved the steps into slot 1.
  EXPECT_EQ(read("数据1.txt"), macro::formatSlotFile(window_->recordTable().steps()));
}

TEST_F(MacroRecorderTest, AStepIsInsertedAfterTheSelectedOne) {
  write("数据1.txt", macro::formatSlotFile({{"1", "按键", "A", "65", "", "", "78"},
                                            {"2", "按键", "B", "66", "", "", "78"}}));
  c().选择框94.onClick();
  window_->recordTable().selectRow(0);
  pressRecordHotkey();
  click({10, 20});
  pressRecordHotkey();
  EXPECT_EQ(column(macro::kName), (std::vector<std::string>{"A", "左键按下", "左键放开", "B"}));
  EXPECT_EQ(column(macro::kNumber), (std::vector<std::string>{"1", "2", "3", "4"}));
}

TEST_F(MacroRecorderTest, NothingIsRecordedOnceStoppedOrSwitchedOff) {
  pressRecordHotkey();
  pressRecordHotkey();
  tap(kA);
  EXPECT_EQ(window_->recordTable().rowCount(), 0);

  pressRecordHotkey();
  c().按钮5.onClick();  // refused while recording
  EXPECT_EQ(c().按钮5.text(), "关zira");
  tap(kA);
  EXPECT_EQ(column(macro::kName), (std::vector<std::string>{"A"}));
}

TEST_F(MacroRecorderTest, AHookTheSystemDroppedIsPutBackWithAHint) {
  pressRecordHotkey();
  headless::dropHooks();
  tap(kA);  // lost while the hook is gone
  loop::preciseWait(2500);
  EXPECT_NE(window_->hints().气球提示框1.text().find("已重新安装"), std::string::npos);
  tap(kC);
  EXPECT_EQ(column(macro::kName), (std::vector<std::string>{"C"}));
}

}  // namespace
}  // namespace hf::recorder
