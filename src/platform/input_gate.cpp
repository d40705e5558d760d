#include "platform/input_gate.h"

#include <atomic>

#include "platform/desktop.h"

namespace hf::desktop {
namespace {

std::atomic<bool> ended{false};

}  // namespace

void endSimulatedInput() {
  ended = true;
}

bool simulatedInputEnded() {
  return ended;
}

void resumeSimulatedInput() {
  ended = false;
}

}  // namespace hf::desktop
