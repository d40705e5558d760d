// The capture window on the headless backend, driven by the user's mouse and
// keys on the popup it shows, on the virtual clock.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "capture/capture_window.h"
#include "platform/event_loop.h"
#include "platform/headless/popup_simulation.h"
#include "platform/headless/simulation.h"
#include "platform/headless/target_simulation.h"
#include "platform/keys.h"

namespace {

namespace headless = hf::headless;
using namespace hf::capture;
using hf::Bitmap;
using hf::Cursor;
using hf::Point;
using hf::Rgb;
using hf::ui::MouseButton;

constexpr hf::Size kScreen{1280, 800};
constexpr Rgb kFrame{10, 100, 130};

// A screen whose every pixel differs from its neighbours, and none has the
// colours the window draws with (red stays at 200 and above).
Bitmap frozenScreen() {
  Bitmap screen(kScreen.width, kScreen.height);
  for (int y = 0; y < screen.height; ++y) {
    for (int x = 0; x < screen.width; ++x) {
      screen.at(x, y) = Bitmap::pack(
          {std::uint8_t(200 + (x + y) % 50), std::uint8_t(x % 256), std::uint8_t(y % 256)});
    }
  }
  return screen;
}

// The part of the picture within the edges, pixel by pixel.
Bitmap part(const Bitmap& picture, Edges e) {
  Bitmap piece(e.right - e.left + 1, e.bottom - e.top + 1);
  for (int y = 0; y < piece.height; ++y)
    for (int x = 0; x < piece.width; ++x) piece.at(x, y) = picture.at(e.left + x, e.top + y);
  return piece;
}

class CaptureWindowTest : public testing::Test {
 protected:
  CaptureWindowTest() { headless::reset(::testing::TempDir(), kScreen); }

  void open(CaptureWindow& capture) {
    capture.open(frozen);
    shown_ = headless::popupInFront();
    ASSERT_NE(shown_, nullptr);
  }
  void open() { open(window); }
  // The popup of the window opened last; the user's input reaches it while it is open.
  hf::ui::Popup& popup() { return *shown_; }

  void press(Point at) { headless::mouseDown(popup(), MouseButton::Left, at); }
  void move(Point at) { headless::mouseMove(popup(), at); }
  void release(Point at) { headless::mouseUp(popup(), MouseButton::Left, at); }
  void drag(Point from, Point to) {
    press(from);
    move({(from.x + to.x) / 2, (from.y + to.y) / 2});
    move(to);
    release(to);
  }
  void rightClick(Point at) {
    headless::mouseDown(popup(), MouseButton::Right, at);
    headless::mouseUp(popup(), MouseButton::Right, at);
  }
  void doubleClick(Point at) {
    press(at);
    release(at);
    headless::doubleClick(popup(), at);
    release(at);
  }
  void key(int virtualKey) { headless::keyDown(popup(), virtualKey); }

  Rgb shownAt(Point at) { return Bitmap::unpack(headless::shownPicture(popup()).at(at.x, at.y)); }
  Rgb frozenAt(Point at) { return Bitmap::unpack(frozen.at(at.x, at.y)); }
  bool showsText(const std::string& text) {
    const auto& texts = headless::shownTexts(popup());
    return std::any_of(texts.begin(), texts.end(), [&](const auto& t) { return t.text == text; });
  }

  const Bitmap frozen = frozenScreen();
  std::vector<Bitmap> copies;
  CaptureWindow window{[this](const Bitmap& picture) { copies.push_back(picture); }};

