// The simulated desktop's hooks beyond what both backends promise
// (contract/hooks_test.cpp): the user's own input, a worker's input on the
// virtual clock, hooks the system drops, and the system key messages.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "platform/desktop.h"
#include "platform/event_loop.h"
#include "platform/headless/simulation.h"
#include "platform/headless/target_simulation.h"
#include "platform/hooks.h"
#include "platform/keys.h"

namespace {

namespace desktop = hf::desktop;
namespace headless = hf::headless;
namespace hooks = hf::hooks;
namespace keys = hf::keys;
namespace loop = hf::loop;
using hooks::KeyMessage;
using hooks::MouseMessage;

class SimulatedHooks : public ::testing::Test {
 protected:
  void SetUp() override {
    headless::reset(::testing::TempDir());
    headless::openTarget(1);
  }
};

// The user's input reaches the hooks unmarked; swallowed, it does nothing.
TEST_F(SimulatedHooks, TheUsersInputPassesTheHooksFirst) {
  const hf::Point point{40, 50};
  struct Case {
    const char* what;
    std::function<void()> raise;
    std::vector<int> messages;  // as the hooks see them
    std::function<bool()> acted;
  };
  const std::vector<Case> cases = {
      {"a key pressed",
       [] { headless::userKeyDown('K'); },
       {int(KeyMessage::Down)},
       [] { return desktop::isKeyDown('K') && headless::targetFields()[0] == "k"; }},
      {"a held key let go",
       [] {
         headless::setKeyHeld('K', true);
         headless::userKeyUp('K');
       },
       {int(KeyMessage::Up)},
       [] { return !desktop::isKeyDown('K'); }},
      {"the mouse moved",
       [&] { headless::userMoveMouse(point); },
       {int(MouseMessage::Move)},
       [&] { return desktop::cursorPos() == point; }},
      {"a left click",
       [] {
         headless::userMouseButton(desktop::MouseButton::Left, true);
         headless::userMouseButton(desktop::MouseButton::Left, false);
       },
       {int(MouseMessage::LeftDown), int(MouseMessage::LeftUp)},
       [] { return headless::clicks().size() == 1; }},
  };
  for (const Case& c : cases) {
    for (const bool swallow : {false, true}) {
      SCOPED_TRACE(std::string(c.what) + (swallow ? ", swallowed" : ""));
      headless::reset(::testing::TempDir());
      headless::openTarget(1);
      std::vector<int> messages;
      hooks::KeyboardSubscription keyboard([&](const hooks::KeyEvent& event) {
        EXPECT_FALSE(event.injected);
        messages.push_back(int(event.message));
        return swallow;
      });
      hooks::MouseSubscription mouse([&](const hooks::MouseEvent& event) {
        EXPECT_FALSE(event.injected);
        EXPECT_EQ(event.point, event.message == MouseMessage::Move ? point : hf::Point{});
        messages.push_back(int(event.message));
        return swallow;
      });
      c.raise();
      EXPECT_EQ(messages, c.messages);
      EXPECT_EQ(c.acted(), !swallow);
    }
  }
}

// A worker's key waits for the UI thread to run the hooks: here until the
// pause in which the worker sent it has ended. The event keeps its own time.
TEST_F(SimulatedHooks, AWorkersKeysPassTheHooksOnTheUiThread) {
  std::vector<std::string> calls;
  hooks::KeyboardSubscription subscription([&](const hooks::KeyEvent& event) {
    calls.push_back(std::string(1, char(event.virtualKey)) + (event.down() ? " down" : " up") +
                    " of " + std::to_string(event.time) + " at " + std::to_string(loop::nowMs()) +
                    (loop::onUiThread() ? "" : " off the UI thread"));
    return event.virtualKey == 'B';
  });
  loop::Worker worker([] {
    loop::pauseOnWorker(10);
    desktop::keyChord({'A'});
    desktop::keyChord({'B'});
  });
  loop::pause(100);
  worker.join();
  EXPECT_EQ(calls, (std::vector<std::string>{"A down of 10 at 100", "A up of 100 at 100",
                                             "B down of 100 at 100", "B up of 100 at 100"}));
  EXPECT_EQ(headless::targetFields(), std::vector<std::string>{"a"}) << "B was swallowed";
}

// The program is not told: its subscription still reads as installed.
TEST_F(SimulatedHooks, DroppedHooksSeeNothingUntilReinstalled) {
  int seen = 0;
  hooks::KeyboardSubscription subscription([&](const hooks::KeyEvent&) {
    ++seen;
    return false;
  });
  headless::dropHooks();
  EXPECT_TRUE(subscription.installed());
  EXPECT_FALSE(subscription.receiving());
  desktop::keyChord({'A'});
  EXPECT_EQ(seen, 0);
  EXPECT_EQ(headless::targetFields(), std::vector<std::string>{"a"});

  EXPECT_TRUE(subscription.reinstall());
  EXPECT_TRUE(subscription.receiving());
  desktop::keyChord({'A'});
  EXPECT_EQ(seen, 2);
}

// Keys pressed or let go while Alt is held, without Ctrl, are system keys,
// and so is F10; Alt let go right after it went down is one too.
TEST_F(SimulatedHooks, SystemKeyMessages) {
  struct Case {
    const char* what;
    std::vector<std::pair<int, bool>> keys;  // key, down
    std::vector<KeyMessage> expected;
  };
  const std::vector<Case> cases = {
      {"Alt alone",
       {{keys::kLeftAlt, true}, {keys::kLeftAlt, false}},
       {KeyMessage::SystemDown, KeyMessage::SystemUp}},
      {"Alt let go before the key",
       {{keys::kAlt, true}, {'A', true}, {keys::kAlt, false}, {'A', false}},
       {KeyMessage::SystemDown, KeyMessage::SystemDown, KeyMessage::Up, KeyMessage::Up}},
      {"Ctrl Alt A",
       {{keys::kCtrl, true}, {keys::kAlt, true}, {'A', true}, {'A', false}},
       {KeyMessage::Down, KeyMessage::Down, KeyMessage::Down, KeyMessage::Up}},
      {"F10",
       {{keys::kF1 + 9, true}, {keys::kF1 + 9, false}},
       {KeyMessage::SystemDown, KeyMessage::SystemUp}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    headless::reset(::testing::TempDir());
    std::vector<KeyMessage> messages;
    hooks::KeyboardSubscription subscription([&](const hooks::KeyEvent& event) {
      messages.push_back(event.message);
      return false;
    });
    for (const auto& [key, down] : c.keys) {
      if (down) {
        desktop::keyDown(key);
      } else {
        desktop::keyUp(key);
      }
    }
    EXPECT_EQ(messages, c.expected);
  }
}

}  // namespace
