#pragma once

#include <functional>

#include "app/hidden_fields.h"
#include "app/main_controls.h"
#include "feedback/hints.h"
#include "paste/hotkeys.h"
#include "table/data_table.h"

namespace hf::paste {

// The hotkey toggle `加载热键`: loading registers the custom hotkey of every
// row whose 序号 is 1 to 50; unloading releases them. The caption is the state.
class HotkeyLoading {
 public:
  HotkeyLoading(app::MainControls& controls, app::HiddenFields& fields, feedback::Hints& hints,
                table::DataTable& table, HotkeyRegistry& hotkeys)
      : controls_(controls), fields_(fields), hints_(hints), table_(table), hotkeys_(hotkeys) {}

  // The screenshot hotkey loader, run first by every loading when its box has a text.
  std::function<void()> loadScreenshotHotkey;

  void toggle();
  void load();
  void unload();
  bool loaded() const;

 private:
  app::MainControls& controls_;
  app::HiddenFields& fields_;
  feedback::Hints& hints_;
  table::DataTable& table_;
  HotkeyRegistry& hotkeys_;
};

}  // namespace hf::paste
