#pragma once

#include <functional>

#include "feedback/hints.h"
#include "macro/macro_panel.h"
#include "paste/hotkeys.h"
#include "table/data_table.h"

namespace hf::paste {

// The hotkey toggle `加载热键`: loading registers the custom hotkey of every
// row whose 序号 is 1 to 50; unloading releases them. The caption is the state.
class HotkeyLoading {
 public:
  struct Controls {
    ui::Button& 加载热键;
  };
  HotkeyLoading(Controls controls, feedback::Hints& hints, table::DataTable& table,
                HotkeyRegistry& hotkeys, const macro::MacroPanel& macroPanel)
      : c_(controls), hints_(hints), table_(table), hotkeys_(hotkeys), macroPanel_(macroPanel) {}

  // The screenshot hotkey loader, run first by every loading when its box has a text.
  std::function<void()> loadScreenshotHotkey;

  void toggle();
  void load();
  void unload();
  bool loaded() const;
  // Where hints about the hotkeys point.
  const ui::Control& toggleButton() const { return c_.加载热键; }
  // Registers the hotkeys again so they follow the table's rows: unloads when
  // loaded, then loads.
  void reload();

 private:
  Controls c_;
  feedback::Hints& hints_;
  table::DataTable& table_;
  HotkeyRegistry& hotkeys_;
  const macro::MacroPanel& macroPanel_;
};

}  // namespace hf::paste
