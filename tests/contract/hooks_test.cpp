// Low-level hooks: what a subscription sees of the program's own input, the
// order of several subscriptions, swallowing, and the end of a subscription.
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "contract/backend.h"
#include "platform/desktop.h"
#include "platform/event_loop.h"
#include "platform/hooks.h"
#include "platform/keys.h"

namespace {

namespace desktop = hf::desktop;
namespace hooks = hf::hooks;
namespace keys = hf::keys;
using hf::loop::nowMs;
using hooks::KeyMessage;
using hooks::MouseMessage;

// The key events the window got are compared by scan code; a few
// milliseconds of slack for the system's tick count.
constexpr int kTimeSlackMs = 50;

struct HookKey {
  int virtualKey = 0;
  KeyMessage message = KeyMessage::Down;
  bool extended = false;
  friend bool operator==(const HookKey&, const HookKey&) = default;
};

class Hooks : public contract::WindowTest {
 protected:
  void SetUp() override {
    contract::WindowTest::SetUp();
    if (IsSkipped()) return;
    if (!takeKeyboard(window())) GTEST_SKIP() << "the test window cannot take the keyboard";
    keysSeen(0);  // whatever went out before
  }

  // Waits until the callbacks have seen `count` events (they may run a
  // little after the system passed the events on).
  template <typename Events>
  static bool waitForEvents(const Events& events, std::size_t count) {
    return waitFor([&] { return events.size() >= count; }) && events.size() == count;
  }

