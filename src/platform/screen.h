#pragma once

#include <filesystem>
#include <optional>
#include <string_view>

#include "platform/bitmap.h"
#include "platform/desktop.h"
#include "platform/geometry.h"

// Pictures of the screen, of single windows and of the clipboard, and picture
// files read into bitmaps. Screen coordinates are physical pixels of the
// primary screen, whose top-left corner is 0,0. Every call stands alone (no
// state is kept between calls), so the UI thread and a worker may grab at
// the same time.
namespace hf::screen {

// The whole screen, desktop::screenSize() pixels.
Bitmap grabScreen();
// The part of the area that lies on the screen; empty when none of it does.
Bitmap grabScreen(Rect area);

// A window's client area as the window paints itself, covered parts
// included, and where the client area's top-left corner is on the screen,
// so that callers can turn client coordinates into screen ones.
struct WindowPicture {
  Bitmap client;
  Point clientOrigin;
};
// Nothing for a window that is minimised, not visible, gone, or that cannot
// paint itself into a picture.
std::optional<WindowPicture> grabWindow(desktop::WindowId window);

// The clipboard's picture; nothing when it holds none or stayed busy (opening
// is retried for about a second, as for texts).
std::optional<Bitmap> clipboardBitmap();
// Replaces the clipboard's content with the picture; false when the picture
// is empty or the clipboard stayed busy.
bool setClipboardBitmap(const Bitmap& picture);

// A BMP, PNG (palette ones included), JPEG or GIF picture (the first frame),
// from its bytes or from a file; nothing when the bytes are no such picture,
// the file cannot be read, or the picture has more than kMaxPicturePixels.
// Transparency is dropped: a pixel keeps the colour it has under its alpha.
inline constexpr long long kMaxPicturePixels = 1LL << 26;  // 8192 x 8192
std::optional<Bitmap> decodePicture(std::string_view bytes);
std::optional<Bitmap> decodePictureFile(const std::filesystem::path& file);

}  // namespace hf::screen
