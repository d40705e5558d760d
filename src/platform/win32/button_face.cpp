#include "platform/win32/button_face.h"

#include <string>

#include "platform/win32/pictures.h"

namespace hf::win32 {
namespace {

COLORREF captionColorOn(COLORREF face) {
  int luminance = (299 * GetRValue(face) + 587 * GetGValue(face) + 114 * GetBValue(face)) / 1000;
  return luminance < 128 ? RGB(255, 255, 255) : RGB(0, 0, 0);
}

std::wstring captionOf(HWND button) {
  std::wstring text(GetWindowTextLengthW(button) + 1, L'\0');
  text.resize(GetWindowTextW(button, text.data(), static_cast<int>(text.size())));
  return text;
}

// The caption centred both ways on one line, as the system's buttons show it;
// a caption with line breaks is centred as a block.
void drawCaption(HDC dc, RECT area, const std::wstring& caption) {
  if (caption.find(L'\n') == std::wstring::npos) {
    DrawTextW(dc, caption.c_str(), -1, &area, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
    return;
  }
  constexpr UINT kFormat = DT_CENTER | DT_NOPREFIX;
  RECT measured = area;
  DrawTextW(dc, caption.c_str(), -1, &measured, kFormat | DT_CALCRECT);
  area.top += (area.bottom - area.top - (measured.bottom - measured.top)) / 2;
  DrawTextW(dc, caption.c_str(), -1, &area, kFormat);
}

}  // namespace

void drawButtonFace(const DRAWITEMSTRUCT& item, std::optional<COLORREF> face, Image picture,
                    HFONT font, int dpi) {
  HDC dc = item.hDC;
  RECT area = item.rcItem;
  bool pressed = item.itemState & ODS_SELECTED;
  bool disabled = item.itemState & ODS_DISABLED;
  COLORREF faceColor = face.value_or(GetSysColor(COLOR_BTNFACE));

  HBRUSH brush = CreateSolidBrush(faceColor);
  FillRect(dc, &area, brush);
  DeleteObject(brush);
  DrawEdge(dc, &area, pressed ? EDGE_SUNKEN : EDGE_RAISED, BF_RECT);

  RECT content = area;
  InflateRect(&content, -2, -2);
  if (pressed) OffsetRect(&content, 1, 1);
  if (picture != Image::None && bitmapFor(picture)) {
    drawPicture(dc, content, picture, dpi);
  } else {
    HGDIOBJ previousFont = SelectObject(dc, font);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, disabled ? GetSysColor(COLOR_GRAYTEXT) : captionColorOn(faceColor));
    drawCaption(dc, content, captionOf(item.hwndItem));
    SelectObject(dc, previousFont);
  }
  if (item.itemState & ODS_FOCUS) {
    RECT focus = area;
    InflateRect(&focus, -3, -3);
    DrawFocusRect(dc, &focus);
  }
}

}  // namespace hf::win32
