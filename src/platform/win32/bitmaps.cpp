#include "platform/win32/bitmaps.h"

#include <cstring>
#include <new>

#include "platform/screen.h"

namespace hf::win32 {
namespace {

// Rows of BI_RGB and BI_BITFIELDS DIBs are padded to 4 bytes.
std::size_t strideOf(int width, int bitsPerPixel) {
  return (std::size_t(width) * bitsPerPixel + 31) / 32 * 4;
}

bool sizeAllowed(long long width, long long height) {
  return width > 0 && height > 0 && width * height <= screen::kMaxPicturePixels;
}

}  // namespace

BITMAPINFO topDownInfo(int width, int height) {
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  return info;
}

PixelCanvas::PixelCanvas(int width, int height) : width_(width) {
  if (!sizeAllowed(width, height)) return;
  const BITMAPINFO info = topDownInfo(width, height);
  void* bits = nullptr;
  section_ = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  dc_ = CreateCompatibleDC(nullptr);
  if (!section_ || !dc_) return;
  previous_ = SelectObject(dc_, section_);
  bits_ = static_cast<const std::uint32_t*>(bits);
}

PixelCanvas::~PixelCanvas() {
  if (previous_) SelectObject(dc_, previous_);
  if (dc_) DeleteDC(dc_);
  if (section_) DeleteObject(section_);
}

Bitmap PixelCanvas::picture(Rect area) const {
  if (!valid() || area.width <= 0 || area.height <= 0) return {};
  GdiFlush();  // drawing may still be queued
  Bitmap picture(area.width, area.height);
  for (int y = 0; y < area.height; ++y) {
    const std::uint32_t* row = bits_ + std::size_t(area.top + y) * width_ + area.left;
    for (int x = 0; x < area.width; ++x) picture.at(x, y) = row[x] & 0x00FFFFFF;
  }
  return picture;
}

std::optional<Bitmap> pictureOfPackedDib(const void* data, std::size_t size) {
  if (size < sizeof(BITMAPINFOHEADER)) return std::nullopt;
  BITMAPINFOHEADER header;
  std::memcpy(&header, data, sizeof header);
  const long long width = header.biWidth;
  const long long height = header.biHeight < 0 ? -(long long)header.biHeight : header.biHeight;
  if (header.biSize < sizeof header || header.biSize > size || !sizeAllowed(width, height) ||
      header.biBitCount > 32)
    return std::nullopt;
  // Three colour masks follow a plain header of a BI_BITFIELDS DIB; larger
  // headers hold them inside.
  const std::size_t masks =
      header.biSize == sizeof header && header.biCompression == BI_BITFIELDS ? 12 : 0;
  const std::size_t colours =
      header.biClrUsed ? header.biClrUsed
                       : (header.biBitCount <= 8 ? std::size_t(1) << header.biBitCount : 0);
  const std::size_t offset = header.biSize + masks + colours * sizeof(RGBQUAD);
  const bool uncompressed = header.biCompression == BI_RGB || header.biCompression == BI_BITFIELDS;
  const std::size_t rows =
      uncompressed ? strideOf(header.biWidth, header.biBitCount) * height : header.biSizeImage;
  if (offset > size || rows > size - offset) return std::nullopt;
  const int w = static_cast<int>(width);
  const int h = static_cast<int>(height);
  try {
    PixelCanvas canvas(w, h);
    const auto* bytes = static_cast<const BYTE*>(data);
    if (!canvas.valid() ||
        !StretchDIBits(canvas.dc(), 0, 0, w, h, 0, 0, w, h, bytes + offset,
                       reinterpret_cast<const BITMAPINFO*>(bytes), DIB_RGB_COLORS, SRCCOPY))
      return std::nullopt;
    return canvas.picture({0, 0, w, h});
  } catch (const std::bad_alloc&) {
    return std::nullopt;
  }
}

std::string packedDibOf(const Bitmap& picture) {
  BITMAPINFOHEADER header{};
  header.biSize = sizeof header;
  header.biWidth = picture.width;
  header.biHeight = picture.height;  // bottom row first, as most readers expect
  header.biPlanes = 1;
  header.biBitCount = 24;
  header.biCompression = BI_RGB;
  const std::size_t stride = strideOf(picture.width, 24);
  header.biSizeImage = static_cast<DWORD>(stride * picture.height);
  std::string dib(sizeof header + header.biSizeImage, '\0');
  std::memcpy(dib.data(), &header, sizeof header);
  for (int y = 0; y < picture.height; ++y) {
    char* out = dib.data() + sizeof header + stride * (picture.height - 1 - y);
    for (int x = 0; x < picture.width; ++x) {
      const std::uint32_t pixel = picture.at(x, y);
      *out++ = char(pixel & 0xFF);
      *out++ = char((pixel >> 8) & 0xFF);
      *out++ = char((pixel >> 16) & 0xFF);
    }
  }
  return dib;
}

HBITMAP deviceBitmapOf(const Bitmap& picture) {
  HDC screen = GetDC(nullptr);
  HBITMAP bitmap = CreateCompatibleBitmap(screen, picture.width, picture.height);
  const BITMAPINFO info = topDownInfo(picture.width, picture.height);
  if (bitmap &&
      !SetDIBits(screen, bitmap, 0, picture.height, picture.pixels.data(), &info, DIB_RGB_COLORS)) {
    DeleteObject(bitmap);
    bitmap = nullptr;
  }
  ReleaseDC(nullptr, screen);
  return bitmap;
}

std::optional<Bitmap> pictureOfDeviceBitmap(HBITMAP bitmap) {
  BITMAP description{};
  if (!GetObjectW(bitmap, sizeof description, &description) ||
      !sizeAllowed(description.bmWidth, description.bmHeight))
    return std::nullopt;
  try {
    Bitmap picture(description.bmWidth, description.bmHeight);
    BITMAPINFO info = topDownInfo(picture.width, picture.height);
    HDC screen = GetDC(nullptr);
    const int rows =
        GetDIBits(screen, bitmap, 0, picture.height, picture.pixels.data(), &info, DIB_RGB_COLORS);
    ReleaseDC(nullptr, screen);
    if (rows != picture.height) return std::nullopt;
    for (std::uint32_t& pixel : picture.pixels) pixel &= 0x00FFFFFF;
    return picture;
  } catch (const std::bad_alloc&) {
    return std::nullopt;
  }
}

}  // namespace hf::win32
