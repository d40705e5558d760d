#pragma once

#include <cstdint>
#include <functional>

// The one UI thread's message loop and the ways handlers wait on it.
namespace hf::loop {

// Runs every pending event (window messages, timer ticks, hotkeys) and returns.
void processPending();

// The pause routine: process pending events, wait ms milliseconds, process
// pending events again. Handlers wait with it, which makes them re-entrant: any
// event that arrives while one waits runs in the second processing step.
void pause(int ms);

// Processes pending events only when keyboard or mouse input is waiting.
void pumpIfInput();

// Waits ms milliseconds on a timer while processing every event that arrives
// meanwhile (the pause routine processes them only before and after).
void preciseWait(int ms);

// Runs events until quit() is called (the main window's destruction calls it).
void run();
void quit();

// Milliseconds of a monotonic clock (the virtual clock under the headless backend).
std::int64_t nowMs();

}  // namespace hf::loop
