#include <windows.h>

#include <commctrl.h>

#include <string>
#include <vector>

#include "window_fixture.h"

namespace {

using namespace hf::ui;

class ControlsTest : public WindowTest {};

TEST_F(ControlsTest, EditBoxRaisesTextEventsForTypingButNotForSetText) {
  EditBox edit(*window_, {{10, 10, 200, 22}, "\xD6\xD0"});
  int changes = 0;
  std::vector<int> keysDown, keysUp;
  edit.onTextChanged = [&] { ++changes; };
  edit.onKeyDown = [&](int key) { keysDown.push_back(key); };
  edit.onKeyUp = [&](int key) { keysUp.push_back(key); };

  EXPECT_EQ(edit.text(), "\xD6\xD0");
  edit.setText("\xA1\xEF\xCE\xC4");  // ★文
  EXPECT_EQ(edit.text(), "\xA1\xEF\xCE\xC4");
  EXPECT_EQ(changes, 0);

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

TEST_F(ControlsTest, EditBoxReportsLosingTheFocus) {
  EditBox edit(*window_, {{10, 10, 200, 22}});
  EditBox other(*window_, {{10, 40, 200, 22}});
  int lost = 0;
  edit.onFocusLost = [&] { ++lost; };
  edit.focus();
  ASSERT_TRUE(edit.hasFocus());
  other.focus();
  EXPECT_EQ(lost, 1);
  EXPECT_FALSE(edit.hasFocus());
}

TEST_F(ControlsTest, DropDownTextIsThePickedItemAndSettersStayQuiet) {
  DropDown dropDown(*window_, {{10, 10, 150, 22}, {"\xC1\xE3", "one", "two"}});
  int changes = 0;
  dropDown.onSelectionChanged = [&] { ++changes; };
  EXPECT_EQ(dropDown.itemCount(), 3);
  EXPECT_EQ(dropDown.itemText(0), "\xC1\xE3");
  EXPECT_EQ(dropDown.selectedIndex(), -1);
  EXPECT_EQ(dropDown.text(), "");

  dropDown.select(1);
  EXPECT_EQ(dropDown.text(), "one");
  dropDown.setText("two");
  EXPECT_EQ(dropDown.selectedIndex(), 2);
  dropDown.setItems({"a", "b"});
  EXPECT_EQ(dropDown.itemCount(), 2);
  EXPECT_EQ(changes, 0);

  SendMessageW(hwndOf(dropDown), WM_KEYDOWN, VK_DOWN, 0);  // the user steps to the next item
  EXPECT_EQ(changes, 1);
  EXPECT_EQ(dropDown.selectedIndex(), 0);
}

TEST_F(ControlsTest, ButtonsAndCheckBoxesRaiseClicksOnlyForTheUser) {
  Button button(*window_, {{10, 10, 80, 24}, "\xB1\xA3\xB4\xE6"});
  CheckBox checkBox(*window_, {{10, 40, 80, 20}, "", true});
  int buttonClicks = 0;
  std::vector<bool> checkStates;
  button.onClick = [&] { ++buttonClicks; };
  checkBox.onClick = [&] { checkStates.push_back(checkBox.isChecked()); };

  EXPECT_TRUE(checkBox.isChecked());
  checkBox.setChecked(false);
  button.setColor({200, 40, 40});
  EXPECT_EQ(checkStates.size(), 0u);

  SendMessageW(hwndOf(button), BM_CLICK, 0, 0);
  SendMessageW(hwndOf(checkBox), BM_CLICK, 0, 0);
  EXPECT_EQ(buttonClicks, 1);
  EXPECT_EQ(checkStates, std::vector<bool>{true});
  EXPECT_EQ(button.text(), "\xB1\xA3\xB4\xE6");
}

TEST_F(ControlsTest, ControlsKeepTheirLayoutRectInUnits) {
  Label label(*window_, {{20, 30, 100, 16}, "label"});
  RECT placed;
  GetWindowRect(hwndOf(label), &placed);
  MapWindowPoints(nullptr, hwnd(), reinterpret_cast<POINT*>(&placed), 2);
  EXPECT_EQ(placed.left, window_->scaled(20));
  EXPECT_EQ(placed.right - placed.left, window_->scaled(100));

  label.setRect({40, 50, 60, 16});
  EXPECT_EQ(label.rect(), (hf::Rect{40, 50, 60, 16}));
  label.setVisible(false);
  EXPECT_FALSE(label.isVisible());
  label.setEnabled(false);
  EXPECT_FALSE(label.isEnabled());
}

TEST_F(ControlsTest, TimerTicksUntilStopped) {
  Timer timer(*window_);
  int ticks = 0;
  timer.onTick = [&] { ++ticks; };
  timer.setInterval(10);
  EXPECT_TRUE(waitFor([&] { return ticks >= 3; }));
  timer.setInterval(0);
  int stoppedAt = ticks;
  hf::loop::pause(60);
  EXPECT_EQ(ticks, stoppedAt);
}

// The tip window the balloon uses: a tooltip owned by the test window.
HWND shownTipOf(HWND owner) {
  for (HWND tip = FindWindowExW(nullptr, nullptr, TOOLTIPS_CLASSW, nullptr); tip;
       tip = FindWindowExW(nullptr, tip, TOOLTIPS_CLASSW, nullptr)) {
    if (GetWindow(tip, GW_OWNER) == owner && IsWindowVisible(tip)) return tip;
  }
  return nullptr;
}

TEST_F(ControlsTest, BalloonTipShowsAtAPointUntilHidden) {
  BalloonTip tip(*window_);
  tip.show({300, 300}, "\xA1\xF1\xCC\xE1\xCA\xBE\r\n\xB5\xDA\xB6\xFE\xD0\xD0");  // ●提示 / 第二行
  hf::loop::processPending();
  EXPECT_TRUE(tip.isShown());
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
  EXPECT_FALSE(tip.isShown());
  EXPECT_EQ(shownTipOf(hwnd()), nullptr);
}

TEST_F(ControlsTest, WindowEventsAndGeometry) {
  std::vector<std::string> events;
  window_->onMouseUp = [&](hf::Point at) {
    events.push_back("up " + std::to_string(at.x) + "," + std::to_string(at.y));
  };
  window_->onHotkey = [&](int id) { events.push_back("hotkey " + std::to_string(id)); };
  window_->onClose = [&] { events.push_back("close"); };
  window_->onDestroy = [&] { events.push_back("destroy"); };

  EXPECT_EQ(window_->frameRect().width, window_->scaled(460));
  EXPECT_EQ(window_->frameRect().height, window_->scaled(627));
  window_->setOuterHeight(506);
  EXPECT_EQ(window_->frameRect().height, window_->scaled(506));
  EXPECT_EQ(window_->frameRect().width, window_->scaled(460));
  window_->moveTo({100, 120});
  EXPECT_EQ(window_->frameRect().left, 100);

  SendMessageW(hwnd(), WM_LBUTTONUP, 0, MAKELPARAM(window_->scaled(30), window_->scaled(40)));
  SendMessageW(hwnd(), WM_HOTKEY, 7, 0);
  window_->close();
  EXPECT_TRUE(window_->isDestroyed());
  EXPECT_EQ(events, (std::vector<std::string>{"up 30,40", "hotkey 7", "close", "destroy"}));
  MSG quit;
  EXPECT_TRUE(PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE))
      << "the loop was not told to end";
}

}  // namespace
