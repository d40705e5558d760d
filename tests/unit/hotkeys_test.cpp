#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "app_fixture.h"
#include "paste/hotkey_text.h"
#include "platform/event_loop.h"
#include "platform/headless/target_simulation.h"
#include "platform/keys.h"

namespace hf::paste {
namespace {

TEST(HotkeyText, KeyNamesAndCodes) {
  struct Case {
    std::string name;
    int code;
  } cases[] = {{"A", 0x41},    {"Z", 0x5A},          {"F1", 0x70},  {"F12", 0x7B}, {"Num1", 0x31},
               {"num1", 0x61}, {"Space", 0x20},      {" ↓", 0x28},  {" ；", 0xBA}, {" \\", 0xDC},
               {" ‘", 0xDE},   {"ScrollLock", 0x91}, {" ＋", 0x6B}, {" `", 0xC0},  {" ←", 0x25},
               {" ↑", 0x26},   {" →", 0x27},         {" ×", 0x6A},  {" －", 0x6D}, {" ÷", 0x6F},
               {" ，", 0xBC},  {" 。", 0xBE}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(keys::keyCode(c.name), c.code);
    EXPECT_EQ(keys::keyName(c.code), c.name);
  }
  EXPECT_EQ(keys::keyCode("a"), 0x41);
  EXPECT_EQ(keys::keyCode("f5"), 0x74);
  EXPECT_EQ(keys::keyCode("NUM1"), 0);
  EXPECT_EQ(keys::keyCode("↓"), 0);  // the name has a leading blank
  EXPECT_EQ(keys::keyName(0x11), "");
}

TEST(HotkeyText, ParsesModifierWordsAndKeys) {
  struct Case {
    std::string text;
    KeyCombination combination;
  } cases[] = {
      {"F5", {0, 0x74}},
      {"Ctrl+Shift+F5", {3, 0x74}},
      {"Ctrl+Shift+Alt+ ↓", {7, 0x28}},
      {"Alt+num0", {4, 0x60}},
      {"ctrl+a", {0, 0x41}},  // "ctrl" is no modifier word
      {"Ctrl+", {0, 0}},      // no key after the last "+"
      {"A+B+C+D+E", {0, 0}},  // too many parts
      {"Ctrl+Unknown", {1, 0}},
      {"", {0, 0}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(parseHotkey(c.text), c.combination);
  }
}

TEST(HotkeyText, CapturePrefixAddsThePressedModifier) {
  struct Case {
    int key;
    unsigned others;
    std::string prefix;
  } cases[] = {{0x11, 0, "Ctrl+"},       {0x11, 6, "Ctrl+Shift+Alt+"},
               {0x10, 4, "Shift+Alt+"},  {0x10, 1, "Ctrl+"},
               {0x12, 0, "Alt+"},        {0x12, 3, "Ctrl+Shift+"},
               {0x74, 3, "Ctrl+Shift+"}, {0x41, 0, ""}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.key);
    EXPECT_EQ(capturePrefix(c.key, c.others), c.prefix);
  }
}

class HotkeyLoadingTest : public AppTest {
 protected:
  void SetUp() override {
    AppTest::SetUp();
    start();
  }
  table::DataTable& table() { return window_->table(); }
};

TEST_F(HotkeyLoadingTest, RegistersRowsBySlotNumberAndEmptiesRefusedOnes) {
  for (const char* entry : {"a", "b", "c"}) table().appendRow(entry);
  table().setCell(0, 5, "F1");
  table().setCell(1, 5, "Ctrl+Q");
  table().setCell(2, 5, "Shift+Nope");
  table().setCell(0, 0, "5");  // the first row claims slot 5
  headless::holdHotkeyElsewhere(1, 'Q');
  window_->controls().加载热键.onClick();

  EXPECT_EQ(window_->controls().加载热键.text(), "卸载热键");
  EXPECT_NE(window_->hotkeys().custom[4], 0);
  EXPECT_EQ(window_->hotkeys().custom[0], 0);
  EXPECT_EQ(table().cell(1, 5), "");  // taken by another program
  EXPECT_EQ(table().cell(2, 5), "");  // not a key name
  EXPECT_EQ(table().cell(0, 5), "F1");

  window_->controls().加载热键.onClick();
  EXPECT_EQ(window_->controls().加载热键.text(), "加载热键");
  const auto held = headless::registeredHotkeys();
  EXPECT_EQ(held.size(), 1u);  // the back-quote key only
}

TEST_F(HotkeyLoadingTest, AnEmptyFirstEntryRefusesToLoad) {
  table().appendRow("");
  table().setCell(0, 5, "F1");
  window_->controls().加载热键.onClick();
  EXPECT_EQ(window_->controls().加载热键.text(), "加载热键");
  EXPECT_EQ(window_->hints().气球提示框2.text(), "●文本未导入，无法启用热键！");
}

TEST_F(HotkeyLoadingTest, HotkeyBoxesRecordCombinationsAndRefuseTakenOnes) {
  ui::EditBox& box = window_->controls().记录;
  auto hold = [&](std::initializer_list<int> keys) {
    for (int key : keys) {
      headless::setKeyHeld(key, true);
      box.onKeyDown(key);
    }
    for (int key : keys) {
      box.onKeyUp(key);
      headless::setKeyHeld(key, false);
    }
    return box.text();
  };
  EXPECT_EQ(hold({0x11, 0x10, 0x74}), "Ctrl+Shift+F5");
  EXPECT_EQ(hold({0x11}), "");
  EXPECT_EQ(hold({0x11, 'V'}), "");
  window_->controls().模拟.setText("Alt+A");
  EXPECT_EQ(hold({0x12, 'A'}), "");
  table().appendRow("x");
  table().setCell(0, 5, "F7");
  EXPECT_EQ(hold({0x76}), "");
  EXPECT_EQ(hold({0x31}), "Num1");
  box.onDoubleClick();
  EXPECT_EQ(box.text(), "");
}

TEST_F(HotkeyLoadingTest, TheHotkeyEditorOpensOverACellAndWritesItBack) {
  for (int i = 0; i < 52; ++i) table().appendRow("row");
  table().setCell(0, 5, "F1");
  ui::ListView& list = window_->controls().超级列表框1;
  ui::EditBox& editor = window_->controls().编辑框1007;
  window_->window().show();
  window_->controls().加载热键.onClick();
  ASSERT_EQ(window_->controls().加载热键.text(), "卸载热键");

  list.onCellMouseDown({0, 5, false});
  list.onDoubleClick();
  EXPECT_EQ(window_->controls().加载热键.text(), "加载热键");  // released while editing
  ASSERT_TRUE(editor.isVisible());
  EXPECT_EQ(editor.text(), "F1");
  EXPECT_EQ(editor.rect().left, list.cellRect(0, 5).left);
  for (int key : {0x11, 0x78}) {
    headless::setKeyHeld(key, true);
    editor.onKeyDown(key);
  }
  editor.onKeyUp(0x78);
  for (int key : {0x11, 0x78}) headless::setKeyHeld(key, false);
  editor.onFocusLost();
  EXPECT_FALSE(editor.isVisible());
  EXPECT_EQ(table().cell(0, 5), "Ctrl+F9");
  EXPECT_EQ(window_->hints().气球提示框2.text(), "●修改后记得保存！");

  list.ensureVisible(51);
  list.onCellMouseDown({51, 5, false});
  list.onDoubleClick();  // row 52 cannot carry a hotkey
  EXPECT_FALSE(editor.isVisible());
}

TEST_F(HotkeyLoadingTest, OpeningTheHotkeyEditorClearsTheCurrentRow) {
  for (const char* entry : {"a", "b", "c"}) table().appendRow(entry);
  window_->window().show();
  ui::ListView& list = window_->controls().超级列表框1;
  table().setCurrentRow(1);  // the double-clicked row, as the table selects it
  list.onCellMouseDown({1, 5, false});
  list.onDoubleClick();
  ASSERT_TRUE(window_->controls().编辑框1007.isVisible());
  EXPECT_EQ(table().currentRow(), -1);
}

// Key chords typed into hotkey boxes at different speeds: a fast typist (or
// xdotool) releases keys while the box is still pausing in a key-down.
class HotkeyBoxTimingTest : public HotkeyLoadingTest {
 protected:
  struct Case {
    const char* name;
    std::vector<int> keys;
    std::string expected;
  };
  static constexpr int kSpacingsMs[] = {0, 4, 20, 250};

