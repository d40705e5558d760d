#include "macro/macro_panel.h"

#include "feedback/button_colors.h"
#include "macro/hotkey_settings.h"

namespace hf::macro {

std::string_view stateText(RecorderState state) {
  switch (state) {
    case RecorderState::NotRecorded:
      return "状态：记录未开启";
    case RecorderState::Recording:
      return "状态：记录已开启";
    case RecorderState::RecordingStopped:
      return "状态：记录已停止";
    case RecorderState::Replaying:
      return "状态：模拟已开启";
    case RecorderState::ReplayStopped:
      return "状态：停止模拟";
  }
  return {};
}

void MacroPanel::showRecorderOn(bool on) {
  c_.按钮5.setText(on ? "关zira" : "开zira");
  c_.按钮5.setColor(on ? feedback::kHighlightColor : feedback::kNormalColor);
}

void MacroPanel::showRecordTable(bool shown) {
  table_.show(shown);
  c_.按钮15.setText(shown ? "隐藏" : "显示");
}

bool MacroPanel::toggleRecordTable() {
  if (!recorderOn()) return false;
  showRecordTable(!recordTableShown());
  return true;
}

std::array<std::string, 3> MacroPanel::macroHotkeys() const {
  return {c_.记录.text(), c_.模拟.text(), c_.停止.text()};
}

std::array<std::string, 4> MacroPanel::hotkeyTexts() const {
  const auto [record, replay, stop] = macroHotkeys();
  return {record, replay, stop, c_.截图.text()};
}

bool MacroPanel::macroHotkeyTaken(const std::string& hotkey, const ui::EditBox* except) const {
  for (const ui::EditBox* box : {&c_.记录, &c_.模拟, &c_.停止})
    if (box != except && box->text() == hotkey) return true;
  return false;
}

void MacroPanel::loadSettings() {
  const auto texts = readHotkeySettings(settingsFile());
  ui::EditBox* boxes[] = {&c_.记录, &c_.模拟, &c_.停止, &c_.截图, &c_.模拟1};
  for (std::size_t i = 0; i < texts.size(); ++i) boxes[i]->setText(texts[i]);
}

void MacroPanel::saveSettings() const {
  writeHotkeySettings(settingsFile(), {c_.记录.text(), c_.模拟.text(), c_.停止.text(),
                                       c_.截图.text(), c_.模拟1.text()});
}

}  // namespace hf::macro
