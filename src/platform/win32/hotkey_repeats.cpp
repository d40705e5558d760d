#include "platform/win32/hotkey_repeats.h"

#include <windows.h>

#include <atomic>
#include <bitset>
#include <functional>
#include <future>
#include <map>
#include <mutex>
#include <thread>
#include <utility>

namespace hf::win32 {
namespace {

struct Combination {
  unsigned modifiers = 0;
  int virtualKey = 0;
  unsigned presses = 0;  // fresh presses seen by the hook
  unsigned firings = 0;  // firings taken as presses
};

struct Watch {
  std::mutex mutex;
  std::map<std::pair<HWND, int>, Combination> hotkeys;  // by window and id
  std::bitset<256> down;  // keys down, as the hook has seen them (hook thread only)
};

Watch& watch() {
  static Watch instance;
  return instance;
}

std::atomic<bool> hookInstalled{false};

// Injected keys may carry the side-less codes (VK_SHIFT) instead of the
// left and right ones.
unsigned modifiersHeld(const std::bitset<256>& down) {
  const auto any = [&](int either, int left, int right) {
    return down[either] || down[left] || down[right];
  };
  return (any(VK_CONTROL, VK_LCONTROL, VK_RCONTROL) ? 1u : 0u) |
         (any(VK_SHIFT, VK_LSHIFT, VK_RSHIFT) ? 2u : 0u) |
         (any(VK_MENU, VK_LMENU, VK_RMENU) ? 4u : 0u);
}

// Runs for every key event of the desktop: it only counts and returns.
LRESULT CALLBACK countPresses(int code, WPARAM message, LPARAM data) {
  if (code == HC_ACTION) {
    const int key = static_cast<int>(reinterpret_cast<const KBDLLHOOKSTRUCT*>(data)->vkCode & 0xFF);
    Watch& w = watch();
    const bool goesDown = message == WM_KEYDOWN || message == WM_SYSKEYDOWN;
    if (goesDown && !w.down[key]) {
      const unsigned modifiers = modifiersHeld(w.down);
      const std::lock_guard lock(w.mutex);
      for (auto& [windowAndId, hotkey] : w.hotkeys)
        if (hotkey.virtualKey == key && hotkey.modifiers == modifiers) ++hotkey.presses;
    }
    w.down[key] = goesDown;
  }
  return CallNextHookEx(nullptr, code, message, data);
}

// A low-level hook is called on the thread that installed it, between its
// messages: this thread does nothing else, so no key of the desktop waits on
// the UI thread's pauses.
void hookThread(std::promise<void>& ready) {
  HHOOK hook = SetWindowsHookExW(WH_KEYBOARD_LL, countPresses, GetModuleHandleW(nullptr), 0);
  hookInstalled = hook != nullptr;
  ready.set_value();
  if (!hook) return;
  MSG message;
  while (GetMessageW(&message, nullptr, 0, 0) > 0) DispatchMessageW(&message);
}

}  // namespace

void noteHotkeyRegistered(HWND window, int id, unsigned modifiers, int virtualKey) {
  static std::once_flag started;
  // Presses are counted from the first registration on: wait for the hook.
  std::call_once(started, [] {
    std::promise<void> ready;
    std::thread(hookThread, std::ref(ready)).detach();
    ready.get_future().wait();
  });
  const std::lock_guard lock(watch().mutex);
  watch().hotkeys[{window, id}] = {modifiers, virtualKey};
}

void noteHotkeyReleased(HWND window, int id) {
  const std::lock_guard lock(watch().mutex);
  watch().hotkeys.erase({window, id});
}

bool isHotkeyRepeat(HWND window, int id) {
  if (!hookInstalled) return false;
  const std::lock_guard lock(watch().mutex);
  const auto hotkey = watch().hotkeys.find({window, id});
  if (hotkey == watch().hotkeys.end()) return false;
  if (hotkey->second.firings >= hotkey->second.presses) return true;
  ++hotkey->second.firings;
  return false;
}

}  // namespace hf::win32