  // A key pressed and let go.
  static void press(int virtualKey) { desktop::keyChord({virtualKey}); }
};

TEST_F(Hooks, ASubscriptionSeesTheProgramsKeysWithTheirCodes) {
  struct Case {
    const char* what;
    std::function<void()> send;
    std::vector<HookKey> expected;
  };
  const std::vector<Case> cases = {
      {"a letter", [] { press('V'); }, {{'V', KeyMessage::Down}, {'V', KeyMessage::Up}}},
      {"Ctrl V",
       [] {
         desktop::keyChord({keys::kCtrl, 'V'});
       },
       {{keys::kCtrl, KeyMessage::Down},
        {'V', KeyMessage::Down},
        {keys::kCtrl, KeyMessage::Up},
        {'V', KeyMessage::Up}}},
      {"right Ctrl, an extended key",
       [] { press(keys::kRightCtrl); },
       {{keys::kRightCtrl, KeyMessage::Down, true}, {keys::kRightCtrl, KeyMessage::Up, true}}},
      {"Delete, an extended key",
       [] { press(keys::kDelete); },
       {{keys::kDelete, KeyMessage::Down, true}, {keys::kDelete, KeyMessage::Up, true}}},
      {"Alt A: system keys while Alt is held",
       [] {
         desktop::keyDown(keys::kAlt);
         press('A');
         desktop::keyUp(keys::kAlt);
       },
       {{keys::kAlt, KeyMessage::SystemDown},
        {'A', KeyMessage::SystemDown},
        {'A', KeyMessage::SystemUp},
        {keys::kAlt, KeyMessage::Up}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    std::vector<hooks::KeyEvent> events;
    hooks::KeyboardSubscription subscription([&](const hooks::KeyEvent& event) {
      events.push_back(event);
      return false;
    });
    ASSERT_TRUE(subscription.installed());
    const std::int64_t before = nowMs();
    c.send();
    const auto window = keysSeen(c.expected.size());
    ASSERT_TRUE(waitForEvents(events, c.expected.size())) << events.size() << " events";
    const std::int64_t after = nowMs();

    std::vector<HookKey> seen;
    for (const auto& event : events)
      seen.push_back({event.virtualKey, event.message, event.extended});
    EXPECT_EQ(seen, c.expected);
    ASSERT_EQ(window.size(), events.size()) << "the window got every key";
    for (std::size_t at = 0; at < events.size(); ++at) {
      EXPECT_TRUE(events[at].injected);
      EXPECT_EQ(events[at].down(), window[at].down);
      EXPECT_EQ(events[at].scanCode, window[at].scanCode) << "as the window gets it";
      EXPECT_NE(events[at].scanCode, 0);
      EXPECT_GE(events[at].time, before - kTimeSlackMs);
      EXPECT_LE(events[at].time, after + kTimeSlackMs);
    }
  }
}

// The subscription swallows the buttons, so the clicks land nowhere.
TEST_F(Hooks, ASubscriptionSeesTheProgramsMouseButtonsAtTheirPoints) {
  const hf::Size screen = desktop::screenSize();
  const hf::Point corner{screen.width - 7, screen.height - 9};
  const hf::Point middle{screen.width / 2 + 3, screen.height / 2 - 5};
  struct Case {
    const char* what;
    std::function<void()> send;
    std::vector<std::pair<MouseMessage, hf::Point>> expected;
  };
  const std::vector<Case> cases = {
      {"a left click",
       [&] { desktop::clickAt(corner); },
       {{MouseMessage::LeftDown, corner}, {MouseMessage::LeftUp, corner}}},
      {"the right button where the cursor is",
       [&] {
         desktop::setCursorPos(middle);
         desktop::mouseButton(desktop::MouseButton::Right, desktop::MouseAction::Click);
       },
       {{MouseMessage::RightDown, middle}, {MouseMessage::RightUp, middle}}},
      {"the middle button down, then up",
       [&] {
         desktop::setCursorPos(corner);
         desktop::mouseButton(desktop::MouseButton::Middle, desktop::MouseAction::Down);
         desktop::mouseButton(desktop::MouseButton::Middle, desktop::MouseAction::Up);
       },
       {{MouseMessage::MiddleDown, corner}, {MouseMessage::MiddleUp, corner}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    std::vector<hooks::MouseEvent> buttons;
    hooks::MouseSubscription subscription([&](const hooks::MouseEvent& event) {
      if (event.message == MouseMessage::Move) return false;
      buttons.push_back(event);
      return true;
    });
    ASSERT_TRUE(subscription.installed());
    const std::int64_t before = nowMs();
    c.send();
    ASSERT_TRUE(waitForEvents(buttons, c.expected.size())) << buttons.size() << " events";
    const std::int64_t after = nowMs();
    std::vector<std::pair<MouseMessage, hf::Point>> seen;
    for (const auto& event : buttons) seen.emplace_back(event.message, event.point);
    EXPECT_EQ(seen, c.expected);
    for (const auto& event : buttons) {
      EXPECT_TRUE(event.injected);
      EXPECT_GE(event.time, before - kTimeSlackMs);
      EXPECT_LE(event.time, after + kTimeSlackMs);
    }
  }
}

// Each event goes to the newest subscription first; a swallowed key reaches
// neither the older subscriptions nor the window.
TEST_F(Hooks, NewestFirstAndASwallowedKeyGoesNoFurther) {
  struct Case {
    const char* what;
    bool newerSwallows;
    bool olderSwallows;
    std::vector<std::string> calls;
    bool windowGetsIt;
  };
  const std::vector<Case> cases = {
      {"none swallows", false, false, {"newer down", "older down", "newer up", "older up"}, true},
      {"the newer swallows", true, false, {"newer down", "newer up"}, false},
      {"the older swallows",
       false,
       true,
       {"newer down", "older down", "newer up", "older up"},
       false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    std::vector<std::string> calls;
    std::map<int, int> scanCodes;  // by virtual key, as the newest sees them all
    const auto subscriber = [&](std::string name, bool swallows) {
      return [&calls, name, swallows](const hooks::KeyEvent& event) {
        if (event.virtualKey != 'B') return false;
        calls.push_back(name + (event.down() ? " down" : " up"));
        return swallows;
      };
    };
    hooks::KeyboardSubscription older(subscriber("older", c.olderSwallows));
    hooks::KeyboardSubscription newer(subscriber("newer", c.newerSwallows));
    hooks::KeyboardSubscription newest([&](const hooks::KeyEvent& event) {
      scanCodes[event.virtualKey] = event.scanCode;
      return false;
    });
    press('B');
    press('C');  // let through by all: once the window has it, B went before
    const auto window = keysSeen(c.windowGetsIt ? 4 : 2);
    ASSERT_TRUE(waitForEvents(calls, c.calls.size()));
    EXPECT_EQ(calls, c.calls);

    std::vector<BackendTest::KeySeen> expected;
    if (c.windowGetsIt) expected = {{scanCodes['B'], true}, {scanCodes['B'], false}};
    expected.push_back({scanCodes['C'], true});
    expected.push_back({scanCodes['C'], false});
    EXPECT_EQ(window, expected);
  }
}

TEST_F(Hooks, AnEndedSubscriptionSeesNothingMore) {
  struct Case {
    const char* what;
    std::function<void(hooks::KeyboardSubscription&)> end;
  };
  const std::vector<Case> cases = {
      {"replaced by an empty one", [](auto& s) { s = hooks::KeyboardSubscription(); }},
      {"moved into another, which is destroyed",
       [](auto& s) { hooks::KeyboardSubscription other(std::move(s)); }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    int seen = 0;
    hooks::KeyboardSubscription subscription([&](const hooks::KeyEvent&) {
      ++seen;
      return false;
    });
    press('D');
    keysSeen(2);
    ASSERT_TRUE(waitFor([&] { return seen == 2; }));
    c.end(subscription);
    EXPECT_FALSE(subscription.subscribed());
    press('D');
    EXPECT_EQ(keysSeen(2).size(), 2u) << "the window still gets the keys";
    hf::loop::pause(100);
    EXPECT_EQ(seen, 2);
  }
}

// A moved subscription goes on seeing events once, under its new owner; one
// that ends itself from its callback is not called again.
TEST_F(Hooks, MovedAndSelfEndingSubscriptions) {
  std::vector<std::string> calls;
  hooks::KeyboardSubscription first([&](const hooks::KeyEvent& event) {
    calls.push_back(event.down() ? "first down" : "first up");
    return false;
  });
  hooks::KeyboardSubscription moved = std::move(first);
  EXPECT_FALSE(first.subscribed());
  std::optional<hooks::KeyboardSubscription> selfEnding;
  selfEnding.emplace([&](const hooks::KeyEvent& event) {
    calls.push_back(event.down() ? "self down" : "self up");
    selfEnding.reset();
    return false;
  });
  press('E');
  keysSeen(2);
  ASSERT_TRUE(waitForEvents(calls, 3));
  EXPECT_EQ(calls, (std::vector<std::string>{"self down", "first down", "first up"}));
}

// After the last subscription went the hook comes back with the next one;
// the check that the hook still gets events, and putting it back in place.
TEST_F(Hooks, TheHookComesBackAndCanBeCheckedAndReinstalled) {
  std::vector<int> keysDown;
  const auto note = [&](const hooks::KeyEvent& event) {
    if (event.down()) keysDown.push_back(event.virtualKey);
    return false;
  };
  { hooks::KeyboardSubscription gone(note); }
  hooks::KeyboardSubscription keyboard(note);
  hooks::MouseSubscription mouse([](const hooks::MouseEvent&) { return false; });
  EXPECT_TRUE(keyboard.installed());
  EXPECT_TRUE(keyboard.receiving());
  EXPECT_TRUE(mouse.receiving());
  EXPECT_TRUE(keyboard.reinstall());
  EXPECT_TRUE(mouse.reinstall());
  EXPECT_TRUE(keyboard.receiving());
  EXPECT_TRUE(mouse.receiving());
  press('F');
  keysSeen(2);
  ASSERT_TRUE(waitForEvents(keysDown, 1));
  EXPECT_EQ(keysDown, std::vector<int>{'F'}) << "the probes stay out of sight";

  const hooks::KeyboardSubscription none;
  EXPECT_FALSE(none.installed());
  EXPECT_FALSE(none.receiving());
  EXPECT_FALSE(none.reinstall());
}

}  // namespace
