// The canvas's pixel work, the same for both backends: the off-screen
// picture is plain memory, so rectangles and pictures are written straight
// into it and only text goes through the backend.
#include <algorithm>
#include <cstring>

#include "platform/ui.h"

namespace hf::ui {
namespace {

// The part of `area` that lies inside a picture of the given size.
Rect clipped(Rect area, Size size) {
  const int left = std::max(area.left, 0);
  const int top = std::max(area.top, 0);
  const int right = std::min(area.left + std::max(area.width, 0), size.width);
  const int bottom = std::min(area.top + std::max(area.height, 0), size.height);
  return {left, top, std::max(right - left, 0), std::max(bottom - top, 0)};
}

}  // namespace

void Canvas::fillRect(Rect area, Rgb color) {
  const Rect inside = clipped(area, size_);
  const std::uint32_t pixel = Bitmap::pack(color);
  for (int y = inside.top; y < inside.top + inside.height; ++y) {
    std::uint32_t* row = pixels_ + std::size_t(y) * size_.width + inside.left;
    std::fill(row, row + inside.width, pixel);
  }
}

void Canvas::frameRect(Rect area, Rgb color, int penWidth) {
  if (area.width <= 0 || area.height <= 0 || penWidth <= 0) return;
  const int across = std::min(penWidth, area.width);
  const int down = std::min(penWidth, area.height);
  fillRect({area.left, area.top, area.width, down}, color);
  fillRect({area.left, area.top + area.height - down, area.width, down}, color);
  fillRect({area.left, area.top, across, area.height}, color);
  fillRect({area.left + area.width - across, area.top, across, area.height}, color);
}

void Canvas::drawBitmap(Point at, const Bitmap& picture) {
  drawBitmap(at, picture, {0, 0, picture.width, picture.height});
}

void Canvas::drawBitmap(Point at, const Bitmap& picture, Rect part) {
  const Rect source = clipped(part, {picture.width, picture.height});
  // Where the source's clipped corner lands, then clipped to the canvas.
  const Point shifted{at.x + source.left - part.left, at.y + source.top - part.top};
  const Rect target = clipped({shifted.x, shifted.y, source.width, source.height}, size_);
  const int fromX = source.left + target.left - shifted.x;
  const int fromY = source.top + target.top - shifted.y;
  for (int y = 0; y < target.height; ++y) {
    const std::uint32_t* from = picture.row(fromY + y) + fromX;
    std::uint32_t* to = pixels_ + std::size_t(target.top + y) * size_.width + target.left;
    std::memcpy(to, from, std::size_t(target.width) * sizeof(std::uint32_t));
  }
}

void Canvas::drawText(Point at, std::string_view gbk, Rgb color, int height) {
  if (!gbk.empty() && height > 0) text_.draw(at, gbk, color, height);
}

Size Canvas::textExtent(std::string_view gbk, int height) const {
  if (gbk.empty() || height <= 0) return {0, std::max(height, 0)};
  return text_.extent(gbk, height);
}

Rgb Canvas::pixelAt(Point at) const {
  if (at.x < 0 || at.y < 0 || at.x >= size_.width || at.y >= size_.height) return {};
  return Bitmap::unpack(pixels_[std::size_t(at.y) * size_.width + at.x]);
}

}  // namespace hf::ui
