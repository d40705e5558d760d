#include "platform/win32/pictures.h"

#include <array>

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
  if (cursor == Cursor::NotAllowed) return LoadCursorW(nullptr, IDC_NO);
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
