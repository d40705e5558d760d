// The virtual clock and its event queue: the message loop of the headless
// backend. Time moves only when pause, preciseWait, advance or run move it.
#include <algorithm>
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
  bool quitRequested = false;
};

Clock& clock() {
  static Clock instance;
  return instance;
}

// Takes the earliest event due at or before `limit` out of the queue, moving
// the clock up to its time when it lies ahead.
std::optional<std::function<void()>> takeDue(std::int64_t limit) {
  auto& queue = clock().queue;
  if (queue.empty() || queue.begin()->first.time > limit) return std::nullopt;
  auto node = queue.extract(queue.begin());
  clock().userInput.erase(node.key());
  clock().now = std::max(clock().now, node.key().time);
  return std::move(node.mapped());
}

// Runs due events one at a time; each is out of the queue before it runs, so
// a handler may pause and re-enter this loop.
void runDue(std::int64_t limit) {
  while (auto event = takeDue(limit)) (*event)();
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
}

void resetClock() {
  clock().now = 0;
  clock().queue.clear();
  clock().userInput.clear();
  clock().quitRequested = false;
}

}  // namespace hf::headless::internal

namespace hf::loop {

using headless::internal::clock;
using headless::internal::runDue;
using headless::internal::takeDue;

void processPending() {
  runDue(clock().now);
}

void pause(int ms) {
  processPending();
  clock().now += std::max(ms, 0);
  processPending();
}

void pumpIfInput() {
  if (desktop::hasPendingInput()) processPending();
}

void preciseWait(int ms) {
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
