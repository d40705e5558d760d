#pragma once

#include "picture/colour_search.h"
#include "platform/geometry.h"

// The colour reader and the colour search over the live screen, as the
// colour pick and the find-colour steps use them. Each call grabs what it
// reads anew and keeps nothing, so the UI thread and the replay worker may
// call at the same time.
namespace hf::picture {

// The colour of the screen pixel, after the capture's 16-bit pass; -1 off the screen.
Colour screenColourAt(Point at);

// The first pixel of the whole screen within the tolerance of the colour, in
// the colour search's order (the lowest row, in it the leftmost); (-1, -1)
// when there is none.
Point findColourOnScreen(Colour colour, int tolerance);

}  // namespace hf::picture