  void SetUp() override {
    HotkeyLoadingTest::SetUp();
    for (const char* entry : {"a", "b", "c"}) table().appendRow(entry);
    table().setCell(1, 5, "Alt+A");
    window_->window().show();
  }

  // Each key goes down in order and comes up in reverse order, one event
  // every `spacingMs` on the virtual clock; returns once all are handled.
  void typeChord(ui::EditBox& box, const std::vector<int>& keys, int spacingMs) {
    std::int64_t when = loop::nowMs();
    for (int key : keys)
      headless::at(when += spacingMs, [&box, key] {
        headless::setKeyHeld(key, true);
        box.onKeyDown(key);
      });
    for (auto key = keys.rbegin(); key != keys.rend(); ++key)
      headless::at(when += spacingMs, [&box, key = *key] {
        headless::setKeyHeld(key, false);
        box.onKeyUp(key);
      });
    headless::advance(when - loop::nowMs() + 200);
  }

  const std::vector<Case> cases_ = {
      {"Ctrl+V", {0x11, 'V'}, ""},
      {"Ctrl+C", {0x11, 'C'}, ""},
      {"Alt+A, the hotkey of row 2", {0x12, 'A'}, ""},
      {"Ctrl+Shift+F5", {0x11, 0x10, 0x74}, "Ctrl+Shift+F5"},
  };
};

TEST_F(HotkeyBoxTimingTest, AMacroBoxEndsTheSameAtAnySpeed) {
  ui::EditBox& box = window_->controls().记录;
  for (const Case& c : cases_) {
    for (int spacing : kSpacingsMs) {
      SCOPED_TRACE(std::string(c.name) + " typed " + std::to_string(spacing) + " ms apart");
      box.setText("F9");
      typeChord(box, c.keys, spacing);
      EXPECT_EQ(box.text(), c.expected);
    }
  }
}

TEST_F(HotkeyBoxTimingTest, TheHotkeyEditorWritesTheSameCellAtAnySpeed) {
  ui::ListView& list = window_->controls().超级列表框1;
  ui::EditBox& editor = window_->controls().编辑框1007;
  for (const Case& c : cases_) {
    for (int spacing : kSpacingsMs) {
      SCOPED_TRACE(std::string(c.name) + " typed " + std::to_string(spacing) + " ms apart");
      table().setCell(0, 5, "F9");
      list.onCellMouseDown({0, 5, false});
      list.onDoubleClick();
      ASSERT_TRUE(editor.isVisible());
      typeChord(editor, c.keys, spacing);
      editor.onFocusLost();
      EXPECT_EQ(table().cell(0, 5), c.expected);
    }
  }
}

TEST_F(HotkeyLoadingTest, PickerClicksTheReleasePointAndMakesItsWindowTopmost) {
  ui::PictureBox& picker = window_->controls().图片框_探测;
  picker.onMouseUp();  // no drag in progress: nothing
  EXPECT_TRUE(headless::clicks().empty());

  picker.onMouseDown();
  EXPECT_EQ(picker.picture(), Image::PickerEmpty);
  desktop::setCursorPos({300, 200});
  picker.onMouseUp();
  EXPECT_EQ(window_->picker().targetPoint(), (Point{300, 200}));
  EXPECT_EQ(headless::clicks(), (std::vector<Point>{{300, 200}}));
  EXPECT_EQ(headless::topmostWindows().size(), 1u);
  EXPECT_EQ(picker.picture(), Image::PickerBullseye);
  EXPECT_EQ(window_->hints().气球提示框1.text(), "●已确定点击位置！窗口已置顶！");

  picker.onMouseDown();  // released on the picker itself: no click there
  const Rect on = picker.screenRect();
  desktop::setCursorPos({on.left + 3, on.top + 3});
  picker.onMouseUp();
  EXPECT_EQ(headless::clicks().size(), 1u);
}

}  // namespace
}  // namespace hf::paste
