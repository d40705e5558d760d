#pragma once

// The switch behind desktop::endSimulatedInput(), shared by both backends:
// every primitive that sends input asks it first.
namespace hf::desktop {

bool simulatedInputEnded();
// A fresh simulated desktop takes input again.
void resumeSimulatedInput();

}  // namespace hf::desktop
