#pragma once

#include <optional>

#include "platform/bitmap.h"
#include "platform/geometry.h"

// Exact picture search: where a picture appears, pixel for pixel, on a
// grabbed screen. Colours compare in their 24 bits (the unused byte of a
// pixel is ignored).
namespace hf::picture {

// The top-left corner (in screen coordinates) of the first place where the
// picture lies wholly inside the area, or nothing. The first place is the
// one with the topmost top-left corner and, of those in that row, the
// leftmost. The area is cut to the screen; an empty picture, or one larger
// than what remains of the area, is never found.
//
// One pixel of the picture, of a colour rare on this screen (judged by a
// sample of the area), is looked for along the rows first; only where it
// matches is the whole picture compared, so a search costs about one pass
// over the area however many places differ from the picture in a pixel or
// two.
std::optional<Point> findPicture(const Bitmap& screen, Rect area, const Bitmap& picture);

}  // namespace hf::picture
