#pragma once

#include "feedback/hints.h"
#include "macro/macro_panel.h"
#include "paste/hotkeys.h"
#include "table/data_table.h"

namespace hf::recorder {

// The record, replay and stop hotkeys typed into their boxes: registered when
// the recorder is switched on, released when a box is pressed for a new text.
class MacroHotkeys {
 public:
  MacroHotkeys(feedback::Hints& hints, macro::MacroPanel& panel, const table::DataTable& table,
               paste::HotkeyRegistry& hotkeys)
      : hints_(hints), panel_(panel), table_(table), hotkeys_(hotkeys) {}

  // Registers the three; a box whose text a data-table row holds, or that
  // the system refuses, is emptied. False, with a hint and none of the three
  // left registered, when a box is empty.
  bool registerAll();
  void releaseAll();
  // The left button pressed on a box (0 record, 1 replay, 2 stop).
  void boxPressed(int box);

 private:
  void hintSetAllThree();
  bool anyBoxEmpty() const;

  feedback::Hints& hints_;
  macro::MacroPanel& panel_;
  const table::DataTable& table_;
  paste::HotkeyRegistry& hotkeys_;
};

}  // namespace hf::recorder
