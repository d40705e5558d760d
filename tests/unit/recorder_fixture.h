#pragma once

#include <vector>

#include "app_fixture.h"
#include "macro/slot_files.h"
#include "platform/headless/target_simulation.h"

namespace hf::recorder {

constexpr int kF9 = 0x78, kF10 = 0x79, kF11 = 0x7A;

// A started program with the recorder switched on: F9 records, F10
// replays, F11 stops.
class RecorderTest : public AppTest {
 protected:
  void SetUp() override {
    AppTest::SetUp();
    start();
    headless::openTarget(3);
    c().记录.setText("F9");
    c().模拟.setText("F10");
    c().停止.setText("F11");
    c().按钮5.onClick();
    ASSERT_EQ(c().按钮5.text(), "关zira");
  }
  app::MainControls& c() { return window_->controls(); }
  // Slot 1 holds these steps, loaded into the record table.
  void loadSlot(const std::vector<macro::Step>& steps) {
    write("数据1.txt", macro::formatSlotFile(steps));
    c().选择框94.setChecked(true);
    c().选择框94.onClick();
    ASSERT_EQ(window_->recordTable().rowCount(), int(steps.size()));
  }
};

}  // namespace hf::recorder
