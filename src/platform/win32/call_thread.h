#pragma once

#include <functional>
#include <memory>

namespace hf::automation {

// The thread that makes every automation call, inside COM's multithreaded
// apartment, so that a call the other program never answers blocks this
// thread and not the UI thread. The UI thread hands it one call at a time and
// waits for the end with a time limit, processing its events meanwhile. A
// call that overran its limit keeps the thread until the other program
// answers; further calls are refused meanwhile, never queued behind it, so
// none goes out late. Releases of objects are queued and run in order.
class CallThread {
 public:
  struct State;

  enum class Outcome {
    Done,      // the work ran to its end
    TimedOut,  // the limit passed: the work goes on (or never starts), its result unused
    Refused,   // an earlier call is still out: the work was not started
    Closing,   // the program began to close while waiting: as TimedOut
  };

  CallThread();
  // Lets the thread end once the queued releases have run; one stuck in a
  // call is left behind rather than waited for.
  ~CallThread();
  CallThread(const CallThread&) = delete;
  CallThread& operator=(const CallThread&) = delete;

  // Runs work on the thread and waits at most limitMs for it, processing
  // every event of the UI thread meanwhile.
  Outcome run(std::function<void()> work, int limitMs);
  // Whether a call that ran out of time is still out.
  bool awaitingLateAnswer() const;

  // Where objects made on the thread send their release, however long they
  // outlive it: the work runs on the thread after what was queued before,
  // or, once the thread has gone, never.
  std::weak_ptr<State> releases() const { return state_; }
  static void post(const std::weak_ptr<State>& to, std::function<void()> work);

 private:
  std::shared_ptr<State> state_;
};

}  // namespace hf::automation
