// What a hurried user does to a paste in progress: keys still held from the
// hotkey, a second and third press, another window in front, the program
// closed mid-run. None of it may put text where the user did not ask for it.
#include <gtest/gtest.h>

#include <algorithm>
#include <stdexcept>

#include "paste_fixture.h"
#include "platform/desktop.h"
#include "platform/keys.h"

namespace hf::paste {
namespace {

using keys::kLeftCtrl;
using keys::kLeftShift;
using keys::kLeftWin;
using keys::kRightAlt;
constexpr int kNever = -1;

int ctrlVPresses() {
  const auto events = headless::keyEvents();
  return static_cast<int>(std::count_if(events.begin(), events.end(), [](const auto& event) {
    return event.virtualKey == 'V' && event.down;
  }));
}

// The user still holds a modifier of the hotkey (or the Windows key) when
// the delivery starts; the form must receive exactly the entry and its keys.
TEST_F(PasteTest, ModifiersStillHeldDoNotChangeTheDeliveredKeys) {
  struct Case {
    int heldKey;
    unsigned hotkeyModifiers;
    std::string hotkeyText;
    PasteMode mode;
    int releasedAfterMs;  // kNever: held through the whole delivery
    std::vector<std::string> received;
  };
  const std::vector<std::string> pasted{"paste Ab", "tab", "enter"};
  const std::vector<std::string> typed{"type A", "type b", "tab", "enter"};
  const Case cases[] = {
      {kLeftShift, keys::kShiftFlag, "Shift+F1", PasteMode::ManualHorizontal, 300, pasted},
      {kLeftShift, keys::kShiftFlag, "Shift+F1", PasteMode::ManualHorizontal, kNever, pasted},
      {kLeftCtrl, keys::kCtrlFlag, "Ctrl+F1", PasteMode::AutoHorizontal, kNever, pasted},
      {kRightAlt, keys::kAltFlag, "Alt+F1", PasteMode::ManualHorizontal, 200, pasted},
      {kLeftWin, 0, "F1", PasteMode::ManualHorizontal, kNever, pasted},
      {kLeftCtrl, keys::kCtrlFlag, "Ctrl+F1", PasteMode::AutoForcedTyping, kNever, typed},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.hotkeyText + " held " + std::to_string(c.releasedAfterMs));
    startCase({{"Ab", "1", "", "回车", c.hotkeyText}}, c.mode);
    headless::setKeyHeld(c.heldKey, true);
    if (c.releasedAfterMs != kNever)
      headless::at(loop::nowMs() + c.releasedAfterMs,
                   [&c] { headless::setKeyHeld(c.heldKey, false); });
    ASSERT_TRUE(headless::pressHotkey(c.hotkeyModifiers, kF1));
    EXPECT_EQ(names(), c.received);
    EXPECT_EQ(headless::targetFocusedField(), 1);
    headless::setKeyHeld(c.heldKey, false);
  }
}

TEST_F(PasteTest, ClosingTheWindowDuringARunSendsNothingMore) {
  fillEntries(6);
  chooseMode(PasteMode::AutoHorizontal);
  w().controls().组合框2.select(25);  // "1000"
  loadHotkeys();
  // e1 is pasted 3010 ms after the press, e2 would be at 5020.
  headless::at(loop::nowMs() + 4500, [this] { w().window().close(); });
  press();
  EXPECT_TRUE(w().window().isDestroyed());
  EXPECT_EQ(names(), (std::vector<std::string>{"paste e1"}));
  EXPECT_EQ(ctrlVPresses(), 1);
}

TEST_F(PasteTest, ForcedTypingStepsOverChineseAndKeepsCaseUnderCapsLock) {
  // The second bytes of 黃 and 蘭 are "S" and "m".
  fill({{"黃a蘭B1", "", "", "", "F1"}});
  chooseMode(PasteMode::AutoForcedTyping);
  headless::setCapsLock(true);
  loadHotkeys();
  press();
  EXPECT_EQ(names(), (std::vector<std::string>{"type a", "type B", "type 1"}));
  EXPECT_EQ(headless::targetFields()[0], "aB1");
  EXPECT_TRUE(headless::clipboardIsPrivate());  // kept out of the clipboard history
}

TEST_F(PasteTest, PressesWhileARunFinishesItsRowStopItAndNeverStartAnother) {
  fillEntries(6, "2");
  chooseMode(PasteMode::AutoHorizontal);
  loadHotkeys();
  // e1 is pasted at 160, its two Tabs follow at 210 and 260.
  const std::int64_t t0 = loop::nowMs();
  headless::at(t0 + 180, [] { headless::pressHotkey(0, kF1); });  // stop
  headless::at(t0 + 230, [] { headless::pressHotkey(0, kF1); });  // during the last Tab
  press();
  EXPECT_EQ(names(), (std::vector<std::string>{"paste e1", "tab", "tab"}));
  EXPECT_EQ(table().currentRow(), 1);
  EXPECT_TRUE(w().engine().idle());
  press();  // the next press starts a run at the next row
  EXPECT_EQ(names().at(3), "paste e2");
}

TEST_F(PasteTest, RowsRemovedDuringADeliveryNeitherSkipNorRepeatAnEntry) {
  struct Case {
    PasteMode mode;
    int removedRow;  // removed while e2 is being delivered
    std::vector<std::string> pasted;
  } cases[] = {
      {PasteMode::AutoHorizontal, 0, {"paste e1", "paste e2", "paste e3", "paste e4"}},
      {PasteMode::AutoHorizontal, 1, {"paste e1", "paste e2", "paste e3", "paste e4"}},
      {PasteMode::AutoHorizontal, 3, {"paste e1", "paste e2", "paste e3"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.removedRow);
    startCase(entries(4), c.mode);
    // e1 is pasted at 160, e2's clipboard is set at 220 and pasted at 270.
    headless::at(loop::nowMs() + 200, [this, &c] { table().deleteRow(c.removedRow); });
    press();
    EXPECT_EQ(names(), c.pasted);
  }
}

TEST_F(PasteTest, ARunStopsWithAHintWhenAnotherWindowComesToTheFront) {
  fillEntries(4);
  chooseMode(PasteMode::AutoHorizontal);
  loadHotkeys();
  // e1 is pasted at 160; the next row would start at 170.
  headless::at(loop::nowMs() + 165, [] { headless::setForegroundWindow(0x4711); });
  press();
  EXPECT_EQ(ctrlVPresses(), 1);
  EXPECT_EQ(table().currentRow(), 1);
  EXPECT_TRUE(w().engine().idle());
  EXPECT_EQ(w().hints().气球提示框1.text(), "●目标窗口已切换，已停止粘贴！");
}

TEST_F(PasteTest, ARandomRowLeftUnpastedByABusyClipboardStaysInTheCycle) {
  fillEntries(4);
  chooseMode(PasteMode::RandomHorizontal);
  loadHotkeys();
  headless::holdClipboard(true);
  press();
  EXPECT_TRUE(names().empty());
  headless::holdClipboard(false);
  press();
  auto delivered = names();
  std::sort(delivered.begin(), delivered.end());
  EXPECT_EQ(delivered, (std::vector<std::string>{"paste e1", "paste e2", "paste e3", "paste e4"}));
  EXPECT_EQ(headless::soundsPlayed().back(), Sound::RunFinish);
}

TEST_F(PasteTest, AFailureInsideADeliveryDoesNotBlockLaterPresses) {
  for (const PasteMode mode : {PasteMode::ManualHorizontal, PasteMode::AutoHorizontal}) {
    SCOPED_TRACE(static_cast<int>(mode));
    startCase(entries(2), mode);
    headless::at(loop::nowMs() + 20, [] { throw std::runtime_error("handler failed"); });
    EXPECT_THROW(headless::pressHotkey(0, kF1), std::runtime_error);
    EXPECT_TRUE(w().engine().idle());
    press();
    ASSERT_FALSE(names().empty());
    EXPECT_EQ(names().front(), "paste e1");
  }
}

}  // namespace
}  // namespace hf::paste
