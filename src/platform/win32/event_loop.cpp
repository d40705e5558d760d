#include "platform/event_loop.h"

#include <windows.h>

#include <mmsystem.h>

namespace hf::loop {
namespace {

void dispatch(MSG& message) {
  TranslateMessage(&message);
  DispatchMessageW(&message);
}

// Sleep follows the system timer's resolution (often 15.6 ms); the pauses of
// the delivery sequences are a few milliseconds long, so ask for 1 ms once.
void useFineTimer() {
  static const bool done = timeBeginPeriod(1) == TIMERR_NOERROR;
  (void)done;
}

}  // namespace

void processPending() {
  MSG message;
  while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
    if (message.message == WM_QUIT) {
      // Leave it for the outer loop, which is the one meant to end.
      PostQuitMessage(static_cast<int>(message.wParam));
      return;
    }
    dispatch(message);
  }
}

void pause(int ms) {
  processPending();
  if (ms > 0) {
    useFineTimer();
    Sleep(static_cast<DWORD>(ms));
  }
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
  while (MsgWaitForMultipleObjects(1, &timer, FALSE, INFINITE, QS_ALLINPUT) == WAIT_OBJECT_0 + 1)
    processPending();
  CloseHandle(timer);
}

void run() {
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

}  // namespace hf::loop
