#pragma once

#include <cstdint>
#include <functional>
#include <memory>

// The one UI thread's message loop, the ways handlers wait on it, and the
// threads beside it.
namespace hf::loop {

// Runs every pending event (window messages, timer ticks, hotkeys) and returns.
void processPending();

// The pause routine: process pending events, wait until ms milliseconds have
// passed since the call, process pending events again. A pause that follows
// the previous one within ms counts from when that one was due instead (but
// lasts at least ms / 2), so that a run of pauses keeps its rhythm. Handlers wait with it,
// which makes them re-entrant: any event that arrives while one waits runs in
// the second processing step.
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

// Threads beside the UI thread never touch a widget or the table: they reach
// them through runOnUiThread, which runs a call on the UI thread the way
// SendMessage does. On a thread other than the UI thread, pause and
// preciseWait only wait (as pauseOnWorker) and processPending does nothing.
// Under the headless backend only threads started here may call these
// functions: the virtual clock hands control to one thread at a time, so a
// test's timings never depend on how fast the machine runs the work.

bool onUiThread();

// Runs work on a thread of its own and returns once it is done, processing
// every event that arrives meanwhile (as preciseWait does), so the window
// stays responsive. An exception of the work is rethrown here. Off the UI
// thread it simply runs the work.
void runOffUiThread(const std::function<void()>& work);

// Runs work on the UI thread and returns once it has run, rethrowing its
// exception; on the UI thread it simply runs it. The UI thread runs such calls
// whenever it processes events and while it waits for a worker; one that
// arrives during a pause runs at the pause's end.
void runOnUiThread(const std::function<void()>& work);

// Waits ms milliseconds without processing any event: the pause of a worker.
void pauseOnWorker(int ms);

// A thread the program keeps running beside the UI thread (the macro replay),
// started and joined on the UI thread. The work must not throw. Joining waits for the work to end
// while running only the calls workers make through runOnUiThread (the UI thread's other events
// wait), so ask the work to stop first, through an atomic flag of its own. Never join a worker from
// inside one of its own runOnUiThread calls.
class Worker {
 public:
  explicit Worker(std::function<void()> work);
  ~Worker();  // joins
  Worker(const Worker&) = delete;
  Worker& operator=(const Worker&) = delete;

  bool finished() const;
  void join();

  struct Thread;  // each backend's own

 private:
  friend void runOffUiThread(const std::function<void()>& work);
  // Waits for the work to end while processing every event, as runOffUiThread does.
  void waitProcessingEvents();

  std::unique_ptr<Thread> thread_;
};

}  // namespace hf::loop
