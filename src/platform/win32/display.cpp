#include "platform/win32/display.h"

#include <array>

namespace hf::win32 {
namespace {

// Looked up at run time: both calls are missing before Windows 10.
template <class Function>
Function user32Function(const char* name) {
  FARPROC address = GetProcAddress(GetModuleHandleW(L"user32.dll"), name);
  return reinterpret_cast<Function>(reinterpret_cast<void*>(address));
}

int CALLBACK noteFontFound(const LOGFONTW*, const TEXTMETRICW*, DWORD, LPARAM found) {
  *reinterpret_cast<bool*>(found) = true;
  return 0;
}

bool fontInstalled(const wchar_t* face) {
  LOGFONTW query{};
  query.lfCharSet = DEFAULT_CHARSET;
  lstrcpynW(query.lfFaceName, face, LF_FACESIZE);
  bool found = false;
  HDC screen = GetDC(nullptr);
  EnumFontFamiliesExW(screen, &query, noteFontFound, reinterpret_cast<LPARAM>(&found), 0);
  ReleaseDC(nullptr, screen);
  return found;
}

// The first installed face that shows Chinese well; the system's message font otherwise.
const wchar_t* uiFontFace() {
  static const wchar_t* const face = [] {
    constexpr std::array<const wchar_t*, 4> kCandidates = {
        L"Microsoft YaHei UI", L"Microsoft YaHei", L"WenQuanYi Micro Hei", L"SimSun"};
    for (const wchar_t* candidate : kCandidates) {
      if (fontInstalled(candidate)) return candidate;
    }
    return static_cast<const wchar_t*>(nullptr);
  }();
  return face;
}

}  // namespace

void ensureDpiAware() {
  static const bool done = [] {
    using SetContext = BOOL(WINAPI*)(DPI_AWARENESS_CONTEXT);
    if (auto setContext = user32Function<SetContext>("SetProcessDpiAwarenessContext")) {
      if (setContext(DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE_V2)) return true;
    }
    return SetProcessDPIAware() != FALSE;
  }();
  (void)done;
}

int dpiOf(HWND window) {
  using GetDpi = UINT(WINAPI*)(HWND);
  static const auto getDpiForWindow = user32Function<GetDpi>("GetDpiForWindow");
  if (getDpiForWindow && window) {
    if (UINT dpi = getDpiForWindow(window)) return static_cast<int>(dpi);
  }
  HDC screen = GetDC(nullptr);
  int dpi = GetDeviceCaps(screen, LOGPIXELSY);
  ReleaseDC(nullptr, screen);
  return dpi > 0 ? dpi : 96;
}

namespace {

// The face every text of ours is drawn in, before its size is set.
LOGFONTW uiFontBase() {
  LOGFONTW font{};
  if (const wchar_t* face = uiFontFace()) {
    lstrcpynW(font.lfFaceName, face, LF_FACESIZE);
    font.lfCharSet = DEFAULT_CHARSET;
  } else {
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof metrics;
    SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0);
    font = metrics.lfMessageFont;
  }
  return font;
}

}  // namespace

HFONT createUiFont(int dpi) {
  LOGFONTW font = uiFontBase();
  // 11 pixels at 96 DPI: the narrow labels of the layout ("查找：" in 33) fit.
  font.lfHeight = -MulDiv(11, dpi, 96);
  font.lfWeight = FW_NORMAL;
  font.lfQuality = CLEARTYPE_QUALITY;
  return CreateFontIndirectW(&font);
}

HFONT createPixelFont(int height) {
  LOGFONTW font = uiFontBase();
  font.lfHeight = height;  // positive: the cell height
  font.lfWidth = 0;
  font.lfWeight = FW_NORMAL;
  font.lfQuality = NONANTIALIASED_QUALITY;
  return CreateFontIndirectW(&font);
}

HBRUSH windowBrush() {
  static const HBRUSH brush = CreateSolidBrush(kWindowColor);
  return brush;
}

HINSTANCE programInstance() {
  return GetModuleHandleW(nullptr);
}

}  // namespace hf::win32
