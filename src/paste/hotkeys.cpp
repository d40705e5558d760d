#include "paste/hotkeys.h"

#include "platform/desktop.h"
#include "platform/keys.h"

namespace hf::paste {

int HotkeyRegistry::registerKey(unsigned modifiers, int virtualKey) {
  const int id = nextId_++;
  if (virtualKey == 0) return 0;  // a name outside the key table
  return desktop::registerHotkey(owner_, id, modifiers, virtualKey) ? id : 0;
}

void HotkeyRegistry::release(int& id) {
  if (id != 0) desktop::unregisterHotkey(owner_, id);
  id = 0;
}

void HotkeyRegistry::registerBackQuote() {
  release(backQuote);
  backQuote = registerKey(0, keys::kBackQuote);
}

void HotkeyRegistry::releaseCustom() {
  for (int& id : custom) release(id);
}

void HotkeyRegistry::releaseAll() {
  release(backQuote);
  release(screenshot);
  releaseCustom();
  release(record);
  release(replay);
  release(stop);
}

}  // namespace hf::paste
