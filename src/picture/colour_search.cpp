#include "picture/colour_search.h"

#include <algorithm>
#include <bit>

#include "picture/bmp.h"

#if defined(__SSE2__) || defined(_M_X64) || (defined(_M_IX86_FP) && _M_IX86_FP >= 2)
#define HF_PICTURE_SSE2 1
#include <emmintrin.h>
#endif

namespace hf::picture {
namespace {

// Sixteen pixels are 48 bytes; bit 3k of a 48-bit mask stands for pixel k.
constexpr int kBlockPixels = 16;
constexpr std::uint64_t kPixelStarts = 0x249249249249;

std::uint32_t u16At(std::span<const std::uint8_t> data, std::size_t at) {
  return data[at] | (std::uint32_t(data[at + 1]) << 8);
}

#ifdef HF_PICTURE_SSE2
__m128i load(const std::uint8_t* p) {
  return _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
}

// Byte tests of the three 16-byte parts of a block, each part against its
// share of the channel pattern: equality, or (v - low) mod 256 <= range,
// which is max(v - low, range) == range.
struct ExactBytes {
  __m128i colour[3];
  __m128i operator()(__m128i bytes, int part) const { return _mm_cmpeq_epi8(bytes, colour[part]); }
};
struct NearBytes {
  __m128i low[3];
  __m128i range[3];
  __m128i operator()(__m128i bytes, int part) const {
    const __m128i distance = _mm_sub_epi8(bytes, low[part]);
    return _mm_cmpeq_epi8(_mm_max_epu8(distance, range[part]), range[part]);
  }
};

// Bit 3k is set when all three bytes of pixel k are marked.
std::uint64_t pixelHits(__m128i first, __m128i second, __m128i third) {
  const std::uint64_t marked = std::uint64_t(std::uint32_t(_mm_movemask_epi8(first))) |
                               (std::uint64_t(std::uint32_t(_mm_movemask_epi8(second))) << 16) |
                               (std::uint64_t(std::uint32_t(_mm_movemask_epi8(third))) << 32);
  return marked & (marked >> 1) & (marked >> 2) & kPixelStarts;
}

template <typename Test>
std::uint64_t blockHits(const std::uint8_t* p, const Test& test) {
  return pixelHits(test(load(p), 0), test(load(p + 16), 1), test(load(p + 32), 2));
}

// Scans whole blocks of the row from column c: the first matching column, or
// -1 with c left at the first column not scanned. Four blocks' marks are
// merged before they are looked at; a merged hit may be false (its bytes
// from different blocks), so the blocks are then tested one by one.
template <typename Test>
int scanBlocks(const std::uint8_t* row, int& c, int to, const Test& test) {
  constexpr int kGroup = 4;
  for (; c + kGroup * kBlockPixels <= to; c += kGroup * kBlockPixels) {
    const std::uint8_t* p = row + 3 * c;
    __m128i any0 = test(load(p), 0), any1 = test(load(p + 16), 1), any2 = test(load(p + 32), 2);
    for (int block = 1; block < kGroup; ++block) {
      const std::uint8_t* q = p + 48 * block;
      any0 = _mm_or_si128(any0, test(load(q), 0));
      any1 = _mm_or_si128(any1, test(load(q + 16), 1));
      any2 = _mm_or_si128(any2, test(load(q + 32), 2));
    }
    if (pixelHits(any0, any1, any2) == 0) continue;
    for (int block = 0; block < kGroup; ++block)
      if (const std::uint64_t hits = blockHits(p + 48 * block, test))
        return c + kBlockPixels * block + std::countr_zero(hits) / 3;
  }
  for (; c + kBlockPixels <= to; c += kBlockPixels)
    if (const std::uint64_t hits = blockHits(row + 3 * c, test))
      return c + std::countr_zero(hits) / 3;
  return -1;
}
#endif

// Tests pixels of one row: each channel byte v matches when
// (v - low) mod 256 <= range, where [low, low + range] is the colour's
// channel widened by the tolerance and cut to 0..255.
class RowMatcher {
 public:
  RowMatcher(Colour colour, int tolerance) {
    const Rgb rgb = rgbOf(colour);
    const int channels[3] = {rgb.b, rgb.g, rgb.r};  // byte order of a pixel
    for (int i = 0; i < 3; ++i) {
      const int low = std::max(channels[i] - tolerance, 0);
      const int high = std::min(channels[i] + std::min(tolerance, 255), 255);
      low_[i] = std::uint8_t(low);
      range_[i] = std::uint8_t(high - low);
    }
    exact_ = range_[0] == 0 && range_[1] == 0 && range_[2] == 0;
#ifdef HF_PICTURE_SSE2
    std::uint8_t lows[3 * kBlockPixels], ranges[3 * kBlockPixels];
    for (int i = 0; i < 3 * kBlockPixels; ++i) {
      lows[i] = low_[i % 3];
      ranges[i] = range_[i % 3];
    }
    for (int part = 0; part < 3; ++part) {
      exactBytes_.colour[part] = nearBytes_.low[part] = load(lows + 16 * part);
      nearBytes_.range[part] = load(ranges + 16 * part);
    }
#endif
  }

