#include <windows.h>

#include <commctrl.h>

#include <string>
#include <vector>

#include "window_fixture.h"

namespace {

using namespace hf::ui;

class ControlsTest : public WindowTest {};

TEST_F(ControlsTest, EditBoxRaisesTextAndKeyEventsForTyping) {
  EditBox edit(*window_, {{10, 10, 200, 22}, "\xA1\xEF\xCE\xC4"});  // ★文
  int changes = 0;
  std::vector<int> keysDown, keysUp;
  edit.onTextChanged = [&] { ++changes; };
  edit.onKeyDown = [&](int key) { keysDown.push_back(key); };
  edit.onKeyUp = [&](int key) { keysUp.push_back(key); };

  SendMessageW(hwndOf(edit), WM_KEYDOWN, VK_END, 0);
  SendMessageW(hwndOf(edit), WM_CHAR, L'\u5B57', 0);  // 字
  SendMessageW(hwndOf(edit), WM_KEYUP, VK_END, 0);
  EXPECT_EQ(edit.text(), "\xA1\xEF\xCE\xC4\xD7\xD6");
  EXPECT_EQ(changes, 1);
  EXPECT_EQ(keysDown, std::vector<int>{VK_END});
  EXPECT_EQ(keysUp, std::vector<int>{VK_END});
}

// A quick click whose press handler waits: the release arrives during the
// wait. The box must still see it and let the mouse go, or it would take
// the next click anywhere in the window.
TEST_F(ControlsTest, APressHandlerThatWaitsLeavesTheMouseFree) {
  EditBox edit(*window_, {{10, 10, 200, 22}});
  int presses = 0;
  edit.onMouseDown = [&] {
    ++presses;
    hf::loop::pause(10);
  };
  PostMessageW(hwndOf(edit), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
  PostMessageW(hwndOf(edit), WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
  hf::loop::processPending();
  EXPECT_EQ(presses, 1);
  EXPECT_NE(GetCapture(), hwndOf(edit));
}

// A picture box keeps the mouse from the press to the release: the moves in
// between reach it with the cursor's screen point (dragging the preview).
TEST_F(ControlsTest, APictureBoxReportsTheMouseMovesWhileItsButtonIsHeld) {
  PictureBox box(*window_, {{10, 10, 60, 40}});
  std::vector<hf::Point> moves;
  int releases = 0;
  box.onMouseMove = [&](hf::Point at) { moves.push_back(at); };
  box.onMouseUp = [&] { ++releases; };
  SendMessageW(hwndOf(box), WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
  EXPECT_TRUE(moves.empty());  // not pressed: a mere pass over it

  SendMessageW(hwndOf(box), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
  EXPECT_EQ(GetCapture(), hwndOf(box));
  SendMessageW(hwndOf(box), WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(30, 20));
  POINT cursor{};
  GetCursorPos(&cursor);
  ASSERT_EQ(moves.size(), 1u);
  EXPECT_EQ(moves[0], (hf::Point{cursor.x, cursor.y}));
  SendMessageW(hwndOf(box), WM_LBUTTONUP, 0, MAKELPARAM(30, 20));
  EXPECT_EQ(releases, 1);
  EXPECT_NE(GetCapture(), hwndOf(box));
}

// A focus move of the program's own raises nothing (see the contract tests);
// the user's click on another control does.
TEST_F(ControlsTest, EditBoxReportsLosingTheFocusToTheUsersClick) {
  EditBox edit(*window_, {{10, 10, 200, 22}});
  EditBox other(*window_, {{10, 40, 200, 22}});
  int lost = 0;
  edit.onFocusLost = [&] { ++lost; };
  edit.focus();
  ASSERT_TRUE(edit.hasFocus());
  SendMessageW(hwndOf(other), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
  SendMessageW(hwndOf(other), WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
  EXPECT_EQ(lost, 1);
  EXPECT_FALSE(edit.hasFocus());
  EXPECT_TRUE(other.hasFocus());
}

TEST_F(ControlsTest, DropDownRaisesSelectionChangesForTheUsersPick) {
  DropDown dropDown(*window_, {{10, 10, 150, 22}, {"\xC1\xE3", "one", "two"}});  // 零
  int changes = 0;
  dropDown.onSelectionChanged = [&] { ++changes; };
  SendMessageW(hwndOf(dropDown), WM_KEYDOWN, VK_DOWN, 0);  // the user steps to the first item
  EXPECT_EQ(changes, 1);
  EXPECT_EQ(dropDown.selectedIndex(), 0);
  EXPECT_EQ(dropDown.text(), "\xC1\xE3");
}

TEST_F(ControlsTest, ButtonsAndCheckBoxesRaiseClicksForTheUsersClick) {
  Button button(*window_, {{10, 10, 80, 24}, "\xB1\xA3\xB4\xE6"});  // 保存
  CheckBox checkBox(*window_, {{10, 40, 80, 20}, ""});
  int buttonClicks = 0;
  std::vector<bool> checkStates;
  button.onClick = [&] { ++buttonClicks; };
  checkBox.onClick = [&] { checkStates.push_back(checkBox.isChecked()); };

  SendMessageW(hwndOf(button), BM_CLICK, 0, 0);
  SendMessageW(hwndOf(checkBox), BM_CLICK, 0, 0);
  SendMessageW(hwndOf(checkBox), BM_CLICK, 0, 0);
  EXPECT_EQ(buttonClicks, 1);
  EXPECT_EQ(checkStates, (std::vector<bool>{true, false}));  // the mark is toggled first
}

TEST_F(ControlsTest, ControlsArePlacedAtTheirScaledLayoutRect) {
  Label label(*window_, {{20, 30, 100, 16}, "label"});
  label.setRect({40, 50, 60, 16});
  RECT placed;
  GetWindowRect(hwndOf(label), &placed);
  MapWindowPoints(nullptr, hwnd(), reinterpret_cast<POINT*>(&placed), 2);
  EXPECT_EQ(placed.left, window_->scaled(40));
  EXPECT_EQ(placed.top, window_->scaled(50));
  EXPECT_EQ(placed.right - placed.left, window_->scaled(60));
}

// The tip window the balloon uses: a tooltip owned by the test window.
HWND shownTipOf(HWND owner) {
  for (HWND tip = FindWindowExW(nullptr, nullptr, TOOLTIPS_CLASSW, nullptr); tip;
       tip = FindWindowExW(nullptr, tip, TOOLTIPS_CLASSW, nullptr)) {
    if (GetWindow(tip, GW_OWNER) == owner && IsWindowVisible(tip)) return tip;
  }
  return nullptr;
}

TEST_F(ControlsTest, BalloonTipIsAToolTipWindowWithTheText) {
  BalloonTip tip(*window_);
  tip.show({300, 300}, "\xA1\xF1\xCC\xE1\xCA\xBE\r\n\xB5\xDA\xB6\xFE\xD0\xD0");  // ●提示 / 第二行
  hf::loop::processPending();
  HWND shown = shownTipOf(hwnd());
  ASSERT_NE(shown, nullptr);
  wchar_t text[32] = {};
  TTTOOLINFOW tool{};
  tool.cbSize = TTTOOLINFOW_V2_SIZE;
  tool.hwnd = hwnd();
  tool.uId = 1;
  tool.lpszText = text;
  SendMessageW(shown, TTM_GETTEXTW, 32, reinterpret_cast<LPARAM>(&tool));
  EXPECT_STREQ(text, L"\u25CF\u63D0\u793A\r\n\u7B2C\u4E8C\u884C");

  tip.hide();
  hf::loop::processPending();
  EXPECT_EQ(shownTipOf(hwnd()), nullptr);
}

// Client points arrive in 96-DPI units.
TEST_F(ControlsTest, WindowMessagesReachTheWindowsEvents) {
  std::vector<std::string> events;
  window_->onMouseUp = [&](hf::Point at) {
    events.push_back("up " + std::to_string(at.x) + "," + std::to_string(at.y));
  };
  window_->onHotkey = [&](int id) { events.push_back("hotkey " + std::to_string(id)); };

  SendMessageW(hwnd(), WM_LBUTTONUP, 0, MAKELPARAM(window_->scaled(30), window_->scaled(40)));
  SendMessageW(hwnd(), WM_HOTKEY, 7, 0);
  EXPECT_EQ(events, (std::vector<std::string>{"up 30,40", "hotkey 7"}));
}

}  // namespace
