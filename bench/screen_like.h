#pragma once

// A generated picture that looks like a desktop, for the picture benchmarks:
// a flat background, windows with title bars, lines of text-like glyphs drawn
// from a small set (so the same strokes repeat everywhere), and rows of
// identical buttons and icons.
#include <algorithm>
#include <cstdint>
#include <random>
#include <vector>

#include "platform/bitmap.h"

namespace bench {

inline void fillRect(hf::Bitmap& picture, int left, int top, int width, int height,
                     std::uint32_t colour) {
  for (int y = std::max(top, 0); y < std::min(top + height, picture.height); ++y)
    for (int x = std::max(left, 0); x < std::min(left + width, picture.width); ++x)
      picture.at(x, y) = colour;
}

inline void drawPicture(hf::Bitmap& onto, const hf::Bitmap& picture, int left, int top) {
  for (int y = 0; y < picture.height; ++y)
    for (int x = 0; x < picture.width; ++x)
      if (left + x < onto.width && top + y < onto.height)
        onto.at(left + x, top + y) = picture.at(x, y);
}

inline hf::Bitmap screenLike(int width, int height, std::uint32_t seed) {
  std::mt19937 random(seed);
  hf::Bitmap screen(width, height, 0x3A6EA5);

  // 48 glyphs of 6 x 9 pixels: strokes in dark grey with lighter edges.
  const std::uint32_t ink[] = {0x202020, 0x606060, 0xA0A0A0};
  std::vector<hf::Bitmap> glyphs;
  for (int g = 0; g < 48; ++g) {
    hf::Bitmap glyph(6, 9, 0xFFFFFF);
    for (int stroke = 0; stroke < 3; ++stroke) {
      const bool vertical = random() % 2;
      const int at = int(random() % 5), from = int(random() % 4), length = 3 + int(random() % 5);
      for (int i = from; i < std::min(from + length, vertical ? 9 : 6); ++i) {
        std::uint32_t& pixel = vertical ? glyph.at(at, i) : glyph.at(i, std::min(at + 2, 8));
        pixel = ink[random() % 3];
      }
    }
    glyphs.push_back(glyph);
  }

  hf::Bitmap button(64, 22, 0xE1E1E1);
  fillRect(button, 0, 0, 64, 1, 0xADADAD);
  fillRect(button, 0, 21, 64, 1, 0xADADAD);
  fillRect(button, 0, 0, 1, 22, 0xADADAD);
  fillRect(button, 63, 0, 1, 22, 0xADADAD);
  for (int i = 0; i < 5; ++i) drawPicture(button, glyphs[std::size_t(i)], 17 + 6 * i, 7);

  hf::Bitmap icon(32, 32);
  for (int y = 0; y < 32; ++y)
    for (int x = 0; x < 32; ++x) icon.at(x, y) = std::uint32_t((x * 8) << 16 | (y * 8) << 8 | 0x80);

  // Windows: a title bar, a text area and a row of buttons each.
  for (int w = 0; w < 12; ++w) {
    const int left = int(random() % std::max(1, width - 500));
    const int top = int(random() % std::max(1, height - 400));
    const int ww = 300 + int(random() % 500), wh = 200 + int(random() % 400);
    fillRect(screen, left, top, ww, wh, 0xF0F0F0);
    fillRect(screen, left, top, ww, 24, 0x0078D7);
    fillRect(screen, left + 8, top + 32, ww - 16, wh - 80, 0xFFFFFF);
    for (int line = top + 36; line + 9 < top + wh - 52; line += 14)
      for (int x = left + 10; x + 6 < left + ww - 10; x += 6)
        if (random() % 7 != 0) drawPicture(screen, glyphs[random() % glyphs.size()], x, line);
    for (int x = left + 8; x + 64 < left + ww; x += 72)
      drawPicture(screen, button, x, top + wh - 36);
  }
  // A task bar of identical icons.
  fillRect(screen, 0, height - 40, width, 40, 0x1F1F1F);
  for (int x = 4; x + 32 < width; x += 40) drawPicture(screen, icon, x, height - 36);
  return screen;
}

}  // namespace bench
