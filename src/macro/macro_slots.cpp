#include "macro/macro_slots.h"

#include "platform/desktop.h"
#include "platform/files.h"

namespace hf::macro {

MacroSlots::MacroSlots(Controls controls, feedback::Hints& hints, RecordTable& table,
                       SpeedSelector& speed)
    : c_(controls), hints_(hints), table_(table), speed_(speed) {
  for (int slot = 1; slot <= kMacroSlots; ++slot)
    c_.boxes[slot - 1]->onClick = [this, slot] { boxClicked(slot); };
  c_.按钮59.onClick = [this] { save(); };
  c_.按钮21.onClick = [this] { openForEditing(); };
}

int MacroSlots::currentSlot() const {
  for (int slot = 1; slot <= kMacroSlots; ++slot)
    if (c_.boxes[slot - 1]->isChecked()) return slot;
  return 0;
}

void MacroSlots::tick(int slot) {
  for (int other = 1; other <= kMacroSlots; ++other) c_.boxes[other - 1]->setChecked(other == slot);
}

// The click has already toggled the box: a cleared box leaves no slot ticked.
void MacroSlots::boxClicked(int slot) {
  if (!c_.boxes[slot - 1]->isChecked()) return;
  tick(slot);
  if (!table_.shown()) return;
  loadCurrent();
  table_.renumber();
  table_.view().focus();
  table_.selectRow(0);
}

void MacroSlots::loadCurrent() {
  const int slot = currentSlot();
  if (slot == 0) return;
  table_.replaceAll(parseSlotFile(files::readWhole(slotFile(slot)).value_or(std::string())));
}

void MacroSlots::save() {
  if (!table_.shown() || !speed_.requireFullSpeed()) return;
  const int slot = currentSlot();
  if (slot == 0) return;
  if (!files::replaceWhole(slotFile(slot), formatSlotFile(table_.steps())))
    hints_.show(hints_.气球提示框2, c_.按钮59, 15, "●数据保存失败！文件被占用或文件夹只读。");
}

// The first ticked slot in the order 5, 4, 3, 2, 1, 6.
void MacroSlots::openForEditing() {
  for (int slot : {5, 4, 3, 2, 1, 6}) {
    if (!c_.boxes[slot - 1]->isChecked()) continue;
    desktop::openPath(slotFile(slot));
    return;
  }
}

}  // namespace hf::macro
