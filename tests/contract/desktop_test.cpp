// The outside world as the system sees it: the clipboard, simulated keys and
// the cursor, global hotkeys and the single-instance marker.
#include <optional>
#include <random>
#include <string>
#include <vector>

#include "contract/backend.h"
#include "platform/desktop.h"
#include "platform/event_loop.h"
#include "platform/keys.h"

namespace {

namespace desktop = hf::desktop;
namespace keys = hf::keys;
using hf::loop::nowMs;

using Clipboard = contract::BackendTest;

TEST_F(Clipboard, TextRoundTrips) {
  for (const std::string text : {"中文，全角★\r\nline 2", "", "plain"}) {
    SCOPED_TRACE(text);
    ASSERT_TRUE(desktop::setClipboardText(text));
    EXPECT_EQ(desktop::clipboardText(), text);
  }
}

TEST_F(Clipboard, ReadsAsEmptyWhenItHoldsNoText) {
  ASSERT_TRUE(desktop::setClipboardText("before"));
  emptyClipboard();
  EXPECT_EQ(desktop::clipboardText(), "");
}

// Each try takes about a second of retries, then gives up.
TEST_F(Clipboard, GivesUpAfterAboutASecondWhileAnotherProgramKeepsItOpen) {
  ASSERT_TRUE(desktop::setClipboardText("before"));
  {
    const auto holder = holdClipboard();
    std::int64_t start = nowMs();
    EXPECT_FALSE(desktop::setClipboardText("while busy"));
    EXPECT_GE(nowMs() - start, 900);
    EXPECT_LT(nowMs() - start, 3000);

    start = nowMs();
    EXPECT_EQ(desktop::clipboardText(), std::nullopt);
    EXPECT_GE(nowMs() - start, 900);
    EXPECT_LT(nowMs() - start, 3000);
  }
  EXPECT_EQ(desktop::clipboardText(), "before");
}

TEST_F(Clipboard, IsWrittenOnceAHolderLetsGoDuringTheRetries) {
  const auto holder = holdClipboard();
  holder->releaseAfter(300);
  const std::int64_t start = nowMs();
  EXPECT_TRUE(desktop::setClipboardText("after the wait"));
  EXPECT_GE(nowMs() - start, 250);
  EXPECT_LT(nowMs() - start, 900);
  EXPECT_EQ(desktop::clipboardText(), "after the wait");
}

using Keys = contract::WindowTest;

// Every key down in the given order, then every key up in the same order,
// each with the scan code of its key on both events.
TEST_F(Keys, ChordsGoDownInOrderThenUpInOrderWithScanCodes) {
  if (!takeKeyboard(window())) GTEST_SKIP() << "the test window cannot take the keyboard";
  keysSeen(0);  // whatever went out before
  struct Case {
    const char* what;
    std::vector<int> keys;
  };
  const std::vector<Case> cases = {
      {"Ctrl V", {keys::kCtrl, 'V'}},
      {"right Ctrl V", {keys::kRightCtrl, 'V'}},
      {"left Ctrl V", {keys::kLeftCtrl, 'V'}},
      {"Tab", {keys::kTab}},
      {"Shift Tab", {keys::kShift, keys::kTab}},
  };
  std::vector<std::vector<BackendTest::KeySeen>> chords;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    if (c.keys.size() == 1) {
      desktop::keyChord({c.keys[0]});
    } else {
      desktop::keyChord({c.keys[0], c.keys[1]});
    }
    const auto seen = keysSeen(2 * c.keys.size());
    ASSERT_EQ(seen.size(), 2 * c.keys.size());
    for (std::size_t key = 0; key < c.keys.size(); ++key) {
      const auto down = seen[key];
      const auto up = seen[key + c.keys.size()];
      EXPECT_TRUE(down.down);
      EXPECT_FALSE(up.down);
      EXPECT_NE(down.scanCode, 0);
      EXPECT_EQ(up.scanCode, down.scanCode);
    }
    chords.push_back(seen);
  }
  // Both Ctrl keys share Ctrl's scan code, which is not V's.
  EXPECT_EQ(chords[1], chords[0]);
  EXPECT_EQ(chords[2], chords[0]);
  EXPECT_NE(chords[0][0].scanCode, chords[0][1].scanCode);
  EXPECT_EQ(chords[4][1], chords[3][0]);
}

