#include "picture/picture_search.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdint>
#include <vector>

#if defined(__SSE2__) || defined(_M_X64) || (defined(_M_IX86_FP) && _M_IX86_FP >= 2)
#define HF_PICTURE_SSE2 1
#include <emmintrin.h>
#endif

namespace hf::picture {
namespace {

constexpr std::uint32_t kColourBits = 0xFFFFFF;
// At most this many picture pixels are weighed as the first pixel to look
// for, and at most about this many screen pixels are sampled to weigh them.
constexpr int kWeighedPicturePixels = 4096;
constexpr int kScreenSamples = 16384;

// The first index in [from, to) whose colour is `colour`, or -1.
int findColourIn(const std::uint32_t* pixels, int from, int to, std::uint32_t colour) {
  int i = from;
#ifdef HF_PICTURE_SSE2
  const __m128i wanted = _mm_set1_epi32(int(colour));
  const __m128i bits = _mm_set1_epi32(int(kColourBits));
  const auto same = [&](int at) {
    const __m128i four = _mm_loadu_si128(reinterpret_cast<const __m128i*>(pixels + at));
    return _mm_cmpeq_epi32(_mm_and_si128(four, bits), wanted);
  };
  for (; i + 16 <= to; i += 16) {
    const __m128i low = _mm_packs_epi32(same(i), same(i + 4));
    const __m128i high = _mm_packs_epi32(same(i + 8), same(i + 12));
    if (const int hits = _mm_movemask_epi8(_mm_packs_epi16(low, high)))
      return i + std::countr_zero(unsigned(hits));
  }
#endif
  for (; i < to; ++i)
    if ((pixels[i] & kColourBits) == colour) return i;
  return -1;
}

// A small open-addressing table from colour to how often the screen sample
// shows it.
class ColourCounts {
 public:
  explicit ColourCounts(std::size_t colours) {
    std::size_t size = 16;
    while (size < 2 * colours) size *= 2;
    keys_.assign(size, kEmpty);
    counts_.assign(size, 0);
  }
  void add(std::uint32_t colour) {
    std::size_t slot = slotOf(colour);
    if (keys_[slot] == kEmpty) keys_[slot] = colour;
  }
  void countIfKnown(std::uint32_t colour) {
    const std::size_t slot = slotOf(colour);
    if (keys_[slot] == colour) ++counts_[slot];
  }
  int count(std::uint32_t colour) const { return counts_[slotOf(colour)]; }

 private:
  static constexpr std::uint32_t kEmpty = 0xFFFFFFFF;
  std::size_t slotOf(std::uint32_t colour) const {
    const std::size_t mask = keys_.size() - 1;
    std::size_t slot = (colour * 0x9E3779B1u) >> 8 & mask;
    while (keys_[slot] != colour && keys_[slot] != kEmpty) slot = (slot + 1) & mask;
    return slot;
  }
  std::vector<std::uint32_t> keys_;
  std::vector<int> counts_;
};

struct Probe {
  Point at;  // in the picture
  std::uint32_t colour = 0;
};

// The picture pixel to look for first (`anchor`) and a second one of another
// colour to test before the whole picture (`check`, the anchor itself when
// the picture has one colour): the pixels whose colours the screen sample
// shows least, rarer ones in the picture winning ties.
struct Plan {
  Probe anchor;
  Probe check;
};

Plan planSearch(const Bitmap& screen, Rect area, const Bitmap& picture) {
  const int pixelCount = picture.width * picture.height;
  const int pictureStep = std::max(1, pixelCount / kWeighedPicturePixels);
  std::vector<Probe> candidates;
  for (int i = 0; i < pixelCount; i += pictureStep)
    candidates.push_back(
        {{i % picture.width, i / picture.width}, picture.pixels[std::size_t(i)] & kColourBits});

  ColourCounts inScreen(candidates.size());
  ColourCounts inPicture(candidates.size());
  for (const Probe& probe : candidates) {
    inScreen.add(probe.colour);
    inPicture.add(probe.colour);
    inPicture.countIfKnown(probe.colour);
  }
  const std::int64_t areaPixels = std::int64_t(area.width) * area.height;
  const int step = std::max(1, int(std::sqrt(double(areaPixels) / kScreenSamples)));
  for (int y = area.top + step / 2; y < area.top + area.height; y += step) {
    const std::uint32_t* row = screen.row(y);
    for (int x = area.left + step / 2; x < area.left + area.width; x += step)
      inScreen.countIfKnown(row[x] & kColourBits);
  }

  const auto rarer = [&](const Probe& a, const Probe& b) {
    const int screenA = inScreen.count(a.colour), screenB = inScreen.count(b.colour);
    if (screenA != screenB) return screenA < screenB;
    return inPicture.count(a.colour) < inPicture.count(b.colour);
  };
  Plan plan;
  plan.anchor = *std::min_element(candidates.begin(), candidates.end(), rarer);
  plan.check = plan.anchor;
  bool haveCheck = false;
  for (const Probe& probe : candidates)
    if (probe.colour != plan.anchor.colour && (!haveCheck || rarer(probe, plan.check))) {
      plan.check = probe;
      haveCheck = true;
    }
  return plan;
}

bool sameAt(const Bitmap& screen, int x, int y, const Bitmap& picture) {
  for (int row = 0; row < picture.height; ++row) {
    const std::uint32_t* on = screen.row(y + row) + x;
    const std::uint32_t* wanted = picture.row(row);
    for (int column = 0; column < picture.width; ++column)
      if (((on[column] ^ wanted[column]) & kColourBits) != 0) return false;
  }
  return true;
}

Rect cutToScreen(const Bitmap& screen, Rect area) {
  const std::int64_t right =
      std::min<std::int64_t>(std::int64_t(area.left) + area.width, screen.width);
  const std::int64_t bottom =
      std::min<std::int64_t>(std::int64_t(area.top) + area.height, screen.height);
  const int left = std::max(area.left, 0);
  const int top = std::max(area.top, 0);
  if (area.width <= 0 || area.height <= 0 || right <= left || bottom <= top) return {};
  return {left, top, int(right - left), int(bottom - top)};
}

}  // namespace

std::optional<Point> findPicture(const Bitmap& screen, Rect area, const Bitmap& picture) {
  if (screen.empty() || picture.empty()) return std::nullopt;
  const Rect cut = cutToScreen(screen, area);
  if (cut.width < picture.width || cut.height < picture.height) return std::nullopt;
  const int lastX = cut.left + cut.width - picture.width;
  const int lastY = cut.top + cut.height - picture.height;

  const Plan plan = planSearch(screen, cut, picture);
  for (int y = cut.top; y <= lastY; ++y) {
    // Indexed by the picture's left edge: entry x is the screen pixel under the anchor.
    const std::uint32_t* anchors = screen.row(y + plan.anchor.at.y) + plan.anchor.at.x;
    const std::uint32_t* checks = screen.row(y + plan.check.at.y) + plan.check.at.x;
    for (int x = cut.left; (x = findColourIn(anchors, x, lastX + 1, plan.anchor.colour)) >= 0;
         ++x) {
      if ((checks[x] & kColourBits) == plan.check.colour && sameAt(screen, x, y, picture))
        return Point{x, y};
    }
  }
  return std::nullopt;
}

}  // namespace hf::picture
