#pragma once

#include <deque>
#include <functional>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include "app/hidden_fields.h"
#include "app/main_controls.h"
#include "feedback/hints.h"
#include "input/delivery.h"
#include "paste/paste_mode_table.h"
#include "platform/desktop.h"
#include "table/data_table.h"
#include "table/paste_mode_view.h"

namespace hf::paste {

// What one press of a custom hotkey delivers: one row or all rows, in table
// order, at random or only the marked rows. An automatic run pauses between
// its steps, so a second press re-enters here and stops it: the run state
// `按钮120` ("自动" idle, "单次" running) and the stop flag `编辑框1011`
// ("66") carry that between the two invocations.
class PasteEngine : public table::PasteModeView {
 public:
  PasteEngine(app::MainControls& controls, app::HiddenFields& fields, app::HiddenCommands& commands,
              feedback::Hints& hints, table::DataTable& table, input::Delivery& delivery)
      : controls_(controls),
        fields_(fields),
        commands_(commands),
        hints_(hints),
        table_(table),
        delivery_(delivery) {}

  // The mode chosen in the selector; nothing while none is.
  std::optional<PasteMode> mode() const { return pasteModeAt(controls_.组合框66.selectedIndex()); }
  // Under 万条复制: rows in table order from the current row. slot is the
  // pressed custom hotkey's slot (1 to 50), 0 when unknown.
  void paste(int slot);
  // Under 有序复制: only marked rows, each unmarked once delivered.
  void pasteMarked();
  // A new item chosen in the selector: working mode, flags and column layout follow it.
  void modeChosen();
  // What the table's editors ask of the chosen mode; false while none is.
  bool countsEnterPresses() const override;
  bool deliversPictures() const override;
  bool pastesAtRandom() const override;
  bool pastesAllMarkedAtOnce() const override;
  void choosePicturesWithText() override;

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
  // Remembers the window under the cursor as the target of posted characters.
  void captureTarget();
  bool deliverEntry(Style style, std::string_view entry);
  bool stopRequested();
  void finishRun();
  bool deliverRow(PasteMode mode, int entryRow, int settingsRow);
  int deliveredRowNow(int delivered) const;
  void advanceOrEnd(int row, bool automatic);
  int numberOf(int row) const;
  int firstMarkedRow() const;
  void clipboardBusy();
  void restoreMarksWhenNoneLeft();

  app::MainControls& controls_;
  app::HiddenFields& fields_;
  app::HiddenCommands& commands_;
  feedback::Hints& hints_;
  table::DataTable& table_;
  input::Delivery& delivery_;
  std::vector<std::string> randomPool_;  // row numbers still to deliver in this cycle
  std::deque<int> waitingPresses_;       // slots of the presses not yet delivered
  std::mt19937 random_{std::random_device{}()};
  bool delivering_ = false;          // a one-row delivery is going on
  bool runInProgress_ = false;       // an automatic run has started and not yet ended
  desktop::WindowId target_ = 0;     // where posted characters go (句柄1)
  desktop::WindowId runWindow_ = 0;  // the window that had the focus when the run started
};

// The text that 勾选项全部粘贴 pastes: the pieces in rows of `columns`
// pieces, Tab between the pieces of a row, CR LF after each full row.
std::string gridOf(const std::vector<std::string>& pieces, int columns);

}  // namespace hf::paste
