#include "platform/win32/hotkey_repeats.h"

#include <windows.h>

#include <array>
#include <atomic>
#include <functional>
#include <future>
#include <map>
#include <mutex>
#include <thread>
#include <utility>

#include "platform/keys.h"

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
};

// Keys down as the hook has seen them: written by the hook, read by the UI thread.
std::array<std::atomic<bool>, 256> keyDown{};

Watch& watch() {
  static Watch instance;
  return instance;
}

std::atomic<bool> hookInstalled{false};

// Injected keys may carry the side-less codes (VK_SHIFT) instead of the
// left and right ones.
unsigned modifiersHeld() {
  const auto any = [](int either, int left, int right) {
    return keyDown[either] || keyDown[left] || keyDown[right];
  };
  return (any(VK_CONTROL, VK_LCONTROL, VK_RCONTROL) ? keys::kCtrlFlag : 0u) |
         (any(VK_SHIFT, VK_LSHIFT, VK_RSHIFT) ? keys::kShiftFlag : 0u) |
         (any(VK_MENU, VK_LMENU, VK_RMENU) ? keys::kAltFlag : 0u);
}

// Runs for every key event of the desktop: it only counts and returns.
LRESULT CALLBACK countPresses(int code, WPARAM message, LPARAM data) {
  if (code == HC_ACTION) {
    const int key = static_cast<int>(reinterpret_cast<const KBDLLHOOKSTRUCT*>(data)->vkCode & 0xFF);
    Watch& w = watch();
    const bool goesDown = message == WM_KEYDOWN || message == WM_SYSKEYDOWN;
    if (goesDown && !keyDown[key]) {
      const unsigned modifiers = modifiersHeld();
      const std::lock_guard lock(w.mutex);
      for (auto& [windowAndId, hotkey] : w.hotkeys)
        if (hotkey.virtualKey == key && hotkey.modifiers == modifiers) ++hotkey.presses;
    }
    keyDown[key] = goesDown;
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

// A firing is a repeat only when no fresh press accounts for it and the hook
// has seen its key go down and stay down: a press the hook has not counted
// yet (a busy machine) is never dropped.
bool isHotkeyRepeat(HWND window, int id) {
  if (!hookInstalled) return false;
  const std::lock_guard lock(watch().mutex);
  const auto hotkey = watch().hotkeys.find({window, id});
  if (hotkey == watch().hotkeys.end()) return false;
  Combination& combination = hotkey->second;
  if (combination.firings < combination.presses) {
    ++combination.firings;
    return false;
  }
  return keyDown[combination.virtualKey & 0xFF];
}

}  // namespace hf::win32
