#include "platform/win32/pictures.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <iterator>

#include "platform/win32/bitmaps.h"
#include "platform/win32/display.h"
#include "platform/win32/resource_ids.h"

namespace hf::win32 {
namespace {

int bitmapIdOf(Image image) {
  switch (image) {
    case Image::ZiraExpanded:
      return IDB_ZIRA_EXPANDED;
    case Image::ZiraCollapsed:
      return IDB_ZIRA_COLLAPSED;
    case Image::PickerBullseye:
      return IDB_PICKER_BULLSEYE;
    case Image::PickerEmpty:
      return IDB_PICKER_EMPTY;
    case Image::None:
      break;
  }
  return 0;
}

// The capture window's arrow, drawn here rather than carried as a resource so
// every program that shows a popup has it: a 32 x 32 arrow with its tip at
// (0,0), a black outline and a body that runs from red at the tip through
// yellow and green to blue at the tail.
HCURSOR makeCaptureArrow() {
  constexpr int kSize = 32;
  // The arrow's outline, clockwise from the tip.
  constexpr POINT kOutline[] = {{0, 0},   {0, 22}, {5, 17},  {9, 26},
                                {13, 24}, {9, 16}, {16, 16}, {0, 0}};
  const auto inside = [&](int x, int y) {
    if (x < 0 || y < 0 || x >= kSize || y >= kSize) return false;
    const double px = x + 0.5;
    const double py = y + 0.5;
    bool in = false;
    for (std::size_t i = 0, j = std::size(kOutline) - 1; i < std::size(kOutline); j = i++) {
      const POINT a = kOutline[i];
      const POINT b = kOutline[j];
      if ((a.y > py) != (b.y > py) && px < (b.x - a.x) * (py - a.y) / double(b.y - a.y) + a.x)
        in = !in;
    }
    return in || (x == 0 && y == 0);
  };
  constexpr COLORREF kBands[] = {RGB(230, 40, 40), RGB(240, 200, 30), RGB(40, 180, 60),
                                 RGB(30, 110, 230)};
  std::array<std::uint32_t, kSize * kSize> colour{};
  std::array<std::uint8_t, kSize * kSize / 8> mask{};
  mask.fill(0xFF);  // transparent, except where the arrow is
  for (int y = 0; y < kSize; ++y) {
    for (int x = 0; x < kSize; ++x) {
      if (!inside(x, y)) continue;
      const bool edge = !inside(x - 1, y) || !inside(x + 1, y) || !inside(x, y - 1) ||
                        !inside(x, y + 1) || x == 0 || y == 0;
      const COLORREF band = kBands[std::min(y * 4 / 26, 3)];
      colour[y * kSize + x] =
          edge ? 0 : (GetRValue(band) << 16) | (GetGValue(band) << 8) | GetBValue(band);
      mask[(y * kSize + x) / 8] &= static_cast<std::uint8_t>(~(0x80 >> (x % 8)));
    }
  }
  const BITMAPINFO info = topDownInfo(kSize, kSize);
  HDC screen = GetDC(nullptr);
  HBITMAP colourBitmap =
      CreateDIBitmap(screen, &info.bmiHeader, CBM_INIT, colour.data(), &info, DIB_RGB_COLORS);
  ReleaseDC(nullptr, screen);
  HBITMAP maskBitmap = CreateBitmap(kSize, kSize, 1, 1, mask.data());
  ICONINFO icon{FALSE, 0, 0, maskBitmap, colourBitmap};
  HCURSOR cursor = CreateIconIndirect(&icon);
  DeleteObject(colourBitmap);
  DeleteObject(maskBitmap);
  return cursor ? cursor : LoadCursorW(nullptr, IDC_ARROW);
}

}  // namespace

HBITMAP bitmapFor(Image image) {
  static std::array<HBITMAP, 5> loaded{};
  static std::array<bool, 5> tried{};
  auto slot = static_cast<std::size_t>(image);
  if (image == Image::None || slot >= loaded.size()) return nullptr;
  if (!tried[slot]) {
    tried[slot] = true;
    loaded[slot] =
        static_cast<HBITMAP>(LoadImageW(programInstance(), MAKEINTRESOURCEW(bitmapIdOf(image)),
                                        IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
  }
  return loaded[slot];
}

HCURSOR cursorFor(Cursor cursor) {
  if (cursor == Cursor::Arrow) return nullptr;
  switch (cursor) {
    case Cursor::NotAllowed:
      return LoadCursorW(nullptr, IDC_NO);
    case Cursor::SizeNwse:
      return LoadCursorW(nullptr, IDC_SIZENWSE);
    case Cursor::SizeNesw:
      return LoadCursorW(nullptr, IDC_SIZENESW);
    case Cursor::SizeNs:
      return LoadCursorW(nullptr, IDC_SIZENS);
    case Cursor::SizeWe:
      return LoadCursorW(nullptr, IDC_SIZEWE);
    case Cursor::SizeAll:
      return LoadCursorW(nullptr, IDC_SIZEALL);
    case Cursor::CaptureArrow: {
      static const HCURSOR arrow = makeCaptureArrow();
      return arrow;
    }
    default:
      break;
  }
  static const HCURSOR bullseye = [] {
    auto own = static_cast<HCURSOR>(LoadImageW(programInstance(), MAKEINTRESOURCEW(IDC_BULLSEYE),
                                               IMAGE_CURSOR, 0, 0, LR_DEFAULTSIZE));
    return own ? own : LoadCursorW(nullptr, IDC_CROSS);
  }();
  return bullseye;
}

void drawPicture(HDC dc, const RECT& area, Image image, int dpi) {
  HBITMAP bitmap = bitmapFor(image);
  BITMAP info;
  if (!bitmap || !GetObjectW(bitmap, sizeof info, &info)) return;
  int width = MulDiv(info.bmWidth, dpi, 96);
  int height = MulDiv(info.bmHeight, dpi, 96);
  int left = (area.left + area.right - width) / 2;
  int top = (area.top + area.bottom - height) / 2;
  HDC source = CreateCompatibleDC(dc);
  HGDIOBJ previous = SelectObject(source, bitmap);
  SetStretchBltMode(dc, COLORONCOLOR);
  StretchBlt(dc, left, top, width, height, source, 0, 0, info.bmWidth, info.bmHeight, SRCCOPY);
  SelectObject(source, previous);
  DeleteDC(source);
}

int resourceIdOf(Sound sound) {
  switch (sound) {
    case Sound::RunStart:
      return IDW_CUE_START;
    case Sound::RunFinish:
      return IDW_CUE_FINISH;
    case Sound::RecordStart:
      return IDW_CUE_RECORD_START;
    case Sound::RecordStop:
      return IDW_CUE_RECORD_STOP;
  }
  return IDW_CUE_FINISH;
}

}  // namespace hf::win32
