#include "paste/paste_modes.h"

#include <iterator>
#include <random>

#include "platform/desktop.h"
#include "platform/event_loop.h"
#include "text/gbk_text.h"
#include "text/numbers.h"

namespace hf::paste {
namespace {

using Column = table::DataTable::Column;
constexpr std::string_view kIdle = "自动";
constexpr std::string_view kRunning = "单次";
constexpr std::string_view kStop = "66";
constexpr std::string_view kPauseWord = "暂停";

// Holds a flag set for the life of a scope; every way out, an exception
// included, clears it, so one failed delivery never makes later presses wait
// for ever.
class FlagScope {
 public:
  explicit FlagScope(bool& flag) : flag_(flag) { flag_ = true; }
  ~FlagScope() { flag_ = false; }
  FlagScope(const FlagScope&) = delete;
  FlagScope& operator=(const FlagScope&) = delete;

 private:
  bool& flag_;
};

bool capturesTarget(int mode) {
  return mode == kWebForced || mode == kMultiHotkey || mode == kAutoVerticalArrows ||
         mode == kAutoWebForced;
}

}  // namespace

bool countsEnterPresses(int mode) {
  return mode == kManualVertical || mode == kAutoVerticalEnter || mode == kAutoVerticalArrows ||
         mode == kFirstImageMode + 2 || mode == kFirstImageMode + 3;
}

class PasteEngine::RunScope {
 public:
  explicit RunScope(PasteEngine& engine) : engine_(engine), flag_(engine.runInProgress_) {}
  ~RunScope() { engine_.finishRun(); }
  RunScope(const RunScope&) = delete;
  RunScope& operator=(const RunScope&) = delete;

