// The virtual clock and its event queue: the message loop of the headless
// backend. Time moves only when a wait (pause, preciseWait, pauseOnWorker, a
// join), advance or run moves it.
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <limits>
#include <map>
#include <optional>
#include <set>
#include <utility>

#include "platform/desktop.h"
#include "platform/event_loop.h"
#include "platform/headless/internal.h"
#include "platform/headless/simulation.h"

namespace hf::headless::internal {
namespace {

struct Clock {
  std::int64_t now = 0;
  std::uint64_t nextSequence = 0;  // never reset, so a stale key never matches a new event
  std::map<EventKey, std::function<void()>> queue;
  std::set<EventKey> userInput;  // the queued events a test scheduled with at()
  std::set<EventKey> wakeups;    // workers going on after a pause
  std::set<EventKey> calls;      // workers' runOnUiThread calls
  bool quitRequested = false;
};

Clock& clock() {
  static Clock instance;
  return instance;
}

// Takes a queued event out of the queue, moving the clock up to its time when
// it lies ahead. It is out before it runs, so a handler may pause and re-enter
// the loop.
std::function<void()> take(EventKey key) {
  auto node = clock().queue.extract(key);
  clock().userInput.erase(key);
  clock().wakeups.erase(key);
  clock().calls.erase(key);
  clock().now = std::max(clock().now, key.time);
  return std::move(node.mapped());
}

std::optional<std::function<void()>> takeDue(std::int64_t limit) {
  const auto& queue = clock().queue;
  if (queue.empty() || queue.begin()->first.time > limit) return std::nullopt;
  return take(queue.begin()->first);
}

void runDue(std::int64_t limit) {
  while (auto event = takeDue(limit)) (*event)();
}

[[noreturn]] void noEventFor(const char* waiter) {
  std::fprintf(stderr, "%s waits for a worker that has nothing queued (was the clock reset?)\n",
               waiter);
  std::abort();
}

}  // namespace

EventKey schedule(std::int64_t time, std::function<void()> event) {
  EventKey key{time, clock().nextSequence++};
  clock().queue.emplace(key, std::move(event));
  return key;
}

void cancel(EventKey key) {
  clock().queue.erase(key);
  clock().userInput.erase(key);
  clock().wakeups.erase(key);
  clock().calls.erase(key);
}

EventKey scheduleForWorker(std::int64_t time, WorkerEvent kind, std::function<void()> event) {
  const EventKey key = schedule(time, std::move(event));
  (kind == WorkerEvent::Wakeup ? clock().wakeups : clock().calls).insert(key);
  return key;
}

void sleepUntil(std::int64_t time) {
  const auto& wakeups = clock().wakeups;
  while (!wakeups.empty() && wakeups.begin()->time <= time) {
    const EventKey next = *wakeups.begin();
    take(next)();
  }
  clock().now = std::max(clock().now, time);
}

void runEventsUntil(const std::function<bool()>& done) {
  while (!done()) {
    if (clock().queue.empty()) noEventFor("runOffUiThread");
    const EventKey next = clock().queue.begin()->first;
    take(next)();
  }
}

void runWorkerEventsUntil(const std::function<bool()>& done) {
  const auto& wakeups = clock().wakeups;
  const auto& calls = clock().calls;
  while (!done()) {
    if (wakeups.empty() && calls.empty()) noEventFor("Worker::join");
    const bool callFirst = wakeups.empty() || (!calls.empty() && *calls.begin() < *wakeups.begin());
    const EventKey next = callFirst ? *calls.begin() : *wakeups.begin();
    take(next)();
  }
}

void resetClock() {
  clock().now = 0;
  clock().queue.clear();
  clock().userInput.clear();
  clock().wakeups.clear();
  clock().calls.clear();
  clock().quitRequested = false;
}

}  // namespace hf::headless::internal

namespace hf::loop {

using headless::internal::clock;
using headless::internal::runDue;
using headless::internal::takeDue;

void processPending() {
  if (onUiThread()) runDue(clock().now);
}

void pause(int ms) {
  if (!onUiThread()) return pauseOnWorker(ms);
  processPending();
  headless::internal::sleepUntil(clock().now + std::max(ms, 0));
  processPending();
}

void pumpIfInput() {
  if (desktop::hasPendingInput()) processPending();
}

void preciseWait(int ms) {
  if (!onUiThread()) return pauseOnWorker(ms);
  headless::advance(ms);
}

void run() {
  while (!clock().quitRequested) {
    auto event = takeDue(std::numeric_limits<std::int64_t>::max());
    if (!event) break;
    (*event)();
  }
  clock().quitRequested = false;
}

void quit() {
  clock().quitRequested = true;
}

std::int64_t nowMs() {
  return clock().now;
}

}  // namespace hf::loop

namespace hf::headless {

void at(std::int64_t ms, std::function<void()> event) {
  internal::clock().userInput.insert(internal::schedule(ms, std::move(event)));
}

void advance(std::int64_t ms) {
  const std::int64_t end = internal::clock().now + std::max<std::int64_t>(ms, 0);
  internal::runDue(end);
  internal::clock().now = std::max(internal::clock().now, end);
}

}  // namespace hf::headless

namespace hf::desktop {

bool hasPendingInput() {
  const auto& input = headless::internal::clock().userInput;
  return !input.empty() && input.begin()->time <= loop::nowMs();
}

}  // namespace hf::desktop