  // The first column in [from, to) that matches, or -1.
  int scan(const std::uint8_t* row, int from, int to) const {
    return exact_ ? scanExact(row, from, to) : scanNear(row, from, to);
  }

 private:
  int scanExact(const std::uint8_t* row, int c, int to) const {
#ifdef HF_PICTURE_SSE2
    if (const int found = scanBlocks(row, c, to, exactBytes_); found >= 0) return found;
#endif
    for (const std::uint8_t* p = row + 3 * c; c < to; ++c, p += 3)
      if (p[0] == low_[0] && p[1] == low_[1] && p[2] == low_[2]) return c;
    return -1;
  }

  int scanNear(const std::uint8_t* row, int c, int to) const {
#ifdef HF_PICTURE_SSE2
    if (const int found = scanBlocks(row, c, to, nearBytes_); found >= 0) return found;
#endif
    for (const std::uint8_t* p = row + 3 * c; c < to; ++c, p += 3)
      if (std::uint8_t(p[0] - low_[0]) <= range_[0] && std::uint8_t(p[1] - low_[1]) <= range_[1] &&
          std::uint8_t(p[2] - low_[2]) <= range_[2])
        return c;
    return -1;
  }

  std::uint8_t low_[3];
  std::uint8_t range_[3];
  bool exact_;
#ifdef HF_PICTURE_SSE2
  ExactBytes exactBytes_;
  NearBytes nearBytes_;
#endif
};

}  // namespace

Colour pixelColour(std::span<const std::uint8_t> bmp) {
  if (bmp.size() < kBmpHeadersSize + 3) return kNoColour;
  const std::uint8_t* pixel = bmp.data() + kBmpHeadersSize;
  return colourOf({pixel[2], pixel[1], pixel[0]});
}

Point findColour(std::span<const std::uint8_t> bmp, Point origin, Colour colour, int tolerance,
                 std::optional<Point> start) {
  if (bmp.size() < kBmpHeadersSize + 1 || tolerance < 0) return kNotFound;
  const int width = int(u16At(bmp, 18));
  const int height = int(u16At(bmp, 22));
  const std::size_t stride = bmpRowStride(width);
  if (width == 0 || height == 0 || (bmp.size() - kBmpHeadersSize) / stride < std::size_t(height))
    return kNotFound;

  const RowMatcher matcher(colour, tolerance);
  // Data rows are counted from 1 (the bottom row of the area) up to height.
  const auto dataRow = [&](std::int64_t r) {
    return bmp.data() + kBmpHeadersSize + std::size_t(r - 1) * stride;
  };
  const auto found = [&](std::int64_t r, int c) {
    return Point{origin.x + c, origin.y + int(height - r)};
  };

  std::int64_t startRow = 1;
  std::int64_t startColumn = 0;
  if (start) {
    startColumn = std::int64_t(start->x) + 1 - origin.x;
    startRow = height - (std::int64_t(start->y) - origin.y);
  }
  for (std::int64_t r = std::max<std::int64_t>(startRow, 1); r <= height; ++r) {
    const int from = r == startRow ? int(std::clamp<std::int64_t>(startColumn, 0, width)) : 0;
    if (const int c = matcher.scan(dataRow(r), from, width); c >= 0) return found(r, c);
  }
  if (start) {
    for (std::int64_t r = 1; r <= std::min<std::int64_t>(startRow, height); ++r)
      if (const int c = matcher.scan(dataRow(r), 0, width); c >= 0) return found(r, c);
  }
  return kNotFound;
}

}  // namespace hf::picture
