// The popup over the whole screen: what its canvas draws is what the screen
// shows, and the user's mouse and keys reach it with their points and keys.
#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "contract/backend.h"
#include "platform/bitmap.h"
#include "platform/desktop.h"
#include "platform/event_loop.h"
#include "platform/keys.h"
#include "platform/ui.h"

namespace {

using hf::Point;
using hf::Rect;
using hf::Rgb;
using hf::ui::Canvas;
using hf::ui::MouseButton;
using hf::ui::Popup;

constexpr Rgb kWhite{255, 255, 255};
constexpr Rgb kRed{220, 30, 30};
constexpr Rgb kBlue{20, 40, 200};
constexpr Rgb kGreen{30, 160, 60};
constexpr Rgb kBlack{0, 0, 0};

class Popups : public contract::WindowTest {
 protected:
  void SetUp() override {
    WindowTest::SetUp();
    if (IsSkipped()) return;
    popup_ = std::make_unique<Popup>();
    if (!contract::exists(*popup_)) GTEST_SKIP() << "no display to make windows on";
  }
  void TearDown() override {
    popup_.reset();
    WindowTest::TearDown();
  }

  Popup& popup() { return *popup_; }

 private:
  std::unique_ptr<Popup> popup_;
};

TEST_F(Popups, CoversTheScreenAndIsOpenFromShowUntilClose) {
  const hf::Size screen = hf::desktop::screenSize();
  EXPECT_EQ(popup().rect(), (Rect{0, 0, screen.width, screen.height}));
  EXPECT_FALSE(popup().isOpen());
  popup().show();
  EXPECT_TRUE(popup().isOpen());
  EXPECT_EQ(popup().rect(), (Rect{0, 0, screen.width, screen.height}));
  popup().close();
  EXPECT_FALSE(popup().isOpen());
  popup().runUntilClosed();  // returns at once
  popup().show();
  EXPECT_FALSE(popup().isOpen()) << "a closed popup stays closed";
}

TEST_F(Popups, TheScreenShowsWhatTheCanvasDrew) {
  hf::Bitmap picture(4, 3);
  for (int y = 0; y < 3; ++y)
    for (int x = 0; x < 4; ++x) picture.at(x, y) = hf::Bitmap::pack({Rgb{40, 80, 120}}) + y * 4 + x;
  const auto pictureAt = [&](int x, int y) { return hf::Bitmap::unpack(picture.at(x, y)); };
  Rgb readBack{};
  popup().onPaint = [&](Canvas& canvas) {
    canvas.fillRect({0, 0, canvas.size().width, canvas.size().height}, kWhite);
    canvas.fillRect({100, 100, 50, 40}, kRed);
    canvas.frameRect({300, 100, 60, 50}, kBlue, 3);
    canvas.frameRect({400, 100, 1, 1}, kBlue);
    canvas.drawBitmap({500, 100}, picture);
    canvas.drawBitmap({600, 100}, picture, {1, 1, 2, 2});
    canvas.drawBitmap({700, 100}, picture, {-1, -1, 3, 3});  // clipped to the picture
    canvas.fillRect({-10, -10, 20, 20}, kGreen);             // clipped to the canvas
    canvas.drawBitmap({-2, 50}, picture);
    readBack = canvas.pixelAt({101, 101});
  };
  popup().show();
  popup().repaint();
  EXPECT_EQ(readBack, kRed);

  struct Case {
    const char* what;
    Point at;
    Rgb color;
  };
  const std::vector<Case> cases = {
      {"filled area, first pixel", {100, 100}, kRed},
      {"filled area, last pixel", {149, 139}, kRed},
      {"right of the filled area", {150, 139}, kWhite},
      {"below the filled area", {149, 140}, kWhite},
      {"frame, outer corner", {300, 100}, kBlue},
      {"frame, third pixel of the pen", {302, 120}, kBlue},
      {"inside the pen", {303, 120}, kWhite},
      {"frame, right side's last column", {359, 120}, kBlue},
      {"frame, right side's first column", {357, 120}, kBlue},
      {"right of the frame", {360, 120}, kWhite},
      {"frame, bottom row", {330, 149}, kBlue},
      {"one-pixel frame", {400, 100}, kBlue},
      {"beside the one-pixel frame", {401, 100}, kWhite},
      {"picture, first pixel", {500, 100}, pictureAt(0, 0)},
      {"picture, last pixel", {503, 102}, pictureAt(3, 2)},
      {"right of the picture", {504, 102}, kWhite},
      {"part of a picture, first pixel", {600, 100}, pictureAt(1, 1)},
      {"part of a picture, last pixel", {601, 101}, pictureAt(2, 2)},
      {"beyond the part", {602, 101}, kWhite},
      {"part reaching out of the picture", {701, 101}, pictureAt(0, 0)},
      {"where the part lies outside the picture", {700, 100}, kWhite},
      {"area reaching out of the canvas", {0, 0}, kGreen},
      {"area reaching out of the canvas, last pixel", {9, 9}, kGreen},
      {"beyond that area", {10, 10}, kWhite},
      {"picture reaching out of the canvas", {0, 50}, pictureAt(2, 0)},
      {"picture reaching out of the canvas, last column", {1, 52}, pictureAt(3, 2)},
  };
  std::vector<Point> points;
  for (const Case& c : cases) points.push_back(c.at);
  const std::vector<Rgb> shown = colorsShown(popup(), points);
  for (std::size_t i = 0; i < cases.size(); ++i) {
    SCOPED_TRACE(cases[i].what);
    EXPECT_EQ(shown[i], cases[i].color);
  }
}

TEST_F(Popups, TextIsDrawnInItsColourWithinItsExtent) {
  const std::string text = "截图 Ab";
  const Point at{200, 300};
  hf::Size small;
  hf::Size large;
  popup().onPaint = [&](Canvas& canvas) {
    canvas.fillRect({0, 0, canvas.size().width, canvas.size().height}, kWhite);
    small = canvas.textExtent(text, 12);
    large = canvas.textExtent(text, 24);
    canvas.drawText(at, text, kBlack, 24);
  };
  popup().show();
  popup().repaint();
  EXPECT_EQ(small.height, 12);
  EXPECT_EQ(large.height, 24);
  EXPECT_GT(large.width, small.width);
  EXPECT_GT(small.width, 12 * 2) << "two Chinese characters at least as wide as high";

  // Every pixel of the extent and of a margin of four around it.
  std::vector<Point> points;
  for (int y = at.y - 4; y < at.y + large.height + 4; ++y)
    for (int x = at.x - 4; x < at.x + large.width + 4; ++x) points.push_back({x, y});
  const std::vector<Rgb> shown = colorsShown(popup(), points);
  int inked = 0;
  int outside = 0;
  for (std::size_t i = 0; i < points.size(); ++i) {
    if (shown[i] == kWhite) continue;
    const Point p = points[i];
    const bool within =
        p.x >= at.x && p.x < at.x + large.width && p.y >= at.y && p.y < at.y + large.height;
    ++(within ? inked : outside);
    EXPECT_EQ(shown[i], kBlack) << "at " << p.x << "," << p.y << ": not smoothed";
  }
  EXPECT_GT(inked, 20);
  EXPECT_EQ(outside, 0);
}

TEST_F(Popups, MouseAndKeysArriveWithTheirPointsAndKeys) {
  std::vector<std::string> events;
  std::vector<Point> moves;
  const auto name = [](MouseButton button) {
    return button == MouseButton::Left ? "left" : button == MouseButton::Right ? "right" : "middle";
  };
  const auto where = [](Point at) { return std::to_string(at.x) + "," + std::to_string(at.y); };
  popup().onMouseDown = [&](MouseButton b, Point at) {
    events.push_back(std::string("down ") + name(b) + " " + where(at));
  };
  popup().onMouseUp = [&](MouseButton b, Point at) {
    events.push_back(std::string("up ") + name(b) + " " + where(at));
  };
  popup().onDoubleClick = [&](Point at) { events.push_back("double " + where(at)); };
  popup().onMouseMove = [&](Point at) { moves.push_back(at); };
  popup().onKeyDown = [&](int key) { events.push_back("key " + std::to_string(key)); };
  popup().show();

  useMouse(popup(), MouseAction::Move, {150, 160});
  useMouse(popup(), MouseAction::Down, {200, 210});
  useMouse(popup(), MouseAction::Move, {260, 270});
  useMouse(popup(), MouseAction::Up, {260, 270});
  useMouse(popup(), MouseAction::Down, {300, 310}, MouseButton::Right);
  useMouse(popup(), MouseAction::Up, {300, 310}, MouseButton::Right);
  useMouse(popup(), MouseAction::DoubleClick, {1400, 900});
  pressKey(popup(), hf::keys::kEscape);
  pressKey(popup(), hf::keys::kLeft);
  pressKey(popup(), 'A');

  const std::vector<std::string> expected = {"down left 200,210",
                                             "up left 260,270",
                                             "down right 300,310",
                                             "up right 300,310",
                                             "down left 1400,900",
                                             "up left 1400,900",
                                             "double 1400,900",
                                             "up left 1400,900",
                                             "key 27",
                                             "key 37",
                                             "key 65"};
  EXPECT_TRUE(waitFor([&] { return events.size() >= expected.size(); }));
  EXPECT_EQ(events, expected);
  const auto moved = [&](Point at) {
    return std::find(moves.begin(), moves.end(), at) != moves.end();
  };
  EXPECT_TRUE(moved({150, 160}));
  EXPECT_TRUE(moved({260, 270}));
}

TEST_F(Popups, AskedToCloseItClosesUnlessItsHandlerRefuses) {
  int asked = 0;
  bool allow = false;
  popup().onCloseRequest = [&] {
    ++asked;
    return allow;
  };
  popup().show();
  askToClose(popup());
  EXPECT_EQ(asked, 1);
  EXPECT_TRUE(popup().isOpen());
  allow = true;
  askToClose(popup());
  EXPECT_EQ(asked, 2);
  EXPECT_FALSE(popup().isOpen());
}

TEST_F(Popups, RunUntilClosedWaitsForTheCloseWhileEventsGoOn) {
  hf::ui::Timer timer(window());
  int ticks = 0;
  timer.onTick = [&] {
    if (++ticks == 3) popup().close();
  };
  timer.setInterval(20);
  popup().show();
  popup().runUntilClosed();
  EXPECT_FALSE(popup().isOpen());
  EXPECT_EQ(ticks, 3);
  timer.setInterval(0);
}

}  // namespace
