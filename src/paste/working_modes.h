#pragma once

#include "app/hidden_fields.h"
#include "app/main_controls.h"
#include "feedback/hints.h"
#include "paste/hotkeys.h"

namespace hf::paste {

// The row of working-mode buttons at the top of the main window: which rows
// the custom hotkeys paste and what the back-quote key does.
class WorkingModes {
 public:
  WorkingModes(app::MainControls& controls, app::HiddenFields& fields, feedback::Hints& hints,
               HotkeyRegistry& hotkeys)
      : controls_(controls), fields_(fields), hints_(hints), hotkeys_(hotkeys) {}

  // 万条复制: the custom hotkeys paste rows in table order from the current
  // row on; the back-quote key imports into the data table.
  void pressMassCopy();
  // 万条复制 as other parts switch to it: without the checks of its button.
  void switchToMassCopy();
  // The mouse button pressed on 万条复制: the hints that guide a new user.
  void mouseDownOnMassCopy();
  // 有序复制: the custom hotkeys paste only marked rows and unmark them.
  void pressOrderedCopy();

 private:
  bool recordTableShown() const { return controls_.超级列表框2.isVisible(); }
  void highlightOnly(ui::Button& button);
  // What 万条复制 and 有序复制 share: they end every back-quote action.
  void selectRowMode(ui::Button& button, int copyMode);

  app::MainControls& controls_;
  app::HiddenFields& fields_;
  feedback::Hints& hints_;
  HotkeyRegistry& hotkeys_;
};

}  // namespace hf::paste
