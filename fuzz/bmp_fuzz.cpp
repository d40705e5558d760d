// Reads arbitrary bytes as BMP data and as a capture to scan. The reader must
// never read outside the data; a picture it accepts must survive being
// written and read again, and a piece cut from it must be found by the
// picture search at its place or before it in the search order.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <span>

#include "picture/bmp.h"
#include "picture/colour_search.h"
#include "picture/picture_search.h"

namespace {

using hf::Bitmap;
using hf::Point;

void require(bool condition) {
  if (!condition) std::abort();
}

void checkScans(std::span<const std::uint8_t> data) {
  // The colour search reads width, height and rows at fixed offsets.
  const std::uint8_t a = data.size() > 40 ? data[40] : 0;
  const std::uint8_t b = data.size() > 41 ? data[41] : 0;
  const Point found =
      hf::picture::findColour(data, {a, b}, hf::picture::colourOf({a, b, 7}), b % 4,
                              a % 2 ? std::optional<Point>(Point{a, b}) : std::nullopt);
  (void)found;
  (void)hf::picture::pixelColour(data);
}

void checkPicture(const Bitmap& picture, std::span<const std::uint8_t> data) {
  require(picture.width > 0 && picture.height > 0);
  require(picture.pixels.size() == std::size_t(picture.width) * std::size_t(picture.height));
  for (std::uint32_t pixel : picture.pixels) require(pixel <= 0xFFFFFF);

  const hf::picture::BmpData written = hf::picture::encodeBmp24(picture);
  require(hf::picture::isBmp24(written));
  const auto again = hf::picture::parseBmp(written);
  require(again && again->width == picture.width && again->height == picture.height &&
          again->pixels == picture.pixels);

  // A piece chosen by the last bytes of the input.
  const std::uint8_t x = data[data.size() - 1], y = data[data.size() - 2];
  const int left = x % picture.width, top = y % picture.height;
  const int width = 1 + (x / 7) % (picture.width - left);
  const int height = 1 + (y / 7) % (picture.height - top);
  Bitmap piece(width, height);
  for (int row = 0; row < height; ++row)
    for (int column = 0; column < width; ++column)
      piece.at(column, row) = picture.at(left + column, top + row);
  const auto at = hf::picture::findPicture(picture, {0, 0, picture.width, picture.height}, piece);
  require(at.has_value());
  require(at->y < top || (at->y == top && at->x <= left));
}

// Headers made from the first 8 bytes with mostly sensible fields, the rest
// of the input after them, so that most inputs reach the pixel readers.
hf::picture::BmpData withHeaders(std::span<const std::uint8_t> data) {
  if (data.size() < 8) return {};
  const int infoSizes[] = {12, 40, 40, 52, 56, 108, 124, data[0]};
  const int depths[] = {1, 4, 8, 16, 24, 32, 24, data[1]};
  const int infoSize = infoSizes[data[2] % 8];
  const int bitsPerPixel = depths[data[3] % 8];
  const int width = 1 + data[4] % 40;
  const int height = (1 + data[5] % 30) * (data[6] % 4 == 0 ? -1 : 1);
  const std::uint32_t compression = data[6] % 3 == 0 ? 3 : data[6] % 5 == 0 ? data[7] : 0;
  hf::picture::BmpData bmp(14 + std::max(infoSize, 40), 0);
  const auto put = [&](std::size_t at, std::uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) bmp[at + i] = std::uint8_t(value >> (8 * i));
  };
  bmp[0] = 'B';
  bmp[1] = 'M';
  put(14, std::uint32_t(infoSize), 4);
  if (infoSize == 12) {
    put(18, std::uint32_t(width), 2);
    put(20, std::uint32_t(height < 0 ? -height : height), 2);
    put(24, std::uint32_t(bitsPerPixel), 2);
  } else {
    put(18, std::uint32_t(width), 4);
    put(22, std::uint32_t(height), 4);
    put(28, std::uint32_t(bitsPerPixel), 2);
    put(30, compression, 4);
    put(46, data[7] % 3 == 0 ? data[7] : 0, 4);
  }
  bmp.resize(14 + infoSize);
  bmp.insert(bmp.end(), data.begin() + 8, data.end());
  // The pixels start after the colour table or masks the header asks for, or
  // where the input says.
  const std::size_t table = bitsPerPixel <= 8
                                ? (std::size_t(1) << (bitsPerPixel % 9)) * (infoSize == 12 ? 3 : 4)
                            : compression == 3 && infoSize == 40 ? 12
                                                                 : 0;
  put(10, data[7] % 7 == 0 ? data[7] : std::uint32_t(14 + infoSize + table), 4);
  put(2, std::uint32_t(bmp.size()), 4);
  return bmp;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size) {
  const std::span<const std::uint8_t> data(bytes, size);
  checkScans(data);
  if (const auto picture = hf::picture::parseBmp(data)) checkPicture(*picture, data);
  const hf::picture::BmpData made = withHeaders(data);
  if (const auto picture = hf::picture::parseBmp(made)) checkPicture(*picture, made);
  return 0;
}
