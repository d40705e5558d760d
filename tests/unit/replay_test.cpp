#include "recorder/replay.h"

#include <gtest/gtest.h>

#include "macro/slot_files.h"
#include "platform/event_loop.h"
#include "recorder_fixture.h"

namespace hf::recorder {
namespace {

using macro::Step;

// Slot 1's steps loaded into the record table, replayed into the target.
class ReplayTest : public RecorderTest {
 protected:
  // Presses the replay hotkey and lets the virtual clock run until the replay
  // ends; the UI thread answers the worker meanwhile, as its message loop does.
  void replay(std::int64_t forMs = 5000) {
    ASSERT_TRUE(headless::pressHotkey(0, kF10));
    loop::preciseWait(int(forMs));
  }
  static std::vector<std::pair<int, bool>> keys() {
    std::vector<std::pair<int, bool>> out;
    for (const auto& event : headless::keyEvents()) out.emplace_back(event.virtualKey, event.down);
    return out;
  }
};

Step keyStep(const std::string& text, const std::string& code, const std::string& delay = "1") {
  return {"", "按键", text, code, "", "", delay};
}
Step mouseStep(int message, int x, int y, const std::string& delay = "1") {
  return {"", "鼠标", "", std::to_string(message), std::to_string(x), std::to_string(y), delay};
}

TEST_F(ReplayTest, KeyStepsSendTheirNamesOrTheirCode) {
  loadSlot({keyStep("Ctrl+C", "67"), keyStep("F5", "40"), keyStep("a+b+c+d+e", "1")});
  replay();
  EXPECT_EQ(keys(),
            (std::vector<std::pair<int, bool>>{
                {163, true}, {67, true}, {67, false}, {163, false}, {40, true}, {40, false}}));
}

TEST_F(ReplayTest, TheHotkeysModifierIsLetGoOfBeforeTheFirstStep) {
  loadSlot({keyStep("A", "65")});
  headless::setKeyHeld(0xA2, true);  // left Ctrl, still held from Ctrl+F10
  replay();
  EXPECT_EQ(keys(), (std::vector<std::pair<int, bool>>{{0xA2, false}, {65, true}, {65, false}}));
}

TEST_F(ReplayTest, MouseStepsMoveThenPressWhereTheCursorIs) {
  loadSlot({mouseStep(513, 300, 200), mouseStep(514, 300, 200), mouseStep(512, 40, 50)});
  replay();
  EXPECT_EQ(headless::clicks(), (std::vector<Point>{{300, 200}}));
  EXPECT_EQ(desktop::cursorPos(), (Point{40, 50}));  // any other message only moves
}

TEST_F(ReplayTest, PassesAreCountedAndTheEndIsToldOnce) {
  loadSlot({keyStep("A", "65", "100")});
  c().组合框64.select(2);  // "3"
  std::vector<std::string> labels;
  for (int t = 0; t < 2000; t += 20)
    headless::at(loop::nowMs() + t, [&] {
      if (labels.empty() || labels.back() != c().透明标签17.text())
        labels.push_back(c().透明标签17.text());
    });
  replay(2000);
  EXPECT_EQ(labels, (std::vector<std::string>{"次数：", "第1次", "第2次", "第3次"}));
  EXPECT_EQ(keys().size(), 6u);
  EXPECT_EQ(window_->hints().气球提示框1.text(), "●模拟结束！");
}

TEST_F(ReplayTest, TheStopHotkeyEndsTheReplayAfterTheStepInProgress) {
  loadSlot({keyStep("A", "65", "100"), keyStep("B", "66", "100")});
  c().组合框64.select(2);  // "3"
  ASSERT_TRUE(headless::pressHotkey(0, kF10));
  for (int t = 0; keys().size() < 2u && t < 100; ++t) loop::preciseWait(10);
  ASSERT_EQ(keys().size(), 2u);  // B's delay is running
  ASSERT_TRUE(headless::pressHotkey(0, kF11));
  loop::preciseWait(3000);
  EXPECT_EQ(keys().size(), 4u);  // A and the step in progress, B
  EXPECT_EQ(window_->hints().气球提示框1.text(), "●已停止模拟！");
  EXPECT_EQ(window_->macroPanel().state(), macro::RecorderState::ReplayStopped);
  EXPECT_FALSE(window_->replay().running());
}

TEST_F(ReplayTest, ASecondRequestWhileReplayingStartsNoSecondWorker) {
  loadSlot({keyStep("A", "65", "300")});
  ASSERT_TRUE(headless::pressHotkey(0, kF10));
  loop::preciseWait(100);
  ASSERT_TRUE(window_->replay().running());
  ASSERT_TRUE(headless::pressHotkey(0, kF10));
  EXPECT_EQ(window_->hints().气球提示框1.text(), "●模拟正在进行，按停止快捷键停止！");
  loop::preciseWait(2000);
  EXPECT_EQ(keys().size(), 2u);
}

TEST_F(ReplayTest, ClosingDuringAReplaySendsNothingMore) {
  loadSlot({keyStep("A", "65", "10"), keyStep("B", "66", "1000")});
  ASSERT_TRUE(headless::pressHotkey(0, kF10));
  loop::preciseWait(300);
  ASSERT_EQ(keys().size(), 2u);
  window_->window().close();
  loop::preciseWait(2000);
  EXPECT_EQ(keys().size(), 2u);
  EXPECT_FALSE(window_->replay().running());
}

TEST_F(ReplayTest, AStoppedReplayLetsGoOfTheButtonItHeld) {
  loadSlot({mouseStep(513, 10, 10), keyStep("A", "65", "500"), mouseStep(514, 10, 10)});
  headless::at(loop::nowMs() + 200, [] { headless::pressHotkey(0, kF11); });
  replay(2000);
  EXPECT_EQ(headless::clicks(), (std::vector<Point>{{10, 10}}));  // the down was let go of
}

// The close ends simulated input, but the button a replay pressed is let go
// of first: left down, the next pointer move would drag-select.
TEST_F(ReplayTest, ClosingMidReplayLetsGoOfTheButtonItHeld) {
  loadSlot({mouseStep(513, 10, 10), keyStep("A", "65", "1000"), mouseStep(514, 10, 10)});
  ASSERT_TRUE(headless::pressHotkey(0, kF10));
  loop::preciseWait(300);
  window_->window().close();
  loop::preciseWait(2000);
  EXPECT_EQ(headless::clicks(), (std::vector<Point>{{10, 10}}));  // the down was let go of
  EXPECT_TRUE(keys().empty());
}

TEST_F(ReplayTest, SpeedRescalesTheSlotsDelays) {
  loadSlot({keyStep("A", "65", "200"), keyStep("B", "66", "1"), keyStep("C", "67", "0")});
  const auto delays = [&] {
    std::vector<std::string> out;
    for (const Step& step : window_->recordTable().steps()) out.push_back(step[macro::kDelay]);
    return out;
  };
  c().组合框65.select(1);  // "50"
  c().组合框65.onSelectionChanged();
  EXPECT_EQ(delays(), (std::vector<std::string>{"101", "1", "1"}));
  c().组合框65.select(51);  // "100"
  c().组合框65.onSelectionChanged();
  EXPECT_EQ(delays(), (std::vector<std::string>{"201", "2", "1"}));
}

TEST_F(ReplayTest, TheTimedStartFiresOnceAtItsExactTime) {
  loadSlot({keyStep("A", "65")});
  headless::setLocalTime({2026, 12, 10, 9, 4, 59});
  c().模拟1.setText("9时5分0秒");
  c().选择框13.setChecked(true);
  c().选择框13.onClick();
  EXPECT_TRUE(c().记录1.isVisible());
  loop::preciseWait(3000);
  EXPECT_EQ(keys().size(), 2u);
  EXPECT_EQ(c().记录1.text(), "9时5分0秒");  // the clock stopped at the start
}

}  // namespace
}  // namespace hf::recorder