 private:
  PasteEngine& engine_;
  FlagScope flag_;
};

void PasteEngine::paste(int slot) {
  if (runInProgress_) {  // whatever mode is chosen now, a press during a run stops it
    startRunOrStop();
    return;
  }
  const int current = mode();
  if (current >= kFirstImageMode) {
    if (imagePaste) imagePaste(current, slot);
    return;
  }
  switch (current) {
    case kManualHorizontal:
    case kManualVertical:
    case kWebForced:
    case kMultiHotkey:
      oneAtATime(slot, [this, current](int pressed) { manual(current, pressed); });
      break;
    case kRandomHorizontal:
      random();
      break;
    case kAllMarked:
      break;  // works only under 有序复制
    default:
      automatic(current);
  }
}

void PasteEngine::pasteMarked() {
  if (runInProgress_) {
    startRunOrStop();
    return;
  }
  switch (const int current = mode()) {
    case kManualHorizontal:
    case kManualVertical:
    case kWebForced:
      oneAtATime(0, [this, current](int) { markedManual(current); });
      break;
    case kAutoHorizontal:
    case kAutoVerticalEnter:
    case kAutoVerticalArrows:
    case kAutoWebForced:
      markedAutomatic(current);
      break;
    case kAllMarked:
      oneAtATime(0, [this](int) { allMarkedAtOnce(); });
      break;
    default:
      break;  // the other modes do nothing under 有序复制
  }
}

void PasteEngine::modeChosen() {
  const int chosen = mode();
  const bool imageMode = chosen >= kFirstImageMode;
  if (chosen == kAutoHorizontalScan || chosen == kRandomHorizontal || chosen == kAutoForcedTyping ||
      chosen == kMultiHotkey || imageMode)
    commands_.按钮4();
  else if (chosen == kAllMarked)
    controls_.按钮102.onClick();
  fields_.图文选择 = imageMode;
  if (!imageMode) {
    controls_.图片框4.setVisible(false);
    controls_.图片框4.setPicture(Image::None);
  }

  struct Layout {
    const char* tabsTitle;
    const char* enterTitle;  // nullptr: unchanged
    int widths[4];           // columns 1 to 4
  };
  constexpr Layout kHorizontal{"跳格", "回车", {181, 40, 0, 40}};
  constexpr Layout kHorizontalAuto{"跳格", "回车", {141, 40, 40, 40}};
  constexpr Layout kLayouts[] = {
      kHorizontal,                         // 0 手动横向粘贴
      kHorizontalAuto,                     // 1
      kHorizontalAuto,                     // 2
      kHorizontalAuto,                     // 3
      {"回车", "回车", {221, 0, 0, 40}},   // 4 手动纵向粘贴
      {"回车", "回车", {181, 0, 40, 40}},  // 5 自动纵向粘贴（回车键）
      {"→", "↓", {141, 40, 40, 40}},       // 6 自动纵向粘贴(↓)
      kHorizontalAuto,                     // 7
      kHorizontal,                         // 8
      kHorizontalAuto,                     // 9
      {"列数", nullptr, {221, 40, 0, 0}},  // 10 勾选项全部粘贴
      kHorizontal,                         // 11
      kHorizontal,                         // 12
      kHorizontalAuto,                     // 13
      {"→", "↓", {181, 40, 0, 40}},        // 14
      {"→", "↓", {141, 40, 40, 40}},       // 15
      kHorizontal,                         // 16
  };
  if (chosen < 0 || chosen >= static_cast<int>(std::size(kLayouts))) return;
  const Layout& layout = kLayouts[chosen];
  ui::ListView& view = table_.view();
  view.setColumnTitle(Column::kTabs, layout.tabsTitle);
  if (layout.enterTitle) view.setColumnTitle(Column::kEnter, layout.enterTitle);
  for (int column = 1; column <= 4; ++column)
    view.setColumnWidth(column, layout.widths[column - 1]);
  if (chosen == kRandomHorizontal) commands_.按钮14();
}

void PasteEngine::stopEverything() {
  fields_.编辑框1011 = kStop;
  waitingPresses_.clear();
}

void PasteEngine::resetRandomCycle() {
  fields_.编辑框5.clear();
  fields_.编辑框6.clear();
  fields_.编辑框7 = "0";
  randomPool_.clear();
}

int PasteEngine::numberOf(int row) const {
  return text::toInt(table_.cell(row, Column::kNumber));
}

void PasteEngine::clipboardBusy() {
  hints_.show(hints_.气球提示框1, controls_.组合框66, 18,
              "●剪贴板被其他程序占用，已停止粘贴！请稍后再试。");
}

// Delivers row `row` in the mode's style, followed by the mode's separator
// runs; false when the clipboard stayed busy and nothing was pasted.
bool PasteEngine::deliverRow(int mode, int row) {
  const std::string entry = table_.cell(row, Column::kEntry);
  const std::string tabs = table_.cell(row, Column::kTabs);
  const std::string enter = table_.cell(row, Column::kEnter);
  switch (mode) {
    case kManualHorizontal:
    case kAutoHorizontal:
      if (!delivery_.clipboard(entry)) return false;
      delivery_.tabRun(tabs);
      delivery_.enterFlag(enter);
      return true;
    case kAutoHorizontalScan:
      if (!delivery_.scanClipboard(entry)) return false;
      delivery_.scanTabRun(tabs);
      delivery_.scanEnterFlag(enter);
      return true;
    case kManualVertical:
      if (!delivery_.clipboard(entry)) return false;
      delivery_.enterRun(enter);
      return true;
    case kAutoVerticalEnter:
      if (!delivery_.clipboard(entry)) return false;
      if (table_.cell(row, Column::kPause) == kPauseWord) loop::pause(delivery_.interval());
      delivery_.enterRun(enter);
      return true;
    case kAutoVerticalArrows:
      delivery_.characters(entry);
      delivery_.rightRun(tabs);
      delivery_.downRun(enter);
      return true;
    case kAutoForcedTyping:
      if (!delivery_.forcedTyping(entry)) return false;
      delivery_.tabRun(tabs);
      delivery_.enterFlag(enter);
      return true;
    default:  // 网页强制粘贴, 自动网页强制粘贴, 多热键粘贴
      delivery_.characters(entry);
      delivery_.tabRun(tabs);
      delivery_.enterFlag(enter);
      return true;
  }
}

// After the last row the table starts over at row 0, or is emptied when
// that last row is marked; otherwise the next row becomes current.
void PasteEngine::advanceOrEnd(int row, bool automatic) {
  const int last = table_.rowCount() - 1;
  if (row < last) {
    table_.setCurrentRow(row + 1);
    return;
  }
  if (automatic) {
    loop::pause(delivery_.interval());
    fields_.按钮120 = kIdle;
    fields_.编辑框1011 = kStop;
  }
  if (table_.isMarked(last)) {
    table_.clear();
  } else {
    table_.setCurrentRow(0);
    table_.scrollTo(0);
  }
}

void PasteEngine::oneAtATime(int slot, const std::function<void(int slot)>& deliver) {
  waitingPresses_.push_back(slot);
  if (delivering_) return;  // the delivery in progress takes it up when it is done
  const FlagScope delivering(delivering_);
  try {
    while (!waitingPresses_.empty()) {
      const int next = waitingPresses_.front();
      waitingPresses_.pop_front();
      deliver(next);
    }
  } catch (...) {
    waitingPresses_.clear();  // they would land at a surprising time later
    throw;
  }
}

void PasteEngine::manual(int mode, int slot) {
  if (capturesTarget(mode)) delivery_.captureTarget();
  if (mode == kMultiHotkey) {
    loop::pause(10);
    table_.setCurrentRow(slot - 1);
  }
  if (mode == kWebForced || mode == kMultiHotkey) loop::pumpIfInput();
  const int row = mode == kMultiHotkey ? slot - 1 : table_.currentRow();
  if (!deliverRow(mode, row)) return clipboardBusy();
  if (mode != kMultiHotkey) advanceOrEnd(row, false);
}

// The first press starts a run; a press while one runs, or while one is
// still finishing its last row, asks it to stop and never starts a second.
bool PasteEngine::startRunOrStop() {
  if (runInProgress_ || fields_.按钮120 != kIdle) {
    fields_.按钮120 = kIdle;
    fields_.编辑框1011 = kStop;
    return false;
  }
  fields_.按钮120 = kRunning;
  fields_.编辑框1011.clear();
  runWindow_ = desktop::foregroundWindow();
  return true;
}

// Tested before every row: a stop press, the program closing, or another
// window in front (the rest of the entries must not go into it).
bool PasteEngine::stopRequested() {
  if (fields_.编辑框1011 == kStop) return true;
  if (desktop::foregroundWindow() == runWindow_) return false;
  hints_.show(hints_.气球提示框1, controls_.组合框66, 18, "●目标窗口已切换，已停止粘贴！");
  return true;
}

void PasteEngine::finishRun() {
  if (fields_.按钮120 != kRunning) return;
  fields_.按钮120 = kIdle;
  fields_.编辑框1011 = kStop;
}

void PasteEngine::automatic(int mode) {
  if (capturesTarget(mode)) {
    delivery_.captureTarget();
    loop::pause(10);
  }
  if (!startRunOrStop()) return;
  const RunScope run(*this);
  loop::pause(delivery_.interval());
  for (int n = table_.rowCount(); n > 0; --n) {
    loop::pause(10);
    loop::pumpIfInput();
    if (stopRequested()) break;
    const int row = table_.currentRow();
    if (!deliverRow(mode, row)) {
      clipboardBusy();
      break;
    }
    if (row >= table_.rowCount() - 1) return advanceOrEnd(row, true);
    table_.setCurrentRow(row + 1);
    if (table_.cell(row, Column::kPause) == kPauseWord) break;
  }
  loop::pumpIfInput();
}

void PasteEngine::random() {
  if (!startRunOrStop()) return;
  {
    const RunScope run(*this);
    loop::pause(delivery_.interval());
    randomCycle();
  }
  if (text::toInt(fields_.编辑框7) == table_.rowCount()) resetRandomCycle();
}

void PasteEngine::randomCycle() {
  for (int n = table_.rowCount(); n > 0; --n) {
    loop::pumpIfInput();
    if (stopRequested()) break;
    if (fields_.编辑框5.empty()) {
      for (int number = 1; number <= table_.rowCount(); ++number)
        randomPool_.push_back(text::toText(number));
      fields_.编辑框5 = "0";
      loop::pause(50);
    }
    std::string picked;
    if (!randomPool_.empty()) {
      std::uniform_int_distribution<std::size_t> pick(0, randomPool_.size() - 1);
      const auto at = randomPool_.begin() + static_cast<std::ptrdiff_t>(pick(random_));
      picked = *at;
      fields_.编辑框6 = text::toText(text::toInt(picked) - 1);
      randomPool_.erase(at);
    }
    fields_.编辑框7 = text::toText(text::toInt(fields_.编辑框7) + 1);
    const int row = text::toInt(fields_.编辑框6);
    table_.setCurrentRow(row);
    if (fields_.编辑框7 == "1") {
      loop::pause(delivery_.interval());
      desktop::playSound(Sound::RunStart);
    }
    const std::string pauseCell = table_.cell(row, Column::kPause);
    const std::string enter = table_.cell(row, Column::kEnter);
    const bool delivers =
        (pauseCell.empty() || pauseCell == kPauseWord) && (enter.empty() || enter == "回车");
    if (delivers) {
      loop::pause(50);
      if (!delivery_.pasteText(table_.cell(row, Column::kEntry))) {
        // Nothing was pasted: the row stays to be delivered in this cycle.
        if (!picked.empty()) randomPool_.push_back(picked);
        fields_.编辑框7 = text::toText(text::toInt(fields_.编辑框7) - 1);
        clipboardBusy();
        break;
      }
      delivery_.tabRun(table_.cell(row, Column::kTabs));
      if (enter == "回车") Delivery::press(keys::kEnter);
    }
    if (text::toInt(fields_.编辑框7) == table_.rowCount()) {
      commands_.按钮14();
      desktop::playSound(Sound::RunFinish);
      break;
    }
    if (delivers && pauseCell == kPauseWord) break;
  }
}

void PasteEngine::restoreMarksWhenNoneLeft() {
  bool anyMarked = false;
  for (int row = 0; row < table_.rowCount() && !anyMarked; ++row) anyMarked = table_.isMarked(row);
  loop::pause(delivery_.interval());
  if (!anyMarked) commands_.打开检查框();
}

void PasteEngine::markedManual(int mode) {
  if (mode == kWebForced) {
    delivery_.captureTarget();
    loop::pause(10);
  }
  int row = 0;
  while (row < table_.rowCount() && !table_.isMarked(row)) ++row;
  if (row == table_.rowCount()) return;

  const std::string entry = table_.cell(row, Column::kEntry);
  if (mode == kWebForced) loop::pause(delivery_.interval());
  const int current = numberOf(row) - 1;
  table_.setCurrentRow(current);
  if (mode == kWebForced) {
    delivery_.characters(entry);
  } else if (!delivery_.clipboard(entry)) {
    return clipboardBusy();
  }
  if (mode == kManualVertical) {
    delivery_.enterRun(table_.cell(current, Column::kEnter));
  } else {
    delivery_.tabRun(table_.cell(current, Column::kTabs));
    delivery_.enterFlag(table_.cell(current, Column::kEnter));
  }
  table_.setMarked(row, false);
  restoreMarksWhenNoneLeft();
}

void PasteEngine::markedAutomatic(int mode) {
  if (mode == kAutoVerticalArrows || mode == kAutoWebForced) {
    delivery_.captureTarget();
    loop::pause(10);
  }
  const int firstPause = mode == kAutoVerticalEnter    ? 50
                         : mode == kAutoVerticalArrows ? 30
                                                       : delivery_.interval();
  if (!startRunOrStop()) return;
  const RunScope run(*this);
  loop::pause(firstPause);
  for (int row = 0; row < table_.rowCount(); ++row) {
    loop::pause(10);
    loop::pumpIfInput();
    if (stopRequested()) break;
    if (!table_.isMarked(row)) continue;
    loop::pause(delivery_.interval());
    const int current = numberOf(row) - 1;
    table_.setCurrentRow(current);
    const std::string entry = table_.cell(row, Column::kEntry);
    const bool byCharacters = mode == kAutoVerticalArrows || mode == kAutoWebForced;
    if (byCharacters) {
      delivery_.characters(entry);
    } else if (!delivery_.clipboard(entry)) {
      clipboardBusy();
      break;
    }
    const std::string tabs = table_.cell(current, Column::kTabs);
    const std::string enter = table_.cell(current, Column::kEnter);
    const bool pauseRow = table_.cell(current, Column::kPause) == kPauseWord;
    if (mode == kAutoVerticalEnter) {
      if (pauseRow) loop::pause(delivery_.interval());
      delivery_.enterRun(enter);
    } else if (mode == kAutoVerticalArrows) {
      delivery_.rightRun(tabs);
      delivery_.downRun(enter);
    } else {
      delivery_.tabRun(tabs);
      delivery_.enterFlag(enter);
      if (mode == kAutoWebForced) loop::pause(delivery_.interval());
    }
    table_.setMarked(row, false);
    if (pauseRow) break;
  }
  restoreMarksWhenNoneLeft();
}

std::string gridOf(const std::vector<std::string>& pieces, int columns) {
  std::string out;
  int count = 0;
  for (std::size_t j = 0; j < pieces.size(); ++j) {
    out += pieces[j];
    if (++count == columns) {
      out += "\r\n";
      count = 0;
    } else if (j + 1 < pieces.size()) {
      out += '\t';
    }
  }
  return out;
}

void PasteEngine::allMarkedAtOnce() {
  std::string marked;
  for (int row = 0; row < table_.rowCount(); ++row)
    if (table_.isMarked(row)) marked += table_.cell(row, Column::kEntry) + "\r\n";
  loop::pause(100);
  const auto pieces = text::split(marked, "\r\n");
  const int columns = text::toInt(table_.cell(table_.currentRow(), Column::kTabs));
  const std::string grid = gridOf(pieces, columns);
  loop::pause(100);
  if (!delivery_.pasteText(grid)) clipboardBusy();
}

}  // namespace hf::paste
