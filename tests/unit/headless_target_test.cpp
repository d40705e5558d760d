// The other program the system fills, and the keyboard, clipboard and mouse
// between them, under the headless backend.
#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "platform/desktop.h"
#include "platform/event_loop.h"
#include "platform/headless/simulation.h"
#include "platform/headless/target_simulation.h"
#include "platform/keys.h"

namespace {

namespace desktop = hf::desktop;
namespace headless = hf::headless;
namespace loop = hf::loop;
using headless::kTargetWindow;
using Events = std::vector<headless::TargetEvent>;
using Fields = std::vector<std::string>;

using namespace hf::keys;

class SimulatedTarget : public ::testing::Test {
 protected:
  void SetUp() override { headless::reset(::testing::TempDir()); }
};

TEST_F(SimulatedTarget, CtrlVPastesAndTabMovesFocusAtTheirTimes) {
  headless::openTarget(2);
  ASSERT_TRUE(desktop::setClipboardText("张三"));

  desktop::keyChord({kCtrl, 'V'});
  loop::pause(50);
  desktop::keyChord({kTab});
  loop::pause(50);
  // Right Ctrl let go before V, as a scan-code paste does.
  desktop::keyDown(kRightCtrl);
  desktop::keyDown('V');
  desktop::keyUp(kRightCtrl);
  desktop::keyUp('V');
  loop::pause(50);
  desktop::keyChord({kTab});  // past the last field, back to the first
  desktop::keyChord({kEnter});
  desktop::keyChord({kRight});
  desktop::keyChord({kDown});

  EXPECT_EQ(headless::targetFields(), (Fields{"张三", "张三"}));
  EXPECT_EQ(headless::targetFocusedField(), 0);
  EXPECT_EQ(headless::targetEvents(), (Events{{0, "paste 张三"},
                                              {50, "tab"},
                                              {100, "paste 张三"},
                                              {150, "tab"},
                                              {150, "enter"},
                                              {150, "right"},
                                              {150, "down"}}));
}

TEST_F(SimulatedTarget, KeyTypesItsUsLayoutCharacter) {
  struct Case {
    int modifier;  // held around the key; 0 for none
    int key;
    std::string typed;  // "" when the key types nothing
  };
  const std::vector<Case> cases = {
      {0, 'A', "a"},       {kShift, 'A', "A"},  {kRightShift, '2', "@"}, {kShift, '0', ")"},
      {0, '7', "7"},       {0, 0xBD, "-"},      {kShift, 0xBB, "+"},     {0, 0xDB, "["},
      {kShift, 0xDD, "}"}, {kShift, 0xBA, ":"}, {0, 0xDE, "'"},          {kShift, 0xDE, "\""},
      {kShift, 0xC0, "~"}, {kShift, 0xBE, ">"}, {0, 0xBF, "/"},          {kShift, 0xDC, "|"},
      {0, ' ', " "},       {0, kF1, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.key);
    headless::reset(::testing::TempDir());
    headless::openTarget(1);
    if (c.modifier) desktop::keyDown(c.modifier);
    desktop::keyChord({c.key});
    if (c.modifier) desktop::keyUp(c.modifier);

    EXPECT_EQ(headless::targetFields(), Fields{c.typed});
    const Events typedEvent = {{0, "type " + c.typed}};
    EXPECT_EQ(headless::targetEvents(), c.typed.empty() ? Events{} : typedEvent);
  }
}

// What a real form makes of keys pressed while a modifier is down: the
// deliveries must never produce any of these by accident.
TEST_F(SimulatedTarget, ModifiersTurnKeysIntoShortcutsAndCapsLockTurnsLetters) {
  struct Case {
    int modifier;  // held around the key; 0 for none
    bool capsLock;
    int key;
    std::string event;
    int focusAfter;
  };
  const std::vector<Case> cases = {
      {kShift, false, kTab, "back-tab", 2},      {kCtrl, false, kTab, "ctrl+9", 0},
      {kAlt, false, 'V', "alt+86", 0},           {kLeftWin, false, kTab, "win+9", 0},
      {kShift, false, kEnter, "shift+enter", 0}, {0, true, 'A', "type A", 0},
      {kShift, true, 'A', "type a", 0},          {0, true, '1', "type 1", 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.event);
    headless::reset(::testing::TempDir());
    headless::openTarget(3);
    headless::setCapsLock(c.capsLock);
    if (c.modifier) headless::setKeyHeld(c.modifier, true);
    desktop::keyChord({c.key});
    EXPECT_EQ(headless::targetEvents(), (Events{{0, c.event}}));
    EXPECT_EQ(headless::targetFocusedField(), c.focusAfter);
  }
}

TEST_F(SimulatedTarget, KeysReachTheFormOnlyWhileItIsOpenAndInFront) {
  desktop::keyChord({'A'});
  headless::openTarget(1);
  headless::setForegroundWindow(0x4711);
  desktop::keyChord({'B'});
  headless::setForegroundWindow(kTargetWindow);
  desktop::keyChord({'C'});

  EXPECT_EQ(headless::targetFields(), Fields{"c"});
  EXPECT_EQ(headless::keyEvents().size(), 6u);  // every key is still sent
}

TEST_F(SimulatedTarget, SelectionIsCopiedReplacedAndDeleted) {
  headless::openTarget(1);
  headless::selectInTarget("旧文本");
  desktop::keyChord({kCtrl, 'C'});
  EXPECT_EQ(desktop::clipboardText(), "旧文本");

  desktop::keyChord({'X'});  // replaces the selection
  desktop::keyChord({'Y'});  // then adds at the caret
  EXPECT_EQ(headless::targetFields(), Fields{"xy"});

  headless::selectInTarget("abc");
  desktop::keyChord({kDelete});
  desktop::keyChord({kDelete});  // nothing after the caret
  EXPECT_EQ(headless::targetFields(), Fields{""});
  EXPECT_EQ(headless::targetEvents(),
            (Events{{0, "copy"}, {0, "type x"}, {0, "type y"}, {0, "delete"}, {0, "delete"}}));
}

TEST_F(SimulatedTarget, PostedTextArrivesAsOneCharEventPerCharacter) {
  desktop::postCharacters(kTargetWindow, "早");  // no target open yet
  headless::openTarget(2);
  loop::pause(30);

  desktop::postCharacters(kTargetWindow, "保存A");
  desktop::postCharacters(kTargetWindow + 1, "丢");

  EXPECT_EQ(headless::targetFields(), (Fields{"保存A", ""}));
  EXPECT_EQ(headless::targetEvents(), (Events{{30, "char 保"}, {30, "char 存"}, {30, "char A"}}));
}

TEST_F(SimulatedTarget, KeyEventsCarryTheirTimeAndScanCode) {
  loop::pause(20);
  desktop::keyChord({kRightCtrl, 'V'});
  using headless::KeyEvent;
  EXPECT_EQ(headless::keyEvents(), (std::vector<KeyEvent>{{20, kRightCtrl, 0x1D, true},
                                                          {20, 'V', 0x2F, true},
                                                          {20, kRightCtrl, 0x1D, false},
                                                          {20, 'V', 0x2F, false}}));
}

TEST_F(SimulatedTarget, ScanCodesAreThoseOfAUsKeyboard) {
  struct Case {
    int key;
    int scanCode;
  };
  const std::vector<Case> cases = {
      {kTab, 0x0F}, {kEnter, 0x1C}, {kShift, 0x2A},      {kCtrl, 0x1D},   {0x12, 0x38},
      {' ', 0x39},  {0x25, 0x4B},   {kDown, 0x50},       {kDelete, 0x53}, {'A', 0x1E},
      {'Q', 0x10},  {'M', 0x32},    {'1', 0x02},         {'0', 0x0B},     {kF1, 0x3B},
      {0x79, 0x44}, {0x7B, 0x58},   {0xBA, 0x27},        {0xBF, 0x35},    {0xC0, 0x29},
      {0xDC, 0x2B}, {0xDE, 0x28},   {kRightShift, 0x36}, {0x07, 0},  // no such key
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.key);
    desktop::keyChord({c.key});
    const auto events = headless::keyEvents();
    EXPECT_EQ(events[events.size() - 2].scanCode, c.scanCode);
    EXPECT_EQ(events.back().scanCode, c.scanCode);
  }
}

