#include "paste/working_modes.h"

#include <optional>

#include "paste/paste_mode_table.h"
#include "platform/desktop.h"

namespace hf::paste {
namespace {

constexpr std::string_view kImportHint =
    "文本导入方式有两种：\r\n\r\n第一种，拖Txt格式文件到此表内录入\r\n\r\n"
    "第二种，鼠标划取文本按反撇号键录入";

// The trigger of the mode chosen in the selector; nothing while none is.
std::optional<Trigger> triggerOf(const ui::DropDown& pasteModes) {
  const auto mode = pasteModeAt(pasteModes.selectedIndex());
  if (!mode) return std::nullopt;
  return traitsOf(*mode).trigger;
}

}  // namespace

void WorkingModes::highlightOnly(ui::Button& button) {
  for (ui::Button* mode :
       {&controls_.按钮1, &controls_.按钮102, &controls_.按钮66, &controls_.按钮104,
        &controls_.按钮10, &controls_.按钮word, &controls_.按钮excel, &controls_.按钮6})
    mode->setColor(mode == &button ? app::kHighlightColor : app::kNormalColor);
}

void WorkingModes::selectRowMode(ui::Button& button, int copyMode) {
  highlightOnly(button);
  fields_.组合框1 = copyMode;
  controls_.按钮66.setText("反撇号键粘贴");
  controls_.按钮104.setText("同页粘贴");
  controls_.编辑框25.setVisible(false);
  controls_.超级列表框1.setVisible(true);
  desktop::setClipboardText("");
  hotkeys_.registerBackQuote();
}

void WorkingModes::pressMassCopy() {
  if (recordTableShown()) return;  // the hint came with the mouse press
  switchToMassCopy();
}

void WorkingModes::switchToMassCopy() {
  fields_.选择框11 = true;
  const auto trigger = triggerOf(controls_.组合框66);
  if (trigger == Trigger::AllMarked) return;
  if (trigger == Trigger::ImageAndText) fields_.图文选择 = true;
  selectRowMode(controls_.按钮1, 0);
}

void WorkingModes::pressOrderedCopy() {
  if (recordTableShown()) {
    hints_.show(hints_.气球提示框1, controls_.按钮15, 16, "●点击【隐藏】再操作！");
    return;
  }
  fields_.选择框11 = true;
  const auto mode = pasteModeAt(controls_.组合框66.selectedIndex());
  if (mode && !traitsOf(*mode).underOrderedCopy) return;
  selectRowMode(controls_.按钮102, 1);
  hints_.showAt(hints_.气球提示框1, 100, 350,
                std::string(kImportHint) + "\r\n\r\n●粘贴要求是勾选项才可以粘贴，未勾选不粘贴！");
}

void WorkingModes::mouseDownOnMassCopy() {
  if (recordTableShown()) {
    hints_.show(hints_.气球提示框1, controls_.按钮15, 16, "●点击【隐藏】再操作！");
    return;
  }
  if (triggerOf(controls_.组合框66) == Trigger::AllMarked) return;
  hints_.showAt(hints_.气球提示框1, 100, 350, kImportHint);
  hints_.show(hints_.气球提示框2, controls_.导入方式, 130, "●选择导入文本格式！");
  hints_.show(hints_.气球提示框3, controls_.组合框66, 80, "●选择粘贴方式！");
}

}  // namespace hf::paste