 private:
  hf::ui::Popup* shown_ = nullptr;
};

TEST_F(CaptureWindowTest, OpensOverTheFrozenScreenWithThePanelSlidingIn) {
  std::vector<int> panelTops;
  for (int at : {0, 100, 200})
    headless::at(at, [&] { panelTops.push_back(window.panelRect().top); });
  open();
  EXPECT_TRUE(window.isOpen());
  EXPECT_EQ(popup().rect(), (hf::Rect{0, 0, kScreen.width, kScreen.height}));
  EXPECT_EQ(popup().cursor(), Cursor::CaptureArrow);
  EXPECT_EQ(hf::loop::nowMs(), 34 * 8);
  // 5 pixels down after every 8 ms; an event runs once the clock has passed it.
  EXPECT_EQ(panelTops, (std::vector<int>{-155, -95, -35}));
  EXPECT_EQ(window.panelRect(), (hf::Rect{10, 10, 172, 146}));
  // Nothing drawn over the screen but the panel.
  for (Point at : {Point{0, 0}, Point{9, 9}, Point{182, 10}, Point{640, 400}, Point{1279, 799}})
    EXPECT_EQ(shownAt(at), frozenAt(at));
  EXPECT_TRUE(showsText("·按'ESC'键或鼠标右键退出"));
  EXPECT_FALSE(window.hasSelection());
}

TEST_F(CaptureWindowTest, ADragInAnyDirectionSelectsTheSameRectangle) {
  const Point topLeft{300, 200};
  const Point bottomRight{500, 350};
  struct Case {
    const char* what;
    Point from;
    Point to;
  };
  const std::vector<Case> cases = {
      {"down-right", topLeft, bottomRight},
      {"up-left", bottomRight, topLeft},
      {"down-left", {500, 200}, {300, 350}},
      {"up-right", {300, 350}, {500, 200}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    copies.clear();
    open();
    press(c.from);
    EXPECT_TRUE(headless::hasMouseCaptured(popup()));
    move(c.to);
    release(c.to);
    EXPECT_FALSE(headless::hasMouseCaptured(popup()));
    EXPECT_TRUE(window.hasSelection());
    EXPECT_EQ(window.selection(), (Edges{300, 200, 500, 350}));
    key(hf::keys::kEnter);
    EXPECT_FALSE(window.isOpen());
    EXPECT_TRUE(window.copied());
    ASSERT_EQ(copies.size(), 1u);
    EXPECT_EQ(copies[0].pixels, part(frozen, {300, 200, 500, 350}).pixels);
    EXPECT_EQ(copies[0].width, 201);
  }
}

TEST_F(CaptureWindowTest, FrameAndHandlesAreDrawnInTheFrameColourAroundTheSelection) {
  open();
  drag({300, 200}, {500, 350});
  struct Case {
    const char* what;
    Point at;
    bool frame;
  };
  const std::vector<Case> cases = {
      {"first selected pixel", {300, 200}, true},
      {"last selected pixel", {500, 350}, true},
      {"frame on the left column", {300, 280}, true},
      {"inside", {310, 210}, false},
      {"inside, by the left column", {301, 240}, false},
      {"inside, by the right column", {499, 300}, false},
      {"right of the frame", {501, 300}, false},
      {"top handle's square", {402, 198}, true},
      {"beside the top handle", {403, 198}, false},
      {"bottom-right handle, outside the selection", {502, 352}, true},
      {"right handle", {498, 273}, true},  // mid-y (200 + 350) / 2 = 275
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(shownAt(c.at), c.frame ? kFrame : frozenAt(c.at));
  }
}

TEST_F(CaptureWindowTest, APlainClickMakesNoSelection) {
  open();
  press({400, 300});
  release({400, 300});
  EXPECT_FALSE(window.hasSelection());
  doubleClick({400, 300});
  key(hf::keys::kEnter);
  EXPECT_TRUE(window.isOpen());
  EXPECT_EQ(shownAt({400, 300}), frozenAt({400, 300}));
  rightClick({400, 300});
  EXPECT_FALSE(window.isOpen());
  EXPECT_FALSE(window.copied());
  EXPECT_TRUE(copies.empty());
}

// A press that follows a click within the double-click time arrives as a
// double click; it starts a selection as any press does.
TEST_F(CaptureWindowTest, AClickThenAQuickDragSelects) {
  open();
  press({400, 300});
  release({400, 300});
  headless::doubleClick(popup(), {400, 300});
  move({450, 340});
  move({500, 380});
  release({500, 380});
  EXPECT_TRUE(window.hasSelection());
  EXPECT_EQ(window.selection(), (Edges{400, 300, 500, 380}));
  EXPECT_EQ(shownAt({500, 380}), kFrame);
}

// The button was already down when the window opened: its release alone
// makes no selection, and the next drag selects.
TEST_F(CaptureWindowTest, AReleaseWithoutAPressDoesNothing) {
  open();
  release({600, 400});
  EXPECT_FALSE(window.hasSelection());
  drag({100, 100}, {200, 150});
  EXPECT_TRUE(window.hasSelection());
  EXPECT_EQ(window.selection(), (Edges{100, 100, 200, 150}));
}

TEST_F(CaptureWindowTest, AOnePixelWideSelectionGivesAOnePixelWidePicture) {
  open();
  drag({400, 300}, {400, 360});
  ASSERT_TRUE(window.hasSelection());
  doubleClick({400, 330});
  ASSERT_EQ(copies.size(), 1u);
  EXPECT_EQ(copies[0].width, 1);
  EXPECT_EQ(copies[0].height, 61);
  EXPECT_EQ(copies[0].pixels, part(frozen, {400, 300, 400, 360}).pixels);
}

TEST_F(CaptureWindowTest, ACancelDropsTheSelectionAndASecondClosesTheWindow) {
  struct Case {
    const char* what;
    std::function<void()> cancel;
  };
  const std::vector<Case> cases = {
      {"right click",
       [&] {
         rightClick({50, 700});
       }},
      {"Esc", [&] { key(hf::keys::kEscape); }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    open();
    drag({300, 200}, {500, 350});
    c.cancel();
    EXPECT_TRUE(window.isOpen());
    EXPECT_FALSE(window.hasSelection());
    EXPECT_EQ(shownAt({300, 200}), frozenAt({300, 200}));
    EXPECT_EQ(popup().cursor(), Cursor::CaptureArrow);
    drag({600, 400}, {700, 450});  // a new selection needs no more than a drag
    EXPECT_EQ(window.selection(), (Edges{600, 400, 700, 450}));
    c.cancel();
    c.cancel();
    EXPECT_FALSE(window.isOpen());
    EXPECT_TRUE(copies.empty());
  }
}

TEST_F(CaptureWindowTest, DeleteDropsASelectionButClosesNothing) {
  open();
  key(hf::keys::kDelete);
  EXPECT_TRUE(window.isOpen());
  drag({300, 200}, {500, 350});
  key(hf::keys::kDelete);
  EXPECT_FALSE(window.hasSelection());
  key(hf::keys::kDelete);
  EXPECT_TRUE(window.isOpen());
}

TEST_F(CaptureWindowTest, EscWithAModifierHeldDoesNothing) {
  open();
  headless::setKeyHeld(hf::keys::kLeftCtrl, true);
  key(hf::keys::kEscape);
  EXPECT_TRUE(window.isOpen());
  headless::setKeyHeld(hf::keys::kLeftCtrl, false);
  key(hf::keys::kEscape);
  EXPECT_FALSE(window.isOpen());
}

TEST_F(CaptureWindowTest, ACancelDuringTheDragLeavesNoSelectionAfterTheRelease) {
  for (const bool adjusting : {false, true}) {
    SCOPED_TRACE(adjusting ? "while adjusting a selection" : "while selecting");
    open();
    if (adjusting) {
      drag({300, 200}, {500, 350});
      press({400, 300});
      move({420, 320});
    } else {
      press({300, 200});
      move({400, 300});
    }
    rightClick({400, 300});
    EXPECT_TRUE(window.isOpen());
    move({450, 330});
    release({450, 330});
    EXPECT_FALSE(window.hasSelection());
    EXPECT_EQ(shownAt({450, 330}), frozenAt({450, 330}));
    rightClick({450, 330});
    EXPECT_FALSE(window.isOpen()) << "the release left the window idle";
  }
}

TEST_F(CaptureWindowTest, ASelectionIsMovedAndResizedByDragging) {
  struct Case {
    const char* what;
    Point from;
    Point to;
    Edges expected;
    Cursor cursor;  // over `from` before the press
  };
  const std::vector<Case> cases = {
      {"inside", {400, 300}, {350, 330}, {250, 230, 450, 380}, Cursor::SizeAll},
      {"bottom-right handle", {501, 351}, {600, 420}, {300, 200, 600, 420}, Cursor::SizeNwse},
      {"top edge", {350, 200}, {370, 150}, {300, 150, 500, 350}, Cursor::SizeNs},
      {"left handle past the right edge",
       {300, 275},
       {560, 290},
       {500, 200, 560, 350},
       Cursor::SizeWe},
      {"top-right handle", {500, 200}, {520, 190}, {300, 190, 520, 350}, Cursor::SizeNesw},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    open();
    drag({300, 200}, {500, 350});
    move(c.from);
    EXPECT_EQ(popup().cursor(), c.cursor);
    drag(c.from, c.to);
    EXPECT_EQ(window.selection(), c.expected);
    EXPECT_TRUE(window.hasSelection());
    key(hf::keys::kEscape);
    key(hf::keys::kEscape);
  }
}

TEST_F(CaptureWindowTest, APressOutsideTheSelectionDoesNothing) {
  open();
  drag({300, 200}, {500, 350});
  move({700, 600});
  EXPECT_EQ(popup().cursor(), Cursor::CaptureArrow);
  drag({700, 600}, {800, 700});
  EXPECT_EQ(window.selection(), (Edges{300, 200, 500, 350}));
  doubleClick({700, 600});
  EXPECT_TRUE(window.isOpen()) << "a double click outside saves nothing";
  doubleClick({300, 200});
  EXPECT_FALSE(window.isOpen());
  EXPECT_EQ(copies.size(), 1u);
}

TEST_F(CaptureWindowTest, ArrowKeysMoveTheSelectionAndTheSaveIsClampedToTheScreen) {
  open();
  drag({0, 0}, {9, 9});
  for (int i = 0; i < 3; ++i) key(hf::keys::kLeft);
  key(hf::keys::kDown);
  EXPECT_EQ(window.selection(), (Edges{-3, 1, 6, 10}));
  EXPECT_EQ(shownAt({6, 10}), kFrame);
  key(hf::keys::kEnter);
  ASSERT_EQ(copies.size(), 1u);
  EXPECT_EQ(copies[0].pixels, part(frozen, {0, 1, 6, 10}).pixels);

  open();
  drag({1275, 795}, {1279, 799});
  for (int i = 0; i < 5; ++i) key(hf::keys::kRight);
  key(hf::keys::kEnter);
  EXPECT_FALSE(window.isOpen()) << "saved a selection with no pixel on the screen";
  EXPECT_FALSE(window.copied());
  EXPECT_EQ(copies.size(), 1u);
}

TEST_F(CaptureWindowTest, TheInfoBoxFollowsTheCursorWhileTheButtonIsHeld) {
  open();
  press({100, 100});
  move({1150, 300});
  const auto& texts = headless::shownTexts(popup());
  const auto line = [&](const std::string& text) -> const headless::ShownText* {
    auto found =
        std::find_if(texts.begin(), texts.end(), [&](const auto& t) { return t.text == text; });
    return found == texts.end() ? nullptr : &*found;
  };
  ASSERT_NE(line("顶点位置"), nullptr);
  EXPECT_EQ(line("顶点位置")->at, (Point{1158, 220}));
  EXPECT_EQ(line("顶点位置")->height, 12);
  ASSERT_NE(line("(100,100)"), nullptr);
  EXPECT_EQ(line("(100,100)")->at, (Point{1158, 232}));
  ASSERT_NE(line("(1051,201"), nullptr) << "no closing bracket at 1000 wide";
  EXPECT_EQ(line("(1051,201")->at, (Point{1158, 256}));
  EXPECT_NE(line("(1150,300"), nullptr);
  EXPECT_EQ(shownAt({1155, 217}), (Rgb{0, 0, 0})) << "its frame";

  move({1250, 50});  // near the right edge and the top: left of and below the cursor
  ASSERT_NE(line("顶点位置"), nullptr);
  EXPECT_EQ(line("顶点位置")->at, (Point{1186, 58}));
  release({1250, 50});
  EXPECT_EQ(line("顶点位置"), nullptr);
}

TEST_F(CaptureWindowTest, ThePanelDodgesTheCursorAndShowsTheColourUnderIt) {
  open();
  move({600, 400});
  EXPECT_TRUE(showsText(pixelLine(frozenAt({600, 400}))));
  move({50, 50});
  EXPECT_EQ(window.panelRect().left, kScreen.width - 172 - 8);
  EXPECT_EQ(shownAt({50, 50}), frozenAt({50, 50}));
  move({1200, 100});
  EXPECT_EQ(window.panelRect().left, 8);
  EXPECT_EQ(window.panelRect().top, 10);

  drag({300, 200}, {500, 350});
  move({400, 200});  // on the frame, which the screen shows now
  EXPECT_TRUE(showsText(pixelLine(kFrame)));
}

TEST_F(CaptureWindowTest, ThePanelTellsWhatTheMouseDoesNext) {
  open();
  const int top = window.panelRect().top;
  const auto rowAt = [&](int panelTop) {
    for (const auto& t : headless::shownTexts(popup()))
      if (t.at.y == top + panelTop && t.at.x == window.panelRect().left + 5) return t.text;
    return std::string();
  };
  EXPECT_EQ(rowAt(86), "·按'ESC'键或鼠标右键退出");
  press({300, 200});
  move({400, 300});
  EXPECT_EQ(rowAt(74), "·按'ESC'键退出");
  release({400, 300});
  EXPECT_EQ(rowAt(120), "·点击鼠标右键重新选择");
}

TEST_F(CaptureWindowTest, TheSystemMayCloseItOnlyWithoutASelection) {
  open();
  drag({300, 200}, {500, 350});
  EXPECT_FALSE(headless::askToClose(popup()));
  EXPECT_FALSE(window.hasSelection());
  EXPECT_TRUE(headless::askToClose(popup()));
  EXPECT_FALSE(window.isOpen());
  EXPECT_FALSE(window.copied());
}

TEST_F(CaptureWindowTest, RunReturnsWhenTheWindowClosesWithWhetherItCopied) {
  // The user's input as it comes while the window runs, panel slide included.
  const auto user = [&](std::int64_t at, std::function<void(hf::ui::Popup&)> act) {
    headless::at(at, [act] { act(*headless::popupInFront()); });
  };
  user(300, [](auto& p) { headless::mouseDown(p, MouseButton::Left, {10, 500}); });
  user(320, [](auto& p) { headless::mouseMove(p, {40, 520}); });
  user(340, [](auto& p) { headless::mouseUp(p, MouseButton::Left, {40, 520}); });
  user(400, [](auto& p) { headless::keyDown(p, hf::keys::kEnter); });
  EXPECT_TRUE(window.run(frozen));
  EXPECT_EQ(hf::loop::nowMs(), 400);
  ASSERT_EQ(copies.size(), 1u);
  EXPECT_EQ(copies[0].width, 31);

  user(500, [](auto& p) { headless::keyDown(p, hf::keys::kEscape); });  // during the slide
  EXPECT_FALSE(window.run(frozen));
  EXPECT_LT(hf::loop::nowMs(), 400 + 34 * 8);
  EXPECT_EQ(copies.size(), 1u);
}

TEST_F(CaptureWindowTest, FrameAndInfoBoxTakeTheGivenColours) {
  const Rgb frame{200, 0, 0};
  const Rgb infoFrame{0, 200, 0};
  const Rgb infoText{0, 0, 200};
  CaptureWindow coloured([](const Bitmap&) {}, {frame, infoFrame, infoText});
  open(coloured);
  press({300, 200});
  move({500, 350});
  EXPECT_EQ(shownAt({300, 200}), frame);
  EXPECT_EQ(shownAt({505, 267}), infoFrame);  // the info box's left side, at 508 - 3
  const auto& texts = headless::shownTexts(popup());
  const auto info =
      std::find_if(texts.begin(), texts.end(), [](const auto& t) { return t.text == "矩形大小"; });
  ASSERT_NE(info, texts.end());
  EXPECT_EQ(info->color, infoText);
}

}  // namespace
