#pragma once

#include <windows.h>

// Process-wide display facts: DPI awareness, the UI font and the window colour.
namespace hf::win32 {

// Makes the process per-monitor DPI aware once; failure (an older system, or
// a manifest that already did it) is harmless.
void ensureDpiAware();

// The DPI of the monitor the window is on.
int dpiOf(HWND window);

// The UI font at the given DPI; the caller owns it.
HFONT createUiFont(int dpi);

// The UI font's face in character cells `height` pixels high, drawn without
// smoothing (a pixel is the text colour or untouched); the caller owns it.
HFONT createPixelFont(int height);

// The background of our windows, and of the labels and check boxes on them.
constexpr COLORREF kWindowColor = RGB(0xF0, 0xF3, 0xF7);
HBRUSH windowBrush();

HINSTANCE programInstance();

}  // namespace hf::win32
