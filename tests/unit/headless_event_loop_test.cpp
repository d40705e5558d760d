// The virtual clock: the pause contract handlers rely on for re-entrancy,
// the objects that schedule on it, and worker threads on it.
#include <gtest/gtest.h>

#include <memory>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include "platform/event_loop.h"
#include "platform/headless/simulation.h"
#include "platform/ui.h"

namespace {

namespace loop = hf::loop;
namespace headless = hf::headless;

class VirtualClock : public ::testing::Test {
 protected:
  void SetUp() override { headless::reset(::testing::TempDir()); }

  // Records what happened at which virtual time.
  std::function<void()> note(std::string what) {
    return [this, what] { log.push_back(what + "@" + std::to_string(loop::nowMs())); };
  }

  std::vector<std::string> log;
  hf::ui::Window window{{"clock", {200, 100}}};
};

TEST_F(VirtualClock, EventArrivingDuringAPauseRunsInsideIt) {
  headless::at(0, [&] {
    note("start")();
    loop::pause(100);
    note("middle")();
    loop::pause(100);
    note("end")();
  });
  headless::at(120, note("second press"));

  loop::processPending();

  EXPECT_EQ(log,
            (std::vector<std::string>{"start@0", "middle@100", "second press@200", "end@200"}));
}

TEST_F(VirtualClock, NestedPausesFinishInnermostFirst) {
  headless::at(0, [&] {
    note("outer")();
    loop::pause(100);
    note("outer done")();
  });
  headless::at(50, [&] {
    note("inner")();
    loop::pause(100);
    note("inner done")();
  });
  headless::at(120, note("late"));
  headless::at(250, note("future"));

  loop::processPending();

  EXPECT_EQ(log, (std::vector<std::string>{"outer@0", "inner@100", "late@200", "inner done@200",
                                           "outer done@200"}));
  EXPECT_EQ(loop::nowMs(), 200);
}

TEST_F(VirtualClock, AdvanceRunsEventsAtTheirOwnTimeInOrder) {
  headless::at(30, note("c"));
  headless::at(10, note("a"));
  headless::at(10, [&] {
    note("b")();
    headless::at(20, note("queued on the way"));
  });
  headless::at(60, note("later"));

  headless::advance(50);

  EXPECT_EQ(log, (std::vector<std::string>{"a@10", "b@10", "queued on the way@20", "c@30"}));
  EXPECT_EQ(loop::nowMs(), 50);
}

TEST_F(VirtualClock, RunEndsAtQuitAndLeavesLaterEventsQueued) {
  headless::at(500, [] { loop::quit(); });
  headless::at(900, note("after quit"));

  loop::run();
  EXPECT_EQ(loop::nowMs(), 500);
  EXPECT_TRUE(log.empty());

  loop::run();  // the queue runs dry
  EXPECT_EQ(log, std::vector<std::string>{"after quit@900"});
}

TEST_F(VirtualClock, ClosingTheWindowRunsItsHandlersAndEndsTheLoop) {
  window.onClose = note("close");
  window.onDestroy = note("destroy");
  headless::at(300, [&] { window.close(); });
  headless::at(400, note("never"));

  loop::run();

  EXPECT_EQ(log, (std::vector<std::string>{"close@300", "destroy@300"}));
  EXPECT_TRUE(window.isDestroyed());
}

TEST_F(VirtualClock, TimerTicksEveryIntervalUntilStopped) {
  hf::ui::Timer timer(window);
  timer.onTick = note("tick");
  timer.setInterval(100);
  headless::advance(250);
  timer.setInterval(30);  // re-armed from now
  headless::advance(70);
  timer.setInterval(0);
  headless::advance(1000);

  EXPECT_EQ(log, (std::vector<std::string>{"tick@100", "tick@200", "tick@280", "tick@310"}));
}

TEST_F(VirtualClock, TimerMayStopOrDestroyItselfWhileTicking) {
  auto timer = std::make_unique<hf::ui::Timer>(window);
  hf::ui::Timer stopper(window);
  stopper.onTick = [&] {
    note("stop")();
    stopper.setInterval(0);
  };
  timer->onTick = [&] {
    note("destroy")();
    timer.reset();
  };
  stopper.setInterval(40);
  timer->setInterval(50);

  headless::advance(500);

  EXPECT_EQ(log, (std::vector<std::string>{"stop@40", "destroy@50"}));
}

TEST_F(VirtualClock, TimersStopWithTheirWindowAndWhenDestroyed) {
  auto early = std::make_unique<hf::ui::Timer>(window);
  early->onTick = note("destroyed timer");
  early->setInterval(10);
  early.reset();
  hf::ui::Timer timer(window);
  timer.onTick = note("tick");
  timer.setInterval(100);

  headless::advance(150);
  window.close();
  headless::advance(500);

  EXPECT_EQ(log, std::vector<std::string>{"tick@100"});
}

TEST_F(VirtualClock, BalloonTipHidesFourSecondsAfterItsLastShow) {
  hf::ui::BalloonTip tip(window);
  tip.show({10, 20}, "first");
  headless::advance(3000);
  tip.show({30, 40}, "second");
  headless::advance(3999);
  EXPECT_TRUE(tip.isShown());
  EXPECT_EQ(tip.text(), "second");
  EXPECT_EQ(tip.position(), (hf::Point{30, 40}));

  headless::advance(1);
  EXPECT_FALSE(tip.isShown());

  {
    hf::ui::BalloonTip shortLived(window);
    shortLived.show({0, 0}, "gone before it hides");
  }
  headless::advance(5000);  // its hiding event must not run on a dead tip
}

// Workers run one at a time with the UI thread, so these logs are exact.
using Workers = VirtualClock;

TEST_F(Workers, RunOffUiThreadProcessesEventsWhileTheWorkRuns) {
  headless::at(150, note("hotkey"));
  headless::at(400, note("later"));

  loop::runOffUiThread([&] {
    loop::runOnUiThread(note("work starts"));
    loop::pauseOnWorker(100);
    loop::pauseOnWorker(100);
    loop::runOnUiThread(note("work ends"));
  });
  note("returned")();

  EXPECT_EQ(log, (std::vector<std::string>{"work starts@0", "hotkey@150", "work ends@200",
                                           "returned@200"}));
}

TEST_F(Workers, TheWorksOwnDurationDoesNotMoveTheClock) {
  headless::at(10, note("event"));
  loop::runOffUiThread([] { std::this_thread::sleep_for(std::chrono::milliseconds(30)); });
  EXPECT_EQ(loop::nowMs(), 0);
  EXPECT_TRUE(log.empty());
}

TEST_F(Workers, NestedRunOffUiThreadReturnsInnermostFirst) {
  headless::at(50, [&] {
    loop::runOffUiThread([] { loop::pauseOnWorker(100); });
    note("inner returned")();
  });

  loop::runOffUiThread([&] {
    loop::pauseOnWorker(100);
    loop::runOnUiThread(note("outer work ends"));
  });
  note("outer returned")();

  EXPECT_EQ(log, (std::vector<std::string>{"outer work ends@100", "inner returned@150",
                                           "outer returned@150"}));
}

TEST_F(Workers, RunOnUiThreadRunsThereAndHandsBackItsEffectAndException) {
  const auto uiThread = std::this_thread::get_id();
  std::vector<std::string> rows{"a", "b"};
  std::thread::id ranOn;
  bool workerOnUiThread = true;
  std::size_t rowsSeen = 0;
  std::string caught;

  loop::runOffUiThread([&] {
    workerOnUiThread = loop::onUiThread();
    loop::runOnUiThread([&] {
      rows.push_back("c");
      ranOn = std::this_thread::get_id();
    });
    loop::runOnUiThread([&] { rowsSeen = rows.size(); });
    try {
      loop::runOnUiThread([] { throw std::runtime_error("thrown on the UI thread"); });
    } catch (const std::runtime_error& error) {
      caught = error.what();
    }
  });

  EXPECT_FALSE(workerOnUiThread);
  EXPECT_EQ(ranOn, uiThread);
  EXPECT_EQ(rowsSeen, 3u);
  EXPECT_EQ(caught, "thrown on the UI thread");
  EXPECT_THROW(loop::runOffUiThread([] { throw std::runtime_error("work failed"); }),
               std::runtime_error);
}

TEST_F(Workers, WaitingOnAWorkerRunsNoEventThere) {
  const auto uiThread = std::this_thread::get_id();
  bool allOnUiThread = true;
  const auto event = [&](std::string name) {
    return [&, name] {
      allOnUiThread = allOnUiThread && std::this_thread::get_id() == uiThread;
      note(name)();
    };
  };
  // Queued at 10, so it comes after the worker's wake-up at 20.
  headless::at(10, [&] { headless::at(20, event("due when the worker wakes")); });
  headless::at(60, event("during pause"));
  headless::at(100, event("during preciseWait"));

  loop::runOffUiThread([&] {
    loop::pauseOnWorker(20);
    loop::processPending();
    loop::pause(50);
    loop::preciseWait(50);
    loop::runOnUiThread(note("worker waited"));
  });

  EXPECT_EQ(log, (std::vector<std::string>{"due when the worker wakes@20", "during pause@60",
                                           "during preciseWait@100", "worker waited@120"}));
  EXPECT_TRUE(allOnUiThread);
}

TEST_F(Workers, AWorkerStartsWhenTheUiThreadNextProcessesEvents) {
  loop::Worker worker([&] { loop::runOnUiThread(note("ran")); });
  EXPECT_FALSE(worker.finished());

  loop::processPending();

  EXPECT_TRUE(worker.finished());
  EXPECT_EQ(log, std::vector<std::string>{"ran@0"});
}

TEST_F(Workers, AWorkersPausesKeepTheirTimesWhileTheUiThreadPauses) {
  std::vector<std::int64_t> wakeTimes;  // the worker's own until it is joined
  loop::Worker worker([&] {
    for (int i = 0; i < 3; ++i) {
      loop::pauseOnWorker(30);
      wakeTimes.push_back(loop::nowMs());
    }
    loop::runOnUiThread(note("call"));  // waits for the end of the UI thread's pause
    loop::pauseOnWorker(30);
    wakeTimes.push_back(loop::nowMs());
  });

  loop::pause(100);
  EXPECT_EQ(log, std::vector<std::string>{"call@100"});
  EXPECT_FALSE(worker.finished());

  worker.join();
  EXPECT_EQ(wakeTimes, (std::vector<std::int64_t>{30, 60, 90, 130}));
  EXPECT_EQ(loop::nowMs(), 130);
}

TEST_F(Workers, JoiningRunsOnlyWorkersCallsAndLeavesOtherEventsLate) {
  headless::at(200, note("hotkey"));
  auto worker = std::make_unique<loop::Worker>([&] {
    loop::pauseOnWorker(500);
    loop::runOnUiThread(note("call"));
    loop::pauseOnWorker(500);
  });

  worker.reset();
  EXPECT_EQ(loop::nowMs(), 1000);
  EXPECT_EQ(log, std::vector<std::string>{"call@500"});

  loop::processPending();
  EXPECT_EQ(log, (std::vector<std::string>{"call@500", "hotkey@1000"}));
}

TEST_F(Workers, WorkersInterleaveByTheirVirtualTimes) {
  const auto every = [&](std::string name, int interval) {
    return [this, name, interval] {
      for (int i = 0; i < 3; ++i) {
        loop::pauseOnWorker(interval);
        loop::runOnUiThread(note(name));
      }
    };
  };
  loop::Worker a(every("a", 30));
  loop::Worker b(every("b", 50));
  headless::at(70, note("ui"));

  loop::preciseWait(200);

  EXPECT_TRUE(a.finished());
  EXPECT_TRUE(b.finished());
  EXPECT_EQ(log,
            (std::vector<std::string>{"a@30", "b@50", "a@60", "ui@70", "a@90", "b@100", "b@150"}));
}

}  // namespace
