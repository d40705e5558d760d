#include "paste/working_modes.h"

#include <optional>

#include "feedback/button_colors.h"
#include "paste/paste_mode_table.h"
#include "platform/desktop.h"

namespace hf::paste {
namespace {

constexpr std::string_view kImportHint =
    "文本导入方式有两种：\r\n\r\n第一种，拖Txt格式文件到此表内录入\r\n\r\n"
    "第二种，鼠标划取文本按反撇号键录入";

}  // namespace

bool WorkingModes::massCopyChosen() const {
  return c_.按钮1.color() == feedback::kHighlightColor;
}

bool WorkingModes::orderedCopyChosen() const {
  return c_.按钮102.color() == feedback::kHighlightColor;
}

void WorkingModes::highlightOnly(ui::Button& button) {
  for (ui::Button* mode : {&c_.按钮1, &c_.按钮102, &c_.按钮66, &c_.按钮104, &c_.按钮10,
                           &c_.按钮word, &c_.按钮excel, &c_.按钮6})
    mode->setColor(mode == &button ? feedback::kHighlightColor : feedback::kNormalColor);
}

void WorkingModes::selectRowMode(ui::Button& button, CopyMode copyMode) {
  highlightOnly(button);
  copyMode_ = copyMode;
  c_.按钮66.setText("反撇号键粘贴");
  c_.按钮104.setText("同页粘贴");
  c_.编辑框25.setVisible(false);
  table_.view().setVisible(true);
  desktop::setClipboardText("");
  hotkeys_.registerBackQuote();
}

void WorkingModes::hintHideRecordTable() {
  hints_.show(hints_.气球提示框1, macroPanel_.recordTableToggle(), 16, "●点击【隐藏】再操作！");
}

void WorkingModes::pressMassCopy() {
  if (macroPanel_.recordTableShown()) return;  // the hint came with the mouse press
  switchToMassCopy();
}

void WorkingModes::switchToMassCopy() {
  backQuoteImports_ = true;
  const auto mode = engine_.mode();
  const Trigger trigger = mode ? traitsOf(*mode).trigger : Trigger::Manual;
  if (trigger == Trigger::AllMarked) return;
  if (trigger == Trigger::ImageAndText) engine_.setPicturesWithText(true);
  selectRowMode(c_.按钮1, CopyMode::Mass);
}

void WorkingModes::pressOrderedCopy() {
  if (macroPanel_.recordTableShown()) return hintHideRecordTable();
  backQuoteImports_ = true;
  const auto mode = engine_.mode();
  if (mode && !traitsOf(*mode).underOrderedCopy) return;
  selectRowMode(c_.按钮102, CopyMode::Ordered);
  hints_.showAt(hints_.气球提示框1, 100, 350,
                std::string(kImportHint) + "\r\n\r\n●粘贴要求是勾选项才可以粘贴，未勾选不粘贴！");
}

void WorkingModes::chooseOrderedCopyForMarking() {
  highlightOnly(c_.按钮102);
  c_.按钮104.setText("同页粘贴");
  copyMode_ = CopyMode::Ordered;
}

void WorkingModes::pasteModeChosen() {
  const auto mode = engine_.mode();
  if (!mode) return;
  const OnChoice onChoice = traitsOf(*mode).onChoice;
  if (onChoice == OnChoice::SwitchToMassCopy)
    switchToMassCopy();
  else if (onChoice == OnChoice::PressOrderedCopy)
    pressOrderedCopy();
}

void WorkingModes::samePageImportChosen() {
  copyMode_ = CopyMode::Characters;
}

void WorkingModes::tableImportChosen() {
  if (massCopyChosen()) copyMode_ = CopyMode::Mass;
  if (orderedCopyChosen()) copyMode_ = CopyMode::Ordered;
}

void WorkingModes::mouseDownOnMassCopy() {
  if (macroPanel_.recordTableShown()) return hintHideRecordTable();
  const auto mode = engine_.mode();
  if (mode && traitsOf(*mode).trigger == Trigger::AllMarked) return;
  hints_.showAt(hints_.气球提示框1, 100, 350, kImportHint);
  hints_.show(hints_.气球提示框2, c_.导入方式, 130, "●选择导入文本格式！");
  hints_.show(hints_.气球提示框3, engine_.modeSelector(), 80, "●选择粘贴方式！");
}

void WorkingModes::chooseDocumentMode(BackQuoteMode mode) {
  backQuoteImports_ = false;
  backQuoteMode_ = mode;
  table_.view().setVisible(true);
  const bool excel = mode == BackQuoteMode::Excel;
  for (ui::Button* other : {&c_.按钮66, &c_.按钮104, &c_.按钮10})
    other->setColor(feedback::kNormalColor);
  c_.按钮word.setColor(excel ? feedback::kNormalColor : feedback::kHighlightColor);
  c_.按钮excel.setColor(excel ? feedback::kHighlightColor : feedback::kNormalColor);
  c_.按钮6.setColor(excel ? feedback::kHighlightColor : feedback::kNormalColor);
  c_.按钮104.setText("同页粘贴");
}

void WorkingModes::endMouseCopy() {
  c_.按钮66.setText("反撇号键粘贴");
  c_.按钮66.setColor(feedback::kNormalColor);
  desktop::setClipboardText("");
}

}  // namespace hf::paste
