#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <vector>

#include "platform/bitmap.h"

// BMP data: a picture laid out as a BMP file in memory. The system writes one
// layout only: a 14-byte file header, a 40-byte information header, the
// pixel rows from offset 54, bottom row first, 24-bit pixels as blue, green,
// red, each row padded to a multiple of 4 bytes. Every multi-byte field is
// little-endian.
namespace hf::picture {

using BmpData = std::vector<std::uint8_t>;

inline constexpr std::size_t kBmpHeadersSize = 54;

// Bytes of one 24-bit row: 3 per pixel, then (width mod 4) bytes of padding,
// which rounds the row up to a multiple of 4.
constexpr std::size_t bmpRowStride(int width) {
  return width > 0 ? std::size_t(width) * 3 + std::size_t(width) % 4 : 0;
}

// The 24-bit BMP data of the picture. An empty picture gives the headers
// alone (54 bytes, width and height 0), as a clipboard without a picture does.
BmpData encodeBmp24(const Bitmap& picture);
// The same for a part of the picture (which must lie inside it), keeping
// only the channel bits of `kept`: one pass, with no picture in between.
BmpData encodeBmp24(const Bitmap& picture, Rect part, std::uint32_t kept);

// The largest picture parseBmp accepts, in pixels (8192 x 8192).
inline constexpr std::int64_t kMaxBmpPixels = std::int64_t(1) << 26;

// The picture held by BMP data, or nothing when the data is not a BMP this
// reader knows or is cut short. Read: uncompressed 1, 4 and 8 bits with a
// colour table, 16 bits (5-5-5, or any masks given as bit fields, 5-6-5
// among them), 24 and 32 bits; rows bottom-up or top-down (negative height);
// the 12-byte core header and the 40- to 124-byte information headers. Every
// field is checked against the data before it is used; a palette index past
// the colour table reads as black. Channels narrower than 8 bits widen the
// way the platform does (a 5-bit value v becomes v << 3).
std::optional<Bitmap> parseBmp(std::span<const std::uint8_t> data);

// True when the data begins with "BM" and its bits-per-pixel field (offset
// 28) is 24.
bool isBmp24(std::span<const std::uint8_t> data);

// 24-bit BMP data is kept as it is; any other picture data goes through
// `reencode`, which turns it into BMP data (empty when it cannot).
BmpData normaliseBmp(BmpData data,
                     const std::function<BmpData(std::span<const std::uint8_t>)>& reencode);

}  // namespace hf::picture
