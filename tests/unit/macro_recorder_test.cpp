#include "recorder/macro_recorder.h"

#include <gtest/gtest.h>

#include "feedback/button_colors.h"
#include "macro/slot_files.h"
#include "platform/event_loop.h"
#include "platform/headless/popup_simulation.h"
#include "recorder_fixture.h"
#include "text/numbers.h"

namespace hf::recorder {
namespace {

using desktop::MouseButton;
using macro::Step;

constexpr int kCtrl = 0xA2, kC = 0x43, kA = 0x41, kF8 = 0x77;

// What the user's hand does on the capture window.
enum class Hand { Down, Up, Move, DoubleClick };

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
  void drag(Point from, Point to) {
    headless::userMoveMouse(from);
    headless::userMouseButton(MouseButton::Left, true);
    loop::preciseWait(30);
    headless::userMoveMouse(to);
    headless::userMouseButton(MouseButton::Left, false);
    loop::preciseWait(30);
  }
  // The user's hand on the capture window in front at virtual time `at`; the
  // desktop's hooks see each event as well, as the system's hooks do.
  static void onCapture(std::int64_t at, Hand hand, Point point) {
    headless::at(at, [=] {
      headless::userMoveMouse(point);
      if (hand == Hand::Down || hand == Hand::DoubleClick)
        headless::userMouseButton(MouseButton::Left, true);
      if (hand == Hand::Up) headless::userMouseButton(MouseButton::Left, false);
      ui::Popup* popup = headless::popupInFront();
      if (!popup) return;
      switch (hand) {
        case Hand::Down:
          headless::mouseDown(*popup, ui::MouseButton::Left, point);
          break;
        case Hand::Up:
          headless::mouseUp(*popup, ui::MouseButton::Left, point);
          break;
        case Hand::Move:
          headless::mouseMove(*popup, point);
          break;
        case Hand::DoubleClick:
          headless::doubleClick(*popup, point);
          break;
      }
    });
  }
  static bool sent(int virtualKey) {
    for (const auto& event : headless::keyEvents())
      if (event.virtualKey == virtualKey) return true;
    return false;
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

// A drag over text copies it while 反撇号键粘贴 is on: during a recording its
// Ctrl+C would become steps that copy (or cut) again at every replay.
TEST_F(MacroRecorderTest, TheRecorderEndsTheDragCopyAndADragRecordsOnlyItsButtons) {
  const auto dragCopyOn = [&] {
    c().按钮66.onClick();
    ASSERT_EQ(c().按钮66.text(), "关闭复制");
  };
  const auto expectDragCopyOff = [&] {
    EXPECT_EQ(c().按钮66.text(), "反撇号键粘贴");
    EXPECT_EQ(c().按钮66.color(), feedback::kNormalColor);
    EXPECT_FALSE(window_->modes().selectionCopyOn());
  };
  {
    SCOPED_TRACE("switched on with the drag copy on");
    c().按钮5.onClick();  // off: the data table is back
    dragCopyOn();
    c().按钮5.onClick();
    ASSERT_EQ(c().按钮5.text(), "关zira");
    expectDragCopyOff();
    pressRecordHotkey();
    drag({100, 100}, {300, 100});
    loop::preciseWait(1000);
    pressRecordHotkey();
    EXPECT_EQ(column(macro::kName), (std::vector<std::string>{"左键按下", "左键放开"}));
    EXPECT_FALSE(sent(kC));
  }
  {
    SCOPED_TRACE("the drag copy chosen again in table mode, then a recording");
    window_->recordTable().clear();
    c().按钮15.onClick();  // 隐藏: table mode, the recorder stays on
    dragCopyOn();
    pressRecordHotkey();
    expectDragCopyOff();
    drag({100, 100}, {300, 100});
    loop::preciseWait(1000);
    pressRecordHotkey();
    EXPECT_EQ(column(macro::kName), (std::vector<std::string>{"左键按下", "左键放开"}));
    EXPECT_FALSE(sent(kC));
  }
}

// The screenshot hotkey pressed while recording (a find-image step made on
// the way) is not a step, and neither is anything done in the capture window:
// a replay would open a capture of its own.
TEST_F(MacroRecorderTest, TheScreenshotHotkeyAndTheCaptureWindowAreNotRecorded) {
  c().截图.setText("F8");
  c().加载热键.onClick();
  pressRecordHotkey();
  const std::int64_t t0 = loop::nowMs();
  headless::at(t0 + 80, [] { headless::userKeyDown(kA); });  // let go of after the capture
  onCapture(t0 + 1000, Hand::Down, {100, 100});
  onCapture(t0 + 1010, Hand::Move, {160, 130});
  onCapture(t0 + 1020, Hand::Up, {160, 130});
  onCapture(t0 + 1030, Hand::Down, {130, 115});
  onCapture(t0 + 1035, Hand::Up, {130, 115});
  onCapture(t0 + 1040, Hand::DoubleClick, {130, 115});  // saves and closes
  onCapture(t0 + 1045, Hand::Up, {130, 115});           // after the close
  headless::userKeyDown(kF8);
  headless::userKeyUp(kF8);  // before the capture opens
  ASSERT_TRUE(headless::pressHotkey(0, kF8));
  loop::preciseWait(200);
  headless::userKeyUp(kA);
  click({300, 200});
  pressRecordHotkey();

  EXPECT_EQ(column(macro::kKind), (std::vector<std::string>{"找图", "鼠标", "鼠标"}));
  EXPECT_EQ(column(macro::kName)[1], "左键按下");
  // The time spent in the capture is no delay a replay waits.
  EXPECT_LT(text::toInt(column(macro::kDelay)[1]), 600);
}

// A hotkey another program holds is refused: its box is emptied and the
// recorder stays off, with its boxes open for new keys.
TEST_F(MacroRecorderTest, ARefusedMacroHotkeyKeepsTheRecorderOff) {
  c().按钮5.onClick();  // off
  headless::holdHotkeyElsewhere(0, kF10);
  c().按钮5.onClick();
  EXPECT_EQ(c().按钮5.text(), "开zira");
  EXPECT_EQ(c().模拟.text(), "");
  EXPECT_EQ(window_->hints().气球提示框2.text(), "●设置好记录、模拟、停止快捷键！");
  EXPECT_FALSE(window_->macroPanel().recordTableShown());
  EXPECT_TRUE(c().记录.isEnabled());
  EXPECT_TRUE(c().模拟.isEnabled());
  for (const headless::Hotkey& held : headless::registeredHotkeys())
    EXPECT_EQ(held.virtualKey, 0xC0);  // only the back-quote key: F9 and F11 are let go
}

}  // namespace
}  // namespace hf::recorder
