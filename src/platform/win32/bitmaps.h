#pragma once

#include <windows.h>

#include <cstdint>
#include <optional>
#include <string>

#include "platform/bitmap.h"

// Pixels between GDI and Bitmap: a canvas to draw into and read back, and
// the conversions the clipboard's picture formats need.
namespace hf::win32 {

// The header of a 32-bit DIB with the top row first, the layout of Bitmap's pixels.
BITMAPINFO topDownInfo(int width, int height);

// A 32-bit DIB section selected into a memory device context of its own.
class PixelCanvas {
 public:
  PixelCanvas(int width, int height);
  ~PixelCanvas();
  PixelCanvas(const PixelCanvas&) = delete;
  PixelCanvas& operator=(const PixelCanvas&) = delete;

  bool valid() const { return bits_ != nullptr; }
  HDC dc() const { return dc_; }
  // The pixels of an area inside the canvas, as drawn so far.
  Bitmap picture(Rect area) const;

 private:
  int width_;
  HDC dc_ = nullptr;
  HBITMAP section_ = nullptr;
  HGDIOBJ previous_ = nullptr;
  const std::uint32_t* bits_ = nullptr;
};

// A packed DIB (CF_DIB: header, masks, colours, rows) of any depth the
// system draws; nothing when the data are malformed.
std::optional<Bitmap> pictureOfPackedDib(const void* data, std::size_t size);
// The packed DIB of the picture at 24 bits a pixel, rows bottom-up.
std::string packedDibOf(const Bitmap& picture);

// A bitmap of the display's own format (CF_BITMAP) and back; the caller
// owns the new bitmap.
HBITMAP deviceBitmapOf(const Bitmap& picture);
std::optional<Bitmap> pictureOfDeviceBitmap(HBITMAP bitmap);

}  // namespace hf::win32
