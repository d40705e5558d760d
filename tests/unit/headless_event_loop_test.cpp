// The virtual clock: the pause contract handlers rely on for re-entrancy,
// and the objects that schedule on it.
#include <gtest/gtest.h>

#include <memory>
#include <string>
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

}  // namespace
