#pragma once

#include <array>

#include "feedback/hints.h"
#include "macro/record_table.h"
#include "macro/slot_files.h"
#include "macro/speed_selector.h"
#include "platform/ui.h"

namespace hf::macro {

// The six macro slots: at most one of the boxes "1：" … "6：" is ticked, and
// the record table is saved to and loaded from its file "数据N.txt".
class MacroSlots {
 public:
  struct Controls {
    std::array<ui::CheckBox*, kMacroSlots> boxes;  // 选择框94 … 选择框98, 选择框12
    ui::Button& 按钮59;                            // 保存
    ui::Button& 按钮21;                            // 编辑
  };
  MacroSlots(Controls controls, feedback::Hints& hints, RecordTable& table, SpeedSelector& speed);

  // The ticked slot, 1 to 6; 0 when none is.
  int currentSlot() const;
  void tick(int slot);

  // Replaces the steps by the current slot's file (a missing file empties
  // them); with no slot ticked the steps stay.
  void loadCurrent();
  // Writes the steps to the current slot while the record table is shown,
  // at full speed only.
  void save();
  // Opens the slot's file with its default program.
  void openForEditing();

 private:
  void boxClicked(int slot);

  Controls c_;
  feedback::Hints& hints_;
  RecordTable& table_;
  SpeedSelector& speed_;
};

}  // namespace hf::macro
