#pragma once

#include <optional>

#include "picture/bmp.h"
#include "platform/bitmap.h"
#include "platform/geometry.h"

// The rules of the area capture over a picture that the platform has already
// grabbed (the whole screen, or a window's client area painted by the
// window): which rectangle is copied, the 16-bit pass every capture goes
// through, and the 24-bit BMP data that the colour reader and the colour
// search scan.
namespace hf::picture {

// Region copy: a width or height of 0 or less reaches the source's right or
// bottom edge; the region is then cut to the source. The cut region, which
// may be empty.
Rect resolveRegion(Size source, Rect region);

// The pixels of the region (as resolveRegion gives it); an empty picture
// when nothing of it lies in the source.
Bitmap copyRegion(const Bitmap& source, Rect region);

// The picture as a bitmap of that depth holds it, widened back to 0x00RRGGBB:
// 16 bits keep 5 bits per channel (a channel v becomes (v >> 3) << 3, as the
// platform widens it); 24 and 32 bits keep every colour. Other depths hold a
// colour table and give nothing.
std::optional<Bitmap> convertDepth(const Bitmap& picture, int bitsPerPixel);

// An area of a capture, inclusive at both ends. A right or bottom that is
// omitted, or less than left or top, reaches the edge.
struct CaptureArea {
  int left = 0;
  int top = 0;
  std::optional<int> right;
  std::optional<int> bottom;
};

// Where the area's coordinates lie in the grabbed picture.
struct AreaFrame {
  // The grab position of the area's (0, 0): (0, 0) for the screen and for a
  // window's own picture; a window's client origin on a screen grab.
  Point origin;
  // Set for a window on a screen grab: its client size, which stands for an
  // omitted or reversed right or bottom there (instead of the grab's edge).
  std::optional<Size> client;
};

struct CapturedArea {
  // 24-bit BMP data of the area after the 16-bit pass; empty when nothing of
  // the area lies in the grab.
  BmpData bmp;
  // The area coordinates of the data's top-left pixel: (left, top) unless
  // the area began outside the grab and was cut.
  Point origin;
};

// The region of the grab an area capture copies, cut to the grab.
Rect areaRegion(Size grab, const CaptureArea& area, const AreaFrame& frame = {});

// The area capture over an existing grab.
CapturedArea captureArea(const Bitmap& grab, const CaptureArea& area, const AreaFrame& frame = {});

}  // namespace hf::picture
