#include "platform/win32/check_images.h"

namespace hf::win32 {

HIMAGELIST createCheckImages(int size) {
  constexpr COLORREF kTransparent = RGB(255, 0, 255);
  HIMAGELIST images = ImageList_Create(size, size, ILC_COLOR24 | ILC_MASK, 2, 0);
  HDC screen = GetDC(nullptr);
  HDC dc = CreateCompatibleDC(screen);
  HBITMAP strip = CreateCompatibleBitmap(screen, size * 2, size);
  HGDIOBJ previous = SelectObject(dc, strip);

  RECT whole{0, 0, size * 2, size};
  HBRUSH clear = CreateSolidBrush(kTransparent);
  FillRect(dc, &whole, clear);
  DeleteObject(clear);
  int box = size * 13 / 16;  // the system's 13-pixel box at 16 pixels
  int inset = (size - box) / 2;
  for (int ticked = 0; ticked < 2; ++ticked) {
    RECT area{ticked * size + inset, inset, ticked * size + inset + box, inset + box};
    DrawFrameControl(dc, &area, DFC_BUTTON,
                     DFCS_BUTTONCHECK | DFCS_FLAT | (ticked ? DFCS_CHECKED : 0));
  }

  SelectObject(dc, previous);
  ImageList_AddMasked(images, strip, kTransparent);
  DeleteObject(strip);
  DeleteDC(dc);
  ReleaseDC(nullptr, screen);
  return images;
}

}  // namespace hf::win32
