#include "platform/win32/call_thread.h"

#include <windows.h>

#include <objbase.h>

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <mutex>
#include <stdexcept>
#include <thread>

#include "platform/event_loop.h"
#include "platform/input_gate.h"

namespace hf::automation {

struct CallThread::State {
  std::mutex mutex;
  std::condition_variable wake;
  std::deque<std::function<void()>> queue;
  bool stopping = false;
  bool callOut = false;  // a call handed over by run has not ended
  bool late = false;     // and its waiter has given up on it
  HANDLE callEnded = CreateEventW(nullptr, FALSE, FALSE, nullptr);
  HANDLE threadEnded = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  std::thread thread;

  ~State() {
    CloseHandle(callEnded);
    CloseHandle(threadEnded);
  }
};

namespace {

// How long closing waits for the releases still queued.
constexpr DWORD kEndWaitMs = 1000;

void serve(const std::shared_ptr<CallThread::State>& state) {
  CoInitializeEx(nullptr, COINIT_MULTITHREADED);
  for (;;) {
    std::function<void()> work;
    {
      std::unique_lock lock(state->mutex);
      state->wake.wait(lock, [&] { return state->stopping || !state->queue.empty(); });
      if (state->queue.empty()) break;
      work = std::move(state->queue.front());
      state->queue.pop_front();
    }
    work();
    work = nullptr;  // what it held is let go here, inside the apartment
  }
  CoUninitialize();
  SetEvent(state->threadEnded);
}

CallThread::Outcome waitForEnd(HANDLE ended, int limitMs) {
  const std::int64_t deadline = loop::nowMs() + limitMs;
  for (;;) {
    if (desktop::simulatedInputEnded()) return CallThread::Outcome::Closing;
    const std::int64_t left = deadline - loop::nowMs();
    if (left <= 0) return CallThread::Outcome::TimedOut;
    const DWORD woke = MsgWaitForMultipleObjectsEx(1, &ended, static_cast<DWORD>(left), QS_ALLINPUT,
                                                   MWMO_INPUTAVAILABLE);
    if (woke == WAIT_OBJECT_0) return CallThread::Outcome::Done;
    if (woke == WAIT_OBJECT_0 + 1) loop::processPending();
  }
}

}  // namespace

CallThread::CallThread() : state_(std::make_shared<State>()) {
  if (!state_->callEnded || !state_->threadEnded)
    throw std::runtime_error("no event objects for the automation thread");
  state_->thread = std::thread([state = state_] { serve(state); });
}

CallThread::~CallThread() {
  {
    std::lock_guard lock(state_->mutex);
    state_->stopping = true;
  }
  state_->wake.notify_all();
  if (WaitForSingleObject(state_->threadEnded, kEndWaitMs) == WAIT_OBJECT_0)
    state_->thread.join();
  else
    state_->thread.detach();  // the process's end takes it
}

CallThread::Outcome CallThread::run(std::function<void()> work, int limitMs) {
  auto cancelled = std::make_shared<std::atomic<bool>>(false);
  {
    std::lock_guard lock(state_->mutex);
    if (state_->callOut) return Outcome::Refused;
    state_->callOut = true;
    state_->late = false;
    ResetEvent(state_->callEnded);
    state_->queue.push_back([state = state_.get(), work = std::move(work), cancelled] {
      if (!*cancelled) work();
      std::lock_guard lock(state->mutex);
      state->callOut = false;
      state->late = false;
      SetEvent(state->callEnded);
    });
  }
  state_->wake.notify_one();
  const Outcome outcome = waitForEnd(state_->callEnded, limitMs);
  if (outcome == Outcome::Done) return outcome;
  std::lock_guard lock(state_->mutex);
  if (!state_->callOut) return Outcome::Done;  // it ended as the limit passed
  *cancelled = true;                           // still queued behind a release: it never starts
  state_->late = true;
  return outcome;
}

bool CallThread::awaitingLateAnswer() const {
  std::lock_guard lock(state_->mutex);
  return state_->late;
}

void CallThread::post(const std::weak_ptr<State>& to, std::function<void()> work) {
  const std::shared_ptr<State> state = to.lock();
  if (!state || WaitForSingleObject(state->threadEnded, 0) == WAIT_OBJECT_0) return;
  {
    std::lock_guard lock(state->mutex);
    state->queue.push_back(std::move(work));
  }
  state->wake.notify_one();
}

}  // namespace hf::automation
