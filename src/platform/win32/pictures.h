#pragma once

#include <windows.h>

#include "platform/resources.h"

// The pictures, cursors and sounds carried in the program's resources.
namespace hf::win32 {

// The picture's bitmap, loaded once; nullptr for Image::None or when the
// program carries no such resource (the test programs do not).
HBITMAP bitmapFor(Image image);

// nullptr for Cursor::Arrow, which leaves every control its own cursor.
HCURSOR cursorFor(Cursor cursor);

// Draws the picture centred in area at the display's scale (pictures are made for 96 DPI).
void drawPicture(HDC dc, const RECT& area, Image image, int dpi);

int resourceIdOf(Sound sound);

}  // namespace hf::win32
