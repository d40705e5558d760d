#include "picture/bmp.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstring>
#include <utility>

namespace hf::picture {
namespace {

void putU16(std::uint8_t* at, std::uint32_t value) {
  at[0] = std::uint8_t(value);
  at[1] = std::uint8_t(value >> 8);
}

void putU32(std::uint8_t* at, std::uint32_t value) {
  putU16(at, value);
  putU16(at + 2, value >> 16);
}

// Little-endian reads with the bounds checked once by the reader.
class Reader {
 public:
  explicit Reader(std::span<const std::uint8_t> data) : data_(data) {}

  bool has(std::uint64_t offset, std::uint64_t size) const {
    return offset <= data_.size() && size <= data_.size() - offset;
  }
  std::uint32_t u16(std::size_t at) const {
    return data_[at] | (std::uint32_t(data_[at + 1]) << 8);
  }
  std::uint32_t u32(std::size_t at) const { return u16(at) | (u16(at + 2) << 16); }
  std::int32_t i32(std::size_t at) const { return std::int32_t(u32(at)); }
  const std::uint8_t* at(std::size_t offset) const { return data_.data() + offset; }

 private:
  std::span<const std::uint8_t> data_;
};

// One colour channel of a bit-field pixel: where it sits and how wide it is.
struct Channel {
  std::uint32_t mask = 0;
  int shift = 0;
  int bits = 0;

