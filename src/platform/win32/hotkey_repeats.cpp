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

namespace hf::win32 {
namespace {

// The thread's own messages: look at the watches (install the hook for them,
// end those whose key is already up), and remove the hook if none is left.
constexpr UINT kCheckWatches = WM_APP + 1;
constexpr UINT kDropHookIfIdle = WM_APP + 2;

struct Hotkey {
  int virtualKey = 0;
  bool watched = false;  // fired as a press and its key not yet seen going up
  // The tick from which the hook sees the watched key's events; 0 until then.
  DWORD watchingSince = 0;
};

struct Watch {
  std::mutex mutex;
  std::map<std::pair<HWND, int>, Hotkey> hotkeys;  // by window and id
  DWORD threadId = 0;
  HHOOK hook = nullptr;  // touched on the hook thread only

  bool anyWatched() const {
    for (const auto& entry : hotkeys)
      if (entry.second.watched) return true;
    return false;
  }
  // Ends the watches of a key that went up; true when none is left.
  bool endWatches(int virtualKey) {
    for (auto& [windowAndId, hotkey] : hotkeys)
      if (hotkey.virtualKey == virtualKey) hotkey.watched = false;
    return !anyWatched();
  }
};

Watch& watch() {
  static Watch instance;
  return instance;
}

std::atomic<bool> hookRefused{false};

// Runs for every key event of the desktop while a watch is on: it only notes
// a watched key going up and returns.
LRESULT CALLBACK noteReleases(int code, WPARAM message, LPARAM data) {
  if (code == HC_ACTION && (message == WM_KEYUP || message == WM_SYSKEYUP)) {
    const int key = static_cast<int>(reinterpret_cast<const KBDLLHOOKSTRUCT*>(data)->vkCode & 0xFF);
    Watch& w = watch();
    const std::lock_guard lock(w.mutex);
    if (w.endWatches(key)) PostThreadMessageW(w.threadId, kDropHookIfIdle, 0, 0);
  }
  return CallNextHookEx(nullptr, code, message, data);
}

void dropHookIfIdle(Watch& w) {
  {
    const std::lock_guard lock(w.mutex);
    if (w.anyWatched()) return;
  }
  if (w.hook) UnhookWindowsHookEx(w.hook);
  w.hook = nullptr;
}

// With the hook in place, a key that went up before it came is seen in the
// key state: from here on no release is missed.
void checkWatches(Watch& w) {
  if (!w.hook) {
    w.hook = SetWindowsHookExW(WH_KEYBOARD_LL, noteReleases, GetModuleHandleW(nullptr), 0);
    hookRefused = w.hook == nullptr;
  }
  const DWORD now = GetTickCount() | 1;  // never 0, which means "not yet"
  {
    const std::lock_guard lock(w.mutex);
    for (auto& [windowAndId, hotkey] : w.hotkeys) {
      if (!hotkey.watched || hotkey.watchingSince) continue;
      hotkey.watched = (GetAsyncKeyState(hotkey.virtualKey) & 0x8000) != 0;
      hotkey.watchingSince = now;
    }
  }
  dropHookIfIdle(w);
}

// A low-level hook is called on the thread that installed it, between its
// messages: this thread does nothing else, so no key of the desktop waits on
// the UI thread's pauses.
void hookThread(std::promise<void>& ready) {
  Watch& w = watch();
  MSG message;
  PeekMessageW(&message, nullptr, 0, 0, PM_NOREMOVE);  // the queue that takes the requests
  w.threadId = GetCurrentThreadId();
  ready.set_value();
  while (GetMessageW(&message, nullptr, 0, 0) > 0) {
    if (message.message == kCheckWatches) checkWatches(w);
    if (message.message == kDropHookIfIdle) dropHookIfIdle(w);
    DispatchMessageW(&message);
  }
}

}  // namespace

void noteHotkeyRegistered(HWND window, int id, int virtualKey) {
  static std::once_flag started;
  std::call_once(started, [] {
    std::promise<void> ready;
    std::thread(hookThread, std::ref(ready)).detach();
    ready.get_future().wait();
  });
  const std::lock_guard lock(watch().mutex);
  watch().hotkeys[{window, id}] = {virtualKey & 0xFF};
}

void noteHotkeyReleased(HWND window, int id) {
  const std::lock_guard lock(watch().mutex);
  watch().hotkeys.erase({window, id});
}

// A firing is a repeat only when its key event came while the hook watched
// the key and saw it stay down. One that came before the hook could see
// (a quick second tap queued behind the first) is a press: a press is never
// dropped for want of the hook. Any other firing starts a watch.
bool isHotkeyRepeat(HWND window, int id) {
  if (hookRefused) return false;
  const DWORD firedAt = static_cast<DWORD>(GetMessageTime());
  Watch& w = watch();
  {
    const std::lock_guard lock(w.mutex);
    const auto found = w.hotkeys.find({window, id});
    if (found == w.hotkeys.end()) return false;
    Hotkey& hotkey = found->second;
    if (hotkey.watched)
      return hotkey.watchingSince && static_cast<LONG>(firedAt - hotkey.watchingSince) > 0;
    hotkey.watched = true;
    hotkey.watchingSince = 0;
  }
  PostThreadMessageW(w.threadId, kCheckWatches, 0, 0);
  return false;
}

}  // namespace hf::win32
