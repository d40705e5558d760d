#include "picture/picture_search.h"

#include <optional>
#include <random>

#include <gtest/gtest.h>

namespace hf::picture {
namespace {

// A screen of a few flat colours with some noise, the kind of place where
// one colour is everywhere and the picture's own colours appear elsewhere.
Bitmap screenLike(int width, int height, std::uint32_t seed) {
  std::mt19937 random(seed);
  Bitmap screen(width, height, 0xF0F0F0);
  for (std::uint32_t& pixel : screen.pixels)
    if (random() % 5 == 0) pixel = (random() % 4) * 0x303030;
  return screen;
}

Bitmap cut(const Bitmap& from, Rect region) {
  Bitmap piece(region.width, region.height);
  for (int y = 0; y < region.height; ++y)
    for (int x = 0; x < region.width; ++x)
      piece.at(x, y) = from.at(region.left + x, region.top + y);
  return piece;
}

void plant(Bitmap& screen, const Bitmap& picture, Point at) {
  for (int y = 0; y < picture.height; ++y)
    for (int x = 0; x < picture.width; ++x) screen.at(at.x + x, at.y + y) = picture.at(x, y);
}

std::optional<Point> bruteForce(const Bitmap& screen, Rect area, const Bitmap& picture) {
  for (int y = std::max(area.top, 0);
       y + picture.height <= std::min(area.top + area.height, screen.height); ++y)
    for (int x = std::max(area.left, 0);
         x + picture.width <= std::min(area.left + area.width, screen.width); ++x) {
      bool same = true;
      for (int py = 0; py < picture.height && same; ++py)
        for (int px = 0; px < picture.width && same; ++px)
          same = ((screen.at(x + px, y + py) ^ picture.at(px, py)) & 0xFFFFFF) == 0;
      if (same) return Point{x, y};
    }
  return std::nullopt;
}

// A small picture with a few colours, one of them in a single pixel.
Bitmap icon() {
  Bitmap picture(6, 4, 0x3366CC);
  picture.at(1, 1) = 0xFFFFFF;
  picture.at(2, 1) = 0xFFFFFF;
  picture.at(4, 2) = 0x000000;
  picture.at(5, 3) = 0xCC0000;
  return picture;
}

const Rect kWholeScreen{0, 0, 1 << 20, 1 << 20};

TEST(FindPicture, FindsAPlantedPictureAndNotItsNearMisses) {
  Bitmap screen = screenLike(120, 90, 1);
  const Bitmap picture = icon();
  // Before the real place in the scan: copies that each differ in one pixel.
  for (int i = 0; i < picture.width * picture.height; ++i) {
    Bitmap nearMiss = picture;
    nearMiss.pixels[std::size_t(i)] ^= 0x000001;
    plant(screen, nearMiss, {(i % 12) * 9, (i / 12) * 6});
  }
  plant(screen, picture, {70, 40});
  EXPECT_EQ(findPicture(screen, kWholeScreen, picture), (Point{70, 40}));
}

TEST(FindPicture, TheFirstPlaceIsTheTopmostThenTheLeftmost) {
  Bitmap screen = screenLike(120, 90, 2);
  const Bitmap picture = icon();
  plant(screen, picture, {90, 50});
  plant(screen, picture, {10, 60});
  plant(screen, picture, {40, 50});
  EXPECT_EQ(findPicture(screen, kWholeScreen, picture), (Point{40, 50}));
  // An area that leaves out the first place finds the next.
  EXPECT_EQ(findPicture(screen, {41, 0, 79, 90}, picture), (Point{90, 50}));
  EXPECT_EQ(findPicture(screen, {0, 51, 120, 39}, picture), (Point{10, 60}));
}

TEST(FindPicture, PicturesAtTheEdgesOfTheAreaAndOfTheScreen) {
  const Bitmap picture = icon();
  for (const Point at : {Point{0, 0}, Point{114, 0}, Point{0, 86}, Point{114, 86}}) {
    SCOPED_TRACE(testing::Message() << at.x << "," << at.y);
    Bitmap screen = screenLike(120, 90, 3);
    plant(screen, picture, at);
    EXPECT_EQ(findPicture(screen, kWholeScreen, picture), at);
    EXPECT_EQ(findPicture(screen, {at.x, at.y, 6, 4}, picture), at);
    // One pixel less of area on either side leaves it out.
    EXPECT_EQ(findPicture(screen, {at.x, at.y, 5, 4}, picture), std::nullopt);
    EXPECT_EQ(findPicture(screen, {at.x, at.y, 6, 3}, picture), std::nullopt);
    EXPECT_EQ(findPicture(screen, {at.x + 1, at.y, 6, 4}, picture), std::nullopt);
  }
}

TEST(FindPicture, APictureLargerThanTheAreaOrEmptyIsNotFound) {
  const Bitmap screen = screenLike(30, 20, 4);
  EXPECT_EQ(findPicture(screen, kWholeScreen, screen), (Point{0, 0}));
  EXPECT_EQ(findPicture(screen, kWholeScreen, Bitmap(31, 2, 0xF0F0F0)), std::nullopt);
  EXPECT_EQ(findPicture(screen, kWholeScreen, Bitmap(2, 21, 0xF0F0F0)), std::nullopt);
  EXPECT_EQ(findPicture(screen, {-5, -5, 9, 9}, cut(screen, {0, 0, 4, 4})), (Point{0, 0}));
  EXPECT_EQ(findPicture(screen, {-5, -5, 8, 8}, cut(screen, {0, 0, 4, 4})), std::nullopt);
  EXPECT_EQ(findPicture(screen, {0, 0, 0, 0}, cut(screen, {0, 0, 1, 1})), std::nullopt);
  EXPECT_EQ(findPicture(screen, kWholeScreen, Bitmap()), std::nullopt);
  EXPECT_EQ(findPicture(Bitmap(), kWholeScreen, cut(screen, {0, 0, 1, 1})), std::nullopt);
}

TEST(FindPicture, FlatPicturesOnFlatScreensAndTheUnusedByte) {
  Bitmap screen(50, 40, 0xF0F0F0);
  EXPECT_EQ(findPicture(screen, kWholeScreen, Bitmap(7, 3, 0xF0F0F0)), (Point{0, 0}));
  EXPECT_EQ(findPicture(screen, {9, 8, 20, 20}, Bitmap(7, 3, 0xF0F0F0)), (Point{9, 8}));
  EXPECT_EQ(findPicture(screen, kWholeScreen, Bitmap(7, 3, 0xF0F0F1)), std::nullopt);
  screen.at(20, 30) = 0xFF123456;
  EXPECT_EQ(findPicture(screen, kWholeScreen, Bitmap(1, 1, 0x00123456)), (Point{20, 30}));
}

TEST(FindPicture, AgreesWithThePlainSearchOnRandomScreens) {
  std::mt19937 random(11);
  for (int round = 0; round < 200; ++round) {
    // Two colours make accidental matches and near-misses common.
    const int width = 5 + int(random() % 60), height = 3 + int(random() % 20);
    Bitmap screen(width, height);
    for (std::uint32_t& pixel : screen.pixels) pixel = random() % 2 ? 0x0000FF : 0x00FF00;
    const int pw = 1 + int(random() % 4), ph = 1 + int(random() % 3);
    Bitmap picture(pw, ph);
    for (std::uint32_t& pixel : picture.pixels) pixel = random() % 2 ? 0x0000FF : 0x00FF00;
    const Rect area{int(random() % 10) - 3, int(random() % 6) - 2, int(random() % (width + 5)),
                    int(random() % (height + 5))};
    ASSERT_EQ(findPicture(screen, area, picture), bruteForce(screen, area, picture))
        << "round " << round;
  }
}

}  // namespace
}  // namespace hf::picture
