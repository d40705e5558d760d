#include "picture/area_capture.h"

#include <random>

#include <gtest/gtest.h>

#include "picture/colour_search.h"

namespace hf::picture {
namespace {

Bitmap numbered(int width, int height) {
  Bitmap picture(width, height);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) picture.at(x, y) = std::uint32_t(y * 1000 + x);
  return picture;
}

TEST(RegionCopy, ZeroOrLessReachesTheEdgeAndTheRegionIsCutToTheSource) {
  struct Case {
    Rect region;
    Rect resolved;
  };
  const Size source{10, 8};
  const Case cases[] = {
      {{2, 3, 4, 2}, {2, 3, 4, 2}},    {{2, 3, 0, 0}, {2, 3, 8, 5}},
      {{2, 3, -7, 1}, {2, 3, 8, 1}},   {{0, 0, 0, 0}, {0, 0, 10, 8}},
      {{8, 6, 5, 5}, {8, 6, 2, 2}},    {{-2, -1, 4, 3}, {0, 0, 2, 2}},
      {{-2, -1, 0, 0}, {0, 0, 10, 8}}, {{12, 0, 3, 3}, {10, 0, 0, 3}},
      {{9, 7, 1, 1}, {9, 7, 1, 1}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.region.left << "," << c.region.top << " " << c.region.width
                                    << "x" << c.region.height);
    EXPECT_EQ(resolveRegion(source, c.region), c.resolved);
  }
  const Bitmap copy = copyRegion(numbered(10, 8), {8, 6, 0, 0});
  ASSERT_EQ(copy.width, 2);
  ASSERT_EQ(copy.height, 2);
  EXPECT_EQ(copy.pixels, (std::vector<std::uint32_t>{6008, 6009, 7008, 7009}));
  EXPECT_TRUE(copyRegion(numbered(10, 8), {12, 0, 3, 3}).empty());
  EXPECT_TRUE(copyRegion(Bitmap(), {0, 0, 0, 0}).empty());
}

TEST(DepthConversion, SixteenBitsKeepFiveBitsOfEachChannel) {
  const Bitmap picture(1, 1, 0xFF123456);
  EXPECT_EQ(convertDepth(picture, 16)->pixels[0], 0x103050u);
  EXPECT_EQ(convertDepth(picture, 24)->pixels[0], 0x123456u);
  EXPECT_EQ(convertDepth(picture, 32)->pixels[0], 0x123456u);
  EXPECT_FALSE(convertDepth(picture, 8));
}

TEST(AreaCapture, RectangleRules) {
  struct Case {
    const char* name;
    CaptureArea area;
    AreaFrame frame;
    Rect region;
  };
  const Size screen{100, 80};
  const AreaFrame window{{30, 20}, Size{40, 30}};
  const Case cases[] = {
      {"one pixel", {5, 6, 5, 6}, {}, {5, 6, 1, 1}},
      {"inclusive corners", {5, 6, 9, 7}, {}, {5, 6, 5, 2}},
      {"right and bottom omitted", {5, 6, {}, {}}, {}, {5, 6, 95, 74}},
      {"whole screen", {0, 0, {}, {}}, {}, {0, 0, 100, 80}},
      {"right before left", {5, 6, 2, 7}, {}, {5, 6, 95, 2}},
      {"past the edge is cut", {90, 70, 120, 90}, {}, {90, 70, 10, 10}},
      {"window on the screen", {1, 2, 3, 4}, window, {31, 22, 3, 3}},
      {"window, right and bottom omitted: the client size",
       {1, 2, {}, {}},
       window,
       {31, 22, 40, 30}},
      {"window, right before left: the client width", {4, 2, 1, 5}, window, {34, 22, 40, 4}},
      {"window reaching past the screen",
       {0, 0, {}, {}},
       AreaFrame{{80, 70}, Size{40, 30}},
       {80, 70, 20, 10}},
  };
  for (const Case& c : cases) EXPECT_EQ(areaRegion(screen, c.area, c.frame), c.region) << c.name;
}

TEST(AreaCapture, GivesTwentyFourBitDataAfterTheSixteenBitPass) {
  Bitmap grab(4, 3, 0x000000);
  grab.at(2, 1) = 0x123456;
  const CapturedArea one = captureArea(grab, {2, 1, 2, 1});
  EXPECT_EQ(one.bmp.size(), 58u);
  EXPECT_EQ(one.origin, (Point{2, 1}));
  EXPECT_EQ(pixelColour(one.bmp), colourOf({0x10, 0x30, 0x50}));

  const CapturedArea tall = captureArea(grab, {1, 0, 1, 1});
  EXPECT_EQ(tall.bmp.size(), 54u + 2 * 4);
  const CapturedArea four = captureArea(grab, {0, 0, 3, 0});
  EXPECT_EQ(four.bmp.size(), 54u + 12);
}

TEST(AreaCapture, NothingOfTheAreaInTheGrabGivesEmptyData) {
  const Bitmap grab(4, 3, 0x123456);
  EXPECT_TRUE(captureArea(grab, {4, 0, 6, 2}).bmp.empty());
  EXPECT_TRUE(captureArea(Bitmap(), {0, 0, {}, {}}).bmp.empty());
  EXPECT_EQ(findColour(captureArea(grab, {4, 0, 6, 2}).bmp, {0, 0}, 0, 255), kNotFound);
}

TEST(AreaCapture, AnAreaCutAtTheTopLeftStillReportsAreaCoordinates) {
  Bitmap screen(50, 40, 0);
  screen.at(3, 2) = 0xF80000;
  const AreaFrame window{{-10, -5}, Size{30, 20}};  // a window partly off the screen
  const CapturedArea captured = captureArea(screen, {0, 0, {}, {}}, window);
  EXPECT_EQ(captured.origin, (Point{10, 5}));
  EXPECT_EQ(findColour(captured.bmp, captured.origin, colourOf({0xF8, 0, 0}), 0), (Point{13, 7}));
}

TEST(AreaCapture, AColourReadAtAPointIsFoundThereAgainWithToleranceZero) {
  std::mt19937 random(7);
  Bitmap screen(64, 48);
  for (std::uint32_t& pixel : screen.pixels) pixel = random() & 0xFFFFFF;
  for (int i = 0; i < 200; ++i) {
    const Point at{int(random() % 64), int(random() % 48)};
    const Colour colour = pixelColour(captureArea(screen, {at.x, at.y, at.x, at.y}).bmp);
    const CapturedArea point = captureArea(screen, {at.x, at.y, at.x, at.y});
    EXPECT_EQ(findColour(point.bmp, point.origin, colour, 0), at);
    // Over the whole screen the match is this point or one before it in the scan.
    const CapturedArea whole = captureArea(screen, {0, 0, {}, {}});
    const Point found = findColour(whole.bmp, whole.origin, colour, 0);
    ASSERT_NE(found, kNotFound);
    EXPECT_TRUE(found.y > at.y || (found.y == at.y && found.x <= at.x));
    EXPECT_EQ(pixelColour(captureArea(screen, {found.x, found.y, found.x, found.y}).bmp), colour);
  }
  // The colour as the screen holds it, below the 16-bit pass, is another colour.
  screen.at(0, 0) = 0x070707;
  const CapturedArea corner = captureArea(screen, {0, 0, 0, 0});
  EXPECT_EQ(findColour(corner.bmp, corner.origin, 0x070707, 0), kNotFound);
  EXPECT_EQ(findColour(corner.bmp, corner.origin, 0, 0), (Point{0, 0}));
}

}  // namespace
}  // namespace hf::picture