  std::uint32_t widen(std::uint32_t pixel) const {
    const std::uint32_t value = (pixel & mask) >> shift;
    return bits >= 8 ? value >> (bits - 8) : value << (8 - bits);
  }
};

// A mask must be one run of set bits (or none) inside the pixel.
std::optional<Channel> channelOf(std::uint32_t mask, int bitsPerPixel) {
  if (mask == 0) return Channel{};
  if (bitsPerPixel < 32 && (mask >> bitsPerPixel) != 0) return std::nullopt;
  const int shift = std::countr_zero(mask);
  const std::uint32_t run = mask >> shift;
  if ((run & (run + 1)) != 0) return std::nullopt;
  return Channel{mask, shift, std::popcount(run)};
}

enum Compression : std::uint32_t { kUncompressed = 0, kBitFields = 3 };

struct Layout {
  int width = 0;
  int height = 0;
  bool topDown = false;
  int bitsPerPixel = 0;
  std::uint32_t compression = kUncompressed;
  std::size_t infoSize = 0;
  std::uint32_t coloursUsed = 0;
  std::uint32_t pixelOffset = 0;
};

std::optional<Layout> readLayout(const Reader& in) {
  if (!in.has(0, 18) || in.u16(0) != ('B' | ('M' << 8))) return std::nullopt;
  Layout layout;
  layout.pixelOffset = in.u32(10);
  layout.infoSize = in.u32(14);
  if (!in.has(14, layout.infoSize)) return std::nullopt;
  if (layout.infoSize == 12) {  // core header: 16-bit sizes, always bottom-up
    layout.width = int(in.u16(18));
    layout.height = int(in.u16(20));
    layout.bitsPerPixel = int(in.u16(24));
  } else if (layout.infoSize >= 40 && layout.infoSize <= 124) {
    const std::int32_t width = in.i32(18);
    const std::int32_t height = in.i32(22);
    if (width <= 0 || height == 0 || height == INT32_MIN) return std::nullopt;
    layout.width = width;
    layout.topDown = height < 0;
    layout.height = height < 0 ? -height : height;
    layout.bitsPerPixel = int(in.u16(28));
    layout.compression = in.u32(30);
    layout.coloursUsed = in.u32(46);
  } else {
    return std::nullopt;
  }
  if (layout.width <= 0 || layout.height <= 0 ||
      std::int64_t(layout.width) * layout.height > kMaxBmpPixels)
    return std::nullopt;
  return layout;
}

// The pixel value of column x in a row of 1-, 4- or 8-bit palette indices.
std::uint32_t indexAt(const std::uint8_t* row, int x, int bitsPerPixel) {
  switch (bitsPerPixel) {
    case 1:
      return (row[x >> 3] >> (7 - (x & 7))) & 1;
    case 4:
      return (row[x >> 1] >> ((x & 1) ? 0 : 4)) & 0xF;
    default:
      return row[x];
  }
}

std::optional<Bitmap> readPaletted(const Reader& in, const Layout& layout, std::size_t stride) {
  const std::uint32_t capacity = std::uint32_t(1) << layout.bitsPerPixel;
  const std::uint32_t entries =
      layout.coloursUsed == 0 || layout.coloursUsed > capacity ? capacity : layout.coloursUsed;
  const std::size_t entrySize = layout.infoSize == 12 ? 3 : 4;
  const std::size_t paletteAt = 14 + layout.infoSize;
  if (!in.has(paletteAt, std::uint64_t(entries) * entrySize)) return std::nullopt;
  std::array<std::uint32_t, 256> palette{};  // indices past the table stay black
  for (std::uint32_t i = 0; i < entries; ++i) {
    const std::uint8_t* entry = in.at(paletteAt + i * entrySize);
    palette[i] = (std::uint32_t(entry[2]) << 16) | (std::uint32_t(entry[1]) << 8) | entry[0];
  }
  Bitmap picture(layout.width, layout.height);
  for (int y = 0; y < layout.height; ++y) {
    const int dataRow = layout.topDown ? y : layout.height - 1 - y;
    const std::uint8_t* row = in.at(layout.pixelOffset + std::size_t(dataRow) * stride);
    std::uint32_t* out = &picture.at(0, y);
    for (int x = 0; x < layout.width; ++x) out[x] = palette[indexAt(row, x, layout.bitsPerPixel)];
  }
  return picture;
}

std::optional<Bitmap> readBitFields(const Reader& in, const Layout& layout, std::size_t stride) {
  std::uint32_t masks[3];
  if (layout.compression == kBitFields) {
    // After a 40-byte header the three masks follow it; the longer headers hold them there.
    if (!in.has(54, 12)) return std::nullopt;
    for (int i = 0; i < 3; ++i) masks[i] = in.u32(54 + 4 * i);
  } else if (layout.bitsPerPixel == 16) {
    masks[0] = 0x7C00, masks[1] = 0x03E0, masks[2] = 0x001F;
  } else {
    masks[0] = 0xFF0000, masks[1] = 0x00FF00, masks[2] = 0x0000FF;
  }
  Channel channels[3];
  for (int i = 0; i < 3; ++i) {
    const auto channel = channelOf(masks[i], layout.bitsPerPixel);
    if (!channel) return std::nullopt;
    channels[i] = *channel;
  }
  const int bytesPerPixel = layout.bitsPerPixel / 8;
  Bitmap picture(layout.width, layout.height);
  for (int y = 0; y < layout.height; ++y) {
    const int dataRow = layout.topDown ? y : layout.height - 1 - y;
    const std::uint8_t* row = in.at(layout.pixelOffset + std::size_t(dataRow) * stride);
    std::uint32_t* out = &picture.at(0, y);
    for (int x = 0; x < layout.width; ++x) {
      const std::uint8_t* p = row + std::size_t(x) * bytesPerPixel;
      std::uint32_t value = p[0] | (std::uint32_t(p[1]) << 8);
      if (bytesPerPixel == 4) value |= (std::uint32_t(p[2]) << 16) | (std::uint32_t(p[3]) << 24);
      out[x] = (channels[0].widen(value) << 16) | (channels[1].widen(value) << 8) |
               channels[2].widen(value);
    }
  }
  return picture;
}

Bitmap read24(const Reader& in, const Layout& layout, std::size_t stride) {
  Bitmap picture(layout.width, layout.height);
  for (int y = 0; y < layout.height; ++y) {
    const int dataRow = layout.topDown ? y : layout.height - 1 - y;
    const std::uint8_t* p = in.at(layout.pixelOffset + std::size_t(dataRow) * stride);
    std::uint32_t* out = &picture.at(0, y);
    for (int x = 0; x < layout.width; ++x, p += 3)
      out[x] = (std::uint32_t(p[2]) << 16) | (std::uint32_t(p[1]) << 8) | p[0];
  }
  return picture;
}

}  // namespace

BmpData encodeBmp24(const Bitmap& picture) {
  return encodeBmp24(picture, {0, 0, picture.width, picture.height}, 0xFFFFFF);
}

BmpData encodeBmp24(const Bitmap& picture, Rect part, std::uint32_t kept) {
  const int width = picture.empty() ? 0 : std::max(part.width, 0);
  const int height = picture.empty() ? 0 : std::max(part.height, 0);
  const std::size_t stride = bmpRowStride(width);
  const std::size_t imageSize = stride * std::size_t(height);
  BmpData data(kBmpHeadersSize + imageSize, 0);
  std::uint8_t* header = data.data();
  header[0] = 'B';
  header[1] = 'M';
  putU32(header + 2, std::uint32_t(data.size()));
  putU32(header + 10, kBmpHeadersSize);
  putU32(header + 14, 40);
  putU32(header + 18, std::uint32_t(width));
  putU32(header + 22, std::uint32_t(height));
  putU16(header + 26, 1);
  putU16(header + 28, 24);
  putU32(header + 34, std::uint32_t(imageSize));
  for (int y = 0; y < height; ++y) {
    std::uint8_t* out = data.data() + kBmpHeadersSize + std::size_t(height - 1 - y) * stride;
    const std::uint32_t* row = picture.row(part.top + y) + part.left;
    for (int x = 0; x < width; ++x, out += 3) {
      const std::uint32_t pixel = row[x] & kept;
      out[0] = std::uint8_t(pixel);
      out[1] = std::uint8_t(pixel >> 8);
      out[2] = std::uint8_t(pixel >> 16);
    }
  }
  return data;
}

std::optional<Bitmap> parseBmp(std::span<const std::uint8_t> data) {
  const Reader in(data);
  const auto layout = readLayout(in);
  if (!layout) return std::nullopt;
  const int bits = layout->bitsPerPixel;
  const bool paletted = bits == 1 || bits == 4 || bits == 8;
  const bool known = layout->compression == kUncompressed
                         ? paletted || bits == 16 || bits == 24 || bits == 32
                         : layout->compression == kBitFields && layout->infoSize != 12 &&
                               (bits == 16 || bits == 32);
  if (!known) return std::nullopt;

  const std::size_t stride = (std::size_t(layout->width) * bits + 31) / 32 * 4;
  if (layout->pixelOffset < 14 + layout->infoSize ||
      !in.has(layout->pixelOffset, std::uint64_t(stride) * std::uint64_t(layout->height)))
    return std::nullopt;
  if (paletted) return readPaletted(in, *layout, stride);
  if (bits == 24) return read24(in, *layout, stride);
  return readBitFields(in, *layout, stride);
}

bool isBmp24(std::span<const std::uint8_t> data) {
  return data.size() >= 30 && data[0] == 'B' && data[1] == 'M' && data[28] == 24 && data[29] == 0;
}

BmpData normaliseBmp(BmpData data,
                     const std::function<BmpData(std::span<const std::uint8_t>)>& reencode) {
  if (isBmp24(data)) return data;
  return reencode ? reencode(data) : BmpData();
}

}  // namespace hf::picture
