#include "picture/screen_colours.h"

#include "picture/area_capture.h"
#include "platform/screen.h"

namespace hf::picture {

Colour screenColourAt(Point at) {
  const Bitmap pixel = screen::grabScreen(Rect{at.x, at.y, 1, 1});
  return pixelColour(captureArea(pixel, CaptureArea{}).bmp);
}

Point findColourOnScreen(Colour colour, int tolerance) {
  const CapturedArea whole = captureArea(screen::grabScreen(), CaptureArea{});
  return findColour(whole.bmp, whole.origin, colour, tolerance);
}

}  // namespace hf::picture
