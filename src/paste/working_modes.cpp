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
  selectionCopy_.stop();
  copyMode_ = copyMode;
  c_.按钮66.setText("反撇号键粘贴");
  desktop::setClipboardText("");
  bringTableForward();
}

// The data table takes the same-page editor's place, and the back-quote key
// is registered again.
void WorkingModes::bringTableForward() {
  c_.按钮104.setText("同页粘贴");
  c_.编辑框25.setVisible(false);
  table_.view().setVisible(true);
  hotkeys_.registerBackQuote();
}

void WorkingModes::hintHideRecordTable() {
  hints_.show(hints_.气球提示框1, macroPanel_.recordTableToggle(), 16, "●点击【隐藏】再操作！");
}

bool WorkingModes::refuseWhileRecordTableShown() {
  if (!macroPanel_.recordTableShown()) return false;
  hintHideRecordTable();
  return true;
}

bool WorkingModes::transferChosen() const {
  return c_.按钮10.color() == feedback::kHighlightColor;
}

bool WorkingModes::samePageChosen() const {
  return c_.按钮104.color() == feedback::kHighlightColor;
}

void WorkingModes::normalBackQuoteButtons(std::initializer_list<ui::Button*> buttons) {
  for (ui::Button* button : buttons) button->setColor(feedback::kNormalColor);
}

void WorkingModes::openSamePageEditor() {
  hotkeys_.registerBackQuote();
  c_.按钮104.setText("同页保存");
  backQuoteMode_ = BackQuoteMode::SamePage;
  table_.view().setVisible(false);
  c_.编辑框25.setVisible(true);
  normalBackQuoteButtons({&c_.按钮10, &c_.按钮word, &c_.按钮excel, &c_.按钮6});
  c_.按钮104.setColor(feedback::kHighlightColor);
}

// The editor stays over the data table until a row-selection mode is chosen.
void WorkingModes::endSamePageCollection() {
  if (!collectingSamePage()) return;
  c_.按钮104.setText("同页粘贴");
  c_.按钮104.setColor(feedback::kNormalColor);
}

void WorkingModes::endSelectionCopy(bool emptyClipboard) {
  if (!selectionCopy_.on()) return;
  selectionCopy_.stop();
  c_.按钮66.setText("反撇号键粘贴");
  c_.按钮66.setColor(feedback::kNormalColor);
  if (emptyClipboard) desktop::setClipboardText("");
}

void WorkingModes::pressSelectionCopy() {
  if (refuseWhileRecordTableShown()) return;
  if (selectionCopy_.on()) {
    backQuoteImports_ = true;
    if (collectingSamePage()) backQuoteMode_ = BackQuoteMode::SamePage;
    endSelectionCopy(true);
    return;
  }
  backQuoteImports_ = false;
  hotkeys_.registerBackQuote();
  c_.按钮66.setText("关闭复制");
  backQuoteMode_ = BackQuoteMode::SelectionCopy;
  c_.按钮66.setColor(feedback::kHighlightColor);
  normalBackQuoteButtons({&c_.按钮word, &c_.按钮excel, &c_.按钮6, &c_.按钮10});
  endSamePageCollection();
  selectionCopy_.start([this] { return collectingSamePage(); });
}

void WorkingModes::startSamePage() {
  if (refuseWhileRecordTableShown()) return;
  backQuoteImports_ = false;
  hints_.show(hints_.气球提示框1, c_.编辑框25, 18,
              "●在第一行输入要保存的文件名，再按【回车键】回车！");
  openSamePageEditor();
  endSelectionCopy(false);
}

void WorkingModes::chooseTransfer() {
  if (refuseWhileRecordTableShown()) return;
  backQuoteImports_ = false;
  hotkeys_.registerBackQuote();
  backQuoteMode_ = BackQuoteMode::Transfer;
  normalBackQuoteButtons({&c_.按钮word, &c_.按钮excel, &c_.按钮6});
  c_.按钮10.setColor(feedback::kHighlightColor);
  endSelectionCopy(false);
  endSamePageCollection();
}

void WorkingModes::appendToSamePageEditor(std::string_view text) {
  c_.编辑框25.setText(c_.编辑框25.text() + std::string(text));
}

void WorkingModes::pressMassCopy() {
  if (macroPanel_.recordTableShown()) return;  // the hint came with the mouse press
  backQuoteImports_ = true;
  const auto mode = engine_.mode();
  if (mode && traitsOf(*mode).trigger == Trigger::AllMarked) return;
  if (mode && traitsOf(*mode).pictures) engine_.setPicturesWithText(true);
  selectRowMode(c_.按钮1, CopyMode::Mass);
}

// Only the row-selection part of the working mode changes: the import flag,
// the back-quote mode and 不同页粘贴 stay, so a transfer stays in force, and
// the clipboard keeps its text unless 反撇号键粘贴 ends here.
void WorkingModes::switchToMassCopy() {
  const auto mode = engine_.mode();
  if (mode && traitsOf(*mode).trigger == Trigger::AllMarked) return;
  bringTableForward();
  normalBackQuoteButtons({&c_.按钮word, &c_.按钮excel, &c_.按钮102, &c_.按钮104});
  c_.按钮1.setColor(feedback::kHighlightColor);
  copyMode_ = CopyMode::Mass;
  endSelectionCopy(true);
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
  backQuoteImports_ = false;
  if (!collectingSamePage()) openSamePageEditor();
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
  normalBackQuoteButtons({&c_.按钮66, &c_.按钮104, &c_.按钮10});
  c_.按钮word.setColor(excel ? feedback::kNormalColor : feedback::kHighlightColor);
  c_.按钮excel.setColor(excel ? feedback::kHighlightColor : feedback::kNormalColor);
  c_.按钮6.setColor(excel ? feedback::kHighlightColor : feedback::kNormalColor);
  c_.按钮104.setText("同页粘贴");
}

}  // namespace hf::paste
