#include "paste/working_modes.h"

namespace hf::paste {
namespace {

constexpr int kMarkedRowsMode = 10;  // "勾选项全部粘贴"
constexpr int kFirstImageMode = 12;  // items 12 to 16 paste pictures with text

}  // namespace

void WorkingModes::highlightOnly(ui::Button& button) {
  for (ui::Button* mode :
       {&controls_.按钮1, &controls_.按钮102, &controls_.按钮66, &controls_.按钮104,
        &controls_.按钮10, &controls_.按钮word, &controls_.按钮excel, &controls_.按钮6})
    mode->setColor(mode == &button ? app::kHighlightColor : app::kNormalColor);
}

void WorkingModes::pressMassCopy() {
  if (recordTableShown()) return;
  fields_.选择框11 = true;
  const int pasteMode = controls_.组合框66.selectedIndex();
  if (pasteMode == kMarkedRowsMode) return;
  if (pasteMode >= kFirstImageMode) fields_.图文选择 = true;
  highlightOnly(controls_.按钮1);
  fields_.组合框1 = 0;
  controls_.按钮66.setText("反撇号键粘贴");
  controls_.按钮104.setText("同页粘贴");
  controls_.编辑框25.setVisible(false);
  controls_.超级列表框1.setVisible(true);
  hotkeys_.registerBackQuote();
}

void WorkingModes::mouseDownOnMassCopy() {
  if (recordTableShown()) {
    hints_.show(hints_.气球提示框1, controls_.按钮15, 16, "●点击【隐藏】再操作！");
    return;
  }
  if (controls_.组合框66.selectedIndex() == kMarkedRowsMode) return;
  hints_.showAt(hints_.气球提示框1, 100, 350,
                "文本导入方式有两种：\r\n\r\n第一种，拖Txt格式文件到此表内录入\r\n\r\n"
                "第二种，鼠标划取文本按反撇号键录入");
  hints_.show(hints_.气球提示框2, controls_.导入方式, 130, "●选择导入文本格式！");
  hints_.show(hints_.气球提示框3, controls_.组合框66, 80, "●选择粘贴方式！");
}

}  // namespace hf::paste
