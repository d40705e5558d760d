#pragma once

#include <cstdint>
#include <optional>
#include <span>

#include "platform/geometry.h"

// The colour reader and the colour search over 24-bit BMP data as the area
// capture gives it (area_capture.h). Both read the pixels at fixed offsets:
// width at byte 18, height at byte 22 (16 bits each), rows of
// bmpRowStride(width) bytes from byte 54, bottom row first.
namespace hf::picture {

// A colour as the system keeps it: red + green * 256 + blue * 65536 (red in
// the low byte); -1 means no colour.
using Colour = std::int32_t;
inline constexpr Colour kNoColour = -1;

// Whether the value is a colour at all (-1, and what was typed out of range, are not).
constexpr bool isColour(Colour value) {
  return value >= 0 && value <= 0xFFFFFF;
}

constexpr Colour colourOf(Rgb rgb) {
  return Colour(rgb.r) | (Colour(rgb.g) << 8) | (Colour(rgb.b) << 16);
}
constexpr Rgb rgbOf(Colour colour) {
  return {std::uint8_t(colour), std::uint8_t(colour >> 8), std::uint8_t(colour >> 16)};
}

inline constexpr Point kNotFound{-1, -1};

// The colour of the first pixel of the data (the only one of a 1 x 1
// capture), or -1 when the data holds no pixel.
Colour pixelColour(std::span<const std::uint8_t> bmp);

// The first pixel whose blue, green and red each differ from the colour's by
// at most `tolerance`, in area coordinates (`origin` is where the data's
// top-left pixel lies, normally the area's left and top); (-1, -1) when there
// is none, when the data is shorter than 55 bytes or does not hold all the
// rows its header announces, or when the tolerance is negative.
//
// The scan runs from the bottom row of the data upwards, each row from left
// to right: of several matches the lowest row wins, and in it the leftmost.
// A start point (an earlier result) makes the scan begin at the pixel right
// after it in its row, go on upwards, and then wrap around to the bottom row
// and come back up to the start row, whose pixels are all tested again (the
// start pixel itself included).
Point findColour(std::span<const std::uint8_t> bmp, Point origin, Colour colour, int tolerance,
                 std::optional<Point> start = std::nullopt);

}  // namespace hf::picture