// Keys the program sends are tested for both backends in
// contract/desktop_test.cpp; the user's own count the same.
TEST_F(SimulatedTarget, KeysTheUserHoldsCountForTheirModifier) {
  headless::setKeyHeld(kRightShift, true);
  EXPECT_TRUE(desktop::isKeyDown(kShift));
  EXPECT_EQ(desktop::heldModifierKeys(), std::vector<int>{kRightShift});
  headless::setKeyHeld(kRightShift, false);
  EXPECT_FALSE(desktop::isKeyDown(kShift));
  EXPECT_TRUE(desktop::heldModifierKeys().empty());
}

// The form the system fills is the window in front and under the cursor,
// until another window is; a form opened afterwards comes to the front again.
TEST_F(SimulatedTarget, ANewlyOpenedFormComesToTheFrontUnderTheCursor) {
  EXPECT_EQ(desktop::windowUnderCursor(), 0u);
  EXPECT_EQ(desktop::foregroundWindow(), 0u);
  headless::openTarget(1);
  EXPECT_EQ(desktop::windowUnderCursor(), kTargetWindow);
  EXPECT_EQ(desktop::foregroundWindow(), kTargetWindow);

  headless::setWindowUnderCursor(0x111);
  headless::setForegroundWindow(0x222);
  headless::openTarget(1);
  EXPECT_EQ(desktop::windowUnderCursor(), kTargetWindow);
  EXPECT_EQ(desktop::foregroundWindow(), kTargetWindow);
}

