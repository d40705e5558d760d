#include "editing/hotkey_boxes.h"

#include "paste/hotkey_text.h"
#include "platform/desktop.h"
#include "platform/event_loop.h"
#include "platform/keys.h"

namespace hf::editing {
namespace {

// Ctrl 1, Shift 2, Alt 4 held now, leaving out the key that is going down.
unsigned modifiersBesides(int pressedKey) {
  unsigned state = 0;
  if (pressedKey != keys::kCtrl && desktop::isKeyDown(keys::kCtrl)) state |= keys::kCtrlFlag;
  if (pressedKey != keys::kShift && desktop::isKeyDown(keys::kShift)) state |= keys::kShiftFlag;
  if (pressedKey != keys::kAlt && desktop::isKeyDown(keys::kAlt)) state |= keys::kAltFlag;
  return state;
}

}  // namespace

void HotkeyBoxes::attach(ui::EditBox& box) {
  box.onKeyDown = [this, &box](int key) { keyDown(box, key); };
  box.onKeyUp = [this, &box](int) { keyUp(box); };
  box.onDoubleClick = [this, &box] {
    ++events_;
    box.setText("");
  };
}

void HotkeyBoxes::keyDown(ui::EditBox& box, int virtualKey) {
  const unsigned event = ++events_;
  keyName_.clear();
  // The highest-coded named key held down wins; modifiers have no names.
  for (int key = 1; key <= 256; ++key) {
    if (!desktop::isKeyDown(key)) continue;
    if (std::string name = keys::keyName(key); !name.empty()) keyName_ = name;
  }
  prefix_ = paste::capturePrefix(virtualKey, modifiersBesides(virtualKey));
  loop::pause(10);
  if (events_ != event) return;  // a later key event has already set the box
  prefix_ = paste::capturePrefix(virtualKey, modifiersBesides(virtualKey));
  box.setText(prefix_ + keyName_);
}

void HotkeyBoxes::keyUp(ui::EditBox& box) {
  ++events_;
  const std::string hotkey = prefix_ + keyName_;
  box.setText(refused(box, hotkey) ? "" : hotkey);
}

// Modifiers alone, a combination another row or macro box holds, and the
// system's copy and paste keys, which a global hotkey would take from every program.
bool HotkeyBoxes::refused(const ui::EditBox& box, const std::string& hotkey) const {
  if (hotkey.empty() || hotkey.back() == '+') return true;
  if (hotkey == "Ctrl+V" || hotkey == "Ctrl+C") return true;
  for (int row = 0; row <= 50; ++row)
    if (table_.cell(row, table::DataTable::kHotkey) == hotkey) return true;
  return macroPanel_.macroHotkeyTaken(hotkey, &box);
}

}  // namespace hf::editing
