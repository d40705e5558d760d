#include "picture/bmp.h"

#include <cstdint>
#include <random>
#include <vector>

#include <gtest/gtest.h>

namespace hf::picture {
namespace {

std::uint32_t u16At(const BmpData& data, std::size_t at) {
  return data[at] | (std::uint32_t(data[at + 1]) << 8);
}
std::uint32_t u32At(const BmpData& data, std::size_t at) {
  return u16At(data, at) | (u16At(data, at + 2) << 16);
}

Bitmap randomPicture(int width, int height, std::uint32_t seed) {
  std::mt19937 random(seed);
  Bitmap picture(width, height);
  for (std::uint32_t& pixel : picture.pixels) pixel = random() & 0xFFFFFF;
  return picture;
}

// BMP data as other writers lay it out: a header of `infoSize` bytes, an
// optional colour table or masks, and rows given as raw bytes in file order.
struct BmpFile {
  int infoSize = 40;
  int width = 0;
  int height = 0;  // negative: top-down
  int bitsPerPixel = 24;
  std::uint32_t compression = 0;
  std::uint32_t coloursUsed = 0;
  std::vector<std::uint8_t> afterHeader;  // colour table or masks
  std::vector<std::uint8_t> rows;

  BmpData bytes() const {
    BmpData data(14 + infoSize, 0);
    const auto put = [&](std::size_t at, std::uint32_t value, int size) {
      for (int i = 0; i < size; ++i) data[at + i] = std::uint8_t(value >> (8 * i));
    };
    data[0] = 'B';
    data[1] = 'M';
    put(10, std::uint32_t(14 + infoSize + afterHeader.size()), 4);
    put(14, std::uint32_t(infoSize), 4);
    if (infoSize == 12) {
      put(18, std::uint32_t(width), 2);
      put(20, std::uint32_t(height), 2);
      put(22, 1, 2);
      put(24, std::uint32_t(bitsPerPixel), 2);
    } else {
      put(18, std::uint32_t(width), 4);
      put(22, std::uint32_t(height), 4);
      put(26, 1, 2);
      put(28, std::uint32_t(bitsPerPixel), 2);
      put(30, compression, 4);
      put(46, coloursUsed, 4);
    }
    data.insert(data.end(), afterHeader.begin(), afterHeader.end());
    data.insert(data.end(), rows.begin(), rows.end());
    put(2, std::uint32_t(data.size()), 4);
    return data;
  }
};

std::vector<std::uint8_t> masks(std::uint32_t red, std::uint32_t green, std::uint32_t blue) {
  std::vector<std::uint8_t> bytes;
  for (std::uint32_t mask : {red, green, blue})
    for (int i = 0; i < 4; ++i) bytes.push_back(std::uint8_t(mask >> (8 * i)));
  return bytes;
}

TEST(BmpData, OnePixelIsTheHeadersThenBlueGreenRedAndOnePaddingByte) {
  Bitmap pixel(1, 1, 0x112233);
  const BmpData data = encodeBmp24(pixel);
  ASSERT_EQ(data.size(), 58u);
  EXPECT_EQ(data[0], 'B');
  EXPECT_EQ(data[1], 'M');
  EXPECT_EQ(u32At(data, 2), 58u);   // file size
  EXPECT_EQ(u32At(data, 6), 0u);    // reserved
  EXPECT_EQ(u32At(data, 10), 54u);  // pixel data offset
  EXPECT_EQ(u32At(data, 14), 40u);  // information header size
  EXPECT_EQ(u32At(data, 18), 1u);   // width
  EXPECT_EQ(u32At(data, 22), 1u);   // height, positive: bottom-up
  EXPECT_EQ(u16At(data, 26), 1u);   // planes
  EXPECT_EQ(u16At(data, 28), 24u);  // bits per pixel
  EXPECT_EQ(u32At(data, 30), 0u);   // uncompressed
  EXPECT_EQ(u32At(data, 34), 4u);   // image size
  for (std::size_t at = 38; at < 54; ++at) EXPECT_EQ(data[at], 0) << at;
  EXPECT_EQ(data[54], 0x33);
  EXPECT_EQ(data[55], 0x22);
  EXPECT_EQ(data[56], 0x11);
  EXPECT_EQ(data[57], 0);
}

TEST(BmpData, RowsArePaddedToFourBytesAndStoredBottomRowFirst) {
  struct Case {
    int width;
    std::size_t stride;
  };
  for (const Case c : {Case{1, 4}, Case{2, 8}, Case{3, 12}, Case{4, 12}, Case{5, 16}}) {
    SCOPED_TRACE(c.width);
    EXPECT_EQ(bmpRowStride(c.width), c.stride);
    Bitmap picture(c.width, 2, 0x000000);
    picture.at(0, 1) = 0xABCDEF;  // bottom-left
    const BmpData data = encodeBmp24(picture);
    EXPECT_EQ(data.size(), 54 + 2 * c.stride);
    EXPECT_EQ(u32At(data, 34), 2 * c.stride);
    EXPECT_EQ(u32At(data, 2), data.size());
    EXPECT_EQ(data[54], 0xEF);
    EXPECT_EQ(data[54 + c.stride], 0x00);  // the top row follows
    for (std::size_t pad = 3 * c.width; pad < c.stride; ++pad) EXPECT_EQ(data[54 + pad], 0);
  }
}

TEST(BmpData, AnEmptyPictureGivesTheHeadersAlone) {
  const BmpData data = encodeBmp24(Bitmap());
  EXPECT_EQ(data.size(), 54u);
  EXPECT_EQ(u32At(data, 18), 0u);
  EXPECT_EQ(u32At(data, 22), 0u);
  EXPECT_FALSE(parseBmp(data));
}

TEST(BmpData, RoundTripKeepsEveryPixel) {
  for (const Size size : {Size{1, 1}, Size{3, 2}, Size{4, 5}, Size{17, 9}, Size{64, 3}}) {
    SCOPED_TRACE(testing::Message() << size.width << "x" << size.height);
    const Bitmap picture = randomPicture(size.width, size.height, size.width * 31 + size.height);
    const auto parsed = parseBmp(encodeBmp24(picture));
    ASSERT_TRUE(parsed);
    EXPECT_EQ(parsed->width, picture.width);
    EXPECT_EQ(parsed->height, picture.height);
    EXPECT_EQ(parsed->pixels, picture.pixels);
  }
}

TEST(BmpParse, ReadsTheFormsOtherWritersUse) {
  // 2 x 2 pictures: top row red, green; bottom row blue, white (two colours at 1 bit).
  const std::vector<std::uint32_t> fourColours = {0xFF0000, 0x00FF00, 0x0000FF, 0xFFFFFF};
  // 5-bit channels widen to 0xF8, 6-bit ones to 0xFC.
  const std::vector<std::uint32_t> fiveFiveFive = {0xF80000, 0x00F800, 0x0000F8, 0xF8F8F8};
  const std::vector<std::uint32_t> fiveSixFive = {0xF80000, 0x00FC00, 0x0000F8, 0xF8FCF8};
  const std::vector<std::uint8_t> palette = {0, 0, 255, 0,   0,   255, 0, 0, 255,
                                             0, 0, 0,   255, 255, 255, 0};  // red green blue white
  BmpFile version5{124, 2, -2, 32,
                   3,   0, {}, {0, 0, 255, 0, 0, 255, 0, 0, 255, 0, 0, 0, 255, 255, 255, 0}};
  BmpData version5Data = version5.bytes();
  const auto fields = masks(0xFF0000, 0x00FF00, 0x0000FF);  // inside the long header
  std::copy(fields.begin(), fields.end(), version5Data.begin() + 54);
  struct Case {
    const char* name;
    BmpData data;
    std::vector<std::uint32_t> pixels;
  };
  const Case cases[] = {
      {"32 bits, bottom-up",
       BmpFile{40, 2, 2, 32, 0, 0, {}, {255, 0, 0, 9, 255, 255, 255, 9, 0, 0, 255, 9, 0, 255, 0, 9}}
           .bytes(),
       fourColours},
      {"24 bits, top-down",
       BmpFile{
           40, 2, -2, 24, 0, 0, {}, {0, 0, 255, 0, 255, 0, 0, 0, 255, 0, 0, 255, 255, 255, 0, 0}}
           .bytes(),
       fourColours},
      {"8 bits with a colour table",
       BmpFile{40, 2, 2, 8, 0, 4, palette, {2, 3, 0, 0, 0, 1, 0, 0}}.bytes(), fourColours},
      {"4 bits with a colour table",
       BmpFile{40, 2, 2, 4, 0, 4, palette, {0x23, 0, 0, 0, 0x01, 0, 0, 0}}.bytes(), fourColours},
      {"1 bit, core header",
       BmpFile{12, 2, 2, 1, 0, 0, {0, 0, 255, 255, 255, 255}, {0x40, 0, 0, 0, 0x80, 0, 0, 0}}
           .bytes(),
       {0xFFFFFF, 0xFF0000, 0xFF0000, 0xFFFFFF}},
      {"16 bits 5-5-5",
       BmpFile{40, 2, 2, 16, 0, 0, {}, {0x1F, 0x00, 0xFF, 0x7F, 0x00, 0x7C, 0xE0, 0x03}}.bytes(),
       fiveFiveFive},
      {"16 bits 5-6-5 as bit fields",
       BmpFile{40,
               2,
               2,
               16,
               3,
               0,
               masks(0xF800, 0x07E0, 0x001F),
               {0x1F, 0x00, 0xFF, 0xFF, 0x00, 0xF8, 0xE0, 0x07}}
           .bytes(),
       fiveSixFive},
      {"32 bits as bit fields in a version 5 header", version5Data, fourColours},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const auto parsed = parseBmp(c.data);
    ASSERT_TRUE(parsed);
    EXPECT_EQ(parsed->width, 2);
    EXPECT_EQ(parsed->height, 2);
    EXPECT_EQ(parsed->pixels, c.pixels);
  }
}

TEST(BmpParse, PaletteIndicesPastTheTableReadAsBlack) {
  const BmpFile file{40, 2, 1, 8, 0, 1, {10, 20, 30, 0}, {0, 7, 0, 0}};
  const auto parsed = parseBmp(file.bytes());
  ASSERT_TRUE(parsed);
  EXPECT_EQ(parsed->pixels, (std::vector<std::uint32_t>{0x1E140A, 0}));
}

TEST(BmpParse, EveryTruncationIsRejected) {
  const BmpFile paletted{40, 3, 2, 8, 0, 2, {1, 2, 3, 0, 4, 5, 6, 0}, {0, 1, 0, 0, 1, 0, 1, 0}};
  for (const BmpData& whole :
       {encodeBmp24(randomPicture(3, 3, 7)), paletted.bytes(),
        BmpFile{40, 1, 1, 16, 3, 0, masks(0xF800, 0x07E0, 0x001F), {1, 2, 0, 0}}.bytes()}) {
    ASSERT_TRUE(parseBmp(whole));
    for (std::size_t size = 0; size < whole.size(); ++size)
      EXPECT_FALSE(parseBmp(std::span(whole.data(), size))) << size << " of " << whole.size();
  }
}

TEST(BmpParse, HostileHeadersAreRejected) {
  const auto with = [](auto change) {
    BmpFile file{40, 2, 2, 24, 0, 0, {}, std::vector<std::uint8_t>(16, 0)};
    change(file);
    return file.bytes();
  };
  const auto poke = [](BmpData data, std::size_t at, std::uint32_t value) {
    for (int i = 0; i < 4; ++i) data[at + i] = std::uint8_t(value >> (8 * i));
    return data;
  };
  const BmpData good = with([](BmpFile&) {});
  ASSERT_TRUE(parseBmp(good));
  struct Case {
    const char* name;
    BmpData data;
  };
  const Case cases[] = {
      {"not BM",
       [&] {
         BmpData d = good;
         d[1] = 'X';
         return d;
       }()},
      {"width 0", with([](BmpFile& f) { f.width = 0; })},
      {"negative width", with([](BmpFile& f) { f.width = -2; })},
      {"height 0", with([](BmpFile& f) { f.height = 0; })},
      {"lowest height", poke(good, 22, 0x80000000)},
      {"huge height", poke(good, 22, 0x7FFFFFFF)},
      {"too many pixels", with([](BmpFile& f) { f.width = 1 << 14, f.height = 1 << 13; })},
      {"7 bits per pixel", with([](BmpFile& f) { f.bitsPerPixel = 7; })},
      {"run-length compression", with([](BmpFile& f) { f.compression = 1; })},
      {"bit fields at 24 bits", with([](BmpFile& f) { f.compression = 3; })},
      {"bit fields at 8 bits", with([](BmpFile& f) { f.bitsPerPixel = 8, f.compression = 3; })},
      {"header size 20", poke(good, 14, 20)},
      {"header size past the data", poke(good, 14, 4000)},
      {"pixels past the data", poke(good, 10, 60)},
      {"pixels at a huge offset", poke(good, 10, 0xFFFFFFF0)},
      {"pixels inside the header", poke(good, 10, 20)},
      {"a colour table past the data",
       with([](BmpFile& f) { f.bitsPerPixel = 8, f.coloursUsed = 200; })},
      {"masks with a gap", with([](BmpFile& f) {
         f.bitsPerPixel = 16, f.compression = 3, f.afterHeader = masks(0xF00F, 0x0F00, 0x00F0);
       })},
      {"masks wider than the pixel", with([](BmpFile& f) {
         f.bitsPerPixel = 16, f.compression = 3, f.afterHeader = masks(0x1F0000, 0x07E0, 0x1F);
       })},
  };
  for (const Case& c : cases) EXPECT_FALSE(parseBmp(c.data)) << c.name;
}

TEST(BmpNormalise, KeepsTwentyFourBitDataAndReencodesEverythingElse) {
  const BmpData bmp24 = encodeBmp24(randomPicture(3, 2, 1));
  BmpData bmp32 = BmpFile{40, 1, 1, 32, 0, 0, {}, {1, 2, 3, 0}}.bytes();
  const BmpData jpeg = {0xFF, 0xD8, 0xFF, 0xE0, 0, 0x10, 'J', 'F', 'I', 'F'};
  const BmpData reencoded = encodeBmp24(Bitmap(1, 1, 0x030201));
  std::vector<BmpData> seen;
  const auto reencode = [&](std::span<const std::uint8_t> data) {
    seen.emplace_back(data.begin(), data.end());
    return reencoded;
  };
  EXPECT_EQ(normaliseBmp(bmp24, reencode), bmp24);
  EXPECT_TRUE(seen.empty());
  EXPECT_EQ(normaliseBmp(bmp32, reencode), reencoded);
  EXPECT_EQ(normaliseBmp(jpeg, reencode), reencoded);
  EXPECT_EQ(normaliseBmp(BmpData{'B', 'M'}, reencode), reencoded);
  EXPECT_EQ(seen, (std::vector<BmpData>{bmp32, jpeg, BmpData{'B', 'M'}}));
}

}  // namespace
}  // namespace hf::picture
