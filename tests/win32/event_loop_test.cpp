// Workers beside the UI thread: the UI thread keeps handling its events while
// it waits for them, and their calls run on the UI thread.
#include <windows.h>

#include <atomic>
#include <functional>
#include <stdexcept>
#include <string>
#include <thread>

#include "window_fixture.h"

namespace {

namespace loop = hf::loop;

class WorkersTest : public WindowTest {
 protected:
  // Polls on the calling thread, without processing events, for up to five seconds.
  static bool pollFor(const std::function<bool()>& condition) {
    for (int waited = 0; waited < 5000; waited += 5) {
      if (condition()) return true;
      Sleep(5);
    }
    return condition();
  }
};

TEST_F(WorkersTest, RunOffUiThreadKeepsHandlingPostedMessagesAndTimers) {
  hf::ui::EditBox edit(*window_, {{10, 10, 200, 22}});
  hf::ui::Timer timer(*window_);
  std::atomic<int> ticks{0};
  timer.onTick = [&] { ++ticks; };
  timer.setInterval(10);
  const HWND editWindow = hwndOf(edit);
  std::string seen;

  loop::runOffUiThread([&] {
    PostMessageW(editWindow, WM_CHAR, L'x', 0);
    pollFor([&] {
      loop::runOnUiThread([&] { seen = edit.text(); });
      return seen == "x" && ticks >= 3;
    });
  });

  EXPECT_EQ(seen, "x");
  EXPECT_GE(ticks, 3);
}

TEST_F(WorkersTest, CallsRunOnTheUiThreadWhileItWaitsForWorkers) {
  using Action = std::function<void()>;
  struct Case {
    const char* waiting;
    // Starts a thread that makes the call, waits, and says when the wait has ended.
    std::function<void(const Action& call, const Action& waitEnded)> callWhileWaiting;
  };
  const Case cases[] = {
      {"in runOffUiThread",
       [](const Action& call, const Action& waitEnded) {
         loop::runOffUiThread(call);
         waitEnded();
       }},
      {"joining a Worker",
       [](const Action& call, const Action& waitEnded) {
         loop::Worker(call).join();
         waitEnded();
       }},
      {"in preciseWait",
       [](const Action& call, const Action& waitEnded) {
         std::atomic<bool> done{false};
         std::thread caller([&] {
           call();
           done = true;
         });
         loop::preciseWait(300);
         waitEnded();
         // A call still on its way would block the join: let it run first.
         WindowTest::waitFor([&] { return done.load(); });
         caller.join();
       }},
  };
  const DWORD uiThread = GetCurrentThreadId();
  for (const Case& c : cases) {
    std::atomic<DWORD> calledFrom{0}, ranOn{0};
    DWORD ranOnWhenWaitEnded = 0;
    c.callWhileWaiting(
        [&] {
          calledFrom = GetCurrentThreadId();
          loop::runOnUiThread([&] { ranOn = GetCurrentThreadId(); });
        },
        [&] { ranOnWhenWaitEnded = ranOn; });
    EXPECT_NE(calledFrom, uiThread) << c.waiting;
    EXPECT_EQ(ranOnWhenWaitEnded, uiThread) << c.waiting;
  }
}

TEST_F(WorkersTest, ACallArrivingDuringAPauseRunsAtItsEnd) {
  HANDLE pausing = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  std::atomic<std::int64_t> ranAt{0};
  std::thread caller([&] {
    WaitForSingleObject(pausing, INFINITE);
    Sleep(30);  // well inside the pause's wait
    loop::runOnUiThread([&] { ranAt = loop::nowMs(); });
  });

  const std::int64_t start = loop::nowMs();
  SetEvent(pausing);
  loop::pause(150);
  const std::int64_t end = loop::nowMs();
  caller.join();
  CloseHandle(pausing);

  EXPECT_GE(ranAt, start + 150);
  EXPECT_LE(ranAt, end);
}

TEST_F(WorkersTest, AWorkerAskedToStopIsJoinedWhileItCallsTheUiThread) {
  std::atomic<bool> stop{false};
  int calls = 0;  // UI thread data, reached through runOnUiThread only
  loop::Worker worker([&] {
    while (!stop) {
      loop::runOnUiThread([&] { ++calls; });
      loop::pauseOnWorker(1);
    }
  });
  ASSERT_TRUE(waitFor([&] { return calls >= 3; }));
  EXPECT_FALSE(worker.finished());
  hf::ui::EditBox edit(*window_, {{10, 10, 200, 22}});
  PostMessageW(hwndOf(edit), WM_CHAR, L'x', 0);

  stop = true;
  worker.join();

  EXPECT_TRUE(worker.finished());
  EXPECT_EQ(edit.text(), "") << "joining ran more than the worker's calls";
  loop::processPending();
  EXPECT_EQ(edit.text(), "x");
}

TEST_F(WorkersTest, ExceptionsComeBackToTheCaller) {
  std::string caught;
  loop::runOffUiThread([&] {
    try {
      loop::runOnUiThread([] { throw std::runtime_error("thrown on the UI thread"); });
    } catch (const std::runtime_error& error) {
      caught = error.what();
    }
  });
  EXPECT_EQ(caught, "thrown on the UI thread");
  EXPECT_THROW(loop::runOffUiThread([] { throw std::runtime_error("work failed"); }),
               std::runtime_error);
}

}  // namespace
