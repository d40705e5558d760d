#pragma once

#include <cstdint>
#include <vector>

#include "platform/geometry.h"

namespace hf {

// A picture in memory: 32-bit pixels 0x00RRGGBB (bytes blue, green, red,
// unused, as a 32-bit DIB holds them), the top row first.
struct Bitmap {
  int width = 0;
  int height = 0;
  std::vector<std::uint32_t> pixels;

  Bitmap() = default;
  Bitmap(int w, int h, std::uint32_t fill = 0)
      : width(w), height(h), pixels(std::size_t(w > 0 ? w : 0) * (h > 0 ? h : 0), fill) {}

  bool empty() const { return width <= 0 || height <= 0; }
  std::uint32_t at(int x, int y) const { return pixels[std::size_t(y) * width + x]; }
  std::uint32_t& at(int x, int y) { return pixels[std::size_t(y) * width + x]; }
  const std::uint32_t* row(int y) const { return pixels.data() + std::size_t(y) * width; }

  static constexpr std::uint32_t pack(Rgb c) { return (c.r << 16) | (c.g << 8) | c.b; }
  static constexpr Rgb unpack(std::uint32_t p) {
    return {std::uint8_t(p >> 16), std::uint8_t(p >> 8), std::uint8_t(p)};
  }
};

}  // namespace hf