TEST_F(SimulatedTarget, LeftClicksAreNotedWhereTheCursorIs) {
  desktop::clickAt({10, 20});
  desktop::setCursorPos({5, 6});
  desktop::mouseButton(desktop::MouseButton::Right, desktop::MouseAction::Click);
  desktop::mouseButton(desktop::MouseButton::Left, desktop::MouseAction::Down);
  desktop::mouseButton(desktop::MouseButton::Left, desktop::MouseAction::Up);
  desktop::mouseButton(desktop::MouseButton::Left, desktop::MouseAction::Up);  // no down before

  EXPECT_EQ(headless::clicks(), (std::vector<hf::Point>{{10, 20}, {5, 6}}));
  EXPECT_EQ(desktop::cursorPos(), (hf::Point{5, 6}));
}

TEST_F(SimulatedTarget, ResetLeavesNoTargetClipboardKeysOrPointerState) {
  headless::openTarget(1);
  desktop::setClipboardText("x");
  desktop::keyDown('A');
  headless::holdClipboard(true);
  desktop::clickAt({3, 4});
  desktop::makeTopmost(0x333);

  headless::reset(::testing::TempDir());

  EXPECT_EQ(desktop::foregroundWindow(), 0u);
  EXPECT_TRUE(headless::targetFields().empty());
  EXPECT_TRUE(headless::targetEvents().empty());
  EXPECT_TRUE(headless::keyEvents().empty());
  EXPECT_FALSE(desktop::isKeyDown('A'));
  EXPECT_EQ(desktop::clipboardText(), "");
  EXPECT_EQ(headless::clipboardOpenAttempts(), 1);
  EXPECT_EQ(desktop::cursorPos(), (hf::Point{0, 0}));
  EXPECT_TRUE(headless::clicks().empty());
  EXPECT_TRUE(headless::topmostWindows().empty());
}

TEST_F(SimulatedTarget, PumpRunsEventsOnlyWhenInputWaits) {
  std::vector<std::string> log;
  headless::at(0, [&] { log.push_back("click"); });
  headless::at(50, [&] { log.push_back("later"); });

  EXPECT_TRUE(desktop::hasPendingInput());
  loop::pumpIfInput();
  EXPECT_EQ(log, std::vector<std::string>{"click"});
  EXPECT_FALSE(desktop::hasPendingInput());  // the next one is not due yet
  loop::pumpIfInput();
  EXPECT_EQ(log, std::vector<std::string>{"click"});
}

TEST_F(SimulatedTarget, PreciseWaitRunsEventsAtTheirOwnTime) {
  std::vector<std::int64_t> ranAt;
  for (int t : {30, 60, 150}) headless::at(t, [&] { ranAt.push_back(loop::nowMs()); });

  loop::preciseWait(100);

  EXPECT_EQ(ranAt, (std::vector<std::int64_t>{30, 60}));
  EXPECT_EQ(loop::nowMs(), 100);
}

}  // namespace