TEST_F(Keys, AKeyIsHeldFromItsDownToItsUp) {
  if (!takeKeyboard(window())) GTEST_SKIP() << "the test window cannot take the keyboard";
  const auto heldIs = [](std::vector<int> expected) {
    return waitFor([&] { return desktop::heldModifierKeys() == expected; });
  };
  struct Case {
    int pressed;
    int alsoDown;  // the side-less key the system reports as held too
    int sided;     // the key by its side, as heldModifierKeys reports it
  };
  // Not Alt alone, which opens the window's menu, nor right Shift, which Wine
  // takes for the left one.
  const std::vector<Case> cases = {
      {keys::kLeftCtrl, keys::kCtrl, keys::kLeftCtrl},
      {keys::kRightCtrl, keys::kCtrl, keys::kRightCtrl},
      {keys::kCtrl, keys::kCtrl, keys::kLeftCtrl},
      {keys::kShift, keys::kShift, keys::kLeftShift},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.pressed);
    desktop::keyDown(c.pressed);
    EXPECT_TRUE(waitFor([&] { return desktop::isKeyDown(c.pressed); }));
    EXPECT_TRUE(desktop::isKeyDown(c.alsoDown));
    EXPECT_TRUE(heldIs({c.sided}));
    desktop::keyUp(c.pressed);
    EXPECT_TRUE(waitFor([&] { return !desktop::isKeyDown(c.alsoDown); }));
    EXPECT_TRUE(heldIs({}));
  }

  desktop::keyChord({keys::kCtrl, 'V'});
  hf::loop::pause(50);
  EXPECT_FALSE(desktop::isKeyDown(keys::kCtrl));
  EXPECT_FALSE(desktop::isKeyDown('V'));
  EXPECT_TRUE(heldIs({}));
}

using Cursor = contract::BackendTest;

TEST_F(Cursor, GoesWhereItIsSentAndWhereItClicks) {
  const hf::Size screen = desktop::screenSize();
  ASSERT_GT(screen.width, 200);
  ASSERT_GT(screen.height, 200);
  desktop::setCursorPos({screen.width / 2, screen.height / 3});
  EXPECT_EQ(desktop::cursorPos(), (hf::Point{screen.width / 2, screen.height / 3}));
  desktop::clickAt({17, screen.height - 23});
  EXPECT_EQ(desktop::cursorPos(), (hf::Point{17, screen.height - 23}));
}

using Hotkeys = contract::WindowTest;

constexpr int kF1 = keys::kF1;
constexpr int kF2 = keys::kF1 + 1;

