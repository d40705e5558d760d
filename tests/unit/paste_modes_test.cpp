#include "paste/paste_modes.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>

#include "feedback/button_colors.h"
#include "paste_fixture.h"
#include "platform/desktop.h"
#include "platform/event_loop.h"
#include "platform/headless/target_simulation.h"

namespace hf::paste {
namespace {

using headless::TargetEvent;

TEST_F(PasteTest, ManualHorizontalPastesOneRowPerPressWithItsTimes) {
  fillEntries(3, "1");
  table().setCell(1, 4, "回车");
  loadHotkeys();
  const std::int64_t t0 = loop::nowMs();
  press();
  // pause(50); clipboard; pause(50); Ctrl+V; then pause(50); Tab.
  EXPECT_EQ(eventsSince(t0), (std::vector<TargetEvent>{{100, "paste e1"}, {150, "tab"}}));
  EXPECT_EQ(table().currentRow(), 1);
  press();
  press();
  press();
  EXPECT_EQ(names(), (std::vector<std::string>{"paste e1", "tab", "paste e2", "tab", "enter",
                                               "paste e3", "tab", "paste e1", "tab"}));
  EXPECT_EQ(headless::targetFields()[0], "e1");
  EXPECT_EQ(headless::targetFields()[1], "e2");
}

// A click in the search box leaves no row current: the press after it
// delivers the empty nothing-row and moves on to the first row, never stays stuck.
TEST_F(PasteTest, APressWithNoCurrentRowMovesOnToTheFirstRow) {
  for (PasteMode mode : {PasteMode::ManualHorizontal, PasteMode::AutoHorizontal}) {
    SCOPED_TRACE(static_cast<int>(mode));
    startCase(entries(3), mode);
    table().setCurrentRow(-1);
    press();
    press();
    const auto delivered = names();
    EXPECT_NE(std::find(delivered.begin(), delivered.end(), "paste e1"), delivered.end());
    EXPECT_GE(table().currentRow(), 0);
  }
}

// One row, one press: what the target receives and when, for every text mode
// that delivers a row (interval 50 ms).
TEST_F(PasteTest, EachModeDeliversItsSequenceWithItsPauses) {
  struct Case {
    PasteMode mode;
    Row row;
    std::vector<TargetEvent> events;
  } cases[] = {
      {PasteMode::ManualHorizontal,
       {"e1", "2", "", "回车", "F1"},
       {{100, "paste e1"}, {150, "tab"}, {200, "tab"}, {250, "enter"}}},
      {PasteMode::AutoHorizontal, {"e1", "1", "", "", "F1"}, {{160, "paste e1"}, {210, "tab"}}},
      {PasteMode::AutoHorizontalScan,
       {"e1", "1", "", "回车", "F1"},
       {{160, "paste e1"}, {210, "tab"}, {260, "enter"}}},
      {PasteMode::ManualVertical,
       {"e1", "", "", "2", "F1"},
       {{100, "paste e1"}, {150, "enter"}, {200, "enter"}}},
      {PasteMode::AutoVerticalEnter,
       {"e1", "", "暂停", "1", "F1"},
       {{160, "paste e1"}, {260, "enter"}}},
      {PasteMode::AutoVerticalArrows,
       {"你好", "1", "", "1", "F1"},
       {{120, "char 你"}, {120, "char 好"}, {170, "right"}, {220, "down"}}},
      {PasteMode::WebForced,
       {"ab", "", "", "回车", "F1"},
       {{50, "char a"}, {50, "char b"}, {100, "enter"}}},
      {PasteMode::AutoWebForced,
       {"ab", "1", "", "", "F1"},
       {{120, "char a"}, {120, "char b"}, {170, "tab"}}},
      {PasteMode::AutoForcedTyping, {"Ab", "", "", "", "F1"}, {{230, "type A"}, {260, "type b"}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(traitsOf(c.mode).name);
    startCase({c.row}, c.mode);
    const std::int64_t t0 = loop::nowMs();
    press();
    EXPECT_EQ(eventsSince(t0), c.events);
  }
}

TEST_F(PasteTest, ScanDeliveryUsesRightCtrlAndSeparateKeyEvents) {
  fill({{"e1", "", "", "", "F1"}});
  chooseMode(PasteMode::AutoHorizontalScan);
  loadHotkeys();
  const auto before = headless::keyEvents().size();
  press();
  const auto events = headless::keyEvents();
  std::vector<std::pair<int, bool>> keys;
  for (std::size_t i = before; i < events.size(); ++i)
    keys.emplace_back(events[i].virtualKey, events[i].down);
  EXPECT_EQ(keys, (std::vector<std::pair<int, bool>>{
                      {163, true}, {'V', true}, {163, false}, {'V', false}}));
  for (std::size_t i = before; i < events.size(); ++i) EXPECT_NE(events[i].scanCode, 0);
}

TEST_F(PasteTest, QuickPressesEachDeliverTheirOwnRowInTurn) {
  fillEntries(3, "1");
  loadHotkeys();
  const std::int64_t t0 = loop::nowMs();
  headless::at(t0 + 40, [] { headless::pressHotkey(0, kF1); });
  headless::at(t0 + 80, [] { headless::pressHotkey(0, kF1); });
  press();
  EXPECT_EQ(names(),
            (std::vector<std::string>{"paste e1", "tab", "paste e2", "tab", "paste e3", "tab"}));
  EXPECT_EQ(table().currentRow(), 0);
}

TEST_F(PasteTest, AMarkedLastRowEmptiesTheTableAfterItsPaste) {
  fillEntries(2);
  table().setMarked(1, true);
  loadHotkeys();
  press();
  press();
  EXPECT_EQ(names(), (std::vector<std::string>{"paste e1", "paste e2"}));
  EXPECT_EQ(table().rowCount(), 0);
  press();  // an empty table pastes an empty entry and stays empty
  EXPECT_EQ(table().rowCount(), 0);
}

TEST_F(PasteTest, ManualVerticalPressesEnterRunAndIntervalIsReadAfresh) {
  fillEntries(2);
  table().setCell(0, 4, "2");
  chooseMode(PasteMode::ManualVertical);
  w().controls().组合框2.select(0);  // "30"
  loadHotkeys();
  const std::int64_t t0 = loop::nowMs();
  press();
  EXPECT_EQ(eventsSince(t0),
            (std::vector<TargetEvent>{{60, "paste e1"}, {90, "enter"}, {120, "enter"}}));
}

TEST_F(PasteTest, AutomaticRunStopsAtPauseRowsAndAtTheEndOfTheTable) {
  fillEntries(5);
  table().setCell(2, 3, "暂停");
  chooseMode(PasteMode::AutoHorizontal);
  loadHotkeys();
  table().setCurrentRow(1);
  press();
  EXPECT_EQ(names(), (std::vector<std::string>{"paste e2", "paste e3"}));
  EXPECT_EQ(table().currentRow(), 3);
  EXPECT_TRUE(w().engine().idle());
  press();
  EXPECT_EQ(names(), (std::vector<std::string>{"paste e2", "paste e3", "paste e4", "paste e5"}));
  EXPECT_EQ(table().currentRow(), 0);
  EXPECT_TRUE(w().engine().idle());
}

TEST_F(PasteTest, ASecondPressStopsTheRunAfterTheRowInProgress) {
  fillEntries(6);
  chooseMode(PasteMode::AutoHorizontal);
  loadHotkeys();
  const std::int64_t t0 = loop::nowMs();
  // The run: pause(50), then per row pause(10), pause(50), clipboard, pause(50), Ctrl+V.
  headless::at(t0 + 200, [] { headless::pressHotkey(0, kF1); });
  press();
  EXPECT_EQ(names(), (std::vector<std::string>{"paste e1", "paste e2"}));
  EXPECT_EQ(table().currentRow(), 2);
  EXPECT_TRUE(w().engine().idle());
  press();  // continues at the next undelivered row
  EXPECT_EQ(names().at(2), "paste e3");
}

TEST_F(PasteTest, RowsDeletedDuringARunEndItAtTheNewEnd) {
  fillEntries(6);
  chooseMode(PasteMode::AutoHorizontal);
  loadHotkeys();
  headless::at(loop::nowMs() + 120, [this] {
    while (table().rowCount() > 2) table().deleteRow(table().rowCount() - 1);
  });
  press();
  EXPECT_EQ(names(), (std::vector<std::string>{"paste e1", "paste e2"}));
  EXPECT_EQ(table().currentRow(), 0);
  EXPECT_TRUE(w().engine().idle());
}

TEST_F(PasteTest, RandomOrderDeliversEveryRowOncePerCycleWithCues) {
  fillEntries(4);
  table().setCell(1, 3, "暂停");
  chooseMode(PasteMode::RandomHorizontal);
  loadHotkeys();
  press();
  press();
  press();  // at most the one "暂停" row splits the cycle into two presses
  auto delivered = names();
  delivered.erase(std::remove(delivered.begin(), delivered.end(), "tab"), delivered.end());
  ASSERT_GE(delivered.size(), 4u);
  std::vector<std::string> firstCycle(delivered.begin(), delivered.begin() + 4);
  std::sort(firstCycle.begin(), firstCycle.end());
  EXPECT_EQ(firstCycle, (std::vector<std::string>{"paste e1", "paste e2", "paste e3", "paste e4"}));
  const auto sounds = headless::soundsPlayed();
  ASSERT_GE(sounds.size(), 2u);
  EXPECT_EQ(sounds[0], Sound::RunStart);
  EXPECT_EQ(sounds[1], Sound::RunFinish);
}

TEST_F(PasteTest, OrderedCopyConsumesMarksAndTheCheckFileRestoresThem) {
  fillEntries(5, "1");
  for (int row : {1, 3}) w().controls().超级列表框1.onCheckClicked(row);
  loadHotkeys();
  w().controls().按钮102.onClick();
  ASSERT_EQ(w().modes().copyMode(), CopyMode::Ordered);
  press();
  EXPECT_FALSE(table().isMarked(1));
  EXPECT_TRUE(table().isMarked(3));
  EXPECT_EQ(table().currentRow(), 1);
  press();
  EXPECT_EQ(names(), (std::vector<std::string>{"paste e2", "tab", "paste e4", "tab"}));
  EXPECT_TRUE(table().isMarked(1));  // none left: the check file marked them again
  EXPECT_TRUE(table().isMarked(3));
}

TEST_F(PasteTest, AllMarkedRowsPasteAsAGridInOnePress) {
  fillEntries(6);
  for (int row = 0; row < 5; ++row) table().setMarked(row, true);
  table().setCell(0, 2, "2");
  loadHotkeys();
  chooseMode(PasteMode::AllMarked);
  ASSERT_EQ(w().controls().按钮102.color(), feedback::kHighlightColor);
  press();
  EXPECT_EQ(names(), (std::vector<std::string>{"paste e1\te2\r\ne3\te4\r\ne5"}));
}

TEST(Grid, FillsRowsOfTheGivenWidth) {
  const std::vector<std::string> pieces{"a", "b", "c"};
  EXPECT_EQ(gridOf(pieces, 2), "a\tb\r\nc");
  EXPECT_EQ(gridOf(pieces, 3), "a\tb\tc\r\n");
  EXPECT_EQ(gridOf(pieces, 0), "a\tb\tc");
  EXPECT_EQ(gridOf({""}, 0), "");
}

TEST_F(PasteTest, MultiHotkeyDeliversTheRowOfThePressedSlotByCharacters) {
  std::vector<Row> rows;
  for (int i = 1; i <= 5; ++i) rows.push_back({"第" + std::to_string(i), "", "", "", ""});
  rows[0].hotkey = "F1";
  rows[4].hotkey = "Ctrl+F5";
  fill(rows);
  chooseMode(PasteMode::MultiHotkey);
  loadHotkeys();
  table().setCurrentRow(2);
  ASSERT_TRUE(headless::pressHotkey(1, 0x74));
  EXPECT_EQ(names(), (std::vector<std::string>{"char 第", "char 5"}));
  EXPECT_EQ(table().currentRow(), 4);
}

TEST_F(PasteTest, ForcedTypingTypesAsciiWithShiftAndSkipsTheRest) {
  fill({{"  Ab1!中 x\\|  ", "", "", "", "F1"}});
  chooseMode(PasteMode::AutoForcedTyping);
  loadHotkeys();
  press();
  EXPECT_EQ(names(), (std::vector<std::string>{"type A", "type b", "type 1", "type !", "type x",
                                               "type \\", "type |"}));
}

TEST_F(PasteTest, ABusyClipboardStopsTheRunWithoutPastingStaleText) {
  fillEntries(3);
  chooseMode(PasteMode::AutoHorizontal);
  loadHotkeys();
  headless::holdClipboard(true);
  press();
  EXPECT_TRUE(names().empty());
  EXPECT_EQ(w().hints().气球提示框1.text().rfind("●剪贴板", 0), 0u);
  EXPECT_TRUE(w().engine().idle());
  EXPECT_EQ(table().currentRow(), 0);
}

// Choosing a picture mode brings 万条复制 forward but leaves the back-quote
// action alone: a transfer stays in force and the clipboard keeps the path
// the user copied. Only a 反撇号键粘贴 it ends empties the clipboard.
TEST_F(PasteTest, ChoosingAPictureModeKeepsTheBackQuoteActionAndTheClipboard) {
  app::MainControls& c = w().controls();
  const std::function<void()> choices[] = {
      [&] { chooseMode(PasteMode::ImageText); },
      [&] {
        c.导入方式.select(static_cast<int>(table::ImportMode::DroppedImages));
        c.导入方式.onSelectionChanged();
      }};
  for (const auto& choose : choices) {
    chooseMode(PasteMode::ManualHorizontal);
    c.按钮1.onClick();
    c.按钮10.onClick();  // 不同页粘贴
    desktop::setClipboardText("C:\\a.png");
    choose();
    EXPECT_EQ(desktop::clipboardText(), "C:\\a.png");
    EXPECT_FALSE(w().modes().backQuoteImports());
    EXPECT_EQ(w().modes().backQuoteMode(), BackQuoteMode::Transfer);
    EXPECT_EQ(c.按钮10.color(), feedback::kHighlightColor);
    EXPECT_EQ(c.按钮1.color(), feedback::kHighlightColor);
    EXPECT_TRUE(w().engine().picturesWithText());

    chooseMode(PasteMode::ManualHorizontal);
    c.按钮66.onClick();  // 反撇号键粘贴 on
    desktop::setClipboardText("dragged");
    choose();
    EXPECT_EQ(c.按钮66.text(), "反撇号键粘贴");
    EXPECT_EQ(desktop::clipboardText(), "");
  }
}

TEST_F(PasteTest, ChoosingAModeRetitlesAndResizesColumns) {
  struct Case {
    PasteMode mode;
    std::string tabsTitle, enterTitle;
    std::vector<int> widths;
  } cases[] = {{PasteMode::AutoHorizontal, "跳格", "回车", {141, 40, 40, 40}},
               {PasteMode::ManualVertical, "回车", "回车", {221, 0, 0, 40}},
               {PasteMode::AutoVerticalArrows, "→", "↓", {141, 40, 40, 40}},
               {PasteMode::ManualHorizontal, "跳格", "回车", {181, 40, 0, 40}}};
  const ui::ListView& view = w().controls().超级列表框1;
  for (const Case& c : cases) {
    SCOPED_TRACE(traitsOf(c.mode).name);
    chooseMode(c.mode);
    EXPECT_EQ(view.columnTitle(2), c.tabsTitle);
    EXPECT_EQ(view.columnTitle(4), c.enterTitle);
    for (int column = 1; column <= 4; ++column)
      EXPECT_EQ(view.columnWidth(column), c.widths[column - 1]);
  }
}

}  // namespace
}  // namespace hf::paste
