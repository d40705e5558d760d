#pragma once

#include <array>

#include "platform/ui.h"

namespace hf::paste {

inline constexpr int kCustomSlots = 50;  // rows 1 to 50 can carry a custom hotkey
inline constexpr int kFirstHotkeyId = 33001;

// The global hotkeys the program holds. Every registration gets a fresh id,
// counted up from 33001 and never reused within a run; a refused
// registration yields 0. The fields hold the ids currently registered.
class HotkeyRegistry {
 public:
  explicit HotkeyRegistry(ui::Window& owner) : owner_(owner) {}

  // Modifier bits: Ctrl 1, Shift 2, Alt 4.
  int registerKey(unsigned modifiers, int virtualKey);
  // Releases the id held in the field (0 is fine) and clears the field.
  void release(int& id);

  // Releases the back-quote hotkey if held and registers it again, no modifiers.
  void registerBackQuote();
  void releaseCustom();
  // Every id the program may hold, in this order: back-quote, screenshot, the
  // custom slots 1 to 50, record, replay, stop.
  void releaseAll();

  int backQuote = 0;
  int screenshot = 0;
  std::array<int, kCustomSlots> custom{};
  int record = 0;
  int replay = 0;
  int stop = 0;

 private:
  ui::Window& owner_;
  int nextId_ = kFirstHotkeyId;
};

}  // namespace hf::paste