TEST_F(Hotkeys, RegistrationFailsOnAnIdOrAChordInUse) {
  struct Case {
    const char* what;
    std::function<bool(hf::ui::Window& main, hf::ui::Window& other)> registerSecond;
    bool registered;
  };
  const std::vector<Case> cases = {
      {"same window, same id",
       [](auto& m, auto&) { return desktop::registerHotkey(m, 2, keys::kCtrlFlag, kF2); }, false},
      {"other window, same id",
       [](auto&, auto& o) { return desktop::registerHotkey(o, 2, keys::kCtrlFlag, kF2); }, true},
      {"same chord, new id",
       [](auto& m, auto&) {
         return desktop::registerHotkey(m, 3, keys::kCtrlFlag | keys::kAltFlag, kF1);
       },
       false},
      {"same chord, other window",
       [](auto&, auto& o) {
         return desktop::registerHotkey(o, 3, keys::kCtrlFlag | keys::kAltFlag, kF1);
       },
       false},
      {"same key, other modifiers",
       [](auto& m, auto&) {
         return desktop::registerHotkey(m, 3, keys::kCtrlFlag | keys::kShiftFlag, kF1);
       },
       true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    hf::ui::Window other({"other", {200, 100}});
    ASSERT_TRUE(desktop::registerHotkey(window(), 2, keys::kCtrlFlag | keys::kAltFlag, kF1));
    EXPECT_EQ(c.registerSecond(window(), other), c.registered);
    desktop::unregisterHotkey(window(), 2);
    desktop::unregisterHotkey(window(), 3);
  }

  holdHotkeyElsewhere(keys::kAltFlag | keys::kShiftFlag, kF2);
  EXPECT_FALSE(desktop::registerHotkey(window(), 4, keys::kAltFlag | keys::kShiftFlag, kF2))
      << "a chord another program holds";
}

TEST_F(Hotkeys, APressReachesTheOwnerOfTheChordWithItsId) {
  hf::ui::Window other({"other", {200, 100}});
  std::vector<int> mainIds, otherIds;
  window().onHotkey = [&](int id) { mainIds.push_back(id); };
  other.onHotkey = [&](int id) { otherIds.push_back(id); };
  ASSERT_TRUE(desktop::registerHotkey(window(), 7, keys::kCtrlFlag | keys::kShiftFlag, kF2));
  ASSERT_TRUE(desktop::registerHotkey(other, 7, keys::kAltFlag, kF2));

  pressHotkey(keys::kCtrlFlag | keys::kShiftFlag, kF2);
  EXPECT_TRUE(waitFor([&] { return !mainIds.empty(); }));
  pressHotkey(keys::kAltFlag, kF2);
  EXPECT_TRUE(waitFor([&] { return !otherIds.empty(); }));
  pressHotkey(keys::kCtrlFlag, kF2);  // registered by nobody
  hf::loop::pause(200);

  EXPECT_EQ(mainIds, std::vector<int>{7});
  EXPECT_EQ(otherIds, std::vector<int>{7});
}

TEST_F(Hotkeys, AChordIsFreeAgainOnceItsWindowLetsGoOrGoes) {
  std::vector<int> fired;
  window().onHotkey = [&](int id) { fired.push_back(id); };
  hf::ui::Window other({"other", {200, 100}});
  ASSERT_TRUE(desktop::registerHotkey(window(), 1, keys::kCtrlFlag | keys::kAltFlag, kF1));
  desktop::unregisterHotkey(window(), 1);
  pressHotkey(keys::kCtrlFlag | keys::kAltFlag, kF1);
  hf::loop::pause(200);
  EXPECT_EQ(fired, std::vector<int>{}) << "fired after it was let go";
  EXPECT_TRUE(desktop::registerHotkey(other, 1, keys::kCtrlFlag | keys::kAltFlag, kF1));

  {
    hf::ui::Window shortLived({"short", {200, 100}});
    ASSERT_TRUE(desktop::registerHotkey(shortLived, 1, keys::kCtrlFlag | keys::kAltFlag, kF2));
  }
  EXPECT_TRUE(desktop::registerHotkey(other, 2, keys::kCtrlFlag | keys::kAltFlag, kF2));

  ASSERT_TRUE(desktop::registerHotkey(window(), 3, keys::kCtrlFlag | keys::kShiftFlag, kF1));
  window().close();
  EXPECT_TRUE(desktop::registerHotkey(other, 3, keys::kCtrlFlag | keys::kShiftFlag, kF1));
  desktop::unregisterHotkey(other, 1);
  desktop::unregisterHotkey(other, 2);
  desktop::unregisterHotkey(other, 3);
}

TEST(SingleInstance, OnlyTheFirstClaimOfANameSucceeds) {
  const std::string name = "hotfill-contract-" + std::to_string(std::random_device()());
  EXPECT_TRUE(desktop::claimSingleInstance(name));
  EXPECT_FALSE(desktop::claimSingleInstance(name));
  EXPECT_TRUE(desktop::claimSingleInstance(name + "-other"));
}

}  // namespace
