#include "paste/hotkey_boxes.h"

#include "paste/hotkey_text.h"
#include "platform/desktop.h"
#include "platform/event_loop.h"
#include "platform/keys.h"

namespace hf::paste {
namespace {

// Ctrl 1, Shift 2, Alt 4 held now, leaving out the key that is going down.
unsigned modifiersBesides(int pressedKey) {
  unsigned state = 0;
  if (pressedKey != 0x11 && desktop::isKeyDown(0x11)) state |= 1;
  if (pressedKey != 0x10 && desktop::isKeyDown(0x10)) state |= 2;
  if (pressedKey != 0x12 && desktop::isKeyDown(0x12)) state |= 4;
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
  prefix_ = capturePrefix(virtualKey, modifiersBesides(virtualKey));
  loop::pause(10);
  if (events_ != event) return;  // a later key event has already set the box
  prefix_ = capturePrefix(virtualKey, modifiersBesides(virtualKey));
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
  for (const ui::EditBox* macroBox : {&controls_.记录, &controls_.模拟, &controls_.停止})
    if (macroBox != &box && macroBox->text() == hotkey) return true;
  return false;
}

}  // namespace hf::paste
