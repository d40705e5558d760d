#pragma once

#include <deque>
#include <functional>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include "feedback/hints.h"
#include "feedback/picture_previews.h"
#include "input/delivery.h"
#include "paste/paste_mode_table.h"
#include "paste/row_delivery.h"
#include "platform/desktop.h"
#include "table/check_file.h"
#include "table/data_table.h"

namespace hf::paste {

// What one press of a custom hotkey delivers: one row or all rows, in table
// order, at random or only the marked rows. An automatic run pauses between
// its steps, so a second press re-enters here and stops it: the run state
// (`按钮120`) and the stop request (`编辑框1011`) carry that between the two
// invocations.
class PasteEngine {
 public:
  struct Controls {
    ui::DropDown& 组合框66;  // the paste mode selector
  };
  PasteEngine(Controls controls, feedback::Hints& hints, table::DataTable& table,
              table::CheckFile& checkFile, feedback::PicturePreviews& previews,
              input::Delivery& delivery)
      : c_(controls),
        hints_(hints),
        table_(table),
        checkFile_(checkFile),
        previews_(previews),
        delivery_(delivery),
        rows_(controls.组合框66, hints, table, delivery) {}

  // The mode chosen in the selector; nothing while none is.
  std::optional<PasteMode> mode() const { return pasteModeAt(c_.组合框66.selectedIndex()); }
  // Where hints about the paste mode point.
  const ui::Control& modeSelector() const { return c_.组合框66; }
  // Under 万条复制: rows in table order from the current row. slot is the
  // pressed custom hotkey's slot (1 to 50), 0 when unknown.
  void paste(int slot);
  // Under 有序复制: only marked rows, each unmarked once delivered.
  void pasteMarked();
  // A new item chosen in the selector: flags and column layout follow it.
  void modeChosen();
  // What the table's editors ask of the chosen mode; false while none is.
  // Column 4 holds a number of Enter presses rather than the word "回车".
  bool countsEnterPresses() const;
  bool deliversPictures() const;
  bool pastesAtRandom() const;
  bool pastesAllMarkedAtOnce() const;
  // Dropped pictures choose the first mode that pastes pictures with text;
  // only the selection changes, the caller sets up the rest.
  void choosePicturesWithText();
  void chooseMode(PasteMode mode);

  // The image-and-text flag `图文选择`: rows carry pictures, and the table
  // does not scroll to the current row.
  bool picturesWithText() const { return picturesWithText_; }
  void setPicturesWithText(bool on) { picturesWithText_ = on; }

  // No automatic run is going on or finishing (`按钮120` reads "自动").
  bool idle() const { return !running_; }
  // A run of another concern (the screenshot series) holds the run state as
  // an automatic run does: no automatic paste starts meanwhile, and a paste
  // hotkey pressed during it only asks it to stop. False while a run is
  // going on already.
  bool startOutsideRun();
  // A stop was asked for since the outside run started, or the program is closing.
  bool outsideRunStopAsked() const { return stopAsked_; }
  void finishOutsideRun();
  // Rows delivered in the current random cycle.
  int deliveredThisCycle() const { return deliveredInCycle_; }
  // Empties the random cycle: every row is to be delivered again.
  void resetRandomCycle();
  // The program is closing: every run stops at its next step and presses
  // still waiting are dropped.
  void stopEverything();

 private:
  // An automatic run from its start to its end, however it ends: while one
  // lives, a press only asks it to stop. Its end returns to idle.
  class RunScope;

  // Runs a one-row delivery for each press; presses that arrive while one is
  // still going wait their turn, so quick presses never paste a row twice.
  void oneAtATime(int slot, const std::function<void(int slot)>& deliver);
  void manual(PasteMode mode, int slot);
  void automatic(PasteMode mode);
  void random();
  void randomCycle();
  void markedManual(PasteMode mode);
  void markedAutomatic(PasteMode mode);
  void allMarkedAtOnce();

  bool startRunOrStop();
  bool stoppedARunInProgress();
  bool stopRequested();
  void finishRun();
  int deliveredRowNow(int delivered) const;
  void advanceOrEnd(PasteMode mode, int row, bool automatic);
  int numberOf(int row) const;
  int firstMarkedRow() const;
  void clipboardBusy();
  void restoreMarksWhenNoneLeft();

  Controls c_;
  feedback::Hints& hints_;
  table::DataTable& table_;
  table::CheckFile& checkFile_;
  feedback::PicturePreviews& previews_;
  input::Delivery& delivery_;
  RowDelivery rows_;
  std::vector<int> randomPool_;     // row numbers still to deliver in this cycle
  bool cycleStarted_ = false;       // the pool was filled for this cycle (`编辑框5`)
  int pickedRow_ = 0;               // the row picked last (`编辑框6`)
  int deliveredInCycle_ = 0;        // `编辑框7`
  std::deque<int> waitingPresses_;  // slots of the presses not yet delivered
  std::mt19937 random_{std::random_device{}()};
  bool picturesWithText_ = false;
  bool running_ = false;             // a run holds the run state, "单次" (`按钮120`)
  bool stopAsked_ = false;           // a stop was asked for, "66" (`编辑框1011`)
  bool delivering_ = false;          // a one-row delivery is going on
  bool runInProgress_ = false;       // an automatic run has started and not yet ended
  desktop::WindowId runWindow_ = 0;  // the window that had the focus when the run started
};

// The text that 勾选项全部粘贴 pastes: the pieces in rows of `columns`
// pieces, Tab between the pieces of a row, CR LF after each full row.
std::string gridOf(const std::vector<std::string>& pieces, int columns);

}  // namespace hf::paste
