// The system's low-level hooks. They run on a thread of their own, which
// hands each event to the UI thread (where the subscribers' callbacks run)
// and waits a short while for the answer, so the system always gets its
// answer in time, even while the UI thread sleeps in a pause.
#include <windows.h>

#include <algorithm>
#include <array>
#include <atomic>
#include <cstdint>
#include <deque>
#include <future>
#include <mutex>
#include <thread>
#include <variant>
#include <vector>

#include "platform/event_loop.h"
#include "platform/hook_chain.h"

namespace hf::hooks {
namespace {

constexpr UINT kHandOver = WM_APP;     // sent to the UI window; wParam: the event awaited
constexpr UINT kCatchUp = WM_APP + 1;  // posted to the UI window after a hand-over timed out
constexpr UINT kRequest = WM_APP + 2;  // to the hook thread; lParam: a Request
// Well below the time after which the system stops waiting for a hook (and
// may drop it), and short enough for the user not to notice.
constexpr UINT kAnswerWithinMs = 50;
// Marks the probe events, which only our hooks see: they swallow them.
constexpr ULONG_PTR kProbeMark = 0x686F6F6B;
constexpr WORD kProbeKey = 0xE8;  // a virtual-key code no key has
constexpr DWORD kProbeWaitMs = 300;

using Event = std::variant<KeyEvent, MouseEvent>;

struct Queued {
  std::uint64_t number = 0;
  Event event;
};

struct Request {
  Device device;
  bool install;
  std::promise<bool> done;
};

struct Hooks {
  HWND uiWindow = nullptr;  // a message-only window of the UI thread
  DWORD threadId = 0;       // the hook thread's

  std::mutex mutex;  // guards the queue, the numbers and uiBehind
  std::deque<Queued> queue;
  std::uint64_t nextNumber = 1;
  // A hand-over timed out and the UI thread has not caught up yet: events
  // queue up without waiting for it.
  bool uiBehind = false;

