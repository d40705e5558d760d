#pragma once

#include <algorithm>
#include <cstdint>

namespace hf {

struct Point {
  int x = 0;
  int y = 0;
  friend bool operator==(const Point&, const Point&) = default;
};

struct Size {
  int width = 0;
  int height = 0;
  friend bool operator==(const Size&, const Size&) = default;
};

struct Rect {
  int left = 0;
  int top = 0;
  int width = 0;
  int height = 0;
  friend bool operator==(const Rect&, const Rect&) = default;
};

// The part two rectangles share; empty when they do not overlap.
inline Rect intersection(Rect a, Rect b) {
  const int left = std::max(a.left, b.left);
  const int top = std::max(a.top, b.top);
  const int right = std::min(a.left + a.width, b.left + b.width);
  const int bottom = std::min(a.top + a.height, b.top + b.height);
  if (right <= left || bottom <= top) return {};
  return {left, top, right - left, bottom - top};
}

struct Rgb {
  std::uint8_t r = 0;
  std::uint8_t g = 0;
  std::uint8_t b = 0;
  friend bool operator==(const Rgb&, const Rgb&) = default;
};

}  // namespace hf
