#pragma once

#include <array>
#include <atomic>
#include <string>
#include <string_view>

#include "macro/record_table.h"
#include "platform/ui.h"

namespace hf::macro {

// What the recorder is doing, as `透明标签16` says it.
enum class RecorderState { NotRecorded, Recording, RecordingStopped, Replaying, ReplayStopped };
std::string_view stateText(RecorderState state);

// The macro panel's state as the rest of the program sees it: the recorder
// switch `按钮5` with the recorder state and the run flag `选择框93`, the
// record table's toggle `按钮15`, and the macro hotkey boxes with the
// timed-start time, kept in the settings file.
class MacroPanel {
 public:
  struct Controls {
    ui::Button& 按钮5;
    ui::Button& 按钮15;
    ui::EditBox& 记录;
    ui::EditBox& 模拟;
    ui::EditBox& 停止;
    ui::EditBox& 截图;
    ui::EditBox& 模拟1;
  };
  MacroPanel(Controls controls, RecordTable& table) : c_(controls), table_(table) {}

  bool recorderOn() const { return c_.按钮5.text() == "关zira"; }
  // The switch's caption and colour.
  void showRecorderOn(bool on);
  // A switch-off refused while recording: the switch shows it in its colour.
  void showSwitchRefused(Rgb color) { c_.按钮5.setColor(color); }
  // Macro mode: the record table covers the data table, and its toggle reads "隐藏".
  bool recordTableShown() const { return table_.shown(); }
  void showRecordTable(bool shown);
  // The toggle `按钮15` pressed: switches between macro mode and table mode
  // while the recorder is on; false, and nothing changes, while it is off.
  bool toggleRecordTable();
  // Where hints about the record table and the recorder point.
  const ui::Control& recordTableToggle() const { return c_.按钮15; }
  const ui::Control& recorderSwitch() const { return c_.按钮5; }

  RecorderState state() const { return state_; }
  void setState(RecorderState state) { state_ = state; }
  // Steps may run: a replay goes on only while this holds. Read by the replay worker.
  bool mayRun() const { return mayRun_; }
  void setMayRun(bool may) { mayRun_ = may; }

  // The boxes that take a hotkey: record, replay, stop and screenshot.
  std::array<ui::EditBox*, 4> hotkeyBoxes() const {
    return {&c_.记录, &c_.模拟, &c_.停止, &c_.截图};
  }
  // The record, replay and stop boxes.
  std::array<ui::EditBox*, 3> macroHotkeyBoxes() const { return {&c_.记录, &c_.模拟, &c_.停止}; }
  std::array<std::string, 3> macroHotkeys() const;
  // The texts of the record, replay, stop and screenshot boxes.
  std::array<std::string, 4> hotkeyTexts() const;
  // True when the record, replay or stop box other than `except` holds the hotkey.
  bool macroHotkeyTaken(const std::string& hotkey, const ui::EditBox* except) const;
  const ui::EditBox& screenshotBox() const { return c_.截图; }
  ui::EditBox& screenshotBox() { return c_.截图; }

  // The timed start's time of day `模拟1`, shown while the timed start is armed.
  std::string startTime() const { return c_.模拟1.text(); }
  void showStartTime(bool shown) { c_.模拟1.setVisible(shown); }
  const ui::Control& startTimeBox() const { return c_.模拟1; }

  // The boxes' texts from the settings file, and back.
  void loadSettings();
  void saveSettings() const;

 private:
  Controls c_;
  RecordTable& table_;
  RecorderState state_ = RecorderState::NotRecorded;
  std::atomic<bool> mayRun_ = false;
};

}  // namespace hf::macro
