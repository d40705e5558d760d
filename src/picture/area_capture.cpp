#include "picture/area_capture.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

namespace hf::picture {
namespace {

// Channels kept by a 16-bit (5-5-5) bitmap.
constexpr std::uint32_t k16BitChannels = 0xF8F8F8;

// An inclusive span from `first`, or the default span when `last` is
// omitted or before `first`.
int spanLength(int first, const std::optional<int>& last, int otherwise) {
  if (!last || *last < first) return otherwise;
  return int(std::min<std::int64_t>(std::int64_t(*last) - first + 1, INT32_MAX));
}

}  // namespace

Rect resolveRegion(Size source, Rect region) {
  // A width of 0 or less makes the width source width - left: the region ends at the edge.
  const std::int64_t right =
      region.width > 0 ? std::int64_t(region.left) + region.width : source.width;
  const std::int64_t bottom =
      region.height > 0 ? std::int64_t(region.top) + region.height : source.height;
  const int sourceWidth = std::max(source.width, 0);
  const int sourceHeight = std::max(source.height, 0);
  const int left = std::clamp(region.left, 0, sourceWidth);
  const int top = std::clamp(region.top, 0, sourceHeight);
  const int cutRight = int(std::clamp<std::int64_t>(right, left, sourceWidth));
  const int cutBottom = int(std::clamp<std::int64_t>(bottom, top, sourceHeight));
  return {left, top, cutRight - left, cutBottom - top};
}

Bitmap copyRegion(const Bitmap& source, Rect region) {
  if (source.empty()) return {};
  const Rect cut = resolveRegion({source.width, source.height}, region);
  if (cut.width <= 0 || cut.height <= 0) return {};
  Bitmap copy(cut.width, cut.height);
  for (int y = 0; y < cut.height; ++y)
    std::memcpy(&copy.at(0, y), source.row(cut.top + y) + cut.left,
                std::size_t(cut.width) * sizeof(std::uint32_t));
  return copy;
}

std::optional<Bitmap> convertDepth(const Bitmap& picture, int bitsPerPixel) {
  std::uint32_t kept;
  switch (bitsPerPixel) {
    case 16:
      kept = k16BitChannels;
      break;
    case 24:
    case 32:
      kept = 0xFFFFFF;
      break;
    default:
      return std::nullopt;
  }
  Bitmap converted = picture;
  for (std::uint32_t& pixel : converted.pixels) pixel &= kept;
  return converted;
}

Rect areaRegion(Size grab, const CaptureArea& area, const AreaFrame& frame) {
  // Without a client size a width or height of 0 is the region copy's "up to the edge".
  const int width = spanLength(area.left, area.right, frame.client ? frame.client->width : 0);
  const int height = spanLength(area.top, area.bottom, frame.client ? frame.client->height : 0);
  return resolveRegion(grab,
                       {frame.origin.x + area.left, frame.origin.y + area.top, width, height});
}

CapturedArea captureArea(const Bitmap& grab, const CaptureArea& area, const AreaFrame& frame) {
  if (grab.empty()) return {};
  const Rect region = areaRegion({grab.width, grab.height}, area, frame);
  if (region.width <= 0 || region.height <= 0) return {};
  // Copy, 16-bit pass and encoding in one go: each fresh picture of the
  // screen's size would cost as much again in page faults alone.
  return {encodeBmp24(grab, region, k16BitChannels),
          {region.left - frame.origin.x, region.top - frame.origin.y}};
}

}  // namespace hf::picture
