// Workers of the headless backend. They are real threads, but control passes
// from thread to thread so that exactly one runs at a time: the UI thread
// resumes a worker from a queued event and waits until the worker hands
// control back, which it does when it pauses, calls runOnUiThread or ends.
// The clock moves only by pauses, so everything happens in the same order and
// at the same virtual times on every run, however fast the work itself is.
#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <mutex>
#include <thread>
#include <utility>

#include "platform/event_loop.h"
#include "platform/headless/internal.h"

namespace hf::loop {

struct Worker::Thread {
  enum class Yield { Pause, Call, End };

  std::function<void()> work;
  std::thread thread;
  std::atomic<bool> finished{false};
  // Why the worker handed control back, with what it needs; read by the UI
  // thread once it has control again.
  Yield reason = Yield::End;
  int pauseMs = 0;
  const std::function<void()>* call = nullptr;
  std::exception_ptr callError;
};

namespace {

using Thread = Worker::Thread;
using headless::internal::WorkerEvent;

// Static initialisation runs on the main thread, the one that runs the UI.
const std::thread::id uiThread = std::this_thread::get_id();
thread_local Thread* self = nullptr;  // the worker this thread runs, if it is one

std::mutex handOverMutex;
std::condition_variable handedOver;
Thread* inControl = nullptr;  // nullptr: the UI thread

// Gives control to `next` (nullptr: the UI thread) and waits until this
// thread has it again.
void handTo(Thread* next) {
  std::unique_lock lock(handOverMutex);
  inControl = next;
  handedOver.notify_all();
  handedOver.wait(lock, [] { return inControl == self; });
}

void require(bool holds, const char* what) {
  if (holds) return;
  std::fprintf(stderr, "%s\n", what);
  std::abort();
}

void requireWorker() {
  require(self != nullptr,
          "Only the UI thread and threads started by loop::Worker or loop::runOffUiThread may "
          "call runOnUiThread or pauseOnWorker on the virtual clock.");
}

// Runs the worker until it hands control back, then queues what it asked for.
void resume(Thread& worker) {
  handTo(&worker);
  switch (worker.reason) {
    case Thread::Yield::Pause:
      headless::internal::scheduleForWorker(nowMs() + worker.pauseMs, WorkerEvent::Wakeup,
                                            [&worker] { resume(worker); });
      break;
    case Thread::Yield::Call:
      headless::internal::scheduleForWorker(nowMs(), WorkerEvent::Call, [&worker] {
        try {
          (*worker.call)();
        } catch (...) {
          worker.callError = std::current_exception();
        }
        resume(worker);
      });
      break;
    case Thread::Yield::End:
      break;
  }
}

void yield(Thread::Yield reason) {
  self->reason = reason;
  handTo(nullptr);
}

void threadMain(Thread& worker) {
  self = &worker;
  {
    std::unique_lock lock(handOverMutex);
    handedOver.wait(lock, [] { return inControl == self; });
  }
  worker.work();
  std::lock_guard lock(handOverMutex);
  worker.reason = Thread::Yield::End;
  worker.finished = true;
  inControl = nullptr;
  handedOver.notify_all();
}

}  // namespace

bool onUiThread() {
  return std::this_thread::get_id() == uiThread;
}

void runOnUiThread(const std::function<void()>& work) {
  if (onUiThread()) return work();
  requireWorker();
  self->call = &work;
  yield(Thread::Yield::Call);
  if (auto error = std::exchange(self->callError, nullptr)) std::rethrow_exception(error);
}

void pauseOnWorker(int ms) {
  ms = std::max(ms, 0);
  if (onUiThread()) return headless::internal::sleepUntil(nowMs() + ms);
  requireWorker();
  self->pauseMs = ms;
  yield(Thread::Yield::Pause);
}

Worker::Worker(std::function<void()> work) : thread_(std::make_unique<Thread>()) {
  require(onUiThread(), "Workers are started and joined on the UI thread.");
  thread_->work = std::move(work);
  thread_->thread = std::thread(threadMain, std::ref(*thread_));
  headless::internal::scheduleForWorker(nowMs(), WorkerEvent::Wakeup,
                                        [thread = thread_.get()] { resume(*thread); });
}

Worker::~Worker() {
  join();
}

bool Worker::finished() const {
  return thread_->finished;
}

void Worker::join() {
  if (!thread_->thread.joinable()) return;
  require(onUiThread(), "Workers are started and joined on the UI thread.");
  headless::internal::runWorkerEventsUntil([this] { return finished(); });
  thread_->thread.join();
}

void Worker::waitProcessingEvents() {
  headless::internal::runEventsUntil([this] { return finished(); });
  join();
}

}  // namespace hf::loop
