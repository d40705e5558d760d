#include "picture/colour_search.h"

#include <cstdlib>
#include <optional>
#include <random>
#include <vector>

#include <gtest/gtest.h>

#include "picture/bmp.h"

namespace hf::picture {
namespace {

constexpr std::uint32_t kBackground = 0x101010;
constexpr Colour kRed = colourOf({0xC0, 0x20, 0x08});
constexpr std::uint32_t kRedPixel = 0xC02008;

// The search as plainly written: data rows from the bottom, left to right,
// the start row from the column after the start, then the wrap-around.
Point referenceFind(const Bitmap& picture, Point origin, Colour colour, int tolerance,
                    std::optional<Point> start) {
  const Rgb want = rgbOf(colour);
  const int w = picture.width, h = picture.height;
  const auto matches = [&](int r, int c) {
    const Rgb got = Bitmap::unpack(picture.at(c, h - r));
    return std::abs(got.r - want.r) <= tolerance && std::abs(got.g - want.g) <= tolerance &&
           std::abs(got.b - want.b) <= tolerance;
  };
  int startRow = 1, startColumn = 0;
  if (start) startColumn = start->x + 1 - origin.x, startRow = h - (start->y - origin.y);
  for (int r = 1; r <= h; ++r) {
    if (r < startRow) continue;
    for (int c = 0; c < w; ++c)
      if (!(r == startRow && c < startColumn) && matches(r, c))
        return {origin.x + c, origin.y + h - r};
  }
  if (start)
    for (int r = 1; r <= startRow && r <= h; ++r)
      for (int c = 0; c < w; ++c)
        if (matches(r, c)) return {origin.x + c, origin.y + h - r};
  return kNotFound;
}

Bitmap plain(int width, int height) {
  return Bitmap(width, height, kBackground);
}

TEST(ColourValue, HasRedInTheLowByte) {
  EXPECT_EQ(colourOf({1, 2, 3}), 1 + 2 * 256 + 3 * 65536);
  EXPECT_EQ(rgbOf(0x030201), (Rgb{1, 2, 3}));
}

TEST(PixelColour, IsTheFirstPixelOrNoColourWithoutOne) {
  EXPECT_EQ(pixelColour(encodeBmp24(Bitmap(1, 1, 0x112233))), 0x332211);
  EXPECT_EQ(pixelColour(encodeBmp24(Bitmap())), kNoColour);
  EXPECT_EQ(pixelColour({}), kNoColour);
}

TEST(FindColour, TheLowestRowWinsAndInItTheLeftmostPixel) {
  Bitmap picture = plain(6, 5);
  picture.at(4, 1) = kRedPixel;
  picture.at(3, 3) = kRedPixel;
  picture.at(1, 3) = kRedPixel;
  const BmpData data = encodeBmp24(picture);
  EXPECT_EQ(findColour(data, {0, 0}, kRed, 0), (Point{1, 3}));
  EXPECT_EQ(findColour(data, {100, 200}, kRed, 0), (Point{101, 203}));
}

TEST(FindColour, AStartPointGoesOnToTheRightThenUpwardsThenWrapsAround) {
  Bitmap picture = plain(6, 5);
  picture.at(4, 1) = kRedPixel;
  picture.at(3, 3) = kRedPixel;
  picture.at(1, 3) = kRedPixel;
  const BmpData data = encodeBmp24(picture);
  const Point origin{10, 20};
  Point at = findColour(data, origin, kRed, 0);
  std::vector<Point> seen;
  for (int i = 0; i < 4; ++i) {
    seen.push_back(at);
    at = findColour(data, origin, kRed, 0, at);
  }
  EXPECT_EQ(seen, (std::vector<Point>{{11, 23}, {13, 23}, {14, 21}, {11, 23}}));
}

TEST(FindColour, AnOnlyMatchIsFoundAgainFromItself) {
  Bitmap picture = plain(5, 4);
  picture.at(2, 2) = kRedPixel;
  const BmpData data = encodeBmp24(picture);
  EXPECT_EQ(findColour(data, {0, 0}, kRed, 0, Point{2, 2}), (Point{2, 2}));
  // From the right end of the top row the scan wraps at once.
  EXPECT_EQ(findColour(data, {0, 0}, kRed, 0, Point{4, 0}), (Point{2, 2}));
  // Start points outside the area still find it.
  for (const Point start : {Point{-5, -5}, Point{50, 50}, Point{50, -5}, Point{-5, 50}})
    EXPECT_EQ(findColour(data, {0, 0}, kRed, 0, start), (Point{2, 2})) << start.x << "," << start.y;
}

TEST(FindColour, ToleranceAppliesToEachChannelOnItsOwn) {
  struct Case {
    std::uint32_t pixel;
    int tolerance;
    bool found;
  };
  const Case cases[] = {
      {0xC02008, 0, true},  {0xC12008, 0, false}, {0xC02108, 0, false}, {0xC02009, 0, false},
      {0xC12008, 1, true},  {0xBF1F07, 1, true},  {0xC12109, 1, true},  {0xC22008, 1, false},
      {0xC01E08, 1, false}, {0xC0200A, 1, false}, {0xFF2008, 63, true}, {0xFF2008, 62, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message()
                 << std::hex << c.pixel << " tolerance " << std::dec << c.tolerance);
    // Wide enough for whole blocks of pixels and a tail, the pixel in each.
    for (const int x : {0, 15, 16, 33, 39}) {
      Bitmap picture = plain(40, 2);
      picture.at(x, 0) = c.pixel;
      EXPECT_EQ(findColour(encodeBmp24(picture), {0, 0}, kRed, c.tolerance),
                (c.found ? Point{x, 0} : kNotFound))
          << "x " << x;
    }
  }
}

TEST(FindColour, ChannelsNearTheEndsOfTheRangeDoNotWrap) {
  Bitmap picture = plain(20, 1);
  picture.at(17, 0) = 0x00FF00;
  const BmpData data = encodeBmp24(picture);
  EXPECT_EQ(findColour(data, {0, 0}, colourOf({0, 0xFE, 0}), 2), (Point{17, 0}));
  EXPECT_EQ(findColour(data, {0, 0}, colourOf({1, 0xFF, 0}), 1), (Point{17, 0}));
  // 0x00 and 0xFF are 255 apart, not 1.
  EXPECT_EQ(findColour(data, {0, 0}, colourOf({0xFF, 0xFF, 0}), 1), kNotFound);
  EXPECT_EQ(findColour(data, {0, 0}, colourOf({0, 0, 0}), 1), kNotFound);
  EXPECT_EQ(findColour(data, {0, 0}, colourOf({0, 0xFF, 0}), 255), (Point{0, 0}));
  EXPECT_EQ(findColour(data, {0, 0}, colourOf({0, 0xFF, 0}), -1), kNotFound);
}

TEST(FindColour, ReadsRowsOfWidthsThreeAndFourAtTheirStrides) {
  for (const int width : {1, 2, 3, 4, 5}) {
    Bitmap picture = plain(width, 3);
    picture.at(width - 1, 0) = kRedPixel;  // the last pixel of the top row, the last data row
    EXPECT_EQ(findColour(encodeBmp24(picture), {0, 0}, kRed, 0), (Point{width - 1, 0})) << width;
  }
}

TEST(FindColour, DataWithoutAllItsRowsIsNotSearched) {
  Bitmap picture(2, 2, kRedPixel);
  const BmpData data = encodeBmp24(picture);
  EXPECT_EQ(findColour(data, {0, 0}, kRed, 0), (Point{0, 1}));
  for (const std::size_t size : {std::size_t(0), std::size_t(54), data.size() - 1})
    EXPECT_EQ(findColour(std::span(data.data(), size), {0, 0}, kRed, 0), kNotFound) << size;
  EXPECT_EQ(findColour(encodeBmp24(Bitmap()), {0, 0}, 0x101010, 255), kNotFound);
}

TEST(FindColour, AgreesWithThePlainScanOnRandomPictures) {
  std::mt19937 random(42);
  const std::uint32_t palette[] = {0x101010, 0x101011, 0x0F1010, 0xC02008, 0xC12109, 0x20FF00};
  for (int round = 0; round < 300; ++round) {
    const int width = 1 + int(random() % 150);
    const int height = 1 + int(random() % 6);
    Bitmap picture(width, height);
    for (std::uint32_t& pixel : picture.pixels)
      pixel = random() % 8 == 0 ? palette[random() % 6] : kBackground + 0x200000;
    const BmpData data = encodeBmp24(picture);
    const Colour colour = colourOf(Bitmap::unpack(palette[random() % 6]));
    const int tolerance = int(random() % 3);
    const Point origin{int(random() % 50) - 25, int(random() % 50) - 25};
    std::optional<Point> start;
    if (random() % 2)
      start = Point{origin.x + int(random() % (width + 4)) - 2,
                    origin.y + int(random() % (height + 4)) - 2};
    ASSERT_EQ(findColour(data, origin, colour, tolerance, start),
              referenceFind(picture, origin, colour, tolerance, start))
        << "round " << round;
  }
}

}  // namespace
}  // namespace hf::picture
