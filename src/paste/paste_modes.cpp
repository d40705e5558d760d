#include "paste/paste_modes.h"

#include <random>

#include "input/key_actions.h"
#include "paste/flag_scope.h"
#include "platform/desktop.h"
#include "platform/event_loop.h"
#include "platform/keys.h"
#include "text/gbk_text.h"
#include "text/numbers.h"

namespace hf::paste {
namespace {

using Column = table::DataTable::Column;

}  // namespace

bool PasteEngine::countsEnterPresses() const {
  const auto chosen = mode();
  return chosen && traitsOf(*chosen).countsEnterPresses;
}

bool PasteEngine::deliversPictures() const {
  const auto chosen = mode();
  return chosen && traitsOf(*chosen).pictures;
}

bool PasteEngine::pastesAtRandom() const {
  return mode() == PasteMode::RandomHorizontal;
}

bool PasteEngine::pastesAllMarkedAtOnce() const {
  return mode() == PasteMode::AllMarked;
}

// Only the selection: the caller sets up the picture mode itself.
void PasteEngine::choosePicturesWithText() {
  chooseMode(PasteMode::ImageText);
}

void PasteEngine::chooseMode(PasteMode mode) {
  c_.组合框66.select(static_cast<int>(mode));
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
  if (stoppedARunInProgress()) return;
  const auto current = mode();
  if (!current) return;
  switch (traitsOf(*current).trigger) {
    case Trigger::Manual:
    case Trigger::ChosenByHotkey:
      oneAtATime(slot, [this, current](int pressed) { manual(*current, pressed); });
      break;
    case Trigger::Automatic:
      automatic(*current);
      break;
    case Trigger::Random:
      random();
      break;
    case Trigger::AllMarked:  // works only under 有序复制
      break;
  }
}

void PasteEngine::pasteMarked() {
  if (stoppedARunInProgress()) return;
  const auto current = mode();
  if (!current || !traitsOf(*current).underOrderedCopy) return;
  switch (traitsOf(*current).trigger) {
    case Trigger::Manual:
      oneAtATime(0, [this, current](int) { markedManual(*current); });
      break;
    case Trigger::Automatic:
      markedAutomatic(*current);
      break;
    case Trigger::AllMarked:
      oneAtATime(0, [this](int) { allMarkedAtOnce(); });
      break;
    default:
      break;
  }
}

void PasteEngine::modeChosen() {
  const auto chosen = mode();
  if (!chosen) return;
  const PasteModeTraits& traits = traitsOf(*chosen);
  picturesWithText_ = traits.pictures;
  if (!picturesWithText_) previews_.hideRowPicture();
  ui::ListView& view = table_.view();
  view.setColumnTitle(Column::kTabs, traits.layout.tabsTitle);
  if (traits.layout.enterTitle) view.setColumnTitle(Column::kEnter, traits.layout.enterTitle);
  for (int column = 1; column <= 4; ++column)
    view.setColumnWidth(column, traits.layout.widths[column - 1]);
  if (traits.trigger == Trigger::Random) resetRandomCycle();
}

void PasteEngine::stopEverything() {
  stopAsked_ = true;
  waitingPresses_.clear();
}

void PasteEngine::resetRandomCycle() {
  cycleStarted_ = false;
  pickedRow_ = 0;
  deliveredInCycle_ = 0;
  randomPool_.clear();
}

int PasteEngine::numberOf(int row) const {
  return text::toInt(table_.cell(row, Column::kNumber));
}

void PasteEngine::clipboardBusy() {
  hints_.show(hints_.气球提示框1, c_.组合框66, 18,
              "●剪贴板被其他程序占用，已停止粘贴！请稍后再试。");
}

// Rows may move or go while a delivery waits between its steps: the current
// row follows its entry, so it tells where the delivered row is now. When
// that row itself went, the row after it has taken its place. With no row
// current there was nothing to follow: the next row is row 0.
int PasteEngine::deliveredRowNow(int delivered) const {
  if (delivered < 0) return -1;
  const int now = table_.currentRow();
  return now >= 0 ? now : delivered - 1;
}

// After the last row the table starts over at row 0, or is emptied when
// that last row is marked; otherwise the next row becomes current. The
// picture modes always start over: their rows are kept. The new current row
// is scrolled into view.
void PasteEngine::advanceOrEnd(PasteMode mode, int row, bool automatic) {
  const int last = table_.rowCount() - 1;
  if (row < last) {
    table_.setCurrentRow(row + 1);
    table_.scrollTo(row + 1);
    return;
  }
  if (automatic) {
    loop::pause(delivery_.interval());
    running_ = false;
    stopAsked_ = true;
  }
  if (table_.isMarked(last) && !traitsOf(mode).pictures) {
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

void PasteEngine::manual(PasteMode mode, int slot) {
  const PasteModeTraits& traits = traitsOf(mode);
  const bool chosenByHotkey = traits.trigger == Trigger::ChosenByHotkey;
  if (traits.capturesTarget) rows_.captureTarget();
  if (chosenByHotkey) {
    loop::pause(10);
    table_.setCurrentRow(slot - 1);
  }
  if (traits.style == Style::Characters) loop::pumpIfInput();
  const int row = chosenByHotkey ? slot - 1 : table_.currentRow();
  if (!rows_.deliver(mode, row, row)) return clipboardBusy();
  if (!chosenByHotkey) advanceOrEnd(mode, deliveredRowNow(row), false);
}

// Whatever mode is chosen now, a press during a run only stops it.
bool PasteEngine::stoppedARunInProgress() {
  if (!runInProgress_) return false;
  startRunOrStop();
  return true;
}

// The first press starts a run; a press while one runs, or while one is
// still finishing its last row, asks it to stop and never starts a second.
bool PasteEngine::startRunOrStop() {
  if (runInProgress_ || running_) {
    running_ = false;
    stopAsked_ = true;
    return false;
  }
  running_ = true;
  stopAsked_ = false;
  runWindow_ = desktop::foregroundWindow();
  return true;
}

// Tested before every row: a stop press, the program closing, or another
// window in front (the rest of the entries must not go into it).
bool PasteEngine::stopRequested() {
  if (stopAsked_) return true;
  if (desktop::foregroundWindow() == runWindow_) return false;
  hints_.show(hints_.气球提示框1, c_.组合框66, 18, "●目标窗口已切换，已停止粘贴！");
  return true;
}

bool PasteEngine::startOutsideRun() {
  if (runInProgress_ || running_) return false;
  runInProgress_ = running_ = true;
  stopAsked_ = false;
  return true;
}

void PasteEngine::finishOutsideRun() {
  runInProgress_ = false;
  finishRun();
}

void PasteEngine::finishRun() {
  if (!running_) return;
  running_ = false;
  stopAsked_ = true;
}

void PasteEngine::automatic(PasteMode mode) {
  if (traitsOf(mode).capturesTarget) {
    rows_.captureTarget();
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
    const bool pauseRow = table_.cell(row, Column::kPause) == kPauseWord;
    if (!rows_.deliver(mode, row, row)) {
      clipboardBusy();
      break;
    }
    const int delivered = deliveredRowNow(row);
    const bool lastRow = delivered >= table_.rowCount() - 1;
    advanceOrEnd(mode, delivered, true);
    if (lastRow) return;
    if (pauseRow) break;
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
  if (deliveredInCycle_ == table_.rowCount()) resetRandomCycle();
}

void PasteEngine::randomCycle() {
  for (int n = table_.rowCount(); n > 0; --n) {
    loop::pumpIfInput();
    if (stopRequested()) break;
    if (!cycleStarted_) {
      for (int number = 1; number <= table_.rowCount(); ++number) randomPool_.push_back(number);
      cycleStarted_ = true;
      loop::pause(50);
    }
    std::optional<int> picked;  // a row number; without one the last row picked is taken again
    if (!randomPool_.empty()) {
      std::uniform_int_distribution<std::size_t> pick(0, randomPool_.size() - 1);
      const auto at = randomPool_.begin() + static_cast<std::ptrdiff_t>(pick(random_));
      picked = *at;
      pickedRow_ = *picked - 1;
      randomPool_.erase(at);
    }
    ++deliveredInCycle_;
    const int row = pickedRow_;
    table_.setCurrentRow(row);
    if (deliveredInCycle_ == 1) {
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
        if (picked) randomPool_.push_back(*picked);
        --deliveredInCycle_;
        clipboardBusy();
        break;
      }
      delivery_.tabRun(table_.cell(row, Column::kTabs));
      if (enter == "回车") input::press(keys::kEnter);
    }
    if (deliveredInCycle_ == table_.rowCount()) {
      resetRandomCycle();
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
  if (!anyMarked) checkFile_.read();
}

int PasteEngine::firstMarkedRow() const {
  int row = 0;
  while (row < table_.rowCount() && !table_.isMarked(row)) ++row;
  return row;
}

// The row's text comes from the marked row, its separators from the row its
// 序号 names (the same row while the numbering is intact).
void PasteEngine::markedManual(PasteMode mode) {
  const PasteModeTraits& traits = traitsOf(mode);
  if (traits.capturesTarget) {
    rows_.captureTarget();
    loop::pause(10);
  }
  const int row = firstMarkedRow();
  if (row == table_.rowCount()) return;
  if (traits.style == Style::Characters) loop::pause(delivery_.interval());
  const int current = numberOf(row) - 1;
  table_.setCurrentRow(current);
  if (!rows_.deliver(mode, row, current)) return clipboardBusy();
  table_.setMarked(row, false);
  restoreMarksWhenNoneLeft();
}

void PasteEngine::markedAutomatic(PasteMode mode) {
  const PasteModeTraits& traits = traitsOf(mode);
  if (traits.capturesTarget) {
    rows_.captureTarget();
    loop::pause(10);
  }
  if (!startRunOrStop()) return;
  const RunScope run(*this);
  loop::pause(traits.markedRunFirstPause > 0 ? traits.markedRunFirstPause : delivery_.interval());
  for (int row = 0; row < table_.rowCount(); ++row) {
    loop::pause(10);
    loop::pumpIfInput();
    if (stopRequested()) break;
    if (!table_.isMarked(row)) continue;
    loop::pause(delivery_.interval());
    const int current = numberOf(row) - 1;
    table_.setCurrentRow(current);
    if (!rows_.deliver(mode, row, current)) {
      clipboardBusy();
      break;
    }
    if (traits.markedRunWaitsAfterRow) loop::pause(delivery_.interval());
    table_.setMarked(row, false);
    if (table_.cell(current, Column::kPause) == kPauseWord) break;
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
