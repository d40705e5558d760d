#pragma once

#include <array>
#include <optional>
#include <string>

#include "platform/geometry.h"
#include "platform/resources.h"

// The rules of the region capture's selection as plain values: the handles
// and the regions a press can grab, how a drag or an arrow key changes the
// selection, the part of the screen that is saved, and the cursor info box
// that follows the mouse while the button is held.
namespace hf::capture {

// A selection's edges in screen pixels; right and bottom are the last pixel
// inside. While the user drags, right may lie left of left and bottom above
// top.
struct Edges {
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;
  friend bool operator==(const Edges&, const Edges&) = default;
};

// Left ≤ right and top ≤ bottom, by swapping.
Edges normalised(Edges edges);
// The pixels of normalised edges as a rectangle: right − left + 1 wide.
Rect pixelsOf(Edges edges);
// Whether the point lies on or inside normalised edges.
bool contains(Edges edges, Point at);

// Where a press grabs the selection. The numbers are those of the handles:
// 1 to 8 from the top-left corner along the top, the sides and the bottom.
enum class Region {
  None = 0,
  TopLeft = 1,
  Top = 2,
  TopRight = 3,
  Left = 4,
  Right = 5,
  BottomLeft = 6,
  Bottom = 7,
  BottomRight = 8,
  Inside = 9,
};

// The points the eight handles sit on, handle 1 first; the middles are halved
// toward zero.
std::array<Point, 8> handleCentres(Edges normalisedEdges);
// A handle's square: two pixels on each side of its point, 5 x 5 pixels.
Rect handleSquare(Point centre);

// The region under the point, the first of bottom-right, top-left, top,
// top-right, left, right, bottom-left, bottom and inside that holds it. A
// side is its handle or the edge line itself, two pixels clear of the
// corners; handles and the inside include their borders.
Region hitTest(Edges normalisedEdges, Point at);
Cursor cursorOver(Region region);

// The edges after the grabbed region was dragged to `at`. A corner or side
// follows the mouse; the inside moves the whole selection, keeping its size,
// so that its left-top corner is `anchor` (where it was at the press) moved
// by the mouse's way from `press`.
Edges dragged(Edges edges, Region region, Point at, Point anchor, Point press);

// The selection moved one pixel by an arrow key; nothing for other keys.
std::optional<Edges> nudged(Edges edges, int virtualKey);

// What is saved of normalised edges: the part on a screen of the given size;
// nothing when no pixel of it is on the screen.
std::optional<Edges> clampedTo(Edges edges, Size screen);

// The cursor info box: six lines 12 pixels apart beside the cursor, kept on
// the screen's side where it fits, in a frame three pixels around.
inline constexpr int kInfoLineHeight = 12;
Point infoBoxOrigin(Point cursor, Size screen);
Rect infoBoxFrame(Point origin);
// Its lines: the selection's top-left corner and size, and the cursor. The
// size line has no closing bracket once the width reaches 1000, the cursor
// line none once the cursor's x does.
std::array<std::string, 6> infoBoxLines(Edges normalisedEdges, Point cursor);

}  // namespace hf::capture
