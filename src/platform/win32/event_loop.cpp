#include "platform/event_loop.h"

#include <windows.h>

#include <mmsystem.h>

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <exception>
#include <mutex>
#include <stdexcept>
#include <thread>

namespace hf::loop {

struct Worker::Thread {
  std::thread thread;
  std::atomic<bool> finished{false};
  HANDLE done = nullptr;  // signalled once the work has ended
};

namespace {

// Static initialisation runs on the main thread, the one that runs the UI.
const DWORD uiThread = GetCurrentThreadId();

void dispatch(MSG& message) {
  TranslateMessage(&message);
  DispatchMessageW(&message);
}

// Dispatches every pending message; false when it met WM_QUIT, which stays
// queued for the outer loop, the one meant to end.
bool dispatchPending() {
  MSG message;
  while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
    if (message.message == WM_QUIT) {
      PostQuitMessage(static_cast<int>(message.wParam));
      return false;
    }
    dispatch(message);
  }
  return true;
}

// Waits until `handle` is signalled, meanwhile dispatching every message, or
// with sentOnly only the calls workers send through runOnUiThread.
void waitDispatching(HANDLE handle, bool sentOnly) {
  for (;;) {
    const DWORD woke = MsgWaitForMultipleObjectsEx(
        1, &handle, INFINITE, sentOnly ? QS_SENDMESSAGE : QS_ALLINPUT, MWMO_INPUTAVAILABLE);
    if (woke != WAIT_OBJECT_0 + 1) return;
    if (sentOnly) {
      MSG message;  // peeking delivers sent messages and takes nothing off the queue
      PeekMessageW(&message, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
    } else if (!dispatchPending()) {
      sentOnly = true;  // the program is ending: only workers' calls still run
    }
  }
}

// Sleep follows the system timer's resolution (often 15.6 ms); the pauses of
// the delivery sequences are a few milliseconds long, so ask for 1 ms once.
void useFineTimer() {
  static const bool done = timeBeginPeriod(1) == TIMERR_NOERROR;
  (void)done;
}

// Workers' runOnUiThread calls are sent to a message-only window of the UI
// thread, so the UI thread runs them whenever it looks at its messages, modal
// loops included, as SendMessage guarantees.
constexpr UINT kRunCall = WM_APP;

struct Call {
  const std::function<void()>* work;
  std::exception_ptr error;
};

LRESULT CALLBACK callWindowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message != kRunCall) return DefWindowProcW(window, message, wParam, lParam);
  auto* call = reinterpret_cast<Call*>(lParam);
  try {
    (*call->work)();
  } catch (...) {
    call->error = std::current_exception();
  }
  return 0;
}

std::mutex callWindowMutex;
std::condition_variable callWindowMade;
HWND callWindow = nullptr;

// Made by the UI thread before it first processes events; a worker calling
// earlier waits for it, as it would wait for the UI thread to answer.
void makeCallWindow() {
  static const bool made = [] {
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = callWindowProcedure;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.lpszClassName = L"hotfill calls";
    RegisterClassW(&windowClass);
    HWND window = CreateWindowExW(0, windowClass.lpszClassName, L"", 0, 0, 0, 0, 0, HWND_MESSAGE,
                                  nullptr, windowClass.hInstance, nullptr);
    std::lock_guard lock(callWindowMutex);
    callWindow = window;
    callWindowMade.notify_all();
    return window != nullptr;
  }();
  (void)made;
}

HWND awaitCallWindow() {
  std::unique_lock lock(callWindowMutex);
  callWindowMade.wait(lock, [] { return callWindow != nullptr; });
  return callWindow;
}

}  // namespace

void processPending() {
  if (!onUiThread()) return;
  makeCallWindow();
  dispatchPending();
}

// The events processed first count towards the wait: a pause between two
// keys lasts ms however long a repaint before it took. A pause that follows
// the previous one within its own length counts from when that one was due,
// so the milliseconds a key, a clipboard text or the timer's lateness take
// between them do not pile up over a run of pastes; it catches up at most
// half its length, so two actions are never closer than half the pause.
void pause(int ms) {
  if (!onUiThread()) return pauseOnWorker(ms);
  static std::int64_t previousDue = 0;
  const std::int64_t now = nowMs();
  const std::int64_t due =
      now - previousDue <= ms ? std::max(previousDue + ms, now + ms / 2) : now + ms;
  previousDue = due;
  processPending();
  pauseOnWorker(static_cast<int>(due - nowMs()));
  processPending();
}

void pumpIfInput() {
  if (GetInputState()) processPending();
}

void preciseWait(int ms) {
  if (ms <= 0) return;
  useFineTimer();
  HANDLE timer = CreateWaitableTimerW(nullptr, TRUE, nullptr);
  LARGE_INTEGER due;
  due.QuadPart = -static_cast<LONGLONG>(ms) * 10000;  // relative, in 100 ns units
  if (!timer || !SetWaitableTimer(timer, &due, 0, nullptr, nullptr, FALSE)) {
    if (timer) CloseHandle(timer);
    pause(ms);
    return;
  }
  if (onUiThread()) {
    makeCallWindow();
    waitDispatching(timer, false);
  } else {
    WaitForSingleObject(timer, INFINITE);
  }
  CloseHandle(timer);
}

void run() {
  makeCallWindow();
  MSG message;
  while (GetMessageW(&message, nullptr, 0, 0) > 0) dispatch(message);
}

void quit() {
  PostQuitMessage(0);
}

std::int64_t nowMs() {
  static const std::int64_t frequency = [] {
    LARGE_INTEGER value;
    QueryPerformanceFrequency(&value);
    return value.QuadPart;
  }();
  LARGE_INTEGER counter;
  QueryPerformanceCounter(&counter);
  return counter.QuadPart / frequency * 1000 + counter.QuadPart % frequency * 1000 / frequency;
}

bool onUiThread() {
  return GetCurrentThreadId() == uiThread;
}

void runOnUiThread(const std::function<void()>& work) {
  if (onUiThread()) return work();
  Call call{&work, nullptr};
  SendMessageW(awaitCallWindow(), kRunCall, 0, reinterpret_cast<LPARAM>(&call));
  if (call.error) std::rethrow_exception(call.error);
}

void pauseOnWorker(int ms) {
  if (ms <= 0) return;
  useFineTimer();
  Sleep(static_cast<DWORD>(ms));
}

Worker::Worker(std::function<void()> work) : thread_(std::make_unique<Thread>()) {
  if (onUiThread()) makeCallWindow();
  thread_->done = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  if (!thread_->done) throw std::runtime_error("no event object for a worker");
  thread_->thread = std::thread([thread = thread_.get(), work = std::move(work)] {
    work();
    thread->finished = true;
    SetEvent(thread->done);
  });
}

Worker::~Worker() {
  join();
  CloseHandle(thread_->done);
}

bool Worker::finished() const {
  return thread_->finished;
}

void Worker::join() {
  if (!thread_->thread.joinable()) return;
  waitDispatching(thread_->done, true);
  thread_->thread.join();
}

void Worker::waitProcessingEvents() {
  waitDispatching(thread_->done, false);
  join();
}

}  // namespace hf::loop
