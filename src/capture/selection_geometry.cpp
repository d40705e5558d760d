#include "capture/selection_geometry.h"

#include <algorithm>
#include <cstdlib>
#include <utility>

#include "platform/keys.h"

namespace hf::capture {

Edges normalised(Edges edges) {
  if (edges.left > edges.right) std::swap(edges.left, edges.right);
  if (edges.top > edges.bottom) std::swap(edges.top, edges.bottom);
  return edges;
}

Rect pixelsOf(Edges edges) {
  return {edges.left, edges.top, edges.right - edges.left + 1, edges.bottom - edges.top + 1};
}

bool contains(Edges edges, Point at) {
  return at.x >= edges.left && at.x <= edges.right && at.y >= edges.top && at.y <= edges.bottom;
}

std::array<Point, 8> handleCentres(Edges e) {
  const int midX = (e.left + e.right) / 2;
  const int midY = (e.top + e.bottom) / 2;
  return {Point{e.left, e.top}, {midX, e.top},      {e.right, e.top}, {e.left, midY},
          {e.right, midY},      {e.left, e.bottom}, {midX, e.bottom}, {e.right, e.bottom}};
}

Rect handleSquare(Point centre) {
  return {centre.x - 2, centre.y - 2, 5, 5};
}

Region hitTest(Edges e, Point at) {
  const auto centres = handleCentres(e);
  const auto onHandle = [&](Region region) {
    const Point c = centres[static_cast<int>(region) - 1];
    return std::abs(at.x - c.x) <= 2 && std::abs(at.y - c.y) <= 2;
  };
  const bool alongTop = e.left + 2 < at.x && at.x < e.right - 2;
  const bool alongSide = e.top + 2 < at.y && at.y < e.bottom - 2;
  const struct {
    Region region;
    bool edgeLine;
  } order[] = {
      {Region::BottomRight, false},
      {Region::TopLeft, false},
      {Region::Top, at.y == e.top && alongTop},
      {Region::TopRight, false},
      {Region::Left, at.x == e.left && alongSide},
      {Region::Right, at.x == e.right && alongSide},
      {Region::BottomLeft, false},
      {Region::Bottom, at.y == e.bottom && alongTop},
  };
  for (const auto& candidate : order) {
    if (onHandle(candidate.region) || candidate.edgeLine) return candidate.region;
  }
  return contains(e, at) ? Region::Inside : Region::None;
}

Cursor cursorOver(Region region) {
  switch (region) {
    case Region::TopLeft:
    case Region::BottomRight:
      return Cursor::SizeNwse;
    case Region::TopRight:
    case Region::BottomLeft:
      return Cursor::SizeNesw;
    case Region::Top:
    case Region::Bottom:
      return Cursor::SizeNs;
    case Region::Left:
    case Region::Right:
      return Cursor::SizeWe;
    case Region::Inside:
      return Cursor::SizeAll;
    case Region::None:
      break;
  }
  return Cursor::CaptureArrow;
}

Edges dragged(Edges edges, Region region, Point at, Point anchor, Point press) {
  Edges e = edges;
  switch (region) {
    case Region::TopLeft:
      e.left = at.x;
      e.top = at.y;
      break;
    case Region::Top:
      e.top = at.y;
      break;
    case Region::TopRight:
      e.right = at.x;
      e.top = at.y;
      break;
    case Region::Left:
      e.left = at.x;
      break;
    case Region::Right:
      e.right = at.x;
      break;
    case Region::BottomLeft:
      e.left = at.x;
      e.bottom = at.y;
      break;
    case Region::Bottom:
      e.bottom = at.y;
      break;
    case Region::BottomRight:
      e.right = at.x;
      e.bottom = at.y;
      break;
    case Region::Inside: {
      const int width = edges.right - edges.left;
      const int height = edges.bottom - edges.top;
      e.left = anchor.x + at.x - press.x;
      e.top = anchor.y + at.y - press.y;
      e.right = e.left + width;
      e.bottom = e.top + height;
      break;
    }
    case Region::None:
      break;
  }
  return e;
}

std::optional<Edges> nudged(Edges edges, int virtualKey) {
  int dx = 0;
  int dy = 0;
  switch (virtualKey) {
    case keys::kLeft:
      dx = -1;
      break;
    case keys::kRight:
      dx = 1;
      break;
    case keys::kUp:
      dy = -1;
      break;
    case keys::kDown:
      dy = 1;
      break;
    default:
      return std::nullopt;
  }
  return Edges{edges.left + dx, edges.top + dy, edges.right + dx, edges.bottom + dy};
}

std::optional<Edges> clampedTo(Edges edges, Size screen) {
  const Edges e{std::max(edges.left, 0), std::max(edges.top, 0),
                std::min(edges.right, screen.width - 1), std::min(edges.bottom, screen.height - 1)};
  if (e.left > e.right || e.top > e.bottom) return std::nullopt;
  return e;
}

Point infoBoxOrigin(Point cursor, Size screen) {
  return {cursor.x > screen.width - 70 ? cursor.x - 64 : cursor.x + 8,
          cursor.y < 84 ? cursor.y + 8 : cursor.y - 80};
}

Rect infoBoxFrame(Point origin) {
  return {origin.x - 3, origin.y - 3, 58, 78};
}

std::array<std::string, 6> infoBoxLines(Edges e, Point cursor) {
  const auto number = [](int value) { return std::to_string(value); };
  const int width = std::abs(e.right - e.left + 1);
  const int height = std::abs(e.bottom - e.top + 1);
  return {
      "顶点位置", "(" + number(e.left) + "," + number(e.top) + ")",
      "矩形大小", "(" + number(width) + "," + number(height) + (width >= 1000 ? "" : ")"),
      "光标坐标", "(" + number(cursor.x) + "," + number(cursor.y) + (cursor.x >= 1000 ? "" : ")"),
  };
}

}  // namespace hf::capture