  std::array<HHOOK, 2> hooks{};  // used by the hook thread only
  std::array<std::atomic<bool>, 2> installed{};
  std::array<std::atomic<unsigned>, 2> probesSeen{};
};

// Never destroyed: the hook thread may still run while the process exits.
Hooks& hooks() {
  static Hooks& instance = *new Hooks;
  return instance;
}

std::size_t indexOf(Device device) {
  return device == Device::Keyboard ? 0 : 1;
}

// The event's tick count turned into the loop's clock.
std::int64_t loopTimeOf(DWORD eventTick) {
  const auto age = static_cast<std::int32_t>(GetTickCount() - eventTick);
  return loop::nowMs() - std::max(age, 0);
}

// On the UI thread: runs every queued event through the subscribers, in
// order; answers whether the awaited one was swallowed.
LRESULT runQueued(std::uint64_t awaited) {
  Hooks& h = hooks();
  bool swallowed = false;
  for (;;) {
    Queued next;
    {
      const std::lock_guard lock(h.mutex);
      if (h.queue.empty()) {
        h.uiBehind = false;
        break;
      }
      next = std::move(h.queue.front());
      h.queue.pop_front();
    }
    const bool taken =
        std::visit([](const auto& event) { return chain::dispatch(event); }, next.event);
    if (next.number == awaited) swallowed = taken;
  }
  return swallowed ? 1 : 0;
}

LRESULT CALLBACK uiWindowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == kHandOver) return runQueued(static_cast<std::uint64_t>(wParam));
  if (message == kCatchUp) {
    runQueued(0);
    return 0;
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

// On the hook thread: whether the subscribers swallow the event. When the UI
// thread does not answer in time the event goes on, and the UI thread runs
// it through the subscribers later.
bool handToUiThread(const Event& event) {
  Hooks& h = hooks();
  std::uint64_t number = 0;
  {
    const std::lock_guard lock(h.mutex);
    number = h.nextNumber++;
    h.queue.push_back({number, event});
    if (h.uiBehind) return false;  // the catch-up message is on its way
  }
  DWORD_PTR swallowed = 0;
  if (SendMessageTimeoutW(h.uiWindow, kHandOver, static_cast<WPARAM>(number), 0,
                          SMTO_NORMAL | SMTO_ABORTIFHUNG, kAnswerWithinMs, &swallowed))
    return swallowed != 0;
  {
    const std::lock_guard lock(h.mutex);
    h.uiBehind = true;
  }
  PostMessageW(h.uiWindow, kCatchUp, 0, 0);
  return false;
}

LRESULT CALLBACK keyboardHook(int code, WPARAM message, LPARAM data) {
  if (code == HC_ACTION) {
    const auto& info = *reinterpret_cast<const KBDLLHOOKSTRUCT*>(data);
    if (info.dwExtraInfo == kProbeMark) {
      ++hooks().probesSeen[indexOf(Device::Keyboard)];
      return 1;
    }
    KeyEvent event;
    event.virtualKey = static_cast<int>(info.vkCode);
    event.scanCode = static_cast<int>(info.scanCode);
    event.message = static_cast<KeyMessage>(message);
    event.extended = (info.flags & LLKHF_EXTENDED) != 0;
    event.injected = (info.flags & LLKHF_INJECTED) != 0;
    event.time = loopTimeOf(info.time);
    if (handToUiThread(event)) return 1;
  }
  return CallNextHookEx(nullptr, code, message, data);
}

LRESULT CALLBACK mouseHook(int code, WPARAM message, LPARAM data) {
  if (code == HC_ACTION) {
    const auto& info = *reinterpret_cast<const MSLLHOOKSTRUCT*>(data);
    if (info.dwExtraInfo == kProbeMark) {
      ++hooks().probesSeen[indexOf(Device::Mouse)];
      return 1;
    }
    MouseEvent event;
    event.message = static_cast<MouseMessage>(message);
    event.point = {info.pt.x, info.pt.y};
    const int high = static_cast<short>(HIWORD(info.mouseData));
    if (message == WM_MOUSEWHEEL || message == WM_MOUSEHWHEEL) event.wheelDelta = high;
    if (message == WM_XBUTTONDOWN || message == WM_XBUTTONUP) event.xButton = high;
    event.injected = (info.flags & LLMHF_INJECTED) != 0;
    event.time = loopTimeOf(info.time);
    if (handToUiThread(event)) return 1;
  }
  return CallNextHookEx(nullptr, code, message, data);
}

// The system calls a low-level hook on the thread that installed it, so the
// hook thread installs and removes them.
void carryOut(Request& request) {
  Hooks& h = hooks();
  const std::size_t index = indexOf(request.device);
  if (h.hooks[index]) UnhookWindowsHookEx(h.hooks[index]);
  h.hooks[index] = nullptr;
  if (request.install) {
    const bool keyboard = request.device == Device::Keyboard;
    h.hooks[index] =
        SetWindowsHookExW(keyboard ? WH_KEYBOARD_LL : WH_MOUSE_LL,
                          keyboard ? keyboardHook : mouseHook, GetModuleHandleW(nullptr), 0);
  }
  h.installed[index] = h.hooks[index] != nullptr;
  request.done.set_value(h.hooks[index] != nullptr);
}

void hookThread(std::promise<void>& ready) {
  MSG message;
  PeekMessageW(&message, nullptr, WM_USER, WM_USER, PM_NOREMOVE);  // makes the thread's queue
  hooks().threadId = GetCurrentThreadId();
  ready.set_value();
  while (GetMessageW(&message, nullptr, 0, 0) > 0) {
    if (!message.hwnd && message.message == kRequest) {
      carryOut(*reinterpret_cast<Request*>(message.lParam));
    } else {
      DispatchMessageW(&message);
    }
  }
}

// Made on the UI thread by the first subscription; both live as long as the process.
bool started() {
  static const bool done = [] {
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = uiWindowProcedure;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.lpszClassName = L"hotfill hooks";
    RegisterClassW(&windowClass);
    hooks().uiWindow = CreateWindowExW(0, windowClass.lpszClassName, L"", 0, 0, 0, 0, 0,
                                       HWND_MESSAGE, nullptr, windowClass.hInstance, nullptr);
    if (!hooks().uiWindow) return false;
    std::promise<void> ready;
    std::thread(hookThread, std::ref(ready)).detach();
    ready.get_future().wait();
    return true;
  }();
  return done;
}

// The hook thread answers within kAnswerWithinMs even while it waits for the
// UI thread, so this wait is short.
bool ask(Device device, bool install) {
  if (!started()) return false;
  Request request{device, install, {}};
  std::future<bool> answer = request.done.get_future();
  if (!PostThreadMessageW(hooks().threadId, kRequest, 0, reinterpret_cast<LPARAM>(&request)))
    return false;
  return answer.get();
}

}  // namespace

namespace chain {

bool install(Device device) {
  return ask(device, true);
}

void uninstall(Device device) {
  ask(device, false);
}

bool installed(Device device) {
  return hooks().installed[indexOf(device)];
}

// A key no keyboard has, or a mouse move by nothing: the hook sees it and
// swallows it, so no window ever gets it.
bool receiving(Device device) {
  if (!installed(device)) return false;
  std::vector<INPUT> probe;
  if (device == Device::Keyboard) {
    for (const DWORD flags : {DWORD{0}, DWORD{KEYEVENTF_KEYUP}}) {
      INPUT input{};
      input.type = INPUT_KEYBOARD;
      input.ki.wVk = kProbeKey;
      input.ki.dwFlags = flags;
      input.ki.dwExtraInfo = kProbeMark;
      probe.push_back(input);
    }
  } else {
    INPUT input{};
    input.type = INPUT_MOUSE;
    input.mi.dwFlags = MOUSEEVENTF_MOVE;
    input.mi.dwExtraInfo = kProbeMark;
    probe.push_back(input);
  }
  const std::atomic<unsigned>& seen = hooks().probesSeen[indexOf(device)];
  const unsigned before = seen;
  if (!SendInput(static_cast<UINT>(probe.size()), probe.data(), sizeof(INPUT))) return false;
  const ULONGLONG deadline = GetTickCount64() + kProbeWaitMs;
  while (seen == before) {
    if (GetTickCount64() >= deadline) return false;
    Sleep(1);
  }
  return true;
}

}  // namespace chain
}  // namespace hf::hooks
