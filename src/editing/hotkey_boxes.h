#pragma once

#include <string>

#include "macro/macro_panel.h"
#include "platform/ui.h"
#include "table/data_table.h"

namespace hf::editing {

// Edit boxes that record a key combination as hotkey text while the user
// holds it: the macro hotkey boxes and the hotkey editor of the data table.
// They share one capture (the last prefix and key name).
//
// A key-down pauses before it shows the combination, and key events that
// come fast run inside that pause. The latest event decides what the box
// shows: a key-down whose pause saw another key event writes nothing, and a
// key-up decides at once, so the result does not depend on the key timing.
class HotkeyBoxes {
 public:
  HotkeyBoxes(const table::DataTable& table, const macro::MacroPanel& macroPanel)
      : table_(table), macroPanel_(macroPanel) {}

  void attach(ui::EditBox& box);

 private:
  void keyDown(ui::EditBox& box, int virtualKey);
  void keyUp(ui::EditBox& box);
  bool refused(const ui::EditBox& box, const std::string& hotkey) const;

  const table::DataTable& table_;
  const macro::MacroPanel& macroPanel_;
  std::string prefix_;
  std::string keyName_;
  unsigned events_ = 0;  // key events and double clicks in the boxes so far
};

}  // namespace hf::editing
